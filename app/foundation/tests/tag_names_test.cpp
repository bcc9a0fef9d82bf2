#include "app/foundation/files/tag_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/foundation/files/name_cleaner.h"
#include "app/foundation/tests/fake_file_ops.h"

namespace corvella {
namespace files {
namespace {

// Cells in the list's order: Title, Artist, Album, Year, Comment, Genre, Track.
std::vector<std::string> Row(const std::string& title, const std::string& artist = "", const std::string& track = "05") {
    return {title, artist, "Album", "2001", "", "Rock", track};
}

NameRecipe Recipe(std::array<int, 4> fields, int separator = 0, int caseMode = -1) {
    NameRecipe r;
    r.fields = fields;
    r.separator = SeparatorText(separator);
    r.caseMode = caseMode;
    return r;
}

TEST(TagNames, NamesFromFields) {
    const struct {
        std::vector<std::string> cells;
        NameRecipe recipe;
        std::string name;  // "" = refused
    } cases[] = {
        {Row("Intro"), Recipe({6, 0, -1, -1}), "05 - Intro.mp3"},
        {Row("Intro", "", "05/12"), Recipe({6, 0, -1, -1}), "05 - Intro.mp3"},
        {Row("Intro"), Recipe({6, 0, 1, -1}), "05 - Intro - .mp3"},  // an empty field keeps its separator
        {Row("AC/DC: Live?"), Recipe({0, -1, -1, -1}, 0, 1), "ACDC LIVE.mp3"},
        {Row("the best of"), Recipe({0, -1, -1, -1}, 0, 0), "The Best Of.mp3"},
        {Row("MiXeD"), Recipe({0, -1, -1, -1}, 0, 2), "mixed.mp3"},
        {Row("Two\r\nLines\t<x>|*"), Recipe({0, -1, -1, -1}), "TwoLinesx.mp3"},
        {Row("Con"), Recipe({0, -1, -1, -1}), "Con_.mp3"},
        {Row("nul "), Recipe({0, -1, -1, -1}), "nul _.mp3"},
        {Row("lpt1.live"), Recipe({0, -1, -1, -1}), "lpt1_.live.mp3"},
        {Row("COM10"), Recipe({0, -1, -1, -1}), "COM10.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 1), "a _ b.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 2), "a . b.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 3), "a-b.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 4), "a_b.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 5), "a.b.mp3"},
        {Row("a", "b"), Recipe({0, 1, -1, -1}, 9), "ab.mp3"},
        {Row(""), Recipe({0, -1, -1, -1}), ""},
        {Row(" . ."), Recipe({0, -1, -1, -1}), ""},
        {Row("???"), Recipe({0, -1, -1, -1}), ""},
        {Row("", ""), Recipe({0, 1, -1, -1}, 5), ""},  // "." alone
        {Row("", "", ""), Recipe({6, 0, -1, -1}), ""},  // " - " alone
        {Row("", "", "05"), Recipe({6, 0, 1, -1}), "05 -  - .mp3"},
    };
    for (const auto& c : cases) {
        const TagName n = BuildTagName("C:\\Music\\old.mp3", c.cells, c.recipe);
        EXPECT_EQ(n.name, c.name) << c.cells[0];
        EXPECT_EQ(n.reason.empty(), !c.name.empty()) << c.cells[0];
    }
}

TEST(TagNames, LongNamesFitTheirFolder) {
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    for (size_t len : {40, 55, 56, 57, 300}) {
        const TagName n = BuildTagName(folder + "old.mp3", Row(std::string(len, 't')), Recipe({0, -1, -1, -1}));
        ASSERT_FALSE(n.name.empty()) << len;
        EXPECT_LE(folder.size() + n.name.size(), kMaxPath) << len;
        EXPECT_EQ(n.name.substr(n.name.size() - 4), ".mp3");
        EXPECT_EQ(n.name.size(), std::min(len, kMaxPath - folder.size() - 4) + 4) << len;
    }
    const std::string deep = "C:\\" + std::string(252, 'f') + "\\";
    EXPECT_TRUE(BuildTagName(deep + "o.mp3", Row("Intro"), Recipe({0, -1, -1, -1})).name.empty());
}

// Tag texts of any bytes, any recipe, folders of any depth: a name is
// either refused or one Windows takes, in the file's own folder, within
// MAX_PATH, ending in ".mp3".
TEST(TagNames, AnyTagTextGivesAUsableNameOrNone) {
    std::mt19937 rng(20261209);
    static const char* const kPieces[] = {"CON", "nul", "Com7", "LPT1", ".", " ", "..", "\\", "/", ":",
                                          "?",   "\"", "\r\n", "05/12", "AC", "x", "-"};
    auto text = [&] {
        std::string s;
        for (size_t n = rng() % 12; n > 0; --n)
            s += rng() % 3 == 0 ? std::string(1, static_cast<char>(rng())) : kPieces[rng() % 17];
        return s;
    };
    for (int i = 0; i < 5000; ++i) {
        std::vector<std::string> cells;
        for (int c = 0; c < 7; ++c) cells.push_back(text());
        NameRecipe r = Recipe({static_cast<int>(rng() % 7), static_cast<int>(rng() % 8) - 1,
                               static_cast<int>(rng() % 8) - 1, static_cast<int>(rng() % 8) - 1},
                              static_cast<int>(rng() % 7), static_cast<int>(rng() % 5) - 1);
        const std::string folder = "C:\\" + std::string(rng() % 260, 'f') + "\\";
        const TagName n = BuildTagName(folder + "old.mp3", cells, r);
        if (n.name.empty()) {
            EXPECT_FALSE(n.reason.empty());
            continue;
        }
        EXPECT_LE(folder.size() + n.name.size(), kMaxPath);
        ASSERT_GT(n.name.size(), 4u);
        EXPECT_EQ(n.name.substr(n.name.size() - 4), ".mp3");
        EXPECT_EQ(n.name.find_first_of("\\/:*?\"<>|"), std::string::npos) << n.name;
        for (char c : n.name) EXPECT_GE(static_cast<unsigned char>(c), 32u) << n.name;
        EXPECT_FALSE(IsDeviceName(n.name.substr(0, n.name.find('.')))) << n.name;
        EXPECT_NE(n.name.substr(0, n.name.size() - 4).find_first_not_of(" ."), std::string::npos) << n.name;
    }
}

TEST(TagNames, StoredIndexOutsideItsList) {
    const struct {
        int stored, count, fallback, got;
    } cases[] = {{3, 6, 0, 3}, {-1, 4, 0, 0}, {6, 6, 0, 0}, {7, 8, 6, 7}, {32767, 8, 1, 1}};
    for (const auto& c : cases) EXPECT_EQ(IndexOrDefault(c.stored, c.count, c.fallback), c.got) << c.stored;
}

RenameItem Item(const std::string& path, const std::string& name) { return {path, {name, ""}}; }

TEST(TagNames, RenamesNeverOverwriteAndReportEachFailure) {
    const struct {
        const char* what;
        std::vector<std::string> files, locked;
        std::vector<RenameItem> items;
        std::string refusedTarget;
        std::vector<std::string> after;    // files present afterwards, exact case
        size_t renamed;
        std::vector<std::string> reported;  // file names in the closing message
    } cases[] = {
        {"plain", {"D:\\a.mp3"}, {}, {Item("D:\\a.mp3", "x.mp3")}, "", {"D:\\x.mp3"}, 1, {}},
        {"own name", {"D:\\a.mp3"}, {}, {Item("D:\\a.mp3", "a.mp3")}, "", {"D:\\a.mp3"}, 0, {}},
        {"clash", {"D:\\a.mp3", "D:\\b.mp3"}, {},
         {Item("D:\\a.mp3", "x.mp3"), Item("D:\\b.mp3", "x.mp3")}, "", {"D:\\a.mp3", "D:\\b.mp3"}, 0,
         {"a.mp3", "b.mp3"}},
        {"chain", {"D:\\a.mp3", "D:\\b.mp3"}, {},
         {Item("D:\\a.mp3", "b.mp3"), Item("D:\\b.mp3", "c.mp3")}, "", {"D:\\b.mp3", "D:\\c.mp3"}, 2, {}},
        {"swap", {"D:\\a.mp3", "D:\\b.mp3"}, {},
         {Item("D:\\a.mp3", "b.mp3"), Item("D:\\b.mp3", "a.mp3")}, "", {"D:\\a.mp3", "D:\\b.mp3"}, 0,
         {"a.mp3", "b.mp3"}},
        {"unlisted target", {"D:\\a.mp3", "D:\\x.mp3"}, {}, {Item("D:\\a.mp3", "X.mp3")}, "",
         {"D:\\a.mp3", "D:\\x.mp3"}, 0, {"a.mp3"}},
        {"case only", {"D:\\intro.mp3"}, {}, {Item("D:\\intro.mp3", "Intro.mp3")}, "", {"D:\\Intro.mp3"}, 1, {}},
        {"case only, second move fails", {"D:\\intro.mp3"}, {}, {Item("D:\\intro.mp3", "Intro.mp3")}, "D:\\Intro.mp3",
         {"D:\\intro.mp3"}, 0, {"intro.mp3"}},
        {"locked", {"D:\\a.mp3", "D:\\b.mp3"}, {"d:\\a.mp3"},
         {Item("D:\\a.mp3", "x.mp3"), Item("D:\\b.mp3", "y.mp3")}, "", {"D:\\a.mp3", "D:\\y.mp3"}, 1, {"a.mp3"}},
        {"vanished", {"D:\\b.mp3"}, {}, {Item("D:\\a.mp3", "x.mp3"), Item("D:\\b.mp3", "y.mp3")}, "",
         {"D:\\y.mp3"}, 1, {"a.mp3"}},
        {"no name", {"D:\\a.mp3"}, {}, {{"D:\\a.mp3", {"", "no name"}}}, "", {"D:\\a.mp3"}, 0, {"a.mp3"}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        for (const std::string& f : c.files) ops.Add(f);
        for (const std::string& f : c.locked) ops.locked.insert(f);
        ops.refusedTarget = c.refusedTarget;
        FileService service(ops);
        const RenameOutcome out = RenameToTagNames(service, c.items);
        EXPECT_EQ(ops.files.size(), c.after.size()) << c.what << ": no file lost or added";
        for (const std::string& f : c.after) EXPECT_TRUE(ops.Has(f)) << c.what << ": " << f;
        EXPECT_EQ(out.renamed.size(), c.renamed) << c.what;
        for (const auto& r : out.renamed) EXPECT_TRUE(ops.Has(r.second)) << c.what << ": " << r.second;
        ASSERT_EQ(out.notRenamed.size(), c.reported.size()) << c.what;
        const std::string message = NotRenamedMessage(out.notRenamed);
        for (size_t i = 0; i < c.reported.size(); ++i) {
            EXPECT_EQ(out.notRenamed[i].rfind(c.reported[i] + ": ", 0), 0u) << c.what << ": " << out.notRenamed[i];
            EXPECT_NE(message.find(out.notRenamed[i]), std::string::npos) << c.what;
        }
        EXPECT_EQ(message.empty(), c.reported.empty()) << c.what;
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
