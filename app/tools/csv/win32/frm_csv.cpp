#include "app/tools/csv/win32/frm_csv.h"

#include <windows.h>

#include "app/foundation/paths.h"
#include "app/tools/csv/core/csv_text.h"
#include "libs/common/com/com_text.h"
#include "libs/commondialog/com/ossivane.h"
#include "platform/forms/automation.h"

namespace corvella {
namespace {

// The dialog object's "User selected cancel.", as it raises it.
constexpr long kErrCancel = 20001;

_cCommonDialog* Dialog(const com::ComPtr<IDispatch>& d) { return static_cast<_cCommonDialog*>(d.Get()); }

// The text the dialog object gave its failure.
std::string ErrorDescription(HRESULT hr) {
    std::string text = com::TakeErrorDescription();
    if (text.empty()) text = "The save dialog failed (error " + std::to_string(static_cast<long>(hr)) + ").";
    return text;
}

void Check(HRESULT hr) {
    if (FAILED(hr)) throw forms::Error(ErrorDescription(hr), static_cast<long>(hr));
}

bool IsCancel(HRESULT hr) { return HRESULT_FACILITY(hr) == FACILITY_CONTROL && HRESULT_CODE(hr) == kErrCancel; }

}  // namespace

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

// The dialog object with its InitDialog connected, so that the save dialog
// opens centred on this form. Without the library the export reports it.
void FrmCSV::Form_Load_() {
    forms::ResumeNext skip;
    written_.clear();
    skip([&] {
        if (FAILED(CoCreateInstance(CLSID_cCommonDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(_cCommonDialog),
                                    m_CommonDialog.PutVoid())))
            return;
        com::ComPtr<com::EventSink> sink = com::EventSink::Create(DIID___cCommonDialog);
        sink->On(1, "InitDialog", [this](com::EventArgs& args) { m_CommonDialog_InitDialog(args.Long(0)); });
        dialogEvents_.Advise(m_CommonDialog.Get(), sink.Get());
    });
    skip([&] { List1[0].SetListIndex(0); });
    skip([&] { List1[1].SetListIndex(0); });
}

void FrmCSV::Form_Unload_(int&) {
    dialogEvents_.Unadvise();
    m_CommonDialog.Reset();
}

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

void FrmCSV::m_CommonDialog_InitDialog(long hDlg) {
    IDispatch* face = forms::AutomationFace(*this);
    if (face == nullptr) return;
    Dialog(m_CommonDialog)->CentreDialog(hDlg, face);
    face->Release();
}

std::string FrmCSV::ChooseFile() {
    if (!m_CommonDialog) throw forms::Error("The common dialog library Ossivane.dll cannot be created.", 429);
    _cCommonDialog* d = Dialog(m_CommonDialog);
    Check(d->put_hwnd(static_cast<long>(reinterpret_cast<intptr_t>(hWnd()))));
    Check(d->put_DialogTitle(com::Bstr(csv::kDialogTitle).Get()));
    Check(d->put_CancelError(VARIANT_TRUE));
    Check(d->put_flags(static_cast<long>(csv::kDialogFlags)));
    Check(d->put_Filter(com::Bstr(csv::kDialogFilter).Get()));
    Check(d->put_FilterIndex(1));
    Check(d->put_DefaultExt(com::Bstr(csv::kDefaultExt).Get()));
    // "desktop" stands for the desktop, which the dialog shows by itself.
    if (files_.folder.find('\\') != std::string::npos) Check(d->put_InitDir(com::Bstr(files_.folder).Get()));
    Check(d->put_HookDialog(VARIANT_TRUE));
    Check(d->put_Filename(com::Bstr(GetParentFolderName(AddBackslash(files_.folder))).Get()));
    const HRESULT hr = d->ShowSave();
    if (IsCancel(hr)) return "";
    Check(hr);
    com::Bstr chosen;
    Check(d->get_Filename(chosen.Put()));
    return chosen.Ansi();
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
