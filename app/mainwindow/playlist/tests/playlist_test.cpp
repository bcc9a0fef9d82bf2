#include <gtest/gtest.h>

#include <filesystem>
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

TEST(Playlist, WriteReplacesAnOldAndReadOnlyPlaylist) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "corvella_playlist_test";
    fs::create_directories(dir);
    const std::string path = (dir / "list.m3u").string();
    FileSystem& files = platform_filesystem();
    std::string error;
    ASSERT_TRUE(WritePlaylist(files, path, {"C:\\a.mp3", "C:\\b.mp3"}, error)) << error;
    EXPECT_EQ(Slurp(path), "C:\\a.mp3\r\nC:\\b.mp3\r\n");

    files.set_attributes(path, kAttrReadOnly);
    ASSERT_TRUE(WritePlaylist(files, path, {"C:\\c.mp3"}, error)) << error;
    EXPECT_EQ(Slurp(path), "C:\\c.mp3\r\n") << "the longer old content is cut";

    EXPECT_FALSE(WritePlaylist(files, (dir / "no" / "x.m3u").string(), {"C:\\c.mp3"}, error));
    EXPECT_NE(error.find("could not be written"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace playlist
}  // namespace corvella
