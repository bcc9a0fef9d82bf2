#include "app/tools/userfields/win32/frm_user_fields.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmUserFields::Design() {
    forms::DesignDialog(*this, "frmUserFields", "User Defined Field List", 4800, 4335);
    {
        auto& c = DESIGN(FlatTextBox1);
        c.Move(240, 240, 2895, 315);
    }
    {
        auto& c = DESIGN(lstFields);
        c.Move(240, 660, 2895, 2985);
    }
    const char* buttons[3] = {"Add", "Remove", "Close"};
    const int tops[3] = {210, 660, 3270};
    for (int i = 0; i < 3; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.isDefault = i == 0;
        c.cancel = i == 2;
        c.Move(3300, tops[i], 1215, 375);
    }
}

}  // namespace corvella
