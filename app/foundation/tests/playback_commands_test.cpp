#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/foundation/playback_commands.h"

namespace corvella {
namespace foundation {
namespace {

class FakeMci : public MciPort {
public:
    uint32_t Send(const std::string& command, std::string* reply) override {
        sent.push_back(command);
        if (reply) *reply = replies[command];
        auto e = errors.find(command.substr(0, command.find(' ')));
        return e == errors.end() ? 0 : e->second;
    }
    std::string ErrorText(uint32_t code) override { return "MCI error " + std::to_string(code); }
    std::vector<std::string> sent;
    std::map<std::string, std::string> replies;
    std::map<std::string, uint32_t> errors;  // by verb
};

class FakeFiles : public PlaybackFiles {
public:
    bool Exists(const std::string& path) override { return existing.count(path) > 0; }
    bool CopyOver(const std::string& from, const std::string& to) override {
        log.push_back("copy " + from + " -> " + to);
        return copy_ok;
    }
    bool SetNormalAttributes(const std::string& path) override {
        log.push_back("normal " + path);
        return true;
    }
    std::string ShortPath(const std::string&) override { return short_path; }
    void ShowError(const std::string& text) override { shown.push_back(text); }
    std::set<std::string> existing;
    bool copy_ok = true;
    std::string short_path;  // "" : the call fails
    std::vector<std::string> log, shown;
};

using Lines = std::vector<std::string>;

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        files.existing.insert("C:\\My Music\\song.mp3");
    }
    FakeMci mci;
    FakeFiles files;
    clsMedia media{mci, files, "C:\\PROGRA~1\\Corvella\\temp.mp3"};
};

TEST_F(Playback, PlayStopsCopiesOpensAndPlays) {
    clsMedia m(mci, files, "C:\\Corvella\\temp.mp3");
    EXPECT_EQ(m.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::Playing);
    EXPECT_EQ(mci.sent, (Lines{"stop MP3Play", "close MP3Play",
                               "open C:\\Corvella\\temp.mp3 type MPEGVideo Alias MP3Play", "play MP3Play"}));
    EXPECT_EQ(files.log, (Lines{"copy C:\\My Music\\song.mp3 -> C:\\Corvella\\temp.mp3",
                                "normal C:\\Corvella\\temp.mp3"}));
    EXPECT_TRUE(files.shown.empty());
}

TEST_F(Playback, OpenUsesTheShortPath) {
    files.short_path = "C:\\PROGRA~1\\CORVEL~1\\TEMP.MP3";
    clsMedia m(mci, files, "C:\\Program Files\\Corvella Tags\\temp.mp3");
    EXPECT_EQ(m.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::Playing);
    EXPECT_EQ(mci.sent[2], "open C:\\PROGRA~1\\CORVEL~1\\TEMP.MP3 type MPEGVideo Alias MP3Play");
}

TEST_F(Playback, WithoutAShortNameTheLongPathIsQuoted) {
    clsMedia m(mci, files, "C:\\Program Files\\Corvella\\temp.mp3");
    EXPECT_EQ(m.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::Playing);
    EXPECT_EQ(mci.sent[2], "open \"C:\\Program Files\\Corvella\\temp.mp3\" type MPEGVideo Alias MP3Play");
}

TEST_F(Playback, MissingFileStopsEarlierPlaybackQuietly) {
    EXPECT_EQ(media.MP3Play("C:\\gone.mp3"), PlayOutcome::Missing);
    EXPECT_EQ(mci.sent, (Lines{"stop MP3Play", "close MP3Play"}));
    EXPECT_TRUE(files.log.empty());
    EXPECT_TRUE(files.shown.empty());
}

TEST_F(Playback, FailedScratchCopyIsReportedAndNothingPlays) {
    files.copy_ok = false;
    EXPECT_EQ(media.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::CopyFailed);
    EXPECT_EQ(mci.sent, (Lines{"stop MP3Play", "close MP3Play"}));  // the old copy is not opened
    ASSERT_EQ(files.shown.size(), 1u);
    EXPECT_NE(files.shown[0].find("C:\\My Music\\song.mp3"), std::string::npos);
}

TEST_F(Playback, MciRefusalShowsItsErrorText) {
    mci.errors["open"] = 263;
    EXPECT_EQ(media.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::OpenFailed);
    EXPECT_EQ(files.shown, (Lines{"MCI error 263"}));
    EXPECT_EQ(mci.sent.back().substr(0, 5), "open ");
    mci.errors.clear();
    mci.errors["play"] = 5;
    EXPECT_EQ(media.MP3Play("C:\\My Music\\song.mp3"), PlayOutcome::PlayFailed);
}

TEST_F(Playback, PauseStopAndStatus) {
    media.MP3Pause();
    media.MP3Stop();
    EXPECT_EQ(mci.sent, (Lines{"pause MP3Play", "stop MP3Play", "close MP3Play"}));

    mci.replies["status MP3Play mode"] = "playing";
    EXPECT_TRUE(media.IsPlaying());
    mci.replies["status MP3Play mode"] = "paused";
    EXPECT_FALSE(media.IsPlaying());
    mci.replies["status MP3Play mode"] = "Playing";
    EXPECT_FALSE(media.IsPlaying());  // case-sensitive
    mci.replies["status MP3Play mode"] = "";
    EXPECT_FALSE(media.IsPlaying());
}

TEST_F(Playback, PositionAndLength) {
    mci.replies["status MP3Play position"] = "3725400";
    mci.replies["status MP3Play length"] = "205500";
    EXPECT_EQ(media.PosInSec(), 3725);
    EXPECT_EQ(media.Position(), "62:05");
    EXPECT_EQ(media.LenInSec(), 206);  // 205.5 goes to the even 206
    EXPECT_EQ(media.FileLength(), "03:26");
    EXPECT_EQ(mci.sent[0], "set MP3Play time format milliseconds");
    EXPECT_EQ(mci.sent[1], "status MP3Play position");
    mci.replies["status MP3Play position"] = "99999999";  // beyond 16 bits of seconds
    EXPECT_EQ(media.PosInSec(), 32767);
}

TEST_F(Playback, SeekPlaysOnOrWaitsWhereItIs) {
    mci.replies["status MP3Play mode"] = "playing";
    media.MP3Seek(61000);
    EXPECT_EQ(mci.sent, (Lines{"set MP3Play time format milliseconds", "status MP3Play mode",
                               "play MP3Play from 61000"}));
    mci.sent.clear();
    mci.replies["status MP3Play mode"] = "paused";
    media.MP3Seek(0);
    EXPECT_EQ(mci.sent.back(), "seek MP3Play to 0");
}

TEST(PlaybackHelpers, Formats) {
    EXPECT_EQ(ReplyMillisecondsToSeconds("2500"), 2);
    EXPECT_EQ(ReplyMillisecondsToSeconds("3500"), 4);
    EXPECT_EQ(ReplyMillisecondsToSeconds("1499"), 1);
    EXPECT_EQ(ReplyMillisecondsToSeconds(""), 0);
    EXPECT_EQ(ReplyMillisecondsToSeconds("abc"), 0);
    EXPECT_EQ(ScratchFilePath("C:\\Prog"), "C:\\Prog\\temp.mp3");
    EXPECT_EQ(ScratchFilePath("C:\\"), "C:\\temp.mp3");
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
