// Events through connection points, from the test server's CProbe to the
// program's sinks, and the registration of a control class.
#include "libs/common/com/event_sink.h"
#include "libs/common/tests/com_probe/com_probe.h"
#include "libs/common/tests/com_test_util.h"

#include <gtest/gtest.h>

#include <olectl.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace corvella::com;
using namespace corvella::testing;

constexpr DISPID kChanged = 1, kNamed = 2;

// DllCanUnloadNow of the probe's library: S_OK once none of its objects lives.
HRESULT ProbeCanUnload() {
    using Fn = HRESULT(WINAPI*)();
    HMODULE dll = GetModuleHandleA("ComProbe.dll");
    auto can = dll ? reinterpret_cast<Fn>(GetProcAddress(dll, "DllCanUnloadNow")) : nullptr;
    return can ? can() : E_FAIL;
}

class ProbeEvents : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(probe_.Create(CLSID_CProbe)); }
    bool Fire(long value) {
        VARIANT_BOOL cancelled = VARIANT_FALSE;
        EXPECT_HRESULT_SUCCEEDED(probe_->Fire(value, &cancelled));
        return cancelled != VARIANT_FALSE;
    }
    long Sinks() {
        long n = -1;
        probe_->SinkCount(&n);
        return n;
    }
    ComApartment com_;
    ComPtr<_CProbe> probe_;
};

TEST_F(ProbeEvents, TwoSinksInOrderShareTheByRefArgument) {
    std::vector<std::string> calls;
    auto first = EventSink::Create(DIID___CProbe);
    first->On(kChanged, "Changed", [&](EventArgs& e) {
        calls.push_back("first " + std::to_string(e.Long(0)) + (e.Bool(1) ? " cancel" : ""));
        e.SetBool(1, true);
    });
    auto second = EventSink::Create(DIID___CProbe);
    second->On(kChanged, "Changed", [&](EventArgs& e) {
        calls.push_back("second " + std::to_string(e.Long(0)) + (e.Bool(1) ? " cancel" : ""));
    });
    second->On(kNamed, "Named", [&](EventArgs& e) { calls.push_back("named " + e.Text(0)); });
    EventConnection a, b;
    ASSERT_HRESULT_SUCCEEDED(a.Advise(probe_.Get(), first.Get()));
    ASSERT_HRESULT_SUCCEEDED(b.Advise(probe_.Get(), second.Get()));
    EXPECT_NE(a.cookie(), b.cookie());
    EXPECT_EQ(Sinks(), 2);

    EXPECT_TRUE(Fire(7)) << "the first sink's change reaches the raiser";
    corvella::com::Bstr text("Caf\xe9");
    EXPECT_HRESULT_SUCCEEDED(probe_->FireNamed(text.Get()));
    EXPECT_EQ(calls, (std::vector<std::string>{"first 7", "second 7 cancel", "named Caf\xe9"}));

    // The connections as the source lists them.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_HRESULT_SUCCEEDED(probe_.As(container));
    ComPtr<IConnectionPoint> point;
    ASSERT_HRESULT_SUCCEEDED(container->FindConnectionPoint(DIID___CProbe, point.Put()));
    ComPtr<IEnumConnections> list;
    ASSERT_HRESULT_SUCCEEDED(point->EnumConnections(list.Put()));
    CONNECTDATA data[3] = {};
    ULONG got = 0;
    EXPECT_EQ(list->Next(3, data, &got), S_FALSE);
    ASSERT_EQ(got, 2u);
    EXPECT_EQ(data[0].dwCookie, a.cookie());
    EXPECT_EQ(data[1].dwCookie, b.cookie());
    for (ULONG i = 0; i < got; ++i) data[i].pUnk->Release();

    // Unadvised: the first sink hears nothing more; a stale cookie is refused.
    const DWORD stale = a.cookie();
    a.Unadvise();
    EXPECT_EQ(point->Unadvise(stale), CONNECT_E_NOCONNECTION);
    calls.clear();
    EXPECT_FALSE(Fire(8));
    EXPECT_EQ(calls, (std::vector<std::string>{"second 8"}));
    ASSERT_HRESULT_SUCCEEDED(list->Reset());
    EXPECT_EQ(list->Next(3, data, &got), S_FALSE);
    EXPECT_EQ(got, 2u) << "an enumerator keeps the list it was made with";
    for (ULONG i = 0; i < got; ++i) data[i].pUnk->Release();
    ASSERT_HRESULT_SUCCEEDED(point->EnumConnections(list.Put()));
    EXPECT_EQ(list->Next(3, data, &got), S_FALSE);
    EXPECT_EQ(got, 1u);
    for (ULONG i = 0; i < got; ++i) data[i].pUnk->Release();
}

TEST_F(ProbeEvents, ASinkMayLetGoOfTheSourceOrOfAnotherSinkInsideTheEvent) {
    EventConnection self_conn, other_conn;
    bool other_called = false;
    auto other = EventSink::Create(DIID___CProbe);
    other->On(kChanged, "Changed", [&](EventArgs&) { other_called = true; });
    auto leaver = EventSink::Create(DIID___CProbe);
    leaver->On(kChanged, "Changed", [&](EventArgs& e) {
        other_conn.Unadvise();
        self_conn.Unadvise();
        probe_.Reset();  // the last outside reference
        e.SetBool(1, true);
    });
    ASSERT_HRESULT_SUCCEEDED(self_conn.Advise(probe_.Get(), leaver.Get()));
    ASSERT_HRESULT_SUCCEEDED(other_conn.Advise(probe_.Get(), other.Get()));
    EXPECT_EQ(ProbeCanUnload(), S_FALSE);

    _CProbe* raw = probe_.Get();
    VARIANT_BOOL cancelled = VARIANT_FALSE;
    EXPECT_HRESULT_SUCCEEDED(raw->Fire(1, &cancelled));
    EXPECT_EQ(cancelled, VARIANT_TRUE) << "the raise finished on a living object";
    EXPECT_FALSE(other_called) << "a sink unadvised during the event is not called";
    EXPECT_FALSE(probe_);
    EXPECT_EQ(ProbeCanUnload(), S_OK) << "the source went once the raise ended";
    char freed[8] = "";
    EXPECT_EQ(GetEnvironmentVariableA("COM_PROBE_FREED_WHILE_RAISING", freed, sizeof freed), 0u)
        << "the source was freed while its raise still ran";
}

TEST_F(ProbeEvents, HandlerFailuresGoToTheBoundaryAndTheOtherSinksStillHear) {
    std::vector<std::string> reported;
    auto boundary = [&](const char* event, const std::function<void()>& call) {
        try {
            call();
        } catch (const std::exception& e) {
            reported.push_back(std::string(event) + ": " + e.what());
        }
    };
    auto guarded = EventSink::Create(DIID___CProbe, boundary);
    guarded->On(kChanged, "Changed", [](EventArgs& e) { e.SetLong(0, 1); });  // by value: refused
    auto bare = EventSink::Create(DIID___CProbe);
    bare->On(kChanged, "Changed", [](EventArgs&) { throw std::runtime_error("bare failure"); });
    int last_calls = 0;
    auto last = EventSink::Create(DIID___CProbe);
    last->On(kChanged, "Changed", [&](EventArgs& e) { ++last_calls; e.Text(5); });
    EventConnection a, b, c;
    ASSERT_HRESULT_SUCCEEDED(a.Advise(probe_.Get(), guarded.Get()));
    ASSERT_HRESULT_SUCCEEDED(b.Advise(probe_.Get(), bare.Get()));
    ASSERT_HRESULT_SUCCEEDED(c.Advise(probe_.Get(), last.Get()));
    Fire(3);
    EXPECT_EQ(last_calls, 1);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "Changed: Event argument 0 cannot be changed by a handler");

    // Without a boundary the failure ends as an automation exception.
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXCEPINFO ex = {};
    EXPECT_EQ(bare->Invoke(kChanged, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &ex, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(corvella::com::Bstr::Attach(ex.bstrDescription).Ansi(), "bare failure");
    SysFreeString(ex.bstrSource);
    EXPECT_HRESULT_SUCCEEDED(bare->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &ex, nullptr))
        << "an event without a handler is ignored";
}

TEST_F(ProbeEvents, OneIdentityAndTheClassInformationOfAControl) {
    ComPtr<IUnknown> by_probe, by_container;
    ComPtr<IConnectionPointContainer> container;
    ASSERT_HRESULT_SUCCEEDED(probe_.As(by_probe));
    ASSERT_HRESULT_SUCCEEDED(probe_.As(container));
    ASSERT_HRESULT_SUCCEEDED(container.As(by_container));
    EXPECT_EQ(by_probe, by_container);
    ComPtr<IProvideClassInfo> base;
    ComPtr<IProvideClassInfo2> info;
    ASSERT_HRESULT_SUCCEEDED(container.As(base));
    ASSERT_HRESULT_SUCCEEDED(base.As(info));
    ComPtr<IPersistStreamInit> absent;
    EXPECT_EQ(probe_.As(absent), E_NOINTERFACE);

    GUID events = GUID_NULL;
    ASSERT_HRESULT_SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_TRUE(IsEqualIID(events, DIID___CProbe));
    ComPtr<ITypeInfo> coclass;
    ASSERT_HRESULT_SUCCEEDED(info->GetClassInfo(coclass.Put()));
    TYPEATTR* ta = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&ta));
    EXPECT_EQ(ta->typekind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualCLSID(ta->guid, CLSID_CProbe));
    coclass->ReleaseTypeAttr(ta);

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_HRESULT_SUCCEEDED(container->EnumConnectionPoints(points.Put()));
    ComPtr<IConnectionPoint> point;
    ULONG got = 0;
    ASSERT_EQ(points->Next(1, point.Put(), &got), S_OK);
    IID iid = GUID_NULL;
    point->GetConnectionInterface(&iid);
    EXPECT_TRUE(IsEqualIID(iid, DIID___CProbe));
    ComPtr<IConnectionPointContainer> back;
    ASSERT_HRESULT_SUCCEEDED(point->GetConnectionPointContainer(back.Put()));
    EXPECT_EQ(back, container);
    EXPECT_EQ(points->Next(1, point.Put(), &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, point.Put()), CONNECT_E_NOCONNECTION);

    // Something that is no sink at all cannot connect.
    ASSERT_HRESULT_SUCCEEDED(container->FindConnectionPoint(DIID___CProbe, point.Put()));
    ComPtr<IUnknown> not_a_sink;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, reinterpret_cast<IStream**>(not_a_sink.Put())));
    DWORD cookie = 5;
    EXPECT_EQ(point->Advise(not_a_sink.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
}

// `reg query` of a key, run under the same Wine: true when the key exists.
bool RegQuery(const std::string& key) {
    return RunAndWait("reg query \"HKEY_CLASSES_ROOT\\" + key + "\"") == 0;
}

TEST(ControlRegistration, ControlKeysAreWrittenAndRemovedWithTheClass) {
    ComApartment com;
    const std::string clsid = "CLSID\\" + GuidText(CLSID_CProbe);
    const std::string control_keys[] = {
        clsid + "\\Control",
        clsid + "\\MiscStatus\\1",
        clsid + "\\ToolboxBitmap32",
        clsid + "\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}",
        clsid + "\\TypeLib",
        clsid + "\\VERSION",
    };
    for (const auto& k : control_keys) EXPECT_TRUE(RegQuery(k)) << k;
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\MiscStatus", nullptr), "0");
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\MiscStatus\\1", nullptr),
              std::to_string(OLEMISC_RECOMPOSEONRESIZE | OLEMISC_ACTIVATEWHENVISIBLE |
                             OLEMISC_SETCLIENTSITEFIRST));
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\ToolboxBitmap32", nullptr),
              BesideExe("ComProbe.dll") + ", 1");
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\TypeLib", nullptr), GuidText(LIBID_ComProbe));
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\VERSION", nullptr), "1.0");

    ASSERT_EQ(RunAndWait("regsvr32 /u /s \"" + BesideExe("ComProbe.dll") + "\""), 0u);
    EXPECT_FALSE(RegQuery(clsid));
    EXPECT_FALSE(RegQuery("ComProbe.CProbe"));
    ASSERT_EQ(RunAndWait("regsvr32 /s \"" + BesideExe("ComProbe.dll") + "\""), 0u);
    for (const auto& k : control_keys) EXPECT_TRUE(RegQuery(k)) << k;
}

}  // namespace
