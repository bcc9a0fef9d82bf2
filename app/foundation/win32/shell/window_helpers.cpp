#include "app/foundation/win32/shell/window_helpers.h"

#include <commctrl.h>

#include <vector>

#include "libs/common/text/text_primitives.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

void SendToBar(HWND bar, UINT message, COLORREF colour) {
    if (bar) SendMessageA(bar, message, 0, static_cast<LPARAM>(colour));
}

}  // namespace

std::string FitTextWithEllipsis(HDC dc, int32_t width_twips, const std::string& text, UINT flags) {
    const std::string whole = TrimAtNull(text);
    if (!dc) return whole;
    RECT rect = {0, 0, forms::Screen.ToPixelsX(width_twips), 0};
    // DT_MODIFYSTRING may write up to four characters beyond the text.
    std::vector<char> buf(whole.begin(), whole.end());
    buf.resize(whole.size() + 5, '\0');
    DrawTextA(dc, buf.data(), -1, &rect, flags | DT_MODIFYSTRING | DT_CALCRECT);
    return TrimAtNull(buf.data(), buf.size());
}

void SetProgressBackColour(HWND bar, COLORREF colour) { SendToBar(bar, PBM_SETBKCOLOR, colour); }

void SetProgressBarColour(HWND bar, COLORREF colour) { SendToBar(bar, PBM_SETBARCOLOR, colour); }

void SetTopMost(HWND window, bool top_most) {
    SetWindowPos(window, top_most ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void LockWindow(HWND window, bool lock) {
    if (lock) {
        SendMessageA(window, WM_SETREDRAW, 0, 0);
        return;
    }
    SendMessageA(window, WM_SETREDRAW, 1, 0);
    RECT client;
    if (GetClientRect(window, &client))
        RedrawWindow(window, &client, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MakeToolbarFlat(HWND host) {
    HWND bar = GetWindow(host, GW_CHILD);
    if (!bar) return;
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    SetWindowLongA(bar, GWL_STYLE, style | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NOPARENTALIGN);
}

void SystemBeep(UINT sound_type) { MessageBeep(sound_type); }

}  // namespace shell
}  // namespace corvella
