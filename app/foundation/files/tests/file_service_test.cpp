// The file service over a file system in memory that behaves as Windows
// does where it matters: names compare without case, a move never
// replaces, a read-only file does not move, a move to a name that differs
// only in case reports success and keeps the old name.
#include "app/foundation/files/file_service.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace corvella {
namespace files {
namespace {

constexpr uint32_t kMissing = 0xFFFFFFFFu, kReadOnly = 0x1, kHidden = 0x2, kFolder = 0x10;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

class FakeOps : public FileOps {
public:
    std::map<std::string, std::pair<std::string, uint32_t>> entries;  // lower-case path: stored path, attributes
    int failMove = 0;  // the n-th move fails (1-based); -1: every file is in use
    int moves = 0;
    bool refuseFolders = false;

    FakeOps() { Add("C:\\M", kFolder); }
    void Add(const std::string& path, uint32_t attributes = 0) { entries[Lower(path)] = {path, attributes}; }
    uint32_t Attributes(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? kMissing : it->second.second;
    }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        auto it = entries.find(Lower(path));
        if (it != entries.end()) it->second.second = attributes == 0x80 ? 0 : attributes;
        return it != entries.end();
    }
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
        auto it = entries.find(Lower(from));
        if (++moves == failMove) return MoveResult::Failed;
        if (it == entries.end() || Attributes(to.substr(0, to.rfind('\\'))) == kMissing) return MoveResult::Gone;
        if (failMove < 0 || (it->second.second & kReadOnly) != 0) return MoveResult::InUse;
        if (Lower(from) == Lower(to)) return MoveResult::Done;  // the old name stays
        if (entries.count(Lower(to)) != 0) return MoveResult::NameTaken;
        const uint32_t attributes = it->second.second;
        entries.erase(it);
        Add(to, attributes);
        return MoveResult::Done;
    }
    bool MakeFolder(const std::string& path) override {
        if (refuseFolders) return false;
        Add(path, kFolder);
        return true;
    }
    std::string StoredName(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? "" : it->second.first.substr(it->second.first.rfind('\\') + 1);
    }
    // The files as stored, with " ro h" for their attributes.
    std::set<std::string> Files() const {
        std::set<std::string> out;
        for (const auto& [k, e] : entries)
            if (!(e.second & kFolder))
                out.insert(e.first + (e.second & kReadOnly ? " ro" : "") + (e.second & kHidden ? " h" : ""));
        return out;
    }
};

TEST(FileService, OneMoveNeverReplacesAndPutsAttributesBack) {
    const std::string a = "C:\\M\\a.mp3", b = "C:\\M\\b.mp3", intro = "C:\\M\\intro.mp3", Intro = "C:\\M\\Intro.mp3";
    const struct {
        const char* what;
        std::map<std::string, uint32_t> files;
        std::string from, to;
        bool makeFolders;
        int failMove;
        MoveResult result;
        std::set<std::string> after;
    } cases[] = {
        {"plain", {{a, 0}}, a, b, false, 0, MoveResult::Done, {b}},
        {"clash", {{a, 0}, {"C:\\M\\B.mp3", 0}}, a, b, false, 0, MoveResult::NameTaken, {a, "C:\\M\\B.mp3"}},
        {"own path", {{a, 0}}, a, a, false, 0, MoveResult::Unchanged, {a}},
        {"case only", {{intro, 0}}, intro, Intro, false, 0, MoveResult::Done, {Intro}},
        {"case as stored", {{Intro, 0}}, intro, Intro, false, 0, MoveResult::Unchanged, {Intro}},
        {"case only, second step fails", {{intro, kReadOnly}}, intro, Intro, false, 2, MoveResult::Failed,
         {intro + " ro"}},
        {"vanished", {}, a, b, false, 0, MoveResult::Gone, {}},
        {"read-only and hidden", {{a, kReadOnly | kHidden}}, a, b, false, 0, MoveResult::Done, {b + " ro h"}},
        {"read-only, move fails", {{a, kReadOnly}}, a, b, false, 1, MoveResult::Failed, {a + " ro"}},
        {"in use", {{a, 0}}, a, b, false, -1, MoveResult::InUse, {a}},
        {"missing folder", {{a, 0}}, a, "C:\\M\\X\\Y\\a.mp3", false, 0, MoveResult::FolderNotMade, {a}},
        {"folders made", {{a, 0}}, a, "C:\\M\\X\\Y\\a.mp3", true, 0, MoveResult::Done, {"C:\\M\\X\\Y\\a.mp3"}},
        {"too long", {{a, 0}}, a, "C:\\M\\" + std::string(260, 'n'), false, 0, MoveResult::PathTooLong, {a}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        for (const auto& [path, attributes] : c.files) ops.Add(path, attributes);
        ops.failMove = c.failMove;
        EXPECT_EQ(FileService(ops).Move(c.from, c.to, c.makeFolders), c.result) << c.what;
        EXPECT_EQ(ops.Files(), c.after) << c.what;
    }
    FakeOps ops;
    ops.Add(a);
    ops.refuseFolders = true;
    EXPECT_EQ(FileService(ops).Move(a, "C:\\M\\X\\a.mp3", true), MoveResult::FolderNotMade);
}

TEST(FileService, ManyMovesFollowChainsAndLeaveSwapsRingsAndMeetingsAlone) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> moves;  // of the files C:\M\a, b and c
        std::vector<MoveResult> results;
        std::set<std::string> after;
    } cases[] = {
        {"chain", {{"a", "b"}, {"b", "c"}, {"c", "d"}}, {MoveResult::Done, MoveResult::Done, MoveResult::Done},
         {"b", "c", "d"}},
        {"swap", {{"a", "b"}, {"b", "a"}, {"c", "d"}}, {MoveResult::NameTaken, MoveResult::NameTaken, MoveResult::Done},
         {"a", "b", "d"}},
        {"ring", {{"a", "B"}, {"b", "c"}, {"c", "a"}}, std::vector<MoveResult>(3, MoveResult::NameTaken), {"a", "b", "c"}},
        {"meeting", {{"a", "x"}, {"b", "X"}}, {MoveResult::NameTaken, MoveResult::NameTaken}, {"a", "b", "c"}},
        {"chain into a taken name", {{"a", "b"}, {"b", "c"}}, {MoveResult::NameTaken, MoveResult::NameTaken},
         {"a", "b", "c"}},
        {"case only beside a move", {{"a", "A"}, {"b", "e"}}, {MoveResult::Done, MoveResult::Done}, {"A", "c", "e"}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        for (const char* f : {"a", "b", "c"}) ops.Add(std::string("C:\\M\\") + f);
        std::vector<std::pair<std::string, std::string>> moves;
        for (const auto& [from, to] : c.moves) moves.push_back({"C:\\M\\" + from, "C:\\M\\" + to});
        std::set<std::string> after;
        for (const std::string& f : c.after) after.insert("C:\\M\\" + f);
        EXPECT_EQ(FileService(ops).MoveAll(moves), c.results) << c.what;
        EXPECT_EQ(ops.Files(), after) << c.what;
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
