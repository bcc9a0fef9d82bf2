#include "app/tools/wizards/frm_wiz_duplicate_files.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "platform/forms/form_style.h"

namespace corvella {

namespace {

constexpr auto BannerPage = &forms::WizardPage::BannerLook;
constexpr auto SplashPage = &forms::WizardPage::SplashLook;

}  // namespace

void FrmWizDuplicateFiles::Design() {
    forms::DesignDialog(*this, "frmWizDuplicateFiles", "Duplicate File Finding Wizard", 7440, 5595);
    const com::ComPtr<IPictureDisp> band = MakePicture(Drawing::kWizardSplash);

    DESIGN(wizStart).properties = SplashPage(band.Get());
    {
        auto& c = DESIGN_IN(Label4, wizStart.Inside());
        c.caption = "Duplicate File Finding Wizard";
        c.fontBold = true;
        c.fontSize = 12;
        c.Move(2760, 300, 4320, 615);
    }
    {
        auto& c = DESIGN_IN(Label5, wizStart.Inside());
        c.caption = "This wizard will help you to sort and ogranize your music collection, it can help you to "
                    "remove duplicate files.";
        c.Move(2760, 1140, 4320, 855);
    }
    {
        auto& c = DESIGN_IN(Label8, wizStart.Inside());
        c.caption = "To start the wizard, click on the next button.";
        c.Move(2760, 3840, 4320, 255);
    }

    DESIGN(wizOutput).properties =
        BannerPage("File Sorting Wizard", "Select the input and output folders that you wish to have sorted");
    {
        auto& c = DESIGN_IN(Label1, wizOutput.Inside());
        c.caption = "Folder Containing Files to Check";
        c.Move(360, 1200, 6540, 255);
    }
    DESIGN_IN(Text2, wizOutput.Inside()).Move(360, 1500, 5160, 315);
    {
        auto& c = DESIGN_IN(Command2, wizOutput.Inside());
        c.caption = "&Browse";
        c.Move(5640, 1470, 1260, 375);
    }
    {
        auto& c = DESIGN_IN(chkRecursive, wizOutput.Inside());
        c.caption = "Sort Files in all Sub Folders";
        c.Move(360, 2040, 6540, 255);
    }

    DESIGN(wizOptions).properties =
        BannerPage("File Sorting Options", "Set the options for how you would like to sort your files");
    {
        auto& c = DESIGN_IN(Label3, wizOptions.Inside());
        c.caption = "I would like to validate compare files by";
        c.Move(360, 1200, 6540, 255);
    }
    const char* const ways[3] = {"Comparing the Files CRC Information", "Comparing the Files ID3 Tag Information",
                                 "Comparing File Names"};
    for (int i = 0; i < 3; ++i) {
        auto& c = Designed(Option2[i], "Option2", &wizOptions.Inside());
        c.index = i;
        c.caption = ways[i];
        c.Move(600, 1560 + i * 360, 6300, 255);
    }

    DESIGN(WizPreview).properties =
        BannerPage("File Sorting Preview",
                   "Bellow is a preview of how the new, sorted filenames/paths will be changed too.");
    {
        auto& c = DESIGN_IN(lvwPreview, WizPreview.Inside());
        c.Move(360, 1140, 6540, 2460);
    }
    {
        auto& c = DESIGN_IN(Label14, WizPreview.Inside());
        c.caption = "Searching Folder:";
        c.Move(360, 3720, 1500, 255);
    }
    {
        auto& c = DESIGN_IN(Label15, WizPreview.Inside());
        c.caption = "####";
        c.useMnemonic = false;
        c.Move(1920, 3720, 4980, 255);
    }

    DESIGN(wizResults).properties =
        BannerPage("File Sorting Results",
                   "The sorting process has completed, to review the results see thew section bellow.");
    {
        auto& c = DESIGN_IN(Label6, wizResults.Inside());
        c.caption = "Sorting Results";
        c.Move(360, 1140, 6540, 255);
    }
    {
        auto& c = DESIGN_IN(lvwResults, wizResults.Inside());
        c.Move(360, 1440, 6540, 2400);
        c.ColumnHeaders.Add("", "Filename", 3600);
        c.ColumnHeaders.Add("", "Result", 2400);
    }

    DESIGN(wizFinish).properties = SplashPage(band.Get());
    {
        auto& c = DESIGN_IN(Label13, wizFinish.Inside());
        c.caption = "Completed the File Sorting Wizard";
        c.fontBold = true;
        c.fontSize = 12;
        c.Move(2760, 300, 4320, 615);
    }
    {
        auto& c = DESIGN_IN(Label12, wizFinish.Inside());
        c.caption = "The wizard has completed the sorting process, your files should now be correctly organised "
                    "into folders based on their ID3 Tag information.";
        c.Move(2760, 1080, 4320, 855);
    }
    {
        auto& c = DESIGN_IN(Label11, wizFinish.Inside());
        c.caption = "If the wizard found files that contained ID3 tag information, that was not sufficient to use, "
                    "these files would have been place in a relivent folder called \"Unknown\"";
        c.useMnemonic = false;
        c.Move(2760, 2040, 4320, 1095);
    }
    {
        auto& c = DESIGN_IN(Check2, wizFinish.Inside());
        c.caption = "Check this to Run the Wizard again";
        c.Move(2760, 3840, 4320, 255);
    }

    DESIGN(WizardButtons1);
}

}  // namespace corvella
