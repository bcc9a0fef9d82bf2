#include "app/foundation/files/tag_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

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

// A folder in memory with Windows' rules: names match ignoring case, a move
// never replaces, and - as measured under Wine - a move to the same name in
// another case reports success and keeps the old name.
struct FakeOps : FileOps {
    std::map<std::string, std::string> files;  // lower case -> as stored
    std::set<std::string> locked;
    std::string refusedTarget;
    static std::string Low(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    }
    uint32_t Attributes(const std::string& p) override { return files.count(Low(p)) ? 0x20 : 0xFFFFFFFFu; }
    bool SetAttributes(const std::string&, uint32_t) override { return true; }
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
        if (!files.count(Low(from))) return MoveResult::Gone;
        if (locked.count(from)) return MoveResult::InUse;
        if (Low(from) == Low(to)) return MoveResult::Done;
        if (files.count(Low(to))) return MoveResult::NameTaken;
        if (to == refusedTarget) return MoveResult::Failed;
        files.erase(Low(from));
        files[Low(to)] = to;
        return MoveResult::Done;
    }
    bool MakeFolder(const std::string&) override { return true; }
    std::string StoredName(const std::string& p) override {
        return files.count(Low(p)) ? files[Low(p)].substr(files[Low(p)].rfind('\\') + 1) : "";
    }
};

TEST(TagNames, RenamesNeverOverwriteAndNameEachFailure) {
    const struct {
        const char* what;
        std::vector<std::string> files;
        std::vector<std::pair<std::string, std::string>> renames;  // name "" = refused
        std::string locked, refusedTarget;
        std::set<std::string> after;
        std::vector<std::string> reported;
    } cases[] = {
        {"own name", {"D:\\a.mp3"}, {{"D:\\a.mp3", "a.mp3"}}, "", "", {"D:\\a.mp3"}, {}},
        {"clash", {"D:\\a.mp3", "D:\\b.mp3"}, {{"D:\\a.mp3", "x.mp3"}, {"D:\\b.mp3", "x.mp3"}}, "", "",
         {"D:\\a.mp3", "D:\\b.mp3"}, {"a.mp3", "b.mp3"}},
        {"chain", {"D:\\a.mp3", "D:\\b.mp3"}, {{"D:\\a.mp3", "b.mp3"}, {"D:\\b.mp3", "c.mp3"}}, "", "",
         {"D:\\b.mp3", "D:\\c.mp3"}, {}},
        {"unlisted target", {"D:\\a.mp3", "D:\\x.mp3"}, {{"D:\\a.mp3", "X.mp3"}}, "", "", {"D:\\a.mp3", "D:\\x.mp3"}, {"a.mp3"}},
        {"case only", {"D:\\intro.mp3"}, {{"D:\\intro.mp3", "Intro.mp3"}}, "", "", {"D:\\Intro.mp3"}, {}},
        {"second move fails", {"D:\\intro.mp3"}, {{"D:\\intro.mp3", "Intro.mp3"}}, "", "D:\\Intro.mp3",
         {"D:\\intro.mp3"}, {"intro.mp3"}},
        {"locked, vanished, no name", {"D:\\a.mp3", "D:\\c.mp3", "D:\\d.mp3"},
         {{"D:\\a.mp3", "x.mp3"}, {"D:\\b.mp3", "y.mp3"}, {"D:\\c.mp3", ""}, {"D:\\d.mp3", "z.mp3"}}, "D:\\a.mp3", "",
         {"D:\\a.mp3", "D:\\c.mp3", "D:\\z.mp3"}, {"a.mp3", "b.mp3", "c.mp3"}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        for (const std::string& f : c.files) ops.files[FakeOps::Low(f)] = f;
        ops.locked.insert(c.locked);
        ops.refusedTarget = c.refusedTarget;
        FileService service(ops);
        std::vector<RenameItem> items;
        for (const auto& [path, name] : c.renames) items.push_back({path, {name, name.empty() ? "none" : ""}});
        const RenameOutcome out = RenameToTagNames(service, items);
        std::set<std::string> after;
        for (const auto& f : ops.files) after.insert(f.second);
        EXPECT_EQ(after, c.after) << c.what;
        for (const auto& [from, to] : out.renamed) EXPECT_TRUE(after.count(to)) << c.what << ": " << to;
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
