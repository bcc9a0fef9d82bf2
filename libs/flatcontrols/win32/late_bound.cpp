#include "libs/flatcontrols/win32/late_bound.h"

#include <oleauto.h>

namespace corvella::flat {
namespace {

HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* out) {
    if (!object) return E_POINTER;
    DISPID id = DISPID_VALUE;
    if (name) {
        LPOLESTR n = const_cast<LPOLESTR>(name);
        HRESULT hr = object->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) return hr;
    }
    EXCEPINFO excep = {};
    HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, out, &excep, nullptr);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return hr;
}

}  // namespace

HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT& out) {
    VariantInit(&out);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return Call(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, &out);
}

HRESULT GetLongProperty(IDispatch* object, const wchar_t* name, long& out) {
    VARIANT v;
    HRESULT hr = GetProperty(object, name, v);
    if (FAILED(hr)) return hr;
    hr = VariantChangeType(&v, &v, 0, VT_I4);
    if (SUCCEEDED(hr)) out = V_I4(&v);
    VariantClear(&v);
    return hr;
}

HRESULT PutLongProperty(IDispatch* object, const wchar_t* name, long value) {
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&arg, &named, 1, 1};
    return Call(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
}

HRESULT GetItem(IDispatch* collection, long index, IDispatch** out) {
    *out = nullptr;
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = index;
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = Call(collection, L"Item", DISPATCH_PROPERTYGET | DISPATCH_METHOD, params, &result);
    if (FAILED(hr)) return hr;
    if (V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result)) {
        *out = V_DISPATCH(&result);
        return S_OK;
    }
    VariantClear(&result);
    return DISP_E_TYPEMISMATCH;
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
