// Subclassing on real windows: routing answers, nesting, unhooking during
// dispatch, several managers and foreign subclasses on one window, and
// windows destroyed while hooked.
#include "libs/common/subclass/subclass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace corvella::platform;

namespace {

constexpr UINT kMsgA = WM_APP + 1;  // the window's own procedure answers 100
constexpr UINT kMsgB = WM_APP + 2;  // ... and 200

std::vector<std::string> g_log;

LRESULT CALLBACK TestWndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kMsgA || m == kMsgB) {
        g_log.push_back("orig");
        return m == kMsgA ? 100 : 200;
    }
    return DefWindowProcA(h, m, w, l);
}

WNDPROC g_foreign_prev = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kMsgA) g_log.push_back("foreign");
    return CallWindowProcA(g_foreign_prev, h, m, w, l);
}

const char* TestClass() {
    static const char* name = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TestWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvellaSubclassTest";
        RegisterClassA(&wc);
        return "CorvellaSubclassTest";
    }();
    return name;
}

HWND MakeWindow() {
    return CreateWindowExA(0, TestClass(), "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

WNDPROC CurrentProc(HWND h) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)); }

struct Client : ISubclass {
    Client(std::string n, long a, LRESULT r = 0) : name(std::move(n)), answer(a), result(r) {}
    std::string name;
    long answer;
    LRESULT result;
    SubclassManager* mgr = nullptr;  // whose ActiveMessage to record
    std::function<void(HWND, UINT)> on_proc;
    std::function<void()> on_ask;
    std::vector<UINT> asked_active, proc_active;
    int calls = 0;

    void put_MsgResponse(long v) override { answer = v; }
    long get_MsgResponse() override {
        if (mgr) asked_active.push_back(mgr->ActiveMessage());
        if (on_ask) on_ask();
        return answer;
    }
    LRESULT WindowProc(HWND h, UINT m, WPARAM, LPARAM) override {
        ++calls;
        g_log.push_back(name);
        if (mgr) proc_active.push_back(mgr->ActiveMessage());
        if (on_proc) on_proc(h, m);
        return result;
    }
};

class Subclass : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        w = MakeWindow();
        ASSERT_NE(w, nullptr);
        original = CurrentProc(w);
    }
    void TearDown() override {
        if (IsWindow(w)) DestroyWindow(w);
        EXPECT_EQ(detail::LiveWindowRecords(), 0u);
    }
    void ExpectPristine() {
        EXPECT_EQ(CurrentProc(w), original);
        EXPECT_FALSE(detail::HasSubclassLayer(w));
        g_log.clear();
        EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
        EXPECT_EQ(g_log, std::vector<std::string>{"orig"});
    }
    HWND w = nullptr;
    WNDPROC original = nullptr;
};

// Answer 1, and an answer outside the two, leave the original's result
// (answer 2's order and result: the next test).
TEST_F(Subclass, AnswersOtherThanAfterKeepTheOriginalsResult) {
    SubclassManager m;
    for (long answer : {kMsgResponseAlongside, 0L}) {
        g_log.clear();
        Client along("along", answer, 7);
        ASSERT_TRUE(m.HookMessage(&along, w, kMsgA));
        EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
        EXPECT_EQ(along.calls, 1);
        EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "orig"), 1);
        m.UnhookMessage(&along, w, kMsgA);
    }
    ExpectPristine();
}

TEST_F(Subclass, SeveralClientsOfOneMessageEachGetItOnce) {
    SubclassManager m;
    Client c1("c1", 1), c2("c2", 2, 5), c3("c3", 1), c4("c4", 2, 9);
    for (Client* c : {&c1, &c2, &c3, &c4}) ASSERT_TRUE(m.HookMessage(c, w, kMsgA));
    ASSERT_TRUE(m.HookMessage(&c1, w, kMsgA));  // the same triple again is one routing
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 9);  // the last answer-2 client's result
    for (Client* c : {&c1, &c2, &c3, &c4}) EXPECT_EQ(c->calls, 1) << c->name;
    auto at = [](const char* s) { return std::find(g_log.begin(), g_log.end(), s) - g_log.begin(); };
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "orig"), 1);
    EXPECT_LT(at("orig"), at("c2"));
    EXPECT_LT(at("orig"), at("c4"));

    // A client hooked during a dispatch waits for the next message.
    Client late("late", 1);
    c1.on_proc = [&](HWND h, UINT msg) { m.HookMessage(&late, h, msg); };
    SendMessageA(w, kMsgA, 0, 0);
    EXPECT_EQ(late.calls, 0);
    SendMessageA(w, kMsgA, 0, 0);
    EXPECT_EQ(late.calls, 1);
}

TEST_F(Subclass, ClientGetsOnlyWhatItHooked) {
    HWND other = MakeWindow();
    SubclassManager m;
    Client a("a", 2), b("b", 2);
    ASSERT_TRUE(m.HookMessage(&a, w, kMsgA));
    ASSERT_TRUE(m.HookMessage(&b, w, kMsgB));
    // `a` sends a message it did not hook to its own window while handling.
    a.on_proc = [](HWND h, UINT) { SendMessageA(h, kMsgB, 0, 0); };
    SendMessageA(other, kMsgA, 0, 0);
    EXPECT_EQ(a.calls, 0);
    SendMessageA(w, kMsgA, 0, 0);
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(b.calls, 1);
    EXPECT_TRUE(m.IsHooked(&a, w, kMsgA));
    EXPECT_FALSE(m.IsHooked(&a, w, kMsgB));
    EXPECT_FALSE(m.IsHooked(&a, other, kMsgA));
    EXPECT_FALSE(detail::HasSubclassLayer(other));
    DestroyWindow(other);
}

TEST_F(Subclass, ActiveMessageFollowsNesting) {
    SubclassManager m;
    Client c("c", 2);
    c.mgr = &m;
    UINT after_inner = 0;
    c.on_proc = [&](HWND h, UINT msg) {
        if (msg != kMsgA) return;
        SendMessageA(h, kMsgB, 0, 0);
        after_inner = m.ActiveMessage();
    };
    ASSERT_TRUE(m.HookMessage(&c, w, kMsgA));
    ASSERT_TRUE(m.HookMessage(&c, w, kMsgB));
    EXPECT_EQ(m.ActiveMessage(), 0u);
    SendMessageA(w, kMsgA, 0, 0);
    EXPECT_EQ(c.asked_active, (std::vector<UINT>{kMsgA, kMsgB}));
    EXPECT_EQ(c.proc_active, (std::vector<UINT>{kMsgA, kMsgB}));
    EXPECT_EQ(after_inner, kMsgA);
    EXPECT_EQ(m.ActiveMessage(), 0u);
}

TEST_F(Subclass, UnhookingDuringDispatchIsSafe) {
    SubclassManager m;
    Client self("self", 1), killer("killer", 1), later("later", 1), due("due", 2, 5), asker("asker", 1);
    self.on_proc = [&](HWND h, UINT msg) { m.UnhookMessage(&self, h, msg); };
    killer.on_proc = [&](HWND h, UINT msg) {
        m.UnhookMessage(&later, h, msg);
        m.UnhookMessage(&due, h, msg);  // answered 2: waiting for after the original
    };
    asker.on_ask = [&] { m.UnhookMessage(&asker, w, kMsgA); };
    for (Client* c : {&self, &due, &killer, &later, &asker}) ASSERT_TRUE(m.HookMessage(c, w, kMsgA));
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
    EXPECT_EQ(self.calls, 1);
    EXPECT_EQ(killer.calls, 2);
    EXPECT_EQ(later.calls, 0);
    EXPECT_EQ(due.calls, 0);
    EXPECT_EQ(asker.calls, 0);

    // The last client leaving from inside its own call takes the layer out.
    m.UnhookMessage(&killer, w, kMsgA);
    struct Doomed final : ISubclass {
        SubclassManager* m;
        void put_MsgResponse(long) override {}
        long get_MsgResponse() override { return 2; }
        LRESULT WindowProc(HWND h, UINT msg, WPARAM, LPARAM) override {
            m->UnhookMessage(this, h, msg);
            delete this;
            return 1;
        }
    };
    auto* d = new Doomed;
    d->m = &m;
    ASSERT_TRUE(m.HookMessage(d, w, kMsgA));
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 1);
    ExpectPristine();
}

TEST_F(Subclass, ManagerDestroyedByItsOwnClient) {
    auto m = std::make_unique<SubclassManager>();
    Client c("c", 1), next("next", 2, 5);
    c.on_proc = [&](HWND, UINT) { m.reset(); };
    ASSERT_TRUE(m->HookMessage(&c, w, kMsgA));
    ASSERT_TRUE(m->HookMessage(&next, w, kMsgA));
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
    EXPECT_EQ(next.calls, 0);
    ExpectPristine();
}

TEST_F(Subclass, TwoManagersReleasedInEitherOrder) {
    for (bool a_first : {true, false}) {
        SCOPED_TRACE(a_first ? "A first" : "B first");
        auto ma = std::make_unique<SubclassManager>();
        auto mb = std::make_unique<SubclassManager>();
        Client ca("ca", 2), cb("cb", 1);
        ca.mgr = ma.get();
        cb.mgr = mb.get();
        ASSERT_TRUE(ma->HookMessage(&ca, w, kMsgA));
        ASSERT_TRUE(mb->HookMessage(&cb, w, kMsgA));
        SendMessageA(w, kMsgA, 0, 0);
        EXPECT_EQ(ca.calls + cb.calls, 2);
        EXPECT_EQ(ca.asked_active, std::vector<UINT>{kMsgA});
        EXPECT_EQ(mb->ActiveMessage(), 0u);

        (a_first ? ma : mb).reset();
        SendMessageA(w, kMsgA, 0, 0);
        EXPECT_EQ(ca.calls + cb.calls, 3);
        EXPECT_EQ((a_first ? cb : ca).calls, 2);
        EXPECT_TRUE(detail::HasSubclassLayer(w));

        (a_first ? mb : ma).reset();
        ExpectPristine();
    }
}

TEST_F(Subclass, ForeignSubclassAboveKeepsOursPassingThrough) {
    SubclassManager m;
    Client c("c", 2);
    ASSERT_TRUE(m.HookMessage(&c, w, kMsgA));
    g_foreign_prev = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    ASSERT_TRUE(m.UnhookMessage(&c, w, kMsgA));
    EXPECT_EQ(CurrentProc(w), &ForeignProc);
    EXPECT_TRUE(detail::HasSubclassLayer(w));
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 100);
    EXPECT_EQ(g_log, (std::vector<std::string>{"foreign", "orig"}));

    // Hooking again reuses the pass-through layer.
    ASSERT_TRUE(m.HookMessage(&c, w, kMsgA));
    EXPECT_EQ(detail::LiveWindowRecords(), 1u);
    g_log.clear();
    EXPECT_EQ(SendMessageA(w, kMsgA, 0, 0), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"foreign", "orig", "c"}));
    m.UnhookMessage(&c, w, kMsgA);

    // Once the foreign one leaves, the next message finds ours on top.
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreign_prev));
    SendMessageA(w, WM_NULL, 0, 0);
    ExpectPristine();
}

TEST_F(Subclass, ForeignSubclassBelowIsRestored) {
    g_foreign_prev = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    {
        SubclassManager m;
        Client c("c", 2);
        ASSERT_TRUE(m.HookMessage(&c, w, kMsgA));
        SendMessageA(w, kMsgA, 0, 0);
        EXPECT_EQ(g_log, (std::vector<std::string>{"foreign", "orig", "c"}));
    }
    EXPECT_EQ(CurrentProc(w), &ForeignProc);
    EXPECT_FALSE(detail::HasSubclassLayer(w));
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreign_prev));
    ExpectPristine();
}

TEST_F(Subclass, WindowDestroyedWhileHooked) {
    SubclassManager m;
    Client c("c", 2);
    ASSERT_TRUE(m.HookMessage(&c, w, kMsgA));
    ASSERT_TRUE(m.HookMessage(&c, w, WM_NCDESTROY));
    DestroyWindow(w);
    EXPECT_EQ(c.calls, 1);  // WM_NCDESTROY itself still reaches the client
    EXPECT_EQ(detail::LiveWindowRecords(), 0u);
    EXPECT_FALSE(m.IsHooked(&c, w, kMsgA));
    EXPECT_FALSE(m.UnhookMessage(&c, w, kMsgA));
    EXPECT_FALSE(m.HookMessage(&c, w, kMsgA));

    // Destroyed from inside a client's own call: later clients are skipped.
    w = MakeWindow();
    Client killer("killer", 1), due("due", 2);
    killer.on_proc = [](HWND h, UINT) { DestroyWindow(h); };
    ASSERT_TRUE(m.HookMessage(&killer, w, kMsgA));
    ASSERT_TRUE(m.HookMessage(&due, w, kMsgA));
    SendMessageA(w, kMsgA, 0, 0);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(due.calls, 0);
    EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "orig"), 0);  // nor the gone window's procedure
    EXPECT_EQ(detail::LiveWindowRecords(), 0u);
}

TEST_F(Subclass, RefusesWhatItCannotRoute) {
    SubclassManager m;
    Client c("c", 2);
    EXPECT_FALSE(m.HookMessage(nullptr, w, kMsgA));
    EXPECT_FALSE(m.HookMessage(&c, nullptr, kMsgA));
    EXPECT_FALSE(m.UnhookMessage(&c, w, kMsgA));

    // A window of another thread: subclassing it from here would race its owner.
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Foreign {
        HANDLE ready, done;
        HWND window;
        static DWORD WINAPI Run(void* p) {
            auto* self = static_cast<Foreign*>(p);
            self->window = MakeWindow();
            SetEvent(self->ready);
            WaitForSingleObject(self->done, INFINITE);
            DestroyWindow(self->window);
            return 0;
        }
    } other{ready, done, nullptr};
    // CreateThread: the shipped compilers' thread model has no std::thread.
    DWORD tid = 0;
    HANDLE t = CreateThread(nullptr, 0, &Foreign::Run, &other, 0, &tid);
    ASSERT_NE(t, nullptr);
    WaitForSingleObject(ready, INFINITE);
    HWND foreign = other.window;
    EXPECT_FALSE(m.HookMessage(&c, foreign, kMsgA));
    EXPECT_FALSE(detail::HasSubclassLayer(foreign));
    SetEvent(done);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    CloseHandle(ready);
    CloseHandle(done);
    ExpectPristine();
}

}  // namespace
