#include "app/mainwindow/core/listing.h"

#include <gtest/gtest.h>

namespace corvella::mainwindow {
namespace {

TEST(ListingTrigger, TickDuringListingStartsNothingAndAChoiceMadeMeanwhileIsListedNext) {
    ListingTrigger t;
    t.Arm();
    ASSERT_TRUE(t.Begin());
    EXPECT_FALSE(t.Armed());
    EXPECT_FALSE(t.Begin());  // a tick while the search yields
    EXPECT_FALSE(t.End());    // nothing chosen meanwhile: the timer goes off
    t.Arm();
    ASSERT_TRUE(t.Begin());
    t.Arm();                  // another folder picked while listing
    EXPECT_TRUE(t.End());     // the timer stays armed for it
    EXPECT_TRUE(t.Begin());
    EXPECT_FALSE(t.End());
}

TEST(ListingTrigger, CloseDuringListingWaitsForItsEnd) {
    ListingTrigger t;
    EXPECT_TRUE(t.RequestClose());  // nothing runs: close at once
    t.Arm();
    ASSERT_TRUE(t.Begin());
    EXPECT_FALSE(t.RequestClose());
    EXPECT_FALSE(t.TakeDueClose());
    t.Arm();
    EXPECT_FALSE(t.Begin());        // no new listing once a close is kept
    EXPECT_FALSE(t.End());          // nor a re-armed timer
    EXPECT_TRUE(t.TakeDueClose());
    EXPECT_FALSE(t.TakeDueClose());
}

TEST(ListingTexts, StatusTexts) {
    EXPECT_EQ(FilesFoundText(1), "1 Files found");
    EXPECT_EQ(FilesFoundText(40000), "40000 Files found");
    EXPECT_STREQ(kNoFilesFound, "0 Files Found");
    EXPECT_EQ(ReadingFileText(3, "a b.mp3"), "Reading File Number: 3  Filename: \"a b.mp3\"");
    EXPECT_EQ(SearchingFolderText("C:\\M\\"), "Searching Folder: C:\\M\\");
}

TEST(ListingRows, CellsPerVersion) {
    auto field = [](int i) { return "f" + std::to_string(i); };
    auto v1 = RowCells(0, true, "C:\\a.mp3", field);
    auto v2 = RowCells(1, true, "C:\\a.mp3", field);
    auto unread = RowCells(1, false, "C:\\a.mp3", field);
    auto other = RowCells(2, true, "C:\\a.mp3", field);
    ASSERT_EQ(v1.size(), 12u);
    EXPECT_EQ(v1[0], "f0"); EXPECT_EQ(v1[6], "f6"); EXPECT_EQ(v1[7], ""); EXPECT_EQ(v1[10], "");
    EXPECT_EQ(v2[7], "f7"); EXPECT_EQ(v2[8], "f9"); EXPECT_EQ(v2[10], "f11");
    for (const auto& cells : {v1, v2, unread, other}) EXPECT_EQ(cells[11], "C:\\a.mp3");
    EXPECT_EQ(unread[0], "");
    EXPECT_EQ(other[0], "");
}

TEST(Tips, LinesAndPage) {
    struct Case { std::string content; std::vector<std::string> tips; };
    const Case cases[] = {
        {"one\r\ntwo\r\nthree", {"one", "two", "three"}},
        {"one\r\n\r\n<b>bold</b>\r\n", {"one", "", "<b>bold</b>"}},
        {"unix\nmac\rend\n", {"unix", "mac", "end"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitTipLines(c.content), c.tips) << c.content;
    EXPECT_EQ(WrapTipHtml("<b>x</b>"),
              "<html><head></head><body bgcolor=\"#FFFFFF\" text=\"#494949\"><font face=\"Tahoma\" "
              "size=\"2.5\"><b>x</b></font></body></html>");
}

}  // namespace
}  // namespace corvella::mainwindow
