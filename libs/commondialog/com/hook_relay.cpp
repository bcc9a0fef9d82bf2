// The hook relay: comdlg32 calls plain procedures; these find the wrapper
// that opened the dialog on this thread and hand it the message.
#include "libs/commondialog/com/gcommondialog.h"

namespace corvella::commondialog {
namespace {

// TlsAlloc rather than compiler thread-locals: those do not work in a
// library loaded at run time on the older systems.
DWORD Slot() {
    static const DWORD slot = TlsAlloc();
    return slot;
}

UINT_PTR Relay(HWND dlg, UINT msg, WPARAM wparam, LPARAM lparam) {
    com::ComPtr<GCommonDialog> current = GetCurrentDialog();
    if (!current) return 0;
    com::Variant answer = current->Dispatch(dlg, msg, wparam, lparam);
    VARIANT n;
    VariantInit(&n);
    if (answer.Type() == VT_EMPTY ||
        FAILED(VariantChangeType(&n, answer.Get(), 0, VT_I4)))
        return 0;
    return static_cast<UINT_PTR>(static_cast<ULONG>(V_I4(&n)));
}

}  // namespace

void SetCurrentDialog(GCommonDialog* dialog) {
    if (Slot() != TLS_OUT_OF_INDEXES) TlsSetValue(Slot(), dialog);
}

com::ComPtr<GCommonDialog> GetCurrentDialog() {
    if (Slot() == TLS_OUT_OF_INDEXES) return {};
    return com::ComPtr<GCommonDialog>(static_cast<GCommonDialog*>(TlsGetValue(Slot())));
}

void ClearCurrentDialog() { SetCurrentDialog(nullptr); }

UINT_PTR CALLBACK FileDialogHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }
UINT_PTR CALLBACK PrintHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }
UINT_PTR CALLBACK PrintSetupHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }
UINT_PTR CALLBACK PageSetupHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }
UINT_PTR CALLBACK ColorHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }
UINT_PTR CALLBACK FontHookProc(HWND d, UINT m, WPARAM w, LPARAM l) { return Relay(d, m, w, l); }

}  // namespace corvella::commondialog
