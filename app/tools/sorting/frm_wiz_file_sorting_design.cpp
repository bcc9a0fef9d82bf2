#include "app/tools/sorting/frm_wiz_file_sorting.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "platform/forms/form_style.h"

namespace corvella {
namespace {

constexpr auto Banner = &forms::WizardPage::BannerLook;
constexpr auto Splash = &forms::WizardPage::SplashLook;

// The splash pages' texts sit right of the band.
constexpr int kSplashLeft = 2760;
constexpr int kSplashWidth = 4440;

}  // namespace

void FrmWizFileSorting::Design() {
    forms::DesignDialog(*this, "frmWizFileSorting", "File Sorting Wizard", 7500, 5760);
    const com::ComPtr<IPictureDisp> band = MakePicture(Drawing::kWizardSplash);

    DESIGN(wizStart).properties = Splash(band.Get());
    DESIGN(wizOutput).properties =
        Banner("File Sorting Wizard", "Select the input and output folders that you wish to have sorted");
    DESIGN(wizOptions).properties =
        Banner("File Sorting Options", "Set the options for how you would like to sort your files");
    DESIGN(WizPreview).properties =
        Banner("File Sorting Preview", "Bellow is a preview of how the new, sorted filenames/paths will be changed too.");
    DESIGN(wizResults).properties =
        Banner("File Sorting Results",
               "The sorting process has completed, to review the results see thew section bellow.");
    DESIGN(wizFinish).properties = Splash(band.Get());
    DESIGN(WizardButtons1);

    // Page 1.
    {
        auto& c = DESIGN_IN(lblStartTitle, wizStart.Inside());
        c.caption = "File Sorting Wizard";
        c.fontName = "Tahoma";
        c.fontSize = 12;
        c.fontBold = true;
        c.Move(kSplashLeft, 360, kSplashWidth, 375);
    }
    {
        auto& c = DESIGN_IN(lblStartText, wizStart.Inside());
        c.caption = "This wizard will help you to sort and organize your music collection, it can sort your files "
                    "into folders based on their ID3 tag information.";
        c.Move(kSplashLeft, 1080, kSplashWidth, 1200);
    }
    {
        auto& c = DESIGN_IN(lblStartNext, wizStart.Inside());
        c.caption = "To start the wizard, click on the next button.";
        c.Move(kSplashLeft, 3600, kSplashWidth, 255);
    }

    // Page 2.
    {
        auto& c = DESIGN_IN(lblOutput, wizOutput.Inside());
        c.caption = "Folder to Store Sorted Files in";
        c.Move(600, 1140, 5160, 255);
    }
    {
        auto& c = DESIGN_IN(Text1, wizOutput.Inside());
        c.Move(600, 1440, 5160, 315);
    }
    {
        auto& c = DESIGN_IN(Command1, wizOutput.Inside());
        c.caption = "&Browse";
        c.Move(5880, 1410, 1155, 375);
    }
    {
        auto& c = DESIGN_IN(lblInput, wizOutput.Inside());
        c.caption = "Folder Containing Files to Sort";
        c.Move(600, 2040, 5160, 255);
    }
    {
        auto& c = DESIGN_IN(Text2, wizOutput.Inside());
        c.Move(600, 2340, 5160, 315);
    }
    {
        auto& c = DESIGN_IN(Command2, wizOutput.Inside());
        c.caption = "&Browse";
        c.Move(5880, 2310, 1155, 375);
    }
    {
        auto& c = DESIGN_IN(chkRecursive, wizOutput.Inside());
        c.caption = "Also Sort through Files in all Sub Folders";
        c.Move(600, 2880, 5160, 255);
    }

    // Page 3.
    {
        auto& c = DESIGN_IN(lblFolder, wizOptions.Inside());
        c.caption = "I would like to Sort files into Folders By:";
        c.Move(360, 1080, 4080, 255);
    }
    {
        auto& c = DESIGN_IN(cboFolder, wizOptions.Inside());
        c.style = forms::kDropDownList;
        for (const sorting::FieldChoice& f : sorting::FolderChoices()) c.items.push_back(f.caption);
        c.Move(360, 1350, 3600, 315);
    }
    {
        auto& c = DESIGN_IN(lblSubFolder, wizOptions.Inside());
        c.caption = "Then Sort files into Folders By:";
        c.Move(360, 1770, 4080, 255);
    }
    {
        auto& c = DESIGN_IN(cboSubFolder, wizOptions.Inside());
        c.style = forms::kDropDownList;
        for (const sorting::FieldChoice& f : sorting::SubFolderChoices()) c.items.push_back(f.caption);
        c.Move(360, 2040, 3600, 315);
    }
    {
        auto& c = DESIGN_IN(lblTagVersion, wizOptions.Inside());
        c.caption = "The Tag Information should be obtained from:";
        c.Move(360, 2460, 4080, 255);
    }
    {
        auto& c = DESIGN_IN(cboTagVersion, wizOptions.Inside());
        c.style = forms::kDropDownList;
        c.items = {"ID3 Version 1 Tag Field", "ID3 Version 2 Tag Field"};
        c.Move(360, 2730, 3600, 315);
    }
    {
        auto& c = DESIGN_IN(Check1, wizOptions.Inside());
        c.caption = "Attempt to Remove Folders that contain no Files";
        c.Move(360, 3240, 6600, 255);
    }
    {
        auto& c = DESIGN_IN(fraTip, wizOptions.Inside());
        c.caption = "Information Tip";
        c.Move(4560, 1080, 2580, 1980);
    }
    {
        auto& c = DESIGN_IN(lblTip, fraTip);
        c.caption = "If a file does not contain a tag then the file will be placed into a folder called \"Unknown\", "
                    "inside of the selected \"Sort To Folder\".";
        c.Move(120, 300, 2340, 1560);
    }

    // Page 4.
    {
        auto& c = DESIGN_IN(Label14, WizPreview.Inside());
        c.caption = "Preview Files:";
        c.Move(240, 1020, 1500, 255);
    }
    {
        auto& c = DESIGN_IN(Label15, WizPreview.Inside());
        c.useMnemonic = false;  // paths may hold "&"
        c.Move(1740, 1020, 5400, 255);
    }
    {
        auto& c = DESIGN_IN(lvwPreview, WizPreview.Inside());
        c.view = platform::kViewReport;
        c.hideColumnHeaders = true;
        c.Move(240, 1320, 6900, 2880);
    }

    // Page 5.
    {
        auto& c = DESIGN_IN(lblResults, wizResults.Inside());
        c.caption = "Sorting Results";
        c.Move(240, 1020, 6900, 255);
    }
    {
        auto& c = DESIGN_IN(lvwResults, wizResults.Inside());
        c.view = platform::kViewReport;
        c.Move(240, 1320, 6900, 2880);
    }

    // Page 6.
    {
        auto& c = DESIGN_IN(lblFinishTitle, wizFinish.Inside());
        c.caption = "Completed the File Sorting Wizard";
        c.fontName = "Tahoma";
        c.fontSize = 12;
        c.fontBold = true;
        c.Move(kSplashLeft, 360, kSplashWidth, 615);
    }
    {
        auto& c = DESIGN_IN(lblFinishText, wizFinish.Inside());
        c.caption = "The wizard has completed the sorting process, your files should now be correctly organised into "
                    "folders based on their ID3 Tag information.";
        c.Move(kSplashLeft, 1140, kSplashWidth, 960);
    }
    {
        auto& c = DESIGN_IN(lblFinishUnknown, wizFinish.Inside());
        c.caption = "If the wizard found files that contained ID3 tag information, that was not sufficient to use, "
                    "these files would have been place in a relevant folder called \"Unknown\"";
        c.Move(kSplashLeft, 2160, kSplashWidth, 960);
    }
    {
        auto& c = DESIGN_IN(Check2, wizFinish.Inside());
        c.caption = "Check this to Run the Wizard again";
        c.Move(kSplashLeft, 3480, kSplashWidth, 255);
    }
}

}  // namespace corvella
