// Reference counting of the tree's hand-written COM objects: the count alone
// decides an object's life. A library's own objects count against their
// module as well (com::RefCounted in com_server.h builds on this).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace corvella::com {

class RefCount {
public:
    RefCount() = default;
    RefCount(const RefCount&) = delete;
    RefCount& operator=(const RefCount&) = delete;
    virtual ~RefCount() = default;

    ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG ReleaseImpl() {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) Destroy();
        return static_cast<ULONG>(n);
    }

private:
    // Out of line: inlined, the compiler takes the base for the whole object.
    void Destroy();
    LONG refs_ = 1;
};

// A COM object of `Ifaces`: overrides the counting of every interface at
// once; QueryInterface is the object's own.
template <class... Ifaces>
class Counted : public Ifaces..., public RefCount {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
};

}  // namespace corvella::com
