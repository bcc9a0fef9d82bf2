#include "app/tools/wizards/frm_wiz_file_export.h"

namespace corvella {

FrmWizFileExport::FrmWizFileExport() {
    Design();
    Wire();
}

void FrmWizFileExport::Wire() {
    Form_Load = On(&FrmWizFileExport::Form_Load_);
    Combo1.Click = On(&FrmWizFileExport::Combo1_Click);
    List1.Click = On(&FrmWizFileExport::List1_Click);
    WizardButtons1.CancelClicked = On(&FrmWizFileExport::WizardButtons1_CancelClicked);
}

void FrmWizFileExport::Form_Load_() {
    WizardButtons1.Add(wizStart);
    WizardButtons1.Add(wizOptions);
    WizardButtons1.Add(WizardPage1);
    WizardButtons1.ShowPage(1);
    Combo1.SetListIndex(0);  // M3U
    Combo2.SetListIndex(1);  // version 2
}

// The fields and the version only matter for a CSV file.
void FrmWizFileExport::Combo1_Click(int) {
    const bool csv = Combo1.ListIndex() > 0;
    Combo2.SetEnabled(csv);
    List1.SetEnabled(csv);
}

void FrmWizFileExport::List1_Click(int) { List1.Refresh(); }

void FrmWizFileExport::WizardButtons1_CancelClicked(int) { Unload(); }

FrmWizFileExport& frmWizFileExport() { return forms::DefaultInstance<FrmWizFileExport>(); }

ToolResult OpenWizFileExport(forms::Form& owner, const FileSet&, const tags::TagPair&) {
    frmWizFileExport().Show(forms::kModal, &owner);
    return ToolResult();
}

}  // namespace corvella
