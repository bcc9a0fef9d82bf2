#include "app/mainwindow/frm_display_info.h"

#include "app/foundation/win32/shell/shell_helpers.h"
#include "platform/forms/form_style.h"

namespace corvella {

FrmDisplayInfo::FrmDisplayInfo() {
    Design();
    Wire();
}

void FrmDisplayInfo::Design() {
    forms::DesignDialog(*this, "frmDisplayInfo", "Searching for and Displaying  Files...", 5700, 1950);
    {
        auto& c = DESIGN(lblFilename);
        c.caption = "#### Filename ####";
        c.useMnemonic = false;
        c.Move(180, 150, 5220, 255);
    }
    {
        auto& c = DESIGN(ProgressBar1);
        c.smooth = true;
        c.Move(180, 480, 5220, 255);
    }
    {
        auto& c = DESIGN(cmdMain);
        c.caption = "&Cancel";
        c.cancel = true;
        c.Move(4140, 900, 1260, 375);
    }
}

void FrmDisplayInfo::Wire() {
    Form_Load = On(&FrmDisplayInfo::Form_Load_);
    Form_Unload = On(&FrmDisplayInfo::Form_Unload_);
    cmdMain.Click = On(&FrmDisplayInfo::cmdMain_Click);
}

void FrmDisplayInfo::Form_Load_() {
    flat_.Create(*this);
    shell::SetProgressBackColour(ProgressBar1.hWnd(), RGB(255, 255, 255));
    shell::SetProgressBarColour(ProgressBar1.hWnd(), RGB(23, 103, 180));
}

void FrmDisplayInfo::Form_Unload_(int&) { flat_.Destroy(); }

// Only hides: the listing that showed it may still read its state.
void FrmDisplayInfo::cmdMain_Click(int) { Hide(); }

FrmDisplayInfo& frmDisplayInfo() { return forms::DefaultInstance<FrmDisplayInfo>(); }

}  // namespace corvella
