#include "app/mainwindow/about/frm_about.h"

namespace corvella {

std::string AboutProductLine(const std::string& title, int major, int minor, int revision) {
    return "Velmora " + title + " (" + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision) + ")";
}

std::string AboutYearLine(int year) {
    return "Copyright (C) 2004-" + std::to_string(year) + " Velmora. All rights reserved.";
}

FrmAbout::FrmAbout() {
    Design();
    Wire();
}

void FrmAbout::Wire() {
    Form_Load = On(&FrmAbout::Form_Load_);
    picIcon.Paint = On(&FrmAbout::picIcon_Paint);
    cmdMain[0].Click = On(&FrmAbout::cmdMain_Click);
}

void FrmAbout::Form_Load_() {
    Label1.SetCaption(AboutProductLine(forms::App.Title(), forms::App.Major(), forms::App.Minor(),
                                       forms::App.Revision()));
    SYSTEMTIME now;
    GetLocalTime(&now);
    Label3.SetCaption(AboutYearLine(now.wYear));
}

// The program's own icon, else the system's application icon.
void FrmAbout::picIcon_Paint(int, HDC dc) {
    HICON icon = forms::App.Icon(false);
    if (icon == nullptr) icon = LoadIconA(nullptr, IDI_APPLICATION);
    DrawIcon(dc, 0, 0, icon);
}

void FrmAbout::cmdMain_Click(int index) {
    if (index == 0) Unload();
}

FrmAbout& frmAbout() { return forms::DefaultInstance<FrmAbout>(); }

}  // namespace corvella
