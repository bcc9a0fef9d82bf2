#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "libs/tags/ID3v1/core/id3v1_tag.h"

namespace corvella {
namespace id3v1 {
namespace {

using V = FieldValue;

std::string Raw(const CID3v1Tag& tag, size_t offset, size_t length) {
    return std::string(reinterpret_cast<const char*>(tag.RawRecord().data()) + offset, length);
}

std::string Get(const CID3v1Tag& tag, int field) { return tag.GetFieldValue(field).value_or("<none>"); }

TEST(ParseNumber, AcceptsWhatAnAutomationClientCallsNumeric) {
    const struct { const char* text; double value; } cases[] = {
        {"7", 7}, {" 7 ", 7}, {"\t-3.5 ", -3.5}, {"+2", 2}, {".5", 0.5}, {"5.", 5},
        {"007", 7}, {"1e2", 100}, {"1E+2", 100}, {"25e-1", 2.5}, {"2.5D1", 25},
        {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&HFFFFFFFF", 4294967295.0},
    };
    for (const auto& c : cases) {
        double out = -99;
        EXPECT_TRUE(ParseNumber(c.text, out)) << '"' << c.text << '"';
        EXPECT_EQ(out, c.value) << '"' << c.text << '"';
    }
}

TEST(ParseNumber, RejectsEverythingElse) {
    const char* cases[] = {"", "   ", "abc", "7a", "1.2.3", "1e", "e5", ".", "+", "-.",
                           "7 8", "1-", "--1", "0x10", "&H", "&HG1", "&O8", "&H123456789",
                           "1e400"};
    for (const char* text : cases) {
        double out = -99;
        EXPECT_FALSE(ParseNumber(text, out)) << '"' << text << '"';
        EXPECT_EQ(out, -99) << "output touched for \"" << text << '"';
    }
}

TEST(Numbers, RoundHalvesToEvenAndFormatLikeTheClient) {
    const struct { double in, out; } rounds[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {147.4, 147}, {7, 7},
    };
    for (const auto& r : rounds) EXPECT_EQ(RoundHalfEven(r.in), r.out) << r.in;

    const struct { double in; const char* text; } formats[] = {
        {2005, "2005"}, {7.5, "7.5"}, {-3, "-3"}, {0.1, "0.1"}, {-0.0, "0"},
        {1e20, "1E+20"}, {1.5e-7, "1.5E-07"}, {123456789012345.0, "123456789012345"},
    };
    for (const auto& f : formats) EXPECT_EQ(FormatNumber(f.in), f.text) << f.in;
}

TEST(Fields, FreshRecordIsAllZeroAndClearedRecordIsBlank) {
    CID3v1Tag tag;
    for (uint8_t b : tag.RawRecord()) ASSERT_EQ(b, 0);
    for (int f : {Title, Artist, Album, ReleaseYear, Comment, Track}) EXPECT_EQ(Get(tag, f), "") << f;
    EXPECT_EQ(Get(tag, Genre), "Blues");  // byte 0 is a genre like any other

    tag.Clear();
    EXPECT_EQ(Raw(tag, 0, 122), std::string(122, ' '));
    EXPECT_EQ(Raw(tag, 122, 3), std::string("\0\0\xFF", 3));
    for (int f : {Title, Artist, Album, ReleaseYear, Comment, Genre, Track}) EXPECT_EQ(Get(tag, f), "") << f;
}

TEST(Fields, OutsideTheSevenNothingIsReadOrChanged) {
    CID3v1Tag tag;
    tag.SetFieldValue(Title, V::Str("x"));
    const Record before = tag.RawRecord();
    EXPECT_FALSE(tag.GetFieldValue(-1).has_value());
    EXPECT_FALSE(tag.GetFieldValue(7).has_value());
    EXPECT_TRUE(tag.SetFieldValue(7, V::Str("y")));
    EXPECT_TRUE(tag.SetFieldValue(-1, V::Nil()));
    EXPECT_EQ(tag.RawRecord(), before);
}

TEST(Fields, TextIsCutOrBlankPaddedAndReadTrimmed) {
    CID3v1Tag tag;
    tag.Clear();
    tag.SetFieldValue(Title, V::Str("abc"));
    EXPECT_EQ(Raw(tag, 0, 30), "abc" + std::string(27, ' '));
    EXPECT_EQ(Get(tag, Title), "abc");

    const std::string long_text(40, 'x');
    tag.SetFieldValue(Artist, V::Str(long_text));
    EXPECT_EQ(Get(tag, Artist), std::string(30, 'x'));
    EXPECT_EQ(Get(tag, Title), "abc") << "neighbour untouched";
    tag.SetFieldValue(Album, V::Str("  a b  "));
    EXPECT_EQ(Get(tag, Album), "a b");
    tag.SetFieldValue(ReleaseYear, V::Str("20051"));
    EXPECT_EQ(Get(tag, ReleaseYear), "2005");
    tag.SetFieldValue(ReleaseYear, V::Num(1999));
    EXPECT_EQ(Get(tag, ReleaseYear), "1999");
    tag.SetFieldValue(Comment, V::Str(long_text));
    EXPECT_EQ(Get(tag, Comment), std::string(28, 'x'));
    EXPECT_EQ(tag.RawRecord()[122], 0) << "an ID3v1.1 comment keeps its zero byte";
    tag.SetFieldValue(Title, V::Str(std::string("ab\0cd", 5)));
    EXPECT_EQ(Get(tag, Title), "ab");
}

TEST(Fields, NullCannotBecomeTextButIsNoTrack) {
    CID3v1Tag tag;
    tag.Clear();
    tag.SetFieldValue(Track, V::Num(9));
    const Record before = tag.RawRecord();
    for (int f : {Title, Artist, Album, ReleaseYear, Comment, Genre}) EXPECT_FALSE(tag.SetFieldValue(f, V::Nil())) << f;
    EXPECT_EQ(tag.RawRecord(), before);
    EXPECT_TRUE(tag.SetFieldValue(Track, V::Nil()));
    EXPECT_EQ(Get(tag, Track), "");
}

TEST(Fields, GenreFromNumberOrName) {
    const struct { V value; int byte; const char* reads; } cases[] = {
        {V::Str("rock"), 17, "Rock"}, {V::Str("Blues"), 0, "Blues"}, {V::Num(0), 0, "Blues"},
        {V::Num(126), 126, "Goa"}, {V::Num(146.6), 147, "Synth Pop"}, {V::Num(147.4), 255, ""},
        {V::Num(148), 255, ""}, {V::Num(-1), 255, ""}, {V::Num(-0.4), 255, ""},
        {V::Num(2.5), 2, "Country"}, {V::Num(3.5), 4, "Disco"}, {V::Num(NAN), 255, ""},
        {V::Str(" 17 "), 17, "Rock"}, {V::Str("&H11"), 17, "Rock"}, {V::Str("Synth Pop"), 147, "Synth Pop"},
        {V::Str("nope"), 255, ""}, {V::Str(""), 255, ""},
    };
    for (const auto& c : cases) {
        CID3v1Tag tag;
        tag.SetFieldValue(Genre, V::Num(5));
        EXPECT_TRUE(tag.SetFieldValue(Genre, c.value));
        EXPECT_EQ(tag.RawRecord()[124], c.byte) << c.value.text << c.value.number;
        EXPECT_EQ(Get(tag, Genre), c.reads) << c.value.text << c.value.number;
    }
}

TEST(Fields, TrackFromNumberOrNumericText) {
    const struct { V value; int byte; const char* reads; } cases[] = {
        {V::Str("7"), 7, "07"}, {V::Num(1), 1, "01"}, {V::Num(12), 12, "12"}, {V::Num(200), 200, "200"},
        {V::Num(2.5), 2, "02"}, {V::Num(201), 0, ""}, {V::Num(-1), 0, ""}, {V::Num(0.6), 0, ""},
        {V::Num(200.4), 0, ""}, {V::Str("abc"), 0, ""}, {V::Str(""), 0, ""},
    };
    for (const auto& c : cases) {
        CID3v1Tag tag;
        tag.Clear();
        tag.SetFieldValue(Track, V::Num(9));
        EXPECT_TRUE(tag.SetFieldValue(Track, c.value));
        EXPECT_EQ(tag.RawRecord()[123], c.byte) << c.value.text << c.value.number;
        EXPECT_EQ(tag.RawRecord()[122], 0);
        EXPECT_EQ(Get(tag, Track), c.reads) << c.value.text << c.value.number;
    }
}

// How other writers' ID3v2 tags hold the two: track "n/m", genre "(n)".
TEST(Fields, TrackOfTotalAndGenreReferenceGiveTheirNumbers) {
    const struct { int field; const char* text; int byte; } cases[] = {
        {Track, "1/12", 1}, {Track, "01/12", 1}, {Track, "12/12", 12}, {Track, " 3 /12", 3},
        {Track, "0/12", 0}, {Track, "201/300", 0}, {Track, "/12", 0}, {Track, "a/12", 0},
        {Genre, "(17)", 17}, {Genre, "(17)Rock", 17}, {Genre, "(13)(14)Live", 13}, {Genre, "(0)", 0},
        {Genre, "(147)", 147}, {Genre, "(148)", 255}, {Genre, "(17", 255}, {Genre, " (17)", 255},
        {Genre, "((17)", 255}, {Genre, "(RX)", 255},
    };
    for (const auto& c : cases) {
        CID3v1Tag tag;
        tag.Clear();
        tag.SetFieldValue(c.field, V::Num(9));
        EXPECT_TRUE(tag.SetFieldValue(c.field, V::Str(c.text)));
        EXPECT_EQ(tag.RawRecord()[c.field == Track ? 123 : 124], c.byte) << c.text;
    }
}

}  // namespace
}  // namespace id3v1
}  // namespace corvella
