// Lumbrel as its callers see it after regsvr32: early-bound through the
// vtable, late-bound by name, its type library and its registration.
#include "libs/common/tests/com_test_util.h"
#include "libs/tags/ID3v1/com/lumbrel.h"

#include <gtest/gtest.h>

using namespace corvella::testing;

namespace {

class Lumbrel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(lumbrel::CLSID_CID3v1, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v1), reinterpret_cast<void**>(&tag_)));
    }
    void TearDown() override {
        if (tag_) tag_->Release();
    }
    bool Call(HRESULT (STDMETHODCALLTYPE _CID3v1::*fn)(BSTR, VARIANT_BOOL*), const std::string& path) {
        BSTR b = Bstr(path);
        VARIANT_BOOL ok = 0;
        HRESULT hr = (tag_->*fn)(b, &ok);
        SysFreeString(b);
        EXPECT_HRESULT_SUCCEEDED(hr);
        return ok == VARIANT_TRUE;
    }
    std::string Get(lumbrel::EFields f) {
        VARIANT v;
        EXPECT_HRESULT_SUCCEEDED(tag_->GetFieldValue(f, &v));
        std::string s = V_VT(&v) == VT_BSTR ? Ansi(V_BSTR(&v)) : "<vt " + std::to_string(V_VT(&v)) + ">";
        VariantClear(&v);
        return s;
    }
    HRESULT Set(lumbrel::EFields f, VARIANT value) {
        VARIANT r;
        HRESULT hr = tag_->SetFieldValue(f, value, &r);
        VariantClear(&value);
        if (SUCCEEDED(hr)) EXPECT_EQ(V_VT(&r), VT_EMPTY);
        return hr;
    }
    ComApartment com_;
    TempFolder dir_;
    _CID3v1* tag_ = nullptr;
};

TEST_F(Lumbrel, EarlyBoundWriteReadRemove) {
    std::string audio = FakeAudio(1000);
    std::string mp3 = dir_.File("song.mp3");
    WriteBytes(mp3, audio);

    ASSERT_HRESULT_SUCCEEDED(Set(lumbrel::Title, VStr("Caf\xe9 Noir")));
    ASSERT_HRESULT_SUCCEEDED(Set(lumbrel::Artist, VStr("Artist")));
    ASSERT_HRESULT_SUCCEEDED(Set(lumbrel::Release_Year, VLong(1999)));
    ASSERT_HRESULT_SUCCEEDED(Set(lumbrel::Genre, VStr("rock")));
    ASSERT_HRESULT_SUCCEEDED(Set(lumbrel::Track, VLong(7)));
    ASSERT_TRUE(Call(&_CID3v1::WriteTag, mp3));
    std::string bytes = ReadBytes(mp3);
    ASSERT_EQ(bytes.size(), 1128u);
    EXPECT_EQ(bytes.substr(0, 1000), audio);
    EXPECT_EQ(bytes.substr(1000, 3), "TAG");
    EXPECT_EQ(bytes.substr(1003, 30), std::string("Caf\xe9 Noir") + std::string(21, ' '))
        << "text crosses in the ANSI code page, one byte a character";

    ASSERT_TRUE(Call(&_CID3v1::ReadTag, mp3));
    EXPECT_EQ(Get(lumbrel::Title), "Caf\xe9 Noir");
    EXPECT_EQ(Get(lumbrel::Release_Year), "1999");
    EXPECT_EQ(Get(lumbrel::Genre), "Rock");
    EXPECT_EQ(Get(lumbrel::Track), "07");

    VARIANT out;
    EXPECT_HRESULT_SUCCEEDED(tag_->GetFieldValue(static_cast<lumbrel::EFields>(7), &out));
    EXPECT_EQ(V_VT(&out), VT_EMPTY) << "a field outside 0..6 is an empty Variant";

    ASSERT_TRUE(Call(&_CID3v1::RemoveTag, mp3));
    EXPECT_EQ(ReadBytes(mp3), audio);
    EXPECT_EQ(Get(lumbrel::Title), "");
    EXPECT_FALSE(Call(&_CID3v1::ReadTag, dir_.File("missing.mp3")));
}

TEST_F(Lumbrel, NullValueRaisesTypeMismatchWithSource) {
    VARIANT null;
    VariantInit(&null);
    V_VT(&null) = VT_NULL;
    EXPECT_EQ(Set(lumbrel::Title, null), DISP_E_TYPEMISMATCH);
    IErrorInfo* ei = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &ei), S_OK);
    BSTR src = nullptr;
    ei->GetSource(&src);
    EXPECT_EQ(Ansi(src), "Lumbrel.CID3v1");
    SysFreeString(src);
    ei->Release();
}

TEST_F(Lumbrel, LateBoundByProgIdAsAScriptCalls) {
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Lumbrel.CID3v1", &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, lumbrel::CLSID_CID3v1));
    IDispatch* d = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(&d)));
    std::string mp3 = dir_.File("late.mp3");
    WriteBytes(mp3, FakeAudio(500));
    VARIANT r;
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"SetFieldValue", {VLong(0), VStr("Late Title")}, &r));
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"SetFieldValue", {VLong(6), VStr("12")}, &r));
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"WriteTag", {VStr(mp3)}, &r));
    EXPECT_EQ(V_VT(&r), VT_BOOL);
    EXPECT_EQ(V_BOOL(&r), VARIANT_TRUE);
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"ReadTag", {VStr(mp3)}, &r));
    EXPECT_EQ(V_BOOL(&r), VARIANT_TRUE);
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"GetFieldValue", {VLong(0)}, &r));
    ASSERT_EQ(V_VT(&r), VT_BSTR);
    EXPECT_EQ(Ansi(V_BSTR(&r)), "Late Title");
    VariantClear(&r);
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"GetFieldValue", {VStr("6")}, &r))
        << "a script may pass the field as text; it is coerced to EFields";
    EXPECT_EQ(Ansi(V_BSTR(&r)), "12");
    VariantClear(&r);
    EXPECT_EQ(CallByName(d, L"NoSuchMethod", {}, &r), DISP_E_UNKNOWNNAME);

    DISPID ids[5];
    const wchar_t* names[] = {L"GetFieldValue", L"SetFieldValue", L"ReadTag", L"WriteTag", L"RemoveTag"};
    for (int i = 0; i < 5; ++i) {
        LPOLESTR n = const_cast<LPOLESTR>(names[i]);
        ASSERT_HRESULT_SUCCEEDED(d->GetIDsOfNames(IID_NULL, &n, 1, 0, &ids[i]));
        EXPECT_EQ(ids[i], 0x60030000 + i) << "dispatch ids follow the interface order";
    }
    d->Release();
}

TEST(LumbrelTypeLib, IdentityNamesAndLayout) {
    ComApartment com;
    ITypeLib* lib = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(lumbrel::LIBID_Lumbrel, 1, 0, 0, &lib));
    ExpectLibraryIdentity(lib, "Lumbrel", "Velmora - MP3 ID3v1x Tag DLL.");
    ExpectEnumMembers(lib, lumbrel::TYPEID_EFields,
                      {"Title", "Artist", "Album", "Release Year", "Comment", "Genre", "Track"});

    ITypeInfo* ti = nullptr;
    TYPEATTR* ta = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(__uuidof(_CID3v1), &ti));
    ti->GetTypeAttr(&ta);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDUAL);
    ti->ReleaseTypeAttr(ta);
    // The vtable half of the dual interface: the methods after IDispatch's seven.
    HREFTYPE ref;
    ITypeInfo* vt = nullptr;
    if (SUCCEEDED(ti->GetRefTypeOfImplType(-1, &ref)) && SUCCEEDED(ti->GetRefTypeInfo(ref, &vt))) {
        vt->GetTypeAttr(&ta);
        EXPECT_EQ(ta->typekind, TKIND_INTERFACE);
        EXPECT_EQ(ta->cFuncs, 5);
        for (int i = 0; i < ta->cFuncs; ++i) {
            FUNCDESC* fd = nullptr;
            vt->GetFuncDesc(i, &fd);
            EXPECT_EQ(fd->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
            EXPECT_EQ(fd->memid, 0x60030000 + i);
            vt->ReleaseFuncDesc(fd);
        }
        vt->ReleaseTypeAttr(ta);
        vt->Release();
    } else {
        ADD_FAILURE() << "no vtable interface behind the dual dispinterface";
    }
    ti->Release();
    lib->Release();
}

TEST(LumbrelServer, RegistrationAndUnloading) {
    ComApartment com;
    std::string clsid = "CLSID\\" + GuidText(lumbrel::CLSID_CID3v1);
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\ProgID", nullptr), "Lumbrel.CID3v1");
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, clsid + "\\TypeLib", nullptr), GuidText(lumbrel::LIBID_Lumbrel));
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, "Lumbrel.CID3v1\\CLSID", nullptr), GuidText(lumbrel::CLSID_CID3v1));

    HMODULE dll = LoadLibraryA("Lumbrel.dll");
    ASSERT_TRUE(dll);
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadFn = HRESULT(WINAPI*)();
    auto get = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject"));
    auto can = reinterpret_cast<CanUnloadFn>(GetProcAddress(dll, "DllCanUnloadNow"));
    ASSERT_TRUE(get && can);
    ASSERT_TRUE(GetProcAddress(dll, "DllRegisterServer") && GetProcAddress(dll, "DllUnregisterServer"));
    IClassFactory* cf = nullptr;
    ASSERT_HRESULT_SUCCEEDED(get(lumbrel::CLSID_CID3v1, IID_IClassFactory, reinterpret_cast<void**>(&cf)));
    EXPECT_EQ(can(), S_FALSE) << "a factory is alive";
    IUnknown* obj = nullptr;
    ASSERT_HRESULT_SUCCEEDED(cf->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj)));
    cf->LockServer(TRUE);
    cf->Release();
    EXPECT_EQ(can(), S_FALSE) << "an object and a lock are alive";
    obj->Release();
    EXPECT_EQ(can(), S_FALSE) << "the lock is still held";
    IClassFactory* again = nullptr;
    get(lumbrel::CLSID_CID3v1, IID_IClassFactory, reinterpret_cast<void**>(&again));
    again->LockServer(FALSE);
    again->Release();
    EXPECT_EQ(can(), S_OK);
    GUID other = lumbrel::LIBID_Lumbrel;
    EXPECT_EQ(get(other, IID_IClassFactory, reinterpret_cast<void**>(&cf)), CLASS_E_CLASSNOTAVAILABLE);
    FreeLibrary(dll);
}

TEST(LumbrelServer, Regsvr32UninstallRemovesEveryKey) {
    ComApartment com;
    const std::string keys[] = {
        "CLSID\\" + GuidText(lumbrel::CLSID_CID3v1),
        "Lumbrel.CID3v1",
        "TypeLib\\" + GuidText(lumbrel::LIBID_Lumbrel),
        "Interface\\" + GuidText(__uuidof(_CID3v1)),
    };
    for (const auto& k : keys) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;
    ASSERT_EQ(RunAndWait("regsvr32 /u /s \"" + BesideExe("Lumbrel.dll") + "\""), 0u);
    for (const auto& k : keys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, k)) << k << " left behind";
    _CID3v1* tag = nullptr;
    EXPECT_EQ(CoCreateInstance(lumbrel::CLSID_CID3v1, nullptr, CLSCTX_INPROC_SERVER, __uuidof(_CID3v1),
                               reinterpret_cast<void**>(&tag)),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(RunAndWait("regsvr32 /s \"" + BesideExe("Lumbrel.dll") + "\""), 0u);
    for (const auto& k : keys) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;
}

}  // namespace
