// The page-only wizards on real windows under Wine: their pages and
// banners in order, the page information, the controls of each page with
// their captions and items, the export's combos, the start folder, and the
// buttons that close them (the bar draws the page information itself). Neither touches a file.
#include <windows.h>

#include <string>
#include <vector>

#include "app/foundation/paths.h"
#include "app/foundation/win32/shell/folders.h"
#include "app/tools/wizards/frm_wiz_duplicate_files.h"
#include "app/tools/wizards/frm_wiz_file_export.h"
#include "platform/forms/activex/tests/activex_test_util.h"

namespace corvella {
namespace {

using forms::WizardButtons;
using forms::WizardPage;

using PageWizards = forms::testing::HostedControlTest;

HWND Button(forms::WizardButtons& bar, int which) { return GetDlgItem(bar.ControlWindow(), 100 + which); }
void Click(forms::WizardButtons& bar, int which) { SendMessageA(Button(bar, which), BM_CLICK, 0, 0); }
std::string TextOf(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}
std::vector<std::string> Items(const forms::ListControl& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

struct Banner {
    WizardPage* page;
    const char* title;  // "" for a splash page
    const char* description;
};

TEST_F(PageWizards, DuplicateFinderPagesInfoAndClose) {
    const std::string desktop = shell::GetSpecialFolder(nullptr, 16);
    EXPECT_EQ(DuplicateStartFolder("C:\\Music", desktop), "C:\\Music\\");
    EXPECT_EQ(DuplicateStartFolder("C:\\", desktop), "C:\\");
    EXPECT_EQ(DuplicateStartFolder("DeskTop", desktop), AddBackslash(desktop));

    FrmWizDuplicateFiles f;
    f.startFolder = "C:\\windows";
    f.Show();
    EXPECT_EQ(f.Text2.Text(), "C:\\windows\\");
    WizardButtons& bar = f.WizardButtons1;
    const Banner pages[] = {
        {&f.wizStart, "", ""},
        {&f.wizOutput, "File Sorting Wizard", "Select the input and output folders that you wish to have sorted"},
        {&f.wizOptions, "File Sorting Options", "Set the options for how you would like to sort your files"},
        {&f.WizPreview, "File Sorting Preview",
         "Bellow is a preview of how the new, sorted filenames/paths will be changed too."},
        {&f.wizResults, "File Sorting Results",
         "The sorting process has completed, to review the results see thew section bellow."},
        {&f.wizFinish, "", ""},
    };
    EXPECT_EQ(bar.PageCount(), 6);
    EXPECT_TRUE(bar.DisplayPageInfo()) << "the bar draws \"Page n of 6\"";
    for (int n = 1; n <= 6; ++n) {
        const Banner& b = pages[n - 1];
        EXPECT_EQ(bar.PageNumber(), n);
        EXPECT_TRUE(b.page->Visible()) << n;
        EXPECT_EQ(b.page->PageStyle(), *b.title ? WizardPage::Banner : WizardPage::Splash) << n;
        if (*b.title) {
            EXPECT_EQ(b.page->BannerTitle(), b.title) << n;
            EXPECT_EQ(b.page->BannerDescription(), b.description) << n;
        }
        Click(bar, WizardButtons::ButtonNext);
    }
    EXPECT_EQ(bar.PageNumber(), 6) << "Finish does nothing";
    EXPECT_TRUE(f.Loaded());
    EXPECT_FALSE(IsWindowVisible(Button(bar, WizardButtons::ButtonHelp)));
    EXPECT_EQ(TextOf(Button(bar, WizardButtons::ButtonCancel)), "&Close");
    EXPECT_EQ(f.Option2[1].Caption(), "Comparing the Files ID3 Tag Information");
    EXPECT_EQ(f.lvwResults.ColumnHeaders(2).Text(), "Result");
    Click(bar, WizardButtons::ButtonCancel);
    EXPECT_FALSE(f.Loaded()) << "\"&Close\" closes";

    f.startFolder = "desktop";
    f.Show();
    EXPECT_EQ(f.Text2.Text(), AddBackslash(desktop));
    f.Unload();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PageWizards, ExportWizardPagesAndCombos) {
    FrmWizFileExport f;
    f.Show();
    EXPECT_EQ(f.Caption(), "Exporting Wizard");
    WizardButtons& bar = f.WizardButtons1;
    EXPECT_EQ(bar.PageCount(), 3);
    EXPECT_EQ(f.wizStart.PageStyle(), WizardPage::Splash);
    for (WizardPage* page : {&f.wizOptions, &f.WizardPage1}) {
        EXPECT_EQ(page->BannerTitle(), "File Sorting Options");
        EXPECT_EQ(page->BannerDescription(), "Set the options for how you would like to sort your files");
    }
    const std::vector<std::string> kinds = {"M3U File (Music Playlist)", "CSV File (Comma Seperated Values)"};
    const std::vector<std::string> versions = {"ID3 Version 1 Tag Field", "ID3 Version 2 Tag Field"};
    EXPECT_TRUE(Items(f.Combo1) == kinds && Items(f.cboFolder) == kinds);
    EXPECT_TRUE(Items(f.Combo2) == versions && Items(f.cboTagVersion) == versions);
    EXPECT_EQ(Items(f.List1), (std::vector<std::string>{"Title", "Artist", "Album", "Genre", "Track Number",
                                                       "Comment", "Filename"}));
    EXPECT_EQ(f.Text1.Text(), "E:\\MP3\\Other");
    EXPECT_EQ(f.Label3[3].Caption(), "The Information should be obtained from:");
    EXPECT_EQ(f.Combo1.ListIndex(), 0);
    EXPECT_EQ(f.Combo2.ListIndex(), 1);
    // The fields and the version follow the kind: CSV only.
    const struct {
        int kind;
        bool enabled;
    } picks[] = {{-1, false}, {1, true}, {0, false}};
    for (const auto& p : picks) {
        if (p.kind >= 0) forms::testing::UserSelects(f.Combo1, p.kind);
        EXPECT_EQ(IsWindowEnabled(f.Combo2.hWnd()) != 0, p.enabled) << p.kind;
        EXPECT_EQ(IsWindowEnabled(f.List1.hWnd()) != 0, p.enabled) << p.kind;
    }
    for (int i = 0; i < 3; ++i) Click(bar, WizardButtons::ButtonNext);
    EXPECT_EQ(bar.PageNumber(), 3);
    EXPECT_TRUE(f.Loaded()) << "Finish does nothing";
    Click(bar, WizardButtons::ButtonCancel);
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace corvella
