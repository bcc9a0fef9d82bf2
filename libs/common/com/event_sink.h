// The program's side of a library's events: an IDispatch sink that calls a
// C++ handler per dispatch id, and the connection that ties it to a source.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <string>
#include <vector>

#include "libs/common/com/com_object.h"
#include "libs/common/com/com_ptr.h"

namespace corvella::com {

// The arguments of one event, first declared first. By-reference arguments
// are read through; the setters write back through them for the source.
class EventArgs {
public:
    explicit EventArgs(DISPPARAMS& params) : params_(params) {}
    UINT Count() const { return params_.cArgs; }
    // The argument as the type asked for (automation's conversions); a
    // missing or unconvertible argument throws std::invalid_argument.
    long Long(UINT index) const;
    bool Bool(UINT index) const;
    std::string Text(UINT index) const;
    IDispatch* Object(UINT index) const;  // no reference added; may be null
    // Writes a by-reference argument of the same type; throws
    // std::invalid_argument for a by-value one.
    void SetBool(UINT index, bool value);
    void SetLong(UINT index, long value);
    void SetText(UINT index, const std::string& value);

private:
    VARIANT& At(UINT index) const;
    VARIANT Converted(UINT index, VARTYPE type) const;
    DISPPARAMS& params_;
};

class EventSink final : public Counted<IDispatch> {
public:
    using Handler = std::function<void(EventArgs&)>;
    // Runs one handler call: the forms pass their error boundary here, so a
    // handler's failure is reported as every other event's is.
    using Boundary = std::function<void(const char* event, const std::function<void()>& call)>;

    // A sink for the event interface `events`.
    static ComPtr<EventSink> Create(REFIID events, Boundary boundary = nullptr);

    // The handler of event `id`, named for error reports; replaces an
    // earlier one. Events without a handler are ignored.
    EventSink& On(DISPID id, const char* event, Handler handler);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP GetTypeInfoCount(UINT* n) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ti) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    // A handler's exception ends as DISP_E_EXCEPTION when no boundary took it.
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argerr) override;

    const IID& events() const { return events_; }

private:
    struct Entry {
        DISPID id;
        std::string event;
        Handler handler;
    };
    EventSink(REFIID events, Boundary boundary) : events_(events), boundary_(std::move(boundary)) {}
    ~EventSink() override = default;

    IID events_;
    Boundary boundary_;
    std::vector<Entry> handlers_;
};

// One sink connected to one source. Let go (or Unadvise) before the form
// that handles the events goes: the source holds the sink until then.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;
    EventConnection(EventConnection&& o) noexcept;
    EventConnection& operator=(EventConnection&& o) noexcept;
    ~EventConnection() { Unadvise(); }

    // Connects `sink` to `source`'s connection point for `events`, after
    // ending an earlier connection of this object.
    HRESULT Advise(IUnknown* source, REFIID events, IUnknown* sink);
    HRESULT Advise(IUnknown* source, EventSink* sink) {
        return Advise(source, sink->events(), sink);
    }
    void Unadvise();
    bool Connected() const { return cookie_ != 0; }
    DWORD cookie() const { return cookie_; }

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace corvella::com
