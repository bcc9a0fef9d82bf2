#include "app/cdrip/core/encoding_progress.h"

#include <cmath>
#include <cstdio>

#include "libs/common/numeric/rounding.h"

namespace corvella::cdrip {
namespace {

double Share(double done, double total) { return total > 0 ? done / total * 100 : 0; }

}  // namespace

std::string EncodingCaption(double done, double total) {
    // "00.0": at least two digits before the point, one after. A format
    // rounds halves up (12.25 shows 12.3); only the bar rounds them to even.
    const int32_t tenths = int32_t(std::floor(Share(done, total) * 10 + 0.5));
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%d", int(tenths / 10), int(tenths % 10));
    return std::string("Encoding Progress ") + text + " %";
}

int32_t EncodingPercent(double done, double total) { return RoundHalfEven(Share(done, total)); }

}  // namespace corvella::cdrip
