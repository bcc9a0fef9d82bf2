// The LAME encoder's settings record (its LHV1 layout, 331 bytes packed) as
// the ripper fills it from the dialog's choices.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvella::cdrip {

#pragma pack(push, 1)
struct BE_CONFIG {
    uint32_t dwConfig;
    uint32_t dwStructVersion;
    uint32_t dwStructSize;
    uint32_t dwSampleRate;
    uint32_t dwReSampleRate;
    int32_t nMode;
    uint32_t dwBitrate;
    uint32_t dwMaxBitrate;
    int32_t nPreset;
    uint32_t dwMpegVersion;
    uint32_t dwPsyModel;
    uint32_t dwEmphasis;
    int32_t bPrivate;
    int32_t bCRC;
    int32_t bCopyright;
    int32_t bOriginal;
    int32_t bWriteVBRHeader;
    int32_t bEnableVBR;
    int32_t nVBRQuality;
    uint32_t dwVbrAbr_bps;
    int32_t nVbrMethod;
    int32_t bNoRes;
    int32_t bStrictIso;
    uint16_t nQuality;
    uint8_t btReserved[237];
};
#pragma pack(pop)

static_assert(sizeof(BE_CONFIG) == 331, "BE_CONFIG is 331 bytes");
static_assert(offsetof(BE_CONFIG, dwConfig) == 0 && offsetof(BE_CONFIG, dwStructVersion) == 4 &&
              offsetof(BE_CONFIG, dwStructSize) == 8 && offsetof(BE_CONFIG, dwSampleRate) == 12 &&
              offsetof(BE_CONFIG, dwReSampleRate) == 16 && offsetof(BE_CONFIG, nMode) == 20 &&
              offsetof(BE_CONFIG, dwBitrate) == 24 && offsetof(BE_CONFIG, dwMaxBitrate) == 28 &&
              offsetof(BE_CONFIG, nPreset) == 32 && offsetof(BE_CONFIG, dwMpegVersion) == 36 &&
              offsetof(BE_CONFIG, dwPsyModel) == 40 && offsetof(BE_CONFIG, dwEmphasis) == 44 &&
              offsetof(BE_CONFIG, bPrivate) == 48 && offsetof(BE_CONFIG, bCRC) == 52 &&
              offsetof(BE_CONFIG, bCopyright) == 56 && offsetof(BE_CONFIG, bOriginal) == 60 &&
              offsetof(BE_CONFIG, bWriteVBRHeader) == 64 && offsetof(BE_CONFIG, bEnableVBR) == 68 &&
              offsetof(BE_CONFIG, nVBRQuality) == 72 && offsetof(BE_CONFIG, dwVbrAbr_bps) == 76 &&
              offsetof(BE_CONFIG, nVbrMethod) == 80 && offsetof(BE_CONFIG, bNoRes) == 84 &&
              offsetof(BE_CONFIG, bStrictIso) == 88 && offsetof(BE_CONFIG, nQuality) == 92 &&
              offsetof(BE_CONFIG, btReserved) == 94,
              "BE_CONFIG offsets");

constexpr uint32_t kLameConfig = 256;  // BE_CONFIG_LAME
constexpr int32_t kVbrMethodNone = -1;
constexpr int32_t kVbrMethodNew = 2;

// What the ripper dialog's "Encoding" tab says.
struct EncoderChoices {
    bool variable = true;   // "Variable" rather than "Fixed"
    int vbrLevel = 4;       // cboBR(0): "VBR 0 (Best Quality)" .. "VBR 9 (Worst Quality)"
    uint32_t fixedKbps = 128;  // cboBR(1)'s number
    int quality = 1;        // cboQuality: 0 "Low", 1 "Normal", 2 "High", -1 none
    int32_t mode = 0;       // Combo1's item data: 0 stereo, 1 joint, 2 dual, 3 mono
    bool copyright = false, crc = false, original = false, isPrivate = false;
};

// The record, zero-filled and then set field by field. "Variable" is real
// VBR: the new VBR method at the chosen level (method -1 would turn VBR off
// and leave a 64 kbps stream resampled to 24 kHz).
BE_CONFIG MakeEncoderConfig(const EncoderChoices& choices);

}  // namespace corvella::cdrip
