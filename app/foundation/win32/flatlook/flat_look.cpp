#include "app/foundation/win32/flatlook/flat_look.h"

#include "libs/flatcontrols/com/planomir.h"
#include "platform/forms/automation.h"

namespace corvella {

FlatLook::FlatLook() = default;

FlatLook::~FlatLook() { Destroy(); }

bool FlatLook::Create(forms::Form& form) {
    if (!flat_ && FAILED(CoCreateInstance(planomir::CLSID_FlatControls, nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(_FlatControls), flat_.PutVoid())))
        return false;
    IDispatch* face = forms::AutomationFace(form);
    if (face == nullptr) return false;
    // The library answers False whatever it did; the call's success counts.
    VARIANT_BOOL answer = VARIANT_FALSE;
    const HRESULT hr = flat_->CreateFlatControls(&face, &answer);
    if (face != nullptr) face->Release();
    return SUCCEEDED(hr);
}

void FlatLook::SoftBorder(forms::Control& pane) {
    if (!flat_) return;
    IDispatch* face = forms::AutomationFace(pane);
    if (face == nullptr) return;
    VARIANT_BOOL done = VARIANT_FALSE;
    flat_->CreateSoftBorder(face, VARIANT_TRUE, &done);
    face->Release();
}

void FlatLook::Destroy() {
    if (!flat_) return;
    VARIANT_BOOL done = VARIANT_FALSE;
    flat_->DestroyFlatControls(&done);
    flat_.Reset();
}

}  // namespace corvella
