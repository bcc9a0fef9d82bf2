#include "app/foundation/win32/listview/mod_list_view.h"
#include "platform/forms/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/foundation/win32/listview/tests/list_window.h"

namespace corvella {
namespace foundation {
namespace {

using testing::ListWindow;
using testing::MakeImages;

struct Box {
    HWND owner = nullptr;
    std::string text, title;
    UINT style = 0;
    int shown = 0;
};

// Captures the error box instead of showing it.
class ListViewHelpers : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = forms::SetMsgBoxHook(
            [this](HWND owner, const std::string& text, unsigned style, const std::string& title) {
                box_.owner = owner;
                box_.text = text;
                box_.title = title;
                box_.style = style;
                ++box_.shown;
                return IDOK;
            });
    }
    void TearDown() override { forms::SetMsgBoxHook(previous_); }

    // A window handle that no longer names a window.
    static HWND DeadWindow() {
        HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(w);
        return w;
    }

    Box box_;
    forms::MsgBoxHook previous_;
};

TEST_F(ListViewHelpers, CheckAndUncheckEveryRow) {
    ListWindow w(5);
    ASSERT_TRUE(EnhListView_Add_CheckBoxes(w.list(), true));
    EXPECT_TRUE(EnhLitView_CheckAllItems(w.list(), true));
    std::vector<bool> checked;
    EnhListView_ShowCheckedItems(w.list(), checked);
    EXPECT_EQ(checked, std::vector<bool>(5, true));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(w.State(r), 0x2000u) << r;

    // One row unticked by hand shows as such.
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(1);
    SendMessageA(w.list(), LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&item));
    EnhListView_ShowCheckedItems(w.list(), checked);
    EXPECT_EQ(checked, (std::vector<bool>{true, true, true, false, true}));

    EXPECT_TRUE(EnhLitView_UnCheckAllItems(w.list(), true));
    EnhListView_ShowCheckedItems(w.list(), checked);
    EXPECT_EQ(checked, std::vector<bool>(5, false));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(w.State(r), 0x1000u) << r;
    EXPECT_EQ(box_.shown, 0);
}

TEST_F(ListViewHelpers, EmptyListChecksNothingAndSucceeds) {
    ListWindow w(0);
    EXPECT_TRUE(EnhLitView_CheckAllItems(w.list(), true));
    EXPECT_TRUE(EnhLitView_UnCheckAllItems(w.list(), true));
    std::vector<bool> checked{true};
    EnhListView_ShowCheckedItems(w.list(), checked);
    EXPECT_TRUE(checked.empty());
    EXPECT_EQ(box_.shown, 0);
}

TEST_F(ListViewHelpers, ErrorsShowTheBoxOnlyWhenAsked) {
    HWND dead = DeadWindow();
    EXPECT_FALSE(EnhLitView_CheckAllItems(dead, false));
    EXPECT_FALSE(EnhListView_Add_FullRowSelect(dead, false));
    EXPECT_EQ(box_.shown, 0);

    EXPECT_FALSE(EnhLitView_CheckAllItems(dead, true));
    EXPECT_EQ(box_.shown, 1);
    EXPECT_EQ(box_.title, "Error in Function : EnhLitView_CheckAllItems");
    EXPECT_EQ(box_.text.rfind("Error1400\t", 0), 0u) << box_.text;
    EXPECT_GT(box_.text.size(), std::string("Error1400\t").size());
    EXPECT_EQ(box_.style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));

    const char* names[] = {"EnhLitView_UnCheckAllItems", "EnhListView_Add_FullRowSelect",
                           "EnhListView_Add_CheckBoxes"};
    EXPECT_FALSE(EnhLitView_UnCheckAllItems(dead, true));
    EXPECT_EQ(box_.title, std::string("Error in Function : ") + names[0]);
    EXPECT_FALSE(EnhListView_Add_FullRowSelect(dead, true));
    EXPECT_EQ(box_.title, std::string("Error in Function : ") + names[1]);
    EXPECT_FALSE(EnhListView_Add_CheckBoxes(dead, true));
    EXPECT_EQ(box_.title, std::string("Error in Function : ") + names[2]);
    EXPECT_EQ(box_.shown, 4);
}

TEST_F(ListViewHelpers, StyleRefusedByAWindowThatIsNoListView) {
    ListWindow w(0);
    // The top-level window answers list-view messages with 0.
    EXPECT_FALSE(EnhListView_Add_CheckBoxes(w.top(), true));
    EXPECT_EQ(box_.shown, 1);
    EXPECT_EQ(box_.title, "Error in Function : EnhListView_Add_CheckBoxes");
    EXPECT_EQ(box_.owner, w.top());
}

TEST_F(ListViewHelpers, ExtendedStylesAreAdded) {
    ListWindow w(1);
    SendMessageA(w.list(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);
    EXPECT_TRUE(EnhListView_Add_FullRowSelect(w.list(), true));
    EXPECT_TRUE(EnhListView_Add_CheckBoxes(w.list(), true));
    const DWORD style = static_cast<DWORD>(SendMessageA(w.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(style & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES),
              static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES));

    // Sub-item images: style on, image set on row 1 (1-based), style off.
    EXPECT_TRUE(EnhListView_SubItemImages(w.list(), 1, 1, 4, true));
    EXPECT_TRUE(SendMessageA(w.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_SUBITEMIMAGES);
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    item.iSubItem = 1;
    SendMessageA(w.list(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 4);
    EXPECT_TRUE(EnhListView_SubItemImages(w.list(), 1, 1, 0, false));
    EXPECT_FALSE(SendMessageA(w.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_SUBITEMIMAGES);
    EXPECT_TRUE(SendMessageA(w.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
}

TEST_F(ListViewHelpers, ColumnOrderRoundTrip) {
    ListWindow w(2);
    std::vector<int32_t> order;
    ASSERT_TRUE(EnhListView_GetColumnOrder(w.list(), order));
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3}));

    EXPECT_TRUE(EnhListView_SetColumnOrder(w.list(), {0, 3, 1, 2}));
    ASSERT_TRUE(EnhListView_GetColumnOrder(w.list(), order));
    EXPECT_EQ(order, (std::vector<int32_t>{0, 3, 1, 2}));

    // The order read back restores the same layout on another list.
    ListWindow other(0);
    EXPECT_TRUE(EnhListView_SetColumnOrder(other.list(), order));
    std::vector<int32_t> again;
    ASSERT_TRUE(EnhListView_GetColumnOrder(other.list(), again));
    EXPECT_EQ(again, order);
}

TEST_F(ListViewHelpers, DamagedColumnOrderFallsBackToNaturalOrder) {
    ListWindow w(0);
    const std::vector<std::vector<int32_t>> damaged = {
        {0, 0, 1, 2},     // a column twice
        {0, 1, 2, 7},     // a column the list lacks
        {3, 2, 1, -1},    // negative
        {1, 0},           // too short: the list must not read past it
        {0, 1, 2, 3, 4},  // too long
        {},
    };
    for (const auto& bad : damaged) {
        ASSERT_TRUE(EnhListView_SetColumnOrder(w.list(), {3, 2, 1, 0}));
        EXPECT_FALSE(EnhListView_SetColumnOrder(w.list(), bad)) << bad.size();
        std::vector<int32_t> order;
        ASSERT_TRUE(EnhListView_GetColumnOrder(w.list(), order));
        EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3})) << bad.size();
    }
}

TEST_F(ListViewHelpers, ColumnOrderOfADeadWindowIsFalseWithoutABox) {
    std::vector<int32_t> order{1, 2};
    EXPECT_FALSE(EnhListView_GetColumnOrder(DeadWindow(), order));
    EXPECT_TRUE(order.empty());
    EXPECT_FALSE(EnhListView_SetColumnOrder(DeadWindow(), {0}));
    EXPECT_EQ(box_.shown, 0);
}

TEST_F(ListViewHelpers, HeaderImageInsteadOfText) {
    ListWindow w(0);
    EXPECT_TRUE(EnhListView_SetHeaderImage(w.list(), 0, 3, true));
    HDITEMA item = w.HeaderItem(0);
    EXPECT_EQ(item.fmt, HDF_IMAGE);
    EXPECT_EQ(item.iImage, 3);
    EXPECT_TRUE(EnhListView_SetHeaderImage(w.list(), 0, 2, false));
    EXPECT_EQ(w.HeaderItem(0).fmt, HDF_STRING);
}

TEST_F(ListViewHelpers, StateImagesAreTheListViewsOwnCopy) {
    HIMAGELIST mine = MakeImages(3);
    {
        ListWindow w(1);
        ASSERT_TRUE(EnhListView_Add_CheckBoxes(w.list(), true));
        ASSERT_TRUE(EnhListView_SetStateImageList(w.list(), mine));
        HIMAGELIST first = reinterpret_cast<HIMAGELIST>(SendMessageA(w.list(), LVM_GETIMAGELIST, LVSIL_STATE, 0));
        EXPECT_NE(first, mine);
        EXPECT_EQ(ImageList_GetImageCount(first), 3);
        // Setting it again replaces the copy.
        ASSERT_TRUE(EnhListView_SetStateImageList(w.list(), mine));
        EXPECT_EQ(ImageList_GetImageCount(
                      reinterpret_cast<HIMAGELIST>(SendMessageA(w.list(), LVM_GETIMAGELIST, LVSIL_STATE, 0))),
                  3);
    }
    // The list view is gone and took only its copies with it.
    EXPECT_EQ(ImageList_GetImageCount(mine), 3);
    EXPECT_TRUE(ImageList_Destroy(mine));

    // A list view that shares image lists gets the caller's own.
    HIMAGELIST shared = MakeImages(2);
    {
        ListWindow w(1, LVS_REPORT | LVS_SHAREIMAGELISTS);
        ASSERT_TRUE(EnhListView_SetStateImageList(w.list(), shared));
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(w.list(), LVM_GETIMAGELIST, LVSIL_STATE, 0)), shared);
    }
    EXPECT_EQ(ImageList_GetImageCount(shared), 2);
    EXPECT_TRUE(ImageList_Destroy(shared));
}

}  // namespace
}  // namespace foundation
}  // namespace corvella
