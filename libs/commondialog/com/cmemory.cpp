// cMemory: one block of global memory, freed when the object ends, so a
// caller can hand a raw record to a call that wants a pointer.
#include "libs/common/com/com_server.h"
#include "libs/commondialog/com/ccommondialog.h"
#include "libs/commondialog/com/ossivane.h"

namespace corvella::commondialog {
namespace {

VARIANT_BOOL Vb(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

class CMemory final : public com::Dual<_cMemory> {
public:
    ~CMemory() override { FreeMemory(); }

    STDMETHODIMP get_Handle(LONG* result) override {
        if (!result) return E_POINTER;
        *result = static_cast<LONG>(reinterpret_cast<LONG_PTR>(handle_));
        return S_OK;
    }
    STDMETHODIMP put_Handle(LONG hMem) override {
        if (handle_) FreeMemory();
        handle_ = reinterpret_cast<HGLOBAL>(static_cast<LONG_PTR>(hMem));
        return S_OK;
    }
    STDMETHODIMP get_Pointer(LONG* result) override {
        if (!result) return E_POINTER;
        if (handle_ && !pointer_) pointer_ = GlobalLock(handle_);
        *result = handle_ ? static_cast<LONG>(reinterpret_cast<LONG_PTR>(pointer_)) : 0;
        return S_OK;
    }
    STDMETHODIMP get_Size(LONG* result) override {
        if (!result) return E_POINTER;
        *result = handle_ ? static_cast<LONG>(GlobalSize(handle_)) : 0;
        return S_OK;
    }
    STDMETHODIMP AllocateMemory(LONG lSize, LONG dwFlags, VARIANT_BOOL* result) override {
        FreeMemory();
        handle_ = GlobalAlloc(static_cast<UINT>(dwFlags), static_cast<SIZE_T>(lSize));
        if (result) *result = Vb(handle_ != nullptr);
        return S_OK;
    }
    STDMETHODIMP LockMemory(VARIANT_BOOL* result) override {
        bool ok = false;
        if (handle_ && !pointer_) {
            pointer_ = GlobalLock(handle_);
            ok = pointer_ != nullptr;
        }
        if (result) *result = Vb(ok);
        return S_OK;
    }
    STDMETHODIMP UnlockMemory() override {
        if (handle_ && pointer_) {
            GlobalUnlock(handle_);
            pointer_ = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP FreeMemory() override {
        if (handle_) {
            UnlockMemory();
            GlobalFree(handle_);
        }
        handle_ = nullptr;
        return S_OK;
    }
    STDMETHODIMP ReleaseDontFreeMemory() override {
        UnlockMemory();
        handle_ = nullptr;
        return S_OK;
    }

private:
    HGLOBAL handle_ = nullptr;
    void* pointer_ = nullptr;
};

}  // namespace

HRESULT CreateMemory(REFIID riid, void** ppv) { return com::CreateInstance<CMemory>(riid, ppv); }

}  // namespace corvella::commondialog
