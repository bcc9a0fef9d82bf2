#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/foundation/listview_sort.h"

namespace corvella {
namespace foundation {
namespace {

TEST(ColumnClick, EachColumnKeepsItsDirection) {
    // First click on column 3 while column 2 sorts: ascending, tag unchanged.
    SortClick c = OnSortColumnClick(3, 1, "");
    EXPECT_EQ(c.sort_key, 2);
    EXPECT_EQ(c.sort_order, 0);
    EXPECT_EQ(c.column_tag, "0");
    // A second click on the sort column reverses it, and again.
    c = OnSortColumnClick(3, 2, c.column_tag);
    EXPECT_EQ(c.column_tag, "-1");
    EXPECT_EQ(c.sort_order, 1);
    c = OnSortColumnClick(3, 2, c.column_tag);
    EXPECT_EQ(c.column_tag, "0");
    EXPECT_EQ(c.sort_order, 0);
    // Another column comes back in the direction it had last.
    c = OnSortColumnClick(5, 2, "-1");
    EXPECT_EQ(c.sort_key, 4);
    EXPECT_EQ(c.sort_order, 1);
    EXPECT_EQ(c.column_tag, "-1");
}

TEST(ColumnClick, CompareText) {
    std::vector<std::string> rows = {"beta", "Alpha", "alpha", "", "Beta2"};
    std::stable_sort(rows.begin(), rows.end(),
                     [](const std::string& a, const std::string& b) { return CompareSortText(a, b, false) < 0; });
    EXPECT_EQ(rows, (std::vector<std::string>{"", "Alpha", "alpha", "beta", "Beta2"}));
    EXPECT_GT(CompareSortText("a", "b", true), 0);
    EXPECT_EQ(CompareSortText("x", "x", true), 0);
}

TEST(HeaderIcons, ArrowBesideTheTextOfTheSortColumn) {
    // Columns 0..3; column 2 right-aligned.
    const std::vector<bool> right = {false, false, true, false};
    std::vector<HeaderItemFormat> items = SortHeaderFormats(right, 2, 1);
    ASSERT_EQ(items.size(), 3u);  // column 0 untouched
    EXPECT_EQ(items[0].column, 1);
    EXPECT_EQ(items[0].format, kHdfString);
    EXPECT_EQ(items[1].format, kHdfString | kHdfRight | kHdfImage);  // arrow left of right-aligned text
    EXPECT_EQ(items[1].image, 1);
    EXPECT_EQ(items[1].mask, 0x24u);

    items = SortHeaderFormats(right, 3, 0);
    EXPECT_EQ(items[2].format, kHdfString | kHdfImage | kHdfBitmapOnRight);
    EXPECT_EQ(items[2].image, 0);

    // Sort column 0: no arrow anywhere, every other column text only.
    for (const HeaderItemFormat& item : SortHeaderFormats(right, 0, 0))
        EXPECT_EQ(item.format & kHdfImage, 0);
    EXPECT_TRUE(SortHeaderFormats({}, 1, 0).empty());
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
