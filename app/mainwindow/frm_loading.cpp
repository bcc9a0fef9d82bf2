#include "app/mainwindow/frm_loading.h"

#include "app/foundation/win32/shell/help.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/mainwindow/frm_main.h"
#include "app/mainwindow/hand_over.h"
#include "libs/common/scope/scope_exit.h"

namespace corvella {

FrmLoading::FrmLoading() {
    Design();
    Wire();
}

void FrmLoading::Wire() {
    Form_Load = On(&FrmLoading::Form_Load_);
    Form_Activate = On(&FrmLoading::Form_Activate_);
    Form_QueryUnload = On(&FrmLoading::Form_QueryUnload_);
    Form_Unload = On(&FrmLoading::Form_Unload_);
    tmrProgress.Tick = On(&FrmLoading::tmrProgress_Timer);
}

void FrmLoading::Form_Load_() {
    SetCaption(forms::App.Title());
    shell::SetTopMost(hWnd(), true);
    flat_.Create(*this);
    shell::SetProgressBackColour(pLoading.hWnd(), RGB(255, 255, 255));
    shell::SetProgressBarColour(pLoading.hWnd(), RGB(23, 103, 180));
    lblOutput.SetCaption(forms::App.Title() + " is currently loading your personal settings.");
}

void FrmLoading::Form_Activate_() {
    shell::SetHelpWindow(shell::kHelpWindowPopupLarge);
    forms::App.SetHelpFile(shell::AppHelpFile());
}

// Closed by hand before the hand-over: the start ends with no form left.
void FrmLoading::Form_QueryUnload_(int&, int unloadMode) {
    if (unloadMode == forms::kUnloadControlMenu) frmMain().Unload();
}

void FrmLoading::Form_Unload_(int&) {
    LogHandOver("frmLoading.Form_Unload");
    flat_.Destroy();
}

void FrmLoading::tmrProgress_Timer(int) {
    // The main window's load runs inside a tick; no tick may overtake it.
    if (inTick_) return;
    inTick_ = true;
    const auto leave = OnScopeExit([this] { inTick_ = false; });

    pLoading.SetValue(pLoading.Value() + 1);
    const int value = pLoading.Value();
    if (value == kLoadMainAt && !frmMain().Load()) {
        // Without a main window there is nothing to hand over to.
        tmrProgress.SetEnabled(false);
        forms::MsgBox("The main window cannot be created.", MB_OK | MB_ICONERROR);
        forms::App.SetExitCode(5);
        Unload();
        return;
    }
    if (value == kShowMainAt) {
        tmrProgress.SetEnabled(false);
        frmMain().Show(forms::kModeless);
        Unload();
    }
}

FrmLoading& frmLoading() { return forms::DefaultInstance<FrmLoading>(); }

}  // namespace corvella
