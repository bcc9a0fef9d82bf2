#include "libs/flatcontrols/win32/late_bound.h"

#include <oleauto.h>

#include "libs/common/com/dispatch_call.h"

namespace corvella::flat {
namespace {

// Hands the object a read gave over to the caller; anything else is a
// type mismatch.
HRESULT TakeObject(HRESULT hr, com::Variant& value, IDispatch** out) {
    if (FAILED(hr)) return hr;
    if (value.Type() != VT_DISPATCH || !V_DISPATCH(value.Get())) return DISP_E_TYPEMISMATCH;
    *out = V_DISPATCH(value.Get());
    V_VT(value.Get()) = VT_EMPTY;
    return S_OK;
}

}  // namespace

HRESULT GetLongProperty(IDispatch* object, const wchar_t* name, long& out) {
    com::Variant v;
    HRESULT hr = com::GetByName(object, name, v);
    if (FAILED(hr)) return hr;
    hr = VariantChangeType(v.Get(), v.Get(), 0, VT_I4);
    if (SUCCEEDED(hr)) out = V_I4(v.Get());
    return hr;
}

HRESULT PutLongProperty(IDispatch* object, const wchar_t* name, long value) {
    return com::PutByName(object, name, com::Variant(value));
}

HRESULT GetObjectProperty(IDispatch* object, const wchar_t* name, IDispatch** out) {
    *out = nullptr;
    com::Variant v;
    return TakeObject(com::GetByName(object, name, v), v, out);
}

HRESULT GetItem(IDispatch* collection, long index, IDispatch** out) {
    *out = nullptr;
    com::Variant v;
    return TakeObject(com::GetByName(collection, L"Item", {com::Variant(index)}, v), v, out);
}

std::wstring TypeNameOf(IDispatch* object) {
    std::wstring name;
    ITypeInfo* ti = nullptr;
    if (!object || FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &ti)) || !ti) return name;
    BSTR text = nullptr;
    if (SUCCEEDED(ti->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr)) && text)
        name.assign(text, SysStringLen(text));
    SysFreeString(text);
    ti->Release();
    return name;
}

}  // namespace corvella::flat
