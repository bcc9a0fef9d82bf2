// The settings record byte by byte against the published layout, written
// here from its offsets alone, for every choice the dialog offers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/cdrip/core/encoder_config.h"

namespace corvella::cdrip {
namespace {

struct Expected {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(331, 0);
    void Put(size_t at, int64_t v, int width = 4) {
        for (int i = 0; i < width; ++i) bytes[at + size_t(i)] = uint8_t(uint64_t(v) >> (8 * i));
    }
};

Expected Want(const EncoderChoices& c) {
    Expected e;
    e.Put(0, 256);
    e.Put(4, 1);
    e.Put(8, 331);
    e.Put(12, 44100);
    e.Put(20, c.mode);
    e.Put(24, c.variable ? 64 : c.fixedKbps);
    e.Put(28, c.variable ? 256 : 0);
    e.Put(32, c.quality == 0 ? 1 : c.quality == 2 ? 2 : 0);
    e.Put(36, 1);
    e.Put(48, c.isPrivate ? -1 : 0);
    e.Put(52, c.crc ? -1 : 0);
    e.Put(56, c.copyright ? -1 : 0);
    e.Put(60, c.original ? -1 : 0);
    e.Put(64, c.variable ? -1 : 0);
    e.Put(68, c.variable ? -1 : 0);
    e.Put(72, c.variable ? c.vbrLevel : 0);
    e.Put(80, c.variable ? 2 : -1);  // real VBR, or none
    return e;
}

void Check(const EncoderChoices& c) {
    const BE_CONFIG r = MakeEncoderConfig(c);
    const uint8_t* got = reinterpret_cast<const uint8_t*>(&r);
    const Expected e = Want(c);
    for (size_t i = 0; i < 331; ++i)
        ASSERT_EQ(got[i], e.bytes[i]) << "byte " << i << " variable " << c.variable << " level " << c.vbrLevel
                                      << " kbps " << c.fixedKbps << " quality " << c.quality << " mode " << c.mode;
}

TEST(EncoderConfig, EveryModeRateQualityAndFlagByteByByte) {
    const uint32_t fixed[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    for (int32_t mode : {3, 0, 1, 2})
        for (int quality : {0, 1, 2, -1}) {
            for (uint32_t kbps : fixed) {
                EncoderChoices c;
                c.variable = false;
                c.fixedKbps = kbps;
                c.mode = mode;
                c.quality = quality;
                Check(c);
            }
            for (int level = 0; level <= 9; ++level) {
                EncoderChoices c;
                c.variable = true;
                c.vbrLevel = level;
                c.fixedKbps = 320;  // not read in this mode
                c.mode = mode;
                c.quality = quality;
                Check(c);
            }
        }
    for (int flags = 0; flags < 16; ++flags)
        for (bool variable : {false, true}) {
            EncoderChoices c;
            c.variable = variable;
            c.copyright = flags & 1;
            c.crc = flags & 2;
            c.original = flags & 4;
            c.isPrivate = flags & 8;
            Check(c);
        }
}

}  // namespace
}  // namespace corvella::cdrip

#include "app/cdrip/core/wav_header.h"

namespace corvella::cdrip {
namespace {

TEST(WavHeader, CdAudioLayout) {
    for (uint32_t length : {0u, 2352u, 0xFFFFFFFFu - 36}) {
        const auto h = MakeWavHeader(length);
        Expected e;
        e.bytes.resize(44);
        std::memcpy(&e.bytes[0], "RIFF", 4);
        e.Put(4, int64_t(length) + 36);
        std::memcpy(&e.bytes[8], "WAVEfmt ", 8);
        e.Put(16, 16);
        e.Put(20, 1, 2);
        e.Put(22, 2, 2);
        e.Put(24, 44100);
        e.Put(28, 176400);
        e.Put(32, 4, 2);
        e.Put(34, 16, 2);
        std::memcpy(&e.bytes[36], "data", 4);
        e.Put(40, length);
        EXPECT_EQ(std::vector<uint8_t>(h.begin(), h.end()), e.bytes) << length;
    }
}

}  // namespace
}  // namespace corvella::cdrip
