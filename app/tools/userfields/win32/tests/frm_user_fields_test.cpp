// The custom fields editor on its real window over the real registry (its
// key moved to one of the test's own): the list, Add and Remove and the
// values they leave, and a store that refuses being reported.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/foundation/memory_store.h"
#include "app/foundation/user_fields.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/userfields/win32/frm_user_fields.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

const char kKey[] = "Software\\CorvellaUserFieldsTest";

// The program's key moved below the test's own.
class MovedStore : public Win32SettingsStore {
public:
    static std::string Move(const std::string& p) {
        const std::string from = kSettingsRoot;
        return p.compare(0, from.size(), from) == 0 ? kKey + p.substr(from.size()) : p;
    }
    bool QueryValue(int32_t r, const std::string& p, const std::string& n, int32_t& t,
                    std::vector<uint8_t>& d) override {
        return Win32SettingsStore::QueryValue(r, Move(p), n, t, d);
    }
    StoreResult SetValue(int32_t r, const std::string& p, const std::string& n, int32_t t,
                         const std::vector<uint8_t>& d) override {
        return Win32SettingsStore::SetValue(r, Move(p), n, t, d);
    }
    StoreResult DeleteValue(int32_t r, const std::string& p, const std::string& n) override {
        return Win32SettingsStore::DeleteValue(r, Move(p), n);
    }
    bool EnumValues(int32_t r, const std::string& p, std::vector<std::string>& n) override {
        return Win32SettingsStore::EnumValues(r, Move(p), n);
    }
    bool KeyExists(int32_t r, const std::string& p) override { return Win32SettingsStore::KeyExists(r, Move(p)); }
    bool CreateKey(int32_t r, const std::string& p) override { return Win32SettingsStore::CreateKey(r, Move(p)); }
};

// Every value of the moved key: name and type, in enumeration order.
std::vector<std::pair<std::string, DWORD>> Stored() {
    std::vector<std::pair<std::string, DWORD>> out;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kKey) + "\\Custom Fields").c_str(), 0, KEY_READ, &key))
        return out;
    char name[300];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name, type = 0, dataSize = 0;
        if (RegEnumValueA(key, i, name, &size, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS) break;
        out.emplace_back(name, type);
        EXPECT_LE(dataSize, 1u) << name;
    }
    RegCloseKey(key);
    return out;
}

class UserFields : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kKey) + "\\Custom Fields").c_str());
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kKey) + "\\Custom Fields").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        FormsTest::TearDown();
    }
    std::vector<std::string> Listed(FrmUserFields& f) {
        std::vector<std::string> out;
        for (int i = 0; i < f.lstFields.ListCount(); ++i) out.push_back(f.lstFields.List(i));
        return out;
    }
    MovedStore store;
};

TEST_F(UserFields, AddAndRemoveKeepListAndRegistryInStep) {
    {
        FrmUserFields f(&store);
        f.Load();
        EXPECT_EQ(f.Caption(), "User Defined Field List");
        EXPECT_TRUE(Listed(f).empty());
        EXPECT_FALSE(f.cmdMain[1].Enabled()) << "nothing to remove";
        const struct {
            const char* typed;
            std::vector<std::string> listed;
        } adds[] = {
            {"   ", {}},
            {" Mood ", {" Mood "}},
            {"R&B", {" Mood ", "R&B"}},
            {"-", {" Mood ", "R&B", "-"}},
            {"r&b", {" Mood ", "R&B", "-"}},  // the same value in another case
        };
        for (const auto& a : adds) {
            f.FlatTextBox1.SetText(a.typed);
            f.cmdMain[0].DoClick();
            EXPECT_EQ(Listed(f), a.listed) << a.typed;
        }
        EXPECT_EQ(f.lstFields.ListIndex(), 1) << "the name found again is selected";
        EXPECT_EQ(f.FlatTextBox1.Text(), "");
        f.Unload();
    }
    const auto stored = Stored();
    std::vector<std::string> names;
    for (const auto& [name, type] : stored) {
        names.push_back(name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    }
    std::vector<std::string> sorted = names, added = {" Mood ", "R&B", "-"};
    std::sort(sorted.begin(), sorted.end());
    std::sort(added.begin(), added.end());
    EXPECT_EQ(sorted, added);

    // Listed again in the registry's order; each removal selects the entry
    // that followed, else the last.
    FrmUserFields f(&store);
    f.Load();
    EXPECT_EQ(Listed(f), names);
    EXPECT_EQ(f.lstFields.ListIndex(), 0);
    for (int remove : {1, 1, 0}) {
        f.lstFields.SetListIndex(remove);
        ASSERT_TRUE(f.cmdMain[1].Enabled());
        f.cmdMain[1].DoClick();
        names.erase(names.begin() + remove);
        EXPECT_EQ(Listed(f), names);
        EXPECT_EQ(f.lstFields.ListIndex(), names.empty() ? -1 : std::min<int>(remove, names.size() - 1));
    }
    EXPECT_FALSE(f.cmdMain[1].Enabled());
    EXPECT_TRUE(Stored().empty());
    f.Unload();
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UserFields, AStoreThatRefusesIsReported) {
    MemoryStore memory;
    AddSetting(memory, "Kept", kCustomFieldsSection);
    FrmUserFields f(&memory);
    f.Load();
    memory.SetFailCreate(true);
    memory.SetFailWrites(true);
    memory.SetFailDeletes(true);
    f.FlatTextBox1.SetText(std::string(300, 'n'));
    f.cmdMain[0].DoClick();
    f.lstFields.SetListIndex(0);
    f.cmdMain[1].DoClick();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].prompt.find("could not be stored"), std::string::npos) << boxes[0].prompt;
    EXPECT_NE(boxes[1].prompt.find("could not be removed"), std::string::npos) << boxes[1].prompt;
    EXPECT_EQ(Listed(f), std::vector<std::string>{"Kept"}) << "the list shows what is stored";
    EXPECT_EQ(f.FlatTextBox1.Text(), std::string(300, 'n')) << "the typed text is kept";
    f.Unload();
}

}  // namespace
}  // namespace corvella
