#include "libs/common/com/connection_points.h"

#include <olectl.h>

#include <utility>

#include "libs/common/com/com_server.h"
#include "libs/common/com/enumerator.h"

namespace corvella::com {

namespace {

void HandSink(const ConnectionPoint::Sink& s, CONNECTDATA& out) {
    out.pUnk = s.sink.Get();
    out.pUnk->AddRef();
    out.dwCookie = s.cookie;
}

}  // namespace

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* out) {
    if (!out) return E_POINTER;
    *out = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    return self_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> s;
    if (FAILED(sink->QueryInterface(iid_, s.PutVoid())) &&
        (!dispatch_too_ || FAILED(sink->QueryInterface(IID_IDispatch, s.PutVoid()))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = next_cookie_++;
    sinks_.push_back({*cookie, s});
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie != cookie) continue;
        // Out of the list first: the sink's release may call back here.
        Sink gone = std::move(*it);
        sinks_.erase(it);
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    return Enumerator<IEnumConnections, Sink, CONNECTDATA, &HandSink>::Make(sinks_, out);
}

bool ConnectionPoint::Connected(DWORD cookie) const {
    for (const Sink& s : sinks_)
        if (s.cookie == cookie) return true;
    return false;
}

namespace {
void HandPoint(const ComPtr<IConnectionPoint>& p, IConnectionPoint*& out) {
    out = p.Get();
    out->AddRef();
}
}  // namespace

EventSource::EventSource(std::initializer_list<const IID*> events) {
    IUnknown* self = static_cast<IConnectionPointContainer*>(this);
    for (const IID* iid : events) points_.push_back(std::make_unique<ConnectionPoint>(self, *iid, true));
}

EventSource::~EventSource() = default;

STDMETHODIMP EventSource::EnumConnectionPoints(IEnumConnectionPoints** out) {
    std::vector<ComPtr<IConnectionPoint>> items;
    for (const auto& p : points_) items.emplace_back(p.get());
    return Enumerator<IEnumConnectionPoints, ComPtr<IConnectionPoint>, IConnectionPoint*, &HandPoint>::Make(
        std::move(items), out);
}

STDMETHODIMP EventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = Find(iid);
    if (!*out) return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
}

ConnectionPoint* EventSource::Find(REFIID events) const {
    for (const auto& p : points_)
        if (IsEqualIID(p->events(), events)) return p.get();
    return nullptr;
}

size_t EventSource::SinkCount(REFIID events) const {
    const ConnectionPoint* p = Find(events);
    return p ? p->count() : 0;
}

ComPtr<IUnknown> EventSource::KeepAlive() {
    return ComPtr<IUnknown>(static_cast<IConnectionPointContainer*>(this));
}

HRESULT EventSource::Raise(DISPID id, const std::vector<Variant>& args) {
    if (points_.empty()) return E_INVALIDARG;
    return RaiseOn(points_.front()->events(), id, args);
}

HRESULT EventSource::RaiseOn(REFIID events, DISPID id, const std::vector<Variant>& args) {
    ConnectionPoint* point = Find(events);
    if (!point) return E_INVALIDARG;
    const ComPtr<IUnknown> self = KeepAlive();
    // Ends before `self` lets go, so the object never dies while raising.
    struct Depth {
        int& n;
        explicit Depth(int& d) : n(d) { ++n; }
        ~Depth() { --n; }
    } depth(raising_);
    // DISPPARAMS lists the arguments last first. The variants stay owned by
    // `args`; a sink changes only what a by-reference argument points to.
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    // Sinks connected when the event began; one unadvised by an earlier
    // handler is not called.
    const std::vector<ConnectionPoint::Sink> sinks = point->Snapshot();
    for (const ConnectionPoint::Sink& sink : sinks) {
        if (!point->Connected(sink.cookie)) continue;
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                             static_cast<UINT>(reversed.size()), 0};
        Variant result;
        EXCEPINFO excep = {};
        UINT argerr = 0;
        static_cast<IDispatch*>(sink.sink.Get())->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                              result.Put(), &excep, &argerr);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
    }
    return S_OK;
}

STDMETHODIMP ClassInfoBase::GetClassInfo(ITypeInfo** out) { return GetTypeInfoOf(clsid_, out); }

STDMETHODIMP ClassInfoBase::GetGUID(DWORD kind, GUID* out) {
    if (!out) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *out = GUID_NULL;
        return E_INVALIDARG;
    }
    *out = events_;
    return S_OK;
}

}  // namespace corvella::com
