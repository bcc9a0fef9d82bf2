#include "app/tools/csv/win32/frm_csv.h"

#include <windows.h>

#include "app/foundation/paths.h"
#include "app/tools/csv/core/csv_text.h"

namespace corvella {

FrmCSV::FrmCSV() {
    Design();
    Wire();
}

void FrmCSV::Wire() {
    Form_Load = On(&FrmCSV::Form_Load_);
    Form_Unload = On(&FrmCSV::Form_Unload_);
    for (auto& c : Command1) c.Click = On(&FrmCSV::Command1_Click);
    for (auto& c : Command2) c.Click = On(&FrmCSV::Command2_Click);
}

void FrmCSV::Form_Load_() {
    forms::ResumeNext skip;
    written_.clear();
    skip([&] { List1[0].SetListIndex(0); });
    skip([&] { List1[1].SetListIndex(0); });
}

void FrmCSV::Form_Unload_(int&) { m_CommonDialog.Reset(); }

void FrmCSV::Command1_Click(int index) {
    if (index == 0) Export();
    else Unload();
}

// Moved columns go to the end of the other list, so the export order is
// the order in which they were moved.
void FrmCSV::Command2_Click(int index) {
    forms::ResumeNext skip;
    auto move = [](forms::ListBox& from, forms::ListBox& to) {
        const std::string text = from.Text();
        if (text.empty()) return;
        to.AddItem(text);
        from.RemoveItem(from.ListIndex());
    };
    auto moveAll = [&](forms::ListBox& from, forms::ListBox& to) {
        for (int n = from.ListCount(); n > 0; --n) {
            skip([&] { List1[0].SetListIndex(0); });
            skip([&] { List1[1].SetListIndex(0); });
            skip([&] { move(from, to); });
        }
    };
    switch (index) {
        case 1: skip([&] { move(List1[0], List1[1]); }); break;
        case 0: skip([&] { move(List1[1], List1[0]); }); break;
        case 2: moveAll(List1[0], List1[1]); break;
        case 3: moveAll(List1[1], List1[0]); break;
        default: break;
    }
    skip([&] { List1[0].SetListIndex(0); });
    skip([&] { List1[1].SetListIndex(0); });
    const bool available = List1[0].ListCount() > 0, exported = List1[1].ListCount() > 0;
    Command2[1].SetEnabled(available);
    Command2[2].SetEnabled(available);
    Command1[0].SetEnabled(exported);
    Command2[0].SetEnabled(exported);
    Command2[3].SetEnabled(exported);
}

// The save dialog, centred on this form; "" when the user cancels.
std::string FrmCSV::ChooseFile() {
    forms::FileDialogRequest request;
    request.title = csv::kDialogTitle;
    request.filter = csv::kDialogFilter;
    request.flags = static_cast<long>(csv::kDialogFlags);
    request.defaultExt = csv::kDefaultExt;
    request.cancelError = true;
    // "desktop" stands for the desktop, which the dialog shows by itself.
    if (files_.folder.find('\\') != std::string::npos) request.initDir = files_.folder;
    request.fileName = GetParentFolderName(AddBackslash(files_.folder));
    try {
        return m_CommonDialog.Show(true, request);
    } catch (const forms::Error& e) {
        if (forms::HookedCommonDialog::IsCancel(e)) return "";
        throw;
    }
}

// The dialog stays open after a cancel or a failure; it closes once the
// file is written.
void FrmCSV::Export() {
    try {
        bool appended = false;
        const std::string path = csv::CsvPath(ChooseFile(), appended);
        if (path.empty()) return;
        // The dialog asked about the name it returned, not about this one.
        if (appended && PathExists(path) &&
            forms::MsgBox(path + " already exists.\r\nDo you want to replace it?",
                          MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
        std::vector<std::string> columns;
        for (int i = 0; i < List1[1].ListCount(); ++i) columns.push_back(List1[1].List(i));
        csv::FileAudioSource audio(platform_filesystem());
        const std::string bytes = csv::FileBytes(csv::BuildCSVText(columns, files_.rows, audio));
        std::string error;
        if (!csv::WriteCsv(platform_filesystem(), path, bytes, error)) throw forms::Error(error);
        written_ = path;
        Unload();
    } catch (const std::exception& e) {
        forms::MsgBox(std::string("Error: ") + e.what(), MB_OK | MB_ICONEXCLAMATION);
    }
}

FrmCSV& frmCSV() { return forms::DefaultInstance<FrmCSV>(); }

ToolResult OpenCsvTool(forms::Form& owner, const FileSet& files, const tags::TagPair&) {
    FrmCSV& form = frmCSV();
    form.Prepare(files);
    form.Show(forms::kModal, &owner);
    return ToolResult();
}

}  // namespace corvella
