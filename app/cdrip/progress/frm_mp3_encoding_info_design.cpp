#include "app/cdrip/progress/frm_mp3_encoding_info.h"
#include "platform/forms/form_style.h"

namespace corvella::cdrip {

void FrmMP3EncodingInfo::Design() {
    forms::DesignDialog(*this, "frmMP3EncodingInfo", "Encoding Progress", 5550, 2130);
    controlBox = false;
    {
        auto& c = DESIGN(Label3);
        c.caption = "Track:";
        c.Move(120, 120, 900, 255);
    }
    {
        auto& c = DESIGN(Label2);
        c.useMnemonic = false;
        c.Move(1080, 120, 4080, 255);
    }
    {
        auto& c = DESIGN(Label1);
        c.caption = "Filename:";
        c.Move(120, 420, 900, 255);
    }
    {
        auto& c = DESIGN(lblstatus);
        c.useMnemonic = false;  // file names may hold "&"
        c.Move(1080, 420, 4080, 255);
    }
    {
        auto& c = DESIGN(ProgressBar2);
        c.smooth = true;
        c.borderStyle = 0;
        c.min = 0;
        c.max = 100;
        c.Move(120, 780, 5040, 255);
    }
    {
        auto& c = DESIGN(cmdMain);
        c.caption = "&Cancel";
        c.cancel = true;
        c.Move(3960, 1140, 1200, 375);
    }
}

}  // namespace corvella::cdrip
