#include "libs/common/com/com_text.h"

#include <oleauto.h>

namespace corvella::com {

std::string BstrToAnsi(BSTR text) {
    UINT n = text ? SysStringLen(text) : 0;
    if (n == 0) return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), &out[0], bytes, nullptr, nullptr);
    return out;
}

BSTR AnsiToBstr(const std::string& text) {
    if (text.empty()) return SysAllocStringLen(L"", 0);
    int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(chars > 0 ? chars : 0));
    if (out && chars > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, chars);
    return out;
}

HRESULT VariantToAnsi(const VARIANT& value, std::string& out) {
    const VARIANT* v = &value;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_BSTR) {
        out = BstrToAnsi(V_BSTR(v));
        return S_OK;
    }
    if (V_VT(v) == VT_NULL) return DISP_E_TYPEMISMATCH;
    VARIANT tmp;
    VariantInit(&tmp);
    // VARIANT_ALPHABOOL gives "True"/"False" as the run-time's conversion does.
    HRESULT hr = VariantChangeTypeEx(&tmp, const_cast<VARIANT*>(v), LOCALE_USER_DEFAULT,
                                     VARIANT_ALPHABOOL, VT_BSTR);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    out = BstrToAnsi(V_BSTR(&tmp));
    VariantClear(&tmp);
    return S_OK;
}

std::string TakeErrorDescription() {
    std::string text;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info != nullptr) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) text = BstrToAnsi(description);
        SysFreeString(description);
        info->Release();
    }
    return text;
}

}  // namespace corvella::com
