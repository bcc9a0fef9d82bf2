#include <gtest/gtest.h>

#include "platform/cdaudio/core/disc_image.h"
#include "platform/cdaudio/core/scsi.h"
#include "platform/cdaudio/tests/image_files_fake.h"

namespace corvella::cdaudio {
namespace {

struct LaidOut {
    std::vector<uint32_t> starts;
    uint32_t leadOut;
};

TEST(DiscLayout, TracksStartAtIndex01AndPregapsAddSilence) {
    const struct {
        const char* cue;
        std::vector<uint32_t> fileFrames;
        LaidOut want;
    } cases[] = {
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nINDEX 01 00:00:50\n", {120}, {{0, 50}, 120}},
        // INDEX 00 belongs to the track before, as on a pressed disc.
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nINDEX 00 00:00:40\nINDEX 01 00:00:50\n",
         {120}, {{0, 50}, 120}},
        // PREGAP: silence that is not in the file moves what follows.
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nPREGAP 00:00:30\nINDEX 01 00:00:50\n",
         {120}, {{0, 80}, 150}},
        // A file of its own per track; the first track may start late in its file.
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:10\nFILE b WAVE\nTRACK 2 AUDIO\nINDEX 01 00:00:00\n",
         {100, 7}, {{10, 100}, 107}},
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nFILE b BINARY\nFILE c BINARY\nTRACK 2 AUDIO\nINDEX 01 00:00:00\n",
         {5, 6, 7}, {{0, 11}, 18}},
        // A track's gap at the end of the file before; its INDEX 01 in a file of its own.
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nINDEX 00 00:00:40\nFILE b WAVE\nINDEX 01 00:00:00\n",
         {50, 30}, {{0, 50}, 80}},
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nFILE b WAVE\nINDEX 00 00:00:00\nINDEX 01 00:00:05\n",
         {50, 30}, {{0, 55}, 80}},
    };
    for (const auto& c : cases) {
        const auto sheet = ParseCueSheet(c.cue, nullptr);
        ASSERT_TRUE(sheet) << c.cue;
        std::string why;
        const auto layout = LayOut(*sheet, c.fileFrames, &why);
        ASSERT_TRUE(layout) << c.cue << why;
        std::vector<uint32_t> starts;
        for (const auto& t : layout->tracks) starts.push_back(t.start);
        EXPECT_EQ(starts, c.want.starts) << c.cue;
        EXPECT_EQ(layout->leadOut, c.want.leadOut) << c.cue;
        uint32_t at = 0;  // segments cover the disc without gaps
        for (const auto& s : layout->segments) {
            EXPECT_EQ(s.start, at) << c.cue;
            at += s.frames;
        }
        EXPECT_EQ(at, c.want.leadOut) << c.cue;
    }
    const struct {
        const char* cue;
        std::vector<uint32_t> fileFrames;
    } bad[] = {
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nINDEX 01 00:02:00\n", {100}},
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:50\nTRACK 2 AUDIO\nINDEX 01 00:00:40\n", {100}},
        {"FILE a BINARY\nTRACK 1 AUDIO\nINDEX 01 00:00:00\n", {100u * 4500}},
    };
    for (const auto& c : bad) {
        const auto sheet = ParseCueSheet(c.cue, nullptr);
        ASSERT_TRUE(sheet);
        EXPECT_FALSE(LayOut(*sheet, c.fileFrames, nullptr)) << c.cue;
    }
}

TEST(DiscLayout, TocInFramesOrMsf) {
    DiscLayout layout;
    layout.tracks = {{1, false, 0}, {2, false, 12132}, {3, true, 20000}};
    layout.leadOut = 30000;
    TOC toc;
    FillToc(layout, false, &toc);
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&toc);
    EXPECT_EQ(raw[0], 0);
    EXPECT_EQ(raw[1], 2 + 8 * 4);
    EXPECT_EQ(toc.firstTrack, 1);
    EXPECT_EQ(toc.lastTrack, 3);
    const uint8_t track2[8] = {0, 0x10, 2, 0, 0x00, 0x00, 0x2F, 0x64};
    EXPECT_EQ(0, std::memcmp(&toc.tracks[1], track2, 8));
    EXPECT_EQ(toc.tracks[2].ADR, 0x14);
    EXPECT_EQ(toc.tracks[3].trackNumber, kLeadOutTrack);
    for (int k = 4; k < 100; ++k) EXPECT_EQ(toc.tracks[k].trackNumber, 0);
    FillToc(layout, true, &toc);
    const uint8_t first[4] = {0, 0, 2, 0}, leadOut[4] = {0, 6, 42, 0};  // 30150 = 6:42:00
    EXPECT_EQ(0, std::memcmp(toc.tracks[0].addr, first, 4));
    EXPECT_EQ(0, std::memcmp(toc.tracks[3].addr, leadOut, 4));
}

TEST(WavHeader, OnlyCdAudioIsTaken) {
    const std::string data = Frames(1, 2, 100);
    std::string cut = Wav(data);  // a data chunk that claims more than the file holds is cut to the file
    cut.resize(cut.size() - 10);
    const struct {
        std::string file;
        std::optional<std::string> audio;
    } cases[] = {
        {Wav(data), data},
        {cut, data.substr(0, data.size() - 10)},
        {Wav(data, 48000), std::nullopt},
        {Wav(data, 44100, 1), std::nullopt},
        {Wav(data, 44100, 2, 24), std::nullopt},
        {"RIFX" + Wav(data).substr(4), std::nullopt},
        {Wav(data).substr(0, 30), std::nullopt},
    };
    for (const auto& c : cases) {
        auto read = [&c](uint64_t at, size_t n, uint8_t* out) {
            if (at + n > c.file.size()) return false;
            std::memcpy(out, c.file.data() + at, n);
            return true;
        };
        const auto span = ParseWavHeader(read, c.file.size());
        ASSERT_EQ(bool(span), bool(c.audio));
        if (span) {
            EXPECT_EQ(c.file.substr(size_t(span->offset), size_t(span->bytes)), *c.audio);
        }
    }
}

class Image : public ::testing::Test {
protected:
    MemoryFiles files;
    std::vector<uint8_t> out = std::vector<uint8_t>(kFrameBytes * 200);
    std::string Got(uint32_t frames) { return std::string(out.begin(), out.begin() + frames * kFrameBytes); }
};

TEST_F(Image, CueSheetReadsItsBytesSilenceAndRefusesDataAndTheLeadOut) {
    files.files["/d/a.bin"] = Frames(0xA1, 60);
    files.files["/d/b.bin"] = Frames(0xB2, 30, 1000);
    files.files["/d/disc.cue"] =
        "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 00:00:40\nINDEX 01 00:00:50\n"
        "FILE \"b.bin\" BINARY\nTRACK 03 AUDIO\nPREGAP 00:00:05\nINDEX 01 00:00:00\nTRACK 04 MODE1/2352\nINDEX 01 00:00:20\n";
    std::string why;
    auto image = DiscImage::Open("/d/disc.cue", files, &why);
    ASSERT_TRUE(image) << why;
    EXPECT_EQ(image->Name(), "disc.cue");
    EXPECT_EQ(image->Layout().leadOut, 60u + 5 + 31);
    uint32_t got = 0;
    // Frames 38..64: the end of a.bin (INDEX 00 area included), then 5 of silence.
    ASSERT_EQ(image->Read(38, 27, out.data(), &got), kOk);
    EXPECT_EQ(got, 27u);
    EXPECT_EQ(Got(22), files.files["/d/a.bin"].substr(38 * kFrameBytes));
    EXPECT_EQ(Got(27).substr(22 * kFrameBytes), std::string(5 * kFrameBytes, '\0'));
    // Track 3 starts with b.bin's first frame.
    ASSERT_EQ(image->Read(65, 1, out.data(), &got), kOk);
    EXPECT_EQ(Got(1), files.files["/d/b.bin"].substr(0, kFrameBytes));
    // The data track and anything past the lead-out fail.
    EXPECT_EQ(image->Read(80, 6, out.data(), &got), kErrAspi);
    EXPECT_EQ(image->Read(85, 1, out.data(), &got), kErrAspi);
    EXPECT_EQ(image->Read(84, 1, out.data(), &got), kOk);
    EXPECT_EQ(image->Read(60, 40, out.data(), &got), kErrAspi);
    EXPECT_EQ(got, 0u);
}

TEST_F(Image, WavFolderTakesTracksInNameOrderAndPadsTheLastFrame) {
    files.files["/w/B.wav"] = Wav(Frames(2, 3, 4));
    files.files["/w/a.WAV"] = Wav(Frames(1, 2));
    files.files["/w/notes.txt"] = "not audio";
    std::string why;
    auto image = DiscImage::Open("/w", files, &why);
    ASSERT_TRUE(image) << why;
    EXPECT_EQ(image->Name(), "w");
    ASSERT_EQ(image->Layout().tracks.size(), 2u);
    EXPECT_EQ(image->Layout().tracks[1].start, 2u);
    EXPECT_EQ(image->Layout().leadOut, 6u);
    uint32_t got = 0;
    ASSERT_EQ(image->Read(0, 6, out.data(), &got), kOk);
    std::string want = Frames(1, 2) + Frames(2, 3, 4);
    want.resize(6 * kFrameBytes, '\0');
    EXPECT_EQ(Got(6), want);
}

TEST_F(Image, MissingOrUnfitImagesAreNoDrive) {
    files.files["/d/a.bin"] = Frames(1, 10);
    files.files["/d/missing.cue"] = "FILE gone.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";
    files.files["/d/late.cue"] = "FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:01:00\n";
    files.files["/m/a.wav"] = Wav(Frames(1, 2), 22050);
    for (const char* path : {"/d/none.cue", "/d/missing.cue", "/d/late.cue", "/nowhere", "/m"}) {
        std::string why;
        EXPECT_FALSE(DiscImage::Open(path, files, &why)) << path;
        EXPECT_FALSE(why.empty()) << path;
    }
}

TEST(ScsiReplies, TocReplyInMsfBecomesFramesOrStaysMsf) {
    // Two tracks and the lead-out, as READ TOC (MSF) or the NT driver gives them.
    const uint8_t reply[] = {0, 26, 1, 2,
                             0, 0x10, 1, 0, 0, 0, 2, 0,
                             0, 0x14, 2, 0, 0, 2, 43, 57,   // 12282 - 150 = 12132
                             0, 0x10, 0xAA, 0, 0, 6, 42, 0};
    TOC toc;
    ASSERT_TRUE(TocFromReply(reply, sizeof reply, true, false, &toc));
    const uint8_t frames[4] = {0, 0, 0x2F, 0x64};
    EXPECT_EQ(0, std::memcmp(toc.tracks[1].addr, frames, 4));
    EXPECT_EQ(toc.tracks[1].ADR & kDataTrackBit, kDataTrackBit);
    ASSERT_TRUE(TocFromReply(reply, sizeof reply, true, true, &toc));
    EXPECT_EQ(0, std::memcmp(toc.tracks[1].addr, reply + 16, 4));
    const struct {
        size_t cut;
        int at;
        uint8_t value;
    } bad[] = {{3, -1, 0}, {sizeof reply - 1, -1, 0}, {sizeof reply, 1, 27}, {sizeof reply, 22, 3},
               {sizeof reply, 18, 60}, {sizeof reply, 1, 2}};
    for (const auto& b : bad) {
        uint8_t copy[sizeof reply];
        std::memcpy(copy, reply, sizeof reply);
        if (b.at >= 0) copy[b.at] = b.value;
        EXPECT_FALSE(TocFromReply(copy, b.cut, true, false, &toc)) << b.cut << " " << b.at;
    }
}

}  // namespace
}  // namespace corvella::cdaudio
