#include "libs/common/com/event_sink.h"

#include <olectl.h>

#include <new>
#include <stdexcept>
#include <utility>

namespace corvella::com {

// ---- EventArgs ----------------------------------------------------------------

VARIANT& EventArgs::At(UINT index) const {
    if (index >= params_.cArgs)
        throw std::invalid_argument("Event argument " + std::to_string(index) + " is missing");
    // DISPPARAMS holds the last argument first.
    return params_.rgvarg[params_.cArgs - 1 - index];
}

VARIANT EventArgs::Converted(UINT index, VARTYPE type) const {
    VARIANT* v = &At(index);
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    VARIANT out;
    VariantInit(&out);
    // VariantChangeType reads through a by-reference source.
    if (FAILED(VariantChangeType(&out, v, 0, type)))
        throw std::invalid_argument("Event argument " + std::to_string(index) + " has the wrong type");
    return out;
}

long EventArgs::Long(UINT index) const {
    VARIANT v = Converted(index, VT_I4);
    return V_I4(&v);
}

bool EventArgs::Bool(UINT index) const {
    VARIANT v = Converted(index, VT_BOOL);
    return V_BOOL(&v) != VARIANT_FALSE;
}

std::string EventArgs::Text(UINT index) const {
    VARIANT v = Converted(index, VT_BSTR);
    Variant owned = Variant::Attach(v);
    return BstrToAnsi(V_BSTR(owned.Get()));
}

IDispatch* EventArgs::Object(UINT index) const {
    VARIANT* v = &At(index);
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_DISPATCH) return V_DISPATCH(v);
    if (V_VT(v) == (VT_BYREF | VT_DISPATCH)) return *V_DISPATCHREF(v);
    if (V_VT(v) == VT_EMPTY || V_VT(v) == VT_NULL) return nullptr;
    throw std::invalid_argument("Event argument " + std::to_string(index) + " is no object");
}

namespace {
// Where a handler's value goes: the variant that a variant passed by
// reference points to, else the argument itself.
VARIANT* Target(VARIANT* v) {
    while (V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    return v;
}

void NotByRef(UINT index) {
    throw std::invalid_argument("Event argument " + std::to_string(index) +
                                " cannot be changed by a handler");
}
}  // namespace

void EventArgs::SetBool(UINT index, bool value) {
    VARIANT* v = Target(&At(index));
    const VARIANT_BOOL b = value ? VARIANT_TRUE : VARIANT_FALSE;
    if (V_VT(v) == (VT_BYREF | VT_BOOL)) {
        *V_BOOLREF(v) = b;
    } else if (v != &At(index)) {  // a variant passed by reference
        VariantClear(v);
        V_VT(v) = VT_BOOL;
        V_BOOL(v) = b;
    } else {
        NotByRef(index);
    }
}

void EventArgs::SetLong(UINT index, long value) {
    VARIANT* v = Target(&At(index));
    if (V_VT(v) == (VT_BYREF | VT_I4)) {
        *V_I4REF(v) = value;
    } else if (V_VT(v) == (VT_BYREF | VT_I2)) {
        *V_I2REF(v) = static_cast<SHORT>(value);
    } else if (v != &At(index)) {
        VariantClear(v);
        V_VT(v) = VT_I4;
        V_I4(v) = value;
    } else {
        NotByRef(index);
    }
}

void EventArgs::SetText(UINT index, const std::string& value) {
    VARIANT* v = Target(&At(index));
    if (V_VT(v) == (VT_BYREF | VT_BSTR)) {
        BSTR fresh = AnsiToBstr(value);
        if (!fresh) throw std::bad_alloc();
        SysFreeString(*V_BSTRREF(v));
        *V_BSTRREF(v) = fresh;
    } else if (v != &At(index)) {
        VariantClear(v);
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = AnsiToBstr(value);
    } else {
        NotByRef(index);
    }
}

// ---- EventSink ----------------------------------------------------------------

ComPtr<EventSink> EventSink::Create(REFIID events, Boundary boundary) {
    return ComPtr<EventSink>::Attach(new EventSink(events, std::move(boundary)));
}

EventSink& EventSink::On(DISPID id, const char* event, Handler handler) {
    for (Entry& e : handlers_) {
        if (e.id == id) {
            e.event = event;
            e.handler = std::move(handler);
            return *this;
        }
    }
    handlers_.push_back({id, event, std::move(handler)});
    return *this;
}

STDMETHODIMP EventSink::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, events_)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* n) {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** ti) {
    if (ti) *ti = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excep, UINT*) {
    if (result) VariantInit(result);
    const Entry* entry = nullptr;
    for (const Entry& e : handlers_)
        if (e.id == id) entry = &e;
    if (!entry || !entry->handler) return S_OK;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EventArgs args(params ? *params : none);
    // The sink and the handler live through the call, even when the handler
    // lets go of the form that owns them.
    const ComPtr<EventSink> self(this);
    const Handler handler = entry->handler;
    const std::string event = entry->event;
    try {
        auto call = [&] { handler(args); };
        if (boundary_) boundary_(event.c_str(), call);
        else call();
    } catch (const std::exception& e) {
        if (excep) {
            *excep = EXCEPINFO{};
            excep->scode = E_FAIL;
            excep->bstrDescription = AnsiToBstr(e.what());
            excep->bstrSource = AnsiToBstr(event);
        }
        return DISP_E_EXCEPTION;
    } catch (...) {
        if (excep) {
            *excep = EXCEPINFO{};
            excep->scode = E_FAIL;
            excep->bstrSource = AnsiToBstr(event);
        }
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}

// ---- EventConnection --------------------------------------------------------

EventConnection::EventConnection(EventConnection&& o) noexcept
    : point_(std::move(o.point_)), cookie_(std::exchange(o.cookie_, 0)) {}

EventConnection& EventConnection::operator=(EventConnection&& o) noexcept {
    if (this != &o) {
        Unadvise();
        point_ = std::move(o.point_);
        cookie_ = std::exchange(o.cookie_, 0);
    }
    return *this;
}

HRESULT EventConnection::Advise(IUnknown* source, REFIID events, IUnknown* sink) {
    Unadvise();
    if (!source || !sink) return E_POINTER;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(events, point.Put());
    if (FAILED(hr)) return hr;
    DWORD cookie = 0;
    hr = point->Advise(sink, &cookie);
    if (FAILED(hr)) return hr;
    point_ = std::move(point);
    cookie_ = cookie;
    return S_OK;
}

void EventConnection::Unadvise() {
    // Cleared before the call: the source may release the last reference
    // to whoever owns this connection.
    ComPtr<IConnectionPoint> point = std::move(point_);
    const DWORD cookie = std::exchange(cookie_, 0);
    if (point && cookie != 0) point->Unadvise(cookie);
}

}  // namespace corvella::com
