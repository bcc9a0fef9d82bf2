// The one conversion between twips (1/1440 inch) and pixels, with one
// rounding rule: halves go to the even neighbour. Portable: the forms'
// Screen object feeds it the screen's density.
#pragma once

#include <cstdint>

namespace corvella::forms {

constexpr int32_t kTwipsPerInch = 1440;

// 1440 / pixelsPerInch. A screen that reports no sensible density (0 or
// less) is taken as 96 pixels per inch, so callers never divide by zero.
double TwipsPerPixel(int32_t pixelsPerInch);

// Twips divided by twips per pixel, rounded half to even. A non-positive
// twipsPerPixel is taken as 15.
int32_t TwipsToPixels(double twips, double twipsPerPixel);

// Pixels times twips per pixel, rounded half to even (non-positive
// twipsPerPixel taken as 15).
int32_t PixelsToTwips(double pixels, double twipsPerPixel);

}  // namespace corvella::forms
