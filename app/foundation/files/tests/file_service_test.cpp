// The file service over a file system in memory with Windows' rules.
#include "app/foundation/files/file_service.h"

#include <gtest/gtest.h>

#include "app/foundation/files/tests/fake_file_ops.h"

namespace corvella {
namespace files {
namespace {

using namespace testing;

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
    ops.refuseFolders = 1;
    EXPECT_EQ(FileService(ops).Move(a, "C:\\M\\X\\a.mp3", true), MoveResult::FolderNotMade);
}

TEST(FileService, AMoveToAnotherDriveLeavesTheFileInOnePlaceAndNamesTheCause) {
    const std::string a = "C:\\M\\a.mp3", d = "D:\\M\\a.mp3", e = "E:\\M\\a.mp3", f = "F:\\M\\a.mp3";
    const struct {
        const char* what;
        std::map<std::string, uint32_t> files;
        std::string from, to;
        int failMove;
        MoveResult result;
        std::set<std::string> after;
    } cases[] = {
        {"copied, attributes kept", {{a, kReadOnly | kHidden}}, a, d, 0, MoveResult::Done, {d + " ro h"}},
        {"onto a full drive", {{a, 0}}, a, f, 0, MoveResult::DiskFull, {a}},
        {"from a read-only drive", {{e, kHidden}}, e, a, 0, MoveResult::ReadOnly, {e + " h"}},
        {"another's file there", {{a, 0}, {d, 0}}, a, d, -1, MoveResult::NameTaken, {a, d}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        for (const char* folder : {"D:\\M", "E:\\M", "F:\\M"}) ops.Add(folder, kFolder);
        for (const auto& [path, attributes] : c.files) ops.Add(path, attributes);
        ops.failMove = c.failMove;
        ops.readOnlyDrive = "E:";
        ops.fullDrive = "F:";
        FileService service(ops);
        EXPECT_EQ(service.Move(c.from, c.to), c.result) << c.what;
        EXPECT_EQ(ops.Files(), c.after) << c.what;
        ops.fullDrive.clear();  // room made: a second run moves what did not fit
        if (c.result == MoveResult::DiskFull) EXPECT_EQ(service.Move(c.from, c.to), MoveResult::Done);
    }

    const struct {
        uint32_t error;
        MoveResult result;
        const char* text;
    } causes[] = {
        {5, MoveResult::ReadOnly, "read-only"},   {19, MoveResult::ReadOnly, "read-only"},
        {112, MoveResult::DiskFull, "disk full"}, {39, MoveResult::DiskFull, "disk full"},
        {32, MoveResult::InUse, "in use"},        {33, MoveResult::InUse, "in use"},
        {80, MoveResult::NameTaken, "name taken"}, {3, MoveResult::Gone, "gone"},
        {1117, MoveResult::Failed, "failed"},
    };
    for (const auto& c : causes) {
        EXPECT_EQ(ResultOfError(c.error), c.result) << c.error;
        EXPECT_STREQ(ReasonText(c.result), c.text) << c.error;
    }
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

TEST(FileService, AMoveToAFreeNamePassesNamesTakenEvenMeanwhile) {
    const std::string tmp = "C:\\M\\crv1.tmp", one = "C:\\M\\01.mp3", two = "C:\\M\\01 (2).mp3";
    const struct {
        int failMove;
        MoveResult result;
        std::string placed;
        std::set<std::string> after;
    } cases[] = {
        {0, MoveResult::Done, "C:\\M\\01 (3).mp3", {one, two, "C:\\M\\01 (3).mp3 h"}},
        {-1, MoveResult::InUse, "", {one, two, tmp + " h"}},
    };
    for (const auto& c : cases) {
        FakeOps ops;
        ops.Add(tmp, kHidden);
        ops.Add(one);
        ops.appear = {Lower(two)};  // made by another program after the look
        ops.failMove = c.failMove;
        std::string placed;
        EXPECT_EQ(FileService(ops).MoveToFreeName(tmp, "C:\\M\\", "01", ".mp3", &placed), c.result);
        EXPECT_EQ(placed, c.placed);
        EXPECT_EQ(ops.Files(), c.after);
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
