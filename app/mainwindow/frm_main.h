// frmMain, the main window; for now an empty resizable window that takes
// part in the start-up hand-over.
#pragma once

#include "platform/forms/forms.h"

namespace corvella {

class FrmMain : public forms::Form {
public:
    FrmMain();

private:
    void Design();
    void Wire();

    void Form_Load_();
    bool Form_WindowProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
};

// The default instance.
FrmMain& frmMain();

}  // namespace corvella
