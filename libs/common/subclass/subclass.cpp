#include "libs/common/subclass/subclass.h"
#include "libs/common/subclass/window_ties.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace corvella::platform {
namespace detail {

struct ManagerState {
    UINT active = 0;
    // Windows on which this manager has live routings, for the destructor.
    std::vector<HWND> windows;
};

namespace {

struct Entry {
    // Shared so that a manager destroyed by its own client mid-dispatch
    // leaves state the dispatcher can still restore.
    std::shared_ptr<ManagerState> manager;
    ISubclass* client;
    UINT msg;
    bool alive;
};

struct WindowRecord {
    HWND hwnd = nullptr;
    WNDPROC prev = nullptr;
    // Dead entries are only erased when no dispatch is on the stack, so a
    // dispatcher's indices stay valid across client calls.
    std::vector<Entry> entries;
    int depth = 0;
    bool destroyed = false;
};

std::atomic<std::size_t> g_live_records{0};

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The property is named after this module's procedure, so that two modules
// linking this library keep separate records and separate layers.
const char* PropName() {
    static const char* const name = [] {
        static char buf[48];
        std::snprintf(buf, sizeof buf, "Corvella.Subclass.%p", reinterpret_cast<void*>(&SubclassProc));
        return buf;
    }();
    return name;
}

// The records are found through the process's own table for every message;
// the property stays, per module, for anyone who looks. Never destroyed:
// a late message still finds its way.
WindowTies& Records() {
    static WindowTies* const ties = new WindowTies;
    return *ties;
}

WindowRecord* Find(HWND hwnd) { return static_cast<WindowRecord*>(Records().Find(hwnd)); }

void Untie(WindowRecord* rec) {
    RemovePropA(rec->hwnd, PropName());
    Records().Unbind(rec->hwnd, rec);
}

bool OnTop(HWND hwnd) {
    return GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc);
}

WindowRecord* Install(HWND hwnd) {
    auto* rec = new WindowRecord;
    rec->hwnd = hwnd;
    if (!SetPropA(hwnd, PropName(), rec)) {
        delete rec;
        return nullptr;
    }
    Records().Bind(hwnd, rec);
    SetLastError(0);
    LONG_PTR prev = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    if (prev == 0 && GetLastError() != 0) {
        Untie(rec);
        delete rec;
        return nullptr;
    }
    rec->prev = reinterpret_cast<WNDPROC>(prev);
    ++g_live_records;
    return rec;
}

void Free(WindowRecord* rec) {
    delete rec;
    --g_live_records;
}

bool HasLiveEntry(const WindowRecord* rec, const ManagerState* m) {
    return std::any_of(rec->entries.begin(), rec->entries.end(),
                       [m](const Entry& e) { return e.alive && e.manager.get() == m; });
}

void ForgetWindow(ManagerState* m, HWND hwnd) {
    m->windows.erase(std::remove(m->windows.begin(), m->windows.end(), hwnd), m->windows.end());
}

void Kill(WindowRecord* rec, Entry& e) {
    e.alive = false;
    auto m = e.manager;  // keep it alive while the list is searched
    if (!HasLiveEntry(rec, m.get())) ForgetWindow(m.get(), rec->hwnd);
}

// Brings a record up to date once no dispatch is running on it: drops dead
// entries, frees it after WM_NCDESTROY, and takes an unused layer out when it
// is on top of the chain. Under someone else's subclass it stays and passes
// messages through; a later call (after any message) retries.
void Settle(WindowRecord* rec) {
    if (rec->depth > 0) return;
    auto& es = rec->entries;
    es.erase(std::remove_if(es.begin(), es.end(), [](const Entry& e) { return !e.alive; }), es.end());
    if (rec->destroyed) {
        Free(rec);
        return;
    }
    if (!es.empty() || !OnTop(rec->hwnd)) return;
    SetWindowLongPtrA(rec->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rec->prev));
    Untie(rec);
    Free(rec);
}

// The window is going away: the rest of the chain must not find us again.
void Teardown(WindowRecord* rec) {
    if (OnTop(rec->hwnd)) SetWindowLongPtrA(rec->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rec->prev));
    Untie(rec);
    for (auto& e : rec->entries) {
        if (!e.alive) continue;
        e.alive = false;
        ForgetWindow(e.manager.get(), rec->hwnd);
    }
    rec->destroyed = true;
}

void SwallowFailures(HWND, void (*call)(void*), void* context) {
    try {
        call(context);
    } catch (...) {
    }
}

ClientBoundary gBoundary = &SwallowFailures;

// Runs `f` inside the boundary; a client that failed answers `fallback`.
template <class R, class F>
R Guarded(HWND hwnd, R fallback, F&& f) {
    struct Call {
        F* f;
        R result;
        static void Run(void* self) {
            Call& c = *static_cast<Call*>(self);
            c.result = (*c.f)();
        }
    } call{&f, fallback};
    gBoundary(hwnd, &Call::Run, &call);
    return call.result;
}

// A client that fails when asked runs alongside the window's own procedure.
long AskResponse(const std::shared_ptr<ManagerState>& m, ISubclass* client, HWND hwnd, UINT msg) {
    UINT saved = m->active;
    m->active = msg;
    long answer = Guarded(hwnd, kMsgResponseAlongside, [&] { return client->get_MsgResponse(); });
    m->active = saved;
    return answer;
}

LRESULT CallClient(const std::shared_ptr<ManagerState>& m, ISubclass* client, HWND hwnd, UINT msg, WPARAM wp,
                   LPARAM lp) {
    UINT saved = m->active;
    m->active = msg;
    LRESULT r = Guarded(hwnd, LRESULT(0), [&] { return client->WindowProc(hwnd, msg, wp, lp); });
    m->active = saved;
    return r;
}

LRESULT CallOriginal(WindowRecord* rec, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return rec->prev ? CallWindowProcA(rec->prev, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

// Clients are looked at in hook order; those hooked during the dispatch wait
// for the next message. Each client is re-checked before every call, since an
// earlier call may have unhooked it.
LRESULT Route(WindowRecord* rec, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const std::size_t n = rec->entries.size();
    std::vector<std::size_t> after;
    for (std::size_t i = 0; i < n; ++i) {
        if (!rec->entries[i].alive || rec->entries[i].msg != msg) continue;
        auto m = rec->entries[i].manager;
        ISubclass* client = rec->entries[i].client;
        long answer = AskResponse(m, client, hwnd, msg);
        if (!rec->entries[i].alive) continue;
        if (answer == kMsgResponseAfterOriginal)
            after.push_back(i);
        else
            CallClient(m, client, hwnd, msg, wp, lp);
    }
    // A client destroyed the window: there is no one left to pass it to.
    if (rec->destroyed) return 0;
    LRESULT result = CallOriginal(rec, hwnd, msg, wp, lp);
    for (std::size_t i : after) {
        if (!rec->entries[i].alive) continue;
        auto m = rec->entries[i].manager;
        result = CallClient(m, rec->entries[i].client, hwnd, msg, wp, lp);
    }
    return result;
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    WindowRecord* rec = Find(hwnd);
    if (!rec) return DefWindowProcA(hwnd, msg, wp, lp);  // property lost: nothing to chain to
    ++rec->depth;
    LRESULT result = Route(rec, hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY && !rec->destroyed) Teardown(rec);
    --rec->depth;
    Settle(rec);
    return result;
}

bool Usable(HWND hwnd) {
    return hwnd && IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

}  // namespace

std::size_t LiveWindowRecords() { return g_live_records.load(); }

bool HasSubclassLayer(HWND hWnd) { return hWnd && Find(hWnd) != nullptr; }

}  // namespace detail

using detail::Entry;
using detail::WindowRecord;

SubclassManager::SubclassManager() : state_(std::make_shared<detail::ManagerState>()) {}

SubclassManager::~SubclassManager() {
    // Each call shrinks the list, so take a copy to walk.
    std::vector<HWND> windows = state_->windows;
    for (HWND hwnd : windows) {
        if (!detail::Usable(hwnd)) continue;
        WindowRecord* rec = detail::Find(hwnd);
        if (!rec) continue;
        for (auto& e : rec->entries)
            if (e.alive && e.manager == state_) e.alive = false;
        detail::Settle(rec);
    }
    state_->windows.clear();
}

bool SubclassManager::HookMessage(ISubclass* client, HWND hWnd, UINT Msg) {
    if (!client || !detail::Usable(hWnd)) return false;
    WindowRecord* rec = detail::Find(hWnd);
    if (rec && rec->destroyed) return false;
    if (!rec) rec = detail::Install(hWnd);
    if (!rec) return false;
    for (const auto& e : rec->entries)
        if (e.alive && e.manager == state_ && e.client == client && e.msg == Msg) return true;
    rec->entries.push_back(Entry{state_, client, Msg, true});
    auto& ws = state_->windows;
    if (std::find(ws.begin(), ws.end(), hWnd) == ws.end()) ws.push_back(hWnd);
    return true;
}

bool SubclassManager::UnhookMessage(ISubclass* client, HWND hWnd, UINT Msg) {
    if (!client || !detail::Usable(hWnd)) return false;
    WindowRecord* rec = detail::Find(hWnd);
    if (!rec) return false;
    for (auto& e : rec->entries) {
        if (e.alive && e.manager == state_ && e.client == client && e.msg == Msg) {
            detail::Kill(rec, e);
            detail::Settle(rec);
            return true;
        }
    }
    return false;
}

UINT SubclassManager::ActiveMessage() const { return state_->active; }

bool SubclassManager::IsHooked(ISubclass* client, HWND hWnd, UINT Msg) const {
    if (!client || !detail::Usable(hWnd)) return false;
    const WindowRecord* rec = detail::Find(hWnd);
    if (!rec) return false;
    return std::any_of(rec->entries.begin(), rec->entries.end(), [&](const Entry& e) {
        return e.alive && e.manager == state_ && e.client == client && e.msg == Msg;
    });
}

ClientBoundary SetClientBoundary(ClientBoundary boundary) {
    ClientBoundary old = detail::gBoundary;
    detail::gBoundary = boundary != nullptr ? boundary : &detail::SwallowFailures;
    return old;
}

}  // namespace corvella::platform
