// The options dialog on a real window over the real registry: the defaults
// it shows and writes on a fresh profile, the types it stores, the name-part
// lists' enabled states, and Close storing nothing.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/options/frm_options.h"

namespace corvella {
namespace {

// The program's key moved to a key of this test's own, so that tests which
// wipe the program's settings meanwhile do not meet it.
class MovedStore : public SettingsStore {
public:
    static std::string Move(const std::string& path) {
        const std::string from = kSettingsRoot;
        return path.compare(0, from.size(), from) == 0 ? "Software\\CorvellaOptionsTest" + path.substr(from.size())
                                                       : path;
    }
    bool KeyExists(int32_t r, const std::string& p) override { return real.KeyExists(r, Move(p)); }
    bool CreateKey(int32_t r, const std::string& p) override { return real.CreateKey(r, Move(p)); }
    bool DeleteKey(int32_t r, const std::string& p) override { return real.DeleteKey(r, Move(p)); }
    bool QueryValue(int32_t r, const std::string& p, const std::string& n, int32_t& t,
                    std::vector<uint8_t>& d) override {
        return real.QueryValue(r, Move(p), n, t, d);
    }
    StoreResult SetValue(int32_t r, const std::string& p, const std::string& n, int32_t t,
                         const std::vector<uint8_t>& d) override {
        return real.SetValue(r, Move(p), n, t, d);
    }
    StoreResult DeleteValue(int32_t r, const std::string& p, const std::string& n) override {
        return real.DeleteValue(r, Move(p), n);
    }
    bool EnumValues(int32_t r, const std::string& p, std::vector<std::string>& n) override {
        return real.EnumValues(r, Move(p), n);
    }
    bool EnumSubKeys(int32_t r, const std::string& p, std::vector<std::string>& n) override {
        return real.EnumSubKeys(r, Move(p), n);
    }
    std::string ExpandEnvironment(const std::string& t) override { return real.ExpandEnvironment(t); }
    Win32SettingsStore real;
};

const char kKey[] = "Software\\CorvellaOptionsTest\\Options";

// A value as the registry holds it: "SZ:text" or "DWORD:number".
std::string Stored(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[256] = {0};
    DWORD type = 0, size = sizeof data;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "<none>";
    if (type == REG_DWORD) return "DWORD:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    if (type == REG_SZ) return std::string("SZ:") + data;
    return "<type " + std::to_string(type) + ">";
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override {
        form.Unload();
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvellaOptionsTest");
        CoUninitialize();
    }
    std::vector<bool> NamePartsEnabled() {
        std::vector<bool> out;
        for (auto& c : form.cboFilename) out.push_back(c.Enabled());
        return out;
    }
    MovedStore store;
    FrmOptions form{&store};
};

TEST_F(OptionsDialog, AFreshProfileShowsAndWritesTheDefaults) {
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.Caption(), forms::App.Title() + " Options");
    EXPECT_EQ(form.cboChoice.List(form.cboChoice.ListIndex()), "Play the file using systems default player");
    EXPECT_EQ(form.Check1.Value(), 0);
    EXPECT_EQ(form.Check2.Value(), 0);
    EXPECT_EQ(form.Check3.Value(), 1);
    EXPECT_EQ(form.cboFilename[0].List(form.cboFilename[0].ListIndex()), "Track No.");
    EXPECT_EQ(form.cboFilename[1].List(form.cboFilename[1].ListIndex()), "Track");
    EXPECT_EQ(form.cboFilename[2].ListIndex(), 0);
    EXPECT_EQ(form.cboFilename[3].ListIndex(), 0);
    EXPECT_EQ(NamePartsEnabled(), std::vector<bool>(4, false)) << "no rename: no name parts";

    // Integers as text, the check boxes' Longs as DWORDs.
    const std::pair<const char*, const char*> written[] = {
        {"Play Method", "SZ:1"}, {"Ellipsis", "DWORD:0"}, {"Auto-Rename", "DWORD:0"}, {"Auto-Check", "DWORD:1"},
        {"Rename 1", "SZ:3"},    {"Rename 2", "SZ:4"},    {"Rename 3", "SZ:0"},       {"Rename 4", "SZ:0"}};
    for (const auto& w : written) EXPECT_EQ(Stored(w.first), w.second) << w.first;
}

TEST_F(OptionsDialog, NamePartsFollowTheRenameBoxAndThePartBefore) {
    ASSERT_TRUE(form.Load());
    struct Step {
        int check2, part1, part2;
        std::vector<bool> enabled;
    } steps[] = {
        {1, 4, 0, {true, true, true, false}},
        {1, 4, 2, {true, true, true, true}},
        {1, 0, 2, {true, true, false, true}},  // the fourth follows the third only
        {0, 0, 2, {false, false, false, false}},
    };
    for (const Step& s : steps) {
        form.cboFilename[1].SetListIndex(s.part1);
        form.cboFilename[2].SetListIndex(s.part2);
        form.Check2.SetValue(s.check2);
        EXPECT_EQ(NamePartsEnabled(), s.enabled) << s.check2 << s.part1 << s.part2;
    }
}

TEST_F(OptionsDialog, ApplyStoresIntegersAndCloseStoresNothing) {
    ASSERT_TRUE(form.Load());
    form.cboChoice.SetListIndex(2);
    form.Check1.SetValue(1);
    form.Check2.SetValue(1);
    form.Check3.SetValue(0);
    form.cboFilename[0].SetListIndex(0);  // "Artist"
    form.cboFilename[3].SetListIndex(3);
    form.cmdMain[0].DoClick();
    EXPECT_FALSE(form.Loaded()) << "Apply closes the dialog";
    const std::pair<const char*, const char*> written[] = {
        {"Play Method", "SZ:2"}, {"Ellipsis", "SZ:1"}, {"Auto-Rename", "SZ:1"}, {"Auto-Check", "SZ:0"},
        {"Rename 1", "SZ:1"},    {"Rename 2", "SZ:4"}, {"Rename 3", "SZ:0"},    {"Rename 4", "SZ:3"}};
    for (const auto& w : written) EXPECT_EQ(Stored(w.first), w.second) << w.first;
    EXPECT_EQ(GetSettingLong(store, std::string(kSettingsRoot) + "\\Options", "Ellipsis", 0), 1)
        << "the apply reads the stored text as its number";

    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.cboFilename[0].List(form.cboFilename[0].ListIndex()), "Artist");
    EXPECT_EQ(form.Check3.Value(), 0) << "a stored 0 is a value, not a missing one";
    form.Check1.SetValue(0);
    form.cmdMain[1].DoClick();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(Stored("Ellipsis"), "SZ:1");

    // A stored 0 for the first name part asks for no selection at all.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Rename 1", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.cboFilename[0].ListIndex(), -1);
}

}  // namespace
}  // namespace corvella
