// Real mouse input for window tests: the cursor is moved and buttons are
// pressed through the system's input queue, so windows see what a user's
// hand would make them see. The test form is kept on top, away from the
// corner where other tests' windows open, and each step waits until the
// input has been handled.
#pragma once

#include <windows.h>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::testing {

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
