#include "app/foundation/files/tag_names.h"
#include "app/tools/quickextract/win32/frm_quick_extract.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmQuickExtract::Design() {
    forms::DesignDialog(*this, "frmQuickExtract", "Parse", 5850, 5010);
    {
        auto& c = DESIGN(Label3);
        c.caption = "Parse Text Information";
        c.Move(240, 180, 5280, 255);
    }
    {
        auto& c = DESIGN(lblFilename);
        c.useMnemonic = false;
        c.Move(240, 600, 5280, 255);
    }
    {
        auto& c = DESIGN(lstFoundFields);
        c.Move(240, 960, 5295, 1035);
    }
    {
        auto& c = DESIGN(cboTokkenChoice);
        c.style = forms::kDropDownList;
        c.items = {"Predefined Tokken", "Custom Tokken"};
        c.Move(240, 2100, 1695, 315);
    }
    // The two overlap; the choice brings one to the front.
    {
        auto& c = DESIGN(txtTokken);
        c.Move(2040, 2100, 3495, 315);
    }
    {
        auto& c = DESIGN(cboTokken);
        c.style = forms::kDropDownList;
        c.items.assign(files::kSeparatorItems, files::kSeparatorItems + files::kSeparatorCount);
        c.Move(2040, 2100, 3495, 315);
    }
    {
        auto& c = DESIGN(Label1);
        c.caption = "Return As:";
        c.Move(240, 2580, 1695, 255);
    }
    const char* options[2] = {"Text", "Section Text (Filename Mapping)"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(Option1[i], "Option1");
        c.index = i;
        c.caption = options[i];
        c.value = i == 0;
        c.Move(2040, 2580 + i * 300, 3495, 255);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "To use this option effectively you must ensure that all file that are to be modified have the "
                    "same structure of filename.";
        c.useMnemonic = false;
        c.Move(240, 3300, 5295, 615);
    }
    const char* buttons[2] = {"&OK", "&Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.isDefault = i == 0;
        c.cancel = i == 1;
        c.Move(2940 + i * 1350, 4080, 1215, 375);
    }
}

}  // namespace corvella
