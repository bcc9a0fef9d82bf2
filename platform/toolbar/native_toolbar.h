// What the program's toolbars share: a window of their own that holds one
// common-controls toolbar (ToolbarWindow32) as its first child, receives its
// clicks and drop-downs, and reads button states from it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/toolbar/button_styles.h"

namespace corvella::platform::detail {

// Command ids of the buttons: this base plus the button's 0-based position.
constexpr int kFirstButtonId = 100;

// Makes the toolbar inside `host`, filling its client area.
HWND CreateNativeToolbar(HWND host, DWORD extraStyle);

// Appends a button; image -1 is none, an empty caption is none.
void AddNativeButton(HWND bar, int position, const ButtonBehaviour& behaviour, int image,
                     const std::string& caption, bool pressed, bool enabled);

// Pressed (checked) state and enabled state by position.
bool ButtonPressed(HWND bar, int position);
void SetButtonPressed(HWND bar, int position, bool pressed);
bool ButtonEnabledAt(HWND bar, int position);
void SetButtonEnabledAt(HWND bar, int position, bool enabled);

// The size the buttons need, in pixels (right and bottom of the last button).
SIZE IdealSize(HWND bar);

// The button position of a WM_COMMAND from the toolbar, -1 for another.
int ClickedButton(HWND bar, WPARAM wp, LPARAM lp);

}  // namespace corvella::platform::detail
