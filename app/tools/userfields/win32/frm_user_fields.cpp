#include "app/tools/userfields/win32/frm_user_fields.h"

#include "app/foundation/settings.h"
#include "app/foundation/user_fields.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/userfields/core/user_field_list.h"

namespace corvella {
namespace {

const char kTitle[] = "User Defined Field List";

}  // namespace

FrmUserFields::FrmUserFields(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmUserFields::Wire() {
    Form_Load = On(&FrmUserFields::Form_Load_);
    lstFields.Click = On(&FrmUserFields::lstFields_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmUserFields::cmdMain_Click);
}

void FrmUserFields::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    std::vector<std::string> stored;
    skip([&] { GetAllSettings(*store_, stored, kCustomFieldsSection); });
    for (const std::string& field : userfields::ListedNames(stored)) lstFields.AddItem(field);
    if (lstFields.ListCount() > 0) lstFields.SetListIndex(0);
    UpdateButtons();
}

void FrmUserFields::lstFields_Click(int) { UpdateButtons(); }

void FrmUserFields::cmdMain_Click(int index) {
    if (index == 0) AddField();
    if (index == 1) RemoveField();
    if (index == 2) Unload();
}

// A name already listed (in any case) is the same registry value: it is
// selected, not listed again.
void FrmUserFields::AddField() {
    const std::string field = userfields::NameToAdd(FlatTextBox1.Text());
    if (field.empty()) return;
    std::vector<std::string> listed;
    for (int i = 0; i < lstFields.ListCount(); ++i) listed.push_back(lstFields.List(i));
    const int existing = userfields::FindName(listed, field);
    try {
        AddSetting(*store_, field, kCustomFieldsSection);
    } catch (const std::exception& e) {
        forms::MsgBox(hWnd(), "The field \"" + field + "\" could not be stored:\r\n" + e.what(),
                      MB_OK | MB_ICONEXCLAMATION, kTitle);
        return;
    }
    if (existing < 0) lstFields.AddItem(field);
    lstFields.SetListIndex(existing < 0 ? lstFields.ListCount() - 1 : existing);
    FlatTextBox1.SetText("");
    UpdateButtons();
}

void FrmUserFields::RemoveField() {
    const int at = lstFields.ListIndex();
    if (at < 0) return;
    const std::string field = lstFields.List(at);
    try {
        DeleteSetting(*store_, field, kCustomFieldsSection);
    } catch (const std::exception& e) {
        forms::MsgBox(hWnd(), "The field \"" + field + "\" could not be removed:\r\n" + e.what(),
                      MB_OK | MB_ICONEXCLAMATION, kTitle);
        return;
    }
    lstFields.RemoveItem(at);
    const int next = userfields::SelectionAfterRemove(at, lstFields.ListCount());
    if (next >= 0) lstFields.SetListIndex(next);
    UpdateButtons();
}

// "Remove" needs a selected entry.
void FrmUserFields::UpdateButtons() { cmdMain[1].SetEnabled(lstFields.ListIndex() >= 0); }

void ShowUserFields(forms::Form& owner) {
    FrmUserFields form;
    form.Show(forms::kModal, &owner);
}

}  // namespace corvella
