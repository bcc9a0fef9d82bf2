#include "app/startup/forms.h"

#include <cstdio>

#include "app/foundation/win32/shell/shell_helpers.h"
#include "app/startup/mod_main.h"

namespace corvella {

namespace {

std::string SplashValue() {
    FrmLoading& splash = frmLoading();
    return splash.Loaded() ? std::to_string(splash.pLoading.Value()) : std::string("-");
}

}  // namespace

void LogHandOver(const std::string& event) {
    static const std::string path = [] {
        char buf[MAX_PATH + 1] = {};
        const DWORD n = GetEnvironmentVariableA("CORVELLA_HANDOVER_LOG", buf, sizeof buf);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
    }();
    if (path.empty()) return;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", event.c_str());
        std::fclose(f);
    }
}

// ---- frmLoading -------------------------------------------------------------------

FrmLoading::FrmLoading() {
    name = "frmLoading";
    borderStyle = forms::kFixedDialog;
    minButton = false;
    maxButton = false;
    startUpPosition = forms::kStartCenterScreen;
    width = 5400;
    height = 1800;
    fontName = "Tahoma";

    Label2.name = "Label2";
    Label2.caption = "Gathering Program Information...";
    Label2.Move(180, 150, 4920, 255);
    lblOutput.name = "lblOutput";
    lblOutput.useMnemonic = false;
    lblOutput.Move(180, 450, 4920, 255);
    pLoading.name = "pLoading";
    pLoading.max = kShowMainAt;
    pLoading.smooth = true;
    pLoading.Move(180, 810, 4920, 255);
    tmrProgress.name = "tmrProgress";
    tmrProgress.interval = 1;
    tmrProgress.enabled = true;

    CreateControls = [this] {
        Label2.Create(*this);
        lblOutput.Create(*this);
        pLoading.Create(*this);
        tmrProgress.Create(*this);
    };
    Form_Load = [this] {
        SetCaption(forms::App.Title());
        shell::SetTopMost(hWnd(), true);
        shell::SetProgressBackColour(pLoading.hWnd(), RGB(255, 255, 255));
        shell::SetProgressBarColour(pLoading.hWnd(), RGB(23, 103, 180));
        lblOutput.SetCaption(forms::App.Title() + " is currently loading your personal settings.");
    };
    Form_Activate = [] {
        shell::SetHelpWindow(shell::kHelpWindowPopupLarge);
        forms::App.SetHelpFile(shell::AppHelpFile());
    };
    tmrProgress.Tick = [this](int) { TmrProgressTimer(); };
    // Closed by hand before the hand-over: the start ends with no form left.
    Form_QueryUnload = [](int&, int unloadMode) {
        if (unloadMode == forms::kUnloadControlMenu) frmMain().Unload();
    };
    Form_Unload = [](int&) { LogHandOver("frmLoading.Form_Unload"); };
}

void FrmLoading::TmrProgressTimer() {
    // The main window's load runs inside a tick; no tick may overtake it.
    if (inTick_) return;
    inTick_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{inTick_};

    pLoading.SetValue(pLoading.Value() + 1);
    const int value = pLoading.Value();
    if (value == kLoadMainAt && !frmMain().Load()) {
        // Without a main window there is nothing to hand over to.
        tmrProgress.SetEnabled(false);
        forms::MsgBox("The main window cannot be created.", MB_OK | MB_ICONERROR);
        SetExitCode(5);
        Unload();
        return;
    }
    if (value == kShowMainAt) {
        tmrProgress.SetEnabled(false);
        frmMain().Show(forms::kModeless);
        Unload();
    }
}

// ---- frmMain ----------------------------------------------------------------------

FrmMain::FrmMain() {
    name = "frmMain";
    caption = "Corvella";
    borderStyle = forms::kSizable;
    startUpPosition = forms::kStartWindowsDefault;
    width = 12000;
    height = 9000;

    Form_Load = [] { LogHandOver("frmMain.Form_Load " + SplashValue()); };
    WindowProc = [](UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
        if (msg == WM_SHOWWINDOW && wp != 0 && lp == 0) LogHandOver("frmMain shown " + SplashValue());
        return false;
    };
    Form_QueryUnload = [](int&, int) { frmLoading().Unload(); };
    Form_Unload = [](int&) { LogHandOver("frmMain.Form_Unload"); };
}

FrmLoading& frmLoading() { return forms::DefaultInstance<FrmLoading>(); }
FrmMain& frmMain() { return forms::DefaultInstance<FrmMain>(); }

}  // namespace corvella
