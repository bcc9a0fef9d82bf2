// Window helpers on real windows: text fitting, top-most and centred
// windows, redraw locking, flat toolbars and progress bar colours.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/foundation/win32/shell/tests/test_support.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

// ---- Text fitting ----

TEST(FitTextTest, ShortensToTheWidthAndLeavesFittingTextAlone) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const std::string path = "C:\\Music\\Some Artist With A Long Name\\Some Album With A Long Name\\track.mp3";
    const std::string fitted = FitTextWithEllipsis(dc, 1500, path, DT_PATH_ELLIPSIS);
    EXPECT_NE(fitted.find("..."), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("track.mp3"), std::string::npos) << fitted;
    SIZE size;
    GetTextExtentPoint32A(dc, fitted.c_str(), static_cast<int>(fitted.size()), &size);
    EXPECT_LE(size.cx, 1500 / forms::Screen.TwipsPerPixelX() + 1);

    const std::string end = FitTextWithEllipsis(dc, 1500, "A title that is much too long to fit", DT_END_ELLIPSIS);
    EXPECT_EQ(end.substr(end.size() - 3), "...") << end;

    EXPECT_EQ(FitTextWithEllipsis(dc, 20000, path, DT_PATH_ELLIPSIS), path);
    EXPECT_EQ(FitTextWithEllipsis(dc, 1500, "", DT_END_ELLIPSIS), "");
    ReleaseDC(nullptr, dc);
}


// ---- Window helpers ----

int g_paints = 0;

LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        ++g_paints;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// One window (and a child) for the whole suite: Wine waits two seconds
// for a window manager, which the test display lacks, to let a window go.
class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvellaShellTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "CorvellaShellTest", "shell test", WS_POPUP | WS_BORDER | WS_VISIBLE, 40, 50,
                                  300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        child_ = CreateWindowExA(0, "CorvellaShellTest", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, window_,
                                 nullptr, wc.hInstance, nullptr);
    }
    static void TearDownTestSuite() {
        if (window_) DestroyWindow(window_);
        window_ = child_ = nullptr;
        forms::DoEvents();
    }
    void SetUp() override {
        ASSERT_NE(window_, nullptr);
        ASSERT_NE(child_, nullptr);
        UpdateWindow(window_);
        forms::DoEvents();
    }
    static HWND window_;
    static HWND child_;
};
HWND WindowTest::window_ = nullptr;
HWND WindowTest::child_ = nullptr;

TEST_F(WindowTest, TopMostComesAndGoesWithoutMoving) {
    RECT before, after;
    GetWindowRect(window_, &before);
    SetTopMost(window_, true);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetTopMost(window_, false);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    GetWindowRect(window_, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(WindowTest, RedrawLockAndUnlockRepaintsAtOnce) {
    LockWindow(window_, true);
    EXPECT_FALSE(IsWindowVisible(window_));  // drawing off clears the visible bit
    const int before = g_paints;
    LockWindow(window_, false);
    EXPECT_TRUE(IsWindowVisible(window_));
    // Parent and child painted before LockWindow returned.
    EXPECT_GE(g_paints - before, 2);
}

TEST_F(WindowTest, ToolbarTurnsFlatAndProgressBarTakesColours) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, child_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    MakeToolbarFlat(child_);
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    EXPECT_EQ(style & 0x848, 0x848);
    EXPECT_NE(style & WS_CHILD, 0);
    MakeToolbarFlat(bar);  // no child: nothing happens

    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 20, window_,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(progress, nullptr);
    SetProgressBarColour(progress, RGB(1, 2, 3));
    SetProgressBackColour(progress, RGB(4, 5, 6));
    // Each message answers with the colour it replaces.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(progress, PBM_SETBARCOLOR, 0, CLR_DEFAULT)), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(progress, PBM_SETBKCOLOR, 0, CLR_DEFAULT)), RGB(4, 5, 6));
}

}  // namespace
}  // namespace shell
}  // namespace corvella
