// The encoding progress window on real windows: caption, bar, the fitted
// name and its tooltip, the colours, and "&Cancel" hiding it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/cdrip/progress/frm_mp3_encoding_info.h"

namespace corvella::cdrip {
namespace {

constexpr UINT kGetBackColour = WM_USER + 14;
constexpr UINT kGetBarColour = WM_USER + 15;

struct Find {
    HWND owner, found;
};

BOOL CALLBACK OwnedTooltip(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Find*>(p);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (GetWindow(w, GW_OWNER) == f->owner && lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0) f->found = w;
    return TRUE;
}

HWND TooltipOf(HWND owner) {
    Find f{owner, nullptr};
    if (owner) EnumThreadWindows(GetCurrentThreadId(), OwnedTooltip, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::string TipText(FrmMP3EncodingInfo& w) {
    HWND tip = TooltipOf(w.hWnd());
    if (!tip) return "<no tooltip>";
    char text[512] = {};
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = w.hWnd();
    info.uId = reinterpret_cast<UINT_PTR>(w.lblstatus.hWnd());
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST(EncodingInfo, ShowsTheBlocksProgressAndCancelHides) {
    InitCommonControls();
    FrmMP3EncodingInfo& w = frmMP3EncodingInfo();
    w.Show();
    ASSERT_TRUE(w.Loaded());
    EXPECT_EQ(SendMessageA(w.ProgressBar2.hWnd(), kGetBackColour, 0, 0), LRESULT(RGB(255, 255, 255)));
    EXPECT_EQ(SendMessageA(w.ProgressBar2.hWnd(), kGetBarColour, 0, 0), LRESULT(RGB(23, 103, 180)));

    const std::string longName(200, 'n');
    const struct {
        std::string name;
        float done, total;
        const char* caption;
        int bar;
    } steps[] = {
        {"01 Short.mp3", 11, 200, "Encoding Progress 05.5 %", 6},
        {longName + ".mp3", 1, 8, "Encoding Progress 12.5 %", 12},
        {"03 Last & Best.mp3", 30, 60, "Encoding Progress 50.0 %", 50},
        // The blocks between are throttled; a track's last block always shows.
        {"03 Last & Best.mp3", 60, 60, "Encoding Progress 100.0 %", 100},
    };
    EncodingWindowProgress run;
    for (const auto& s : steps) {
        run.Update(s.name, s.done, s.total, "2 of 5");
        EXPECT_EQ(w.Caption(), s.caption);
        EXPECT_EQ(SendMessageA(w.ProgressBar2.hWnd(), PBM_GETPOS, 0, 0), s.bar);
        EXPECT_EQ(w.Label2.Caption(), "2 of 5");
        // The tooltip holds the whole name (reading it back gives 80 characters at most).
        const std::string tip = TipText(w);
        EXPECT_EQ(tip, s.name.substr(0, tip.size()));
        EXPECT_GE(tip.size(), std::min<size_t>(s.name.size(), 79));
        EXPECT_EQ(w.StatusTip(), s.name);
        const std::string shown = w.lblstatus.Caption();
        if (s.name == longName + ".mp3") {
            EXPECT_LT(shown.size(), s.name.size());
            EXPECT_EQ(shown.substr(shown.size() - 3), "...");
        } else {
            EXPECT_EQ(shown, s.name);
        }
    }
    EXPECT_TRUE(run.Visible());
    w.cmdMain.DoClick();
    EXPECT_FALSE(run.Visible());
    EXPECT_TRUE(w.Loaded());  // hidden, not gone: the run unloads it
    w.Unload();
    EXPECT_FALSE(w.Loaded());
    HWND left = nullptr;
    Find f{nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), OwnedTooltip, reinterpret_cast<LPARAM>(&f));
    left = f.found;  // a tooltip owned by no window would be one left behind
    EXPECT_EQ(left, nullptr);
}

}  // namespace
}  // namespace corvella::cdrip
