#include "app/mainwindow/options/flat_look.h"

#include "libs/flatcontrols/com/planomir.h"
#include "platform/forms/automation.h"

namespace corvella {

bool FlatLook::Create(forms::Form& form) {
    Destroy();
    if (FAILED(CoCreateInstance(planomir::CLSID_FlatControls, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(_FlatControls), reinterpret_cast<void**>(&flat_)))) {
        flat_ = nullptr;
        return false;
    }
    IDispatch* face = forms::AutomationFace(form);
    VARIANT_BOOL result = VARIANT_FALSE;
    const HRESULT hr = face != nullptr ? flat_->CreateFlatControls(&face, &result) : E_OUTOFMEMORY;
    if (face != nullptr) face->Release();
    return SUCCEEDED(hr);
}

void FlatLook::Destroy() {
    if (flat_ == nullptr) return;
    VARIANT_BOOL result = VARIANT_FALSE;
    flat_->DestroyFlatControls(&result);
    flat_->Release();
    flat_ = nullptr;
}

}  // namespace corvella
