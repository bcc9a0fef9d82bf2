// The way a form is written so that it stays readable at the main window's
// size (about 150 controls, 300 handlers):
//
//   frm_options.h           the class: controls as members, grouped
//                           as the window groups them; handlers as private
//                           member functions named object_Event
//                           (cmdOK_Click, Form_Load_); Design() and Wire().
//   frm_options_design.cpp  Design(): the form's own properties, then every
//                           control and timer named once, through
//                           DESIGN, with its design properties. Nothing else.
//   frm_options.cpp         the constructor (Design(); Wire();), Wire(): one
//                           line per event, `x.Event = On(&Frm::x_Event)`,
//                           and the handlers.
//   frm_options_<concern>.cpp  for a large form, the handlers of one concern
//                           each (menus, layout, list, apply...).
//
//     void FrmLoading::Design() {
//         forms::DesignDialog(*this, "frmLoading", "", 5400, 1800, forms::kStartCenterScreen);
//         {
//             auto& c = DESIGN(lblOutput);
//             c.useMnemonic = false;
//             c.Move(180, 450, 4920, 255);
//         }
//         DESIGN(tmrProgress).interval = 1;
//     }
//
// The form creates what Design() listed on every load, in the order listed
// (a container before its controls: DESIGN_IN(control, container)), so no
// CreateControls is written by hand.
#pragma once

#include "platform/forms/forms.h"

namespace corvella::forms {

// The opening of a dialog's Design(): its name and caption, the fixed dialog
// frame without minimise and maximise buttons, where it first shows, its
// outer size in twips and the program's font.
//
//     DesignDialog(*this, "frmAbout", "About...", 6000, 4560);
inline void DesignDialog(Form& form, const char* name, const char* caption, int width, int height,
                         StartUpPosition position = kStartCenterOwner) {
    form.name = name;
    form.caption = caption;
    form.borderStyle = kFixedDialog;
    form.minButton = false;
    form.maxButton = false;
    form.startUpPosition = position;
    form.width = width;
    form.height = height;
    form.fontName = "Tahoma";
}

}  // namespace corvella::forms

// The member's own name is the control's name: it is written once.
#define DESIGN(member) Designed(member, #member)
#define DESIGN_IN(member, container) Designed(member, #member, &(container))
