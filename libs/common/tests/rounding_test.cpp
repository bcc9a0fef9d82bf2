#include "libs/common/numeric/rounding.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvella {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-7.6), -8);
    EXPECT_EQ(RoundHalfEven(1e12), 2147483647);
    EXPECT_EQ(RoundHalfEven(-1e12), -2147483647 - 1);
    EXPECT_EQ(RoundHalfEven(2147483647.4), 2147483647);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

}  // namespace
}  // namespace corvella
