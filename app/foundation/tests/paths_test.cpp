#include "app/foundation/paths.h"

#include <gtest/gtest.h>

namespace corvella {
namespace {

TEST(GetFileTitle, NameWithAndWithoutExtension) {
    EXPECT_EQ(GetFileTitle("C:\\Music\\Live.Set\\song.one.mp3", false), "song.one");
    EXPECT_EQ(GetFileTitle("C:\\Music\\Live.Set\\song.one.mp3", true), "song.one.mp3");
    EXPECT_EQ(GetFileTitle("C:\\Live.Set\\README", false), "README") << "a folder's dot never counts";
    EXPECT_EQ(GetFileTitle("C:\\Music\\.hidden", false), "");
    EXPECT_EQ(GetFileTitle("song.mp3", false), "song");
    EXPECT_EQ(GetFileTitle("C:\\Music\\", false), "");
    EXPECT_EQ(GetFileTitle("C:\\Music\\", true), "");
    EXPECT_EQ(GetFileTitle("", false), "");
    EXPECT_EQ(GetFileTitle("", true), "");
}

TEST(FolderParts, FolderPathAndParentName) {
    EXPECT_EQ(GetFolderPath("C:\\Music\\Rock\\song.mp3"), "C:\\Music\\Rock\\");
    EXPECT_EQ(GetFolderPath("C:\\Music\\Rock\\"), "C:\\Music\\Rock\\");
    EXPECT_EQ(GetFolderPath("song.mp3"), "");
    EXPECT_EQ(GetFolderPath(""), "");

    EXPECT_EQ(GetParentFolderName("C:\\Music\\Rock\\song.mp3"), "Rock");
    EXPECT_EQ(GetParentFolderName("C:\\Music\\Rock\\"), "Rock");
    EXPECT_EQ(GetParentFolderName("C:\\Music\\"), "Music");
    EXPECT_EQ(GetParentFolderName("C:\\song.mp3"), "");
    EXPECT_EQ(GetParentFolderName("\\song.mp3"), "");
    EXPECT_EQ(GetParentFolderName("\\\\"), "");
    EXPECT_EQ(GetParentFolderName("song.mp3"), "");
    EXPECT_EQ(GetParentFolderName(""), "");
}

TEST(AddBackslash, AddsOnlyWhenMissing) {
    EXPECT_EQ(AddBackslash("C:\\Music"), "C:\\Music\\");
    EXPECT_EQ(AddBackslash("C:\\Music\\"), "C:\\Music\\");
    EXPECT_EQ(AddBackslash(""), "\\");
}

TEST(MakeValidFileName, DropsTheNineForbiddenCharacters) {
    EXPECT_EQ(MakeValidFileName("AC/DC: \"Live\" <1991>?*|\\"), "ACDC Live 1991");
    EXPECT_EQ(MakeValidFileName("\\/:*?\"<>|"), "");
    EXPECT_EQ(MakeValidFileName(" CON. "), " CON. ") << "no trimming, no device-name checks";
    EXPECT_EQ(MakeValidFileName(std::string("a\0b\xE9", 4)), std::string("a\0b\xE9", 4));
}

}  // namespace
}  // namespace corvella
