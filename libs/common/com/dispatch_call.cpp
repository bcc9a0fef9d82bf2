#include "libs/common/com/dispatch_call.h"

#include <dispex.h>

namespace corvella::com {
namespace {

// IDispatchEx, spelt out: not every import library of the tool chain has it.
constexpr IID kIID_IDispatchEx = {0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags,
                     const std::vector<Variant>& args, Variant* result) {
    if (!object) return E_POINTER;
    DISPID id = 0;
    HRESULT hr = DispIdOfName(object, name, &id);
    if (FAILED(hr)) return hr;
    // DISPPARAMS lists the arguments last first; the variants stay `args`'.
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(),
                         flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                         static_cast<UINT>(reversed.size()),
                         flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO excep = {};
    UINT argerr = 0;
    Variant local;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        (result ? result : &local)->Put(), &excep, &argerr);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return hr;
}

}  // namespace

HRESULT DispIdOfName(IDispatch* object, const wchar_t* name, DISPID* id) {
    if (!object || !id) return E_POINTER;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, id);
    if (SUCCEEDED(hr)) return hr;
    ComPtr<IDispatchEx> ex;
    if (FAILED(object->QueryInterface(kIID_IDispatchEx, ex.PutVoid()))) return hr;
    BSTR text = SysAllocString(name);
    const HRESULT found = text ? ex->GetDispID(text, fdexNameCaseInsensitive, id) : E_OUTOFMEMORY;
    SysFreeString(text);
    return SUCCEEDED(found) ? found : hr;
}

HRESULT CallByName(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args,
                   Variant* result) {
    return InvokeByName(object, name, DISPATCH_METHOD, args, result);
}

HRESULT GetByName(IDispatch* object, const wchar_t* name, Variant& value) {
    return GetByName(object, name, {}, value);
}

HRESULT GetByName(IDispatch* object, const wchar_t* name, const std::vector<Variant>& indexes, Variant& value) {
    return InvokeByName(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, indexes, &value);
}

HRESULT PutByName(IDispatch* object, const wchar_t* name, const Variant& value) {
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}

}  // namespace corvella::com
