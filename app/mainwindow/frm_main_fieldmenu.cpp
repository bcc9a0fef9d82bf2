// The field menu beside each edit field: placeholder tokens, user-defined
// fields, pieces of the selected file's name and values taken from
// elsewhere, written into the field whose drop-down was pressed.
#include "app/foundation/masks.h"
#include "app/foundation/paths.h"
#include "app/foundation/settings.h"
#include "app/foundation/user_fields.h"
#include "app/mainwindow/core/edit_panel.h"
#include "app/mainwindow/frm_main.h"

namespace corvella {

using namespace foundation;

void FrmMain::UpdateFieldMenu() {
    try {
        std::vector<std::string> userFields;
        GetAllSettings(Store(), userFields, kCustomFieldsSection);
        std::vector<std::string> pieces;
        const std::string key = SelectedKey();
        if (!key.empty()) pieces = SplitByLikelySeparator(GetFileTitle(key, false));
        m_FieldPopupMenu.SetOwner(CurrentField > 6 ? Picture4.hWnd() : Picture3.hWnd());
        int32_t parent = 0;
        for (const mainwindow::MenuEntry& e : mainwindow::FieldMenuEntries(userFields, pieces)) {
            const int32_t index =
                m_FieldPopupMenu.AddItem(e.caption, "", 0, e.depth == 0 ? 0 : parent, -1, false, true, e.key);
            if (e.depth == 0) parent = index;
        }
        m_FieldPopupMenu.Store("FieldPopup");
    } catch (const std::exception& e) {
        forms::MsgBox(forms::ErrorText(e.what(), "frmMain.UpdateFieldMenu", 0), MB_OK);
    }
}

// The field's previous text is replaced; field 5 is the genre box.
void FrmMain::WriteField(const std::string& text) {
    if (CurrentField == mainwindow::kGenreField) {
        cboGenre.SetText(text);
    } else if (txtField.Exists(CurrentField)) {
        txtField(CurrentField).SetText(text);
    }
}

void FrmMain::m_FieldPopupMenu_Click(int32_t index) {
    const std::string key = m_FieldPopupMenu.ItemKey(index);
    const std::string token = mainwindow::FieldMenuToken(key);
    if (!token.empty()) {
        WriteField(token);
    } else if (key == "mnuExtractv1" || key == "mnuExtractv2") {
        WriteField(ExtractFieldFromFile(key == "mnuExtractv1" ? 0 : 1, CurrentField));
    } else if (key == "mnuAddMore") {
        OpenTool(key);
        UpdateFieldMenu();
    } else if (key == "mnuParseFile" || key == "mnuParseFolder") {
        const std::string selected = SelectedKey();
        if (selected.empty() || !QuickExtractConnected()) return;
        const bool file = key == "mnuParseFile";
        const std::optional<std::string> text =
            RunQuickExtract(file ? GetFileTitle(selected, false) : GetParentFolderName(selected), file ? 1 : 0);
        if (text) WriteField(*text);
    } else {
        WriteField(m_FieldPopupMenu.Caption(index));
    }
}

}  // namespace corvella
