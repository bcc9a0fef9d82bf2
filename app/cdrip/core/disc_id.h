// The freedb disc id of a table of contents and the text of its query.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

struct FreedbDisc {
    uint32_t id = 0;
    std::string hex;    // 8 lower-case hex digits
    std::string query;  // id, track count, each offset, disc length in seconds
};

// From a TOC with frame-number addresses (0 = 00:02:00). Every track counts,
// data tracks too; offsets are frame + 150. Nothing for a TOC without tracks
// or with an address that does not fit.
std::optional<FreedbDisc> FreedbDiscId(const cdaudio::TOC& toc);

}  // namespace corvella::cdrip
