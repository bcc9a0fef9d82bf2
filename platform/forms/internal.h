// Shared state and helpers of the run-time's own sources; not for callers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace corvella::forms {
class Control;
class Form;
}  // namespace corvella::forms

namespace corvella::forms::detail {

// Window properties that lead from a window to its wrapper.
extern const char kFormProp[];
extern const char kControlProp[];

extern std::vector<Form*> gLoadedForms;  // in load order
extern Form* gActiveForm;
extern Form* gCreatingForm;  // the form whose window CreateWindowExA is making

Form* FormFromWindow(HWND hwnd);
Control* ControlFromWindow(HWND hwnd);
// Ties a window to its wrapper and unties it; unbinding only drops the tie
// to that wrapper, never a newer one the handle may carry.
void BindForm(HWND hwnd, Form* form);
void UnbindForm(HWND hwnd, const Form* form);
void BindControl(HWND hwnd, Control* control);
void UnbindControl(HWND hwnd, const Control* control);

// kShiftMask | kCtrlMask | kAltMask from the keyboard now.
int ShiftState();

// Registers a window class of the run-time once; false when it cannot be.
bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style, HBRUSH background);

// The arguments of a mouse message as the mouse events pass them: button
// (the one pressed or released; the held ones for a move), shift keys and
// the point in twips.
struct MouseArgs {
    enum Kind { kNone, kDown, kMove, kUp } kind = kNone;
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
};
MouseArgs ReadMouse(UINT msg, WPARAM wp, LPARAM lp);

// The text of a window.
std::string WindowText(HWND hwnd);

// The top-level window a window belongs to.
HWND RootWindow(HWND hwnd);

// A font of `points` size at the screen's density; null when it cannot be made.
HFONT MakeFont(const std::string& face, int points, bool bold);

}  // namespace corvella::forms::detail
