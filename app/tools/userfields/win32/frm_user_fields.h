// frmUserFields, "User Defined Field List": the names of the user's own
// fields, one empty value each under Software\Corvella\Custom Fields.
// "Add" and "Remove" change the registry at once.
#pragma once

#include <array>

#include "app/foundation/settings_store.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmUserFields : public forms::Form {
public:
    forms::TextBox FlatTextBox1;
    forms::ListBox lstFields;
    std::array<forms::CommandButton, 3> cmdMain;  // "Add", "Remove", "Close"

    // The registry unless a test gives another store.
    explicit FrmUserFields(SettingsStore* store = nullptr);

private:
    void Design();  // frm_user_fields_design.cpp
    void Wire();

    void Form_Load_();
    void lstFields_Click(int index);
    void cmdMain_Click(int index);
    void AddField();
    void RemoveField();
    void UpdateButtons();

    SettingsStore* store_;
    FlatLook flat_;
};

// Shows the window modally over `owner`.
void ShowUserFields(forms::Form& owner);

}  // namespace corvella
