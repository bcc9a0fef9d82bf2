#include "libs/commondialog/com/gcommondialog.h"

#include <cmath>
#include <cstring>
#include <string>

#include "libs/common/com/com_text.h"
#include "libs/common/com/dispatch_call.h"
#include "libs/commondialog/core/dialog_logic.h"

namespace corvella::commondialog {
namespace {

using com::Variant;

// Sizes the oldest systems accept in the structures' size fields.
constexpr DWORD kOpenFileNameSize = 76, kChooseColorSize = 36, kChooseFontSize = 60,
                kPrintDlgSize = 66, kPageSetupSize = 84;
static_assert(sizeof(CHOOSECOLORA) == kChooseColorSize && sizeof(CHOOSEFONTA) == kChooseFontSize &&
                  sizeof(PRINTDLGA) == kPrintDlgSize && sizeof(PAGESETUPDLGA) == kPageSetupSize,
              "comdlg32 structures in their published ANSI layout");
constexpr size_t kDevModeBytes = 122;

bool On(const VARIANT_BOOL* b) { return b && *b != VARIANT_FALSE; }
VARIANT_BOOL Vb(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }
std::string Text(const BSTR* s) { return s ? com::BstrToAnsi(*s) : std::string(); }
// A file or folder name the dialog starts from; none where the code page
// cannot name it, rather than a look-alike that names another.
std::string FileName(const BSTR* s) { return s ? com::BstrToFileName(*s).value_or("") : std::string(); }
void SetText(BSTR* s, const std::string& text) {
    SysFreeString(*s);
    *s = com::AnsiToBstr(text);
}
// An empty text goes to the dialog as no string at all: an empty title
// would give a dialog with an empty caption.
const char* OrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
HWND Window(LONG handle) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle)); }
LONG Handle(const void* h) { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(h)); }

// The printer handles a dialog hands back are the caller's to free.
void FreeHandles(HGLOBAL devmode, HGLOBAL devnames) {
    if (devmode) GlobalFree(devmode);
    if (devnames) GlobalFree(devnames);
}

HRESULT InvalidArgument() {
    return com::RaiseError(ErrorResult(kErrInvalidArgument), "Ossivane.GCommonDialog",
                           "Invalid procedure call or argument", __uuidof(_GCommonDialog));
}

// A property of a font object, read by name.
Variant FontProperty(IDispatch* font, const wchar_t* name, VARTYPE type) {
    Variant v, out;
    if (FAILED(com::GetByName(font, name, v)) ||
        FAILED(VariantChangeType(out.Put(), v.Get(), 0, type)))
        return Variant();
    return out;
}

}  // namespace

// Counts the call, registers the hook and holds the event sink for exactly
// the span of one dialog call.
class GCommonDialog::Call {
public:
    Call(GCommonDialog& d, bool hook, IDispatch* sink) : d_(d), keep_(&d), hook_(hook) {
        d_.api_return_ = 0;
        d_.extended_error_ = 0;
        if (hook_) {
            SetCurrentDialog(&d_);
            d_.sink_ = com::ComPtr<IDispatch>(sink);
        }
    }
    ~Call() {
        if (hook_) {
            d_.sink_.Reset();
            ClearCurrentDialog();
        }
    }
    bool Done(BOOL result) {
        d_.api_return_ = result;
        if (!result) d_.extended_error_ = static_cast<LONG>(CommDlgExtendedError());
        return result != FALSE;
    }

private:
    GCommonDialog& d_;
    com::ComPtr<IUnknown> keep_;  // a handler may let go of the caller's reference
    bool hook_;
};

STDMETHODIMP GCommonDialog::get_APIReturn(LONG* result) {
    if (!result) return E_POINTER;
    *result = api_return_;
    return S_OK;
}

STDMETHODIMP GCommonDialog::get_ExtendedError(LONG* result) {
    if (!result) return E_POINTER;
    *result = extended_error_;
    return S_OK;
}

// ---- Open and save ----------------------------------------------------------

namespace {

struct FileCall {
    BSTR* filename;
    BSTR* file_title;
    BSTR* filter;
    LONG* filter_index;
    LONG* flags;
    VARIANT_BOOL* read_only;  // null for save
    bool multi_select;
};

// Copies a successful file dialog's result back, or clears the properties
// after a cancel or failure.
void FileResults(const FileCall& c, bool ok, const OPENFILENAMEA& ofn, const std::string& file,
                 const std::string& title, const std::string& converted_filter) {
    if (!ok) {
        SetText(c.filename, "");
        SetText(c.file_title, "");
        SetText(c.filter, "");
        *c.flags = 0;
        *c.filter_index = -1;
        return;
    }
    if (c.multi_select) {
        SetText(c.filename, file);  // the whole NUL-separated list
    } else {
        SetText(c.filename, CutAtNul(file));
        SetText(c.file_title, CutAtNul(title));
    }
    *c.flags = static_cast<LONG>(ofn.Flags);
    *c.filter_index = static_cast<LONG>(ofn.nFilterIndex);
    SetText(c.filter, ChosenFilterPair(converted_filter, *c.filter_index));
    if (c.read_only && (ofn.Flags & commondialog::flags::kOfnReadOnly)) *c.read_only = VARIANT_TRUE;
}

// The structure of an open or save dialog with the buffers and texts it
// points into.
struct FileDialog {
    OPENFILENAMEA ofn = {};
    std::string file, title, filter, init_dir, dlg_title, ext;
};

// Fills what both file dialogs share; false when a name does not fit its
// buffer with its terminator.
bool PrepareFileDialog(FileDialog& d, DWORD dialog_flags, size_t size, BSTR* Filename,
                       BSTR* FileTitle, BSTR* Filter, LONG FilterIndex, BSTR* InitDir,
                       BSTR* DlgTitle, BSTR* DefaultExt, LONG Owner, LONG hInstance,
                       LONG TemplateName, bool hook) {
    auto file = PadToBuffer(FileName(Filename), size);
    auto title = PadToBuffer(Text(FileTitle), size);
    if (!file || !title) return false;
    d.file = std::move(*file);
    d.title = std::move(*title);
    d.filter = ConvertFilter(Text(Filter));
    d.init_dir = FileName(InitDir);
    d.dlg_title = Text(DlgTitle);
    d.ext = Text(DefaultExt);
    OPENFILENAMEA& ofn = d.ofn;
    ofn.lStructSize = kOpenFileNameSize;
    if (Owner != -1) ofn.hwndOwner = Window(Owner);
    ofn.Flags = dialog_flags;
    if (ofn.Flags & commondialog::flags::kOfnEnableTemplate) {
        ofn.hInstance = reinterpret_cast<HINSTANCE>(static_cast<LONG_PTR>(hInstance));
        ofn.lpTemplateName = MAKEINTRESOURCEA(TemplateName);
    }
    ofn.lpstrFilter = d.filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = &d.file[0];
    ofn.nMaxFile = static_cast<DWORD>(size);
    ofn.lpstrFileTitle = &d.title[0];
    ofn.nMaxFileTitle = static_cast<DWORD>(size);
    ofn.lpstrInitialDir = OrNull(d.init_dir);
    ofn.lpstrTitle = OrNull(d.dlg_title);
    ofn.lpstrDefExt = OrNull(d.ext);
    if (hook) ofn.lpfnHook = FileDialogHookProc;
    return true;
}

}  // namespace

STDMETHODIMP GCommonDialog::VBGetOpenFileName2(
    BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* FileMustExist, VARIANT_BOOL* MultiSelect,
    VARIANT_BOOL* ReadOnly, VARIANT_BOOL* HideReadOnly, BSTR* Filter, LONG* FilterIndex,
    BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
    LONG* hInstance, LONG* TemplateName, IDispatch** EventSink, VARIANT_BOOL* result) {
    if (!Filename || !FileTitle || !Filter || !FilterIndex || !Owner || !flags || !hInstance ||
        !TemplateName || !result)
        return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    const OpenChoices choices{On(ReadOnly), On(HideReadOnly), On(FileMustExist), On(MultiSelect),
                              static_cast<uint32_t>(*flags), *hInstance > 0, hook};
    FileDialog d;
    if (!PrepareFileDialog(d, OpenFlags(choices), choices.multi_select ? kMultiSelectBuffer : kFileBuffer,
                           Filename, FileTitle, Filter, *FilterIndex, InitDir, DlgTitle, DefaultExt,
                           *Owner, *hInstance, *TemplateName, hook))
        return InvalidArgument();
    const bool ok = call.Done(GetOpenFileNameA(&d.ofn));
    FileResults({Filename, FileTitle, Filter, FilterIndex, flags, ReadOnly, choices.multi_select},
                ok, d.ofn, d.file, d.title, d.filter);
    *result = Vb(ok);
    return S_OK;
}

STDMETHODIMP GCommonDialog::VBGetOpenFileName(
    BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* FileMustExist, VARIANT_BOOL* MultiSelect,
    VARIANT_BOOL* ReadOnly, VARIANT_BOOL* HideReadOnly, BSTR* Filter, LONG* FilterIndex,
    BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
    IDispatch** EventSink, VARIANT_BOOL* result) {
    if (!flags) return E_POINTER;
    *flags &= ~static_cast<LONG>(commondialog::flags::kOfnEnableTemplate);
    LONG no_instance = 0, no_template = 0;
    return VBGetOpenFileName2(Filename, FileTitle, FileMustExist, MultiSelect, ReadOnly,
                              HideReadOnly, Filter, FilterIndex, InitDir, DlgTitle, DefaultExt,
                              Owner, flags, Hook, &no_instance, &no_template, EventSink, result);
}

STDMETHODIMP GCommonDialog::VBGetSaveFileName2(
    BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* OverWritePrompt, BSTR* Filter, LONG* FilterIndex,
    BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
    LONG* hInstance, LONG* TemplateName, IDispatch** EventSink, VARIANT_BOOL* result) {
    if (!Filename || !FileTitle || !Filter || !FilterIndex || !Owner || !flags || !hInstance ||
        !TemplateName || !result)
        return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    const SaveChoices choices{On(OverWritePrompt), static_cast<uint32_t>(*flags), *hInstance > 0, hook};
    FileDialog d;
    if (!PrepareFileDialog(d, SaveFlags(choices), kFileBuffer, Filename, FileTitle, Filter,
                           *FilterIndex, InitDir, DlgTitle, DefaultExt, *Owner, *hInstance,
                           *TemplateName, hook))
        return InvalidArgument();
    const bool ok = call.Done(GetSaveFileNameA(&d.ofn));
    FileResults({Filename, FileTitle, Filter, FilterIndex, flags, nullptr, false}, ok, d.ofn, d.file,
                d.title, d.filter);
    *result = Vb(ok);
    return S_OK;
}

STDMETHODIMP GCommonDialog::VBGetSaveFileName(
    BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* OverWritePrompt, BSTR* Filter, LONG* FilterIndex,
    BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
    IDispatch** EventSink, VARIANT_BOOL* result) {
    if (!flags) return E_POINTER;
    *flags &= ~static_cast<LONG>(commondialog::flags::kOfnEnableTemplate);
    LONG no_instance = 0, no_template = 0;
    return VBGetSaveFileName2(Filename, FileTitle, OverWritePrompt, Filter, FilterIndex, InitDir,
                              DlgTitle, DefaultExt, Owner, flags, Hook, &no_instance, &no_template,
                              EventSink, result);
}

STDMETHODIMP GCommonDialog::VBGetFileTitle(BSTR* sFIle, BSTR* result) {
    if (!result) return E_POINTER;
    char buffer[kFileBuffer] = {};
    const std::string file = Text(sFIle);
    const bool ok = GetFileTitleA(file.c_str(), buffer, static_cast<WORD>(sizeof buffer)) == 0;
    *result = com::AnsiToBstr(ok ? CutAtNul(std::string(buffer, sizeof buffer)) : std::string());
    return S_OK;
}

// ---- Colour -------------------------------------------------------------------

void GCommonDialog::FillCustomColors() {
    if (colors_filled_) return;
    for (int i = 0; i < 16; ++i) custom_colors_[i] = GetSysColor(i);
    colors_filled_ = true;
}

STDMETHODIMP GCommonDialog::get_CustomColor(LONG i, LONG* result) {
    if (!result) return E_POINTER;
    FillCustomColors();
    *result = (i >= 0 && i < 16) ? static_cast<LONG>(custom_colors_[i]) : -1;
    return S_OK;
}

STDMETHODIMP GCommonDialog::put_CustomColor(LONG i, LONG value) {
    FillCustomColors();
    if (i >= 0 && i < 16) custom_colors_[i] = static_cast<COLORREF>(value);
    return S_OK;
}

STDMETHODIMP GCommonDialog::VBChooseColor(LONG* Color, VARIANT_BOOL* AnyColor, VARIANT_BOOL* FullOpen,
                                          VARIANT_BOOL* DisableFullOpen, LONG* Owner, LONG* flags,
                                          VARIANT_BOOL* Hook, IDispatch** EventSink,
                                          VARIANT_BOOL* result) {
    if (!Color || !Owner || !result) return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    FillCustomColors();
    CHOOSECOLORA cc = {};
    cc.lStructSize = kChooseColorSize;
    if (*Owner != -1) cc.hwndOwner = Window(*Owner);
    cc.rgbResult = static_cast<COLORREF>(*Color);
    cc.lpCustColors = custom_colors_;
    cc.Flags = ColorFlags(On(AnyColor), On(FullOpen), On(DisableFullOpen), hook);
    if (hook) cc.lpfnHook = ColorHookProc;
    const bool ok = call.Done(ChooseColorA(&cc));
    *Color = ok ? static_cast<LONG>(cc.rgbResult) : -1;
    *result = Vb(ok);
    return S_OK;
}

// ---- Font ---------------------------------------------------------------------

namespace {
// The default printer's device context, or null without a printer.
HDC DefaultPrinterDc() {
    PRINTDLGA pd = {};
    pd.lStructSize = kPrintDlgSize;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!PrintDlgA(&pd)) return nullptr;
    FreeHandles(pd.hDevMode, pd.hDevNames);
    return pd.hDC;
}

double ScreenTwipsPerPixelY() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}
}  // namespace

STDMETHODIMP GCommonDialog::VBChooseFont(IDispatch** CurFont, LONG* PrinterDC, LONG* Owner,
                                         LONG* Color, LONG* MinSize, LONG* MaxSize, LONG* flags,
                                         VARIANT_BOOL* Hook, IDispatch** EventSink,
                                         VARIANT_BOOL* result) {
    if (!CurFont || !*CurFont || !PrinterDC || !Owner || !Color || !MinSize || !MaxSize || !flags ||
        !result)
        return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    IDispatch* font = *CurFont;
    HDC printer_dc = nullptr;
    bool own_dc = false;
    if (*PrinterDC == -1) {
        *PrinterDC = 0;
        if (static_cast<uint32_t>(*flags) & commondialog::flags::kCfPrinterFonts) {
            printer_dc = DefaultPrinterDc();
            own_dc = printer_dc != nullptr;
            *PrinterDC = Handle(printer_dc);
        }
    } else {
        printer_dc = reinterpret_cast<HDC>(static_cast<LONG_PTR>(*PrinterDC));
    }
    const uint32_t f = FontFlags(static_cast<uint32_t>(*flags), *PrinterDC != 0 && !own_dc,
                                 static_cast<uint32_t>(*Color), *MinSize, *MaxSize, hook);

    LOGFONTA lf = {};
    const double points = V_R8(FontProperty(font, L"Size", VT_R8).Get());
    lf.lfHeight = FontHeight(points, ScreenTwipsPerPixelY());
    lf.lfWeight = V_I4(FontProperty(font, L"Weight", VT_I4).Get());
    lf.lfItalic = V_BOOL(FontProperty(font, L"Italic", VT_BOOL).Get()) ? 1 : 0;
    lf.lfUnderline = V_BOOL(FontProperty(font, L"Underline", VT_BOOL).Get()) ? 1 : 0;
    lf.lfStrikeOut = V_BOOL(FontProperty(font, L"Strikethrough", VT_BOOL).Get()) ? 1 : 0;
    Variant name = FontProperty(font, L"Name", VT_BSTR);
    const auto face = FaceNameField(name.Type() == VT_BSTR ? com::BstrToAnsi(V_BSTR(name.Get())) : "");
    std::memcpy(lf.lfFaceName, face.data(), face.size());

    CHOOSEFONTA cf = {};
    cf.lStructSize = kChooseFontSize;
    if (*Owner != -1) cf.hwndOwner = Window(*Owner);
    cf.hDC = printer_dc;
    cf.lpLogFont = &lf;
    cf.iPointSize = PointSizeTenths(points);
    cf.Flags = f;
    cf.rgbColors = static_cast<COLORREF>(*Color);
    cf.nSizeMin = *MinSize;
    cf.nSizeMax = *MaxSize;
    if (hook) cf.lpfnHook = FontHookProc;
    const bool ok = call.Done(ChooseFontA(&cf));
    if (own_dc) DeleteDC(printer_dc);
    if (ok) {
        *flags = static_cast<LONG>(cf.Flags);
        *Color = static_cast<LONG>(cf.rgbColors);
        com::PutByName(font, L"Bold", Variant((cf.nFontType & BOLD_FONTTYPE) != 0));
        com::PutByName(font, L"Italic", Variant(lf.lfItalic != 0));
        com::PutByName(font, L"Strikethrough", Variant(lf.lfStrikeOut != 0));
        com::PutByName(font, L"Underline", Variant(lf.lfUnderline != 0));
        com::PutByName(font, L"Weight", Variant(static_cast<long>(lf.lfWeight)));
        com::PutByName(font, L"Size", Variant(PointsFromTenths(cf.iPointSize)));
        com::PutByName(font, L"Name", Variant(CutAtNul(std::string(lf.lfFaceName, LF_FACESIZE))));
    }
    *result = Vb(ok);
    return S_OK;
}

// ---- Print and page setup ---------------------------------------------------

void GCommonDialog::KeepPrinterSettings(HGLOBAL devmode, HGLOBAL devnames) {
    if (devmode) {
        if (const void* dm = GlobalLock(devmode)) {
            const SIZE_T size = GlobalSize(devmode);
            printer_ = DEVMODEA{};
            std::memcpy(&printer_, dm, size < kDevModeBytes ? size : kDevModeBytes);
            GlobalUnlock(devmode);
        }
    }
    FreeHandles(devmode, devnames);
}

void GCommonDialog::SetPrinterProperties(IDispatch* printer, long copies) {
    if (!printer) return;
    // A property the printer object refuses is skipped.
    com::PutByName(printer, L"Copies", Variant(copies));
    com::PutByName(printer, L"Orientation", Variant(static_cast<long>(printer_.dmOrientation)));
    com::PutByName(printer, L"PaperSize", Variant(static_cast<long>(printer_.dmPaperSize)));
    com::PutByName(printer, L"PrintQuality", Variant(static_cast<long>(printer_.dmPrintQuality)));
}

STDMETHODIMP GCommonDialog::VBPrintDlg(LONG* hdc, LONG* PrintRange, VARIANT_BOOL* DisablePageNumbers,
                                       LONG* FromPage, LONG* ToPage, VARIANT_BOOL* DisableSelection,
                                       SHORT* Copies, VARIANT_BOOL* ShowPrintToFile,
                                       VARIANT_BOOL* DisablePrintToFile, VARIANT_BOOL* PrintToFile,
                                       VARIANT_BOOL* Collate, VARIANT_BOOL* PreventWarning,
                                       LONG* Owner, IDispatch** Printer, LONG* flags,
                                       VARIANT_BOOL* Hook, IDispatch** EventSink,
                                       VARIANT_BOOL* result) {
    if (!hdc || !PrintRange || !FromPage || !ToPage || !Copies || !PrintToFile || !Collate ||
        !Owner || !flags || !result)
        return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    PrintChoices choices;
    choices.caller_flags = static_cast<uint32_t>(*flags);
    choices.disable_page_numbers = On(DisablePageNumbers);
    choices.disable_print_to_file = On(DisablePrintToFile);
    choices.disable_selection = On(DisableSelection);
    choices.print_to_file = On(PrintToFile);
    choices.show_print_to_file = On(ShowPrintToFile);
    choices.prevent_warning = On(PreventWarning);
    choices.collate = On(Collate);
    choices.print_range = *PrintRange;
    choices.hook = hook;

    PRINTDLGA pd = {};
    pd.lStructSize = kPrintDlgSize;
    pd.hwndOwner = Window(*Owner);
    pd.Flags = PrintFlags(choices);
    pd.nFromPage = static_cast<WORD>(*FromPage);
    pd.nToPage = static_cast<WORD>(*ToPage);
    pd.nMinPage = 1;
    pd.nMaxPage = 0xFFFF;
    pd.nCopies = static_cast<WORD>(*Copies);
    if (hook) {
        if (pd.Flags & commondialog::flags::kPdPrintSetup) pd.lpfnSetupHook = PrintSetupHookProc;
        else pd.lpfnPrintHook = PrintHookProc;
    }
    const bool ok = call.Done(PrintDlgA(&pd));
    if (ok) {
        *hdc = Handle(pd.hDC);
        *PrintRange = PrintRangeOf(pd.Flags);
        *FromPage = pd.nFromPage;
        *ToPage = pd.nToPage;
        *PrintToFile = Vb(pd.Flags & commondialog::flags::kPdPrintToFile);
        KeepPrinterSettings(pd.hDevMode, pd.hDevNames);
        if (pd.Flags & commondialog::flags::kPdCollate) {
            *Collate = VARIANT_TRUE;
            *Copies = static_cast<SHORT>(pd.nCopies);
        } else {
            *Collate = Vb(printer_.dmCollate == 1);
            *Copies = printer_.dmCopies;
        }
        SetPrinterProperties(Printer ? *Printer : nullptr, *Copies);
    } else {
        FreeHandles(pd.hDevMode, pd.hDevNames);
    }
    *result = Vb(ok);
    return S_OK;
}

STDMETHODIMP GCommonDialog::VBPageSetupDlg2(
    LONG* Owner, VARIANT_BOOL* DisableMargins, VARIANT_BOOL* DisableOrientation,
    VARIANT_BOOL* DisablePaper, VARIANT_BOOL* DisablePrinter, float* LeftMargin,
    float* MinLeftMargin, float* RightMargin, float* MinRightMargin, float* TopMargin,
    float* MinTopMargin, float* BottomMargin, float* MinBottomMargin, LONG* PaperSize,
    LONG* Orientation, LONG* PrintQuality, LONG* Units, IDispatch** Printer, LONG* flags,
    VARIANT_BOOL* Hook, IDispatch** EventSink, VARIANT_BOOL* result) {
    float* margins[] = {LeftMargin, TopMargin, RightMargin, BottomMargin,
                        MinLeftMargin, MinTopMargin, MinRightMargin, MinBottomMargin};
    for (float* m : margins)
        if (!m) return E_POINTER;
    if (!Owner || !PaperSize || !Orientation || !PrintQuality || !Units || !result) return E_POINTER;
    const bool hook = On(Hook);
    Call call(*this, hook, EventSink ? *EventSink : nullptr);
    PAGESETUPDLGA psd = {};
    psd.lStructSize = kPageSetupSize;
    psd.hwndOwner = Window(*Owner);
    psd.Flags = PageSetupFlags({On(DisableMargins), On(DisableOrientation), On(DisablePaper),
                                On(DisablePrinter), *Units, hook});
    LONG* edges[] = {&psd.rtMargin.left, &psd.rtMargin.top, &psd.rtMargin.right, &psd.rtMargin.bottom,
                     &psd.rtMinMargin.left, &psd.rtMinMargin.top, &psd.rtMinMargin.right,
                     &psd.rtMinMargin.bottom};
    for (size_t i = 0; i < 8; ++i) *edges[i] = MarginToDialog(*margins[i], *Units);
    if (hook) psd.lpfnPageSetupHook = PageSetupHookProc;
    const bool ok = call.Done(PageSetupDlgA(&psd));
    if (ok) {
        for (size_t i = 0; i < 8; ++i) *margins[i] = MarginFromDialog(*edges[i], *Units);
        KeepPrinterSettings(psd.hDevMode, psd.hDevNames);
        *PaperSize = printer_.dmPaperSize;
        *Orientation = printer_.dmOrientation;
        *PrintQuality = printer_.dmPrintQuality;
        SetPrinterProperties(Printer ? *Printer : nullptr, printer_.dmCopies);
    } else {
        FreeHandles(psd.hDevMode, psd.hDevNames);
    }
    *result = Vb(ok);
    return S_OK;
}

STDMETHODIMP GCommonDialog::VBPageSetupDlg(
    LONG* Owner, VARIANT_BOOL* DisableMargins, VARIANT_BOOL* DisableOrientation,
    VARIANT_BOOL* DisablePaper, VARIANT_BOOL* DisablePrinter, LONG* LeftMargin, LONG* MinLeftMargin,
    LONG* RightMargin, LONG* MinRightMargin, LONG* TopMargin, LONG* MinTopMargin,
    LONG* BottomMargin, LONG* MinBottomMargin, LONG* PaperSize, LONG* Orientation,
    LONG* PrintQuality, LONG* Units, IDispatch** Printer, LONG* flags, VARIANT_BOOL* Hook,
    IDispatch** EventSink, VARIANT_BOOL* result) {
    LONG* whole[] = {LeftMargin, MinLeftMargin, RightMargin, MinRightMargin,
                     TopMargin, MinTopMargin, BottomMargin, MinBottomMargin};
    float f[8];
    for (size_t i = 0; i < 8; ++i) {
        if (!whole[i]) return E_POINTER;
        f[i] = static_cast<float>(*whole[i]);
    }
    HRESULT hr = VBPageSetupDlg2(Owner, DisableMargins, DisableOrientation, DisablePaper,
                                 DisablePrinter, &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &f[6],
                                 &f[7], PaperSize, Orientation, PrintQuality, Units, Printer, flags,
                                 Hook, EventSink, result);
    for (size_t i = 0; i < 8; ++i) *whole[i] = std::lrint(f[i]);
    return hr;
}

// ---- The hook dispatcher -----------------------------------------------------

STDMETHODIMP GCommonDialog::DialogHook(LONG* hDlg, LONG* msg, LONG* wParam, LONG* lParam,
                                       VARIANT* result) {
    if (!hDlg || !msg || !wParam || !lParam || !result) return E_POINTER;
    VariantInit(result);
    Variant answer = Dispatch(Window(*hDlg), static_cast<UINT>(*msg),
                              static_cast<WPARAM>(static_cast<ULONG>(*wParam)),
                              static_cast<LPARAM>(*lParam));
    VARIANT* v = answer.Get();
    *result = *v;
    VariantInit(v);
    return S_OK;
}

Variant GCommonDialog::Dispatch(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    // The sink is called late, by name; keep it through the call.
    const com::ComPtr<IDispatch> sink = sink_;
    Variant answer;
    if (!sink) return answer;
    const Variant hdlg(Handle(dlg));
    switch (msg) {
    case WM_DESTROY:
        com::CallByName(sink.Get(), L"DialogClose");
        break;
    case WM_INITDIALOG:
        com::CallByName(sink.Get(), L"InitDialog", {hdlg}, &answer);
        break;
    case WM_COMMAND: {
        // The handler gets copies: its changes do not reach the dialog.
        long w = static_cast<long>(wparam), l = static_cast<long>(lparam);
        com::CallByName(sink.Get(), L"WMCommand", {hdlg, Variant::ByRef(&w), Variant::ByRef(&l)});
        break;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (!header) break;
        switch (header->code) {
        case CDN_SELCHANGE: com::CallByName(sink.Get(), L"FileChange", {hdlg}, &answer); break;
        case CDN_FOLDERCHANGE: com::CallByName(sink.Get(), L"FolderChange", {hdlg}, &answer); break;
        case CDN_TYPECHANGE: com::CallByName(sink.Get(), L"TypeChange", {hdlg}, &answer); break;
        case CDN_FILEOK: {
            Variant confirmed;
            // A sink that cannot answer lets the dialog close.
            const bool ok = !(SUCCEEDED(com::CallByName(sink.Get(), L"ConfirmOK", {}, &confirmed)) &&
                              confirmed.Type() == VT_BOOL &&
                              V_BOOL(confirmed.Get()) == VARIANT_FALSE);
            SetWindowLongA(dlg, DWL_MSGRESULT, ok ? 0 : 1);
            if (!ok) answer = Variant(1L);
            break;
        }
        default: break;
        }
        break;
    }
    default: break;
    }
    return answer;
}

}  // namespace corvella::commondialog
