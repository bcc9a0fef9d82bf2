// The common dialog object (Ossivane.cCommonDialog) as the program's forms
// use it: made on first use, its InitDialog connected so that every dialog
// it shows opens centred on the form that owns it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "libs/common/com/com_text.h"
#include "libs/common/com/event_sink.h"
#include "libs/commondialog/com/ossivane.h"
#include "platform/forms/automation.h"
#include "platform/forms/forms.h"

namespace corvella::forms {

// What an open or save dialog shows; an empty folder or extension is not set.
struct FileDialogRequest {
    std::string title, filter, initDir, fileName, defaultExt;
    long flags = 0;
    bool cancelError = false;
};

class HookedCommonDialog {
public:
    // The object's "User selected cancel.", as it raises it with CancelError.
    static constexpr long kErrCancel = 20001;

    explicit HookedCommonDialog(Form& owner) : owner_(owner) {}

    // The chosen file. Throws forms::Error with the object's own text when
    // the library cannot be made or the dialog fails; with cancelError a
    // cancel fails too (IsCancel tells it).
    std::string Show(bool save, const FileDialogRequest& request) {
        _cCommonDialog* d = Dialog();
        Check(d->put_HookDialog(VARIANT_TRUE));
        Check(d->put_hwnd(static_cast<long>(reinterpret_cast<intptr_t>(owner_.hWnd()))));
        Check(d->put_DialogTitle(com::Bstr(request.title).Get()));
        Check(d->put_CancelError(request.cancelError ? VARIANT_TRUE : VARIANT_FALSE));
        Check(d->put_flags(request.flags));
        if (!request.initDir.empty()) Check(d->put_InitDir(com::Bstr(request.initDir).Get()));
        Check(d->put_Filter(com::Bstr(request.filter).Get()));
        Check(d->put_FilterIndex(1));
        if (!request.defaultExt.empty()) Check(d->put_DefaultExt(com::Bstr(request.defaultExt).Get()));
        Check(d->put_Filename(com::Bstr(request.fileName).Get()));
        Check(save ? d->ShowSave() : d->ShowOpen());
        com::Bstr chosen;
        Check(d->get_Filename(chosen.Put()));
        return chosen.Ansi();
    }

    static bool IsCancel(const Error& e) {
        const HRESULT hr = static_cast<HRESULT>(e.Number());
        return HRESULT_FACILITY(hr) == FACILITY_CONTROL && HRESULT_CODE(hr) == kErrCancel;
    }

    // Lets the object go; the next Show makes a new one.
    void Reset() {
        events_.Unadvise();
        dialog_.Reset();
    }

private:
    static void Check(HRESULT hr) {
        if (FAILED(hr)) {
            std::string text = com::TakeErrorDescription();
            if (text.empty()) text = "Error " + std::to_string(static_cast<long>(hr));
            throw Error(text, static_cast<long>(hr));
        }
    }

    _cCommonDialog* Dialog() {
        if (!dialog_) {
            const HRESULT hr = CoCreateInstance(CLSID_cCommonDialog, nullptr, CLSCTX_INPROC_SERVER,
                                                __uuidof(_cCommonDialog), dialog_.PutVoid());
            if (FAILED(hr) || !dialog_) {
                dialog_.Reset();
                throw Error("The common dialog library Ossivane.dll cannot be created.", hr);
            }
            com::ComPtr<com::EventSink> sink = com::EventSink::Create(DIID___cCommonDialog);
            sink->On(1, "InitDialog", [this](com::EventArgs& args) { Centre(args.Long(0)); });
            events_.Advise(dialog_.Get(), sink.Get());
        }
        return static_cast<_cCommonDialog*>(dialog_.Get());
    }

    void Centre(long hDlg) {
        IDispatch* face = AutomationFace(owner_);
        if (face == nullptr) return;
        static_cast<_cCommonDialog*>(dialog_.Get())->CentreDialog(hDlg, face);
        face->Release();
    }

    Form& owner_;
    com::ComPtr<IDispatch> dialog_;
    com::EventConnection events_;
};

}  // namespace corvella::forms
