#include "app/mainwindow/about/frm_about.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmAbout::Design() {
    forms::DesignDialog(*this, "frmAbout", "About...", 6000, 4560);
    {
        auto& c = DESIGN(picIcon);
        c.borderStyle = forms::kBorderNone;
        c.Move(240, 240, 480, 480);
    }
    {
        auto& c = DESIGN(Label1);
        c.useMnemonic = false;
        c.fontBold = true;
        c.Move(900, 240, 4860, 255);
    }
    {
        auto& c = DESIGN(Label3);
        c.useMnemonic = false;
        c.Move(900, 540, 4860, 255);
    }
    {
        auto& c = DESIGN(Text1);
        c.multiLine = true;
        c.locked = true;
        c.scrollBars = forms::kScrollVertical;
        c.text =
            "This program is provided as it is, without warranty of any kind. Keep a copy of "
            "your music before you change many files at once.\r\n\r\n"
            "MP3 files are rewritten only where their tags lie; the audio is never re-encoded.";
        c.Move(240, 960, 5520, 1680);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "With thanks to everyone who sent in their comments, tips and album details.";
        c.useMnemonic = false;
        c.Move(240, 2760, 5520, 480);
    }
    {
        auto& c = Designed(cmdMain[0], "cmdMain");
        c.index = 0;
        c.caption = "&Ok";
        c.isDefault = true;
        c.cancel = true;
        c.Move(4560, 3480, 1200, 375);
    }
}

}  // namespace corvella
