#include "app/cdrip/core/disc_id.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "app/cdrip/core/cd_toc.h"

namespace corvella::cdrip {
namespace {

uint32_t DigitSum(uint32_t n) {
    uint32_t s = 0;
    for (; n > 0; n /= 10) s += n % 10;
    return s;
}

}  // namespace

std::optional<FreedbDisc> FreedbDiscId(const cdaudio::TOC& toc) {
    const size_t count = size_t(TocTrackCount(toc));
    if (count == 0 || count > 99) return std::nullopt;
    std::vector<uint32_t> offsets;  // the tracks, then the lead-out
    try {
        for (size_t k = 0; k <= count; ++k) {
            const int32_t frame = TocAddress(toc.tracks[k].addr);
            offsets.push_back(uint32_t(frame) + 150);
        }
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
    const uint32_t leadOut = offsets.back();
    if (leadOut < offsets.front()) return std::nullopt;
    uint32_t sum = 0;
    for (size_t k = 0; k < count; ++k) sum += DigitSum(offsets[k] / 75);
    FreedbDisc disc;
    disc.id = (sum % 255) << 24 | (leadOut / 75 - offsets.front() / 75) << 8 | uint32_t(count);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", unsigned(disc.id));
    disc.hex = hex;
    disc.query = disc.hex + " " + std::to_string(count);
    for (size_t k = 0; k < count; ++k) disc.query += " " + std::to_string(offsets[k]);
    disc.query += " " + std::to_string(leadOut / 75);
    return disc;
}

}  // namespace corvella::cdrip
