// frmAbout, the about box: the product line with the program's version, a
// notice line whose years end at the current year, the notice and the
// acknowledgements. Loaded, shown modally and unloaded on "&Ok".
#pragma once

#include <array>
#include <string>

#include "platform/forms/forms.h"

namespace corvella {

// "Velmora Corvella (1.0.0)": the maker, the title and the version in plain
// decimal.
std::string AboutProductLine(const std::string& title, int major, int minor, int revision);
// "Copyright (C) 2004-2026 Velmora. All rights reserved." for `year`.
std::string AboutYearLine(int year);

class FrmAbout : public forms::Form {
public:
    forms::PictureBox picIcon;
    forms::Label Label1;  // the product line
    forms::Label Label3;  // the year line
    forms::TextBox Text1;  // the notice
    forms::Label Label2;  // the acknowledgements
    std::array<forms::CommandButton, 1> cmdMain;  // "&Ok"

    FrmAbout();

private:
    void Design();  // frm_about_design.cpp
    void Wire();

    void Form_Load_();
    void picIcon_Paint(int index, HDC dc);
    void cmdMain_Click(int index);
};

// The default instance.
FrmAbout& frmAbout();

}  // namespace corvella
