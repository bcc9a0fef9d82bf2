#include "app/mainwindow/options/frm_options.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmOptions::Design() {
    forms::DesignDialog(*this, "frmOptions", "", 6720, 5880);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Double clicking a file will";
        c.Move(240, 255, 2520, 255);
    }
    {
        auto& c = DESIGN(cboChoice);
        c.style = forms::kDropDownList;
        c.items = {"Play the file using the internal player*", "Play the file using systems default player",
                   "Check or Uncheck the file!"};
        c.Move(2760, 210, 3720, 315);
    }
    {
        auto& c = DESIGN(Frame1);
        c.caption = "Tagging Options";
        c.Move(120, 690, 6360, 2850);
    }
    {
        auto& c = DESIGN_IN(Check1, Frame1);
        c.caption = "Add Ellipsis (...) to long version 1 tags";
        c.Move(240, 300, 5880, 255);
    }
    {
        auto& c = DESIGN_IN(Check2, Frame1);
        c.caption = "Automatically rename files after applying tag updates, based on:";
        c.Move(240, 630, 5880, 255);
    }
    for (int i = 0; i < 4; ++i) {
        auto& c = Designed(cboFilename[i], "cboFilename", &Frame1);
        c.index = i;
        c.style = forms::kDropDownList;
        c.items = {"Artist", "Album", "Track No.", "Track"};
        if (i > 0) c.items.insert(c.items.begin(), "Do Not Use");
        c.Move(480 + i * 1440, 960, 1335, 315);
    }
    {
        auto& c = DESIGN_IN(Check3, Frame1);
        c.caption = "Files should automatically be Checked";
        c.Move(240, 1440, 5880, 255);
    }
    {
        auto& c = DESIGN_IN(lblNote, Frame1);
        c.caption = "Updating to both versions is not recomended for for use with the pre-defined #sync# field "
                    "or when removing ID3 tags.";
        c.useMnemonic = false;
        c.Move(240, 1860, 5880, 735);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "When changing folders";
        c.Move(240, 3660, 2520, 255);
    }
    // Neither mode is read anywhere: shown, but not offered as a choice.
    const char* modes[2] = {"Basic Selection Mode", "Advanced Selection Mode"};
    const char* notes[2] = {"The files of the new folder are listed as they are found.",
                            "The files of the new folder are listed for a selection of your own."};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(Option1[i], "Option1");
        c.index = i;
        c.caption = modes[i];
        c.value = i == 0;
        c.enabled = false;
        c.Move(360, 3960 + i * 480, 2400, 255);
    }
    {
        auto& c = DESIGN(Label3);
        c.caption = notes[0];
        c.enabled = false;
        c.Move(2880, 3960, 3600, 420);
    }
    {
        auto& c = DESIGN(Label4);
        c.caption = notes[1];
        c.enabled = false;
        c.Move(2880, 4440, 3600, 420);
    }
    const char* buttons[2] = {"&Apply", "&Close"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(cmdMain[i], "cmdMain");
        c.index = i;
        c.caption = buttons[i];
        c.isDefault = i == 0;
        c.cancel = i == 1;
        c.Move(3960 + i * 1320, 5010, 1200, 375);
    }
}

}  // namespace corvella
