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
    ShellFileInfo pidl = QueryExtensionInfo("MP3", kSmallIcon | SHGFI_PIDL);
    EXPECT_NE(pidl.icon, nullptr);
    EXPECT_EQ(pidl.type_name, bare.type_name);
    DestroyIcon(pidl.icon);
}

TEST(ShellIconTest, AnExistingFileAndFolderHaveTheirOwnIconAndType) {
    const std::string data = DataFolder();
    ASSERT_FALSE(data.empty());
    ShellFileInfo file = QueryFileInfo(data + "tree\\root1.mp3", kSmallIcon);
    ShellFileInfo folder = QueryFileInfo(data + "tree\\a", kSmallIcon);
    EXPECT_NE(file.icon, nullptr);
    EXPECT_NE(folder.icon, nullptr);
    EXPECT_FALSE(file.type_name.empty());
    EXPECT_FALSE(folder.type_name.empty());
    EXPECT_NE(file.type_name, folder.type_name);
    DestroyIcon(file.icon);
    DestroyIcon(folder.icon);

    ShellFileInfo none = QueryFileInfo(data + "tree\\no such file.mp3", kSmallIcon);
    EXPECT_EQ(none.icon, nullptr);
    EXPECT_EQ(none.type_name, "");
}

}  // namespace
}  // namespace shell
}  // namespace corvella
