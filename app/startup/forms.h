// The program's top-level windows, on the forms run-time. Each form has one
// default instance, created on first use and addressed by its form's name:
// frmLoading(), frmMain().
#pragma once

#include <string>

#include "app/controls/progressbar/progress_bar.h"
#include "platform/forms/forms.h"

namespace corvella {

// The splash: stands on top while the main window loads and hands over to
// it. Its bar is the clock of the hand-over: the main window is loaded at the
// 15th tick of the 1 ms timer and shown at the 50th, then the splash goes.
class FrmLoading : public forms::Form {
public:
    static constexpr int kLoadMainAt = 15;
    static constexpr int kShowMainAt = 50;

    controls::ProgressBar pLoading;
    forms::Label lblOutput;
    forms::Label Label2;
    forms::Timer tmrProgress;

    FrmLoading();

private:
    void TmrProgressTimer();
    bool inTick_ = false;
};

// The main window; for now an empty resizable window.
class FrmMain : public forms::Form {
public:
    FrmMain();
};

FrmLoading& frmLoading();
FrmMain& frmMain();

// When the environment variable CORVELLA_HANDOVER_LOG names a file, the
// hand-over events are appended to it, one line each, so that a test can
// follow the start from outside: "frmMain.Form_Load <bar value>",
// "frmMain shown <bar value>", "frmLoading.Form_Unload", "frmMain.Form_Unload".
void LogHandOver(const std::string& event);

}  // namespace corvella
