// MP3 playback through MCI command strings: one device under the alias
// "MP3Play", fed a scratch copy of the user's file so playback never holds
// the user's file open.
//
// Portable: the MCI calls and the file operations go through MciPort and
// PlaybackFiles, which the Win32 shell backs with mciSendStringA /
// mciGetErrorStringA and kernel32; the command strings, the order of the
// steps and the decisions live here.
#pragma once

#include <cstdint>
#include <string>

namespace corvella {
namespace foundation {

class MciPort {
public:
    virtual ~MciPort() = default;
    // Sends one command string; 0 on success, else the MCI error code. A
    // non-null `reply` receives the answer (status commands only; the shell
    // reads it into a 30-character buffer, cut at the first NUL).
    virtual uint32_t Send(const std::string& command, std::string* reply) = 0;
    // The text MCI gives for an error code.
    virtual std::string ErrorText(uint32_t code) = 0;
};

class PlaybackFiles {
public:
    virtual ~PlaybackFiles() = default;
    // True when a directory listing of `path` finds it.
    virtual bool Exists(const std::string& path) = 0;
    // Copies `from` over `to` (CopyFileA, overwriting); false when the copy
    // could not be made.
    virtual bool CopyOver(const std::string& from, const std::string& to) = 0;
    // FILE_ATTRIBUTE_NORMAL, so a copy of a read-only file can be
    // overwritten by the next play.
    virtual bool SetNormalAttributes(const std::string& path) = 0;
    // The short (8.3) form of `path`; "" when the call fails.
    virtual std::string ShortPath(const std::string& path) = 0;
    // Shows an error box with the critical icon and the program's title.
    virtual void ShowError(const std::string& text) = 0;
};

// What MP3Play did.
enum class PlayOutcome {
    Playing,     // the copy is open and playing
    Missing,     // the file does not exist: nothing plays, no message
    CopyFailed,  // the scratch copy could not be made: nothing plays, the user is told
    OpenFailed,  // MCI refused the file: its error text was shown
    PlayFailed,  // MCI opened the file but refused to play it
};

// Shown when the scratch copy cannot be made, followed by the file's path.
inline const char kScratchCopyFailedText[] = "The file could not be copied for playback:";

inline const char kMciAlias[] = "MP3Play";

// "temp.mp3" in the program folder (with or without a trailing "\").
std::string ScratchFilePath(const std::string& program_folder);

// "open <path> type MPEGVideo Alias MP3Play"; a path with blanks is quoted.
std::string OpenCommand(const std::string& path);

// A decimal reply in milliseconds as whole seconds (WholeSeconds: halves to
// even); 0 for a reply that is not a number. Shown as "mm:ss" by
// FormatMinutesSeconds.
int64_t ReplyMillisecondsToSeconds(const std::string& reply);

class clsMedia {
public:
    clsMedia(MciPort& mci, PlaybackFiles& files, std::string scratch_path);

    PlayOutcome MP3Play(const std::string& file_name);
    void MP3Pause();
    void MP3Stop();
    bool IsPlaying();
    int16_t PosInSec();
    std::string Position();
    int32_t LenInSec();
    std::string FileLength();
    void MP3Seek(int32_t position_ms);

    const std::string& ScratchPath() const { return scratch_; }

private:
    int64_t StatusSeconds(const char* item);

    MciPort& mci_;
    PlaybackFiles& files_;
    std::string scratch_;
};

}  // namespace foundation
}  // namespace corvella
