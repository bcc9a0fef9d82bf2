#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmCDDBCDChoice::Design() {
    forms::DesignDialog(*this, "frmCDDBCDChoice", "Audio-Disc Lookup...", 7080, 5160);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Search String:";
        c.Move(120, 210, 1260, 255);
    }
    {
        auto& c = DESIGN(Text1);
        c.Move(1440, 165, 3960, 315);
    }
    {
        auto& c = DESIGN(Command2);
        c.caption = "Search";
        c.isDefault = true;
        c.Move(5520, 135, 1320, 375);
    }
    {
        auto& c = DESIGN(ListView1);
        c.view = 3;
        c.hideSelection = false;
        const char* columns[4] = {"DiscID", "Artist", "Album", "Catagory"};
        const int widths[4] = {1100, 2000, 2400, 1100};
        for (int i = 0; i < 4; ++i) c.ColumnHeaders.Add("", columns[i], widths[i]);
        c.Move(120, 630, 6720, 2775);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "Apply Updates To:";
        c.Move(120, 3570, 1575, 255);
    }
    // Index 1 is version 1, shown first.
    const char* versions[2] = {"Version 2 Tags", "Version 1 Tags"};
    for (int i : {1, 0}) {
        auto& c = Designed(Check1[i], "Check1");
        c.index = i;
        c.caption = versions[i];
        c.value = 1;
        c.Move(1800 + (1 - i) * 1680, 3540, 1575, 255);
    }
    {
        auto& c = DESIGN(Image1);
        c.picture = MakePicture(Drawing::kLookupLogo);
        c.Move(120, 3960, 1800, 555);
    }
    {
        auto& c = DESIGN(Command1);
        c.caption = "Update Tags";
        c.enabled = false;
        c.Move(4200, 4080, 1320, 375);
    }
    {
        auto& c = DESIGN(Command3);
        c.caption = "&Cancel";
        c.cancel = true;
        c.Move(5640, 4080, 1200, 375);
    }
    {
        auto& c = DESIGN(FreeDB1);
        c.Move(2160, 3960);
    }
    {
        auto& c = DESIGN(Label3);
        c.visible = false;
        c.Move(2160, 4440, 1200, 255);
    }
}

}  // namespace corvella
