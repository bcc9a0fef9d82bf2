#include "app/cdrip/core/wav_header.h"

#include <cstring>

namespace corvella::cdrip {

std::array<uint8_t, 44> MakeWavHeader(uint32_t dataLength) {
    std::array<uint8_t, 44> h{};
    size_t at = 0;
    auto text = [&](const char* s) {
        std::memcpy(h.data() + at, s, 4);
        at += 4;
    };
    auto le = [&](uint32_t v, int width) {
        for (int i = 0; i < width; ++i) h[at++] = uint8_t(v >> (8 * i));
    };
    text("RIFF");
    le(dataLength + 36, 4);
    text("WAVE");
    text("fmt ");
    le(16, 4);
    le(1, 2);       // PCM
    le(2, 2);       // channels
    le(44100, 4);
    le(176400, 4);  // bytes per second
    le(4, 2);       // block align
    le(16, 2);      // bits per sample
    text("data");
    le(dataLength, 4);
    return h;
}

}  // namespace corvella::cdrip
