// The progress bar control on real windows: what reaches the progress
// window (read back from it, and spied on the way in), and that a new window
// made for a style change carries the old one's settings.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls/progressbar/progress_bar.h"

namespace corvella::controls {
namespace {

using forms::Form;

// Newer than the headers' default target, understood by the progress class.
constexpr UINT kGetStep = WM_USER + 13;
constexpr UINT kGetBackColour = WM_USER + 14;
constexpr UINT kGetBarColour = WM_USER + 15;

// Every progress-bar message sent on this thread, to any window.
struct Sent {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<Sent> gSent;
HHOOK gHook = nullptr;

LRESULT CALLBACK SpyProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
        const bool setter = (m->message >= PBM_SETRANGE && m->message <= PBM_SETRANGE32) ||
                            m->message == PBM_SETBARCOLOR || m->message == PBM_SETBKCOLOR;
        if (setter) gSent.push_back({m->hwnd, m->message, m->wParam, m->lParam});
    }
    return CallNextHookEx(gHook, code, wp, lp);
}

int CountSent(UINT msg) {
    int n = 0;
    for (const auto& s : gSent)
        if (s.msg == msg) ++n;
    return n;
}

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        forms::SetMsgBoxHook([this](const std::string& prompt, unsigned, const std::string&) {
            boxes.push_back(prompt);
            return IDOK;
        });
        form.name = "frmTest";
        form.width = 6000;
        form.height = 3000;
        bar.name = "pBar";
        bar.left = 120;
        bar.top = 120;
        bar.width = 4500;
        bar.height = 375;
        form.CreateControls = [this] { ASSERT_TRUE(bar.Create(form)); };
        gSent.clear();
        gHook = SetWindowsHookExA(WH_CALLWNDPROC, SpyProc, nullptr, GetCurrentThreadId());
        ASSERT_NE(gHook, nullptr);
    }
    void TearDown() override {
        UnhookWindowsHookEx(gHook);
        form.Unload();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            DispatchMessageA(&msg);
        }
        forms::SetMsgBoxHook(nullptr);
        EXPECT_TRUE(boxes.empty()) << boxes.front();
    }

    static int32_t High(HWND h) { return static_cast<int32_t>(SendMessageA(h, PBM_GETRANGE, 0, 0)); }
    static int32_t Low(HWND h) { return static_cast<int32_t>(SendMessageA(h, PBM_GETRANGE, 1, 0)); }
    static int32_t Pos(HWND h) { return static_cast<int32_t>(SendMessageA(h, PBM_GETPOS, 0, 0)); }
    static LONG Style(HWND h) { return GetWindowLongA(h, GWL_STYLE); }
    static LONG ExStyle(HWND h) { return GetWindowLongA(h, GWL_EXSTYLE); }

    std::vector<std::string> boxes;
    Form form;
    ProgressBar bar;
};

TEST(TranslateColour, SystemColoursBecomeTheirRgbValueOthersPassThrough) {
    EXPECT_EQ(TranslateColour(0x8000000Fu), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(TranslateColour(0x8000000Du), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(TranslateColour(0x80000010u), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(TranslateColour(RGB(23, 103, 180)), RGB(23, 103, 180));
    EXPECT_EQ(TranslateColour(0), 0u);
}

TEST_F(ProgressBarTest, CreationGivesTheWindowTheDesignValues) {
    bar.min = 5;
    bar.max = 200;
    bar.position = 20;
    bar.step = 1;
    bar.smooth = true;
    bar.foreColor = RGB(23, 103, 180);
    form.Show();
    HWND h = bar.hWnd();
    ASSERT_NE(h, nullptr);
    EXPECT_NE(h, bar.ContainerWindow());
    EXPECT_EQ(GetParent(h), bar.ContainerWindow());
    char cls[64] = {};
    GetClassNameA(bar.ContainerWindow(), cls, sizeof cls);
    EXPECT_STREQ(cls, "Corvella.ProgressBar");
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STREQ(cls, "msctls_progress32");

    EXPECT_EQ(Low(h), 5);
    EXPECT_EQ(High(h), 200);
    EXPECT_EQ(Pos(h), 20);
    EXPECT_NE(Style(h) & PBS_SMOOTH, 0);
    EXPECT_EQ(Style(h) & PBS_VERTICAL, 0);
    EXPECT_NE(ExStyle(h) & WS_EX_STATICEDGE, 0) << "border style 1: thin edge round the bar";
    EXPECT_EQ(ExStyle(bar.ContainerWindow()) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, kGetBarColour, 0, 0)), RGB(23, 103, 180));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, kGetBackColour, 0, 0)),
              GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(SendMessageA(h, kGetStep, 0, 0), 1) << "the stored step reaches the window";

    // The bar fills the control.
    RECT own{}, inner{};
    GetClientRect(bar.ContainerWindow(), &own);
    GetWindowRect(h, &inner);
    EXPECT_EQ(inner.right - inner.left, own.right);
    EXPECT_EQ(inner.bottom - inner.top, own.bottom);

    EXPECT_EQ(bar.Min(), 5);
    EXPECT_EQ(bar.Max(), 200);
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_TRUE(bar.Smooth());
}

TEST_F(ProgressBarTest, SettersSendOnlyWhenTheValueChanges) {
    form.Show();
    HWND h = bar.hWnd();
    gSent.clear();
    bar.SetPosition(0);  // as it is
    bar.SetMax(100);
    bar.SetMin(0);
    bar.SetBackColor(kSystemButtonFace);
    bar.SetForeColor(kSystemHighlight);
    EXPECT_TRUE(gSent.empty());

    bar.SetPosition(42);
    ASSERT_EQ(gSent.size(), 1u);
    EXPECT_EQ(gSent[0].hwnd, h);
    EXPECT_EQ(gSent[0].msg, static_cast<UINT>(PBM_SETPOS));
    EXPECT_EQ(gSent[0].wp, 42u);
    EXPECT_EQ(Pos(h), 42);

    gSent.clear();
    bar.SetBackColor(RGB(255, 255, 255));
    bar.SetForeColor(0x80000010u);
    ASSERT_EQ(gSent.size(), 2u);
    EXPECT_EQ(gSent[0].msg, static_cast<UINT>(PBM_SETBKCOLOR));
    EXPECT_EQ(gSent[0].wp, 0u);
    EXPECT_EQ(static_cast<COLORREF>(gSent[0].lp), RGB(255, 255, 255));
    EXPECT_EQ(gSent[1].msg, static_cast<UINT>(PBM_SETBARCOLOR));
    EXPECT_EQ(static_cast<COLORREF>(gSent[1].lp), GetSysColor(COLOR_BTNSHADOW))
        << "system colours go out translated";
    EXPECT_EQ(bar.ForeColor(), 0x80000010u) << "the property keeps the system colour";

    gSent.clear();
    bar.SetMax(50);
    EXPECT_EQ(CountSent(PBM_SETRANGE32), 1);
    EXPECT_EQ(CountSent(PBM_SETRANGE), 0) << "32-bit ranges read back as set";
    EXPECT_EQ(High(h), 50);
    bar.SetMin(-70000);
    EXPECT_EQ(Low(h), -70000);
    EXPECT_EQ(bar.hWnd(), h) << "range and colours need no new window";
}

TEST_F(ProgressBarTest, StyleChangesMakeANewWindowThatKeepsTheSettings) {
    bar.borderStyle = 1;
    form.Show();
    bar.SetMin(10);
    bar.SetMax(60);
    bar.SetPosition(33);
    bar.SetStep(7);
    bar.SetBackColor(RGB(255, 255, 255));
    bar.SetForeColor(RGB(23, 103, 180));
    HWND old = bar.hWnd();

    bar.SetSmooth(true);
    HWND h = bar.hWnd();
    ASSERT_NE(h, nullptr);
    EXPECT_NE(h, old);
    EXPECT_FALSE(IsWindow(old)) << "the old window is destroyed";
    EXPECT_NE(Style(h) & PBS_SMOOTH, 0);
    EXPECT_EQ(Low(h), 10);
    EXPECT_EQ(High(h), 60);
    EXPECT_EQ(Pos(h), 33);
    EXPECT_EQ(SendMessageA(h, kGetStep, 0, 0), 7);
    EXPECT_NE(ExStyle(h) & WS_EX_STATICEDGE, 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, kGetBackColour, 0, 0)), RGB(255, 255, 255));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, kGetBarColour, 0, 0)), RGB(23, 103, 180));
    EXPECT_TRUE(IsWindowVisible(h));

    bar.SetOrientation(1);
    h = bar.hWnd();
    EXPECT_NE(Style(h) & PBS_VERTICAL, 0);
    EXPECT_NE(Style(h) & PBS_SMOOTH, 0);
    EXPECT_EQ(Pos(h), 33);
    HWND vertical = h;
    bar.SetOrientation(2);  // any value but 1 is horizontal
    h = bar.hWnd();
    EXPECT_NE(h, vertical);
    EXPECT_EQ(Style(h) & PBS_VERTICAL, 0);
    EXPECT_EQ(bar.Orientation(), 2);
    EXPECT_EQ(High(h), 60);

    // Only a change makes a window.
    bar.SetSmooth(true);
    EXPECT_EQ(bar.hWnd(), h);
    // One progress window at any time.
    int bars = 0;
    for (HWND c = GetWindow(bar.ContainerWindow(), GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        ++bars;
    EXPECT_EQ(bars, 1);
}

TEST_F(ProgressBarTest, StepItAdvancesByTheStepAndPositionFollowsTheBar) {
    form.Show();
    HWND h = bar.hWnd();
    bar.StepIt();  // step 1, never set by code
    EXPECT_EQ(Pos(h), 1);
    EXPECT_EQ(bar.Position(), 1);
    bar.SetStep(25);
    bar.StepIt();
    EXPECT_EQ(Pos(h), 26);
    EXPECT_EQ(bar.Position(), 26);
    bar.SetPosition(1);  // back to an earlier value
    EXPECT_EQ(Pos(h), 1);

    // Without a window only the stored position moves.
    ProgressBar loose;
    loose.step = 4;
    loose.StepIt();
    loose.StepIt();
    EXPECT_EQ(loose.Position(), 8);
    EXPECT_EQ(loose.hWnd(), nullptr);
}

TEST_F(ProgressBarTest, NarrowingTheRangeForAWhileDoesNotLoseThePosition) {
    form.Show();
    HWND h = bar.hWnd();
    bar.SetPosition(80);
    bar.SetMax(50);
    EXPECT_EQ(Pos(h), 50) << "the window clamps";
    bar.SetMax(100);
    EXPECT_EQ(Pos(h), 80);
    EXPECT_EQ(bar.Position(), 80);
}

TEST_F(ProgressBarTest, BorderStyleMovesTheEdgeBetweenBarAndControl) {
    bar.borderStyle = 1;
    form.Show();
    HWND h = bar.hWnd();
    ASSERT_NE(ExStyle(h) & WS_EX_STATICEDGE, 0);
    bar.SetBorderStyle(2);
    EXPECT_EQ(ExStyle(h) & WS_EX_STATICEDGE, 0);
    EXPECT_NE(ExStyle(bar.ContainerWindow()) & WS_EX_CLIENTEDGE, 0);
    // The bar still fits the control's smaller client area.
    RECT own{}, inner{};
    GetClientRect(bar.ContainerWindow(), &own);
    GetWindowRect(h, &inner);
    EXPECT_EQ(inner.right - inner.left, own.right);
    bar.SetBorderStyle(0);
    EXPECT_EQ(ExStyle(h) & WS_EX_STATICEDGE, 0);
    EXPECT_EQ(ExStyle(bar.ContainerWindow()) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(ProgressBarTest, ResizingTheControlResizesTheBar) {
    bar.borderStyle = 0;
    form.Show();
    bar.Move(120, 120, 3000, 600);
    RECT own{}, inner{};
    GetClientRect(bar.ContainerWindow(), &own);
    GetWindowRect(bar.hWnd(), &inner);
    EXPECT_EQ(own.right, forms::Screen.ToPixelsX(3000));
    EXPECT_EQ(inner.right - inner.left, own.right);
    EXPECT_EQ(inner.bottom - inner.top, own.bottom);
}

TEST_F(ProgressBarTest, ALoadedAgainFormStartsFromTheDesign) {
    bar.max = 50;
    form.Show();
    bar.SetValue(30);
    bar.SetSmooth(true);
    form.Unload();
    EXPECT_EQ(bar.hWnd(), nullptr);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_FALSE(bar.Smooth());
    form.Show();
    HWND h = bar.hWnd();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Pos(h), 0);
    EXPECT_EQ(High(h), 50);
    EXPECT_EQ(Style(h) & PBS_SMOOTH, 0);
}

}  // namespace
}  // namespace corvella::controls
