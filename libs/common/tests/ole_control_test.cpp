// The control framework without a container: the interfaces a container
// asks for, persistence through a property bag and a stream, and the
// property-change connection point.
#include <ocidl.h>
#include <olectl.h>

#include <map>
#include <string>
#include <vector>

#include "libs/common/com/com_ptr.h"
#include "libs/common/tests/com_test_util.h"
#include "libs/common/tests/ole_probe/ole_probe.h"

namespace {

using namespace corvella::com;
using namespace corvella::testing;

// A property bag that remembers what was written, by name.
class Bag : public IPropertyBag {
public:
    std::map<std::wstring, Variant> values;
    std::vector<std::wstring> written;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = (riid == IID_IUnknown || riid == IID_IPropertyBag) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* v, IErrorLog*) override {
        auto it = values.find(name);
        if (it == values.end()) return E_INVALIDARG;
        const VARTYPE want = V_VT(v);
        VariantInit(v);
        return VariantChangeType(v, const_cast<VARIANT*>(it->second.Get()), 0, want);
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* v) override {
        VariantCopy(values[name].Put(), v);
        written.push_back(name);
        return S_OK;
    }
};

class Notes : public IPropertyNotifySink {
public:
    std::vector<DISPID> changed;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = (riid == IID_IUnknown || riid == IID_IPropertyNotifySink) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnChanged(DISPID id) override {
        changed.push_back(id);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }
};

TEST(OleControl, AnswersEveryInterfaceAContainerAsksForWithOneIdentity) {
    ComApartment com;
    ComPtr<IUnknown> control;
    ASSERT_HRESULT_SUCCEEDED(control.Create(CLSID_OleProbeControl, IID_IUnknown));
    const IID* asked[] = {&IID_IOleObject, &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject,
                          &IID_IOleWindow, &IID_IOleControl, &IID_IViewObject, &IID_IViewObject2,
                          &IID_IPersistPropertyBag, &IID_IPersistStreamInit, &IID_IPersist,
                          &IID_IConnectionPointContainer, &IID_IProvideClassInfo2,
                          &IID_IDispatch, &IID__OleProbe};
    for (const IID* iid : asked) {
        ComPtr<IUnknown> got, back;
        ASSERT_HRESULT_SUCCEEDED(control->QueryInterface(*iid, got.PutVoid())) << GuidText(*iid);
        ASSERT_HRESULT_SUCCEEDED(got->QueryInterface(IID_IUnknown, back.PutVoid()));
        EXPECT_EQ(back, control) << GuidText(*iid);
    }
    ComPtr<IOleObject> ole;
    control.As(ole);
    DWORD misc = 0;
    ole->GetMiscStatus(DVASPECT_CONTENT, &misc);
    EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
    EXPECT_TRUE(misc & OLEMISC_ACTIVATEWHENVISIBLE);
}

TEST(OleControl, PersistsThroughABagAndAStreamFromOneTable) {
    ComApartment com;
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_HRESULT_SUCCEEDED(persist.Create(CLSID_OleProbeControl));
    persist->InitNew();
    ComPtr<_OleProbe> probe;
    persist.As(probe);

    // Defaults are not stored; a changed value is, under its name.
    Bag defaults;
    ASSERT_HRESULT_SUCCEEDED(persist->Save(&defaults, TRUE, FALSE));
    EXPECT_TRUE(defaults.written.empty());
    probe->put_Level(0x123456);
    corvella::com::Bstr caption("Dr\xFC" "ben & \x80");
    probe->put_Caption(caption.Get());
    Bag saved;
    ASSERT_HRESULT_SUCCEEDED(persist->Save(&saved, TRUE, FALSE));
    EXPECT_EQ(saved.written, (std::vector<std::wstring>{L"Caption", L"Level"}));

    // Loading a bag: missing names take their defaults, text converts.
    Bag bag;
    bag.values[L"Level"] = Variant(std::string("77"));
    bag.values[L"Flag"] = Variant(true);
    ComPtr<IPersistPropertyBag> other;
    ASSERT_HRESULT_SUCCEEDED(other.Create(CLSID_OleProbeControl));
    ASSERT_HRESULT_SUCCEEDED(other->Load(&bag, nullptr));
    ComPtr<_OleProbe> loaded;
    other.As(loaded);
    long level = 0;
    VARIANT_BOOL flag = VARIANT_FALSE;
    corvella::com::Bstr text;
    loaded->get_Level(&level);
    loaded->get_Flag(&flag);
    loaded->get_Caption(text.Put());
    EXPECT_EQ(level, 77);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(text.Ansi(), "Probe");

    // The stream round trip keeps every value; a foreign stream is refused.
    ComPtr<IStream> stream;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    ComPtr<IPersistStreamInit> as_stream;
    persist.As(as_stream);
    ASSERT_HRESULT_SUCCEEDED(as_stream->Save(stream.Get(), TRUE));
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ComPtr<IPersistStreamInit> copy;
    ASSERT_HRESULT_SUCCEEDED(copy.Create(CLSID_OleProbeControl));
    ASSERT_HRESULT_SUCCEEDED(copy->Load(stream.Get()));
    ComPtr<_OleProbe> copied;
    copy.As(copied);
    copied->get_Level(&level);
    copied->get_Caption(text.Put());
    EXPECT_EQ(level, 0x123456);
    EXPECT_EQ(text.Ansi(), "Dr\xFC" "ben & \x80");
    ComPtr<IStream> junk;
    CreateStreamOnHGlobal(nullptr, TRUE, junk.Put());
    junk->Write("JUNKJUNK", 8, nullptr);
    junk->Seek(zero, STREAM_SEEK_SET, nullptr);
    EXPECT_TRUE(FAILED(copy->Load(junk.Get())));
}

TEST(OleControl, PropertyChangesReachTheSecondConnectionPoint) {
    ComApartment com;
    ComPtr<IConnectionPointContainer> points;
    ASSERT_HRESULT_SUCCEEDED(points.Create(CLSID_OleProbeControl));
    ComPtr<IConnectionPoint> point;
    ASSERT_HRESULT_SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, point.Put()));
    ComPtr<IConnectionPoint> events;
    EXPECT_HRESULT_SUCCEEDED(points->FindConnectionPoint(DIID___OleProbe, events.Put()));
    Notes notes;
    DWORD cookie = 0;
    ASSERT_HRESULT_SUCCEEDED(point->Advise(&notes, &cookie));
    ComPtr<_OleProbe> probe;
    points.As(probe);
    probe->put_Level(9);
    probe->put_Flag(VARIANT_TRUE);
    point->Unadvise(cookie);
    probe->put_Level(10);
    EXPECT_EQ(notes.changed, (std::vector<DISPID>{2, 3}));
}

}  // namespace
