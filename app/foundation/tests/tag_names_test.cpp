#include "app/foundation/files/tag_names.h"

#include <gtest/gtest.h>

#include <set>

#include "app/foundation/files/tests/fake_file_ops.h"

namespace corvella {
namespace files {
namespace {

// Title, Artist, ..., Track: the cells of a row.
std::vector<std::string> Row(const std::string& title, const std::string& artist = "", const std::string& track = "05") {
    return {title, artist, "Album", "2001", "", "Rock", track};
}

NameRecipe Recipe(std::array<int, 4> fields, int separator = 0, int caseMode = -1) {
    return NameRecipe{fields, SeparatorText(separator), caseMode};
}

TEST(TagNames, NamesFromFields) {
    const std::string deep = "C:\\" + std::string(200, 'f') + "\\";
    const struct {
        std::string folder;
        std::vector<std::string> cells;
        NameRecipe recipe;
        std::string name;  // "" = refused
    } cases[] = {
        {"C:\\", Row("Intro", "", "05/12"), Recipe({6, 0, -1, -1}), "05 - Intro.mp3"},
        {"C:\\", Row("Intro"), Recipe({6, 0, 1, -1}), "05 - Intro - .mp3"},  // the empty artist keeps its separator
        {"C:\\", Row("AC/DC: Live?"), Recipe({0, -1, -1, -1}, 0, 1), "ACDC LIVE.mp3"},
        {"C:\\", Row("the best of"), Recipe({0, -1, -1, -1}, 0, 0), "The Best Of.mp3"},
        {"C:\\", Row("Two\r\nLines\t<x>|*"), Recipe({0, -1, -1, -1}), "TwoLinesx.mp3"},
        {"C:\\", Row("Con"), Recipe({0, -1, -1, -1}), "Con_.mp3"},
        {"C:\\", Row("lpt1.live"), Recipe({0, -1, -1, -1}), "lpt1_.live.mp3"},
        {"C:\\", Row("a", "b"), Recipe({0, 1, -1, -1}, 4, 2), "a_b.mp3"},
        {"C:\\", Row("a", "b"), Recipe({0, 1, -1, -1}, 9), "ab.mp3"},  // no separator outside the list
        {"C:\\", Row(" . ."), Recipe({0, -1, -1, -1}), ""},
        {"C:\\", Row("", "", ""), Recipe({6, 0, -1, -1}), ""},  // " - " alone
        {deep, Row(std::string(300, 't')), Recipe({0, -1, -1, -1}), std::string(259 - deep.size() - 4, 't') + ".mp3"},
        {"C:\\" + std::string(252, 'f') + "\\", Row("Intro"), Recipe({0, -1, -1, -1}), ""},
    };
    for (const auto& c : cases) {
        const TagName n = BuildTagName(c.folder + "old.mp3", c.cells, c.recipe);
        EXPECT_EQ(n.name, c.name) << c.cells[0];
        EXPECT_EQ(n.reason.empty(), !c.name.empty()) << c.cells[0];
    }
    for (int i = 0; i < 6; ++i) EXPECT_EQ(BuildTagName("C:\\o.mp3", Row("a", "b"), Recipe({0, 1, -1, -1}, i)).name,
                                          "a" + SeparatorText(i) + "b.mp3");
}

// Chains, swaps and a failed second step belong to the file service's
// tests; here what the renamer adds: its own name is no work, a refused
// name is no move, and each failure is named against its file.
TEST(TagNames, RenamesNeverOverwriteAndNameEachFailure) {
    const std::string a = "C:\\M\\a.mp3", b = "C:\\M\\b.mp3", e = "C:\\M\\e.mp3", intro = "C:\\M\\intro.mp3";
    const struct {
        const char* what;
        std::vector<std::string> files;
        int failMove;  // as the fake takes it; -1: every file in use
        std::vector<std::pair<std::string, std::string>> renames;  // name "" = refused
        std::set<std::string> after;
        std::vector<std::string> reported;
    } cases[] = {
        {"own name", {a}, 0, {{a, "a.mp3"}}, {a}, {}},
        {"meeting", {a, b}, 0, {{a, "x.mp3"}, {b, "x.mp3"}}, {a, b}, {"a.mp3", "b.mp3"}},
        {"case only", {intro}, 0, {{intro, "Intro.mp3"}}, {"C:\\M\\Intro.mp3"}, {}},
        {"in use", {a}, -1, {{a, "x.mp3"}}, {a}, {"a.mp3"}},
        {"vanished, no name", {b, e}, 0, {{a, "x.mp3"}, {b, ""}, {e, "z.mp3"}}, {b, "C:\\M\\z.mp3"},
         {"a.mp3", "b.mp3"}},
    };
    for (const auto& c : cases) {
        testing::FakeOps ops;
        for (const std::string& f : c.files) ops.Add(f);
        ops.failMove = c.failMove;
        FileService service(ops);
        std::vector<RenameItem> items;
        for (const auto& [path, name] : c.renames) items.push_back({path, {name, name.empty() ? "none" : ""}});
        const RenameOutcome out = RenameToTagNames(service, items);
        EXPECT_EQ(ops.Files(), c.after) << c.what;
        for (const auto& [from, to] : out.renamed) EXPECT_EQ(ops.StoredName(to), to.substr(5)) << c.what;
        ASSERT_EQ(out.notRenamed.size(), c.reported.size()) << c.what;
        for (size_t i = 0; i < c.reported.size(); ++i) {
            EXPECT_EQ(out.notRenamed[i].rfind(c.reported[i] + ": ", 0), 0u) << c.what << ": " << out.notRenamed[i];
            EXPECT_NE(NotRenamedMessage(out.notRenamed).find(out.notRenamed[i]), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
