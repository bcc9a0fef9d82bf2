// The owning handles: every reference taken is given back exactly once.
#include "libs/common/com/com_ptr.h"
#include "libs/common/com/com_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using corvella::com::Bstr;
using corvella::com::ComPtr;
using corvella::com::Variant;
using corvella::com::TakeErrorDescription;

// A bare IDispatch that only counts its references.
struct Counted : IDispatch {
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

struct OwnershipCase {
    const char* name;
    std::function<void(Counted& a, Counted& b)> body;  // checks inside
    LONG a_after, b_after;                              // once the handles are gone
};

TEST(ComHandles, ReferencesAreTakenAndGivenBackOnce) {
    const OwnershipCase cases[] = {
        {"the pointer constructor adds its own reference",
         [](Counted& a, Counted&) { ComPtr<IDispatch> p(&a); EXPECT_EQ(a.refs, 2); }, 1, 1},
        {"Attach takes over the caller's reference",
         [](Counted& a, Counted&) { a.AddRef(); auto p = ComPtr<IDispatch>::Attach(&a); EXPECT_EQ(a.refs, 2); }, 1, 1},
        {"Detach hands the reference to the caller",
         [](Counted& a, Counted&) { ComPtr<IDispatch> p(&a); EXPECT_EQ(p.Detach(), &a); EXPECT_FALSE(p); }, 2, 1},
        {"a copy adds, a move does not",
         [](Counted& a, Counted&) {
             ComPtr<IDispatch> p(&a);
             ComPtr<IDispatch> copy = p;
             ComPtr<IDispatch> moved = std::move(copy);
             EXPECT_EQ(a.refs, 3);
             EXPECT_FALSE(copy);
         }, 1, 1},
        {"assignment releases the old object",
         [](Counted& a, Counted& b) {
             ComPtr<IDispatch> p(&a), q(&b);
             p = q;
             EXPECT_EQ(a.refs, 1);
             EXPECT_EQ(b.refs, 3);
             p = p;
             EXPECT_EQ(b.refs, 3) << "self-assignment";
         }, 1, 1},
        {"Put releases before it is filled",
         [](Counted& a, Counted& b) {
             ComPtr<IDispatch> p(&a);
             b.QueryInterface(IID_IDispatch, p.PutVoid());
             EXPECT_EQ(a.refs, 1);
             EXPECT_EQ(b.refs, 2);
         }, 1, 1},
        {"As adds the reference of the interface asked for",
         [](Counted& a, Counted&) {
             ComPtr<IUnknown> u(&a);
             ComPtr<IDispatch> d;
             EXPECT_HRESULT_SUCCEEDED(u.As(d));
             ComPtr<IClassFactory> none;
             EXPECT_EQ(u.As(none), E_NOINTERFACE);
             EXPECT_EQ(a.refs, 3);
         }, 1, 1},
        {"a variant holding an object owns one reference per copy",
         [](Counted& a, Counted&) {
             Variant v(static_cast<IDispatch*>(&a));
             Variant copy = v;
             EXPECT_EQ(a.refs, 3);
             Variant moved = std::move(copy);
             EXPECT_EQ(copy.Type(), VT_EMPTY);
             EXPECT_EQ(a.refs, 3);
         }, 1, 1},
        {"a variant Attach takes over without adding",
         [](Counted& a, Counted&) {
             VARIANT raw;
             VariantInit(&raw);
             V_VT(&raw) = VT_DISPATCH;
             V_DISPATCH(&raw) = &a;
             a.AddRef();
             Variant v = Variant::Attach(raw);
             EXPECT_EQ(V_VT(&raw), VT_EMPTY);
             EXPECT_EQ(a.refs, 2);
         }, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Counted a, b;
        c.body(a, b);
        EXPECT_EQ(a.refs, c.a_after);
        EXPECT_EQ(b.refs, c.b_after);
    }
}

TEST(ComHandles, StringsAreCopiedAndHandedOver) {
    Bstr s("Caf\xe9");
    Bstr copy = s;
    EXPECT_NE(copy.Get(), s.Get()) << "a copy is a string of its own";
    EXPECT_EQ(copy.Ansi(), "Caf\xe9");
    Bstr moved = std::move(copy);
    EXPECT_EQ(copy.Get(), nullptr);
    BSTR out = moved.Detach();
    EXPECT_EQ(moved.Get(), nullptr);
    Bstr back = Bstr::Attach(out);
    EXPECT_EQ(back.Length(), 4u);
    *back.Put() = SysAllocString(L"new");
    EXPECT_EQ(back.Ansi(), "new");

    VARIANT_BOOL flag = VARIANT_FALSE;
    Variant ref = Variant::ByRef(&flag);
    Variant ref_copy = ref;
    *V_BOOLREF(ref_copy.Get()) = VARIANT_TRUE;
    EXPECT_EQ(flag, VARIANT_TRUE) << "a by-reference copy still points at the caller's flag";
    EXPECT_EQ(Variant(std::string("12")).Ansi(), "12");
    EXPECT_EQ(Variant(true).Ansi(), "True");
}

TEST(ComHandles, TheErrorObjectsDescriptionIsTakenOnce) {
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(CreateErrorInfo(&create), S_OK);
    create->SetDescription(const_cast<LPOLESTR>(L"Disk full"));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
    SetErrorInfo(0, info);
    info->Release();
    create->Release();
    EXPECT_EQ(TakeErrorDescription(), "Disk full");
    EXPECT_EQ(TakeErrorDescription(), "") << "the error object was taken";
}

}  // namespace
