// The flat header on a real report list view under Wine: events from real
// mouse input (drags on a divider and on a column, right clicks), the flat
// lines read from the screen in system colours, the Windows XP run in a
// child process, and a failed Attach that leaves nothing hooked.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/flatheader/flat_header.h"
#include "libs/flatcontrols/tests/window_probe.h"
#include "libs/flatcontrols/tests/xp_child.h"
#include "libs/flatcontrols/win32/os_version_win32.h"
#include "platform/forms/tests/forms_test_util.h"

namespace {

using corvella::testing::RepaintedPixel;
using corvella::testing::SysColour;
using namespace corvella::forms;
using corvella::controls::CFlatHeader;
using corvella::forms::testing::PumpUntil;

const char kXpChild[] = "CORVELLA_FLATHEADER_XP_CHILD";
const int kWidths[] = {100, 80, 60};

struct ListView : Control {
    bool Create(Container& parent) {
        if (!CreateWindowIn(parent, WC_LISTVIEWA, LVS_REPORT, WS_EX_CLIENTEDGE, "")) return false;
        SendMessageA(hWnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
        for (int i = 0; i < 3; ++i) {
            char text[] = "Column";
            LVCOLUMNA col = {};
            col.mask = LVCF_WIDTH | LVCF_TEXT;
            col.cx = kWidths[i];
            col.pszText = text;
            SendMessageA(hWnd(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
        }
        return true;
    }
};

struct ListForm : Form {
    ListView lv;
    ListForm() {
        name = "frmList";
        width = 6000;
        height = 4000;
        lv.width = 5000;
        lv.height = 2500;
        CreateControls = [this] { lv.Create(*this); };
    }
};

// What the events said, in order.
struct Entry {
    std::string event;
    long a, b;
    bool operator==(const Entry& o) const { return event == o.event && a == o.a && b == o.b; }
};
std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << e.event << "(" << e.a << "," << e.b << ")";
}

struct Log {
    std::vector<Entry> entries;
    void Add(const char* e, long a, long b = 0) { entries.push_back({e, a, b}); }
    size_t Count(const char* e) const {
        size_t n = 0;
        for (const auto& x : entries) n += x.event == e;
        return n;
    }
};

void Mouse(DWORD flags) { corvella::testing::MouseButton(flags); }

void MoveTo(HWND h, int x, int y) { ASSERT_TRUE(corvella::testing::MoveTo(h, x, y)) << "covered at " << x; }


int HeaderWidth(HWND header, int item) {
    HDITEMA hdi = {};
    hdi.mask = HDI_WIDTH;
    SendMessageA(header, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&hdi));
    return hdi.cxy;
}

class FlatHeaderTest : public corvella::forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(form.Load());
        form.Show();
        corvella::testing::BringToUser(form.hWnd());
        flat = std::make_unique<CFlatHeader>();
        flat->RightClick = [this](long x, long y) { log.Add("RightClick", x, y); };
        flat->BeginTrack = [this](long c, bool& cancel) {
            log.Add("BeginTrack", c);
            if (cancelNext) cancel = true;
        };
        flat->EndTrack = [this](long c, long w) { log.Add("EndTrack", c, w); };
        flat->ItemChanging = [this](long c, long w) { log.Add("ItemChanging", c, w); };
        flat->BeginDrag = [this](long c, bool&) { log.Add("BeginDrag", c); };
        flat->EndDrag = [this](long c) { log.Add("EndDrag", c); };
        flat->Attach(form.lv.hWnd());
        header = flat->HeaderWindow();
        ASSERT_NE(header, nullptr);
        RECT r;
        GetClientRect(header, &r);
        mid = r.bottom / 2;
    }
    void TearDown() override {
        flat.reset();
        form.Unload();
        FormsTest::TearDown();
    }
    // Presses at one point of the header, moves to another, releases, and
    // waits for the event that ends the gesture.
    void Drag(int fromX, int toX, const char* waitFor) {
        const size_t before = log.Count(waitFor);
        MoveTo(header, fromX, mid);
        Mouse(MOUSEEVENTF_LEFTDOWN);
        PumpUntil([&] { return GetCapture() == header; }, 3000);
        // The first move past the drag threshold stays on the pressed column.
        MoveTo(header, fromX + (toX > fromX ? 6 : -6), mid);
        MoveTo(header, toX, mid);
        Mouse(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(PumpUntil([&] { return log.Count(waitFor) > before && GetCapture() == nullptr; }, 3000))
            << waitFor;
    }

    ListForm form;
    std::unique_ptr<CFlatHeader> flat;
    HWND header = nullptr;
    int mid = 0;
    Log log;
    bool cancelNext = false;
};

TEST_F(FlatHeaderTest, ResizingAColumnReportsItsNumberAndTwips) {
    Drag(kWidths[0], kWidths[0] + 30, "EndTrack");
    EXPECT_EQ(HeaderWidth(header, 0), kWidths[0] + 30);
    // Item-changing reports the width held before the change it announces;
    // end-track the width the header holds then.
    ASSERT_GE(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0], (Entry{"BeginTrack", 1, 0}));
    EXPECT_EQ(log.entries[1], (Entry{"ItemChanging", 1, kWidths[0] * 15}));
    long last = 0;
    for (const Entry& e : log.entries) {
        if (e.event == "ItemChanging") {
            EXPECT_EQ(e.a, 1);
            EXPECT_GE(e.b, last) << "widths grow with the drag";
            last = e.b;
        }
        if (e.event == "EndTrack") EXPECT_EQ(e, (Entry{"EndTrack", 1, (kWidths[0] + 30) * 15}));
    }
    EXPECT_EQ(log.Count("EndTrack"), 1u);

    // Item-changing also comes for widths set by code, with the column of
    // the last begin.
    log.entries.clear();
    SendMessageA(form.lv.hWnd(), LVM_SETCOLUMNWIDTH, 1, 50);
    ASSERT_EQ(log.Count("ItemChanging"), 1u);
    EXPECT_EQ(log.entries[0], (Entry{"ItemChanging", 1, (kWidths[0] + 30) * 15}));
}

TEST_F(FlatHeaderTest, ACancelledResizeLeavesTheWidthAndTheFlagStays) {
    cancelNext = true;
    Drag(kWidths[0], kWidths[0] + 40, "BeginTrack");
    EXPECT_EQ(HeaderWidth(header, 0), kWidths[0]);
    // A handler that does not assign the flag passes the last value on.
    cancelNext = false;
    Drag(kWidths[0] + kWidths[1], kWidths[0] + kWidths[1] + 40, "BeginTrack");
    EXPECT_EQ(log.entries.back(), (Entry{"BeginTrack", 2, 0}));
    EXPECT_EQ(HeaderWidth(header, 1), kWidths[1]);
    EXPECT_EQ(log.Count("EndTrack"), 0u);
}

TEST_F(FlatHeaderTest, DraggingAColumnAndRightClickingReportColumnsAndListTwips) {
    Drag(kWidths[0] + 40, 20, "EndDrag");
    ASSERT_GE(log.entries.size(), 2u);
    EXPECT_EQ(log.entries.front(), (Entry{"BeginDrag", 2, 0}));
    EXPECT_EQ(log.entries.back(), (Entry{"EndDrag", 2, 0}));
    int order[3] = {};
    SendMessageA(form.lv.hWnd(), LVM_GETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(order[0], 1);

    MoveTo(header, 50, mid);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return log.Count("RightClick") == 1; }, 3000));
    POINT p = {50, mid};
    MapWindowPoints(header, form.lv.hWnd(), &p, 1);
    EXPECT_EQ(log.entries.back(), (Entry{"RightClick", p.x * 15, p.y * 15}));
}

TEST_F(FlatHeaderTest, HeaderIsDrawnFlatInDisplayOrder) {
    RECT r;
    GetClientRect(header, &r);
    const int right0 = kWidths[0];
    EXPECT_EQ(RepaintedPixel(header, right0 - 2, mid), SysColour(COLOR_BTNFACE)) << "inner shadow covered";
    EXPECT_EQ(RepaintedPixel(header, right0 - 1, mid), SysColour(COLOR_BTNSHADOW));
    EXPECT_EQ(RepaintedPixel(header, 10, r.bottom - 1), SysColour(COLOR_BTNSHADOW));
    const int end = kWidths[0] + kWidths[1] + kWidths[2];
    EXPECT_EQ(RepaintedPixel(header, end + 10, r.bottom - 2), SysColour(COLOR_BTNFACE)) << "empty space right";

    // Reordered: the lines follow the display order.
    int order[3] = {2, 0, 1};
    SendMessageA(form.lv.hWnd(), LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
    EXPECT_EQ(RepaintedPixel(header, kWidths[2] - 1, mid), SysColour(COLOR_BTNSHADOW));
    EXPECT_EQ(RepaintedPixel(header, kWidths[2] - 2, mid), SysColour(COLOR_BTNFACE));

    flat->Detach();
    EXPECT_NE(RepaintedPixel(header, right0 - 2, mid), SysColour(COLOR_BTNFACE)) << "detached: the header's own look";
}

TEST_F(FlatHeaderTest, ThinBorderSwapsTheEdges) {
    const HWND lv = form.lv.hWnd();
    CFlatHeader::ThinBorder(lv, true);
    EXPECT_EQ(GetWindowLongA(lv, GWL_EXSTYLE) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), WS_EX_STATICEDGE);
    CFlatHeader::ThinBorder(lv, false);
    EXPECT_EQ(GetWindowLongA(lv, GWL_EXSTYLE) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE),
              WS_EX_STATICEDGE | WS_EX_CLIENTEDGE);
}

TEST_F(FlatHeaderTest, AttachWithoutAHeaderRaisesAndLeavesNothingHooked) {
    const LONG_PTR before = GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC);
    auto other = std::make_unique<CFlatHeader>();
    try {
        other->Attach(form.hWnd());
        ADD_FAILURE() << "no error";
    } catch (const corvella::controls::SourcedError& e) {
        EXPECT_EQ(e.Number(), 26020);
        EXPECT_STREQ(e.what(), "Invalid Window Passed to cFlatHeader - no header control detected.");
        EXPECT_EQ(e.Source(), "flatheader_tests.cFlatHeader");
    }
    other.reset();
    EXPECT_EQ(GetWindowLongPtrA(form.hWnd(), GWLP_WNDPROC), before);
    NMHDR nm = {header, 0, static_cast<UINT>(NM_RCLICK)};
    SendMessageA(form.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));  // nobody released is called

    // The header itself may be passed.
    CFlatHeader direct;
    direct.Attach(header);
    EXPECT_EQ(direct.HeaderWindow(), header);
}

TEST_F(FlatHeaderTest, WindowsXpKeepsTheHeaderLookButRaisesEvents) {
    if (!corvella::testing::InXpChild(kXpChild)) GTEST_SKIP() << "runs in the child of XpRun";
    ASSERT_TRUE(corvella::ReadOSVersion().IsWinXP());
    EXPECT_NE(RepaintedPixel(header, kWidths[0] - 2, mid), SysColour(COLOR_BTNFACE));
    MoveTo(header, 50, mid);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return log.Count("RightClick") == 1; }, 3000));
}

TEST(FlatHeaderXp, XpRun) {
    if (corvella::testing::InXpChild(kXpChild)) GTEST_SKIP();
    EXPECT_EQ(corvella::testing::RunUnderWindowsXp(kXpChild, "FlatHeaderTest.WindowsXp*"), 0);
}

}  // namespace
