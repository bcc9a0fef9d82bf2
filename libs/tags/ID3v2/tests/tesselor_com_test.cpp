// Tesselor as its callers see it after regsvr32: early-bound through the
// vtable (file names by reference), late-bound by name, its type library and
// its registration.
#include "libs/common/tests/com_test_util.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "libs/tags/ID3v2/tests/test_support.h"

#include <gtest/gtest.h>

using namespace corvella::testing;

namespace {

class Tesselor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(tesselor::CLSID_CID3v2, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v2), reinterpret_cast<void**>(&tag_)));
    }
    void TearDown() override {
        if (tag_) tag_->Release();
    }
    bool Call(HRESULT (STDMETHODCALLTYPE _CID3v2::*fn)(BSTR*, VARIANT_BOOL*), const std::string& path) {
        BSTR b = Bstr(path);
        VARIANT_BOOL ok = 0;
        EXPECT_HRESULT_SUCCEEDED((tag_->*fn)(&b, &ok));
        EXPECT_EQ(Ansi(b), path) << "the by-reference name comes back unchanged";
        SysFreeString(b);
        return ok == VARIANT_TRUE;
    }
    std::string Get(tesselor::EFrames f) {
        BSTR v = nullptr;
        EXPECT_HRESULT_SUCCEEDED(tag_->GetFrameValue(f, &v));
        std::string s = Ansi(v);
        SysFreeString(v);
        return s;
    }
    void Set(tesselor::EFrames f, const std::string& value) {
        BSTR v = Bstr(value), r = nullptr;
        EXPECT_HRESULT_SUCCEEDED(tag_->SetFrameValue(f, v, &r));
        EXPECT_EQ(Ansi(r), "");
        SysFreeString(v);
        SysFreeString(r);
    }
    ComApartment com_;
    TempFolder dir_;
    _CID3v2* tag_ = nullptr;
};

TEST_F(Tesselor, EarlyBoundKeepsAudioThroughWriteAndRemove) {
    std::string audio = FakeAudio(5000, 7);
    std::string mp3 = dir_.File("song.mp3");
    WriteBytes(mp3, audio);
    Set(tesselor::Title, "Caf\xe9 Noir");
    Set(tesselor::Artist, "Someone");
    Set(tesselor::Comment, "Played loud");
    Set(tesselor::Track, "05/12");
    Set(tesselor::Composser, "Composer");
    Set(tesselor::Web_Link, "http://example.invalid/x");
    ASSERT_TRUE(Call(&_CID3v2::WriteTag, mp3));
    std::string bytes = ReadBytes(mp3);
    ASSERT_GT(bytes.size(), audio.size());
    EXPECT_EQ(bytes.substr(0, 4), std::string("ID3\x03", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - audio.size()), audio);

    // A shorter value fits in place: same length, audio where it was.
    Set(tesselor::Title, "Short");
    ASSERT_TRUE(Call(&_CID3v2::WriteTag, mp3));
    std::string again = ReadBytes(mp3);
    EXPECT_EQ(again.size(), bytes.size());
    EXPECT_EQ(again.substr(again.size() - audio.size()), audio);

    ASSERT_TRUE(Call(&_CID3v2::ReadTag, mp3));
    EXPECT_EQ(Get(tesselor::Title), "Short");
    EXPECT_EQ(Get(tesselor::Artist), "Someone");
    EXPECT_EQ(Get(tesselor::Comment), "Played loud");
    EXPECT_EQ(Get(tesselor::Track), "05/12");
    EXPECT_EQ(Get(tesselor::Web_Link), "http://example.invalid/x");

    ASSERT_TRUE(Call(&_CID3v2::RemoveTag, mp3));
    EXPECT_EQ(ReadBytes(mp3), audio);
    EXPECT_EQ(Get(tesselor::Title), "");

    Set(tesselor::Title, "kept");
    EXPECT_FALSE(Call(&_CID3v2::ReadTag, dir_.File("missing.mp3")));
    EXPECT_EQ(Get(tesselor::Title), "") << "a missing file empties the frames";
}

TEST_F(Tesselor, ReadOnlyFileWriteKeepsAttributeAndRemoveFails) {
    std::string audio = FakeAudio(3000, 3);
    std::string mp3 = dir_.File("ro.mp3");
    WriteBytes(mp3, audio);
    ASSERT_TRUE(SetFileAttributesA(mp3.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    Set(tesselor::Title, "Read only");
    ASSERT_TRUE(Call(&_CID3v2::WriteTag, mp3));
    EXPECT_EQ(GetFileAttributesA(mp3.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    std::string tagged = ReadBytes(mp3);
    EXPECT_FALSE(Call(&_CID3v2::RemoveTag, mp3)) << "removal leaves a read-only file alone";
    EXPECT_EQ(ReadBytes(mp3), tagged);
}

// Tags other writers left damaged, older or newer, through the library: the
// field reads, a write gives one frame with the new value, and the bytes
// after the tag are the same after the write and after a removal.
TEST_F(Tesselor, DamagedOlderAndNewerTags) {
    namespace t = testing_id3v2;
    const std::string audio = t::Audio(3000);
    const std::string title = t::Frame("TIT2", std::string("\0Old", 4));
    const std::string artist = t::Frame("TPE1", std::string("\0B", 2));
    const std::string cut = t::Frame("TIT2", std::string("\0Cut off", 8));  // 3 body bytes in the tag
    const std::string packed = t::Frame("TALB", std::string("\0\0\0\x10xyz", 7), false, 0x0080);
    const std::string past_end = t::Declaring(t::Tag(3, 0, title), 100000);
    const std::string cut_tag =
        t::Declaring(t::Tag(3, 0, artist + cut), uint32_t(artist.size() + 13)).substr(0, 10 + artist.size() + 13);
    const struct {
        const char* name;
        std::string tag;
        std::string tail;  // what follows the tag
        tesselor::EFrames field;
        const char* before;
        const char* set;
        const char* id;  // the frame that holds the field once written
    } cases[] = {
        {"size past the end of the file", past_end, std::string(64, '\0') + audio, tesselor::Title, "Old", "New", "TIT2"},
        {"2.4 date", t::Tag(4, 0, t::Frame("TDRC", std::string("\0" "2003-10-20", 11), true)), audio,
         tesselor::Release_Year, "2003", "2004", "TDRC"},
        {"2.4 unsynchronised", t::Tag(4, 0x80, t::Frame("TIT2", std::string("\0\xFF\0A", 4), true)), audio,
         tesselor::Title, "\xFF" "A", "New", "TIT2"},
        {"compressed album", t::Tag(3, 0, title + packed), audio, tesselor::Album, "", "New", "TALB"},
        {"frame cut by the tag", cut_tag, std::string("t off") + audio, tesselor::Title, "Cu", "New", "TIT2"},
        {"2.2", t::Tag(2, 0, std::string("TT2\0\0\4\0Old", 10) + std::string("CRM\0\0\1x", 7)), audio,
         tesselor::Title, "Old", "New", "TIT2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string mp3 = dir_.File("damaged.mp3");
        WriteBytes(mp3, c.tag + c.tail);
        ASSERT_TRUE(Call(&_CID3v2::ReadTag, mp3));
        EXPECT_EQ(Get(c.field), c.before);
        Set(c.field, c.set);
        ASSERT_TRUE(Call(&_CID3v2::WriteTag, mp3));
        const std::string bytes = ReadBytes(mp3);
        ASSERT_GE(bytes.size(), c.tail.size());
        const std::string head = bytes.substr(0, bytes.size() - c.tail.size());
        EXPECT_TRUE(bytes.substr(head.size()) == c.tail) << "the audio changed";
        ASSERT_GE(head.size(), 10u);
        EXPECT_EQ(head.size(), 10 + corvella::id3v2::FromSyncsafe(reinterpret_cast<const uint8_t*>(head.data()) + 6))
            << "the tag ends where the audio starts";
        EXPECT_EQ(head.find(c.id), head.rfind(c.id)) << "one frame for the field";
        EXPECT_EQ(head.find("TYER"), std::string::npos);
        ASSERT_TRUE(Call(&_CID3v2::ReadTag, mp3));
        EXPECT_EQ(Get(c.field), c.set);
        ASSERT_TRUE(Call(&_CID3v2::RemoveTag, mp3));
        EXPECT_TRUE(ReadBytes(mp3) == c.tail);
    }

    // Where the audio starts cannot be told: refused, the file as it was.
    const std::string unknown = t::Declaring(t::Tag(5, 0, title), 100000) + audio;
    std::string mp3 = dir_.File("unknown.mp3");
    WriteBytes(mp3, unknown);
    ASSERT_TRUE(Call(&_CID3v2::ReadTag, mp3));
    Set(tesselor::Title, "New");
    EXPECT_FALSE(Call(&_CID3v2::WriteTag, mp3));
    EXPECT_FALSE(Call(&_CID3v2::RemoveTag, mp3));
    EXPECT_TRUE(ReadBytes(mp3) == unknown);
}

TEST_F(Tesselor, LateBoundByProgIdWithByRefName) {
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Tesselor.CID3v2", &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, tesselor::CLSID_CID3v2));
    IDispatch* d = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(&d)));
    std::string mp3 = dir_.File("late.mp3");
    WriteBytes(mp3, FakeAudio(800));
    VARIANT r;
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"SetFrameValue", {VLong(1), VStr("Late Artist")}, &r));
    VariantClear(&r);
    // A script passes the name by value; a compiled caller by reference.
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"WriteTag", {VStr(mp3)}, &r));
    EXPECT_EQ(V_VT(&r), VT_BOOL);
    EXPECT_EQ(V_BOOL(&r), VARIANT_TRUE);
    BSTR name = Bstr(mp3);
    VARIANT byref;
    VariantInit(&byref);
    V_VT(&byref) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&byref) = &name;
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"ReadTag", {byref}, &r));
    EXPECT_EQ(V_BOOL(&r), VARIANT_TRUE);
    SysFreeString(name);
    ASSERT_HRESULT_SUCCEEDED(CallByName(d, L"GetFrameValue", {VLong(1)}, &r));
    ASSERT_EQ(V_VT(&r), VT_BSTR);
    EXPECT_EQ(Ansi(V_BSTR(&r)), "Late Artist");
    VariantClear(&r);

    const wchar_t* names[] = {L"GetFrameValue", L"SetFrameValue", L"ReadTag", L"RemoveTag", L"WriteTag"};
    for (int i = 0; i < 5; ++i) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(names[i]);
        ASSERT_HRESULT_SUCCEEDED(d->GetIDsOfNames(IID_NULL, &n, 1, 0, &id));
        EXPECT_EQ(id, 0x60030000 + i) << "RemoveTag stands before WriteTag";
    }
    d->Release();
}

TEST(TesselorTypeLib, IdentityAndBlankSpelledMembers) {
    ComApartment com;
    ITypeLib* lib = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(tesselor::LIBID_Tesselor, 1, 0, 0, &lib));
    ExpectLibraryIdentity(lib, "Tesselor", "Velmora - MP3 ID3v2x Tag DLL.");
    ExpectEnumMembers(lib, tesselor::TYPEID_EFrames,
                      {"Title", "Artist", "Album", "Release Year", "Comment", "Genre", "Track",
                       "Composser", "Original Artist", "Copyright Information", "Web Link",
                       "Encoded By"});

    ITypeInfo* ti = nullptr;
    TYPEATTR* ta = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(__uuidof(_CID3v2), &ti));
    ti->GetTypeAttr(&ta);
    EXPECT_TRUE(ta->wTypeFlags & TYPEFLAG_FDUAL);
    ti->ReleaseTypeAttr(ta);
    ti->Release();
    lib->Release();
}

TEST(TesselorServer, RegistrationRoundTripAndUnloading) {
    ComApartment com;
    const std::string keys[] = {
        "CLSID\\" + GuidText(tesselor::CLSID_CID3v2),
        "Tesselor.CID3v2",
        "TypeLib\\" + GuidText(tesselor::LIBID_Tesselor),
        "Interface\\" + GuidText(__uuidof(_CID3v2)),
    };
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, keys[0] + "\\InprocServer32", "ThreadingModel"), "Apartment");
    for (const auto& k : keys) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;
    std::string dll = "\"" + BesideExe("Tesselor.dll") + "\"";
    ASSERT_EQ(RunAndWait("regsvr32 /u /s " + dll), 0u);
    for (const auto& k : keys) EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, k)) << k << " left behind";
    ASSERT_EQ(RunAndWait("regsvr32 /s " + dll), 0u);
    for (const auto& k : keys) EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, k)) << k;

    HMODULE mod = LoadLibraryA(BesideExe("Tesselor.dll").c_str());
    ASSERT_TRUE(mod);
    auto can = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(mod, "DllCanUnloadNow"));
    auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        GetProcAddress(mod, "DllGetClassObject"));
    ASSERT_TRUE(can && get);
    IClassFactory* cf = nullptr;
    ASSERT_HRESULT_SUCCEEDED(get(tesselor::CLSID_CID3v2, IID_IClassFactory, reinterpret_cast<void**>(&cf)));
    IDispatch* obj = nullptr;
    ASSERT_HRESULT_SUCCEEDED(cf->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&obj)));
    cf->Release();
    EXPECT_EQ(can(), S_FALSE);
    obj->Release();
    EXPECT_EQ(can(), S_OK);
    FreeLibrary(mod);
}

}  // namespace
