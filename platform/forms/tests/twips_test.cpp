// The one twips/pixel conversion, natively.
#include "platform/forms/twips.h"

#include <gtest/gtest.h>

namespace corvella::forms {
namespace {

TEST(Twips, PerPixelAndConversions) {
    EXPECT_DOUBLE_EQ(TwipsPerPixel(96), 15.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixel(120), 12.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);
    EXPECT_DOUBLE_EQ(TwipsPerPixel(-96), 15.0);

    EXPECT_EQ(TwipsToPixels(1440, 15), 96);
    EXPECT_EQ(TwipsToPixels(337.5, 15), 22) << "22.5 pixels";
    EXPECT_EQ(TwipsToPixels(352.5, 15), 24) << "23.5 pixels";
    EXPECT_EQ(TwipsToPixels(100, TwipsPerPixel(120)), 8);
    EXPECT_EQ(TwipsToPixels(150, 0), 10) << "no division by zero";
    EXPECT_EQ(PixelsToTwips(96, 15), 1440);
    EXPECT_EQ(PixelsToTwips(10, TwipsPerPixel(144)), 100);
    EXPECT_EQ(PixelsToTwips(1, 0), 15);
}

}  // namespace
}  // namespace corvella::forms
