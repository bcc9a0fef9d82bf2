// The shell's icons and type names of the real shell.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "app/foundation/win32/shell/shell_icons.h"
#include "app/foundation/win32/shell/tests/test_support.h"

namespace corvella {
namespace shell {
namespace {

using testing_support::DataFolder;

// ---- Shell icons and type names ----

bool IconSize(HICON icon, int& cx) {
    ICONINFO info;
    if (!GetIconInfo(icon, &info)) return false;
    BITMAP bm;
    GetObjectA(info.hbmMask, sizeof(bm), &bm);
    cx = bm.bmWidth;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST(ShellIconTest, Mp3ExtensionWithAndWithoutPoint) {
    ShellFileInfo bare = QueryExtensionInfo("MP3", kLargeIcon);
    ShellFileInfo dotted = QueryExtensionInfo(".MP3", kLargeIcon);
    ASSERT_NE(bare.icon, nullptr);
    ASSERT_NE(dotted.icon, nullptr);
    EXPECT_FALSE(bare.type_name.empty());
    EXPECT_EQ(bare.type_name, dotted.type_name);
    EXPECT_EQ(bare.icon_index, dotted.icon_index);
    int cx = 0;
    ASSERT_TRUE(IconSize(bare.icon, cx));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    DestroyIcon(bare.icon);
    DestroyIcon(dotted.icon);

    ShellFileInfo small = QueryExtensionInfo("mp3", kSmallIcon);
    ASSERT_NE(small.icon, nullptr);
    ASSERT_TRUE(IconSize(small.icon, cx));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    DestroyIcon(small.icon);

    // A caller's SHGFI_PIDL would make the shell read the text as an item list.
    std::string type;
    Picture pic = GetExtensionIcon("MP3", kSmallIcon | SHGFI_PIDL, type);
    EXPECT_TRUE(pic);
    EXPECT_EQ(type, bare.type_name);
}

TEST(ShellIconTest, PictureOwnsTheIconOfAnExistingFileAndFolder) {
    const std::string data = DataFolder();
    ASSERT_FALSE(data.empty());
    std::string file_type, folder_type;
    Picture file = GetFileIcon(data + "tree\\root1.mp3", kSmallIcon, file_type);
    Picture folder = GetFileIcon(data + "tree\\a", kSmallIcon, folder_type);
    ASSERT_TRUE(file);
    ASSERT_TRUE(folder);
    EXPECT_FALSE(file_type.empty());
    EXPECT_FALSE(folder_type.empty());
    EXPECT_NE(file_type, folder_type);
    SHORT kind = 0;
    ASSERT_EQ(folder.get()->get_Type(&kind), S_OK);
    EXPECT_EQ(kind, PICTYPE_ICON);
    EXPECT_NE(folder.icon(), nullptr);

    std::string none = "stale";
    EXPECT_FALSE(GetFileIcon(data + "tree\\no such file.mp3", kSmallIcon, none));
    EXPECT_EQ(none, "");
    EXPECT_FALSE(IconToPicture(nullptr));
}

}  // namespace
}  // namespace shell
}  // namespace corvella
