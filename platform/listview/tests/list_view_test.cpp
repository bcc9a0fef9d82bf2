// The list view on a real window under Wine: a form with the file list's
// thirteen columns and a few keyed rows.
#include "platform/listview/list_view.h"

#include <string>
#include <vector>

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

    // Check boxes and ticks as the list-view helpers set them: the extended
    // style and state image 2 on every row at once.
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    LVITEMA ticks{};
    ticks.stateMask = LVIS_STATEIMAGEMASK;
    ticks.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ticks));
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(h.lv.ListItems(i)->Checked()) << i;
    h.lv.ListItems(2)->SetChecked(false);
    std::vector<bool> ticked;
    for (int row = 0; row < 4; ++row)
        ticked.push_back((SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
                          LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
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
    std::vector<int> order;
    for (int i = 0; i < 13; ++i) order.push_back(12 - i);
    std::swap(order[1], order[2]);
    ASSERT_TRUE(SendMessageA(list, LVM_SETCOLUMNORDERARRAY, 13, reinterpret_cast<LPARAM>(order.data())));
    h.lv.ColumnHeaders(4).SetWidth(1400);
    h.lv.ColumnHeaders("Genre").SetText("Genre");
    std::vector<int> now(13);
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNORDERARRAY, 13, reinterpret_cast<LPARAM>(now.data())));
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

    // A left click likewise.
    const POINT first = h.RowPoint(1);
    PostMessageA(h.lv.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(first.x, first.y));
    SendMessageA(h.lv.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
    forms::DoEvents();
    EXPECT_EQ(h.clicks.back(), "C:\\m\\b.mp3");
    EXPECT_EQ(h.upButtons, (std::vector<int>{forms::kRightButton, forms::kLeftButton}));

    h.lv.SetSelectedItem(nullptr);
    EXPECT_EQ(h.lv.SelectedItem(), nullptr);
    EXPECT_EQ(h.clicks.size(), 3u);

    // A failing handler is reported under its name and the list goes on.
    h.lv.ItemClick = [](ListItem&) { throw forms::Error("Tag unreadable", 5); };
    SendMessageA(h.lv.hWnd(), WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("frmTest.lvFiles_ItemClick"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(h.lv.SelectedItem()->Index(), 4);
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

// The sort orders as CompareString does in the user's locale without regard
// to case, both ways: hyphens and apostrophes, accents, digits, empty cells.
TEST_F(ListViewTest, SortOrdersTextsAsCompareStringDoes) {
    Harness h;
    for (const char* text : {"co-op", "Coop", "a'b", "AB", "\xc9t\xe9", "ete", "10", "9", "zz", "\xdf", "Ab c"})
        h.lv.ListItems.Add("", "", 0, {"", "", text});
    h.lv.SetSortKey(3);
    h.lv.SetSorted(true);
    for (int order : {1, 0}) {
        h.lv.SetSortOrder(order);
        for (int i = 1; i < h.lv.ListItems.Count(); ++i) {
            const std::string a = h.lv.ListItems(i)->SubItem(3), b = h.lv.ListItems(i + 1)->SubItem(3);
            const int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - 2;
            EXPECT_LE(order == 0 ? r : -r, 0) << "'" << a << "' before '" << b << "'";
        }
    }
}

// The wrapper keeps the cells' texts; whatever sets a text (the wrapper, a
// raw ANSI or wide message, a row added with its cells), every way of reading
// it (LVM_GETITEMTEXT A and W, LVM_GETITEM, the wrapper, the sort) gets the
// text set last, and check states set for every row at once hold.
TEST_F(ListViewTest, KeptTextsReadBackEveryWayAndSortAfterRawChanges) {
    Harness h;
    HWND list = h.lv.hWnd();
    ListItem& added = h.lv.ListItems.Add("C:\\m\\e.mp3", "", 1, {"Title e", "Artist e"});
    EXPECT_EQ(added.SubItem(2), "Artist e");
    LVITEMW wide{};
    wide.iSubItem = 2;
    wide.pszText = const_cast<wchar_t*>(L"Artist by wide message");
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&wide)));
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>("A title by LVM_SETITEM");
    ASSERT_TRUE(SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    h.lv.ListItems(4)->SetSubItem(1, "Z title by wrapper");

    struct Case {
        int row, subItem;
        const char* text;
    } cases[] = {{4, 2, "Artist e"},        {3, 2, "Artist by wide message"}, {1, 1, "A title by LVM_SETITEM"},
                 {3, 1, "Z title by wrapper"}, {0, 12, "C:\\m\\b.mp3"},     {4, 5, ""}};
    for (const Case& c : cases) {
        char a[64] = {};
        LVITEMA ra{};
        ra.iSubItem = c.subItem;
        ra.pszText = a;
        ra.cchTextMax = sizeof a;
        const auto length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(c.row), reinterpret_cast<LPARAM>(&ra));
        EXPECT_STREQ(a, c.text) << c.row << "," << c.subItem;
        EXPECT_EQ(static_cast<size_t>(length), std::string(c.text).size());
        wchar_t w[64] = {};
        LVITEMW rw{};
        rw.mask = LVIF_TEXT;
        rw.iItem = c.row;
        rw.iSubItem = c.subItem;
        rw.pszText = w;
        rw.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&rw)));
        char back[64] = {};
        WideCharToMultiByte(CP_ACP, 0, w, -1, back, sizeof back, nullptr, nullptr);
        EXPECT_STREQ(back, c.text) << c.row << "," << c.subItem;
        EXPECT_EQ(h.lv.ListItems(c.row + 1)->SubItem(c.subItem), c.text);
    }
    // A buffer too short takes the text's start, ended.
    char shortBuffer[6] = {};
    LVITEMA cut{};
    cut.iSubItem = 2;
    cut.pszText = shortBuffer;
    cut.cchTextMax = sizeof shortBuffer;
    SendMessageA(list, LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&cut));
    EXPECT_STREQ(shortBuffer, "Artis");

    // The sort compares the texts set by message too.
    h.lv.SetSortKey(1);
    h.lv.SetSorted(true);
    std::vector<std::string> keys;
    for (int i = 1; i <= 5; ++i) keys.push_back(h.lv.ListItems(i)->Key());
    EXPECT_EQ(keys, (std::vector<std::string>{"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\c.mp3", "C:\\m\\e.mp3",
                                              "C:\\m\\d.mp3"}));

    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    LVITEMA ticks{};
    ticks.stateMask = LVIS_STATEIMAGEMASK;
    ticks.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ticks));
    h.lv.ListItems("C:\\m\\e.mp3")->SetChecked(false);
    std::vector<bool> ticked;
    for (int i = 1; i <= 5; ++i) ticked.push_back(h.lv.ListItems(i)->Checked());
    EXPECT_EQ(ticked, (std::vector<bool>{true, true, true, false, true}));
}

}  // namespace
}  // namespace corvella::platform
