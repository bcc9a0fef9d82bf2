// Tables of contents as the CD component gives them (addresses in frames),
// shared by the tests of the rules that read them.
#pragma once

#include <cstring>
#include <vector>

#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip::testing {

inline void SetStart(cdaudio::TOCTRACK& e, uint32_t frame) {
    for (int i = 0; i < 4; ++i) e.addr[i] = uint8_t(frame >> (24 - 8 * i));
}

// Tracks from `first` at `starts`, the lead-out after them; `dataTrack` is
// an index into `starts` (-1: none).
inline cdaudio::TOC MakeToc(int first, const std::vector<uint32_t>& starts, uint32_t leadOut, int dataTrack = -1) {
    cdaudio::TOC toc;
    std::memset(&toc, 0, sizeof toc);
    const size_t n = starts.size();
    toc.tocLen[1] = uint8_t(2 + 8 * (n + 1));
    toc.firstTrack = uint8_t(first);
    toc.lastTrack = uint8_t(first + n - 1);
    for (size_t k = 0; k <= n; ++k) {
        toc.tracks[k].ADR = int(k) == dataTrack ? 0x14 : 0x10;
        toc.tracks[k].trackNumber = k < n ? uint8_t(first + k) : cdaudio::kLeadOutTrack;
        SetStart(toc.tracks[k], k < n ? starts[k] : leadOut);
    }
    return toc;
}

}  // namespace corvella::cdrip::testing
