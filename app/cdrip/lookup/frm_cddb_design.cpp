#include "app/cdrip/lookup/frm_cddb.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmCDDB::Design() {
    forms::DesignDialog(*this, "frmCDDB", "Searching for Titles", 5400, 2760);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Corvella is currently searching for, and downloading the track names for the currently "
                    "inserted CD-Rom.";
        c.useMnemonic = false;
        c.Move(180, 180, 4920, 735);
    }
    {
        auto& c = DESIGN(lblTitle);
        c.useMnemonic = false;
        c.visible = false;
        c.fontBold = true;
        c.Move(180, 1020, 4920, 255);
    }
    {
        auto& c = DESIGN(chkMixed);
        c.caption = "Disc is a compilation CD-Rom";
        c.visible = false;
        c.Move(180, 1380, 4920, 255);
    }
    const char* buttons[2] = {"&OK", "&Close"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.isDefault = i == 0;
        c.cancel = i == 1;
        c.enabled = i == 1;
        c.Move(2700 + i * 1320, 1800, 1200, 375);
    }
}

}  // namespace corvella
