#include "app/mainwindow/frm_loading.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmLoading::Design() {
    forms::DesignDialog(*this, "frmLoading", "", 5400, 1980, forms::kStartCenterScreen);
    {
        auto& c = DESIGN(Label2);
        c.caption = "Gathering Program Information...";
        c.Move(180, 150, 4920, 255);
    }
    {
        auto& c = DESIGN(lblOutput);
        c.useMnemonic = false;
        // Two lines: the sentence begins with the program's title.
        c.Move(180, 450, 4920, 450);
    }
    {
        auto& c = DESIGN(pLoading);
        c.max = kShowMainAt;
        c.smooth = true;
        c.Move(180, 990, 4920, 255);
    }
    {
        auto& c = DESIGN(tmrProgress);
        c.interval = 1;
        c.enabled = true;
    }
}

}  // namespace corvella
