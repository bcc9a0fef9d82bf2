// Window subclassing: lets an object see chosen messages of a window it does
// not own (a flat painter over a stock control, the main window over itself).
//
// Each window gets one layer of plain subclassing per module that links this
// library: GWLP_WNDPROC is pointed at our procedure and the previous one is
// kept in a per-window record held in a window property. Every manager of the
// module shares that record, so several managers (and several clients of one
// message) meet on one layer. Layers of other modules, or any other code that
// subclasses the window, chain through CallWindowProcA as usual.
//
// A layer is taken out only when it is on top of the chain; if something was
// installed above it, it stays as a plain pass-through until it is on top
// again, so nobody's saved procedure is left pointing at freed state. A window
// destroyed while hooked drops its record on WM_NCDESTROY.
//
// Everything here runs on the thread that owns the windows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

namespace corvella::platform {

// {7DC7CDF3-76DA-43A5-94FC-51B04CA8642A}
constexpr GUID IID_ISubclass = {0x7DC7CDF3, 0x76DA, 0x43A5, {0x94, 0xFC, 0x51, 0xB0, 0x4C, 0xA8, 0x64, 0x2A}};
// {2616CC4B-5A0E-45DF-929A-38F085F59508}
constexpr GUID IID_SubclassManager = {0x2616CC4B, 0x5A0E, 0x45DF, {0x92, 0x9A, 0x38, 0xF0, 0x85, 0xF5, 0x95, 0x08}};

// What get_MsgResponse answers for the message being routed.
// Alongside: WindowProc and the window's own procedure both run; the
// original's result stands. Any answer other than the two is taken as this.
constexpr long kMsgResponseAlongside = 1;
// AfterOriginal: the window's own procedure first, then WindowProc, whose
// result is the message's result.
constexpr long kMsgResponseAfterOriginal = 2;

// Implemented by each client. The three members are the whole interface, in
// this order; the manager never deletes a client.
class ISubclass {
public:
    virtual void put_MsgResponse(long value) = 0;
    virtual long get_MsgResponse() = 0;
    virtual LRESULT WindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ISubclass() = default;
};

namespace detail {
struct ManagerState;
// Window records alive in this module, and whether `hWnd` carries this
// module's layer; for diagnostics and tests.
std::size_t LiveWindowRecords();
bool HasSubclassLayer(HWND hWnd);
}  // namespace detail

// Every call into a client (get_MsgResponse, WindowProc) runs through the
// module's boundary: `call(context)` must run once. The program installs one
// that reports a failing client the way its event handlers are reported;
// without one a failure is swallowed, since nothing may be thrown through a
// window procedure. Returns the boundary it replaces.
using ClientBoundary = void (*)(HWND hWnd, void (*call)(void*), void* context);
ClientBoundary SetClientBoundary(ClientBoundary boundary);

class SubclassManager {
public:
    SubclassManager();
    // Drops every routing still held, so no window is left calling into it.
    ~SubclassManager();
    SubclassManager(const SubclassManager&) = delete;
    SubclassManager& operator=(const SubclassManager&) = delete;

    // Routes message Msg of hWnd to client. False for a null client, a
    // window that does not exist or belongs to another thread, or a window
    // that cannot be subclassed. Hooking the same triple twice is one routing.
    bool HookMessage(ISubclass* client, HWND hWnd, UINT Msg);
    // Ends that routing; false if it was not hooked. Safe while the message
    // is being routed: the client is not called again for it.
    bool UnhookMessage(ISubclass* client, HWND hWnd, UINT Msg);
    // The message this manager is routing to a client right now (during
    // get_MsgResponse and WindowProc); 0 when none. Nested messages show the
    // inner one until they return.
    UINT ActiveMessage() const;

    bool IsHooked(ISubclass* client, HWND hWnd, UINT Msg) const;

private:
    std::shared_ptr<detail::ManagerState> state_;
};

}  // namespace corvella::platform
