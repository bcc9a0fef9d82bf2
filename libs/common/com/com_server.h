// In-process COM server plumbing shared by the program's six libraries:
// module lifetime, class factory, self-registration under HKEY_CLASSES_ROOT
// and the type library embedded in the module.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>

namespace corvella::com {

// Objects and server locks alive in this module; DllCanUnloadNow is true at 0.
void ModuleAddRef();
void ModuleRelease();
LONG ModuleCount();
HMODULE ThisModule();

using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry {
    const CLSID* clsid;
    const char* name;     // class name, e.g. "CID3v1"
    const char* progid;   // e.g. "Lumbrel.CID3v1"
    CreateFn create;
};

struct ServerInfo {
    const GUID* libid;
    WORD major, minor;
    const ClassEntry* classes;
    size_t class_count;
};

// Each library defines this once; the shared exports read it.
const ServerInfo& Server();

// The type library embedded in this module (resource TYPELIB 1), loaded
// once; returns a new reference to the type info of `guid`.
HRESULT GetTypeInfoOf(REFGUID guid, ITypeInfo** out);

// Reference counting for one object; counts against the module as well.
class RefCounted {
public:
    RefCounted() { ModuleAddRef(); }
    virtual ~RefCounted() { ModuleRelease(); }
    ULONG AddRefImpl() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG ReleaseImpl() {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

private:
    LONG refs_ = 1;
};

// IDispatch for a dual interface `Iface`, answered from the type library so a
// script sees the same names, ids and argument types as an early-bound caller.
template <class Iface>
class Dual : public Iface, public RefCounted {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            IsEqualIID(riid, __uuidof(Iface))) {
            *ppv = static_cast<Iface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** ti) override {
        if (!ti) return E_POINTER;
        *ti = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return GetTypeInfoOf(__uuidof(Iface), ti);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* ti = nullptr;
        HRESULT hr = GetTypeInfoOf(__uuidof(Iface), &ti);
        if (FAILED(hr)) return hr;
        hr = DispGetIDsOfNames(ti, names, count, ids);
        ti->Release();
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argerr) override {
        ITypeInfo* ti = nullptr;
        HRESULT hr = GetTypeInfoOf(__uuidof(Iface), &ti);
        if (FAILED(hr)) return hr;
        hr = DispInvoke(static_cast<Iface*>(this), ti, id, flags, params, result, excep, argerr);
        ti->Release();
        return hr;
    }
};

// Creates a `T` (derived from Dual<...>) and hands out the asked interface.
template <class T>
HRESULT CreateInstance(REFIID riid, void** ppv) {
    T* obj = new (std::nothrow) T();
    if (!obj) return E_OUTOFMEMORY;
    HRESULT hr = obj->QueryInterface(riid, ppv);
    obj->Release();
    return hr;
}

// A library's Boolean result as automation wants it (True is -1).
inline HRESULT BoolResult(bool ok, VARIANT_BOOL* result) {
    if (!result) return E_POINTER;
    *result = ok ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// Registration steps, exposed for the exports and for tests.
HRESULT RegisterServer();
HRESULT UnregisterServer();
HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);

// Raises a COM error (IErrorInfo) with the libraries' source convention
// ("Lumbrel.CID3v1") and returns hr for the caller to pass on.
HRESULT RaiseError(HRESULT hr, const char* source, const char* description, REFIID iid);

}  // namespace corvella::com
