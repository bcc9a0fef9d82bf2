#include "app/mainwindow/main_dialogs.h"

#include "app/mainwindow/about/frm_about.h"
#include "app/mainwindow/options/frm_options.h"

namespace corvella::mainwindow {

void ShowOptionsDialog(forms::Form& owner) { frmOptions().Show(forms::kModal, &owner); }
void ShowAboutBox(forms::Form& owner) { frmAbout().Show(forms::kModal, &owner); }

}  // namespace corvella::mainwindow
