#include "libs/common/text/text_primitives.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvella {
namespace {

using Parts = std::vector<std::string>;

TEST(TextPrimitives, TrimSplitAndCut) {
    const struct { std::string in, out; } trims[] = {
        {"  Rock  ", "Rock"}, {"   ", ""}, {"", ""}, {"\tTab ", "\tTab"}, {"a b", "a b"}};
    for (const auto& t : trims) EXPECT_EQ(TrimBlanks(t.in), t.out) << "[" << t.in << "]";

    EXPECT_EQ(SplitText("Title|Artist||", '|'), (Parts{"Title", "Artist", "", ""}));
    EXPECT_EQ(SplitText("a||b|", '|'), (Parts{"a", "", "b", ""}));
    EXPECT_EQ(SplitText("", '|'), Parts{""});
    EXPECT_EQ(SplitText("none", '|'), Parts{"none"});

    EXPECT_EQ(TrimAtNull(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(TrimAtNull("abc"), "abc");
    const char full[3] = {'x', 'y', 'z'};  // a buffer the call filled to the end
    EXPECT_EQ(TrimAtNull(full, sizeof full), "xyz");
    EXPECT_EQ(TrimAtNull("ab\0cd", 5), "ab");

    // Bytes above 0x7F stay: they may be half of a double-byte character.
    EXPECT_EQ(LowerAscii("MP3 \xC9T\xC9 Z@[`"), "mp3 \xC9t\xC9 z@[`");
}

// The one "mm:ss" of the program: the player's position and length and the
// MPEG header's play time.
TEST(TextPrimitives, MinutesAndSeconds) {
    const struct { int64_t seconds; const char* text; } cases[] = {
        {0, "00:00"},    {5, "00:05"},    {45, "00:45"},   {65, "01:05"},  {180, "03:00"},
        {205, "03:25"},  {250, "04:10"},  {599, "09:59"},  {750, "12:30"}, {3725, "62:05"},
        {7500, "125:00"}, {-3, "00:00"}};
    for (const auto& c : cases) EXPECT_EQ(FormatMinutesSeconds(c.seconds), c.text) << c.seconds;
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(125), "125");
    EXPECT_EQ(TwoDigits(-7), "-7");
}

// One rounding rule for whole seconds: halves to the even neighbour.
TEST(TextPrimitives, WholeSecondsRoundHalvesToEven) {
    const struct { uint64_t amount, per_second; int64_t seconds; } cases[] = {
        {1499, 1000, 1}, {1500, 1000, 2}, {2500, 1000, 2}, {2501, 1000, 3}, {3500, 1000, 4},
        {0, 1000, 0},    {999, 0, 0},
        // bits at 128 kbps: 8000 bytes are half a second, 40000 two and a half
        {8000 * 8, 128000, 0}, {40000 * 8, 128000, 2}, {40001 * 8, 128000, 3},
        // a divisor above half the range must not overflow the comparison
        {~0ull - 1, ~0ull, 1}, {~0ull / 2, ~0ull, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeSeconds(c.amount, c.per_second), c.seconds) << c.amount << " / " << c.per_second;
}

}  // namespace
}  // namespace corvella
