// The file writer's edge cases on real files, and one track of a disc image
// ripped through cdaudio.dll and lame_enc.dll into a real file: a cancelled
// or failed track leaves an older file of its name as it was, and so does a
// complete one, which takes the next free name.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/encoder/rip_io.h"
#include "platform/cdaudio/tests/test_paths.h"

namespace corvella::cdrip {
namespace {

using cdaudio::testing::ImagePath;
using cdaudio::testing::WinPath;

std::string Out(const std::string& name) {
    CreateDirectoryA(WinPath("CORVELLA_LAME_OUT", "/tmp/lame_out").c_str(), nullptr);
    return WinPath("CORVELLA_LAME_OUT", "/tmp/lame_out", name);
}
std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
int FilesIn(const std::string& folder) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &f);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    do n += !(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(h, &f));
    FindClose(h);
    return n;
}

TEST(FileIo, EdgeCases) {
    clsFileIo io;
    EXPECT_FALSE(io.OpenFile(Out("no such folder\\x.bin")));
    EXPECT_FALSE(io.WriteBytes("abc", 3));
    EXPECT_FALSE(io.FlushBuffers());
    BOOL result = TRUE;
    char buf[4];
    io.ReadBytes(buf, 4, &result);
    EXPECT_FALSE(result);
    EXPECT_FALSE(io.CloseFile());

    const std::string wav = Out("header.wav");
    Put(wav, std::string(100, 'x'));  // OPEN_ALWAYS keeps what lies past the write
    ASSERT_TRUE(io.OpenFile(wav));
    EXPECT_TRUE(io.writeWavHeader(0));
    EXPECT_TRUE(io.CloseFile());
    EXPECT_FALSE(io.CloseFile());
    const std::string got = Bytes(wav);
    EXPECT_EQ(got.size(), 100u);
    EXPECT_EQ(got.substr(0, 12), std::string("RIFF\x24\0\0\0WAVE", 12));
    EXPECT_EQ(got.substr(36, 8), std::string("data\0\0\0\0", 8));

    ASSERT_TRUE(io.OpenFile(wav));
    io.ReadBytes(buf, 4, &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(std::string(buf, 4), "RIFF");
    clsFileIo second;
    EXPECT_FALSE(second.OpenFile(wav));  // not shared
    EXPECT_TRUE(io.CloseFile());
}

struct Progress : RipProgress {
    int cancelAfter = -1, updates = 0;
    bool Visible() override { return cancelAfter < 0 || updates < cancelAfter; }
    void Update(const std::string&, double, double, const std::string&) override { ++updates; }
    void DoEvents() override {}
};

TEST(RipIo, ATrackOfADiscImageThroughTheRealEncoder) {
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", ImagePath("faults.cue").c_str());
    ASSERT_TRUE(OpenCDDrive(0));
    const auto frames = TrackFrames(TOC, 0);
    ASSERT_TRUE(frames);
    EXPECT_EQ(frames->second, 173u);

    LameStream lame;
    std::string why;
    EXPECT_FALSE(LameStream().Load(&why, "Z:\\nowhere"));
    EXPECT_NE(why.find("Z:\\nowhere\\lame_enc.dll"), std::string::npos) << why;
    ASSERT_TRUE(lame.Load(&why)) << why;
    EncoderChoices choices;
    choices.variable = false;
    const BE_CONFIG config = MakeEncoderConfig(choices);

    const std::string target = Out("rip_track1.mp3"), beside = Out("rip_track1 (2).mp3");
    const std::string old(400000, 'o');
    const struct {
        const char* what;
        int cancelAfter;
        TrackEnd end;
    } runs[] = {
        {"cancelled", 2, TrackEnd::Cancelled},
        {"three failed reads", -1, TrackEnd::ReadFailed},  // the short read is tried again; 150 fails 3 times
        {"complete", -1, TrackEnd::Written},
    };
    Put(target, old);
    DeleteFileA(beside.c_str());  // an earlier run's
    const int before = FilesIn(Out(""));
    DriveSource cd;
    for (const auto& r : runs) {
        Progress progress;
        progress.cancelAfter = r.cancelAfter;
        TempTrackFile file;
        // faults.cue: frame 30 fails twice, one read over frame 100 comes
        // short, frame 150 fails three times; each fault is used up once met.
        const TrackOutcome o = RipAndEncodeTrack({target, frames->first, frames->second, "1 of 1"}, config, cd, lame,
                                                 file, progress);
        EXPECT_EQ(o.end, r.end) << r.what << " " << o.message;
        // No temporary file left; the complete track adds its own.
        EXPECT_EQ(FilesIn(Out("")), before + (r.end == TrackEnd::Written)) << r.what;
        EXPECT_EQ(Bytes(target), old) << r.what;
        if (r.end == TrackEnd::Written) EXPECT_EQ(o.written, beside);
    }
    const std::string mp3 = Bytes(beside);
    EXPECT_LT(mp3.size(), old.size());
    EXPECT_EQ(uint8_t(mp3[0]), 0xFF);
    EXPECT_EQ(CloseCDDrive(), 1);
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
}

}  // namespace
}  // namespace corvella::cdrip
