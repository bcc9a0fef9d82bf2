// Owning handles for what crosses the COM boundary: interface references,
// BSTRs and VARIANTs. Each frees what it holds exactly once; copies of an
// interface handle add a reference, copies of a string or variant copy it.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "libs/common/com/com_text.h"

namespace corvella::com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Adds a reference of its own: the caller keeps the one it has.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    // Takes over a reference the caller already owns (a creation's result).
    static ComPtr Attach(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    // Hands the reference to the caller, who then releases it.
    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        // Cleared before the release: the object's destructor may reach us.
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For an out-parameter: the old reference is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // The same object's interface U, or a failure with `out` empty.
    template <class U>
    HRESULT As(ComPtr<U>& out, REFIID iid = __uuidof(U)) const {
        if (!p_) {
            out.Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(iid, out.PutVoid());
    }

    // CoCreateInstance of an in-process class for interface T.
    HRESULT Create(REFCLSID clsid, REFIID iid = __uuidof(T)) {
        return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, PutVoid());
    }

private:
    T* p_ = nullptr;
};

template <class T, class U>
bool operator==(const ComPtr<T>& a, const ComPtr<U>& b) {
    return a.Get() == b.Get();
}

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const std::string& ansi) : s_(AnsiToBstr(ansi)) {}
    explicit Bstr(const wchar_t* wide) : s_(SysAllocString(wide)) {}
    Bstr(const Bstr& o) : s_(o.s_ ? SysAllocStringLen(o.s_, SysStringLen(o.s_)) : nullptr) {}
    Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr& operator=(Bstr o) noexcept {
        std::swap(s_, o.s_);
        return *this;
    }

    static Bstr Attach(BSTR s) {
        Bstr r;
        r.s_ = s;
        return r;
    }
    BSTR Detach() { return std::exchange(s_, nullptr); }
    BSTR* Put() {
        SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    // For an [in, out] parameter: the callee may free and replace it.
    BSTR* InOut() { return &s_; }
    // Still owned here: for [in] parameters.
    BSTR Get() const { return s_; }
    UINT Length() const { return SysStringLen(s_); }
    std::string Ansi() const { return BstrToAnsi(s_); }

private:
    BSTR s_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    explicit Variant(long n) : Variant() {
        V_VT(&v_) = VT_I4;
        V_I4(&v_) = n;
    }
    explicit Variant(double d) : Variant() {
        V_VT(&v_) = VT_R8;
        V_R8(&v_) = d;
    }
    explicit Variant(bool b) : Variant() {
        V_VT(&v_) = VT_BOOL;
        V_BOOL(&v_) = b ? VARIANT_TRUE : VARIANT_FALSE;
    }
    explicit Variant(const std::string& ansi) : Variant() {
        V_VT(&v_) = VT_BSTR;
        V_BSTR(&v_) = AnsiToBstr(ansi);
    }
    explicit Variant(IDispatch* d) : Variant() {
        V_VT(&v_) = VT_DISPATCH;
        V_DISPATCH(&v_) = d;
        if (d) d->AddRef();
    }
    // Refers to the caller's flag, which a called handler may change.
    static Variant ByRef(VARIANT_BOOL* flag) {
        Variant r;
        V_VT(&r.v_) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&r.v_) = flag;
        return r;
    }
    static Variant ByRef(long* n) {
        Variant r;
        V_VT(&r.v_) = VT_BYREF | VT_I4;
        V_I4REF(&r.v_) = n;
        return r;
    }
    Variant(const Variant& o) : Variant() { VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }
    Variant(Variant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    ~Variant() { VariantClear(&v_); }
    Variant& operator=(Variant o) noexcept {
        std::swap(v_, o.v_);
        return *this;
    }

    // Takes over a variant the caller owns; `v` is left empty.
    static Variant Attach(VARIANT& v) {
        Variant r;
        r.v_ = v;
        VariantInit(&v);
        return r;
    }
    // For an out-parameter: the old value is cleared first.
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }
    VARTYPE Type() const { return V_VT(&v_); }
    // The value as text as automation converts it; empty when it has none.
    std::string Ansi() const {
        std::string out;
        return SUCCEEDED(VariantToAnsi(v_, out)) ? out : std::string();
    }

private:
    VARIANT v_;
};

}  // namespace corvella::com
