// Events of a library's objects: connection points whose sinks are
// IDispatch, one per event interface, and the class information a
// container reads to find the default one. A class with events is
//   class X : public Object<X, TypeLibDispatch<_X>, Events<&DIID___X>,
//                           ClassInfo<&CLSID_X, &DIID___X>>
// with its interface table (see libs/common/tests/com_probe/com_probe.cpp).
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "libs/common/com/com_ptr.h"

namespace corvella::com {

// One connection point of an object: the sinks of one interface. It is part
// of its object: its references are the object's, so a client holding it
// keeps the object alive and the two go together.
class ConnectionPoint final : public IConnectionPoint {
public:
    struct Sink {
        DWORD cookie;
        ComPtr<IUnknown> sink;  // the sink as the connection's interface
    };

    // `self` is the object's IUnknown (it answers for the container);
    // `sinks` the interface sinks are called through. With `dispatchToo` a
    // sink that answers only for IDispatch is taken too, as script hosts'
    // event sinks do.
    ConnectionPoint(IUnknown* self, const IID& sinks, bool dispatchToo)
        : self_(self), iid_(sinks), dispatch_too_(dispatchToo) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return self_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return self_->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* out) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    // Over a snapshot that holds its sinks; each one handed out carries a
    // reference of its own.
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    const IID& events() const { return iid_; }
    size_t count() const { return sinks_.size(); }
    // The sinks connected now, held: a sink may unadvise while it is called.
    std::vector<Sink> Snapshot() const { return sinks_; }
    bool Connected(DWORD cookie) const;

private:
    IUnknown* self_;
    const IID& iid_;
    bool dispatch_too_;
    std::vector<Sink> sinks_;
    DWORD next_cookie_ = 1;  // 0 means "no connection" to callers
};

// IConnectionPointContainer of an object that raises events; an Object<...>
// takes it in as Events<...> below and lists IConnectionPointContainer in
// its interface table.
class EventSource : public IConnectionPointContainer {
public:
    // The object's event interfaces (dispinterface ids), the default first.
    explicit EventSource(std::initializer_list<const IID*> events);
    virtual ~EventSource();
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

    // Calls event `id` on every sink of the default event interface, the
    // arguments in the order the event declares them. A by-reference
    // argument (Variant::ByRef) carries each sink's change to the next sink
    // and back to the caller. The object holds itself while it raises, as a
    // handler may let go of the last outside reference: a method that
    // touches its members after raising holds itself too (KeepAlive).
    // Sink failures do not stop the others; E_INVALIDARG for an unknown
    // event interface.
    HRESULT Raise(DISPID id, const std::vector<Variant>& args = {});
    HRESULT RaiseOn(REFIID events, DISPID id, const std::vector<Variant>& args = {});

    // Sinks connected to the event interface (0 for an unknown one).
    size_t SinkCount(REFIID events) const;

    // A reference to this object, for a method that raises and goes on.
    ComPtr<IUnknown> KeepAlive();
    // True while an event of this object is being raised.
    bool Raising() const { return raising_ > 0; }

private:
    ConnectionPoint* Find(REFIID events) const;
    std::vector<std::unique_ptr<ConnectionPoint>> points_;
    int raising_ = 0;
};

// Base of an Object<...> with the event interfaces `Ids`, the default first.
template <const IID*... Ids>
class Events : public EventSource {
public:
    Events() : EventSource({Ids...}) {}
};

class ClassInfoBase : public IProvideClassInfo2 {
public:
    ClassInfoBase(const CLSID& clsid, const IID& default_events)
        : clsid_(clsid), events_(default_events) {}
    STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* out) override;

private:
    const CLSID& clsid_;
    const IID& events_;
};

// Base of an Object<...> giving IProvideClassInfo2 from the library's type
// library; list both IProvideClassInfo2 and IProvideClassInfo.
template <const CLSID* Clsid, const IID* DefaultEvents>
class ClassInfo : public ClassInfoBase {
public:
    ClassInfo() : ClassInfoBase(*Clsid, *DefaultEvents) {}
};

}  // namespace corvella::com
