// One track's rip over fakes that log every call, so the order of reads,
// encodes, writes and releases is checked, on the good path and each bad one.
#include <gtest/gtest.h>

#include <vector>

#include "app/cdrip/core/rip_track.h"
#include "app/cdrip/core/tests/toc_builder.h"

namespace corvella::cdrip {
namespace {

using Log = std::vector<std::string>;

// Frame f holds sample pairs (f, -f) ... so stale audio shows.
struct FakeCd : AudioSource {
    Log& log;
    std::vector<int> script;  // per read in order: -1 fail, -2 short, 0 good
    size_t reads = 0;
    explicit FakeCd(Log& l) : log(l) {}
    bool Read(uint32_t start, uint32_t count, uint8_t* audio, uint32_t* bytes) override {
        const int how = reads < script.size() ? script[reads] : 0;
        ++reads;
        log.push_back("read " + std::to_string(start) + "+" + std::to_string(count));
        if (how == -1) return false;
        const uint32_t n = how == -2 ? count - 1 : count;
        for (uint32_t f = 0; f < n; ++f) {
            int16_t* p = reinterpret_cast<int16_t*>(audio + f * cdaudio::kFrameBytes);
            for (int i = 0; i < 588; ++i) {
                p[2 * i] = int16_t(start + f);
                p[2 * i + 1] = int16_t(start + f + 100);
            }
        }
        *bytes = n * cdaudio::kFrameBytes;
        return true;
    }
    std::string ErrorText() override { return "drive says no"; }
};

struct FakeEncoder : EncoderStream {
    Log& log;
    int failInit = 0, failEncodeAt = -1, failDeinit = 0, failHeader = 0;
    int encodes = 0;
    std::vector<int16_t> firstSamples;  // the first value of each chunk
    explicit FakeEncoder(Log& l) : log(l) {}
    int Init(BE_CONFIG*, uint32_t* size) override {
        log.push_back("init");
        *size = 64;
        return failInit;
    }
    int Encode(uint32_t samples, int16_t* pcm, uint8_t* out, uint32_t* produced) override {
        firstSamples.push_back(pcm[0]);
        if (encodes == 0) log.push_back("encode " + std::to_string(samples));
        if (encodes++ == failEncodeAt) return 4;
        out[0] = uint8_t(pcm[0]);
        *produced = encodes % 2;  // a byte every second frame
        return 0;
    }
    int Deinit(uint8_t* out, uint32_t* produced) override {
        log.push_back("deinit");
        out[0] = 0xEE;
        *produced = 1;
        return failDeinit;
    }
    int Close() override {
        log.push_back("close stream");
        return 0;
    }
    int WriteVbrHeader(const std::string& path) override {
        log.push_back("vbr header '" + path + "'");
        return failHeader;
    }
};

struct FakeFile : TrackFile {
    Log& log;
    bool failCreate = false, failReplace = false;
    int failWriteAt = -1, failFlushAt = -1, writes = 0, flushes = 0;
    std::string bytes, temp = "C:\\out\\tmp1.tmp";
    std::string reason;  // what the system said of a failed write
    explicit FakeFile(Log& l) : log(l) {}
    bool Create(const std::string& target, std::string* why) override {
        log.push_back("create " + target);
        if (failCreate) *why = "no folder";
        return !failCreate;
    }
    bool Write(const uint8_t* b, uint32_t n) override {
        if (writes++ == failWriteAt) return false;
        bytes.append(reinterpret_cast<const char*>(b), n);
        return true;
    }
    bool Flush() override { return flushes++ != failFlushAt; }
    bool Close() override {
        log.push_back("close file");
        return true;
    }
    const std::string& TempPath() const override { return temp; }
    bool Place(std::string* placed, std::string* why) override {
        log.push_back("replace");
        if (failReplace) *why = "in use";
        else *placed = "C:\\out\\01 Song (2).mp3";  // the name was taken
        return !failReplace;
    }
    void Discard() override { log.push_back("discard"); }
    std::string WriteError() const override { return reason; }
};

struct FakeProgress : RipProgress {
    Log& log;
    int cancelAfter = -1, updates = 0;
    explicit FakeProgress(Log& l) : log(l) {}
    bool Visible() override { return cancelAfter < 0 || updates < cancelAfter; }
    void Update(const std::string& name, double done, double total, const std::string& status) override {
        ++updates;
        log.push_back("show " + name + " " + std::to_string(int(done)) + "/" + std::to_string(int(total)) + " " + status);
    }
    void DoEvents() override {}
};

struct Rig {
    Log log;
    FakeCd cd{log};
    FakeEncoder enc{log};
    FakeFile file{log};
    FakeProgress progress{log};
    TrackOutcome Run(uint32_t start, uint32_t end, bool vbr = false, int mode = 0) {
        EncoderChoices c;
        c.variable = vbr;
        c.mode = mode;
        return RipAndEncodeTrack({"C:\\out\\01 Song.mp3", start, end, "1 of 2"}, MakeEncoderConfig(c), cd, enc, file,
                                 progress);
    }
};

TEST(RipTrack, BlocksOfTwentySixAShortLastOneAndTheFileReplacedWhenComplete) {
    Rig r;
    const TrackOutcome o = r.Run(1000, 1060);
    EXPECT_EQ(o.end, TrackEnd::Written);
    EXPECT_EQ(o.written, "C:\\out\\01 Song (2).mp3");  // where the file went, for its tags
    const Log want = {"init", "create C:\\out\\01 Song.mp3", "read 1000+26", "encode 1176",
                      "show 01 Song.mp3 26/60 1 of 2", "read 1026+26", "show 01 Song.mp3 52/60 1 of 2",
                      "read 1052+8", "show 01 Song.mp3 60/60 1 of 2", "deinit", "close file", "close stream",
                      "replace"};
    EXPECT_EQ(r.log, want);
    EXPECT_EQ(r.enc.encodes, 60);
    EXPECT_EQ(r.enc.firstSamples[59], 1059);
    EXPECT_EQ(r.file.bytes.size(), 31u);  // 30 frames gave a byte, then the flush's
    EXPECT_EQ(uint8_t(r.file.bytes.back()), 0xEE);
}

TEST(RipTrack, ZeroFramesVbrAndMono) {
    Rig empty;
    EXPECT_EQ(empty.Run(500, 500).end, TrackEnd::Written);
    EXPECT_EQ(empty.cd.reads, 0u);
    EXPECT_EQ(empty.file.bytes, "\xEE");

    Rig vbr;
    EXPECT_EQ(vbr.Run(0, 3, true).end, TrackEnd::Written);
    const Log tail = {"deinit", "close file", "close stream", "vbr header 'C:\\out\\tmp1.tmp'", "replace"};
    EXPECT_EQ(Log(vbr.log.end() - 5, vbr.log.end()), tail);

    Rig mono;
    EXPECT_EQ(mono.Run(10, 12, false, 3).end, TrackEnd::Written);
    EXPECT_EQ(mono.log[3], "encode 588");
    EXPECT_EQ(mono.enc.firstSamples[0], (10 + 110) / 2);
    int16_t frame[1176];
    for (int i = 0; i < 588; ++i) {
        frame[2 * i] = int16_t(i % 2 ? 32767 : -32768);
        frame[2 * i + 1] = int16_t(i % 2 ? 32767 : -32767);
    }
    DownmixFrame(frame);
    EXPECT_EQ(frame[0], -32767);
    EXPECT_EQ(frame[1], 32767);
}

TEST(RipTrack, ReadsAreTriedThreeTimesAndAShortReadIsAFailedOne) {
    const struct {
        std::vector<int> script;
        TrackEnd end;
        size_t reads;
        int encodes;
    } cases[] = {
        {{0, -1, -1, 0}, TrackEnd::Written, 4, 40},
        {{0, -1, -2, -1}, TrackEnd::ReadFailed, 4, 26},
        {{-2, -2, -2}, TrackEnd::ReadFailed, 3, 0},
        {{-2, 0}, TrackEnd::Written, 3, 40},
    };
    for (const auto& c : cases) {
        for (bool vbr : {false, true}) {
            Rig r;
            r.cd.script = c.script;
            const TrackOutcome o = r.Run(0, 40, vbr);
            EXPECT_EQ(o.end, c.end);
            EXPECT_EQ(r.cd.reads, c.reads);
            EXPECT_EQ(r.enc.encodes, c.encodes);  // nothing stale goes in
            if (c.end == TrackEnd::ReadFailed) {
                EXPECT_EQ(o.message, "drive says no");
                Log tail = {"discard", "close stream"};
                if (vbr) tail.push_back("vbr header ''");  // the stream let go
                EXPECT_EQ(Log(r.log.end() - long(tail.size()), r.log.end()), tail);
            }
        }
    }
}

TEST(RipTrack, EveryErrorAndACancelLeaveNoFileAndReleaseTheStream) {
    const struct {
        const char* what;
        void (*arm)(Rig&);
        TrackEnd end;
        const char* message;
        bool created;
    } cases[] = {
        {"init", [](Rig& r) { r.enc.failInit = 2; }, TrackEnd::Failed, "Invalid format parameters", false},
        {"create", [](Rig& r) { r.file.failCreate = true; }, TrackEnd::Failed, "no folder", false},
        {"encode", [](Rig& r) { r.enc.failEncodeAt = 30; }, TrackEnd::Failed, "Invalid handle", true},
        {"write", [](Rig& r) { r.file.failWriteAt = 3; }, TrackEnd::Failed, "Could not write C:\\out\\01 Song.mp3", true},
        {"full disk", [](Rig& r) { r.file.failWriteAt = 5, r.file.reason = "The disk is full"; }, TrackEnd::Failed,
         "Could not write C:\\out\\01 Song.mp3: The disk is full", true},
        {"flush", [](Rig& r) { r.file.failFlushAt = 1; }, TrackEnd::Failed, "Could not write C:\\out\\01 Song.mp3", true},
        {"deinit", [](Rig& r) { r.enc.failDeinit = 1; }, TrackEnd::Failed, "Invalid format", true},
        {"header", [](Rig& r) { r.enc.failHeader = 2; }, TrackEnd::Failed, "Could not write the VBR header of C:\\out\\01 Song.mp3", true},
        {"replace", [](Rig& r) { r.file.failReplace = true; }, TrackEnd::Failed, "in use", true},
        {"cancel", [](Rig& r) { r.progress.cancelAfter = 1; }, TrackEnd::Cancelled, "", true},
    };
    for (const auto& c : cases) {
        Rig r;
        c.arm(r);
        const TrackOutcome o = r.Run(0, 60, true);
        EXPECT_EQ(o.end, c.end) << c.what;
        EXPECT_EQ(o.message, c.message) << c.what;
        int closes = 0, releases = 0, discards = 0, replaces = 0;
        for (const auto& l : r.log) {
            closes += l == "close stream";
            releases += l.rfind("vbr header", 0) == 0;
            discards += l == "discard";
            replaces += l == "replace";
        }
        const bool inited = c.end != TrackEnd::Failed || std::string(c.what) != "init";
        EXPECT_EQ(closes, inited ? 1 : 0) << c.what;
        EXPECT_EQ(releases, inited ? 1 : 0) << c.what;
        EXPECT_EQ(discards, c.created ? 1 : 0) << c.what;
        EXPECT_EQ(replaces, std::string(c.what) == "replace" ? 1 : 0) << c.what;
    }
    Rig cancel;
    cancel.progress.cancelAfter = 1;
    cancel.Run(0, 60);
    EXPECT_EQ(cancel.cd.reads, 1u);  // cancelled while the first block showed: no more reads
    EXPECT_EQ(cancel.enc.encodes, 26);
}

TEST(RipTrack, FramesOfARowAndErrorTexts) {
    // Track 4 is data: track 3 ends a session gap before it.
    cdaudio::TOC toc = testing::MakeToc(1, {0, 1000, 30000, 50000}, 70000, 3);
    using R = std::optional<std::pair<uint32_t, uint32_t>>;
    const struct {
        int row;
        R want;
    } rows[] = {{0, R({0, 1000})}, {1, R({1000, 30000})}, {2, R({30000, 50000 - 11400})},
                {3, std::nullopt}, {4, std::nullopt}, {-1, std::nullopt}, {99, std::nullopt}};
    for (const auto& r : rows) EXPECT_EQ(TrackFrames(toc, r.row), r.want) << r.row;
    testing::SetStart(toc.tracks[2], 12400);  // track 3 starts at 1000 + 11400: no room for a session gap
    EXPECT_EQ(TrackFrames(toc, 1), R({1000, 12400}));
    toc.tracks[1].addr[1] = 0x7F;  // an entry past the lead-out
    EXPECT_EQ(TrackFrames(toc, 1), std::nullopt);
    toc.lastTrack = 0;
    EXPECT_EQ(TrackFrames(toc, 0), std::nullopt);

    const char* const texts[] = {"No Error", "Invalid format", "Invalid format parameters", "No more handles",
                                 "Invalid handle", "Buffer too small", "", ""};
    for (int code = 0; code < 8; ++code) EXPECT_EQ(LameErrorText(code == 7 ? -1 : code), texts[code]);
}

}  // namespace
}  // namespace corvella::cdrip
