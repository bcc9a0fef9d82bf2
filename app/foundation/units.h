// Rounding and twips/pixel arithmetic. Twips are 1/1440 inch; the screen's
// twips per pixel follow from its pixels per inch (15 at 96).
#pragma once

#include <cstdint>

namespace corvella {

constexpr int32_t kTwipsPerInch = 1440;

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2). Values beyond the 32-bit range are clamped to it; NaN gives 0.
int32_t RoundHalfEven(double value);

// 1440 / pixelsPerInch. A screen that reports no sensible density (0 or
// less) is taken as 96 pixels per inch, so callers never divide by zero.
double TwipsPerPixel(int32_t pixelsPerInch);

// Twips divided by twips per pixel, rounded half to even. A non-positive
// twipsPerPixel is taken as 15.
int32_t TwipsToPixels(double twips, double twipsPerPixel);

// Pixels times twips per pixel, rounded half to even (non-positive
// twipsPerPixel taken as 15).
int32_t PixelsToTwips(double pixels, double twipsPerPixel);

}  // namespace corvella
