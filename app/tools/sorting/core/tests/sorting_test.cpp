// The sorting rules on tables: folder names from hostile tag text, new
// paths that stay inside the destination, one tag read a file, and the
// removal of emptied folders over a fake tree.
#include "app/tools/sorting/core/sorting.h"

#include <gtest/gtest.h>

#include "app/foundation/files/tests/fake_file_ops.h"

#include <map>
#include <random>
#include <set>

namespace corvella::sorting {
namespace {

// Cleaning is the name cleaner's; a folder adds its limit, CLOCK$ and genres.
TEST(SortingNames, FolderNamesAreSafeAndNeverEmpty) {
    const struct {
        std::string value;
        int field;
        std::string name;
    } cases[] = {
        {"..", 1, "Unknown"},
        {"clock$", 2, "clock$_"},
        {std::string(70, 'x'), 1, std::string(64, 'x')},
        {"(13)", 5, "Pop"},
        {"(17)Rock & Roll", 5, "Rock & Roll"},
        {"(13)(14)", 5, "R&B"},
        {"((Live)", 5, "(Live)"},
        {"(999)", 5, "(999)"},
        {"(13)", 1, "(13)"},  // only the genre field is a genre
        {"Unknown", 1, "Unknown"},
    };
    for (const auto& c : cases) EXPECT_EQ(FolderName(c.value, c.field), c.name) << c.value;
}

// Tag texts of any bytes, genre references among them: every folder name is
// a single name, never empty, within its limit, and the new path stays inside
// the destination. Seeded, so every run tries the same inputs.
TEST(SortingNames, AnyTagTextKeepsThePathInsideTheDestination) {
    static const char* const kPieces[] = {"(", ")", "((", "13", "999999999999", "..", "\\", "/", " ", "Con", "x"};
    std::mt19937 rng(20261209);
    for (int i = 0; i < 20000; ++i) {
        FolderNames names;
        for (std::string* level : {&names.first, &names.second}) {
            std::string text;
            for (size_t n = rng() % 30; n > 0; --n)
                text += rng() % 3 == 0 ? std::string(1, static_cast<char>(rng())) : kPieces[rng() % 11];
            *level = FolderName(text, rng() % 2 == 0 ? tags::kGenreField : 1);
            ASSERT_FALSE(level->empty()) << text;
            ASSERT_LE(level->size(), kFolderNameMax) << text;
            ASSERT_EQ(level->find('\\'), std::string::npos) << text;
            ASSERT_NE(*level, "..") << text;
        }
        SortOptions options;
        options.destination = "D:\\out";
        const std::string path = NewPath(options, names, "C:\\in\\a.mp3");
        ASSERT_EQ(path, "D:\\out\\" + names.first + "\\" + names.second + "\\a.mp3");
    }
}

// A tag object over a table of files; a file missing from it cannot be
// read and leaves the last file's fields, as the libraries do.
class FakeTag : public tags::TagObject {
public:
    std::map<std::string, std::map<int, std::string>> files;
    std::map<int, std::string> current;
    int reads = 0;
    std::optional<std::string> FieldText(int index) override { return current[index]; }
    bool ReadTag(const std::string& path) override {
        ++reads;
        if (!files.count(path)) return false;
        current = files[path];
        return true;
    }
    bool SetField(int, const std::string&) override { return false; }
    bool WriteTag(const std::string&) override { return false; }
    bool RemoveTag(const std::string&) override { return false; }
};

TEST(SortingPlan, OneReadAFileAndAFailedReadIsUnknown) {
    const struct {
        std::string path;
        std::map<int, std::string> fields;  // none: the file cannot be read
        std::string one, two;               // beneath the destination, one and two levels
    } files[] = {
        {"C:\\in\\a.mp3", {{1, "Abba"}, {2, "Gold"}}, "Abba\\a.mp3", "Abba\\Gold\\a.mp3"},
        {"C:\\in\\sub\\b.mp3", {{1, ""}, {2, "Gold"}}, "Unknown\\b.mp3", "Unknown\\b.mp3"},
        {"C:\\in\\c.mp3", {{1, "Unknown"}, {2, "x"}}, "Unknown\\c.mp3", "Unknown\\c.mp3"},
        {"C:\\in\\d.mp3", {{1, "unknown"}, {2, "../x"}}, "unknown\\d.mp3", "unknown\\..x\\d.mp3"},
        {"C:\\in\\e.mp3", {}, "Unknown\\e.mp3", "Unknown\\e.mp3"},  // never d.mp3's fields
    };
    FakeTag tag;
    std::vector<std::string> paths;
    for (const auto& f : files) {
        paths.push_back(f.path);
        if (!f.fields.empty()) tag.files[f.path] = f.fields;
    }
    for (int second : {0, 2}) {
        SortOptions options;
        options.destination = second ? "D:\\out\\" : "D:\\out";
        options.subFolderField = second;
        tag.reads = 0;
        const std::vector<PlanItem> plan = BuildPlan(paths, tag, options);
        EXPECT_EQ(tag.reads, 5) << "one tag read a file";
        ASSERT_EQ(plan.size(), paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(plan[i].from, paths[i]);
            EXPECT_EQ(plan[i].to, "D:\\out\\" + (second ? files[i].two : files[i].one)) << paths[i];
        }
    }
}

TEST(SortingRun, FoldersAreMadeOnceAndEveryFileEndsWithItsWord) {
    files::testing::FakeOps disk;
    disk.Add("c:\\in\\a.mp3");
    disk.Add("c:\\in\\b.mp3");
    disk.Add("c:\\in\\c.mp3", 0x21);
    disk.Add("c:\\out", files::testing::kFolder);
    disk.refuseFolders = 1;
    files::FileService service(disk);
    Mover mover(service);
    const struct {
        PlanItem item;
        std::string word, reason;
    } steps[] = {
        {{"c:\\in\\a.mp3", "c:\\out\\x\\a.mp3"}, "Failed", "folder not made"},
        {{"c:\\in\\a.mp3", "c:\\out\\x\\a.mp3"}, "Sucsess", ""},  // tried again
        {{"c:\\in\\b.mp3", "c:\\out\\x\\a.mp3"}, "Failed", "name taken"},
        {{"c:\\in\\c.mp3", "c:\\out\\x\\c.mp3"}, "Sucsess", ""},
        {{"c:\\out\\x\\c.mp3", "c:\\out\\x\\c.mp3"}, "Sucsess", ""},  // already in place
        {{"c:\\in\\b.mp3", "c:\\out\\" + std::string(260, 'y') + "\\b.mp3"}, "Failed", "path too long"},
    };
    for (const auto& s : steps) {
        const MoveReport r = mover.Move(s.item);
        EXPECT_EQ(r.word + " " + r.reason, s.word + " " + s.reason) << s.item.to;
    }
    EXPECT_EQ(disk.folderCalls, 2) << "made once more after its refusal, then known";
    EXPECT_EQ(disk.Attributes("c:\\out\\x\\c.mp3"), 0x21u) << "read-only kept at the new place";
    EXPECT_NE(disk.Attributes("c:\\in\\b.mp3"), kInvalidAttributes) << "a failed move leaves the file";
}

// A tree of folders and files by lower-cased path.
class FakeTree : public FolderOps {
public:
    std::map<std::string, uint32_t> entries;  // path -> attributes
    std::set<std::string> stuck;              // folders that refuse removal
    std::vector<std::string> log;

    static std::string Key(const std::string& p) {
        std::string k = WithoutBackslash(p);
        for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return k;
    }
    uint32_t Attributes(const std::string& p) override {
        auto it = entries.find(Key(p));
        return it == entries.end() ? kInvalidAttributes : it->second;
    }
    bool SetAttributes(const std::string& p, uint32_t a) override {
        log.push_back("attr " + Key(p) + " " + std::to_string(a));
        entries[Key(p)] = kAttributeDirectory | (a & ~kAttributeNormal);
        return true;
    }
    bool HasEntries(const std::string& folder) override {
        auto it = entries.upper_bound(Key(folder) + "\\");
        return it != entries.end() && it->first.compare(0, Key(folder).size() + 1, Key(folder) + "\\") == 0;
    }
    bool RemoveFolder(const std::string& folder) override {
        log.push_back("rd " + Key(folder));
        if (stuck.count(Key(folder)) || (Attributes(folder) & kAttributeReadOnly)) return false;
        return entries.erase(Key(folder)) == 1;
    }
};

TEST(SortingClimb, OnlyEmptyFoldersGoAndNeverAboveTheSource) {
    const uint32_t dir = kAttributeDirectory;
    const struct {
        const char* name;
        std::vector<std::pair<std::string, uint32_t>> tree;
        std::vector<std::string> starts;
        std::string source;
        std::vector<std::string> removed;
        std::set<std::string> stuck;
    } cases[] = {
        {"nested empties up to and including the source",
         {{"C:\\m", dir}, {"C:\\m\\src", dir}, {"C:\\m\\src\\a", dir}, {"C:\\m\\src\\a\\b", dir}},
         {"C:\\m\\src\\a\\b\\"},
         "c:\\M\\SRC",
         {"C:\\m\\src\\a\\b", "C:\\m\\src\\a", "C:\\m\\src"},
         {}},
        {"a hidden file keeps its folder",
         {{"C:\\src", dir}, {"C:\\src\\a", dir}, {"C:\\src\\a\\h.ini", 0x2}},
         {"C:\\src\\a"},
         "C:\\src\\",
         {},
         {}},
        {"an empty sub-folder keeps its parent; siblings deepest first",
         {{"C:\\src", dir}, {"C:\\src\\a", dir}, {"C:\\src\\a\\keep", dir}, {"C:\\src\\b", dir}, {"C:\\src\\b\\c", dir}},
         {"C:\\src\\a", "C:\\src\\b", "C:\\src\\b\\c"},
         "C:\\src",
         {"C:\\src\\b\\c", "C:\\src\\b"},
         {}},
        {"a start outside the source is left",
         {{"C:\\other", dir}, {"C:\\src", dir}},
         {"C:\\other", "C:\\srcx"},
         "C:\\src",
         {},
         {}},
        {"a folder that refuses stays and keeps its attributes; the climb stops",
         {{"C:\\src", dir}, {"C:\\src\\s", dir | kAttributeHidden}},
         {"C:\\src\\s"},
         "C:\\src",
         {},
         {"c:\\src\\s"}},
    };
    for (const auto& c : cases) {
        FakeTree disk;
        for (const auto& e : c.tree) disk.entries[FakeTree::Key(e.first)] = e.second;
        disk.stuck = c.stuck;
        const auto before = disk.entries;
        EXPECT_EQ(RemoveEmptiedFolders(disk, c.starts, c.source), c.removed) << c.name;
        for (const auto& e : before) {
            bool gone = false;
            for (const auto& r : c.removed) gone = gone || FakeTree::Key(r) == e.first;
            if (!gone) {
                EXPECT_EQ(disk.entries[e.first], e.second) << c.name << ": " << e.first << " changed";
            }
        }
    }
    // A read-only folder within the source: cleared for the removal only.
    FakeTree disk;
    disk.entries = {{"c:\\src", kAttributeDirectory}, {"c:\\src\\ro", kAttributeDirectory | kAttributeReadOnly}};
    EXPECT_EQ(RemoveEmptiedFolders(disk, {"C:\\src\\ro"}, "C:\\src\\ro"), std::vector<std::string>{"C:\\src\\ro"});
    EXPECT_EQ(disk.log, (std::vector<std::string>{"attr c:\\src\\ro 128", "rd c:\\src\\ro"}));
    EXPECT_EQ(disk.Attributes("C:\\src"), kAttributeDirectory) << "the parent of the source is not touched";
}

}  // namespace
}  // namespace corvella::sorting
