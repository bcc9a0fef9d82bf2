// The file service over a file system in memory that behaves as Windows
// does where it matters: names compare without case, a move never
// replaces, a read-only file does not move, and a move to a name that
// differs only in case reports success and keeps the old name.
#include "app/foundation/files/file_service.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace corvella {
namespace files {
namespace {

constexpr uint32_t kMissing = 0xFFFFFFFFu;
constexpr uint32_t kReadOnly = 0x1, kHidden = 0x2, kFolder = 0x10, kArchive = 0x20;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

std::string FolderOf(const std::string& p) { return p.substr(0, p.rfind('\\')); }

class FakeOps : public FileOps {
public:
    struct Entry {
        std::string path;  // as stored, case included
        uint32_t attributes;
    };
    std::map<std::string, Entry> entries;  // by lower-case path
    std::set<std::string> inUse;           // lower-case paths another program holds
    int failMove = 0;                      // the n-th move fails with Failed (1-based)
    int moves = 0;
    bool refuseFolders = false;

    void Add(const std::string& path, uint32_t attributes = kArchive) { entries[Lower(path)] = {path, attributes}; }

    uint32_t Attributes(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? kMissing : it->second.attributes;
    }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        auto it = entries.find(Lower(path));
        if (it == entries.end()) return false;
        it->second.attributes = attributes == 0x80 ? 0 : attributes;
        return true;
    }
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
        ++moves;
        if (moves == failMove) return MoveResult::Failed;
        auto it = entries.find(Lower(from));
        if (it == entries.end() || entries.count(Lower(FolderOf(to))) == 0) return MoveResult::Gone;
        if (inUse.count(Lower(from)) != 0 || (it->second.attributes & kReadOnly) != 0) return MoveResult::InUse;
        if (Lower(from) == Lower(to)) return MoveResult::Done;  // the old name stays
        if (entries.count(Lower(to)) != 0) return MoveResult::NameTaken;
        Entry e = it->second;
        e.path = to;
        entries.erase(it);
        entries[Lower(to)] = e;
        return MoveResult::Done;
    }
    bool MakeFolder(const std::string& path) override {
        if (refuseFolders || entries.count(Lower(FolderOf(path))) == 0) return false;
        Add(path, kFolder);
        return true;
    }
    std::string StoredName(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? std::string() : it->second.path.substr(it->second.path.rfind('\\') + 1);
    }

    // Every file (not folder) as stored, with " ro"/" h" for its attributes.
    std::set<std::string> Files() const {
        std::set<std::string> out;
        for (const auto& [key, e] : entries) {
            if (e.attributes & kFolder) continue;
            out.insert(e.path + ((e.attributes & kReadOnly) ? " ro" : "") + ((e.attributes & kHidden) ? " h" : ""));
        }
        return out;
    }
};

struct Fixture {
    FakeOps ops;
    Fixture() {
        ops.Add("C:", kFolder);
        ops.Add("C:\\M", kFolder);
    }
};

TEST(FileService, OneMoveNeverReplacesAndPutsAttributesBack) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, uint32_t>> files;
        std::string from, to;
        bool makeFolders;
        int failMove;
        MoveResult result;
        std::set<std::string> after;
    } cases[] = {
        {"plain", {{"C:\\M\\a.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\b.mp3", false, 0, MoveResult::Done,
         {"C:\\M\\b.mp3"}},
        {"clash", {{"C:\\M\\a.mp3", kArchive}, {"C:\\M\\B.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\b.mp3", false, 0,
         MoveResult::NameTaken, {"C:\\M\\a.mp3", "C:\\M\\B.mp3"}},
        {"own path", {{"C:\\M\\a.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\a.mp3", false, 0, MoveResult::Unchanged,
         {"C:\\M\\a.mp3"}},
        {"case only", {{"C:\\M\\intro.mp3", kArchive}}, "C:\\M\\intro.mp3", "C:\\M\\Intro.mp3", false, 0,
         MoveResult::Done, {"C:\\M\\Intro.mp3"}},
        {"case already stored", {{"C:\\M\\Intro.mp3", kArchive}}, "C:\\M\\intro.mp3", "C:\\M\\Intro.mp3", false, 0,
         MoveResult::Unchanged, {"C:\\M\\Intro.mp3"}},
        {"case only, second step fails", {{"C:\\M\\intro.mp3", kReadOnly}}, "C:\\M\\intro.mp3",
         "C:\\M\\Intro.mp3", false, 2, MoveResult::Failed, {"C:\\M\\intro.mp3 ro"}},
        {"vanished", {}, "C:\\M\\a.mp3", "C:\\M\\b.mp3", false, 0, MoveResult::Gone, {}},
        {"read-only keeps it", {{"C:\\M\\a.mp3", kReadOnly | kHidden}}, "C:\\M\\a.mp3", "C:\\M\\b.mp3", false, 0,
         MoveResult::Done, {"C:\\M\\b.mp3 ro h"}},
        {"read-only, move fails", {{"C:\\M\\a.mp3", kReadOnly}}, "C:\\M\\a.mp3", "C:\\M\\b.mp3", false, 1,
         MoveResult::Failed, {"C:\\M\\a.mp3 ro"}},
        {"missing folder", {{"C:\\M\\a.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\X\\Y\\a.mp3", false, 0,
         MoveResult::FolderNotMade, {"C:\\M\\a.mp3"}},
        {"folders made", {{"C:\\M\\a.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\X\\Y\\a.mp3", true, 0,
         MoveResult::Done, {"C:\\M\\X\\Y\\a.mp3"}},
        {"too long", {{"C:\\M\\a.mp3", kArchive}}, "C:\\M\\a.mp3", "C:\\M\\" + std::string(260, 'n'), false, 0,
         MoveResult::PathTooLong, {"C:\\M\\a.mp3"}},
    };
    for (const auto& c : cases) {
        Fixture fx;
        for (const auto& [path, attributes] : c.files) fx.ops.Add(path, attributes);
        fx.ops.failMove = c.failMove;
        FileService service(fx.ops);
        EXPECT_EQ(service.Move(c.from, c.to, c.makeFolders), c.result) << c.what;
        EXPECT_EQ(fx.ops.Files(), c.after) << c.what;
    }
}

TEST(FileService, FoldersThatCannotBeMadeAndFilesInUseAreReported) {
    Fixture fx;
    fx.ops.Add("C:\\M\\a.mp3");
    fx.ops.refuseFolders = true;
    FileService service(fx.ops);
    EXPECT_EQ(service.Move("C:\\M\\a.mp3", "C:\\M\\X\\a.mp3", true), MoveResult::FolderNotMade);
    fx.ops.inUse.insert("c:\\m\\a.mp3");
    EXPECT_EQ(service.Move("C:\\M\\a.mp3", "C:\\M\\b.mp3"), MoveResult::InUse);
    EXPECT_EQ(fx.ops.Files(), std::set<std::string>{"C:\\M\\a.mp3"});
    EXPECT_STREQ(ReasonText(MoveResult::NameTaken), "name taken");
}

TEST(FileService, ManyMovesFollowChainsAndLeaveSwapsAndMeetingsAlone) {
    using Moves = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* what;
        std::vector<std::string> files;
        Moves moves;
        std::vector<MoveResult> results;
        std::set<std::string> after;
    } cases[] = {
        {"chain", {"C:\\M\\1", "C:\\M\\2", "C:\\M\\3"},
         {{"C:\\M\\1", "C:\\M\\2"}, {"C:\\M\\2", "C:\\M\\3"}, {"C:\\M\\3", "C:\\M\\4"}},
         {MoveResult::Done, MoveResult::Done, MoveResult::Done},
         {"C:\\M\\2", "C:\\M\\3", "C:\\M\\4"}},
        {"swap", {"C:\\M\\a", "C:\\M\\b", "C:\\M\\c"},
         {{"C:\\M\\a", "C:\\M\\b"}, {"C:\\M\\b", "C:\\M\\a"}, {"C:\\M\\c", "C:\\M\\d"}},
         {MoveResult::NameTaken, MoveResult::NameTaken, MoveResult::Done},
         {"C:\\M\\a", "C:\\M\\b", "C:\\M\\d"}},
        {"meeting", {"C:\\M\\a", "C:\\M\\b"},
         {{"C:\\M\\a", "C:\\M\\x"}, {"C:\\M\\b", "C:\\M\\X"}},
         {MoveResult::NameTaken, MoveResult::NameTaken},
         {"C:\\M\\a", "C:\\M\\b"}},
        {"chain into a failed move", {"C:\\M\\a", "C:\\M\\b", "C:\\M\\c"},
         {{"C:\\M\\a", "C:\\M\\b"}, {"C:\\M\\b", "C:\\M\\c"}},
         {MoveResult::NameTaken, MoveResult::NameTaken},
         {"C:\\M\\a", "C:\\M\\b", "C:\\M\\c"}},
        {"case only beside a chain", {"C:\\M\\a", "C:\\M\\b"},
         {{"C:\\M\\a", "C:\\M\\A"}, {"C:\\M\\b", "C:\\M\\c"}},
         {MoveResult::Done, MoveResult::Done},
         {"C:\\M\\A", "C:\\M\\c"}},
    };
    for (const auto& c : cases) {
        Fixture fx;
        for (const std::string& f : c.files) fx.ops.Add(f);
        FileService service(fx.ops);
        EXPECT_EQ(service.MoveAll(c.moves), c.results) << c.what;
        EXPECT_EQ(fx.ops.Files(), c.after) << c.what;
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
