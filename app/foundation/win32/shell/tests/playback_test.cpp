// Real playback through MCI: a 3-second MP3 made by lame, played from a
// scratch folder whose name holds blanks.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/foundation/win32/shell/launch.h"
#include "app/foundation/win32/shell/playback_win32.h"
#include "app/foundation/win32/shell/tests/test_support.h"

namespace corvella {
namespace shell {
namespace {

using foundation::PlayOutcome;
using testing_support::DataFolder;
using testing_support::PumpUntil;

bool RunningOnWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = DataFolder();
        ASSERT_FALSE(data_.empty()) << "CORVELLA_SHELL_DATA is not set";
        tone_ = data_ + "audio\\tone.mp3";
        ASSERT_NE(GetFileAttributesA(tone_.c_str()), INVALID_FILE_ATTRIBUTES) << tone_;
        scratch_folder_ = GetTempFolder() + "corvella play " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(scratch_folder_.c_str(), nullptr);
        player_ = std::make_unique<Win32Media>(scratch_folder_);
        player_->files().SetErrorHook([this](const std::string& text) { errors_.push_back(text); });
    }
    void TearDown() override {
        if (player_) {
            EXPECT_TRUE(player_->StopAndDeleteScratch());
        }
        for (const std::string& f : cleanup_) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
        RemoveDirectoryA(scratch_folder_.c_str());
    }

    // A copy of the tone under `name` in the scratch folder's parent.
    std::string CopyOfTone(const std::string& name) {
        const std::string path = GetTempFolder() + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(CopyFileA(tone_.c_str(), path.c_str(), FALSE));
        cleanup_.push_back(path);
        return path;
    }

    foundation::clsMedia& media() { return player_->media(); }

    // True while MCI knows the alias.
    bool DeviceOpen() {
        char reply[64] = {};
        return mciSendStringA("status MP3Play mode", reply, sizeof(reply), nullptr) == 0;
    }

    std::string data_, tone_, scratch_folder_;
    std::unique_ptr<Win32Media> player_;
    std::vector<std::string> errors_;
    std::vector<std::string> cleanup_;
};

TEST_F(PlaybackTest, PlaysPausesSeeksAndStopsARealFile) {
    ASSERT_NE(scratch_folder_.find(' '), std::string::npos);
    ASSERT_EQ(media().MP3Play(tone_), PlayOutcome::Playing)
        << (errors_.empty() ? "" : errors_.front())
        << " (MPEG playback under Wine needs gstreamer1.0-plugins-base:i386, "
           "gstreamer1.0-plugins-good:i386 and an ALSA default device)";
    EXPECT_TRUE(errors_.empty());
    EXPECT_TRUE(PumpUntil([&] { return media().IsPlaying(); }, 5000));

    EXPECT_EQ(media().LenInSec(), 3);
    EXPECT_EQ(media().FileLength(), "00:03");

    // The position moves on while playing.
    ASSERT_TRUE(PumpUntil([&] { return media().PosInSec() >= 1; }, 5000)) << media().Position();
    EXPECT_TRUE(media().IsPlaying());

    media().MP3Pause();
    EXPECT_TRUE(PumpUntil([&] { return !media().IsPlaying(); }, 2000));
    const std::string paused_at = media().Position();
    Sleep(700);
    EXPECT_EQ(media().Position(), paused_at);

    // A seek while paused positions without playing. Wine's MPEGVideo
    // driver cannot seek a paused graph (it answers MCIERR_INTERNAL and
    // stays where it was), so there only the "not playing" half holds.
    media().MP3Seek(2000);
    Sleep(300);
    EXPECT_FALSE(media().IsPlaying());
    if (RunningOnWine()) {
        EXPECT_EQ(media().Position(), paused_at);
    } else {
        EXPECT_EQ(media().PosInSec(), 2);
        EXPECT_EQ(media().Position(), "00:02");
    }

    // A seek while playing plays on from there.
    ASSERT_EQ(mciSendStringA("play MP3Play", nullptr, 0, nullptr), 0u);
    ASSERT_TRUE(PumpUntil([&] { return media().IsPlaying(); }, 2000));
    media().MP3Seek(500);
    EXPECT_TRUE(media().IsPlaying());
    EXPECT_LE(media().PosInSec(), 1);

    media().MP3Stop();
    EXPECT_FALSE(media().IsPlaying());
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(PlaybackTest, ReadOnlyFileIsCopiedAndNotHeldOpen) {
    const std::string user_file = CopyOfTone("corvella read only.mp3");
    ASSERT_TRUE(SetFileAttributesA(user_file.c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_EQ(media().MP3Play(user_file), PlayOutcome::Playing);
    const DWORD scratch_attr = GetFileAttributesA(player_->ScratchPath().c_str());
    ASSERT_NE(scratch_attr, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(scratch_attr & FILE_ATTRIBUTE_READONLY, 0u);

    // Nobody else holds the user's file: it opens without sharing.
    HANDLE h = CreateFileA(user_file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);

    // The next play overwrites the copy of a read-only file.
    EXPECT_EQ(media().MP3Play(user_file), PlayOutcome::Playing);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(PlaybackTest, MissingFileStopsEarlierPlaybackSilently) {
    ASSERT_EQ(media().MP3Play(tone_), PlayOutcome::Playing);
    EXPECT_EQ(media().MP3Play(data_ + "audio\\no such file.mp3"), PlayOutcome::Missing);
    EXPECT_FALSE(DeviceOpen());
    EXPECT_FALSE(media().IsPlaying());
    EXPECT_TRUE(errors_.empty());
    // A folder or a wildcard is no file to play either.
    EXPECT_EQ(media().MP3Play(data_ + "audio"), PlayOutcome::Missing);
    EXPECT_EQ(media().MP3Play(data_ + "audio\\*.mp3"), PlayOutcome::Missing);
}

TEST_F(PlaybackTest, FailedScratchCopyIsReportedInsteadOfPlayingTheOldCopy) {
    ASSERT_EQ(media().MP3Play(tone_), PlayOutcome::Playing);
    const std::string other = CopyOfTone("corvella other.mp3");

    // Something else reads the scratch copy and lets nobody write it: the
    // new copy cannot be made.
    HANDLE lock = CreateFileA(player_->ScratchPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const PlayOutcome outcome = media().MP3Play(other);
    CloseHandle(lock);

    EXPECT_EQ(outcome, PlayOutcome::CopyFailed);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_NE(errors_[0].find(foundation::kScratchCopyFailedText), std::string::npos);
    EXPECT_NE(errors_[0].find(other), std::string::npos);
    EXPECT_FALSE(DeviceOpen());
}

TEST_F(PlaybackTest, FileMciCannotOpenShowsMciErrorText) {
    const std::string bogus = GetTempFolder() + "corvella not audio.mp3";
    HANDLE h = CreateFileA(bogus.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);  // empty: nothing any decoder accepts
    cleanup_.push_back(bogus);

    EXPECT_EQ(media().MP3Play(bogus), PlayOutcome::OpenFailed);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_FALSE(errors_[0].empty());
    EXPECT_FALSE(DeviceOpen());
}

TEST(MciPortTest, ErrorTextOfKnownAndUnknownCodes) {
    Win32MciPort port;
    std::string reply = "stale";
    const uint32_t err = port.Send("status NoSuchAlias mode", &reply);
    EXPECT_NE(err, 0u);
    EXPECT_EQ(reply, "");
    EXPECT_FALSE(port.ErrorText(err).empty());
    EXPECT_EQ(port.ErrorText(0xFFFF0000u).empty(), false);
}

}  // namespace
}  // namespace shell
}  // namespace corvella
