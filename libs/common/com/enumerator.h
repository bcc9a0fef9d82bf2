// An IEnumXXX of a library's object over a snapshot of items taken when it
// is made: `Hand` puts one item into the caller's slot, with a reference or
// a copy of its own that the caller then frees.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>
#include <vector>

#include "libs/common/com/com_server.h"

namespace corvella::com {

template <class IEnum, class Item, class Out, void (*Hand)(const Item&, Out&)>
class Enumerator final : public IEnum, public RefCounted {
public:
    explicit Enumerator(std::vector<Item> items) : items_(std::move(items)) {}

    // A new enumerator for `out`, or E_OUTOFMEMORY.
    static HRESULT Make(std::vector<Item> items, IEnum** out) {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) Enumerator(std::move(items));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IEnum))) {
            *ppv = static_cast<IEnum*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    STDMETHODIMP Next(ULONG count, Out* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        for (; n < count && pos_ < items_.size(); ++n, ++pos_) Hand(items_[pos_], out[n]);
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        const size_t left = items_.size() - pos_;
        pos_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override {
        HRESULT hr = Make(items_, out);
        if (SUCCEEDED(hr)) static_cast<Enumerator*>(*out)->pos_ = pos_;
        return hr;
    }

private:
    std::vector<Item> items_;
    size_t pos_ = 0;
};

}  // namespace corvella::com
