// The apply as the window runs it: the panel's masks, the toggles and the
// ticked rows handed to the apply engine under the modal progress window;
// afterwards the panel is back in single mode and every row is read again.
#include "app/mainwindow/apply/win32/com_tag_objects.h"
#include "app/mainwindow/frm_main.h"
#include "libs/common/scope/scope_exit.h"

namespace corvella {

void FrmMain::Command2_Click(int index) {
    switch (index) {
    case 0:
        ApplyID3Update();
        break;
    case 2:  // "Options..." on the side bar
        RunCommand("mnuOptions");
        break;
    default:
        break;
    }
}

void FrmMain::ApplyID3Update() {
    const FileSet files = Files();
    // Nothing to write: the panel catches up with the lost selection.
    if (files.SelectedRow() == nullptr) {
        UpdateDisplay(cboVersion.ListIndex());
        return;
    }
    if (!HasTags()) return;

    apply::ApplyRequest request;
    request.tagVersion = files.tagVersion;
    for (int i = 0; i < apply::kFieldCount; ++i) {
        request.masks[i] = i == apply::kGenreField ? cboGenre.Text() : txtField(i).Text();
        request.pressed[i] = Toolbar4.Exists(i) && Toolbar4(i).Buttons(1).Value() == 1;
    }
    for (const FileRow& row : files.rows) {
        request.rowKeys.push_back(row.path);
        request.ticked.push_back(row.ticked);
    }
    request.selectedRow = files.selected;
    apply::ReadApplySettings(Store(), request);

    // Whatever way the apply ends, the panel goes back to single mode and
    // the rows show what the files now hold.
    const auto ending = OnScopeExit([this] {
        forms::ResumeNext skip;
        Toolbar4.ForEach([&](platform::CommonToolbar& t) { skip([&] { t.Buttons(1).SetValue(0); }); });
        skip([&] { lvFiles.ColumnHeaders(1).SetWidth(0); });
        skip([&] { ToggleTagVersion(cboVersion.ListIndex()); });
    });
    apply::RunApplyWithProgress(*this, request, *shared_.tags.id3v1, *shared_.tags.id3v2);
}

}  // namespace corvella
