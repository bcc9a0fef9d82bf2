#include "app/tools/wizards/frm_wiz_duplicate_files.h"

#include "app/foundation/paths.h"
#include "app/foundation/win32/shell/folders.h"
#include "app/foundation/win32/shell/shell_icons.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {

using forms::WizardButtons;

namespace {

constexpr int kDesktopFolder = 16;  // CSIDL_DESKTOPDIRECTORY

void AddShellIcon(forms::ImageList& list, const shell::ShellFileInfo& info, const std::string& key) {
    if (info.icon == nullptr) return;
    list.AddIcon(info.icon, key);
    DestroyIcon(info.icon);
}

}  // namespace

std::string DuplicateStartFolder(const std::string& treePath, const std::string& desktop) {
    const std::string folder = AddBackslash(treePath);
    return LowerAscii(folder) == "desktop\\" ? AddBackslash(desktop) : folder;
}

FrmWizDuplicateFiles::FrmWizDuplicateFiles() {
    Design();
    Wire();
}

void FrmWizDuplicateFiles::Wire() {
    Form_Load = On(&FrmWizDuplicateFiles::Form_Load_);
    Form_Unload = On(&FrmWizDuplicateFiles::Form_Unload_);
    Command2.Click = On(&FrmWizDuplicateFiles::Command2_Click);
    WizardButtons1.CancelClicked = On(&FrmWizDuplicateFiles::WizardButtons1_CancelClicked);
}

void FrmWizDuplicateFiles::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] {
        flatHeader_.Attach(lvwResults.hWnd());
        controls::CFlatHeader::ThinBorder(lvwResults.hWnd(), true);
    });
    FileSystem = std::make_unique<foundation::CFileSystem>(lister_);
    Text2.SetText(DuplicateStartFolder(startFolder, shell::GetSpecialFolder(hWnd(), kDesktopFolder)));

    imlFiles.Clear();
    AddShellIcon(imlFiles, shell::QueryFileInfo(forms::App.Path(), shell::kSmallIcon), "Folder");
    AddShellIcon(imlFiles, shell::QueryExtensionInfo("MP3", shell::kSmallIcon), "MP3");
    imlSmall.Clear();
    AddShellIcon(imlSmall, shell::QueryExtensionInfo("MP3", shell::kSmallIcon), "");
    lvwResults.SetSmallIcons(&imlSmall);
    lvwPreview.SetSmallIcons(&imlSmall);

    WizardButtons1.Add(wizStart);
    WizardButtons1.Add(wizOutput);
    WizardButtons1.Add(wizOptions);
    WizardButtons1.Add(WizPreview);
    WizardButtons1.Add(wizResults);
    WizardButtons1.Add(wizFinish);
    WizardButtons1.SetDisplayPageInfo(true);
    WizardButtons1.ShowPage(1);
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonCancel, "&Close");
    WizardButtons1.SetButtonVisible(WizardButtons::ButtonHelp, false);
}

void FrmWizDuplicateFiles::Form_Unload_(int&) {
    forms::ResumeNext skip;
    skip([&] { flatHeader_.Detach(); });
    FileSystem.reset();
}

void FrmWizDuplicateFiles::Command2_Click(int) {
    const std::string chosen = shell::BrowseForFolder(
        hWnd(), "Please select a folder that contains the files that you wish to sort...", Text2.Text());
    if (!chosen.empty()) Text2.SetText(AddBackslash(chosen));
}

// Its button says "&Close": it closes.
void FrmWizDuplicateFiles::WizardButtons1_CancelClicked(int) { Unload(); }

FrmWizDuplicateFiles& frmWizDuplicateFiles() { return forms::DefaultInstance<FrmWizDuplicateFiles>(); }

ToolResult OpenWizDuplicateFiles(forms::Form& owner, const FileSet& files, const tags::TagPair&) {
    FrmWizDuplicateFiles& form = frmWizDuplicateFiles();
    form.startFolder = files.folder;
    form.Show(forms::kModal, &owner);
    return ToolResult();
}

}  // namespace corvella
