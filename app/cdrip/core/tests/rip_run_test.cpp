// The run over fakes: which rows become files, under which names and
// statuses, which tags they get, and how each way of ending shows.
#include <gtest/gtest.h>

#include <map>

#include "app/cdrip/core/rip_run.h"
#include "app/cdrip/core/tests/toc_builder.h"

namespace corvella::cdrip {
namespace {

struct FakeTag : tags::TagObject {
    std::map<std::string, std::map<int, std::string>> written;
    std::map<int, std::string> pending;
    bool failWrite = false;
    std::optional<std::string> FieldText(int i) override { return pending[i]; }
    bool ReadTag(const std::string&) override {
        pending.clear();
        return true;
    }
    bool SetField(int i, const std::string& v) override {
        pending[i] = v;
        return true;
    }
    bool WriteTag(const std::string& path) override {
        if (failWrite) return false;
        written[path] = pending;
        return true;
    }
    bool RemoveTag(const std::string&) override { return true; }
};

struct Progress : RipProgress {
    bool visible = true;
    bool Visible() override { return visible; }
    void Update(const std::string&, double, double, const std::string&) override {}
    void DoEvents() override {}
};

struct Rig {
    FakeTag v1, v2;
    Progress progress;
    RunInput in;
    RunServices s;
    std::vector<std::string> log;
    std::map<int, TrackEnd> ends;  // by track number; Written otherwise
    std::map<int, std::string> placed;  // a free name the track was written under
    int cancelAfter = 0;                // the track after whose file the user cancels
    bool loads = true, prepares = true;

    Rig() {
        // The third track is data (a second session): track 2 ends 11,400 frames before it.
        in.toc = testing::MakeToc(1, {0, 10000, 40000, 60000}, 80000, 2);
        in.disc = {"Band", "Album", "Rock", "1999", {"one", "two", "three", "four"}, {"a1", "a2", "a3", "a4"}, false};
        s.progress = &progress;
        s.tags = {&v1, &v2};
        s.appTitle = "Corvella";
        s.loadEncoder = [this](std::string* why) {
            *why = "no encoder";
            log.push_back("load");
            return loads;
        };
        s.prepareFolders = [this](std::string* why) {
            *why = "no folder";
            log.push_back("folders");
            return prepares;
        };
        s.fileName = [](int n, const std::string& no) { return "C:\\out\\" + no + " " + std::to_string(n) + ".mp3"; };
        s.ripTrack = [this](const TrackJob& job, const BE_CONFIG& config) {
            log.push_back("rip " + job.target + " " + std::to_string(job.start) + "-" + std::to_string(job.end) +
                          " " + job.status + " vbr " + std::to_string(config.nVbrMethod));
            const int n = std::stoi(job.target.substr(7, 2));
            const TrackEnd end = ends.count(n) ? ends[n] : TrackEnd::Written;
            if (end == TrackEnd::Cancelled || n == cancelAfter) progress.visible = false;
            return TrackOutcome{end, end == TrackEnd::Written ? "" : "bad " + std::to_string(n),
                                placed.count(n) ? placed[n] : job.target};
        };
        s.message = [this](const std::string& text, MessageKind kind, const std::string& title) {
            log.push_back("box " + std::to_string(int(kind)) + " " + title + ": " + text);
        };
        s.hideProgress = [this] { log.push_back("hide"); };
        s.unloadProgress = [this] { log.push_back("unload"); };
    }
    RunEnd Run(std::vector<bool> rows) {
        in.selected = std::move(rows);
        return EncodeSelectedTracks(in, s);
    }
};

TEST(RipRun, OnlyTheDiscsAudioTracksBecomeFiles) {
    Rig r;
    EXPECT_EQ(r.Run({true, true, true, false, true, true}), RunEnd::Completed);
    const std::vector<std::string> want = {
        "load", "folders",
        "rip C:\\out\\01 1.mp3 0-10000 1 of 5 vbr 2",
        "rip C:\\out\\02 2.mp3 10000-28600 2 of 5 vbr 2",  // before the second session's data
        "box 1 Encoding Complete: Corvella has finished the encoding process\n\nFiles made:\nC:\\out\\01 1.mp3"
        "\nC:\\out\\02 2.mp3\n\nNot encoded:\nTrack 03: a data track cannot be encoded"
        "\nTrack 05: the disc holds no audio for it\nTrack 06: the disc holds no audio for it",
        "hide"};
    EXPECT_EQ(r.log, want);  // row 3 is data, rows 5 and 6 lie beyond the disc
    EXPECT_EQ(r.v1.written.size(), 2u);
    EXPECT_EQ(r.v2.written.size(), 2u);

    Rig none;  // nothing made: no claim that the encoding finished
    EXPECT_EQ(none.Run({false, false}), RunEnd::NothingMade);
    EXPECT_EQ(none.log,
              (std::vector<std::string>{"load", "folders", "box 3 Nothing Encoded: No file was made.", "hide"}));
}

TEST(RipRun, TagsFromTheDiscDataTheCaseOnlyInTheTags) {
    const struct {
        bool mixed, tagCase;
        const char* album;
        std::map<int, std::string> want;  // track 2's tag
    } cases[] = {
        {false, false, "Album", {{0, "two"}, {1, "Band"}, {2, "Album"}, {3, "1999"}, {5, "Rock"}, {6, "02"}}},
        {true, false, "Album", {{0, "two"}, {1, "a2"}, {2, "Album"}, {3, "1999"}, {5, "Rock"}, {6, "02"}}},
        {true, true, "Album", {{0, "TWO"}, {1, "A2"}, {2, "ALBUM"}, {3, "1999"}, {5, "Rock"}, {6, "02"}}},
        {false, true, "", {}},  // no disc data: no tags
    };
    for (const auto& c : cases) {
        Rig r;
        r.in.disc.Mixed = c.mixed;
        r.in.disc.Album = c.album;
        r.in.tagCase = c.tagCase;
        r.in.tagCaseMode = 1;
        ASSERT_EQ(r.Run({true, true}), RunEnd::Completed);
        for (FakeTag* t : {&r.v1, &r.v2}) {
            if (c.want.empty()) {
                EXPECT_TRUE(t->written.empty());
                continue;
            }
            EXPECT_EQ(t->written["C:\\out\\02 2.mp3"], c.want);
        }
    }
}

TEST(RipRun, HowEachEndShows) {
    const struct {
        const char* what;
        void (*arm)(Rig&);
        RunEnd end;
        std::vector<std::string> tail;
        size_t tagged;
    } cases[] = {
        {"read failure goes on", [](Rig& r) { r.ends[1] = TrackEnd::ReadFailed; }, RunEnd::Completed,
         {"box 0 Corvella: Track 01: bad 1", "rip C:\\out\\02 2.mp3 10000-28600 2 of 2 vbr 2",
          "box 1 Encoding Complete: Corvella has finished the encoding process\n\nFiles made:\nC:\\out\\02 2.mp3"
          "\n\nNot encoded:\nTrack 01: it could not be read",
          "hide"}, 1},
        {"cancel", [](Rig& r) { r.ends[1] = TrackEnd::Cancelled; }, RunEnd::Cancelled,
         {"rip C:\\out\\01 1.mp3 0-10000 1 of 2 vbr 2"}, 0},
        {"cancel after a file made under a free name",
         [](Rig& r) {
             r.placed[1] = "C:\\out\\01 1 (2).mp3";
             r.cancelAfter = 1;
         },
         RunEnd::Cancelled,
         {"rip C:\\out\\01 1.mp3 0-10000 1 of 2 vbr 2",
          "box 1 Encoding Cancelled: The encoding was cancelled.\n\nFiles made:\nC:\\out\\01 1 (2).mp3 (01 1.mp3 "
          "was taken)"}, 1},
        {"track error", [](Rig& r) { r.ends[2] = TrackEnd::Failed; }, RunEnd::Failed,
         {"box 2 Critical error...: bad 2\n\nFiles made:\nC:\\out\\01 1.mp3", "unload"}, 1},
        {"no encoder", [](Rig& r) { r.loads = false; }, RunEnd::Failed,
         {"load", "box 2 Critical error...: no encoder", "unload"}, 0},
        {"no folder", [](Rig& r) { r.prepares = false; }, RunEnd::Failed,
         {"folders", "box 2 Critical error...: no folder", "unload"}, 0},
        {"tag write", [](Rig& r) { r.v2.failWrite = true; }, RunEnd::Failed,
         {"rip C:\\out\\01 1.mp3 0-10000 1 of 2 vbr 2",
          "box 2 Critical error...: The tags of C:\\out\\01 1.mp3 could not be written.\n\nFiles made:\nC:\\out\\01 "
          "1.mp3",
          "unload"}, 1},
        {"cancelled before", [](Rig& r) { r.progress.visible = false; }, RunEnd::Cancelled, {"folders"}, 0},
    };
    for (const auto& c : cases) {
        Rig r;
        c.arm(r);
        EXPECT_EQ(r.Run({true, true}), c.end) << c.what;
        ASSERT_GE(r.log.size(), c.tail.size()) << c.what;
        EXPECT_EQ(std::vector<std::string>(r.log.end() - long(c.tail.size()), r.log.end()), c.tail) << c.what;
        EXPECT_EQ(r.v1.written.size(), c.tagged) << c.what;
    }
}

}  // namespace
}  // namespace corvella::cdrip

#include "app/cdrip/core/encoding_progress.h"

namespace corvella::cdrip {
namespace {

TEST(EncodingProgress, CaptionAndBar) {
    const struct {
        double done, total;
        const char* caption;
        int32_t percent;
    } cases[] = {
        // Halves go to the even neighbour; nothing to do shows nothing done.
        {11, 200, "Encoding Progress 05.5 %", 6},    {1, 8, "Encoding Progress 12.5 %", 12},
        {3, 8, "Encoding Progress 37.5 %", 38},      {60, 60, "Encoding Progress 100.0 %", 100},
        {0, 0, "Encoding Progress 00.0 %", 0},       {1, 16, "Encoding Progress 06.3 %", 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodingCaption(c.done, c.total), c.caption);
        EXPECT_EQ(EncodingPercent(c.done, c.total), c.percent) << c.done << "/" << c.total;
    }
}

}  // namespace
}  // namespace corvella::cdrip
