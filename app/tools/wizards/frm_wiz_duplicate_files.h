// frmWizDuplicateFiles: the duplicate-file finder's six pages, their
// controls and the navigation between them. It compares, moves and deletes
// nothing; "&Close" closes it.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/controls/flatheader/flat_header.h"
#include "app/foundation/file_set.h"
#include "app/foundation/folder_search.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "app/controls/hosted/wizard_controls.h"
#include "platform/forms/forms.h"
#include "platform/listview/list_view.h"

namespace corvella {

class FrmWizDuplicateFiles : public forms::Form {
public:
    forms::WizardPage wizStart;
    forms::Label Label4, Label5, Label8;

    forms::WizardPage wizOutput;
    forms::Label Label1;
    forms::TextBox Text2;
    forms::CommandButton Command2;  // "&Browse"
    forms::CheckBox chkRecursive;

    forms::WizardPage wizOptions;
    forms::Label Label3;
    std::array<forms::OptionButton, 3> Option2;

    forms::WizardPage WizPreview;
    platform::ListView lvwPreview;
    forms::Label Label14, Label15;

    forms::WizardPage wizResults;
    forms::Label Label6;
    platform::ListView lvwResults;

    forms::WizardPage wizFinish;
    forms::Label Label13, Label12, Label11;
    forms::CheckBox Check2;

    forms::WizardButtons WizardButtons1;
    forms::ImageList imlFiles;
    // The small icons of both lists: the shell's small MP3 icon.
    forms::ImageList imlSmall;

    // The main window's folder (the folder tree's path) as Load finds it.
    std::string startFolder;

    FrmWizDuplicateFiles();

private:
    void Design();  // frm_wiz_duplicate_files_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void Command2_Click(int index);
    void WizardButtons1_CancelClicked(int index);

    controls::CFlatHeader flatHeader_;
    shell::Win32DirectoryLister lister_;
    std::unique_ptr<foundation::CFileSystem> FileSystem;
};

// The folder Text2 starts with: the main window's folder with a trailing
// backslash, the desktop's for "desktop" (any case).
std::string DuplicateStartFolder(const std::string& treePath, const std::string& desktop);

FrmWizDuplicateFiles& frmWizDuplicateFiles();

ToolResult OpenWizDuplicateFiles(forms::Form& owner, const FileSet& files, const tags::TagPair& tags);

}  // namespace corvella
