#include "libs/common/com/com_text.h"

#include <oleauto.h>

#include <algorithm>

#include "libs/common/storage/win32_find_names.h"

namespace corvella::com {

namespace {

using ShortPathFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);

// GetShortPathNameW, which Windows 9x has only as a stub that fails; there
// every name is in the code page anyway.
ShortPathFn ShortPathName() {
    static const ShortPathFn fn = [] {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        return kernel != nullptr ? reinterpret_cast<ShortPathFn>(
                                       reinterpret_cast<void*>(GetProcAddress(kernel, "GetShortPathNameW")))
                                 : nullptr;
    }();
    return fn;
}

}  // namespace

std::string BstrToAnsi(BSTR text) {
    UINT n = text ? SysStringLen(text) : 0;
    if (n == 0) return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(n), &out[0], bytes, nullptr, nullptr);
    return out;
}

std::optional<std::string> BstrToFileName(BSTR name) {
    std::wstring wide(name ? name : L"", name ? SysStringLen(name) : 0);
    wide.erase(std::min(wide.find(L'\0'), wide.size()));
    bool exact = false;
    std::string narrow = NarrowName(wide.c_str(), static_cast<int>(wide.size()), exact);
    if (exact) return narrow;
    const ShortPathFn shortPath = ShortPathName();
    if (!shortPath) return std::nullopt;
    // Only a file that exists has a short name.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD chars = shortPath(wide.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    if (chars >= buffer.size()) {
        buffer.assign(chars, L'\0');
        chars = shortPath(wide.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    }
    if (chars == 0 || chars >= buffer.size()) return std::nullopt;
    narrow = NarrowName(buffer.c_str(), static_cast<int>(chars), exact);
    if (!exact) return std::nullopt;
    return narrow;
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
