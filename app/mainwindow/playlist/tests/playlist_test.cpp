#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/mainwindow/playlist/playlist.h"

namespace corvella {
namespace playlist {
namespace {

TEST(Playlist, BareNamesInThePlaylistsFolderFullPathsElsewhere) {
    const std::vector<std::string> keys = {
        "C:\\Music\\a.mp3", "C:\\Music\\Live\\b.mp3", "D:\\Other\\c.mp3", "C:\\music\\d.mp3", "C:\\Music\\e f.MP3"};
    struct Case {
        std::string playlist, text;
    } cases[] = {
        {"C:\\Music\\Music.m3u",
         "a.mp3\r\nC:\\Music\\Live\\b.mp3\r\nD:\\Other\\c.mp3\r\nC:\\music\\d.mp3\r\ne f.MP3\r\n"},
        {"C:\\Music\\Live\\x.m3u",
         "C:\\Music\\a.mp3\r\nb.mp3\r\nD:\\Other\\c.mp3\r\nC:\\music\\d.mp3\r\nC:\\Music\\e f.MP3\r\n"},
        {"E:\\lists.m3u",
         "C:\\Music\\a.mp3\r\nC:\\Music\\Live\\b.mp3\r\nD:\\Other\\c.mp3\r\nC:\\music\\d.mp3\r\nC:\\Music\\e f.MP3\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaylistText(keys, c.playlist), c.text) << c.playlist;
    EXPECT_EQ(PlaylistText({}, "C:\\x.m3u"), "") << "an empty list gives an empty file";
}

TEST(Playlist, NamesFromTheDialog) {
    struct Case {
        std::string chosen, path;
    } cases[] = {
        {"", ""}, {".m3u", ""}, {"C:\\a", "C:\\a.m3u"}, {"C:\\a.M3U", "C:\\a.M3U"},
        {"C:\\a.txt", "C:\\a.txt.m3u"}, {"C:\\a.m3u", "C:\\a.m3u"},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaylistPath(c.chosen), c.path) << c.chosen;

    struct Offer {
        std::string folder, name;
    } offers[] = {{"C:\\Music\\Live", "Live"}, {"C:\\Music\\Live\\", "Live"}, {"C:\\", ""}, {"desktop", ""}};
    for (const Offer& o : offers) EXPECT_EQ(OfferedName(o.folder), o.name) << o.folder;
    EXPECT_EQ(kDialogFlags & 0x1000u, 0u) << "no file-must-exist flag: a new name must be accepted";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A fresh folder of the system's; its files are removed by the test.
std::string MakeFolder() {
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string dir = std::string(base) + "playlist" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
#else
    char dir[] = "/tmp/playlistXXXXXX";
    return mkdtemp(dir) ? dir : "";
#endif
}

void MakeReadOnly(const std::string& path) {
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
#else
    chmod(path.c_str(), 0444);
#endif
}

TEST(Playlist, WriteReplacesAnOldAndReadOnlyPlaylist) {
    const std::string dir = MakeFolder();
    ASSERT_FALSE(dir.empty());
    const std::string path = dir + "/list.m3u";
    std::string error;
    ASSERT_TRUE(WritePlaylist(platform_filesystem(), path, {"C:\\a.mp3", "C:\\b.mp3"}, error)) << error;
    EXPECT_EQ(Slurp(path), "C:\\a.mp3\r\nC:\\b.mp3\r\n");

    MakeReadOnly(path);
    ASSERT_TRUE(WritePlaylist(platform_filesystem(), path, {"C:\\c.mp3"}, error)) << error;
    EXPECT_EQ(Slurp(path), "C:\\c.mp3\r\n") << "the longer old content is cut";

    EXPECT_FALSE(WritePlaylist(platform_filesystem(), dir + "/no/such/x.m3u", {"C:\\c.mp3"}, error));
    EXPECT_NE(error.find("could not be written"), std::string::npos);
    std::remove(path.c_str());
#ifdef _WIN32
    RemoveDirectoryA(dir.c_str());
#else
    rmdir(dir.c_str());
#endif
}

}  // namespace
}  // namespace playlist
}  // namespace corvella
