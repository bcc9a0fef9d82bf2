// What the window tests of the flat look use: pixels read from the screen
// after a forced repaint, compared with system colours; and real mouse
// input, the cursor moved and buttons pressed through the system's input
// queue, so windows see what a user's hand would make them see. The test
// form is kept on top, away from the corner where other tests' windows
// open, and each step waits until the input has been handled.
#pragma once

#include <windows.h>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::testing {

// A system colour as GetPixel reports it.
inline COLORREF SysColour(int index) { return GetSysColor(index) & 0xFFFFFF; }

// The window painted again now (frame included), then one pixel of its
// client area as the screen shows it.
inline COLORREF RepaintedPixel(HWND h, int x, int y) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    HDC dc = GetDC(h);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
}

inline void MouseButton(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

inline void HandlePendingInput() {
    forms::testing::PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; }, 3000);
}

// Moves the cursor to a point of the window's client area; false when some
// other window is there.
inline bool MoveTo(HWND h, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(h, &p);
    SetCursorPos(p.x, p.y);
    MouseButton(MOUSEEVENTF_MOVE);
    HandlePendingInput();
    return WindowFromPoint(p) == h;
}

// Puts the top-level window where the user's input will reach it.
inline void BringToUser(HWND topLevel) {
    SetWindowPos(topLevel, HWND_TOPMOST, 700, 500, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(topLevel);
    HandlePendingInput();
}

}  // namespace corvella::testing
