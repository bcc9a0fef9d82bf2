// frmDisplayInfo, the search-progress window of the folder listing: a bar,
// the file being read and "&Cancel", which only hides the window. Shown
// when a folder choice asks for it (none does today).
#pragma once

#include "app/controls/progressbar/progress_bar.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmDisplayInfo : public forms::Form {
public:
    controls::ProgressBar ProgressBar1;
    forms::Label lblFilename;
    forms::CommandButton cmdMain;

    FrmDisplayInfo();

    bool ShouldShow() const { return shouldShow_; }
    void SetShouldShow(bool on) { shouldShow_ = on; }

private:
    void Design();
    void Wire();
    void Form_Load_();
    void Form_Unload_(int& cancel);
    void cmdMain_Click(int index);

    FlatLook flat_;
    bool shouldShow_ = false;
};

FrmDisplayInfo& frmDisplayInfo();

}  // namespace corvella
