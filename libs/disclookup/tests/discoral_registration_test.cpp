// Discoral's identities as registered, and regsvr32 /u removing every key
// the registration wrote.
#include <olectl.h>

#include <string>
#include <vector>

#include "libs/common/tests/com_test_util.h"
#include "libs/disclookup/com/discoral.h"

namespace {

using namespace corvella::testing;

bool RegQuery(const std::string& key) { return RunAndWait("reg query \"HKEY_CLASSES_ROOT\\" + key + "\"") == 0; }

TEST(DiscoralRegistration, TheControlRegistersWithItsIdentitiesAndUnregistersCompletely) {
    ComApartment com;
    EXPECT_EQ(GuidText(CLSID_FreeDB), "{0613D769-D2C5-499F-A521-15292E09605E}");
    EXPECT_EQ(GuidText(IID__FreeDB), "{BFB1F3CB-86B5-464F-BA3C-63A576ECEE14}");
    EXPECT_EQ(GuidText(DIID___FreeDB), "{8E5A79E5-7408-4855-9CE6-941BDB5639B0}");

    const std::string clsid = "CLSID\\" + GuidText(CLSID_FreeDB);
    EXPECT_EQ(KeyValue(HKEY_CLASSES_ROOT, "Discoral.FreeDB\\CLSID", nullptr), GuidText(CLSID_FreeDB));
    std::vector<std::string> keys;
    for (const char* sub : {"", "\\Control", "\\MiscStatus\\1", "\\TypeLib", "\\InprocServer32", "\\ProgID"})
        keys.push_back(clsid + sub);
    keys.push_back("Discoral.FreeDB");
    keys.push_back("Interface\\" + GuidText(IID__FreeDB));
    keys.push_back("Interface\\" + GuidText(DIID___FreeDB));
    keys.push_back("TypeLib\\" + GuidText(LIBID_Discoral));
    for (const auto& k : keys) EXPECT_TRUE(RegQuery(k)) << k;

    ITypeLib* lib = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_Discoral, 1, 0, 0, &lib));
    BSTR doc = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr));
    EXPECT_STREQ(doc, L"FreeDB DiscID Lookup Control");
    SysFreeString(doc);
    // The records, by their identities, with their fields in order.
    const struct {
        const char* id;
        std::vector<std::wstring> fields;  // 4 bytes each, in this order
    } records[] = {
        {"{2DF69E62-80A7-4533-9103-1018C7F9CE82}", {L"Title", L"Artist"}},
        {"{89D19986-3E56-4EE1-8B78-049B4AE6104F}", {L"Artist", L"Title", L"Genre", L"Year", L"Tracks"}},
        {"{374ACF92-08F8-4D96-8E11-745BE043E618}", {L"DiscID", L"Album", L"Artist", L"Catagory"}},
    };
    for (const auto& r : records) {
        GUID guid;
        const std::wstring wide(r.id, r.id + std::string(r.id).size());
        ASSERT_HRESULT_SUCCEEDED(CLSIDFromString(const_cast<LPOLESTR>(wide.c_str()), &guid));
        ITypeInfo* ti = nullptr;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(guid, &ti)) << r.id;
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(ti->GetTypeAttr(&attr));
        EXPECT_EQ(attr->typekind, TKIND_RECORD);
        EXPECT_EQ(attr->cVars, r.fields.size());
        EXPECT_EQ(attr->cbSizeInstance, 4 * r.fields.size()) << r.id;
        ti->ReleaseTypeAttr(attr);
        for (UINT i = 0; i < r.fields.size(); ++i) {
            VARDESC* var = nullptr;
            ASSERT_HRESULT_SUCCEEDED(ti->GetVarDesc(i, &var));
            BSTR name = nullptr;
            UINT got = 0;
            ti->GetNames(var->memid, &name, 1, &got);
            EXPECT_EQ(std::wstring(name ? name : L""), r.fields[i]) << r.id;
            EXPECT_EQ(var->oInst, 4 * i) << r.id;
            SysFreeString(name);
            ti->ReleaseVarDesc(var);
        }
        ti->Release();
    }
    // The members in slot order, as the host binds to them.
    ITypeInfo* ti = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(IID__FreeDB, &ti));
    const struct {
        const wchar_t* name;
        DISPID id;
    } members[] = {{L"QueryDiscID", 0x60030000}, {L"QueryTextString", 0x60030001}, {L"StopQuery", 0x60030002},
                   {L"QueryError", 0x60030003}, {L"QueryErrorText", 0x60030004}, {L"QueryHost", 0x60030005},
                   {L"QueryPort", 0x60030006}};
    for (const auto& m : members) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(m.name);
        ASSERT_HRESULT_SUCCEEDED(ti->GetIDsOfNames(&n, 1, &id));
        EXPECT_EQ(id, m.id);
    }
    ti->Release();
    lib->Release();

    const std::string dll = BesideExe("Discoral.dll");
    ASSERT_EQ(RunAndWait("regsvr32 /u /s \"" + dll + "\""), 0u);
    for (const auto& k : keys) EXPECT_FALSE(RegQuery(k)) << k;
    ASSERT_EQ(RunAndWait("regsvr32 /s \"" + dll + "\""), 0u);
    for (const auto& k : keys) EXPECT_TRUE(RegQuery(k)) << k;
}

}  // namespace
