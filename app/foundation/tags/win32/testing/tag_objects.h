// For tests and benches: the tag libraries' shared CID3v1 and CID3v2
// objects, made as start-up makes them, and the tag port's wrappers over
// them (the pair, or each wrapper on its own).
#pragma once

#include <optional>

#include "app/foundation/tags/win32/com_tag.h"
#include "libs/common/com/com_ptr.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"

namespace corvella::tags::testing {

// Made once COM is initialised; released (Release() or the destructor)
// before it is uninitialised: the wrappers go first, then the objects.
class TagObjects {
public:
    TagObjects() = default;
    ~TagObjects() { Release(); }
    TagObjects(const TagObjects&) = delete;
    TagObjects& operator=(const TagObjects&) = delete;

    // Both objects or neither; on failure the creation's HRESULT.
    HRESULT Create() {
        Release();
        HRESULT hr = v1_.Create(lumbrel::CLSID_CID3v1);
        if (SUCCEEDED(hr)) hr = v2_.Create(tesselor::CLSID_CID3v2);
        if (FAILED(hr)) {
            Release();
            return hr;
        }
        pair_.emplace(v1_.Get(), v2_.Get());
        return S_OK;
    }
    void Release() {
        pair_.reset();
        v1_.Reset();
        v2_.Reset();
    }

    // The wrappers (id3v1, id3v2, Pair()); only after a successful Create().
    ComTagPair& operator*() { return *pair_; }
    ComTagPair* operator->() { return &*pair_; }
    TagPair Pair() { return pair_->Pair(); }
    // The objects themselves, for calls past the tag port.
    _CID3v1* V1() const { return v1_.Get(); }
    _CID3v2* V2() const { return v2_.Get(); }

private:
    com::ComPtr<_CID3v1> v1_;
    com::ComPtr<_CID3v2> v2_;
    std::optional<ComTagPair> pair_;
};

}  // namespace corvella::tags::testing
