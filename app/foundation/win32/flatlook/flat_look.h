// A form's flat look through the flat-controls library (Planomir): made when
// the form loads, undone when it closes; every form keeps one, the splash
// and the progress window as well as the main window and the dialogs. The
// library itself leaves Windows XP's own look alone. Without the library the
// form keeps the standard look; nothing else changes.
#pragma once

#include "libs/common/com/com_ptr.h"
#include "platform/forms/forms.h"

struct _FlatControls;

namespace corvella {

class FlatLook {
public:
    FlatLook();
    ~FlatLook();
    FlatLook(const FlatLook&) = delete;
    FlatLook& operator=(const FlatLook&) = delete;

    // CreateFlatControls with the form; false without the library.
    bool Create(forms::Form& form);
    // The soft border of a pane (CreateSoftBorder with True).
    void SoftBorder(forms::Control& pane);
    // DestroyFlatControls; no effect when nothing was made.
    void Destroy();

private:
    com::ComPtr<_FlatControls> flat_;
};

}  // namespace corvella
