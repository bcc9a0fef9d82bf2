#include "app/mainwindow/frm_main.h"

#include "app/mainwindow/frm_loading.h"
#include "app/mainwindow/hand_over.h"

namespace corvella {

FrmMain::FrmMain() {
    Design();
    Wire();
}

void FrmMain::Design() {
    name = "frmMain";
    caption = "Corvella";
    borderStyle = forms::kSizable;
    startUpPosition = forms::kStartWindowsDefault;
    width = 12000;
    height = 9000;
}

void FrmMain::Wire() {
    Form_Load = On(&FrmMain::Form_Load_);
    WindowProc = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        return Form_WindowProc(msg, wp, lp, result);
    };
    Form_QueryUnload = On(&FrmMain::Form_QueryUnload_);
    Form_Unload = On(&FrmMain::Form_Unload_);
}

void FrmMain::Form_Load_() { LogHandOver("frmMain.Form_Load " + SplashValue()); }

bool FrmMain::Form_WindowProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT&) {
    if (msg == WM_SHOWWINDOW && wp != 0 && lp == 0) LogHandOver("frmMain shown " + SplashValue());
    return false;
}

void FrmMain::Form_QueryUnload_(int&, int) { frmLoading().Unload(); }

void FrmMain::Form_Unload_(int&) { LogHandOver("frmMain.Form_Unload"); }

FrmMain& frmMain() { return forms::DefaultInstance<FrmMain>(); }

}  // namespace corvella
