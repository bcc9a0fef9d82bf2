// Pagerelle without a form: its identities as registered, regsvr32 /u
// removing every key the registration wrote, and a stream round trip.
#include <olectl.h>

#include <string>
#include <vector>

#include "libs/common/tests/com_test_util.h"
#include "libs/wizard/com/pagerelle.h"

namespace {

using namespace corvella::testing;

bool RegQuery(const std::string& key) { return RunAndWait("reg query \"HKEY_CLASSES_ROOT\\" + key + "\"") == 0; }

TEST(PagerelleRegistration, ControlsRegisterWithTheirIdentitiesAndUnregisterCompletely) {
    ComApartment com;
    struct Class {
        const CLSID* clsid;
        const IID* iface;
        const IID* events;
        const char* progid;
    } classes[] = {
        {&CLSID_WizardButtons, &IID__WizardButtons, &DIID___WizardButtons, "Pagerelle.WizardButtons"},
        {&CLSID_WizardPage, &IID__WizardPage, &DIID___WizardPage, "Pagerelle.WizardPage"},
    };
    EXPECT_EQ(GuidText(CLSID_WizardButtons), "{78F0B9A5-9F1F-49B2-8FE4-4C2EC66D8811}");
    EXPECT_EQ(GuidText(IID__WizardButtons), "{811214AC-18D1-4D56-B3FF-DBE8DD119C09}");
    EXPECT_EQ(GuidText(DIID___WizardButtons), "{1508FD2F-1F27-4AB3-8E77-30AF69400083}");
    EXPECT_EQ(GuidText(CLSID_WizardPage), "{511721EF-AD56-4C74-A71A-41252C1EF9E5}");
    EXPECT_EQ(GuidText(IID__WizardPage), "{A46B6821-96A5-465C-955C-661D963DFFF7}");
    EXPECT_EQ(GuidText(DIID___WizardPage), "{E365E464-8A2F-424A-8EF6-03882675BF71}");

    std::vector<std::string> keys;
    for (const Class& c : classes) {
        const std::string clsid = "CLSID\\" + GuidText(*c.clsid);
        EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, std::string(c.progid) + "\\CLSID", nullptr), GuidText(*c.clsid));
        for (const char* sub : {"", "\\Control", "\\MiscStatus\\1", "\\TypeLib", "\\InprocServer32", "\\ProgID"})
            keys.push_back(clsid + sub);
        keys.push_back(c.progid);
        keys.push_back("Interface\\" + GuidText(*c.iface));
        keys.push_back("Interface\\" + GuidText(*c.events));
    }
    keys.push_back("TypeLib\\" + GuidText(LIBID_Pagerelle));
    for (const auto& k : keys) EXPECT_TRUE(RegQuery(k)) << k;

    // The enumerations callers pass by number.
    ITypeLib* lib = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_Pagerelle, 1, 0, 0, &lib));
    ITypeInfo* ti = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(IID__WizardButtons, &ti));
    const struct {
        const wchar_t* name;
        DISPID id;
    } members[] = {{L"Add", 0x60030009}, {L"ShowPage", 0x6003000F}, {L"ResetButtons", 0x6003001A},
                   {L"Font", DISPID_FONT}, {L"DisplayPageInfo", 0x68030000}, {L"Count", 0x68030008}};
    for (const auto& m : members) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(m.name);
        ASSERT_HRESULT_SUCCEEDED(ti->GetIDsOfNames(&n, 1, &id));
        EXPECT_EQ(id, m.id);
    }
    ti->Release();
    lib->Release();

    const std::string dll = BesideExe("Pagerelle.dll");
    ASSERT_EQ(RunAndWait("regsvr32 /u /s \"" + dll + "\""), 0u);
    for (const auto& k : keys) EXPECT_FALSE(RegQuery(k)) << k;
    ASSERT_EQ(RunAndWait("regsvr32 /s \"" + dll + "\""), 0u);
    for (const auto& k : keys) EXPECT_TRUE(RegQuery(k)) << k;
}

// Without a container: a stream keeps every persisted value, the fonts too.
TEST(PagerelleStream, APageRoundTripsThroughAStreamItsFontIncluded) {
    ComApartment com;
    IPersistStreamInit* page = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WizardPage, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IPersistStreamInit, reinterpret_cast<void**>(&page)));
    page->InitNew();
    _WizardPage* typed = nullptr;
    page->QueryInterface(IID__WizardPage, reinterpret_cast<void**>(&typed));
    BSTR title = Bstr("Completed the File Sorting Wizard");
    typed->put_BannerTitle(title);
    typed->put_Style(Splash);
    typed->put_SplashBackColor(0x123456);
    FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Courier New"), {}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = 120000;
    IDispatch* courier = nullptr;
    ASSERT_HRESULT_SUCCEEDED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&courier)));
    typed->putref_Font(courier);
    courier->Release();
    IStream* stream = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ASSERT_HRESULT_SUCCEEDED(page->Save(stream, TRUE));
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);

    IPersistStreamInit* copy = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WizardPage, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IPersistStreamInit, reinterpret_cast<void**>(&copy)));
    ASSERT_HRESULT_SUCCEEDED(copy->Load(stream));
    _WizardPage* loaded = nullptr;
    copy->QueryInterface(IID__WizardPage, reinterpret_cast<void**>(&loaded));
    BSTR got = nullptr;
    loaded->get_BannerTitle(&got);
    EXPECT_EQ(Ansi(got), "Completed the File Sorting Wizard");
    EPageStyle style = Banner;
    loaded->get_Style(&style);
    EXPECT_EQ(style, Splash);
    long colour = 0;
    loaded->get_SplashBackColor(&colour);
    EXPECT_EQ(colour, 0x123456);
    IDispatch* font = nullptr;
    loaded->get_Font(&font);
    ASSERT_NE(font, nullptr);
    IFont* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)));
    // The face may be substituted on this system; size and weight are not.
    CY size = {};
    f->get_Size(&size);
    BOOL bold = FALSE;
    f->get_Bold(&bold);
    EXPECT_EQ(size.int64, 120000) << "the font came back from the stream";
    EXPECT_TRUE(bold);
    f->Release();
    font->Release();
    SysFreeString(got);
    SysFreeString(title);
    loaded->Release();
    copy->Release();
    typed->Release();
    page->Release();
    stream->Release();
}

TEST(PagerelleEnum, NewEnumHandsOutThePagesInOrder) {
    ComApartment com;
    _WizardButtons* bar = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WizardButtons, nullptr, CLSCTX_INPROC_SERVER,
                                              IID__WizardButtons, reinterpret_cast<void**>(&bar)));
    IDispatch* pages[2] = {};
    VARIANT none;
    VariantInit(&none);
    V_VT(&none) = VT_ERROR;
    V_ERROR(&none) = DISP_E_PARAMNOTFOUND;
    for (IDispatch*& p : pages) {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WizardPage, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                                  reinterpret_cast<void**>(&p)));
        bar->Add(p, none);
    }
    IUnknown* unknown = nullptr;
    ASSERT_HRESULT_SUCCEEDED(bar->NewEnum(&unknown));
    IEnumVARIANT* items = nullptr;
    ASSERT_HRESULT_SUCCEEDED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)));
    VARIANT got[3];
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(3, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_EQ(V_DISPATCH(&got[i]), pages[i]);
        VariantClear(&got[i]);
    }
    items->Release();
    unknown->Release();
    for (IDispatch* p : pages) p->Release();
    bar->Release();
}

}  // namespace
