#include "app/foundation/win32/listview/column_sort.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/listview/tests/list_window.h"

namespace corvella {
namespace foundation {
namespace {

using testing::ListWindow;
using testing::MakeImages;

// Columns of the test list: 0 check box, 1 Title (left), 2 Year (right), 3 Path (left).
class ColumnSortTest : public ::testing::Test {
protected:
    void SetUp() override { arrows_ = MakeImages(4); }
    void TearDown() override { ImageList_Destroy(arrows_); }
    HIMAGELIST arrows_ = nullptr;
};

TEST_F(ColumnSortTest, ArrowStandsOnTheFarSideOfTheText) {
    ListWindow w(3);
    EnhListView_SetHeaderImage(w.list(), 0, 2, true);
    CColumnSort sort;
    ASSERT_TRUE(sort.InitializeListView(w.list(), arrows_));
    EXPECT_NE(sort.image_list(), arrows_);

    // Left-aligned column 1, ascending: arrow right of the text.
    sort.SetHeaderIcons(1, 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(w.header(), HDM_GETIMAGELIST, 0, 0)), sort.image_list());
    EXPECT_EQ(w.HeaderItem(1).fmt, HDF_STRING | HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    EXPECT_EQ(w.HeaderItem(1).iImage, 0);
    EXPECT_EQ(w.HeaderItem(2).fmt, HDF_STRING | HDF_RIGHT);
    EXPECT_EQ(w.HeaderItem(3).fmt, HDF_STRING);

    // Right-aligned column 2, descending: arrow left of the text.
    sort.SetHeaderIcons(2, 1);
    EXPECT_EQ(w.HeaderItem(2).fmt, HDF_STRING | HDF_RIGHT | HDF_IMAGE);
    EXPECT_EQ(w.HeaderItem(2).iImage, 1);
    EXPECT_EQ(w.HeaderItem(1).fmt, HDF_STRING);

    // Sort column 0: no arrow anywhere; the check-box column keeps its image.
    sort.SetHeaderIcons(0, 0);
    EXPECT_EQ(w.HeaderItem(1).fmt, HDF_STRING);
    EXPECT_EQ(w.HeaderItem(2).fmt, HDF_STRING | HDF_RIGHT);
    EXPECT_EQ(w.HeaderItem(3).fmt, HDF_STRING);
    EXPECT_EQ(w.HeaderItem(0).fmt, HDF_IMAGE);
    EXPECT_EQ(w.HeaderItem(0).iImage, 2);

    // The header text survives the format changes.
    char text[32] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(w.header(), HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Year");
}

TEST_F(ColumnSortTest, NothingChangesWithoutItsPreconditions) {
    ListWindow w(1);
    CColumnSort idle;
    idle.SetHeaderIcons(1, 0);  // before InitializeListView
    EXPECT_EQ(w.HeaderItem(1).fmt & HDF_IMAGE, 0);

    ListWindow icons(1, LVS_ICON);
    CColumnSort sort;
    ASSERT_TRUE(sort.InitializeListView(icons.list(), arrows_));
    sort.SetHeaderIcons(1, 0);  // not in report view
    EXPECT_EQ(icons.HeaderItem(1).fmt & HDF_IMAGE, 0);
    EXPECT_EQ(SendMessageA(icons.header(), HDM_GETIMAGELIST, 0, 0), 0);

    CColumnSort none;
    EXPECT_FALSE(none.InitializeListView(w.list(), nullptr));
    none.SetHeaderIcons(1, 0);
    EXPECT_EQ(w.HeaderItem(1).fmt & HDF_IMAGE, 0);
}

TEST_F(ColumnSortTest, ArrowImagesAreFreedOnceAndAfterTheirLastUse) {
    ListWindow w(1);
    {
        CColumnSort sort;
        ASSERT_TRUE(sort.InitializeListView(w.list(), arrows_));
        sort.SetHeaderIcons(3, 1);
        // A second start drops the first copy from the header as well.
        ASSERT_TRUE(sort.InitializeListView(w.list(), arrows_));
        EXPECT_EQ(SendMessageA(w.header(), HDM_GETIMAGELIST, 0, 0), 0);
        sort.SetHeaderIcons(3, 1);
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(w.header(), HDM_GETIMAGELIST, 0, 0)), sort.image_list());
    }
    // The header no longer points at the freed copy, and the caller's
    // images are intact.
    EXPECT_EQ(SendMessageA(w.header(), HDM_GETIMAGELIST, 0, 0), 0);
    EXPECT_EQ(ImageList_GetImageCount(arrows_), 4);
    UpdateWindow(w.list());

    // A list view destroyed first leaves the sorter to free its copy alone.
    auto gone = std::make_unique<ListWindow>(1);
    auto sort = std::make_unique<CColumnSort>();
    ASSERT_TRUE(sort->InitializeListView(gone->list(), arrows_));
    sort->SetHeaderIcons(1, 0);
    gone.reset();
    sort->SetHeaderIcons(1, 1);
    sort.reset();
    EXPECT_EQ(ImageList_GetImageCount(arrows_), 4);
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
