// CID3v1: the COM face of the ID3v1 core. Converts variants and BSTRs and
// maps the core's results; everything else lives in id3v1_tag.cpp.
#include "libs/common/com/com_server.h"
#include "libs/common/com/com_text.h"
#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/common/storage/storage.h"

#include <oleauto.h>

namespace {

using corvella::id3v1::FieldValue;

// A variant as the core's field value: numbers stay numbers (so a genre or
// track given as 7 or "7" means the same), Empty is an empty text.
HRESULT ToFieldValue(const VARIANT& in, FieldValue& out) {
    const VARIANT* v = &in;
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    switch (V_VT(v) & ~VT_BYREF) {
    case VT_EMPTY: out = FieldValue::Str(std::string()); return S_OK;
    case VT_NULL: out = FieldValue::Nil(); return S_OK;
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT:
    case VT_UINT: case VT_I8: case VT_UI8: case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: {
        VARIANT d;
        VariantInit(&d);
        if (FAILED(VariantChangeType(&d, const_cast<VARIANT*>(v), 0, VT_R8))) return DISP_E_TYPEMISMATCH;
        out = FieldValue::Num(V_R8(&d));
        return S_OK;
    }
    default: {
        std::string text;
        HRESULT hr = corvella::com::VariantToAnsi(*v, text);
        if (FAILED(hr)) return hr;
        out = FieldValue::Str(text);
        return S_OK;
    }
    }
}

class CID3v1 : public corvella::com::Dual<_CID3v1> {
public:
    STDMETHODIMP GetFieldValue(lumbrel::EFields field, VARIANT* result) override {
        if (!result) return E_POINTER;
        VariantInit(result);
        std::optional<std::string> value = tag_.GetFieldValue(static_cast<int>(field));
        if (value) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = corvella::com::AnsiToBstr(*value);
            if (!V_BSTR(result)) { V_VT(result) = VT_EMPTY; return E_OUTOFMEMORY; }
        }
        return S_OK;
    }
    STDMETHODIMP SetFieldValue(lumbrel::EFields field, VARIANT value, VARIANT* result) override {
        if (result) VariantInit(result);
        FieldValue fv;
        HRESULT hr = ToFieldValue(value, fv);
        if (SUCCEEDED(hr) && !tag_.SetFieldValue(static_cast<int>(field), fv)) hr = DISP_E_TYPEMISMATCH;
        if (FAILED(hr))
            return corvella::com::RaiseError(hr, "Lumbrel.CID3v1", "Type mismatch", __uuidof(_CID3v1));
        return S_OK;
    }
    STDMETHODIMP ReadTag(BSTR filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(tag_.ReadTag(fs(), Path(filename)), result);
    }
    STDMETHODIMP WriteTag(BSTR filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(tag_.WriteTag(fs(), Path(filename)), result);
    }
    STDMETHODIMP RemoveTag(BSTR filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(tag_.RemoveTag(fs(), Path(filename)), result);
    }

private:
    static corvella::FileSystem& fs() { return corvella::platform_filesystem(); }
    // A name the ANSI calls cannot reach goes as "", which names no file, so
    // each call fails as for a missing one.
    static std::string Path(BSTR filename) { return corvella::com::BstrToFileName(filename).value_or(""); }
    corvella::id3v1::CID3v1Tag tag_;
};

const corvella::com::ClassEntry kClasses[] = {
    {&lumbrel::CLSID_CID3v1, "CID3v1", "Lumbrel.CID3v1", &corvella::com::CreateInstance<CID3v1>},
};
const corvella::com::ServerInfo kServer = {&lumbrel::LIBID_Lumbrel, 1, 0, kClasses, 1};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
