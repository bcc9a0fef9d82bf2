// GCommonDialog: the comdlg32 calls behind the common-dialog object, and the
// hook relay that carries a hooked dialog's messages to its event sink.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "libs/common/com/com_ptr.h"
#include "libs/common/com/com_server.h"
#include "libs/commondialog/com/ossivane.h"

namespace corvella::commondialog {

class GCommonDialog : public com::Dual<_GCommonDialog> {
public:
    STDMETHODIMP DialogHook(LONG* hDlg, LONG* msg, LONG* wParam, LONG* lParam, VARIANT* result) override;
    STDMETHODIMP get_APIReturn(LONG* result) override;
    STDMETHODIMP get_ExtendedError(LONG* result) override;
    STDMETHODIMP VBGetOpenFileName2(BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* FileMustExist,
                                    VARIANT_BOOL* MultiSelect, VARIANT_BOOL* ReadOnly,
                                    VARIANT_BOOL* HideReadOnly, BSTR* Filter, LONG* FilterIndex,
                                    BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner,
                                    LONG* flags, VARIANT_BOOL* Hook, LONG* hInstance,
                                    LONG* TemplateName, IDispatch** EventSink,
                                    VARIANT_BOOL* result) override;
    STDMETHODIMP VBGetOpenFileName(BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* FileMustExist,
                                   VARIANT_BOOL* MultiSelect, VARIANT_BOOL* ReadOnly,
                                   VARIANT_BOOL* HideReadOnly, BSTR* Filter, LONG* FilterIndex,
                                   BSTR* InitDir, BSTR* DlgTitle, BSTR* DefaultExt, LONG* Owner,
                                   LONG* flags, VARIANT_BOOL* Hook, IDispatch** EventSink,
                                   VARIANT_BOOL* result) override;
    STDMETHODIMP VBGetSaveFileName2(BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* OverWritePrompt,
                                    BSTR* Filter, LONG* FilterIndex, BSTR* InitDir, BSTR* DlgTitle,
                                    BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
                                    LONG* hInstance, LONG* TemplateName, IDispatch** EventSink,
                                    VARIANT_BOOL* result) override;
    STDMETHODIMP VBGetSaveFileName(BSTR* Filename, BSTR* FileTitle, VARIANT_BOOL* OverWritePrompt,
                                   BSTR* Filter, LONG* FilterIndex, BSTR* InitDir, BSTR* DlgTitle,
                                   BSTR* DefaultExt, LONG* Owner, LONG* flags, VARIANT_BOOL* Hook,
                                   IDispatch** EventSink, VARIANT_BOOL* result) override;
    STDMETHODIMP VBGetFileTitle(BSTR* sFIle, BSTR* result) override;
    STDMETHODIMP VBChooseColor(LONG* Color, VARIANT_BOOL* AnyColor, VARIANT_BOOL* FullOpen,
                               VARIANT_BOOL* DisableFullOpen, LONG* Owner, LONG* flags,
                               VARIANT_BOOL* Hook, IDispatch** EventSink, VARIANT_BOOL* result) override;
    STDMETHODIMP get_CustomColor(LONG i, LONG* result) override;
    STDMETHODIMP put_CustomColor(LONG i, LONG value) override;
    STDMETHODIMP VBChooseFont(IDispatch** CurFont, LONG* PrinterDC, LONG* Owner, LONG* Color,
                              LONG* MinSize, LONG* MaxSize, LONG* flags, VARIANT_BOOL* Hook,
                              IDispatch** EventSink, VARIANT_BOOL* result) override;
    STDMETHODIMP VBPrintDlg(LONG* hdc, LONG* PrintRange, VARIANT_BOOL* DisablePageNumbers,
                            LONG* FromPage, LONG* ToPage, VARIANT_BOOL* DisableSelection,
                            SHORT* Copies, VARIANT_BOOL* ShowPrintToFile,
                            VARIANT_BOOL* DisablePrintToFile, VARIANT_BOOL* PrintToFile,
                            VARIANT_BOOL* Collate, VARIANT_BOOL* PreventWarning, LONG* Owner,
                            IDispatch** Printer, LONG* flags, VARIANT_BOOL* Hook,
                            IDispatch** EventSink, VARIANT_BOOL* result) override;
    STDMETHODIMP VBPageSetupDlg2(LONG* Owner, VARIANT_BOOL* DisableMargins,
                                 VARIANT_BOOL* DisableOrientation, VARIANT_BOOL* DisablePaper,
                                 VARIANT_BOOL* DisablePrinter, float* LeftMargin, float* MinLeftMargin,
                                 float* RightMargin, float* MinRightMargin, float* TopMargin,
                                 float* MinTopMargin, float* BottomMargin, float* MinBottomMargin,
                                 LONG* PaperSize, LONG* Orientation, LONG* PrintQuality, LONG* Units,
                                 IDispatch** Printer, LONG* flags, VARIANT_BOOL* Hook,
                                 IDispatch** EventSink, VARIANT_BOOL* result) override;
    STDMETHODIMP VBPageSetupDlg(LONG* Owner, VARIANT_BOOL* DisableMargins,
                                VARIANT_BOOL* DisableOrientation, VARIANT_BOOL* DisablePaper,
                                VARIANT_BOOL* DisablePrinter, LONG* LeftMargin, LONG* MinLeftMargin,
                                LONG* RightMargin, LONG* MinRightMargin, LONG* TopMargin,
                                LONG* MinTopMargin, LONG* BottomMargin, LONG* MinBottomMargin,
                                LONG* PaperSize, LONG* Orientation, LONG* PrintQuality, LONG* Units,
                                IDispatch** Printer, LONG* flags, VARIANT_BOOL* Hook,
                                IDispatch** EventSink, VARIANT_BOOL* result) override;

    // What the hook relay calls for each message of a hooked dialog: the
    // sink's answer, empty for most messages.
    com::Variant Dispatch(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam);

private:
    // The steps every dialog call shares around the system call.
    class Call;
    void FillCustomColors();
    // The first 122 bytes of a returned DEVMODE; the handles are freed.
    void KeepPrinterSettings(HGLOBAL devmode, HGLOBAL devnames);
    void SetPrinterProperties(IDispatch* printer, long copies);

    LONG api_return_ = 0;
    LONG extended_error_ = 0;
    COLORREF custom_colors_[16] = {};
    bool colors_filled_ = false;
    DEVMODEA printer_ = {};
    com::ComPtr<IDispatch> sink_;  // only while a hooked dialog is open
};

// The relay's per-thread current dialog: set by a wrapper just before a
// hooked dialog call and cleared after. Setting adds no reference.
void SetCurrentDialog(GCommonDialog* dialog);
com::ComPtr<GCommonDialog> GetCurrentDialog();
void ClearCurrentDialog();

// The relay's hook procedures, one a dialog kind.
UINT_PTR CALLBACK FileDialogHookProc(HWND, UINT, WPARAM, LPARAM);
UINT_PTR CALLBACK PrintHookProc(HWND, UINT, WPARAM, LPARAM);
UINT_PTR CALLBACK PrintSetupHookProc(HWND, UINT, WPARAM, LPARAM);
UINT_PTR CALLBACK PageSetupHookProc(HWND, UINT, WPARAM, LPARAM);
UINT_PTR CALLBACK ColorHookProc(HWND, UINT, WPARAM, LPARAM);
UINT_PTR CALLBACK FontHookProc(HWND, UINT, WPARAM, LPARAM);

// A run-time error number as the HRESULT a script sees (0x800A0000 + n).
inline HRESULT ErrorResult(long number) {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(number));
}

}  // namespace corvella::commondialog
