#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/foundation/masks.h"

namespace corvella {
namespace foundation {
namespace {

class FakeTag : public TagFieldSource {
public:
    std::optional<std::string> FieldText(int index) override {
        if (broken) return std::nullopt;
        auto it = fields.find(index);
        if (it == fields.end()) return index >= 0 && index < field_count ? std::optional<std::string>("") : std::nullopt;
        return it->second;
    }
    bool ReadTag(const std::string& path) override {
        reads.push_back(path);
        if (read_ok) fields = on_disk;
        return read_ok;
    }
    std::map<int, std::string> fields;   // what the object holds now
    std::map<int, std::string> on_disk;  // what ReadTag loads
    bool read_ok = true;
    bool broken = false;
    int field_count = 12;
    std::vector<std::string> reads;
};

class Masks : public ::testing::Test {
protected:
    void SetUp() override {
        v1.field_count = 7;
        v1.fields = {{0, "V1 Title"}, {1, "V1 Artist"}, {6, "3"}};
        v1.on_disk = {{0, "Disk V1 Title"}, {1, "Disk V1 Artist"}};
        v2.fields = {{0, "Title"}, {1, "Artist"}, {2, "Album"}, {3, "1999"}, {4, "Note"},
                     {5, "Rock"}, {6, "7"}, {7, "Comp"}, {8, "Orig"}, {9, "(c)"}, {10, "http://x"},
                     {11, "Enc"}};
        v2.on_disk = {{0, "Disk V2 Title"}, {7, "Disk Comp"}};
    }
    MaskExpansion V1(const std::string& mask, int sync = 0, int order = 1, int total = 1) {
        return ExpandTagMask(file, 0, sync, mask, order, total, v1, v2);
    }
    MaskExpansion V2(const std::string& mask, int sync = 0, int order = 1, int total = 1) {
        return ExpandTagMask(file, 1, sync, mask, order, total, v1, v2);
    }
    std::string file = "C:\\Music\\Band\\01 - Intro.mp3";
    FakeTag v1, v2;
};

TEST_F(Masks, WithoutHashComesBackUnchanged) {
    const MaskExpansion r = V2("Plain text");
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.value, "Plain text");
    EXPECT_TRUE(V2("").ok());
    EXPECT_TRUE(v2.reads.empty());
}

TEST_F(Masks, FieldTokensOfTheShownVersion) {
    EXPECT_EQ(V2("#Title# - #Artist#").value, "Title - Artist");
    EXPECT_EQ(V2("#title# / #ARTIST#").value, "Title / Artist");  // any case
    EXPECT_EQ(V2("#Album#|#Year#|#Comments#|#Genre#|#Track#").value, "Album|1999|Note|Rock|7");
    EXPECT_EQ(V2("#Composer#|#Org. Artist#|#Copyright#|#WebLink#|#Encoded By#").value,
              "Comp|Orig|(c)|http://x|Enc");
    EXPECT_EQ(V1("#Title# (#Track#)").value, "V1 Title (3)");
    // Every occurrence is replaced; unknown "#words#" stay.
    EXPECT_EQ(V2("#Title##Title# #Nope#").value, "TitleTitle #Nope#");
}

TEST_F(Masks, Id3v1KeepsTheFramesItLacks) {
    const MaskExpansion r = V1("#Composer# by #Artist# #Encoded By#");
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.value, "#Composer# by V1 Artist #Encoded By#");
}

TEST_F(Masks, AValueHoldingItsOwnTokenIsNotExpandedAgain) {
    v2.fields[0] = "#Title#!";
    EXPECT_EQ(V2("#Title# #Title#").value, "#Title#! #Title#!");
    // Later tokens do see text inserted by earlier ones.
    v2.fields[0] = "#Artist#";
    EXPECT_EQ(V2("#Title#").value, "Artist");
}

TEST_F(Masks, InsertedTextCannotMakeTheValueGrowWithoutEnd) {
    // A piece of the name holding its own token is put in as it is, once for
    // each token of the mask.
    const struct {
        std::string file, mask, value;
    } pieces[] = {
        {"C:\\M\\x#Map#0:#.mp3", "#Map#0:# #MAP#0:# #Map#0:#", "x#Map#0:# x#Map#0:# x#Map#0:#"},
        {"C:\\M\\#Map#0:##Map#0:#.mp3", "#Map#0:# #map#0:#", "#Map#0:##Map#0:# #Map#0:##Map#0:#"},
    };
    for (const auto& c : pieces) {
        file = c.file;
        EXPECT_EQ(V2(c.mask).value, c.value) << c.file;
    }
    // Values that each hold the next field's token 64 times would multiply
    // the text at every step: past the limit the expansion fails.
    const char* const next[] = {"#Artist#", "#Album#", "#Year#", "#Comments#", "#Genre#", "#Track#",
                                "#Composer#", "#Org. Artist#", "#Copyright#", "#WebLink#", "#Encoded By#"};
    for (int i = 0; i < 11; ++i) {
        v2.fields[i].clear();
        for (int k = 0; k < 64; ++k) v2.fields[i] += next[i];
    }
    EXPECT_EQ(V2("#Title# #Title#").status, MaskStatus::Failed);
    const MaskExpansion shallow = V2("#WebLink#");  // 64 x "Enc": well within
    EXPECT_TRUE(shallow.ok());
    EXPECT_EQ(shallow.value.size(), 64u * 3);
}

TEST_F(Masks, OrderAndTotal) {
    EXPECT_EQ(V2("#Order#/#Total#", 0, 3, 12).value, "3/12");
    EXPECT_EQ(V1("Track #order# of #TOTAL#", 0, 10, 100).value, "Track 10 of 100");
}

TEST_F(Masks, SyncReadsTheOtherVersion) {
    MaskExpansion r = V1("#Sync#", 0);
    EXPECT_EQ(r.value, "Disk V2 Title");
    ASSERT_EQ(v2.reads.size(), 1u);
    EXPECT_EQ(v2.reads[0], file);
    EXPECT_EQ(V2("[#Sync#] [#sync#]", 1).value, "[Disk V1 Artist] [Disk V1 Artist]");
    EXPECT_EQ(v1.reads.size(), 1u);
}

TEST_F(Masks, SyncOfAFrameId3v1LacksEmptiesTheField) {
    const MaskExpansion r = V2("#Title# #Sync#", 8);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.value, "");
    EXPECT_TRUE(v1.reads.empty());
}

TEST_F(Masks, SyncStaysWhenTheOtherTagCannotBeRead) {
    v2.read_ok = false;
    const MaskExpansion r = V1("#Title# #Sync#", 0);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.value, "V1 Title #Sync#");
}

TEST_F(Masks, MapTakesAPieceOfTheFileName) {
    EXPECT_EQ(V2("#Map#1:-#").value, "Intro");
    EXPECT_EQ(V2("#Map#0:-#").value, "01");
    EXPECT_EQ(V2("#map#0: - #. #MAP#1: - #").value, "01. Intro");
    EXPECT_EQ(V2("#Map#1:-# (#Map#1:-#)").value, "Intro (Intro)");
    file = "D:\\a.b\\Artist_x_Song Name.MP3";
    EXPECT_EQ(V2("#Map#1:_X_#").value, "Song Name");  // folder dots do not count
}

TEST_F(Masks, MapSeparatorIgnoresCase) {
    file = "C:\\m\\ArtistXsongxTitle.mp3";
    EXPECT_EQ(V2("#Map#2:x#").value, "Title");
    EXPECT_EQ(V2("#Map#1:X#").value, "song");
}

TEST_F(Masks, MapThatDoesNotFitIsAParseErrorNotAnEmptyValue) {
    for (const char* mask : {"#Map#5:-#", "#Map#-1:-#", "#Map#1#", "x #Map#1:_#"}) {
        const MaskExpansion r = V2(mask);
        EXPECT_EQ(r.status, MaskStatus::ParseError) << mask;
        EXPECT_FALSE(r.ok()) << mask;
        EXPECT_EQ(r.value, "") << mask;
    }
    EXPECT_STREQ(kParserErrorText, "There was an error parsing the filename with the details you provided.");
    EXPECT_STREQ(kParserErrorTitle, "Parser Error");
}

TEST_F(Masks, MalformedMapFailsQuietly) {
    for (const char* mask : {"#Map#1:-", "#Map#one:-#", "#Map#:-#"}) {
        const MaskExpansion r = V2(mask);
        EXPECT_EQ(r.status, MaskStatus::Failed) << mask;
    }
}

TEST_F(Masks, FailingTagObjectFails) {
    v2.broken = true;
    EXPECT_EQ(V2("#Title#").status, MaskStatus::Failed);
    EXPECT_TRUE(V2("no tokens").ok());
    v2.broken = false;
    v1.broken = true;
    EXPECT_EQ(V2("#Sync#", 2).status, MaskStatus::Failed);
}

TEST(MaskHelpers, SeparatorGuess) {
    // One dash and one underscore: the tie goes to "-".
    EXPECT_EQ(SplitByLikelySeparator("a-b_c"), (std::vector<std::string>{"a", "b_c"}));
    // Two underscores and one dot: "_".
    EXPECT_EQ(SplitByLikelySeparator("a_b_c.d"), (std::vector<std::string>{"a", "b", "c.d"}));
    EXPECT_EQ(SplitByLikelySeparator("01 . Intro . Live"), (std::vector<std::string>{"01", "Intro", "Live"}));
    // None of the three: one piece.
    EXPECT_EQ(SplitByLikelySeparator("Just a name"), (std::vector<std::string>{"Just a name"}));
    // A separator in the last place is not counted.
    EXPECT_EQ(SplitByLikelySeparator("a.b-"), (std::vector<std::string>{"a", "b-"}));
    EXPECT_TRUE(SplitByLikelySeparator("").empty());
}

TEST(MaskHelpers, CountOccurrences) {
    EXPECT_EQ(CountOccurrences("a-b-c", "-"), 2);
    EXPECT_EQ(CountOccurrences("a-b-", "-"), 1);  // last character never starts a match
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 3);  // overlapping
    EXPECT_EQ(CountOccurrences("AbAB", "ab"), 2);
    EXPECT_EQ(CountOccurrences("", "-"), 0);
    EXPECT_EQ(CountOccurrences("abc", ""), 0);
}

TEST(MaskHelpers, TrimAndSplit) {
    std::vector<std::string> items = {"  a ", "b", "   ", ""};
    TrimArray(items);
    EXPECT_EQ(items, (std::vector<std::string>{"a", "b", "", ""}));
    EXPECT_EQ(SplitNoCase("aXbxc", "x"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitNoCase("a--", "-"), (std::vector<std::string>{"a", "", ""}));
    EXPECT_EQ(SplitNoCase("abc", ""), (std::vector<std::string>{"abc"}));
    EXPECT_TRUE(SplitNoCase("", "-").empty());
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
