#include "app/cdrip/core/encoder_config.h"

#include <cstring>

namespace corvella::cdrip {
namespace {

constexpr int32_t kTrue = -1;  // the flags are 32-bit truth values
// LAME's quality presets by cboQuality's entries "Low", "Normal", "High".
constexpr int32_t kPresetByQuality[] = {1, 0, 2};

}  // namespace

BE_CONFIG MakeEncoderConfig(const EncoderChoices& c) {
    BE_CONFIG r;
    std::memset(&r, 0, sizeof r);
    r.dwConfig = kLameConfig;
    r.dwStructVersion = 1;
    r.dwStructSize = sizeof r;
    r.dwSampleRate = 44100;
    r.dwReSampleRate = 0;
    r.nMode = c.mode;
    r.dwMpegVersion = 1;
    r.dwPsyModel = 0;
    r.dwEmphasis = 0;
    if (c.variable) {
        r.dwBitrate = 64;
        r.dwMaxBitrate = 256;
        r.bWriteVBRHeader = kTrue;
        r.bEnableVBR = kTrue;
        r.nVBRQuality = c.vbrLevel;
        r.nVbrMethod = kVbrMethodNew;
    } else {
        r.dwBitrate = c.fixedKbps;
        r.nVbrMethod = kVbrMethodNone;
    }
    r.bCopyright = c.copyright ? kTrue : 0;
    r.bCRC = c.crc ? kTrue : 0;
    r.bOriginal = c.original ? kTrue : 0;
    r.bPrivate = c.isPrivate ? kTrue : 0;
    r.nPreset = c.quality >= 0 && c.quality < 3 ? kPresetByQuality[c.quality] : 0;
    return r;
}

}  // namespace corvella::cdrip
