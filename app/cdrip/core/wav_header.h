// The 44-byte header of a PCM WAV file of CD audio (44100 Hz, 2 channels,
// 16 bits) holding `dataLength` bytes of samples.
#pragma once

#include <array>
#include <cstdint>

namespace corvella::cdrip {

std::array<uint8_t, 44> MakeWavHeader(uint32_t dataLength);

}  // namespace corvella::cdrip
