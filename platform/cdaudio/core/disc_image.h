// A disc image as a drive: a cue sheet with its files, or a folder of WAV
// files (44.1 kHz, 16-bit, stereo; a track each, in name order). The image
// lays its tracks out as a pressed disc would (frame 0 = 00:02:00), gives
// the table of contents and reads audio frames, with the faults its cue
// sheet asks for.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cdaudio/cdaudio.h"
#include "platform/cdaudio/core/cue_sheet.h"

namespace corvella::cdaudio {

// Where a file's audio lies: bytes [offset, offset + bytes).
struct AudioSpan {
    uint64_t offset = 0;
    uint64_t bytes = 0;
    uint32_t Frames() const { return uint32_t((bytes + kFrameBytes - 1) / kFrameBytes); }
};

// Reads `n` bytes at `at` of a file; false when it cannot.
using ReadAt = std::function<bool(uint64_t at, size_t n, uint8_t* out)>;

// The audio of a RIFF WAV file of `size` bytes, which must be PCM, 44100 Hz,
// 2 channels, 16 bits; nothing otherwise. A data chunk longer than the file
// is cut to the file.
std::optional<AudioSpan> ParseWavHeader(const ReadAt& read, uint64_t size);

// What the image reads its files through.
struct ImageFiles {
    virtual ~ImageFiles() = default;
    // Size of a file, nothing when it cannot be opened.
    virtual std::optional<uint64_t> Size(const std::string& path) = 0;
    virtual bool Read(const std::string& path, uint64_t at, size_t n, uint8_t* out) = 0;
    // The full paths of the files in a folder; nothing when it is no folder.
    virtual std::optional<std::vector<std::string>> List(const std::string& folder) = 0;
};

// A stretch of the disc: `frames` frames from disc frame `start`, taken from
// file `file` at its frame `fileFrame`, or silence when file is -1.
struct Segment {
    uint32_t start = 0;
    uint32_t frames = 0;
    int file = -1;
    uint32_t fileFrame = 0;
};

struct LaidTrack {
    uint8_t number = 0;
    bool data = false;
    uint32_t start = 0;  // disc frame of INDEX 01
};

struct DiscLayout {
    std::vector<LaidTrack> tracks;
    std::vector<Segment> segments;  // in disc order, without gaps
    uint32_t leadOut = 0;
};

// Lays a sheet out over files of these frame counts; nothing (with *why) when
// the indexes do not fit the files or the disc passes 99 tracks.
std::optional<DiscLayout> LayOut(const CueSheet& sheet, const std::vector<uint32_t>& fileFrames,
                                 std::string* why);

// The table of contents of a layout: tracks, then the lead-out (0xAA); frame
// numbers, or 0:M:S:F of frame + 150 when msf.
void FillToc(const DiscLayout& layout, bool msf, TOC* toc);

class DiscImage {
public:
    // Opens a cue sheet (a path ending in ".cue") or a WAV folder.
    static std::unique_ptr<DiscImage> Open(const std::string& path, ImageFiles& files,
                                           std::string* why);

    const std::string& Name() const { return name_; }
    const DiscLayout& Layout() const { return layout_; }
    bool FailsOpen() const;
    bool FailsToc() const;

    // Reads `count` frames from disc frame `start` into out (room for
    // count * 2352 bytes). Returns 0 or an error code; *got is the frames
    // delivered. Data tracks and frames past the lead-out fail as on a drive.
    int Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got);

private:
    struct Source {
        std::string path;
        AudioSpan span;
    };
    DiscImage(ImageFiles& files) : files_(files) {}

    ImageFiles& files_;
    std::string name_;
    std::vector<Source> sources_;
    DiscLayout layout_;
    std::vector<CueFault> faults_;
};

}  // namespace corvella::cdaudio
