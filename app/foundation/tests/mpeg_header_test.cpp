#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/foundation/mpeg_header.h"

namespace corvella {
namespace foundation {
namespace {

// A byte buffer posing as a file.
class MemoryFile : public File {
public:
    explicit MemoryFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool read_at(uint64_t off, void* buf, size_t n) override {
        ++reads;
        if (off > bytes_.size() || n > bytes_.size() - off) return false;
        std::memcpy(buf, bytes_.data() + off, n);
        return true;
    }
    bool write_at(uint64_t, const void*, size_t) override { return false; }
    bool size(uint64_t& out) override {
        out = bytes_.size();
        return true;
    }
    bool truncate(uint64_t) override { return false; }
    bool flush() override { return true; }
    int reads = 0;

private:
    std::vector<uint8_t> bytes_;
};

enum Version { V25 = 0, VReserved = 1, V2 = 2, V1 = 3 };
enum Layer { LReserved = 0, L3 = 1, L2 = 2, L1 = 3 };

struct H {
    int version = V1, layer = L3, protection = 1, bitrate = 9, rate = 0, padding = 0, priv = 0;
    int mode = 0, ext = 0, copyright = 0, original = 0, emphasis = 0;
    std::vector<uint8_t> Bytes() const {
        return {0xFF, static_cast<uint8_t>(0xE0 | version << 3 | layer << 1 | protection),
                static_cast<uint8_t>(bitrate << 4 | rate << 2 | padding << 1 | priv),
                static_cast<uint8_t>(mode << 6 | ext << 4 | copyright << 3 | original << 2 | emphasis)};
    }
};

MpegHeaderFields Decode(const H& h, uint64_t length = 4) {
    const std::vector<uint8_t> b = h.Bytes();
    return DecodeMpegHeader(b.data(), length);
}

std::vector<uint8_t> Id3v2Tag(size_t body, uint8_t fill = 0) {
    std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0,
                                static_cast<uint8_t>((body >> 21) & 0x7F), static_cast<uint8_t>((body >> 14) & 0x7F),
                                static_cast<uint8_t>((body >> 7) & 0x7F), static_cast<uint8_t>(body & 0x7F)};
    tag.resize(10 + body, fill);
    return tag;
}

std::vector<uint8_t> Cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The tables of the MPEG audio standards, index 1 to 14, written out again
// here so a slip in either copy shows.
TEST(MpegBitRate, EveryIndexOfEveryTable) {
    struct Row { int version, layer; const char* rates; } rows[] = {
        {V1, L1, "32 64 96 128 160 192 224 256 288 320 352 384 416 448"},
        {V1, L2, "32 48 56 64 80 96 112 128 160 192 224 256 320 384"},
        {V1, L3, "32 40 48 56 64 80 96 112 128 160 192 224 256 320"},
        {V2, L1, "32 48 56 64 80 96 112 128 144 160 176 192 224 256"},
        {V25, L1, "32 48 56 64 80 96 112 128 144 160 176 192 224 256"},
        {V2, L2, "8 16 24 32 40 48 56 64 80 96 112 128 144 160"},
        {V2, L3, "8 16 24 32 40 48 56 64 80 96 112 128 144 160"},
        {V25, L2, "8 16 24 32 40 48 56 64 80 96 112 128 144 160"},
        {V25, L3, "8 16 24 32 40 48 56 64 80 96 112 128 144 160"},
    };
    for (const Row& row : rows) {
        std::string got;
        for (int i = 1; i <= 14; ++i) {
            H h;
            h.version = row.version;
            h.layer = row.layer;
            h.bitrate = i;
            got += (i > 1 ? " " : "") + Decode(h).bit_rate;
        }
        EXPECT_EQ(got, row.rates) << "version bits " << row.version << " layer bits " << row.layer;
    }
}

TEST(MpegBitRate, FreeBadAndReservedGiveNoRateAndNoLength) {
    H free_format;
    free_format.bitrate = 0;
    H bad;
    bad.bitrate = 15;
    H reserved_version;
    reserved_version.version = VReserved;
    H reserved_layer;
    reserved_layer.layer = LReserved;
    for (const H& h : {free_format, bad, reserved_version, reserved_layer}) {
        const MpegHeaderFields f = Decode(h, 4000000);
        EXPECT_EQ(f.bit_rate, "NA");
        EXPECT_EQ(f.frame_length, 0);
        EXPECT_EQ(f.play_time, "");
    }
    EXPECT_EQ(Decode(reserved_version).mpeg_version, "-1");
    EXPECT_EQ(Decode(reserved_version).sample_rate, "");  // the version names no rate
    EXPECT_EQ(Decode(reserved_layer).layer, "0");
}

TEST(MpegSampleRate, ByVersionAndIndex) {
    const char* expected[3][4] = {{"44100", "48000", "32000", "0"},
                                  {"22050", "24000", "16000", "0"},
                                  {"11025", "12000", "8000", "0"}};
    const int versions[3] = {V1, V2, V25};
    const char* names[3] = {"1.0", "2.0", "2.5"};
    for (int v = 0; v < 3; ++v) {
        for (int r = 0; r < 4; ++r) {
            H h;
            h.version = versions[v];
            h.rate = r;
            const MpegHeaderFields f = Decode(h);
            EXPECT_EQ(f.sample_rate, expected[v][r]);
            EXPECT_EQ(f.mpeg_version, names[v]);
        }
    }
}

TEST(MpegSampleRate, ReservedIndexStillGivesPlayTimeButNoFrameLength) {
    H h;
    h.rate = 3;
    const MpegHeaderFields f = Decode(h, 480000);
    EXPECT_EQ(f.bit_rate, "128");
    EXPECT_EQ(f.frame_length, 0);
    EXPECT_EQ(f.play_time, "00:30");
}

TEST(MpegFrameLength, LayerThreeAndTwoAndOne) {
    H h;  // MPEG-1 layer 3, 128 kbps, 44100 Hz, no padding
    EXPECT_EQ(Decode(h).frame_length, 417);
    h.rate = 1;
    h.padding = 1;
    EXPECT_EQ(Decode(h).frame_length, 385);  // 48000 Hz with padding

    H v2;
    v2.version = V2;
    v2.bitrate = 8;  // 64 kbps
    EXPECT_EQ(Decode(v2).frame_length, 208);
    H v25 = v2;
    v25.version = V25;
    v25.bitrate = 1;  // 8 kbps at 11025 Hz
    EXPECT_EQ(Decode(v25).frame_length, 52);

    H l2;
    l2.layer = L2;
    l2.bitrate = 14;  // 384 kbps at 44100 Hz
    EXPECT_EQ(Decode(l2).frame_length, 1253);
    H v2l2 = l2;
    v2l2.version = V2;
    v2l2.bitrate = 14;  // 160 kbps at 22050: 1152 samples, so 144 not 72
    EXPECT_EQ(Decode(v2l2).frame_length, 1044);

    // Layer 1 counts whole 4-byte slots: 12 * 32000 / 44100 = 8 slots.
    H l1;
    l1.layer = L1;
    l1.bitrate = 1;
    EXPECT_EQ(Decode(l1).frame_length, 32);
    l1.padding = 1;
    EXPECT_EQ(Decode(l1).frame_length, 36);
    l1.rate = 1;
    l1.padding = 0;
    l1.bitrate = 14;  // 448 kbps at 48000 Hz
    EXPECT_EQ(Decode(l1).frame_length, 448);
}

TEST(MpegHeaderBits, FlagsModesAndEmphasis) {
    H h;
    h.protection = 0;
    h.padding = 1;
    h.priv = 1;
    h.mode = 1;
    h.ext = 2;
    h.copyright = 1;
    h.original = 1;
    h.emphasis = 3;
    MpegHeaderFields f = Decode(h);
    EXPECT_TRUE(f.crc_present);
    EXPECT_EQ(f.padding, 1);
    EXPECT_EQ(f.private_bit, 1);
    EXPECT_EQ(f.channel_mode, "Joint Stereo");
    EXPECT_EQ(f.mode_extension, "10");
    EXPECT_TRUE(f.copyright);
    EXPECT_TRUE(f.original);
    EXPECT_EQ(f.emphasis, "CCIT J.17");
    EXPECT_EQ(f.layer, "3");

    H plain;
    f = Decode(plain);
    EXPECT_FALSE(f.crc_present);
    EXPECT_EQ(f.padding, 0);
    EXPECT_EQ(f.private_bit, 0);
    EXPECT_EQ(f.channel_mode, "Stereo");
    EXPECT_EQ(f.mode_extension, "00");
    EXPECT_FALSE(f.copyright);
    EXPECT_FALSE(f.original);
    EXPECT_EQ(f.emphasis, "None");

    const char* modes[4] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    const char* emphasis[4] = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
    for (int i = 0; i < 4; ++i) {
        H m;
        m.mode = i;
        m.emphasis = i;
        m.ext = i;
        EXPECT_EQ(Decode(m).channel_mode, modes[i]);
        EXPECT_EQ(Decode(m).emphasis, emphasis[i]);
    }
    H l;
    l.layer = L1;
    EXPECT_EQ(Decode(l).layer, "1");
    l.layer = L2;
    EXPECT_EQ(Decode(l).layer, "2");
}

TEST(MpegPlayTime, FromFileSizeAtTheBitRate) {
    EXPECT_EQ(Decode(H(), 4000000).play_time, "04:10");
    EXPECT_EQ(Decode(H(), 480000).play_time, "00:30");
    EXPECT_EQ(Decode(H(), 1920000).play_time, "02:00");
    // 128 kbps is 16000 bytes a second; halves go to the even second.
    EXPECT_EQ(EstimatePlaySeconds(8000, 128), 0);
    EXPECT_EQ(EstimatePlaySeconds(24000, 128), 2);
    EXPECT_EQ(EstimatePlaySeconds(40000, 128), 2);
    EXPECT_EQ(EstimatePlaySeconds(40001, 128), 3);
    EXPECT_EQ(EstimatePlaySeconds(1000, 0), 0);
    // Files over 4 GB of 8 kbps audio do not overflow.
    EXPECT_EQ(EstimatePlaySeconds(5000000000ull, 8), 5000000);
}

TEST(MpegByteToLong, SyncsafeSumWithoutMasking) {
    const uint8_t a[4] = {0, 0, 2, 1};
    EXPECT_EQ(CMP3Header::ByteToLong(a), 257);
    const uint8_t b[4] = {0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_EQ(CMP3Header::ByteToLong(b), (1 << 28) - 1);
    const uint8_t c[4] = {0, 0, 0x80, 0};  // bit 7 counts
    EXPECT_EQ(CMP3Header::ByteToLong(c), 0x80 << 7);
}

class ReadHeader : public ::testing::Test {
protected:
    bool Read(std::vector<uint8_t> bytes) {
        MemoryFile file(std::move(bytes));
        return header.ReadMP3Header(file);
    }
    CMP3Header header;
};

TEST_F(ReadHeader, FrameAtTheStart) {
    std::vector<uint8_t> bytes = H().Bytes();
    bytes.resize(480000, 0x55);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(header.MPEGVersion(), "1.0");
    EXPECT_EQ(header.Layer(), "3");
    EXPECT_EQ(header.BitRate(), "128");
    EXPECT_EQ(header.SampleRate(), "44100");
    EXPECT_EQ(header.FrameLength(), 417);
    EXPECT_EQ(header.playTime(), "00:30");
    EXPECT_EQ(header.TotalFrames(), 0);
}

TEST_F(ReadHeader, SkipsTheId3v2TagAndItsPadding) {
    // Bytes inside the tag that look like a frame must not be taken.
    std::vector<uint8_t> tag = Id3v2Tag(300);
    tag[20] = 0xFF;
    tag[21] = 0xFB;
    tag[22] = 0x10;
    H mono;
    mono.mode = 3;
    mono.bitrate = 5;  // 64 kbps
    std::vector<uint8_t> bytes = Cat(tag, mono.Bytes());
    bytes.resize(160000, 0x11);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(header.BitRate(), "64");
    EXPECT_EQ(header.ChannelMode(), "Mono");
    EXPECT_EQ(header.playTime(), "00:20");  // the whole file, tag included

    // Zero padding beyond the declared size: the first sync after it.
    std::vector<uint8_t> padded = Cat(Cat(Id3v2Tag(50), std::vector<uint8_t>(700, 0)), H().Bytes());
    ASSERT_TRUE(Read(padded));
    EXPECT_EQ(header.BitRate(), "128");
}

TEST_F(ReadHeader, AStray0xFFIsNotAFrame) {
    // The last 0xFF runs into the real header: FF FF FB would be a layer 1
    // header with bit-rate index 15.
    std::vector<uint8_t> bytes = {0x00, 0xFF, 0x00, 0xFF, 0x1F, 0xFF};
    bytes = Cat(bytes, H().Bytes());
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(header.BitRate(), "128");
    EXPECT_EQ(header.SampleRate(), "44100");
}

TEST_F(ReadHeader, SyncSplitAcrossReadChunks) {
    for (size_t at : {4093u, 4094u, 4095u, 4096u, 8189u, 8190u}) {
        std::vector<uint8_t> bytes(at, 0);
        H v2;
        v2.version = V2;
        v2.bitrate = 8;
        bytes = Cat(bytes, v2.Bytes());
        ASSERT_TRUE(Read(bytes)) << at;
        EXPECT_EQ(header.MPEGVersion(), "2.0") << at;
        EXPECT_EQ(header.SampleRate(), "22050") << at;
    }
}

TEST_F(ReadHeader, NoFrameLeavesNothingOfThePreviousFile) {
    std::vector<uint8_t> good = H().Bytes();
    good.resize(480000, 0x22);
    ASSERT_TRUE(Read(good));
    ASSERT_EQ(header.BitRate(), "128");

    const std::vector<std::vector<uint8_t>> no_frame = {
        {},                                    // empty file
        std::vector<uint8_t>(20000, 0),        // silence, no sync
        {0x12, 0xFF, 0xFB, 0x90},              // header cut short at the end
        Id3v2Tag(20),                          // a tag and nothing after it
        {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFB, 0x90, 0x00},  // tag runs past the end
    };
    for (const std::vector<uint8_t>& bytes : no_frame) {
        Read(good);
        EXPECT_FALSE(Read(bytes));
        EXPECT_EQ(header.BitRate(), "");
        EXPECT_EQ(header.playTime(), "");
        EXPECT_EQ(header.FrameLength(), 0);
        EXPECT_EQ(header.SampleRate(), "");
        EXPECT_EQ(header.MPEGVersion(), "");
        EXPECT_EQ(header.ChannelMode(), "");
        EXPECT_FALSE(header.CRCPresent());
    }
}

TEST_F(ReadHeader, ReservedValuesAreNoFrame) {
    H bad_rate;
    bad_rate.bitrate = 15;
    H bad_sample_rate;
    bad_sample_rate.rate = 3;
    H bad_version;
    bad_version.version = VReserved;
    H bad_layer;
    bad_layer.layer = LReserved;
    std::vector<uint8_t> junk;
    for (const H& h : {bad_rate, bad_sample_rate, bad_version, bad_layer}) junk = Cat(junk, h.Bytes());

    std::vector<uint8_t> good = H().Bytes();
    good.resize(480000, 0x22);
    ASSERT_TRUE(Read(good));
    EXPECT_FALSE(Read(junk));
    EXPECT_EQ(header.BitRate(), "");
    EXPECT_EQ(header.playTime(), "");

    // ... and a real frame after them is found.
    H v25;
    v25.version = V25;
    v25.bitrate = 2;
    ASSERT_TRUE(Read(Cat(junk, v25.Bytes())));
    EXPECT_EQ(header.MPEGVersion(), "2.5");
    EXPECT_EQ(header.BitRate(), "16");
}

TEST_F(ReadHeader, FreeFormatIsAFrameWithoutRateOrLength) {
    H free_format;
    free_format.bitrate = 0;
    std::vector<uint8_t> bytes = free_format.Bytes();
    bytes.resize(480000, 0x22);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(header.BitRate(), "NA");
    EXPECT_EQ(header.SampleRate(), "44100");
    EXPECT_EQ(header.FrameLength(), 0);
    EXPECT_EQ(header.playTime(), "");
}

TEST_F(ReadHeader, ReadsAreBounded) {
    // A large file whose frame is near the start is not read to its end.
    std::vector<uint8_t> bytes = Cat(Id3v2Tag(100), H().Bytes());
    bytes.resize(4 << 20, 0);
    MemoryFile file(bytes);
    ASSERT_TRUE(header.ReadMP3Header(file));
    EXPECT_LE(file.reads, 4);
}

TEST(ReadHeaderFile, MissingFileGivesEmptyFields) {
    CMP3Header header;
    EXPECT_FALSE(header.ReadMP3Header(platform_filesystem(), "/nonexistent/corvella/none.mp3"));
    EXPECT_EQ(header.BitRate(), "");
    EXPECT_EQ(header.SampleRate(), "");
    EXPECT_EQ(header.MPEGVersion(), "");
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
