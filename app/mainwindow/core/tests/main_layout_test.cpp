#include "app/mainwindow/core/main_layout.h"

#include <gtest/gtest.h>

namespace corvella::mainwindow {
namespace {

TEST(MainLayout, ContainerFollowsRebarAndStatusBar) {
    struct Case { bool status; int32_t top, height; };
    for (const Case& c : {Case{true, 30 * 15 + 30, 8000 - 450 - 300}, Case{false, 480, 8000 - 450}}) {
        Box b = ContainerBox(30, 15, 11000, 8000, c.status, 300);
        EXPECT_EQ(b.left, 0);
        EXPECT_EQ(b.top, c.top);
        EXPECT_EQ(b.width, 11000);
        EXPECT_EQ(b.height, c.height) << c.status;
    }
}

TEST(MainLayout, VerticalSplitKeepsBothLimits) {
    struct Case { int32_t x, expect; };
    // 500 is below the limit; 20000 a position saved in a wider window: the
    // list keeps the limit's width beside the side bar.
    for (const Case& c : {Case{500, 2000}, Case{2000, 2000}, Case{3000, 3000},
                          Case{20000, 10000 - kSideBarOpen - 2000}}) {
        VerticalSplit s = ArrangeVertical(c.x, true, 10000, 6000, kSideBarOpen, 15);
        EXPECT_EQ(s.x, c.expect) << c.x;
        EXPECT_EQ(s.folder.width, c.expect);
        EXPECT_EQ(s.list.left, c.expect + kFolderGap);
        EXPECT_EQ(s.list.width, 10000 - kSideBarOpen - s.list.left);
        EXPECT_EQ(s.sideBar.left, 10000 - kSideBarOpen);
        EXPECT_EQ(s.folder.height, 6000 - 45);
        EXPECT_EQ(s.sideBar.height, s.folder.height);
    }
    VerticalSplit hidden = ArrangeVertical(3500, false, 10000, 6000, kSideBarClosed, 15);
    EXPECT_EQ(hidden.list.left, 0);
    EXPECT_EQ(hidden.tip.left, 0);
    EXPECT_EQ(hidden.list.width, 10000 - kSideBarClosed);
    EXPECT_EQ(hidden.sideBar.height, 6000 - 45);
}

TEST(MainLayout, HorizontalSplitClampsAndSharesHeight) {
    struct Case { int32_t y, expect; };
    for (const Case& c : {Case{100, 1500}, Case{3000, 3000}, Case{7900, 8000 - 1500}}) {
        HorizontalSplit s = ArrangeHorizontal(c.y, true, 8000, 60, 15);
        EXPECT_EQ(s.y, c.expect);
        EXPECT_EQ(s.list.height, c.expect + 30);
        EXPECT_EQ(s.tip.top, 60 + c.expect + 30);
        EXPECT_EQ(s.tip.height, 8000 - s.tip.top - 30);
    }
    HorizontalSplit hidden = ArrangeHorizontal(3000, false, 8000, 60, 15);
    EXPECT_EQ(hidden.list.top, 15);
    EXPECT_EQ(hidden.list.height, 8000 - 45);
}

TEST(MainLayout, DragBarsStopAtLimits) {
    EXPECT_EQ(DragVerticalTo(10, 12000), 2000);
    EXPECT_EQ(DragVerticalTo(5000, 12000), 5000);
    EXPECT_EQ(DragVerticalTo(11500, 12000), 10000);
    EXPECT_EQ(DragHorizontalTo(10, 6000), 1500);
    EXPECT_EQ(DragHorizontalTo(3000, 6000), 3000);
    EXPECT_EQ(DragHorizontalTo(5900, 6000), 4500);
    EXPECT_EQ(SideBarWidth(true), 4635);
    EXPECT_EQ(SideBarWidth(false), 435);
}

}  // namespace
}  // namespace corvella::mainwindow
