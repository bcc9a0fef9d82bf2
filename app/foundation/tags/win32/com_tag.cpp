#include "app/foundation/tags/win32/com_tag.h"

#include <windows.h>

#include "libs/common/com/com_text.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"

namespace corvella {
namespace tags {
namespace {

// A BSTR for one call, freed after it.
class CallText {
public:
    explicit CallText(const std::string& text) : b_(com::AnsiToBstr(text)) {}
    ~CallText() { SysFreeString(b_); }
    CallText(const CallText&) = delete;
    CallText& operator=(const CallText&) = delete;
    BSTR get() const { return b_; }
    BSTR* address() { return &b_; }

private:
    BSTR b_;
};

// Calls a tag method that answers True when done; a failed call is False.
template <class Call>
bool Done(Call&& call) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    return SUCCEEDED(call(&ok)) && ok == VARIANT_TRUE;
}

// The file name as each library takes it: ID3v1 by value, ID3v2 by reference.
BSTR NameArgument(CallText& name, _CID3v1*) { return name.get(); }
BSTR* NameArgument(CallText& name, _CID3v2*) { return name.address(); }

}  // namespace

template <class Tag>
ComTag<Tag>::ComTag(Tag* tag) : tag_(tag) {
    tag_->AddRef();
}

template <class Tag>
ComTag<Tag>::~ComTag() {
    tag_->Release();
}

template <class Tag>
bool ComTag<Tag>::ReadTag(const std::string& path) {
    CallText name(path);
    return Done([&](VARIANT_BOOL* ok) { return tag_->ReadTag(NameArgument(name, tag_), ok); });
}

template <class Tag>
bool ComTag<Tag>::WriteTag(const std::string& path) {
    CallText name(path);
    return Done([&](VARIANT_BOOL* ok) { return tag_->WriteTag(NameArgument(name, tag_), ok); });
}

template <class Tag>
bool ComTag<Tag>::RemoveTag(const std::string& path) {
    CallText name(path);
    return Done([&](VARIANT_BOOL* ok) { return tag_->RemoveTag(NameArgument(name, tag_), ok); });
}

// ID3v1 fields cross as variants.
template <>
std::optional<std::string> ComTag<_CID3v1>::FieldText(int index) {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(tag_->GetFieldValue(static_cast<lumbrel::EFields>(index), &v))) return std::nullopt;
    std::string text;
    // A field the object does not know comes back Empty.
    const bool ok = V_VT(&v) != VT_EMPTY && SUCCEEDED(com::VariantToAnsi(v, text));
    VariantClear(&v);
    if (!ok) return std::nullopt;
    return text;
}

template <>
bool ComTag<_CID3v1>::SetField(int index, const std::string& value) {
    VARIANT v, result;
    VariantInit(&v);
    VariantInit(&result);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = com::AnsiToBstr(value);
    const HRESULT hr = tag_->SetFieldValue(static_cast<lumbrel::EFields>(index), v, &result);
    VariantClear(&v);
    VariantClear(&result);
    return SUCCEEDED(hr);
}

// ID3v2 frames cross as strings.
template <>
std::optional<std::string> ComTag<_CID3v2>::FieldText(int index) {
    if (index < 0 || index >= kFieldCount) return std::nullopt;
    BSTR value = nullptr;
    if (FAILED(tag_->GetFrameValue(static_cast<tesselor::EFrames>(index), &value))) return std::nullopt;
    std::string text = com::BstrToAnsi(value);
    SysFreeString(value);
    return text;
}

template <>
bool ComTag<_CID3v2>::SetField(int index, const std::string& value) {
    CallText text(value);
    BSTR result = nullptr;
    const HRESULT hr = tag_->SetFrameValue(static_cast<tesselor::EFrames>(index), text.get(), &result);
    SysFreeString(result);
    return SUCCEEDED(hr);
}

template class ComTag<_CID3v1>;
template class ComTag<_CID3v2>;

}  // namespace tags
}  // namespace corvella
