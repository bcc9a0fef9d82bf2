// The list view on a real window under Wine: a form with the file list's
// thirteen columns and a few keyed rows.
#include "platform/listview/list_view.h"

#include <string>
#include <vector>

#include "app/foundation/win32/listview/mod_list_view.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella::platform {
namespace {

using forms::testing::FormsTest;

const char* const kColumns[] = {"",        "Title", "Artist",   "Album", "Year",
                                "Comment", "Genre", "Track",    "Composer",
                                "Copyright Information", "Web Link", "Encoded By", "Full Path"};

struct Harness : forms::Form {
    ListView lv;
    std::vector<std::string> clicks;  // keys of ItemClick rows
    std::vector<int> upButtons;       // MouseUp buttons

    Harness() {
        name = "frmTest";
        width = 9000;
        height = 6000;
        lv.name = "lvFiles";
        lv.width = 8500;
        lv.height = 5000;
        for (const char* text : kColumns) lv.ColumnHeaders.Add(text, text);
        lv.ItemClick = [this](ListItem& item) { clicks.push_back(item.Key()); };
        lv.MouseUp = [this](int, int button, int, int, int) { upButtons.push_back(button); };
        CreateControls = [this] { lv.Create(*this); };
        Show();
        for (const char* key : {"C:\\m\\b.mp3", "C:\\m\\a.mp3", "C:\\m\\c.mp3", "C:\\m\\d.mp3"}) {
            ListItem& row = lv.ListItems.Add();
            row.SetKey(key);
            row.SetSubItem(1, std::string("Title ") + key[5]);
            row.SetSubItem(12, key);
        }
    }
    ~Harness() override { Unload(); }

    POINT RowPoint(int index) const {  // the middle of a row's first cell, pixels
        RECT rc{};
        rc.left = LVIR_LABEL;
        SendMessageA(lv.hWnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&rc));
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
};

using ListViewTest = FormsTest;

TEST_F(ListViewTest, WhatRawMessagesSetIsWhatTheWrapperReads) {
    Harness h;
    HWND list = h.lv.hWnd();
    char cls[64] = {};
    GetClassNameA(list, cls, sizeof cls);
    EXPECT_STREQ(cls, "SysListView32");

    ASSERT_TRUE(foundation::EnhListView_Add_CheckBoxes(list, false));
    ASSERT_TRUE(foundation::EnhLitView_CheckAllItems(list, false));
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(h.lv.ListItems(i)->Checked()) << i;
    h.lv.ListItems(2)->SetChecked(false);
    std::vector<bool> ticked;
    foundation::EnhListView_ShowCheckedItems(list, ticked);
    EXPECT_EQ(ticked, (std::vector<bool>{true, false, true, true}));

    // Texts set by message read back through the wrapper, and the other way.
    LVITEMA item{};
    item.iSubItem = 3;
    item.pszText = const_cast<char*>("Album by message");
    SendMessageA(list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(h.lv.ListItems(1)->SubItem(3), "Album by message");
    char buffer[64] = {};
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    item.iSubItem = 1;
    SendMessageA(list, LVM_GETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(buffer, "Title c");

    // The helpers' column order survives the wrapper's width and text changes.
    std::vector<int32_t> order;
    for (int i = 0; i < 13; ++i) order.push_back(12 - i);
    order.back() = 0;
    order.front() = 12;
    std::swap(order[1], order[2]);
    ASSERT_TRUE(foundation::EnhListView_SetColumnOrder(list, order));
    h.lv.ColumnHeaders(4).SetWidth(1400);
    h.lv.ColumnHeaders("Genre").SetText("Genre");
    std::vector<int32_t> now;
    ASSERT_TRUE(foundation::EnhListView_GetColumnOrder(list, now));
    EXPECT_EQ(now, order);

    // A row deleted by message is gone from the wrapper too.
    SendMessageA(list, LVM_DELETEITEM, 1, 0);
    EXPECT_EQ(h.lv.ListItems.Count(), 3);
    EXPECT_EQ(h.lv.ListItems("C:\\m\\a.mp3"), nullptr);
    EXPECT_EQ(h.lv.ListItems("C:\\m\\c.mp3")->Index(), 2);
    h.lv.ListItems.Clear();
    EXPECT_EQ(h.lv.ListItems.Count(), 0);
    EXPECT_EQ(h.lv.ListItems("C:\\m\\c.mp3"), nullptr);
}

TEST_F(ListViewTest, KeysFindRowsWithoutRegardToCaseAndNeverStopAListing) {
    Harness h;
    EXPECT_EQ(h.lv.ListItems("c:\\M\\A.MP3"), h.lv.ListItems(2));
    EXPECT_EQ(h.lv.ListItems("C:\\m\\none.mp3"), nullptr);
    EXPECT_EQ(h.lv.ListItems(0), nullptr);
    EXPECT_EQ(h.lv.ListItems(5), nullptr);
    // A second file whose name differs in case, and a key given twice.
    ListItem& upper = h.lv.ListItems.Add("C:\\m\\A.mp3");
    ListItem& twice = h.lv.ListItems.Add("C:\\m\\b.mp3");
    EXPECT_EQ(h.lv.ListItems("C:\\m\\A.mp3"), &upper);
    EXPECT_EQ(h.lv.ListItems("C:\\m\\a.mp3"), h.lv.ListItems(2));
    EXPECT_EQ(h.lv.ListItems("C:\\m\\b.mp3"), h.lv.ListItems(1));
    EXPECT_EQ(twice.Index(), 6);
    // A rename moves the row to its new key.
    h.lv.ListItems(1)->SetKey("C:\\m\\renamed.mp3");
    EXPECT_EQ(h.lv.ListItems("C:\\m\\renamed.mp3")->Index(), 1);
    EXPECT_EQ(h.lv.ListItems("C:\\m\\b.mp3"), &twice);
    EXPECT_THROW(h.lv.ListItems(1)->SetSubItem(13, "x"), forms::Error);
}

TEST_F(ListViewTest, ColumnWidthsRoundToWholePixelsOneWay) {
    Harness h;
    ASSERT_EQ(forms::Screen.TwipsPerPixelX(), 15.0);
    struct Case {
        int twips, pixels, readBack;
    } cases[] = {{1700, 113, 1695}, {1400, 93, 1395}, {165, 11, 165}, {0, 0, 0}, {1440, 96, 1440}};
    for (const Case& c : cases) {
        h.lv.ColumnHeaders(2).SetWidth(c.twips);
        EXPECT_EQ(SendMessageA(h.lv.hWnd(), LVM_GETCOLUMNWIDTH, 1, 0), c.pixels) << c.twips;
        EXPECT_EQ(h.lv.ColumnHeaders(2).Width(), c.readBack) << c.twips;
    }
    EXPECT_THROW(h.lv.ColumnHeaders(2).SetWidth(-1), forms::Error);
    EXPECT_THROW(h.lv.ColumnHeaders(14), forms::Error);
}

TEST_F(ListViewTest, ItemClickComesForKeysAndRightClicksNotForCode) {
    Harness h;
    h.lv.SetSelectedItem(h.lv.ListItems(1));
    EXPECT_TRUE(h.clicks.empty()) << "selected from code";
    EXPECT_EQ(h.lv.SelectedItem(), h.lv.ListItems(1));

    SetFocus(h.lv.hWnd());
    SendMessageA(h.lv.hWnd(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(h.clicks, (std::vector<std::string>{"C:\\m\\a.mp3"}));
    EXPECT_EQ(h.lv.SelectedItem()->Index(), 2);

    // The list view tracks the right button itself and takes its release.
    const POINT p = h.RowPoint(4);
    PostMessageA(h.lv.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(h.lv.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    forms::DoEvents();
    EXPECT_EQ(h.clicks.back(), "C:\\m\\d.mp3");
    EXPECT_EQ(h.upButtons, (std::vector<int>{forms::kRightButton})) << "one MouseUp";

    h.lv.SetSelectedItem(nullptr);
    EXPECT_EQ(h.lv.SelectedItem(), nullptr);
    EXPECT_EQ(h.clicks.size(), 2u);
}

TEST_F(ListViewTest, HitTestTakesTwipsAndFindsRowsInEveryColumn) {
    Harness h;
    const double tx = forms::Screen.TwipsPerPixelX(), ty = forms::Screen.TwipsPerPixelY();
    const POINT p = h.RowPoint(3);
    EXPECT_EQ(h.lv.HitTest(static_cast<int>(p.x * tx), static_cast<int>(p.y * ty)), h.lv.ListItems(3));
    RECT cell{};
    cell.top = 5;  // sub-item 5
    cell.left = LVIR_BOUNDS;
    SendMessageA(h.lv.hWnd(), LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(h.lv.HitTest(static_cast<int>((cell.left + 3) * tx), static_cast<int>((cell.top + 2) * ty)),
              h.lv.ListItems(2));
    const POINT last = h.RowPoint(4);
    EXPECT_EQ(h.lv.HitTest(static_cast<int>(last.x * tx), static_cast<int>((last.y + 60) * ty)), nullptr);
}

TEST_F(ListViewTest, ViewsSortAndColumnClicks) {
    Harness h;
    for (int bad : {-1, 4, 99}) {
        h.lv.SetView(bad);
        EXPECT_EQ(h.lv.View(), 3) << bad;
    }
    h.lv.SetView(2);
    EXPECT_EQ(GetWindowLongA(h.lv.hWnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    h.lv.SetView(3);

    h.lv.SetSortKey(1);
    h.lv.SetSortOrder(1);
    h.lv.SetSorted(true);
    std::vector<std::string> keys;
    for (int i = 1; i <= 4; ++i) keys.push_back(h.lv.ListItems(i)->Key());
    EXPECT_EQ(keys, (std::vector<std::string>{"C:\\m\\d.mp3", "C:\\m\\c.mp3", "C:\\m\\b.mp3", "C:\\m\\a.mp3"}));
    // A row added while sorted keeps its index until the caller's pass yields.
    ListItem& added = h.lv.ListItems.Add("C:\\m\\e.mp3");
    added.SetSubItem(1, "Title e");
    EXPECT_EQ(added.Index(), 5);
    forms::DoEvents();
    EXPECT_EQ(added.Index(), 1);

    int clicked = 0;
    h.lv.ColumnClick = [&](ColumnHeader& column) { clicked = column.Index(); };
    NMLISTVIEW click{};
    click.hdr.hwndFrom = h.lv.hWnd();
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(h.lv.hWnd()));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 3;
    SendMessageA(h.hWnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(clicked, 4);
}

}  // namespace
}  // namespace corvella::platform
