// The first MPEG audio frame header of an MP3 file, decoded into the texts
// the CSV export and the tag tools show (bit rate, sample rate, channel
// mode, play time ...).
//
// Portable: the file is read through corvella::File, so the reader works on
// any byte source (tests use memory buffers). Reads are bounded: only the
// ID3v2 header, then chunks up to the end of the file while looking for the
// frame sync.
#pragma once

#include <cstdint>
#include <string>

#include "libs/common/storage/storage.h"

namespace corvella {
namespace foundation {

// Everything one header tells. Texts are empty and numbers zero until a
// frame has been found; a read that finds no frame leaves them so.
struct MpegHeaderFields {
    std::string mpeg_version;    // "1.0", "2.0", "2.5", "-1" (reserved)
    std::string layer;           // "1", "2", "3", "0" (reserved)
    bool crc_present = false;    // protection bit 0
    std::string bit_rate;        // kbit/s as text, "NA" for free/bad index
    std::string sample_rate;     // Hz as text, "0" for the reserved index
    int16_t padding = 0;
    int16_t private_bit = 0;
    std::string channel_mode;    // "Stereo", "Joint Stereo", "Dual Channel", "Mono"
    std::string mode_extension;  // "00" .. "11"
    bool copyright = false;
    bool original = false;
    std::string emphasis;        // "None", "50/15 ms", "Reserved", "CCIT J.17"
    int16_t frame_length = 0;    // bytes; 0 when bit rate or sample rate is unknown
    std::string play_time;       // "mm:ss"; empty when the bit rate is unknown
};

// True when b[0..1] carry the 11 frame-sync bits.
bool HasFrameSync(const uint8_t* b);

// True when b[0..2] can start a frame: the sync bits, and a version, layer,
// bit-rate index and sample-rate index that are not reserved (free format
// is allowed). A stray 0xFF before a frame, or inside the audio of a broken
// file, fails this test.
bool IsFrameHeader(const uint8_t* b);

// Decodes the four header bytes. `file_length` is the whole file's size in
// bytes (tags included), from which the play time is estimated.
MpegHeaderFields DecodeMpegHeader(const uint8_t b[4], uint64_t file_length);

// Bit-rate text for header byte b2 under the decoded version and layer
// texts: kbit/s, or "NA" for index 0 (free format), 15, or a reserved
// version or layer.
std::string LookupBitRate(uint8_t b2, const std::string& version, const std::string& layer);

// Seconds of audio estimated from the file size at a constant bit rate
// (WholeSeconds: halves to even); 0 for a zero bit rate. The play time
// shows them as "mm:ss" (FormatMinutesSeconds).
int64_t EstimatePlaySeconds(uint64_t file_length, int kbps);

class CMP3Header {
public:
    // The four bytes at index 0..3 as an ID3v2 size: byte[i] * 2^(21 - 7i)
    // summed (bit 7 of each byte is not masked).
    static int32_t ByteToLong(const uint8_t bytes[4]);

    // Reads the header of the file and fills the fields. Every read starts
    // from empty fields. True when a frame header was found and decoded.
    bool ReadMP3Header(FileSystem& fs, const std::string& path);
    bool ReadMP3Header(File& file);

    // Offset of the first frame header (IsFrameHeader) at or after the ID3v2
    // tag, or the start of the file when there is none; false when none is
    // found.
    static bool FindFirstFrame(File& file, uint64_t file_length, uint64_t& position);

    int32_t TotalFrames() const { return 0; }  // not counted
    std::string SampleRate() const { return f_.sample_rate; }
    int16_t PrivateBit() const { return f_.private_bit; }
    std::string playTime() const { return f_.play_time; }
    int16_t Padding() const { return f_.padding; }
    bool Original() const { return f_.original; }
    std::string MPEGVersion() const { return f_.mpeg_version; }
    std::string Layer() const { return f_.layer; }
    std::string ModeExtension() const { return f_.mode_extension; }
    int16_t FrameLength() const { return f_.frame_length; }
    std::string Emphasis() const { return f_.emphasis; }
    bool CRCPresent() const { return f_.crc_present; }
    bool Copyright() const { return f_.copyright; }
    std::string ChannelMode() const { return f_.channel_mode; }
    std::string BitRate() const { return f_.bit_rate; }

    const MpegHeaderFields& Fields() const { return f_; }

private:
    MpegHeaderFields f_;
};

}  // namespace foundation
}  // namespace corvella
