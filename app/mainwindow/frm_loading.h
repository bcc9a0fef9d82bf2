// frmLoading, the splash: it stands on top while the main window loads and
// hands over to it. Its bar is the clock of the hand-over: the main window is
// loaded at the 15th tick of the 1 ms timer and shown at the 50th, then the
// splash goes.
#pragma once

#include "app/controls/progressbar/progress_bar.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmLoading : public forms::Form {
public:
    static constexpr int kLoadMainAt = 15;
    static constexpr int kShowMainAt = 50;

    forms::Label Label2;
    forms::Label lblOutput;
    controls::ProgressBar pLoading;
    forms::Timer tmrProgress;

    FrmLoading();

private:
    void Design();  // frm_loading_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Activate_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    void tmrProgress_Timer(int index);

    bool inTick_ = false;
    FlatLook flat_;
};

// The default instance.
FrmLoading& frmLoading();

}  // namespace corvella
