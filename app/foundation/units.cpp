#include "app/foundation/units.h"

#include <cmath>
#include <limits>

namespace corvella {
namespace {

constexpr double kDefaultTwipsPerPixel = 15.0;  // 96 pixels per inch

double SaneTwipsPerPixel(double tpp) {
    return (tpp > 0.0 && std::isfinite(tpp)) ? tpp : kDefaultTwipsPerPixel;
}

}  // namespace

int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMin = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr double kMax = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (value <= kMin) return std::numeric_limits<int32_t>::min();
    if (value >= kMax) return std::numeric_limits<int32_t>::max();
    // Done by hand rather than with nearbyint: the FPU rounding mode can be
    // changed by other code in the process.
    double floor = std::floor(value);
    double diff = value - floor;
    double result = floor;
    if (diff > 0.5) {
        result = floor + 1.0;
    } else if (diff == 0.5) {
        if (std::fmod(floor, 2.0) != 0.0) result = floor + 1.0;
    }
    if (result >= kMax) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(result);
}

double TwipsPerPixel(int32_t pixelsPerInch) {
    if (pixelsPerInch <= 0) return kDefaultTwipsPerPixel;
    return static_cast<double>(kTwipsPerInch) / pixelsPerInch;
}

int32_t TwipsToPixels(double twips, double twipsPerPixel) {
    return RoundHalfEven(twips / SaneTwipsPerPixel(twipsPerPixel));
}

int32_t PixelsToTwips(double pixels, double twipsPerPixel) {
    return RoundHalfEven(pixels * SaneTwipsPerPixel(twipsPerPixel));
}

}  // namespace corvella
