#include "libs/common/text/codec.h"

#include <gtest/gtest.h>

using corvella::cp1252_codec;

TEST(Codec, Cp1252RoundTripsEveryAssignedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) all.push_back(static_cast<char>(b));
    std::u16string wide = cp1252_codec().to_utf16(all);
    EXPECT_EQ(wide[0x80 - 1 - 0], u'\u20AC') << "0x80 is the euro sign";
    EXPECT_EQ(cp1252_codec().from_utf16(wide), all);
}

TEST(Codec, UnmappableBecomesQuestionMark) {
    EXPECT_EQ(cp1252_codec().from_utf16(u"A\u0416B\U0001F600C"), "A?B?C");
}

TEST(Codec, Utf8Conversions) {
    EXPECT_EQ(corvella::utf8_to_utf16("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"),
              u"caf\u00E9 \u20AC \U0001F600");
    EXPECT_EQ(corvella::utf16_to_utf8(u"caf\u00E9 \U0001F600"), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    // Truncated and overlong sequences never read past the text.
    EXPECT_EQ(corvella::utf8_to_utf16("a\xE2\x82"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(corvella::utf8_to_utf16("\xC0\xAF"), u"\uFFFD");
    EXPECT_EQ(corvella::utf8_to_utf16("\xFF"), u"\uFFFD");
}
