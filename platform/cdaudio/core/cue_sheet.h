// Cue sheets as the image drives read them: FILE (BINARY or WAVE), TRACK
// (AUDIO, MODE1/2352, MODE2/2352), INDEX 00 and 01, PREGAP, and REM lines,
// of which "REM FAULT ..." makes the drive misbehave on purpose. Anything
// else a cue may hold (TITLE, PERFORMER, FLAGS, ...) is skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvella::cdaudio {

enum class CueFileType { Binary, Wave };
enum class CueTrackMode { Audio, Mode1, Mode2 };

struct CueFile {
    std::string name;  // as written, relative to the sheet's folder unless absolute
    CueFileType type;
};

struct CueTrack {
    int number = 0;
    int file = 0;               // index into CueSheet::files: the file of INDEX 01
    CueTrackMode mode = CueTrackMode::Audio;
    uint32_t pregap = 0;        // frames of silence not in the file
    int64_t index0 = -1;        // file frame of INDEX 00, -1 when absent
    int64_t index1 = -1;        // file frame of INDEX 01: where the track starts
};

struct CueFault {
    enum Kind { Read, Short, Open, Toc } kind;
    uint32_t frame = 0;  // disc frame (0 = 00:02:00)
    int times = 0;       // Read: how many reads fail
};

struct CueSheet {
    std::vector<CueFile> files;
    std::vector<CueTrack> tracks;
    std::vector<CueFault> faults;
};

// The sheet, or nothing with the reason in *why (line number included).
std::optional<CueSheet> ParseCueSheet(std::string_view text, std::string* why);

// "mm:ss:ff" as frames; nothing when malformed.
std::optional<uint32_t> ParseMsf(std::string_view text);

}  // namespace corvella::cdaudio
