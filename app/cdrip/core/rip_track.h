// One track of a rip: read from the CD in blocks of 26 frames, encode frame
// by frame, write to a fresh temporary file that takes the target's name (or
// a free one beside it) only once complete. Portable: the drive, the
// encoder, the file and the progress window are reached through the
// interfaces below.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/cdrip/core/encoder_config.h"
#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

constexpr uint32_t kBlockFrames = 26;
constexpr uint32_t kFrameSamples = 1176;  // 16-bit values of one CD frame, both channels
constexpr int kReadTries = 3;
// Frames between the end of a disc's audio session and the data track of
// the second one (lead-out, lead-in and pregap of the new session).
constexpr uint32_t kSessionGap = 11400;

// The drive: reads `count` frames from `start` into `audio`; true when the
// read succeeded, with *bytes the audio delivered.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual bool Read(uint32_t start, uint32_t count, uint8_t* audio, uint32_t* bytes) = 0;
    virtual std::string ErrorText() = 0;  // why the last read failed
};

// The encoder's stream calls; results are the encoder's codes (0 = done).
class EncoderStream {
public:
    virtual ~EncoderStream() = default;
    virtual int Init(BE_CONFIG* config, uint32_t* bufferSize) = 0;
    virtual int Encode(uint32_t samples, int16_t* pcm, uint8_t* out, uint32_t* produced) = 0;
    virtual int Deinit(uint8_t* out, uint32_t* produced) = 0;
    virtual int Close() = 0;
    // Writes the VBR header into the closed file and lets the stream go; a
    // path that cannot be opened only lets it go.
    virtual int WriteVbrHeader(const std::string& path) = 0;
};

// The track's output: a temporary file beside the target.
class TrackFile {
public:
    virtual ~TrackFile() = default;
    virtual bool Create(const std::string& target, std::string* why) = 0;
    virtual bool Write(const uint8_t* bytes, uint32_t count) = 0;
    virtual bool Flush() = 0;
    virtual bool Close() = 0;
    virtual const std::string& TempPath() const = 0;
    // Gives the closed temporary file the target's name or, when another
    // file has that name, the first free one beside it ("01 (2).mp3"); never
    // replaces a file. *placed gets the path the file now has.
    virtual bool Place(std::string* placed, std::string* why) = 0;
    // Closes and deletes the temporary file; the target stays as it was.
    virtual void Discard() = 0;
    // Why the last write, flush or close failed ("" when unknown).
    virtual std::string WriteError() const { return ""; }
};

// The progress window as the run sees it.
class RipProgress {
public:
    virtual ~RipProgress() = default;
    virtual bool Visible() = 0;  // false once the user has cancelled
    virtual void Update(const std::string& fileName, double done, double total, const std::string& status) = 0;
    virtual void DoEvents() = 0;
};

enum class TrackEnd { Written, ReadFailed, Cancelled, Failed };

struct TrackOutcome {
    TrackEnd end = TrackEnd::Written;
    std::string message;  // ReadFailed: the drive's reason; Failed: the error
    std::string written;  // Written: the file's path, the target's or a free one beside it
};

struct TrackJob {
    std::string target;    // the MP3 file's full path
    uint32_t start = 0;    // first frame
    uint32_t end = 0;      // end frame, exclusive
    std::string status;    // "k of n"
};

TrackOutcome RipAndEncodeTrack(const TrackJob& job, const BE_CONFIG& config, AudioSource& cd,
                               EncoderStream& encoder, TrackFile& file, RipProgress& progress);

// The encoder's result codes as text ("" for an unknown code).
std::string LameErrorText(int code);

// The frames of list row `row` (0-based; TOC entry row is the track): from
// its entry to the next, for audio tracks of the disc only. A track before
// a data track that opens a second session ends kSessionGap frames before
// it (when it is longer than that gap). Nothing for a row beyond the disc,
// a data track or an empty range.
std::optional<std::pair<uint32_t, uint32_t>> TrackFrames(const cdaudio::TOC& toc, int row);

// One CD frame as mono: (L + R) / 2 for each of the 588 pairs, in place.
void DownmixFrame(int16_t* pcm);

}  // namespace corvella::cdrip
