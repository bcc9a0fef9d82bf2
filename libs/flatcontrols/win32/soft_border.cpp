#include "libs/flatcontrols/win32/soft_border.h"

namespace corvella::flat {

bool SetSoftBorder(HWND hWnd, bool softBorder) {
    LONG ex = GetWindowLongA(hWnd, GWL_EXSTYLE);
    ex |= softBorder ? WS_EX_STATICEDGE : WS_EX_CLIENTEDGE;
    SetWindowLongA(hWnd, GWL_EXSTYLE, ex);
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    return false;
}

}  // namespace corvella::flat
