#include "platform/forms/twips.h"

#include <cmath>

#include "libs/common/numeric/rounding.h"

namespace corvella::forms {
namespace {

constexpr double kDefaultTwipsPerPixel = 15.0;  // 96 pixels per inch

double SaneTwipsPerPixel(double tpp) {
    return (tpp > 0.0 && std::isfinite(tpp)) ? tpp : kDefaultTwipsPerPixel;
}

}  // namespace

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

}  // namespace corvella::forms
