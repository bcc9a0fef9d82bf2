#include "app/tools/wizards/frm_wiz_file_export.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "platform/forms/form_style.h"

namespace corvella {

namespace {

constexpr auto BannerPage = &forms::WizardPage::BannerLook;
constexpr auto SplashPage = &forms::WizardPage::SplashLook;

}  // namespace

namespace {

const char kOptionsTitle[] = "File Sorting Options";
const char kOptionsDescription[] = "Set the options for how you would like to sort your files";
const std::vector<std::string> kKinds = {"M3U File (Music Playlist)", "CSV File (Comma Seperated Values)"};
const std::vector<std::string> kVersions = {"ID3 Version 1 Tag Field", "ID3 Version 2 Tag Field"};

}  // namespace

void FrmWizFileExport::Design() {
    forms::DesignDialog(*this, "frmWizFileExport", "Exporting Wizard", 7440, 5595);
    const com::ComPtr<IPictureDisp> band = MakePicture(Drawing::kWizardSplash);

    DESIGN(wizStart).properties = SplashPage(band.Get());
    {
        auto& c = DESIGN_IN(Label4, wizStart.Inside());
        c.caption = "Exporting Wizard";
        c.fontBold = true;
        c.fontSize = 12;
        c.Move(2760, 300, 4320, 615);
    }
    {
        auto& c = DESIGN_IN(Label5, wizStart.Inside());
        c.caption = "This wizard will help you to sort and ogranize your music collection, it can sort your files "
                    "into folders based on their ID3 tag information.";
        c.Move(2760, 1140, 4320, 855);
    }
    {
        auto& c = DESIGN_IN(Label8, wizStart.Inside());
        c.caption = "To start the wizard, click on the next button.";
        c.Move(2760, 3840, 4320, 255);
    }

    // The prompts of both options pages: Label3(0), (1) on the first,
    // (2), (3) on the second.
    const char* const prompts[2] = {"I would like to export a file listing into a:",
                                    "The Information should be obtained from:"};
    auto prompt = [&](int i, forms::WizardPage& page, int top) {
        auto& c = Designed(Label3[i], "Label3", &page.Inside());
        c.index = i;
        c.caption = prompts[i % 2];
        c.Move(360, top, 3600, 255);
    };

    DESIGN(wizOptions).properties = BannerPage(kOptionsTitle, kOptionsDescription);
    {
        auto& c = DESIGN_IN(Label1, wizOptions.Inside());
        c.caption = "Folder Containing Files to Sort";
        c.Move(360, 1140, 6540, 255);
    }
    {
        auto& c = DESIGN_IN(Text1, wizOptions.Inside());
        c.text = "E:\\MP3\\Other";
        c.Move(360, 1440, 5160, 315);
    }
    {
        auto& c = DESIGN_IN(Command2, wizOptions.Inside());
        c.caption = "&Browse";
        c.Move(5640, 1410, 1260, 375);
    }
    prompt(0, wizOptions, 2040);
    {
        auto& c = DESIGN_IN(cboFolder, wizOptions.Inside());
        c.style = forms::kDropDownList;
        c.items = kKinds;
        c.Move(3960, 1995, 2940, 315);
    }
    prompt(1, wizOptions, 2520);
    {
        auto& c = DESIGN_IN(cboTagVersion, wizOptions.Inside());
        c.style = forms::kDropDownList;
        c.items = kVersions;
        c.Move(3960, 2475, 2940, 315);
    }
    {
        auto& c = DESIGN_IN(Check1, wizOptions.Inside());
        c.caption = "Attempt to Remove Folders that contain no Files";
        c.Move(360, 3060, 6540, 255);
    }

    DESIGN(WizardPage1).properties = BannerPage(kOptionsTitle, kOptionsDescription);
    prompt(2, WizardPage1, 1200);
    {
        auto& c = DESIGN_IN(Combo1, WizardPage1.Inside());
        c.style = forms::kDropDownList;
        c.items = kKinds;
        c.Move(3960, 1155, 2940, 315);
    }
    prompt(3, WizardPage1, 1680);
    {
        auto& c = DESIGN_IN(Combo2, WizardPage1.Inside());
        c.style = forms::kDropDownList;
        c.items = kVersions;
        c.Move(3960, 1635, 2940, 315);
    }
    {
        auto& c = DESIGN_IN(List1, WizardPage1.Inside());
        c.items = {"Title", "Artist", "Album", "Genre", "Track Number", "Comment", "Filename"};
        c.Move(360, 2160, 6540, 1620);
    }

    DESIGN(WizardButtons1);
}

}  // namespace corvella
