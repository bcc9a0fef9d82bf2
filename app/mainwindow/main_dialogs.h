// The main window's own dialogs, opened modally over it: the options dialog
// and the about box. Kept apart from frm_main.h so that the dialogs' headers
// and the window's need not meet in one file.
#pragma once

#include "platform/forms/forms.h"

namespace corvella::mainwindow {

void ShowOptionsDialog(forms::Form& owner);
void ShowAboutBox(forms::Form& owner);

}  // namespace corvella::mainwindow
