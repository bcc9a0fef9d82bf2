#include "app/cdrip/ripper/frm_mp3.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "platform/forms/form_style.h"

namespace corvella {

namespace {
const std::vector<std::string> kCases = {"Initial Case", "Upper Case", "Lower Case"};
}  // namespace

void FrmMP3::Design() {
    forms::DesignDialog(*this, "frmMP3", "Encode Audio CD-Rom", 6960, 5760);
    {
        imlIcon.name = "imlIcon";
        LoadPictures(imlIcon, PictureSet::kRipperTabs);
        auto& c = DESIGN(TabStrip1);
        c.tabs = {"General", "Encoding", "Output"};
        c.imageList = &imlIcon;
        c.images = {1, 2, 3};
        c.Move(120, 120, 6600, 4440);
    }
    // The three frames lie in one place over the tab strip's page.
    for (forms::Frame* f : {&Frame2, &Frame1, &Frame3}) f->Move(240, 480, 6360, 3960);
    DESIGN(Frame2).caption = "Input and Output Options";
    {
        auto& c = DESIGN_IN(lblInfo, Frame2);
        c.caption = "CD-Rom's:";
        c.Move(180, 330, 1200, 255);
    }
    {
        auto& c = DESIGN_IN(cboDriveList, Frame2);
        c.style = forms::kDropDownList;
        c.Move(1440, 285, 4740, 315);
    }
    {
        auto& c = DESIGN_IN(lblEncode, Frame2);
        c.caption = "Encode:";
        c.Move(180, 780, 1200, 255);
    }
    {
        auto& c = DESIGN_IN(lstTracks, Frame2);
        c.Move(1440, 750, 4740, 2400);
    }
    {
        auto& c = DESIGN_IN(lblOutputCaption, Frame2);
        c.caption = "Output Path:";
        c.Move(180, 3360, 1200, 255);
    }
    {
        auto& c = DESIGN_IN(lblOutput, Frame2);
        c.useMnemonic = false;
        c.Move(1440, 3360, 4740, 255);
    }

    {
        auto& c = DESIGN(Frame1);
        c.caption = "Encoding Details";
        c.visible = false;
    }
    const struct {
        forms::Label* label;
        const char* name;
        const char* caption;
        int top;
        int width;
    } labels[] = {
        {&lblBRType, "lblBRType", "Encoded Bit-Rate Type:", 330, 2400},
        {&lblBRQuality, "lblBRQuality", "Encoded Bit-Rate Quality:", 810, 2400},
        {&lblQuality, "lblQuality", "Sound Quality:", 1290, 2400},
        {&lblSpacial, "lblSpacial", "Spacial Mode:", 1770, 2400},
        // Nothing beside it: the whole line, or its last word wraps out of sight.
        {&lblFlags, "lblFlags", "Include the following flag bits:", 2250, 6000},
    };
    for (const auto& l : labels) {
        auto& c = Designed(*l.label, l.name, &Frame1);
        c.caption = l.caption;
        c.Move(180, l.top, l.width, 255);
    }
    const char* modes[2] = {"Variable", "Fixed"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(Option1[size_t(i)], "Option1", &Frame1);
        c.index = i;
        c.caption = modes[i];
        c.value = i == 0;
        c.Move(2640 + i * 1440, 330, 1320, 255);
    }
    std::vector<std::string> vbr = {"VBR 0 (Best Quality)"};
    for (int i = 1; i <= 8; ++i) vbr.push_back("VBR " + std::to_string(i));
    vbr.push_back("VBR 9 (Worst Quality)");
    const std::vector<std::string> lists[2] = {
        vbr, {"32", "40", "48", "56", "64", "80", "96", "112", "128", "160", "192", "224", "256", "320"}};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cboBR[size_t(i)], "cboBR", &Frame1);
        c.index = i;
        c.style = forms::kDropDownList;
        c.items = lists[i];
        c.visible = i == 0;
        c.Move(2640, 765, 3540, 315);
    }
    {
        auto& c = DESIGN_IN(cboQuality, Frame1);
        c.style = forms::kDropDownList;
        c.items = {"Low", "Normal", "High"};
        c.Move(2640, 1245, 3540, 315);
    }
    {
        auto& c = DESIGN_IN(Combo1, Frame1);
        c.style = forms::kDropDownList;
        c.items = {"Mono", "Stereo", "Joint Stereo", "Dual Channel"};
        c.Move(2640, 1725, 3540, 315);
    }
    const struct {
        forms::CheckBox* box;
        const char* name;
        const char* caption;
    } flags[] = {{&chkCopyright, "chkCopyright", "Copyright"},
                 {&chkCRC, "chkCRC", "CRC"},
                 {&chkOriginal, "chkOriginal", "Original"},
                 {&chkPrivate, "chkPrivate", "Private"}};
    for (int i = 0; i < 4; ++i) {
        auto& c = Designed(*flags[i].box, flags[i].name, &Frame1);
        c.caption = flags[i].caption;
        c.Move(360 + i * 1440, 2640, 1320, 255);
    }

    {
        auto& c = DESIGN(Frame3);
        c.caption = "Output Settings";
        c.visible = false;
    }
    const struct {
        forms::CheckBox* box;
        const char* name;
        const char* caption;
        int top;
    } ticks[] = {{&Check4, "Check4", "Create inside folders named based on:", 300},
                 {&Check3, "Check3", "Create filename based on:", 1080},
                 {&Check1, "Check1", "Convert the ID3 Tags text case into:", 1860},
                 {&Check2, "Check2", "Convert the Filename's text case into:", 2640}};
    for (const auto& t : ticks) {
        auto& c = Designed(*t.box, t.name, &Frame3);
        c.caption = t.caption;
        c.enabled = false;
        c.Move(180, t.top, 5880, 255);
    }
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cboFolders[size_t(i)], "cboFolders", &Frame3);
        c.index = i;
        c.style = forms::kDropDownList;
        c.items = {"Artist", "Album"};
        if (i == 1) c.items.insert(c.items.begin(), "Do Not Use");
        c.enabled = false;
        c.Move(420 + i * 1500, 600, 1400, 315);
    }
    for (int i = 0; i < 4; ++i) {
        auto& c = Designed(cboFilename[size_t(i)], "cboFilename", &Frame3);
        c.index = i;
        c.style = forms::kDropDownList;
        c.items = {"Artist", "Album", "Track No.", "Track"};
        if (i > 0) c.items.insert(c.items.begin(), "Do Not Use");
        c.enabled = false;
        c.Move(420 + i * 1460, 1380, 1380, 315);
    }
    for (forms::ComboBox* box : {&cboTagCase, &cboFileCase}) {
        auto& c = Designed(*box, box == &cboTagCase ? "cboTagCase" : "cboFileCase", &Frame3);
        c.style = forms::kDropDownList;
        c.items = kCases;
        c.enabled = false;
        c.Move(420, box == &cboTagCase ? 2160 : 2940, 2400, 315);
    }

    const char* buttons[4] = {"&Convert", "&Close", "&Internet CDDB...", "&Browse..."};
    const int lefts[4] = {4320, 5640, 120, 120};
    // Made left to right, the Tab order of the screen: Browse... and the
    // lookup share the left place, one shown per tab.
    for (int i : {3, 2, 0, 1}) {
        auto& c = Designed(cmdMain[size_t(i)], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.enabled = i != 0;
        c.visible = i != 2;
        c.cancel = i == 1;
        c.Move(lefts[i], 4800, i >= 2 ? 1680 : 1200, 375);
    }
}

}  // namespace corvella
