// The custom fields editor on its real window over the real registry: the
// list and the values Add and Remove leave, each name once, the next entry
// selected after a removal, and a store that refuses reported.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/user_fields.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/userfields/win32/frm_user_fields.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

class UserFields : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegDeleteKeyA(HKEY_CURRENT_USER, kCustomFieldsSection);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kCustomFieldsSection);
        FormsTest::TearDown();
    }
    static std::vector<std::string> Listed(FrmUserFields& f) {
        std::vector<std::string> out;
        for (int i = 0; i < f.lstFields.ListCount(); ++i) out.push_back(f.lstFields.List(i));
        return out;
    }
};

TEST_F(UserFields, ListAndRegistryStayInStep) {
    {
        FrmUserFields f;
        f.Load();
        EXPECT_FALSE(f.cmdMain[1].Enabled()) << "nothing to remove";
        for (const char* typed : {"   ", " Mood ", "R&B", "-", "r&b"}) {
            f.FlatTextBox1.SetText(typed);
            f.cmdMain[0].DoClick();
        }
        EXPECT_EQ(Listed(f), (std::vector<std::string>{" Mood ", "R&B", "-"})) << "blanks add nothing; r&b is R&B";
        EXPECT_EQ(f.lstFields.ListIndex(), 1);
        f.Unload();
    }
    // One empty REG_SZ a name, listed again in the registry's order.
    Win32SettingsStore store;
    std::vector<std::string> names;
    ASSERT_EQ(GetAllSettings(store, names, kCustomFieldsSection), 3);
    for (const std::string& n : names) {
        int32_t type = 0;
        std::vector<uint8_t> data;
        ASSERT_TRUE(store.QueryValue(kHkeyCurrentUser, kCustomFieldsSection, n, type, data));
        EXPECT_TRUE(type == kRegSz && data.size() <= 1) << n;
    }
    FrmUserFields f;
    f.Load();
    EXPECT_EQ(Listed(f), names);
    for (int remove : {1, 1, 0}) {
        f.lstFields.SetListIndex(remove);
        f.cmdMain[1].DoClick();
        names.erase(names.begin() + remove);
        EXPECT_EQ(Listed(f), names);
        EXPECT_EQ(f.lstFields.ListIndex(), names.empty() ? -1 : std::min<int>(remove, names.size() - 1));
    }
    EXPECT_FALSE(f.cmdMain[1].Enabled());
    EXPECT_EQ(GetAllSettings(store, names, kCustomFieldsSection), 0);
    EXPECT_TRUE(boxes.empty());

    // A store that refuses (26001): reported, the list and the typed text kept.
    MemoryStore memory;
    AddSetting(memory, "Kept", kCustomFieldsSection);
    FrmUserFields g(&memory);
    g.Load();
    memory.SetFailCreate(true);
    memory.SetFailWrites(true);
    memory.SetFailDeletes(true);
    g.FlatTextBox1.SetText(std::string(300, 'n'));
    g.cmdMain[0].DoClick();
    g.cmdMain[1].DoClick();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].prompt.find("could not be stored"), std::string::npos) << boxes[0].prompt;
    EXPECT_NE(boxes[1].prompt.find("could not be removed"), std::string::npos) << boxes[1].prompt;
    EXPECT_EQ(Listed(g), std::vector<std::string>{"Kept"});
    EXPECT_EQ(g.FlatTextBox1.Text(), std::string(300, 'n'));
}

}  // namespace
}  // namespace corvella
