// The program's top-level windows. Each has one default instance, created
// on first use and addressed by its form's name.
#pragma once

#include <windows.h>

namespace corvella {

// Window class names, for FindWindowA.
extern const char kLoadingClass[];  // "CorvellaLoading"
extern const char kMainClass[];     // "CorvellaMain"

bool RegisterFormClasses(HINSTANCE instance);

namespace frmLoading {
// Creates and shows the splash (modeless, no owner). False when it could
// not be created.
bool Show();
void Unload();  // no effect when it is gone
HWND Handle();
}  // namespace frmLoading

namespace frmMain {
// Creates the main window hidden; no effect when it exists. False on failure.
bool Load();
void Show();
void Unload();  // no effect when it is gone
HWND Handle();
}  // namespace frmMain

}  // namespace corvella
