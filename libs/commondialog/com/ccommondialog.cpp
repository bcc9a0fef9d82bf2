// cCommonDialog: the common-dialog object with its properties, its six
// dialog methods over GCommonDialog and the events of a hooked dialog.
#include "libs/commondialog/com/ccommondialog.h"

#include <olectl.h>

#include <string>
#include <vector>

#include "libs/common/com/com_text.h"
#include "libs/common/com/connection_points.h"
#include "libs/common/com/dispatch_call.h"
#include "libs/commondialog/com/gcommondialog.h"
#include "libs/commondialog/core/dialog_logic.h"

namespace corvella::commondialog {
namespace {

using com::Bstr;
using com::ComPtr;
using com::Variant;

enum EventId : DISPID {
    kInitDialog = 1, kFileChange, kFolderChange, kDialogOK, kTypeChange, kDialogClose, kWMCommand
};

VARIANT_BOOL Vb(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }
HWND Window(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }

// "Ossivane.cCommonDialog": the library's file name without its extension.
std::string ErrorSource() {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(com::ThisModule(), path, MAX_PATH);
    std::string name(path);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + ".cCommonDialog";
}

template <class T>
HRESULT Get(const T& field, T* out) {
    if (!out) return E_POINTER;
    *out = field;
    return S_OK;
}

HRESULT GetText(const Bstr& field, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(field.Get(), field.Length());
    return S_OK;
}

HRESULT PutText(Bstr& field, BSTR value) {
    field = Bstr::Attach(SysAllocStringLen(value, SysStringLen(value)));
    return S_OK;
}

class CCommonDialog final
    : public com::Object<CCommonDialog, com::TypeLibDispatch<_cCommonDialog>,
                         com::Events<&DIID___cCommonDialog>,
                         com::ClassInfo<&CLSID_cCommonDialog, &DIID___cCommonDialog>> {
public:
    static com::InterfaceTable Interfaces() {
        static const com::InterfaceEntry table[] = {
            com::Entry<CCommonDialog, _cCommonDialog>(),
            com::Entry<CCommonDialog, _cCommonDialog>(IID_IDispatch),
            com::Entry<CCommonDialog, IConnectionPointContainer>(),
            com::Entry<CCommonDialog, IProvideClassInfo2>(),
            com::Entry<CCommonDialog, IProvideClassInfo2>(IID_IProvideClassInfo),
        };
        return table;
    }

    // ---- Called by name by the hook relay; each raises its event --------------
    STDMETHODIMP WMCommand(LONG hDlg, LONG* wParam, LONG* lParam) override {
        if (!wParam || !lParam) return E_POINTER;
        long w = *wParam, l = *lParam;
        Raise(kWMCommand, {Variant(static_cast<long>(hDlg)), Variant::ByRef(&w), Variant::ByRef(&l)});
        *wParam = w;
        *lParam = l;
        return S_OK;
    }
    STDMETHODIMP DialogClose() override { return Raise(kDialogClose); }
    STDMETHODIMP TypeChange(LONG hDlg, LONG* result) override { return RaiseWithDialog(kTypeChange, hDlg, result); }
    STDMETHODIMP InitDialog(LONG hDlg, LONG* result) override { return RaiseWithDialog(kInitDialog, hDlg, result); }
    STDMETHODIMP FileChange(LONG hDlg, LONG* result) override { return RaiseWithDialog(kFileChange, hDlg, result); }
    STDMETHODIMP FolderChange(LONG hDlg, LONG* result) override { return RaiseWithDialog(kFolderChange, hDlg, result); }
    STDMETHODIMP ConfirmOK(VARIANT_BOOL* result) override {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        Raise(kDialogOK, {Variant::ByRef(&cancel)});
        if (result) *result = Vb(cancel == VARIANT_FALSE);
        return S_OK;
    }

    // ---- Other methods -------------------------------------------------------
    STDMETHODIMP ParseMultiFileName(BSTR* sDir, SAFEARRAY** sFiles, LONG* iFileCount) override;
    STDMETHODIMP CentreDialog(LONG hDlg, IDispatch* oCentreTo) override;
    STDMETHODIMP GetDialogSize(LONG hDlg, LONG* lL, LONG* lT, LONG* lW, LONG* lH) override {
        if (!lL || !lT || !lW || !lH) return E_POINTER;
        RECT r = {};
        GetWindowRect(DialogWindow(hDlg), &r);
        *lL = r.left;
        *lT = r.top;
        *lW = r.right - r.left;
        *lH = r.bottom - r.top;
        return S_OK;
    }
    STDMETHODIMP SetHelpPosition(LONG x, LONG y, LONG dx, LONG dy, LONG eWindowType) override {
        const auto record = HelpWinInfo(x, y, dx, dy, eWindowType);
        HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, record.size());
        if (!block) return E_OUTOFMEMORY;
        void* p = GlobalLock(block);
        if (p) {
            memcpy(p, record.data(), record.size());
            const auto file = com::BstrToFileName(help_file_.Get());
            if (file) WinHelpA(Window(hwnd_), file->c_str(), HELP_SETWINPOS, reinterpret_cast<ULONG_PTR>(p));
            GlobalUnlock(block);
        }
        GlobalFree(block);
        return S_OK;
    }

    // ---- Properties ----------------------------------------------------------
    STDMETHODIMP get_CancelError(VARIANT_BOOL* r) override { return Get(cancel_error_, r); }
    STDMETHODIMP put_CancelError(VARIANT_BOOL v) override { cancel_error_ = Vb(v); return S_OK; }
    STDMETHODIMP get_Filename(BSTR* r) override { return GetText(filename_, r); }
    STDMETHODIMP put_Filename(BSTR v) override { return PutText(filename_, v); }
    STDMETHODIMP get_Filter(BSTR* r) override { return GetText(filter_, r); }
    STDMETHODIMP put_Filter(BSTR v) override { return PutText(filter_, v); }
    STDMETHODIMP get_FilterIndex(LONG* r) override { return Get(filter_index_, r); }
    STDMETHODIMP put_FilterIndex(LONG v) override { filter_index_ = v; return S_OK; }
    STDMETHODIMP get_Color(LONG* r) override { return Get(color_, r); }
    STDMETHODIMP put_Color(LONG v) override { color_ = v; return S_OK; }
    STDMETHODIMP get_Copies(LONG* r) override { return Get(copies_, r); }
    STDMETHODIMP put_Copies(LONG v) override { copies_ = v; return S_OK; }
    STDMETHODIMP get_DefaultExt(BSTR* r) override { return GetText(default_ext_, r); }
    STDMETHODIMP put_DefaultExt(BSTR v) override { return PutText(default_ext_, v); }
    STDMETHODIMP get_DialogTitle(BSTR* r) override { return GetText(dialog_title_, r); }
    STDMETHODIMP put_DialogTitle(BSTR v) override { return PutText(dialog_title_, v); }
    STDMETHODIMP get_flags(LONG* r) override { return Get(flags_, r); }
    STDMETHODIMP put_flags(LONG v) override { flags_ = v; return S_OK; }
    STDMETHODIMP get_FontBold(VARIANT_BOOL* r) override { return GetFontFlag(L"Bold", r); }
    STDMETHODIMP put_FontBold(VARIANT_BOOL v) override { return PutFont(L"Bold", Variant(v != VARIANT_FALSE)); }
    STDMETHODIMP get_FontItalic(VARIANT_BOOL* r) override { return GetFontFlag(L"Italic", r); }
    STDMETHODIMP put_FontItalic(VARIANT_BOOL v) override { return PutFont(L"Italic", Variant(v != VARIANT_FALSE)); }
    STDMETHODIMP get_FontName(BSTR* r) override;
    STDMETHODIMP put_FontName(BSTR v) override { return PutFont(L"Name", Variant(com::BstrToAnsi(v))); }
    STDMETHODIMP get_FontSize(float* r) override;
    STDMETHODIMP put_FontSize(float v) override { return PutFont(L"Size", Variant(static_cast<double>(v))); }
    STDMETHODIMP get_FontStrikethru(VARIANT_BOOL* r) override { return GetFontFlag(L"Strikethrough", r); }
    STDMETHODIMP put_FontStrikethru(VARIANT_BOOL v) override { return PutFont(L"Strikethrough", Variant(v != VARIANT_FALSE)); }
    STDMETHODIMP get_FontUnderline(VARIANT_BOOL* r) override { return GetFontFlag(L"Underline", r); }
    STDMETHODIMP put_FontUnderline(VARIANT_BOOL v) override { return PutFont(L"Underline", Variant(v != VARIANT_FALSE)); }
    STDMETHODIMP get_Font(IDispatch** r) override {
        if (!r) return E_POINTER;
        *r = nullptr;
        HRESULT hr = EnsureFont();
        if (FAILED(hr)) return hr;
        *r = font_.Get();
        font_->AddRef();
        return S_OK;
    }
    STDMETHODIMP putref_Font(IDispatch* v) override { font_ = ComPtr<IDispatch>(v); return S_OK; }
    STDMETHODIMP get_FontColor(LONG* r) override { return Get(font_color_, r); }
    STDMETHODIMP put_FontColor(LONG v) override { font_color_ = v; return S_OK; }
    STDMETHODIMP get_FromPage(LONG* r) override { return Get(from_page_, r); }
    STDMETHODIMP put_FromPage(LONG v) override { from_page_ = v; return S_OK; }
    STDMETHODIMP get_hwnd(LONG* r) override { return Get(hwnd_, r); }
    STDMETHODIMP put_hwnd(LONG v) override { hwnd_ = v; return S_OK; }
    STDMETHODIMP get_HelpCommand(LONG* r) override { return Get(help_command_, r); }
    STDMETHODIMP put_HelpCommand(LONG v) override { help_command_ = v; return S_OK; }
    STDMETHODIMP get_HelpContext(BSTR* r) override { return GetText(help_context_, r); }
    STDMETHODIMP put_HelpContext(BSTR v) override { return PutText(help_context_, v); }
    STDMETHODIMP get_HelpFile(BSTR* r) override { return GetText(help_file_, r); }
    STDMETHODIMP put_HelpFile(BSTR v) override { return PutText(help_file_, v); }
    STDMETHODIMP get_HelpKey(BSTR* r) override { return GetText(help_key_, r); }
    STDMETHODIMP put_HelpKey(BSTR v) override { return PutText(help_key_, v); }
    STDMETHODIMP get_InitDir(BSTR* r) override { return GetText(init_dir_, r); }
    STDMETHODIMP put_InitDir(BSTR v) override { return PutText(init_dir_, v); }
    STDMETHODIMP get_Max(LONG* r) override { return Get(max_, r); }
    STDMETHODIMP put_Max(LONG v) override { max_ = v; return S_OK; }
    STDMETHODIMP get_MaxFileSize(LONG* r) override { return Get(max_file_size_, r); }
    STDMETHODIMP put_MaxFileSize(LONG v) override { max_file_size_ = v; return S_OK; }
    STDMETHODIMP get_Min(LONG* r) override { return Get(min_, r); }
    STDMETHODIMP put_Min(LONG v) override { min_ = v; return S_OK; }
    STDMETHODIMP get_Object(IDispatch** r) override {
        if (!r) return E_POINTER;
        *r = object_.Get();
        if (*r) (*r)->AddRef();
        return S_OK;
    }
    STDMETHODIMP putref_Object(IDispatch* v) override { object_ = ComPtr<IDispatch>(v); return S_OK; }
    STDMETHODIMP get_PrinterDefault(VARIANT_BOOL* r) override { return Get(printer_default_, r); }
    STDMETHODIMP put_PrinterDefault(VARIANT_BOOL v) override { printer_default_ = Vb(v); return S_OK; }
    STDMETHODIMP get_ToPage(LONG* r) override { return Get(to_page_, r); }
    STDMETHODIMP put_ToPage(LONG v) override { to_page_ = v; return S_OK; }
    STDMETHODIMP get_FileTitle(BSTR* r) override { return GetText(file_title_, r); }
    STDMETHODIMP put_FileTitle(BSTR v) override { return PutText(file_title_, v); }
    STDMETHODIMP get_CustomColor(LONG i, LONG* r) override { return Wrapper()->get_CustomColor(i, r); }
    STDMETHODIMP put_CustomColor(LONG i, LONG v) override { return Wrapper()->put_CustomColor(i, v); }
    STDMETHODIMP get_HookDialog(VARIANT_BOOL* r) override { return Get(hook_dialog_, r); }
    STDMETHODIMP put_HookDialog(VARIANT_BOOL v) override { hook_dialog_ = Vb(v); return S_OK; }
    STDMETHODIMP get_hInstance(LONG* r) override { return Get(instance_, r); }
    STDMETHODIMP put_hInstance(LONG v) override { instance_ = v; return S_OK; }
    STDMETHODIMP get_TemplateName(LONG* r) override { return Get(template_name_, r); }
    STDMETHODIMP put_TemplateName(LONG v) override { template_name_ = v; return S_OK; }

    STDMETHODIMP cdLoadLibrary(BSTR DllName) override {
        const auto name = com::BstrToFileName(DllName);
        instance_ = name ? static_cast<LONG>(reinterpret_cast<LONG_PTR>(LoadLibraryA(name->c_str()))) : 0;
        return S_OK;
    }
    // The handle is cleared: a second call frees nothing more, and a later
    // template dialog does not use a freed module.
    STDMETHODIMP cdFreeLibrary() override {
        if (instance_ >= 1) FreeLibrary(reinterpret_cast<HMODULE>(static_cast<LONG_PTR>(instance_)));
        instance_ = 0;
        return S_OK;
    }

    // ---- The dialogs -----------------------------------------------------------
    STDMETHODIMP ShowOpen() override;
    STDMETHODIMP ShowSave() override;
    STDMETHODIMP ShowColor() override;
    STDMETHODIMP ShowFont() override;
    STDMETHODIMP ShowPrinter() override;
    STDMETHODIMP ShowHelp() override;

private:
    HRESULT RaiseWithDialog(DISPID id, LONG hDlg, LONG* result) {
        Raise(id, {Variant(static_cast<long>(hDlg))});
        if (result) *result = 0;
        return S_OK;
    }
    // The window a hook's handle stands for: an explorer-style file dialog
    // hooks a child of the real dialog.
    HWND DialogWindow(LONG hDlg) const {
        return explorer_hook_ ? GetParent(Window(hDlg)) : Window(hDlg);
    }
    bool Test(LONG bits) const { return (flags_ & bits) == bits; }
    GCommonDialog* Wrapper() {
        if (!wrapper_) wrapper_ = ComPtr<GCommonDialog>::Attach(new GCommonDialog());
        return wrapper_.Get();
    }
    IDispatch* Self() { return static_cast<_cCommonDialog*>(this); }
    HRESULT EnsureFont();
    HRESULT GetFontFlag(const wchar_t* name, VARIANT_BOOL* r);
    HRESULT PutFont(const wchar_t* name, const Variant& value) {
        HRESULT hr = EnsureFont();
        return FAILED(hr) ? hr : com::PutByName(font_.Get(), name, value);
    }
    HRESULT Fail(long number, const char* description) {
        return com::RaiseError(ErrorResult(number), ErrorSource().c_str(), description,
                               __uuidof(_cCommonDialog));
    }
    // The error of a dialog call that returned False, or S_OK for none.
    HRESULT DialogFailure() {
        LONG extended = 0;
        wrapper_->get_ExtendedError(&extended);
        const long number = DialogErrorNumber(static_cast<uint32_t>(extended), cancel_error_ != VARIANT_FALSE);
        if (number == 0) return S_OK;
        return Fail(number, number == kErrCancel ? "User selected cancel." : "");
    }
    HRESULT ShowFile(bool save);

    VARIANT_BOOL cancel_error_ = VARIANT_FALSE, printer_default_ = VARIANT_FALSE,
                 hook_dialog_ = VARIANT_FALSE;
    Bstr filename_, filter_, default_ext_, dialog_title_, help_context_, help_file_, help_key_,
        init_dir_, file_title_;
    LONG filter_index_ = 1, color_ = 0, copies_ = 0, flags_ = 0, font_color_ = 0, from_page_ = 0,
         to_page_ = 0, hwnd_ = 0, help_command_ = 0, max_ = 0, min_ = 0, max_file_size_ = 0,
         instance_ = 0, template_name_ = 0;
    ComPtr<IDispatch> font_, object_;
    ComPtr<GCommonDialog> wrapper_;
    bool explorer_hook_ = false;
};

HRESULT CCommonDialog::ShowFile(bool save) {
    const auto keep = KeepAlive();
    explorer_hook_ = true;
    VARIANT_BOOL hook = hook_dialog_, ok = VARIANT_FALSE;
    IDispatch* sink = Self();
    LONG owner = hwnd_;
    if (Test(flags::kOfnEnableTemplate) && instance_ < 1) flags_ &= ~flags::kOfnEnableTemplate;
    HRESULT hr;
    if (save) {
        VARIANT_BOOL overwrite = Vb(Test(flags::kOfnOverwritePrompt));
        hr = Wrapper()->VBGetSaveFileName2(filename_.InOut(), file_title_.InOut(), &overwrite,
                                           filter_.InOut(), &filter_index_, init_dir_.InOut(),
                                           dialog_title_.InOut(), default_ext_.InOut(), &owner,
                                           &flags_, &hook, &instance_, &template_name_, &sink, &ok);
    } else {
        VARIANT_BOOL must_exist = Vb(Test(flags::kOfnFileMustExist)),
                     multi = Vb(Test(flags::kOfnAllowMultiSelect)),
                     read_only = Vb(Test(flags::kOfnReadOnly)),
                     hide_read_only = Vb(Test(flags::kOfnHideReadOnly));
        if (filter_index_ == 0) filter_index_ = 1;
        hr = Wrapper()->VBGetOpenFileName2(filename_.InOut(), file_title_.InOut(), &must_exist, &multi,
                                           &read_only, &hide_read_only, filter_.InOut(),
                                           &filter_index_, init_dir_.InOut(), dialog_title_.InOut(),
                                           default_ext_.InOut(), &owner, &flags_, &hook, &instance_,
                                           &template_name_, &sink, &ok);
    }
    if (FAILED(hr)) return hr;
    return ok ? S_OK : DialogFailure();
}

STDMETHODIMP CCommonDialog::ShowOpen() { return ShowFile(false); }
STDMETHODIMP CCommonDialog::ShowSave() { return ShowFile(true); }

STDMETHODIMP CCommonDialog::ShowColor() {
    const auto keep = KeepAlive();
    explorer_hook_ = false;
    OLE_COLOR in = static_cast<OLE_COLOR>(color_);
    COLORREF translated = 0;
    LONG color = SUCCEEDED(OleTranslateColor(in, nullptr, &translated)) ? static_cast<LONG>(translated) : -1;
    VARIANT_BOOL any = Vb(Test(flags::kCcAnyColor)), full = Vb(Test(flags::kCcFullOpen)),
                 disable = Vb(Test(flags::kCcPreventFullOpen)), hook = hook_dialog_, ok = VARIANT_FALSE;
    IDispatch* sink = Self();
    LONG owner = hwnd_;
    HRESULT hr = Wrapper()->VBChooseColor(&color, &any, &full, &disable, &owner, &flags_, &hook, &sink, &ok);
    if (FAILED(hr)) return hr;
    if (ok) color_ = color;
    return ok ? S_OK : DialogFailure();
}

STDMETHODIMP CCommonDialog::ShowFont() {
    const auto keep = KeepAlive();
    explorer_hook_ = false;
    HRESULT hr = EnsureFont();
    if (FAILED(hr)) return hr;
    IDispatch* font = font_.Get();
    IDispatch* sink = Self();
    LONG printer_dc = -1, owner = hwnd_;
    VARIANT_BOOL hook = hook_dialog_, ok = VARIANT_FALSE;
    hr = Wrapper()->VBChooseFont(&font, &printer_dc, &owner, &font_color_, &min_, &max_, &flags_, &hook,
                                 &sink, &ok);
    if (FAILED(hr)) return hr;
    return ok ? S_OK : DialogFailure();
}

STDMETHODIMP CCommonDialog::ShowPrinter() {
    const auto keep = KeepAlive();
    explorer_hook_ = false;
    LONG dc = 0, range = 0, owner = hwnd_;
    SHORT copies = static_cast<SHORT>(copies_);
    VARIANT_BOOL no_pages = Vb(!Test(flags::kPdPageNums)), no_selection = Vb(Test(flags::kPdNoSelection)),
                 show_to_file = Vb(!Test(flags::kPdHidePrintToFile)),
                 disable_to_file = Vb(Test(flags::kPdDisablePrintToFile)),
                 to_file = Vb(Test(flags::kPdPrintToFile)), collate = Vb(Test(flags::kPdCollate)),
                 no_warning = Vb(Test(flags::kPdNoWarning)), hook = hook_dialog_, ok = VARIANT_FALSE;
    IDispatch* printer = object_.Get();
    IDispatch* sink = Self();
    HRESULT hr = Wrapper()->VBPrintDlg(&dc, &range, &no_pages, &from_page_, &to_page_, &no_selection,
                                       &copies, &show_to_file, &disable_to_file, &to_file, &collate,
                                       &no_warning, &owner, &printer, &flags_, &hook, &sink, &ok);
    // The device context the dialog returned is not used here.
    if (dc) DeleteDC(reinterpret_cast<HDC>(static_cast<LONG_PTR>(dc)));
    if (SUCCEEDED(hr) && ok) copies_ = copies;
    return S_OK;  // the print dialog reports neither cancel nor failure
}

STDMETHODIMP CCommonDialog::ShowHelp() {
    explorer_hook_ = false;
    if (IsRefusedHelpCommand(help_command_))
        return Fail(kErrBadHelpCommand, "Invalid WinHelp Command Passed to ShowHelp function.");
    const auto file = com::BstrToFileName(help_file_.Get());
    // A help file the code page cannot name is one the system cannot find.
    SetLastError(file ? 0 : ERROR_FILE_NOT_FOUND);
    if (file && WinHelpA(Window(hwnd_), file->c_str(), static_cast<UINT>(help_command_), 0)) return S_OK;
    const DWORD last = GetLastError();
    if (last == 0) return Fail(kErrInvalidArgument, "Invalid procedure call or argument");
    char text[256] = {0};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                   last, 0, text, sizeof text, nullptr);
    return Fail(HelpErrorNumber(last), std::string(text, n).c_str());
}

HRESULT CCommonDialog::EnsureFont() {
    if (font_) return S_OK;
    FONTDESC desc = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {{82500, 0}},
                     FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
    return OleCreateFontIndirect(&desc, IID_IDispatch, font_.PutVoid());
}

HRESULT CCommonDialog::GetFontFlag(const wchar_t* name, VARIANT_BOOL* r) {
    if (!r) return E_POINTER;
    HRESULT hr = EnsureFont();
    if (FAILED(hr)) return hr;
    Variant v, b;
    hr = com::GetByName(font_.Get(), name, v);
    if (SUCCEEDED(hr)) hr = VariantChangeType(b.Put(), v.Get(), 0, VT_BOOL);
    *r = SUCCEEDED(hr) ? V_BOOL(b.Get()) : VARIANT_FALSE;
    return hr;
}

STDMETHODIMP CCommonDialog::get_FontName(BSTR* r) {
    if (!r) return E_POINTER;
    HRESULT hr = EnsureFont();
    if (FAILED(hr)) return hr;
    Variant v;
    hr = com::GetByName(font_.Get(), L"Name", v);
    *r = com::AnsiToBstr(SUCCEEDED(hr) ? v.Ansi() : std::string());
    return hr;
}

STDMETHODIMP CCommonDialog::get_FontSize(float* r) {
    if (!r) return E_POINTER;
    HRESULT hr = EnsureFont();
    if (FAILED(hr)) return hr;
    Variant v, f;
    hr = com::GetByName(font_.Get(), L"Size", v);
    if (SUCCEEDED(hr)) hr = VariantChangeType(f.Put(), v.Get(), 0, VT_R4);
    *r = SUCCEEDED(hr) ? V_R4(f.Get()) : 0.0f;
    return hr;
}

STDMETHODIMP CCommonDialog::CentreDialog(LONG hDlg, IDispatch* oCentreTo) {
    HWND dialog = DialogWindow(hDlg);
    RECT own = {};
    GetWindowRect(dialog, &own);
    RECT target = {};
    Variant hwnd, n;
    const bool from_form = oCentreTo && SUCCEEDED(com::GetByName(oCentreTo, L"hwnd", hwnd)) &&
                           SUCCEEDED(VariantChangeType(n.Put(), hwnd.Get(), 0, VT_I4)) &&
                           GetWindowRect(Window(V_I4(n.Get())), &target);
    if (!from_form && !SystemParametersInfoA(SPI_GETWORKAREA, 0, &target, 0))
        target = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const Rect d{own.left, own.top, own.right, own.bottom};
    const auto origin = CentredOrigin(d, {target.left, target.top, target.right, target.bottom});
    if (origin) MoveWindow(dialog, origin->first, origin->second, d.Width(), d.Height(), TRUE);
    return S_OK;
}

STDMETHODIMP CCommonDialog::ParseMultiFileName(BSTR* sDir, SAFEARRAY** sFiles, LONG* iFileCount) {
    if (!sDir || !sFiles || !iFileCount) return E_POINTER;
    long count = *iFileCount;
    // The caller's names at 1 to count stay where they are.
    std::vector<std::string> files(static_cast<size_t>(count > 0 ? count : 0));
    if (*sFiles && SafeArrayGetDim(*sFiles) == 1) {
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(*sFiles, 1, &lo);
        SafeArrayGetUBound(*sFiles, 1, &hi);
        for (LONG i = 1; i <= count && i <= hi; ++i) {
            BSTR item = nullptr;
            if (i >= lo && SUCCEEDED(SafeArrayGetElement(*sFiles, &i, &item))) {
                files[static_cast<size_t>(i - 1)] = com::BstrToAnsi(item);
                SysFreeString(item);
            }
        }
    }
    std::string dir = com::BstrToAnsi(*sDir);
    commondialog::ParseMultiFileName(filename_.Ansi(), dir, files, count);
    SAFEARRAYBOUND bound = {static_cast<ULONG>(count > 0 ? count : 0), 1};
    SAFEARRAY* out = SafeArrayCreate(VT_BSTR, 1, &bound);
    if (!out) return E_OUTOFMEMORY;
    for (LONG i = 1; i <= count; ++i) {
        Bstr item(files[static_cast<size_t>(i - 1)]);
        SafeArrayPutElement(out, &i, item.Get());  // copies the string
    }
    if (*sFiles) SafeArrayDestroy(*sFiles);
    *sFiles = out;
    SysFreeString(*sDir);
    *sDir = com::AnsiToBstr(dir);
    *iFileCount = count;
    return S_OK;
}

}  // namespace

HRESULT CreateCommonDialog(REFIID riid, void** ppv) { return com::CreateInstance<CCommonDialog>(riid, ppv); }

}  // namespace corvella::commondialog
