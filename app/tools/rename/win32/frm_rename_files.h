// frmRenameFiles, "Rename": every listed file gets a name built from up to
// four of its row's fields, previewed before the run. The six choices live
// under Software\Corvella\options\Rename.
#pragma once

#include <array>
#include <vector>

#include "app/controls/flatheader/flat_header.h"
#include "app/foundation/file_set.h"
#include "app/foundation/files/file_service.h"
#include "app/foundation/files/tag_names.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/tools/rename/core/rename_choices.h"
#include "platform/forms/forms.h"
#include "platform/forms/image_list.h"
#include "platform/listview/list_view.h"

namespace corvella {

class FrmRenameFiles : public forms::Form {
public:
    forms::Label Label1;  // banner
    forms::Label Label2;
    std::array<forms::Label, 4> Label3;  // "Change To:", "Separator:", "Text Case:", "Preview:"
    std::array<forms::ComboBox, 4> cboName;
    forms::ComboBox cboSeperator;
    forms::ComboBox Combo1;  // text case
    platform::ListView lvFiles;  // the preview
    std::array<forms::CommandButton, 2> cmdMain;  // "&Rename Files", "&Close"

    // The settings and the file system it uses: the registry and the disk
    // unless a test gives others.
    explicit FrmRenameFiles(SettingsStore* store = nullptr, files::FileService* service = nullptr);

    // What the next showing works on; call before Load().
    void Prepare(const FileSet& files, forms::ImageList* smallIcons);
    // The files renamed so far, old path and new.
    const ToolResult& Result() const { return result_; }

    // Rebuilds the preview: one row per listed file, its name built with it.
    void UpdateDisplay();

private:
    void Design();  // frm_rename_files_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void cboName_Click(int index);
    void cboSeperator_Click(int index);
    void Combo1_Click(int index);
    void cmdMain_Click(int index);
    void RenameFiles();
    void ChoiceChanged();
    rename::RenameChoices Choices() const;

    SettingsStore* store_;
    files::FileService* service_;
    FileSet files_;
    forms::ImageList* smallIcons_ = nullptr;
    bool restoring_ = false;  // the load sets the six lists: one preview after
    std::vector<files::TagName> names_;  // with the preview, row by row
    ToolResult result_;
    FlatLook flat_;
    controls::CFlatHeader header_;
};

// Shows the window modally over `owner` for the listed files and answers
// with the files it renamed.
ToolResult ShowRenameFiles(forms::Form& owner, const FileSet& files, forms::ImageList* smallIcons);

}  // namespace corvella
