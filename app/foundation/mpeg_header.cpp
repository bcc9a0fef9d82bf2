#include "app/foundation/mpeg_header.h"

#include "libs/tags/ID3v2/core/id3v2_frames.h"

#include <algorithm>
#include <vector>

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace foundation {
namespace {

// kbit/s by index 1..14 (index 0 and 15 have no rate).
const int kV1L1[14] = {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
const int kV1L2[14] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
const int kV1L3[14] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const int kV2L1[14] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
const int kV2L23[14] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

int ParseKbps(const std::string& text) {
    if (text.empty() || text == "NA") return 0;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace

bool HasFrameSync(const uint8_t* b) { return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0; }

bool IsFrameHeader(const uint8_t* b) {
    return HasFrameSync(b) && ((b[1] >> 3) & 3) != 1 && ((b[1] >> 1) & 3) != 0 && (b[2] >> 4) != 15 &&
           ((b[2] >> 2) & 3) != 3;
}

std::string LookupBitRate(uint8_t b2, const std::string& version, const std::string& layer) {
    const int index = b2 >> 4;
    if (index == 0 || index == 15) return "NA";
    const int* table = nullptr;
    if (version == "1.0") {
        if (layer == "1") table = kV1L1;
        else if (layer == "2") table = kV1L2;
        else if (layer == "3") table = kV1L3;
    } else if (version == "2.0" || version == "2.5") {
        if (layer == "1") table = kV2L1;
        else if (layer == "2" || layer == "3") table = kV2L23;
    }
    if (!table) return "NA";
    return std::to_string(table[index - 1]);
}

int64_t EstimatePlaySeconds(uint64_t file_length, int kbps) {
    if (kbps <= 0) return 0;
    // Bits over bits a second.
    return WholeSeconds(file_length * 8, static_cast<uint64_t>(kbps) * 1000);
}

MpegHeaderFields DecodeMpegHeader(const uint8_t b[4], uint64_t file_length) {
    static const char* const kVersions[4] = {"2.5", "-1", "2.0", "1.0"};
    static const char* const kLayers[4] = {"0", "3", "2", "1"};
    static const char* const kModes[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    static const char* const kExt[4] = {"00", "01", "10", "11"};
    static const char* const kEmphasis[4] = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
    static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

    MpegHeaderFields f;
    const int version_bits = (b[1] >> 3) & 3;
    f.mpeg_version = kVersions[version_bits];
    f.layer = kLayers[(b[1] >> 1) & 3];
    f.crc_present = (b[1] & 1) == 0;
    f.bit_rate = LookupBitRate(b[2], f.mpeg_version, f.layer);

    int sample_rate = 0;
    const int rate_index = (b[2] >> 2) & 3;
    if (version_bits != 1) {  // the reserved version names no sample rate
        if (rate_index == 3) {
            f.sample_rate = "0";
        } else {
            const int row = version_bits == 3 ? 0 : version_bits == 2 ? 1 : 2;
            sample_rate = kRates[row][rate_index];
            f.sample_rate = std::to_string(sample_rate);
        }
    }
    f.padding = (b[2] >> 1) & 1;
    f.private_bit = b[2] & 1;
    f.channel_mode = kModes[b[3] >> 6];
    f.mode_extension = kExt[(b[3] >> 4) & 3];
    f.copyright = (b[3] & 0x08) != 0;
    f.original = (b[3] & 0x04) != 0;
    f.emphasis = kEmphasis[b[3] & 3];

    const int kbps = ParseKbps(f.bit_rate);
    if (kbps > 0) {
        if (sample_rate > 0) {
            const int64_t rate = static_cast<int64_t>(kbps) * 1000;
            int64_t length;
            if (f.layer == "1")  // whole 4-byte slots
                length = ((12 * rate) / sample_rate + f.padding) * 4;
            else if (f.layer == "3" && f.mpeg_version != "1.0")
                length = (72 * rate) / sample_rate + f.padding;
            else
                length = (144 * rate) / sample_rate + f.padding;
            f.frame_length = static_cast<int16_t>(length);
        }
        f.play_time = FormatMinutesSeconds(EstimatePlaySeconds(file_length, kbps));
    }
    return f;
}

// The tag library's decoder: one reading of the size for the whole program.
// Its largest result, 255 * (2^21 + 2^14 + 2^7 + 1), fits a Long.
int32_t CMP3Header::ByteToLong(const uint8_t bytes[4]) {
    return static_cast<int32_t>(id3v2::FromSyncsafe(bytes));
}

bool CMP3Header::FindFirstFrame(File& file, uint64_t file_length, uint64_t& position) {
    uint64_t start = 0;
    uint8_t head[10];
    if (file_length >= sizeof head && file.read_at(0, head, sizeof head) && head[0] == 'I' &&
        head[1] == 'D' && head[2] == '3')
        start = static_cast<uint64_t>(ByteToLong(head + 6)) + 10;

    // Chunks overlap by two bytes so a header split across two is still seen.
    constexpr size_t kChunk = 4096;
    std::vector<uint8_t> buf(kChunk);
    for (uint64_t off = start; off + 4 <= file_length;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunk, file_length - off));
        if (!file.read_at(off, buf.data(), n)) return false;
        for (size_t i = 0; i + 2 < n; ++i) {
            if (IsFrameHeader(&buf[i])) {
                if (off + i + 4 > file_length) return false;
                position = off + i;
                return true;
            }
        }
        if (n < kChunk) break;
        off += n - 2;
    }
    return false;
}

bool CMP3Header::ReadMP3Header(File& file) {
    f_ = MpegHeaderFields();
    uint64_t length = 0;
    if (!file.size(length)) return false;
    uint64_t pos = 0;
    if (!FindFirstFrame(file, length, pos)) return false;
    uint8_t b[4];
    if (!file.read_at(pos, b, sizeof b)) return false;
    f_ = DecodeMpegHeader(b, length);
    return true;
}

bool CMP3Header::ReadMP3Header(FileSystem& fs, const std::string& path) {
    f_ = MpegHeaderFields();
    std::unique_ptr<File> file = fs.open(path, false);
    if (!file) return false;
    return ReadMP3Header(*file);
}

}  // namespace foundation
}  // namespace corvella
