#include <gtest/gtest.h>

#include "platform/cdaudio/core/cue_sheet.h"

namespace corvella::cdaudio {
namespace {

TEST(CueSheet, ReadsTheSubsetAndSkipsTheRest) {
    const char* text =
        "\xEF\xBB\xBFREM GENRE Test\r\n"
        "PERFORMER \"Someone\"\r\n"
        "REM FAULT READ 40 2\r\n"
        "rem fault short 60\r\n"
        "FILE \"tones with blanks.bin\" BINARY\r\n"
        "  TRACK 01 AUDIO\r\n"
        "    TITLE \"One\"\r\n"
        "    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n"
        "    FLAGS DCP\r\n"
        "    INDEX 00 00:02:10\r\n"
        "    INDEX 01 00:02:40\r\n"
        "    INDEX 02 00:03:00\r\n"
        "  TRACK 03 MODE1/2352\r\n"
        "    PREGAP 00:02:00\r\n"
        "    INDEX 01 01:00:00\r\n"
        "FILE last.wav WAVE\n"
        "  TRACK 04 MODE2/2352\n"
        "    INDEX 01 00:00:01\n"
        "REM FAULT OPEN\n"
        "REM FAULT TOC";
    std::string why;
    const auto s = ParseCueSheet(text, &why);
    ASSERT_TRUE(s) << why;
    ASSERT_EQ(s->files.size(), 2u);
    EXPECT_EQ(s->files[0].name, "tones with blanks.bin");
    EXPECT_EQ(s->files[1].name, "last.wav");
    EXPECT_EQ(s->files[1].type, CueFileType::Wave);
    ASSERT_EQ(s->tracks.size(), 4u);
    EXPECT_EQ(s->tracks[1].index0, 160);
    EXPECT_EQ(s->tracks[1].index1, 190);
    EXPECT_EQ(s->tracks[2].mode, CueTrackMode::Mode1);
    EXPECT_EQ(s->tracks[2].pregap, 150u);
    EXPECT_EQ(s->tracks[2].index1, 4500);
    EXPECT_EQ(s->tracks[3].file, 1);
    EXPECT_EQ(s->tracks[3].mode, CueTrackMode::Mode2);
    ASSERT_EQ(s->faults.size(), 4u);
    EXPECT_EQ(s->faults[0].kind, CueFault::Read);
    EXPECT_EQ(s->faults[0].frame, 40u);
    EXPECT_EQ(s->faults[0].times, 2);
    EXPECT_EQ(s->faults[1].kind, CueFault::Short);
    EXPECT_EQ(s->faults[1].frame, 60u);
    EXPECT_EQ(s->faults[2].kind, CueFault::Open);
    EXPECT_EQ(s->faults[3].kind, CueFault::Toc);
}

TEST(CueSheet, RefusesWhatItCannotLayOut) {
    const struct {
        const char* text;
        const char* reason;
    } cases[] = {
        {"", "no tracks"},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "TRACK before FILE"},
        {"FILE a.bin MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "file type"},
        {"FILE a.bin BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\n", "track mode"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:01:00\n", "follow"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n", "without INDEX 01"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\n", "without INDEX 01"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n", "bad time"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", "bad time"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00\n", "bad time"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 00 00:01:00\nINDEX 01 00:00:00\n", "before INDEX 00"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nPREGAP 00:02:00\n", "PREGAP after"},
        {"FILE a.bin BINARY\nTRACK 00 AUDIO\nINDEX 01 00:00:00\n", "bad track number"},
        {"FILE a.bin BINARY\nTRACK 100 AUDIO\nINDEX 01 00:00:00\n", "bad track number"},
        {"FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE b.bin BINARY\nINDEX 01 00:00:00\n", "another file"},
        {"REM FAULT READ 5\nFILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "count"},
        {"REM FAULT SLOW 5\nFILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "unknown fault"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ParseCueSheet(c.text, &why)) << c.text;
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.text << " gave " << why;
    }
}

}  // namespace
}  // namespace corvella::cdaudio
