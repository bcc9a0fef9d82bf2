// The ID3v2 tag at the start of one MP3 file: read it into frames, get and
// set the twelve supported fields, write it back, or strip it.
//
// Strings crossing this interface are bytes in the system's ANSI code page.
// Frames the object does not edit are kept and written back as read, in
// their place. A 2.4 tag is written back as 2.4; anything else becomes 2.3
// (a 2.2 tag with every frame that has a 2.3 form).
//
// Where a tag ends: at its declared size when everything between its last
// frame and that size is zero padding; otherwise (a size past the end of the
// file, or bytes that are not zero in the padding) where its frames end, or
// at an MPEG frame sync that only zeros separate from them. What follows the
// tag is audio and is never changed by a write or a removal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "libs/tags/ID3v2/core/id3v2_frames.h"
#include "libs/common/storage/storage.h"

namespace corvella {
namespace id3v2 {

// Track text: only "/" and digits count; "5/12" stored, "05/12" shown.
std::string NormalizeTrack(const std::string& text);
std::string FormatTrack(const std::string& text);
// A digit string as its number, with "0" in front below 10.
std::string PadTwoDigits(const std::string& number);

// Where the tag at the start of a file ends.
struct TagLayout {
    bool present = false;  // the file begins with a tag header
    bool known = true;     // false when where the audio starts cannot be told
    uint64_t end = 0;      // first byte after the tag (and its footer): the audio
};
// How many bytes from the start of a file of file_size bytes LayoutOf and
// ParseTag need, from its first 10 bytes.
uint64_t TagBytesNeeded(const uint8_t header[10], uint64_t file_size);
// The layout from the first n bytes of a file of file_size bytes.
TagLayout LayoutOf(const uint8_t* data, size_t n, uint64_t file_size);

class CID3v2Tag {
public:
    // "" when the tag has no such frame or `frame` is outside 0..11.
    std::string GetFrameValue(int frame) const;
    // "" removes the frame. A field is one frame: a set or clear covers every
    // frame of its IDs. Comments and links, which ID3 allows several times,
    // are the one decoded frame the field reads: for links the first, for
    // comments the first without a description, else the first; the others
    // stay as read, and a cleared comment stays as an empty one while they
    // remain. A new frame takes the place of the one it replaces, else goes
    // to the end.
    void SetFrameValue(int frame, const std::string& value);

    // A missing or unreadable file empties the frames and gives false; a
    // file without a tag gives no frames and true.
    bool ReadTag(FileSystem& fs, const std::string& path);
    // Empties the frames and strips the tag; false, the file untouched, on
    // failure (a read-only file, one whose audio start cannot be told, or a
    // tag that no 0xFF byte follows: no audio). A file without a tag is left
    // as it is, with true.
    bool RemoveTag(FileSystem& fs, const std::string& path);
    // Writes the frames as the file's tag: in place when they fit the old
    // tag, else the file is replaced whole. False, the file untouched by the
    // replace, on failure (also where the audio start cannot be told, and
    // where no 0xFF byte follows the tag, or the start of a file without
    // one: no audio). The file's attributes are restored either way.
    bool WriteTag(FileSystem& fs, const std::string& path);

    // Fills the frames from the first n bytes of a file of file_size bytes
    // (n when omitted); true when they begin with a tag header. Never reads
    // outside [data, data + n).
    bool ParseTag(const uint8_t* data, size_t n, uint64_t file_size);
    bool ParseTag(const uint8_t* data, size_t n) { return ParseTag(data, n, n); }
    // Header, frames and `padding` zero bytes, as WriteTag lays them out.
    // False when the sizes do not fit the format's 28 bits.
    bool RenderTag(uint32_t padding, std::string& out) const;

    const CFrames& Frames() const { return frames_; }
    // The major version the frames are written under.
    int Version() const { return version_; }
    // Frames of the last tag read that have no form in the version written
    // (2.2 frames without a 2.3 form), by their IDs as read.
    const std::vector<std::string>& Dropped() const { return dropped_; }

private:
    bool RenderFrames(std::string& out) const;
    bool Write(FileSystem& fs, const std::string& path);
    void AddReadFrame(const std::string& id, uint16_t flags, const std::string& body, int version);
    // The field a frame ID of this tag's version holds; -1 for none.
    int FieldOf(const std::string& id) const;
    // The IDs a field is read from, the first found winning, and the one a
    // set writes; none outside 0..11.
    std::vector<std::string> IdsOf(int frame) const;
    std::string WriteIdOf(int frame) const;
    void Reset();

    CFrames frames_;
    int version_ = 3;
    std::vector<std::string> dropped_;
};

}  // namespace id3v2
}  // namespace corvella
