// frmWizFileExport, "Exporting Wizard": three pages, their controls and
// the navigation between them. It exports nothing.
#pragma once

#include <array>

#include "app/foundation/file_set.h"
#include "app/foundation/tags/tag_port.h"
#include "app/controls/hosted/wizard_controls.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmWizFileExport : public forms::Form {
public:
    forms::WizardPage wizStart;
    forms::Label Label4, Label5, Label8;

    forms::WizardPage wizOptions;
    forms::Label Label1;
    forms::TextBox Text1;
    forms::CommandButton Command2;  // "&Browse"
    forms::ComboBox cboFolder;
    forms::ComboBox cboTagVersion;
    forms::CheckBox Check1;

    forms::WizardPage WizardPage1;
    forms::ComboBox Combo1;  // the export's kind
    forms::ComboBox Combo2;  // the tag version
    forms::ListBox List1;    // the fields

    // The prompts, two on each options page.
    std::array<forms::Label, 4> Label3;

    forms::WizardButtons WizardButtons1;

    FrmWizFileExport();

private:
    void Design();  // frm_wiz_file_export_design.cpp
    void Wire();

    void Form_Load_();
    void Combo1_Click(int index);
    void List1_Click(int index);
    void WizardButtons1_CancelClicked(int index);
};

FrmWizFileExport& frmWizFileExport();

ToolResult OpenWizFileExport(forms::Form& owner, const FileSet& files, const tags::TagPair& tags);

}  // namespace corvella
