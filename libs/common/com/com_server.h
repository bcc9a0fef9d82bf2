// In-process COM server plumbing shared by the program's six libraries:
// module lifetime, class factory, self-registration under HKEY_CLASSES_ROOT
// (controls included), the type library embedded in the module and objects
// answering for one or several interfaces.
#pragma once

#include <vector>

#include <windows.h>
#include <oaidl.h>

#include <new>

#include "libs/common/com/com_object.h"

namespace corvella::com {

// Objects and server locks alive in this module; DllCanUnloadNow is true at 0.
void ModuleAddRef();
void ModuleRelease();
LONG ModuleCount();
HMODULE ThisModule();

using CreateFn = HRESULT (*)(REFIID riid, void** ppv);

// What a container needs to offer a class as a control: written under its
// CLSID key as "Control", "MiscStatus", "ToolboxBitmap32" and
// "Implemented Categories".
struct ControlInfo {
    DWORD misc_status;            // OLEMISC_... flags of the content aspect
    WORD toolbox_bitmap;          // bitmap resource id in the library
    const GUID* categories[4];    // implemented categories (CATIDs), unused ones null
};

struct ClassEntry {
    const CLSID* clsid;
    const char* name;     // class name, e.g. "CID3v1"
    const char* progid;   // e.g. "Lumbrel.CID3v1"
    CreateFn create;
    const ControlInfo* control = nullptr;  // null for a class that is no control
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
class RefCounted : public RefCount {
public:
    RefCounted() { ModuleAddRef(); }
    ~RefCounted() override { ModuleRelease(); }
};

// IDispatch for a dual interface `Iface`, answered from the type library so a
// script sees the same names, ids and argument types as an early-bound caller.
// IUnknown is left to the object (Dual or Object below).
// A script passes a variable by reference as a reference to a variant.
// For a by-reference string, number or object parameter the type library's
// invocation wants a reference to that type and answers "Type mismatch"
// otherwise; so such an argument is handed on as a reference to the value
// inside the caller's variant, and what the callee writes lands in the
// caller's variable as it would for a compiled caller.
class ScriptByRefArgs {
public:
    ScriptByRefArgs(ITypeInfo* ti, DISPID id, WORD flags, DISPPARAMS* params);
    DISPPARAMS* Params() { return params_; }

private:
    DISPPARAMS* params_;
    DISPPARAMS copy_{};
    std::vector<VARIANTARG> args_;
};

template <class Iface>
class TypeLibDispatch : public Iface {
public:
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
        ScriptByRefArgs args(ti, id, flags, params);
        hr = DispInvoke(static_cast<Iface*>(this), ti, id, flags, args.Params(), result, excep, argerr);
        ti->Release();
        return hr;
    }
};

// An object with the one dual interface `Iface`.
template <class Iface>
class Dual : public TypeLibDispatch<Iface>, public RefCounted {
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
};

// One row of an object's QueryInterface table: an interface id and how to
// reach that interface from the object.
struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(void* object);
};

struct InterfaceTable {
    const InterfaceEntry* entries;
    size_t count;
    template <size_t N>
    InterfaceTable(const InterfaceEntry (&e)[N]) : entries(e), count(N) {}
};

// `iid` answered by the object's `Iface` (by default Iface's own id).
template <class Obj, class Iface>
InterfaceEntry Entry(const IID& iid = __uuidof(Iface)) {
    return {&iid, [](void* object) -> IUnknown* {
                return static_cast<Iface*>(static_cast<Obj*>(object));
            }};
}

// QueryInterface from a table; IID_IUnknown is answered by the first row, so
// every interface of the object gives the same identity.
HRESULT QueryInterfaceFrom(void* object, InterfaceTable table, REFIID riid, void** ppv);

// An object answering for several interfaces. `Bases` are the interfaces and
// the mixins implementing them (TypeLibDispatch<...>, EventSource, ...);
// `Derived` lists what it answers for in `static InterfaceTable Interfaces()`.
template <class Derived, class... Bases>
class Object : public Bases..., public RefCounted {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        return QueryInterfaceFrom(static_cast<Derived*>(this), Derived::Interfaces(), riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
};

// Creates a `T` (derived from Dual<...> or Object<...>) and hands out the asked interface.
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
