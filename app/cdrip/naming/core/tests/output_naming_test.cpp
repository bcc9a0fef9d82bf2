// The ripper's folder and file names over the "Output" tab's choices and
// the disc texts a lookup can bring.
#include "app/cdrip/naming/core/output_naming.h"

#include <gtest/gtest.h>

#include "app/foundation/files/name_cleaner.h"

#include <map>
#include <set>

namespace corvella::cdrip {
namespace {

DiscData Album(bool mixed) {
    DiscData d;
    d.Artist = "Various";
    d.Album = "Hits: Vol. 2";
    d.Titles = {"Intro", "Up/Down: Live?", "  Third  "};
    if (mixed) d.Artists = {"A", "AC/DC", "Con"};
    d.Mixed = mixed;
    return d;
}

// Every choice of the four file-name lists, with and without a compilation:
// the parts that are not "Do Not Use" and not empty, joined by " - ".
TEST(FileStem, EverySelectorCombination) {
    for (bool mixed : {false, true}) {
        const DiscData disc = Album(mixed);
        // Selector -> the cleaned part for track 2.
        const std::map<int, std::string> part = {
            {1, mixed ? "ACDC" : "Various"}, {2, "Hits Vol. 2"}, {3, "2"}, {4, "UpDown Live"}};
        NamingOptions o;
        o.fileScheme = true;
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 5; ++b)
                for (int c = 0; c < 5; ++c)
                    for (int d = 0; d < 5; ++d) {
                        o.filename[0] = a; o.filename[1] = b; o.filename[2] = c; o.filename[3] = d;
                        std::string want = part.at(a + 1);
                        for (int sel : {b, c, d})
                            if (sel) want += " - " + part.at(sel);
                        ASSERT_EQ(FileStem(o, disc, 2), want) << mixed << a << b << c << d;
                    }
    }
}

TEST(FileStem, NamesTheFileSystemTakes) {
    const struct {
        const char* what;
        DiscData disc;
        int first, second;  // cboFilename(0), cboFilename(1)
        bool changeCase;
        int fileCase;
        int track;
        std::string stem;
    } cases[] = {
        {"the dialog's defaults", Album(false), 2, 4, false, 0, 3, "3 - Third"},
        {"number only", Album(false), 2, 0, false, 0, 3, "3"},
        {"no album: the number", {"Artist", "", "", "", {"T"}, {}, false}, 2, 4, false, 0, 1, "01"},
        {"an empty part adds no separator", {"", "X", "", "", {""}, {}, false}, 0, 4, false, 0, 1, "01"},
        {"empty artist, title kept", {"", "X", "", "", {"Song"}, {}, false}, 0, 4, false, 0, 1, "Song"},
        {"all refused: the number", {"?*", "X", "", "", {"<|>"}, {}, false}, 0, 4, false, 0, 7, "07"},
        {"device name", {"CON", "X", "", "", {}, {}, false}, 0, 0, false, 0, 1, "CON_"},
        {"device before a dot", {"aux.live", "X", "", "", {}, {}, false}, 0, 0, false, 0, 1, "aux_.live"},
        {"device with a part is no device", {"Con", "X", "", "", {"Air"}, {}, false}, 0, 4, false, 0, 1,
         "Con - Air"},
        {"trailing dots", {"R.E.M.", "X", "", "", {" . . "}, {}, false}, 0, 4, false, 0, 1, "R.E.M"},
        {"dots inside kept", {"R.E.M.", "X", "", "", {"Drive"}, {}, false}, 0, 4, false, 0, 1, "R.E.M - Drive"},
        {"control codes", {"A\tB\x01", "X", "", "", {}, {}, false}, 0, 0, false, 0, 1, "AB"},
        {"missing title: no part", Album(false), 2, 4, false, 0, 9, "9"},
        {"initial caps", {"the WHO", "X", "", "", {"my GENERATION"}, {}, false}, 0, 4, true, 0, 1,
         "The Who - My Generation"},
        {"upper", {"the who", "X", "", "", {}, {}, false}, 0, 0, true, 1, 1, "THE WHO"},
        {"lower", {"The Who", "X", "", "", {}, {}, false}, 0, 0, true, 2, 1, "the who"},
        {"case with a device", {"con", "X", "", "", {}, {}, false}, 0, 0, true, 0, 1, "Con_"},
    };
    for (const auto& c : cases) {
        NamingOptions o;
        o.fileScheme = true;
        o.filename[0] = c.first;
        o.filename[1] = c.second;
        o.changeCase = c.changeCase;
        o.fileCase = c.fileCase;
        EXPECT_EQ(FileStem(o, c.disc, c.track), c.stem) << c.what;
    }
    // Without the scheme: the two-digit number, with neither cleaning nor case.
    NamingOptions off;
    off.changeCase = true;
    off.fileCase = 1;
    EXPECT_EQ(FileStem(off, Album(false), 12), "12");
}

// An in-memory file system: folders that exist, folders that cannot be made.
struct FakeOps : files::FileOps {
    std::set<std::string> folders, refused;
    std::vector<std::string> made;
    uint32_t Attributes(const std::string& p) override { return folders.count(p) ? 0x10 : 0xFFFFFFFF; }
    bool SetAttributes(const std::string&, uint32_t) override { return true; }
    files::MoveResult MoveNoReplace(const std::string&, const std::string&) override {
        return files::MoveResult::Failed;
    }
    bool MakeFolder(const std::string& p) override {
        if (refused.count(p)) return false;
        made.push_back(p);
        folders.insert(p);
        return true;
    }
    bool Remove(const std::string&) override { return false; }
    std::string StoredName(const std::string&) override { return std::string(); }
};

TEST(OutputFolder, LevelsAreCleanedMadeOnceAndReused) {
    const struct {
        const char* what;
        bool scheme;
        int level1, level2;
        DiscData disc;
        std::string folder;
        std::vector<std::string> made;
    } cases[] = {
        {"off", false, 0, 2, Album(false), "C:\\Out\\", {}},
        {"artist then album", true, 0, 2, Album(false), "C:\\Out\\Various\\Hits Vol. 2\\",
         {"C:\\Out\\Various", "C:\\Out\\Various\\Hits Vol. 2"}},
        {"album only", true, 1, 0, Album(false), "C:\\Out\\Hits Vol. 2\\", {"C:\\Out\\Hits Vol. 2"}},
        {"album then artist", true, 1, 1, Album(false), "C:\\Out\\Hits Vol. 2\\Various\\",
         {"C:\\Out\\Hits Vol. 2", "C:\\Out\\Hits Vol. 2\\Various"}},
        {"compilation: the disc artist", true, 0, 0, Album(true), "C:\\Out\\Various\\", {"C:\\Out\\Various"}},
        {"\"..\" makes no level", true, 0, 2, {"..", "  Nul  ", "", "", {}, {}, false}, "C:\\Out\\Nul_\\",
         {"C:\\Out\\Nul_"}},
        {"existing level reused", true, 0, 2, {"Old", "New", "", "", {}, {}, false}, "C:\\Out\\Old\\New\\",
         {"C:\\Out\\Old\\New"}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        ops.folders = {"C:\\Out", "C:\\Out\\Old"};
        NamingOptions o;
        o.folderScheme = c.scheme;
        o.folders[0] = c.level1;
        o.folders[1] = c.level2;
        EXPECT_EQ(MakeOutputFolder("C:\\Out", o, c.disc, ops), c.folder) << c.what;
        EXPECT_EQ(ops.made, c.made) << c.what;
    }
}

TEST(OutputFolder, ALevelThatCannotBeMadeIsNamed) {
    FakeOps ops;
    ops.refused = {"C:\\Out\\Various"};
    NamingOptions o;
    o.folderScheme = true;
    std::string failed;
    EXPECT_EQ(MakeOutputFolder("C:\\Out\\", o, Album(false), ops, &failed), "");
    EXPECT_EQ(failed, "C:\\Out\\Various");
}

TEST(OutputFile, PathsStayWithinTheLimit) {
    NamingOptions o;
    o.fileScheme = true;
    DiscData d = Album(false);
    d.Titles[0] = std::string(300, 't');
    const std::string folder = "C:\\" + std::string(200, 'f');
    const std::string file = OutputFile(folder, o, d, 1);
    EXPECT_EQ(file.size(), files::kMaxPath);
    EXPECT_EQ(file.substr(file.size() - 4), ".mp3");
    EXPECT_EQ(file.substr(0, folder.size() + 6), folder + "\\1 - t");
    EXPECT_EQ(OutputFile("C:\\Music\\", NamingOptions{}, d, 4), "C:\\Music\\04.mp3");
    EXPECT_EQ(OutputFile("C:\\" + std::string(255, 'f'), o, d, 1), "");  // no room at all
}

}  // namespace
}  // namespace corvella::cdrip
