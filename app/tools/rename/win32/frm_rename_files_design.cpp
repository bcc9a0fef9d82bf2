#include "app/tools/rename/core/rename_choices.h"
#include "app/tools/rename/win32/frm_rename_files.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmRenameFiles::Design() {
    forms::DesignDialog(*this, "frmRenameFiles", "Rename", 6930, 6600);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Rename Files";
        c.Move(240, 180, 6240, 255);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "Use this section to change a file's name based on its contained Tag Information";
        c.useMnemonic = false;
        c.Move(240, 480, 6240, 435);
    }
    const char* labels[4] = {"Change To:", "Separator:", "Text Case:", "Preview:"};
    const int labelTops[4] = {1080, 1920, 2340, 2820};
    for (int i = 0; i < 4; ++i) {
        auto& c = Designed(Label3[i], "Label3");
        c.index = i;
        c.caption = labels[i];
        c.Move(240, labelTops[i], 1200, 255);
    }
    for (int i = 0; i < 4; ++i) {
        auto& c = Designed(cboName[i], "cboName");
        c.index = i;
        c.style = forms::kDropDownList;
        c.items.assign(rename::kNamePartItems, rename::kNamePartItems + rename::kNamePartCount);
        if (i > 0) c.items.insert(c.items.begin(), "Do Not Use");
        c.Move(1440 + (i % 2) * 2580, 1020 + (i / 2) * 390, 2460, 315);
    }
    {
        auto& c = DESIGN(cboSeperator);
        c.style = forms::kDropDownList;
        c.items.assign(files::kSeparatorItems, files::kSeparatorItems + files::kSeparatorCount);
        c.Move(1440, 1860, 2460, 315);
    }
    {
        auto& c = DESIGN(Combo1);
        c.style = forms::kDropDownList;
        c.items.assign(rename::kCaseItems, rename::kCaseItems + rename::kCaseCount);
        c.Move(1440, 2280, 2460, 315);
    }
    {
        auto& c = DESIGN(lvFiles);
        c.view = platform::kViewReport;
        c.Move(240, 3120, 6360, 2340);
    }
    const char* buttons[2] = {"&Rename Files", "&Close"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.enabled = i != 0;
        c.cancel = i == 1;
        c.Move(3720 + i * 1470, 5640, 1350, 375);
    }
}

}  // namespace corvella
