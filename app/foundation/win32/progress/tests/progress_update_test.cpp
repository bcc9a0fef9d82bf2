// The batch progress window and its modal protocol on real windows: the
// batch runs from the caller's timer inside the modal show, reports "k of n",
// and stops after the current item once Cancel has hidden the window.
#include <windows.h>
#include <ole2.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/foundation/win32/progress/progress_update.h"

namespace corvella {
namespace {

constexpr UINT kGetBackColour = WM_USER + 14;
constexpr UINT kGetBarColour = WM_USER + 15;

int BarPos() {
    return static_cast<int>(SendMessageA(frmProgressUpdate().ProgressBar1.hWnd(), PBM_GETPOS, 0, 0));
}

class BatchProgress : public ::testing::Test {
protected:
    void SetUp() override {
        forms::SetMsgBoxHook([this](const std::string& prompt, unsigned, const std::string&) {
            boxes.push_back(prompt);
            return IDOK;
        });
        caller.name = "frmCaller";
        caller.caption = "Caller";
        caller.width = 7000;
        caller.height = 5000;
        caller.Show();
        ASSERT_TRUE(caller.Loaded());
    }
    void TearDown() override {
        frmProgressUpdate().Unload();
        caller.Unload();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            DispatchMessageA(&msg);
        }
        forms::SetMsgBoxHook(nullptr);
    }

    // What an item saw of the progress window while it was being worked on.
    struct Seen {
        std::string count, file, caption;
        int bar = -1;
        bool visible = false, modal = false, callerEnabled = true, ownedByCaller = false;
    };
    Seen Look() const {
        FrmProgressUpdate& p = frmProgressUpdate();
        Seen s;
        s.count = p.Label2.Caption();
        s.file = p.Label3.Caption();
        s.caption = p.Caption();
        s.bar = BarPos();
        s.visible = p.Visible();
        s.modal = p.InModalLoop();
        s.callerEnabled = IsWindowEnabled(caller.hWnd()) != 0;
        s.ownedByCaller = GetWindow(p.hWnd(), GW_OWNER) == caller.hWnd();
        return s;
    }

    std::vector<std::string> boxes;
    forms::Form caller;
};

TEST_F(BatchProgress, TheBatchRunsFromTheTimerInsideTheModalShowAndShowsKOfN) {
    std::vector<Seen> seen;
    const int done = RunBatch(
        caller, "Updating Tag Information...", 4,
        [](int i) { return "track" + std::to_string(i) + ".mp3"; },
        [&](int) { seen.push_back(Look()); });
    EXPECT_EQ(done, 4);
    ASSERT_EQ(seen.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].count, std::to_string(i + 1) + " of 4");
        EXPECT_EQ(seen[i].file, "track" + std::to_string(i + 1) + ".mp3");
        EXPECT_EQ(seen[i].bar, (i + 1) * 25);
        EXPECT_EQ(seen[i].caption, "Updating Tag Information...");
        EXPECT_TRUE(seen[i].visible);
        EXPECT_TRUE(seen[i].modal);
        EXPECT_FALSE(seen[i].callerEnabled) << "the caller takes no input meanwhile";
        EXPECT_TRUE(seen[i].ownedByCaller);
    }
    EXPECT_FALSE(frmProgressUpdate().Loaded()) << "unloaded at the end";
    EXPECT_TRUE(IsWindowEnabled(caller.hWnd()));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(BatchProgress, CancelStopsTheBatchAfterTheCurrentItem) {
    std::vector<int> items;
    const int done = RunBatch(
        caller, "Changing Case...", 10, [](int) { return std::string("a.mp3"); },
        [&](int i) {
            items.push_back(i);
            if (i == 3) frmProgressUpdate().cmdMain.DoClick();
            EXPECT_EQ(frmProgressUpdate().Label2.Caption(), std::to_string(i) + " of 10");
        });
    EXPECT_EQ(done, 3);
    EXPECT_EQ(items, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(frmProgressUpdate().Loaded());
    EXPECT_TRUE(IsWindowEnabled(caller.hWnd()));

    // Hidden from code, or cancelled during the last item: the item is
    // finished and the window unloaded as on a normal end.
    items.clear();
    EXPECT_EQ(RunBatch(caller, "x", 5, [](int) { return std::string(); },
                       [&](int i) {
                           items.push_back(i);
                           if (i == 5) frmProgressUpdate().Hide();
                       }),
              5);
    EXPECT_FALSE(frmProgressUpdate().Loaded());

    // Closed by hand: the same as Cancel.
    EXPECT_EQ(RunBatch(caller, "x", 6, [](int) { return std::string(); },
                       [&](int i) {
                           if (i == 2) SendMessageA(frmProgressUpdate().hWnd(), WM_CLOSE, 0, 0);
                       }),
              2);
    EXPECT_FALSE(frmProgressUpdate().Loaded());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(BatchProgress, ALaterTickWhileTheBatchYieldsDoesNotStartItAgain) {
    int entries = 0;
    int items = 0;
    EXPECT_TRUE(RunWithProgress(caller, [&] {
        ++entries;
        for (int i = 1; i <= 5; ++i) {
            frmProgressUpdate().UpdateProgress(std::to_string(i) + " of 5", "f",
                                               static_cast<int16_t>(batch::Percent(i, 5)), "c");
            Sleep(25);  // longer than the timer's interval
            ++items;
            if (!ProgressContinues()) break;
        }
    }));
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(items, 5);
    EXPECT_FALSE(frmProgressUpdate().Loaded());
}

TEST_F(BatchProgress, AFailingBatchIsReportedAndTheWindowStillGoes) {
    EXPECT_TRUE(RunWithProgress(caller, [] { throw std::runtime_error("Disk full"); }));
    EXPECT_FALSE(frmProgressUpdate().Loaded());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Disk full"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("frmCaller.tmrProgress_Timer"), std::string::npos) << boxes[0];
    EXPECT_TRUE(IsWindowEnabled(caller.hWnd()));
}

TEST_F(BatchProgress, AnUnloadedCallerRunsNothing) {
    forms::Form stranger;
    bool ran = false;
    EXPECT_FALSE(RunWithProgress(stranger, [&] { ran = true; }));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(frmProgressUpdate().Loaded());
}

TEST_F(BatchProgress, LongFileNamesEndInAnEllipsisThatFitsTheLabel) {
    FrmProgressUpdate& p = frmProgressUpdate();
    ASSERT_TRUE(p.Load());
    const std::string longName(
        "C:\\Music\\A very long artist name - an even longer album title - "
        "and the longest track title anybody ever gave a song.mp3");
    p.UpdateProgress("1 of 1", longName, 0, "Updating Tag Information...");
    const std::string shown = p.Label3.Caption();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LT(shown.size(), longName.size());
    SIZE extent{};
    GetTextExtentPoint32A(p.hDC(), shown.c_str(), static_cast<int>(shown.size()), &extent);
    RECT label{};
    GetClientRect(p.Label3.hWnd(), &label);
    EXPECT_LE(extent.cx, label.right);
    EXPECT_EQ(BarPos(), 0);

    p.UpdateProgress("1 of 1", "short & sweet.mp3", 100, "Done");
    EXPECT_EQ(p.Label3.Caption(), "short & sweet.mp3");
    EXPECT_EQ(BarPos(), 100);
    EXPECT_EQ(p.Caption(), "Done");

    // Its bar is white with the program's blue.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(p.ProgressBar1.hWnd(), kGetBackColour, 0, 0)),
              RGB(255, 255, 255));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(p.ProgressBar1.hWnd(), kGetBarColour, 0, 0)),
              RGB(23, 103, 180));
    p.Unload();
    // Not loaded: nothing happens, and the next load starts from the design.
    p.UpdateProgress("2 of 2", "x", 50, "Changed");
    EXPECT_FALSE(p.Loaded());
    EXPECT_EQ(p.Caption(), "Updating Tag Information...");
}

// A tool's batch: every failed file named once, in one message after the
// window has gone; Cancel ends it after the current file.
TEST_F(BatchProgress, FailedFilesAreNamedOnceInOneMessageAfterTheWindowHasGone) {
    const std::vector<std::string> paths = {"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3", "C:\\b.mp3"};
    for (const size_t cancelAt : {size_t(9), size_t(1)}) {
        std::vector<Seen> seen;
        std::string message;
        const batch::BatchOutcome out = RunBatchWithProgress(
            caller,
            [&] {
                ProgressWindowView view;
                return batch::RunItems(view, "Changing Case...", paths, [&](size_t i) {
                    seen.push_back(Look());
                    if (i == cancelAt) frmProgressUpdate().cmdMain.DoClick();
                    return paths[i] != "C:\\b.mp3";
                });
            },
            [&](const std::vector<std::string>& failed) {
                for (const std::string& f : failed) message += f + (frmProgressUpdate().Loaded() ? " shown;" : ";");
                return message;
            });
        EXPECT_EQ(out.done, cancelAt == 1 ? 2 : 4);
        EXPECT_EQ(out.cancelled, cancelAt == 1);
        EXPECT_EQ(seen.at(1).count, "2 of 4");
        EXPECT_EQ(seen.at(1).file, "b.mp3");
        EXPECT_TRUE(seen.at(1).modal);
        EXPECT_EQ(boxes, std::vector<std::string>{"C:\\b.mp3;"});
        boxes.clear();
    }
}

// The bar has no edge of its own: while the window shows, the flat look
// draws its thin one; the look's library is free to go once the window is.
TEST_F(BatchProgress, TheFlatLookEdgesTheBarWhileShownAndGoesWithTheWindow) {
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_EQ(GetModuleHandleA("Planomir.dll"), nullptr);
    COLORREF corner = 0;
    RunBatch(caller, "x", 1, [](int) { return std::string(); }, [&](int) {
        const HWND bar = frmProgressUpdate().ProgressBar1.hWnd();
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        HDC dc = GetWindowDC(bar);
        corner = GetPixel(dc, 0, 0);
        ReleaseDC(bar, dc);
    });
    EXPECT_EQ(corner, GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF) << "the edge on the screen, not the white bar";
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("Planomir.dll"), nullptr) << "released at unload";
    CoUninitialize();
}

TEST(BatchPercentTest, PositionOverTotalRoundedHalfToEven) {
    EXPECT_EQ(batch::Percent(1, 1), 100);
    EXPECT_EQ(batch::Percent(1, 3), 33);
    EXPECT_EQ(batch::Percent(2, 3), 67);
    EXPECT_EQ(batch::Percent(1, 8), 12);  // 12.5
    EXPECT_EQ(batch::Percent(3, 8), 38);  // 37.5
    EXPECT_EQ(batch::Percent(0, 5), 0);
    EXPECT_EQ(batch::Percent(1, 0), 0);
}

}  // namespace
}  // namespace corvella
