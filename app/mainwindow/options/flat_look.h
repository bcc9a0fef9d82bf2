// The flat look of a dialog: a FlatControls object of its own, made when the
// dialog loads and undone when it unloads. Without the library registered
// the dialog keeps the standard look.
#pragma once

#include "platform/forms/forms.h"

struct _FlatControls;

namespace corvella {

class FlatLook {
public:
    FlatLook() = default;
    ~FlatLook() { Destroy(); }
    FlatLook(const FlatLook&) = delete;
    FlatLook& operator=(const FlatLook&) = delete;

    // CreateFlatControls with the form; false when the look could not be put on.
    bool Create(forms::Form& form);
    // DestroyFlatControls; no effect without a look.
    void Destroy();

private:
    _FlatControls* flat_ = nullptr;
};

}  // namespace corvella
