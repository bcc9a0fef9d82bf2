// The process-wide rules: error reports and skipped statements, timers
// entered again while they yield, DoEvents, twips at the screen's density,
// and App from the version resource.
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "libs/common/subclass/subclass.h"
#include "platform/forms/tests/forms_test_util.h"
#include "platform/forms/twips.h"

namespace corvella::forms::testing {
namespace {

using Runtime = FormsTest;

TEST_F(Runtime, AnErrorInAHandlerIsReportedAndTheProgramCarriesOn) {
    Form form;
    form.name = "frmTest";
    CommandButton go;
    go.name = "cmdGo";
    Timer work;
    work.name = "tmrWork";
    work.interval = 5;
    int clicks = 0;
    go.Click = [&](int) {
        if (++clicks == 1) throw Error("Subscript out of range", 9, 12);
        AtLine(7, [] { throw std::runtime_error("File not found"); });
    };
    work.Tick = [&](int) {
        work.SetEnabled(false);
        throw 42;  // not even an exception class
    };
    form.CreateControls = [&] {
        go.Create(form);
        work.Create(form);
    };
    form.Form_Load = [] { throw std::runtime_error("Load failed"); };
    form.Show();
    ASSERT_TRUE(form.Loaded());  // a failing Form_Load leaves the form loaded

    SendMessageA(go.hWnd(), BM_CLICK, 0, 0);
    SendMessageA(go.hWnd(), BM_CLICK, 0, 0);  // the handler still runs
    ASSERT_TRUE(PumpUntil([&] { return boxes.size() >= 4; }, 3000));
    EXPECT_EQ(clicks, 2);

    EXPECT_EQ(boxes[0].prompt, "Load failed\r\nin Quillmark.frmTest.Form_Load at line 0");
    EXPECT_EQ(boxes[1].prompt,
              "Subscript out of range\r\nin Quillmark.frmTest.cmdGo_Click at line 12");
    EXPECT_EQ(boxes[2].prompt, "File not found\r\nin Quillmark.frmTest.cmdGo_Click at line 7");
    EXPECT_EQ(boxes[3].prompt, "Unknown error\r\nin Quillmark.frmTest.tmrWork_Timer at line 0");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.buttons, static_cast<unsigned>(MB_OK));
        EXPECT_EQ(box.title, App.Title());
    }
    form.Unload();
}

// A subclass client that fails is reported under its form's name and the
// message carries on to the window's own procedure; without the program's
// boundary the failure is swallowed, never thrown through the system.
TEST_F(Runtime, AFailingSubclassClientIsReportedAndTheMessageGoesOn) {
    struct Failing : platform::ISubclass {
        long response = platform::kMsgResponseAfterOriginal;
        void put_MsgResponse(long v) override { response = v; }
        long get_MsgResponse() override { return response; }
        LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { throw Error("Overflow", 6, 3); }
    } client;
    TestForm form;
    form.Show();
    platform::SubclassManager manager;
    ASSERT_TRUE(manager.HookMessage(&client, form.hWnd(), WM_SETTEXT));

    SendMessageA(form.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("swallowed"));
    EXPECT_TRUE(boxes.empty());
    ReportSubclassFailures();
    SendMessageA(form.hWnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("reported"));
    platform::SetClientBoundary(nullptr);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "Overflow\r\nin Quillmark.frmTest.ISubclass_WindowProc at line 3");
    char text[32] = {};
    GetWindowTextA(form.hWnd(), text, sizeof text);
    EXPECT_STREQ(text, "reported") << "the window's own procedure still ran";
    manager.UnhookMessage(&client, form.hWnd(), WM_SETTEXT);
}

TEST_F(Runtime, ResumeNextRunsTheStatementsAfterAFailingOne) {
    Form form;
    form.name = "frmSkip";
    PictureBox pane;
    pane.name = "picPane";
    pane.width = 3000;
    form.CreateControls = [&] { pane.Create(form); };
    form.Load();

    std::vector<int> ran;
    ResumeNext skip;
    EXPECT_TRUE(skip([&] { ran.push_back(1); }));
    EXPECT_FALSE(skip([&] {
        pane.SetWidth(-15);  // Error 380: the pane keeps its width
        ran.push_back(2);
    }));
    EXPECT_FALSE(skip([&] { throw std::runtime_error("Type mismatch"); }));
    EXPECT_TRUE(skip([&] { ran.push_back(4); }));

    EXPECT_EQ(ran, (std::vector<int>{1, 4}));
    EXPECT_EQ(skip.Failures(), 2);
    EXPECT_EQ(skip.LastError(), "Type mismatch");
    EXPECT_EQ(pane.Width(), 3000);
    EXPECT_TRUE(boxes.empty());  // skipped errors are not reported
    form.Unload();
}

TEST_F(Runtime, ATimerIsEnteredAgainWhileItsHandlerYieldsAndAGuardHoldsItOff) {
    Form form;
    form.name = "frmList";
    form.Load();
    // A timer made at run time, as the listing timer is.
    auto timer = std::make_unique<Timer>();
    timer->name = "m_Timer";
    ASSERT_TRUE(timer->Create(form));
    bool busy = false;
    int entries = 0, reentries = 0, runs = 0, depth = 0, deepest = 0;
    timer->Tick = [&](int) {
        ++entries;
        if (busy) {
            ++reentries;  // a tick that arrives while the work yields
            return;
        }
        busy = true;
        deepest = std::max(deepest, ++depth);
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 150) {
            DoEvents();
            Sleep(2);
        }
        ++runs;
        --depth;
        timer->SetEnabled(false);
        busy = false;
    };
    timer->SetInterval(1);
    timer->SetEnabled(true);

    ASSERT_TRUE(PumpUntil([&] { return runs > 0 && !timer->Enabled(); }, 5000));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(deepest, 1);
    EXPECT_GT(reentries, 0);
    EXPECT_EQ(entries, runs + reentries);
    timer.reset();  // released before its form
    form.Unload();
}

TEST_F(Runtime, DoEventsReturnsThoughAFastTimerKeepsTicking) {
    Form form;
    form.name = "frmFast";
    Timer fast;
    fast.name = "tmrFast";
    fast.interval = 1;
    int ticks = 0;
    fast.Tick = [&](int) {
        Sleep(15);  // longer than the system's shortest interval (10 ms)
        // Without the bound DoEvents would never return; stop it here instead.
        if (++ticks == 60) fast.SetEnabled(false);
    };
    form.CreateControls = [&] { fast.Create(form); };
    form.Load();
    Sleep(20);
    const DWORD start = GetTickCount();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(DoEvents(), 1);
    EXPECT_LE(ticks, 15);  // a tick or two per call
    EXPECT_TRUE(fast.Enabled());
    EXPECT_LT(GetTickCount() - start, 2000u);
    form.Unload();
}

TEST_F(Runtime, TwipsPositionsRoundTripToPixelsAtTheScreensDensity) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const double tx = Screen.TwipsPerPixelX();
    const double ty = Screen.TwipsPerPixelY();
    EXPECT_DOUBLE_EQ(tx, 1440.0 / dpiX);
    EXPECT_DOUBLE_EQ(ty, 1440.0 / dpiY);
    EXPECT_EQ(Screen.Width(), PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), tx));
    EXPECT_EQ(Screen.Height(), PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), ty));

    Form form;
    form.name = "frmTwips";
    form.borderStyle = kBorderNone;  // outer and client rectangles alike
    form.left = PixelsToTwips(40, tx);
    form.top = PixelsToTwips(30, ty);
    form.width = PixelsToTwips(400, tx);
    form.height = PixelsToTwips(300, ty);
    Label label;
    label.name = "lblOutput";
    label.left = 2000;  // not on a pixel at every density
    label.top = 150;
    label.width = 1500;
    label.height = 255;
    form.CreateControls = [&] { label.Create(form); };
    form.Show();

    RECT outer{};
    GetWindowRect(form.hWnd(), &outer);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(outer.right - outer.left, 400);
    EXPECT_EQ(form.Left(), form.left);
    EXPECT_EQ(form.Width(), form.width);
    EXPECT_EQ(form.ScaleWidth(), PixelsToTwips(400, tx));
    EXPECT_EQ(form.ScaleHeight(), PixelsToTwips(300, ty));

    RECT rc{};
    GetWindowRect(label.hWnd(), &rc);
    MapWindowPoints(HWND_DESKTOP, form.hWnd(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, TwipsToPixels(2000, tx));
    EXPECT_EQ(label.Left(), PixelsToTwips(TwipsToPixels(2000, tx), tx));
    label.SetLeft(label.Left());  // what is read back stays put
    EXPECT_EQ(label.Left(), PixelsToTwips(TwipsToPixels(2000, tx), tx));

    form.Move(PixelsToTwips(10, tx), PixelsToTwips(20, ty), PixelsToTwips(320, tx),
              PixelsToTwips(240, ty));
    GetWindowRect(form.hWnd(), &outer);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.bottom - outer.top, 240);
    form.Unload();
}

TEST_F(Runtime, AppComesFromTheVersionResource) {
    EXPECT_EQ(App.Title(), "Forms Test");
    EXPECT_EQ(App.Major(), 3);
    EXPECT_EQ(App.Minor(), 14);
    EXPECT_EQ(App.Revision(), 159);
    EXPECT_EQ(App.ExeName(), "forms_tests");

    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module);
    folder.erase(folder.find_last_of('\\'));
    EXPECT_EQ(App.Path(), folder);

    // The message box's default title follows App.Title.
    App.SetTitle("Renamed");
    MsgBox("hello");
    App.SetTitle("Forms Test");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Renamed");
    EXPECT_EQ(boxes[0].prompt, "hello");
}

}  // namespace
}  // namespace corvella::forms::testing
