#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/user_fields.h"

#include <gtest/gtest.h>

namespace corvella {
namespace {

TEST(UserFields, AddListDelete) {
    MemoryStore s;
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(GetAllSettings(s, names, kCustomFieldsSection), 0);
    EXPECT_TRUE(names.empty());

    AddSetting(s, "Mood", kCustomFieldsSection);
    AddSetting(s, "Tempo", kCustomFieldsSection);
    EXPECT_EQ(GetAllSettings(s, names, kCustomFieldsSection), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"Mood", "Tempo"}));

    // Stored as an empty REG_SZ: the terminating zero only.
    int32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(s.QueryValue(kHkeyCurrentUser, kCustomFieldsSection, "Mood", type, data));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, std::vector<uint8_t>{0});

    AddSetting(s, "mood", kCustomFieldsSection);
    EXPECT_EQ(GetAllSettings(s, names, kCustomFieldsSection), 2) << "names are unique ignoring case";

    DeleteSetting(s, "Mood", kCustomFieldsSection);
    EXPECT_EQ(GetAllSettings(s, names, kCustomFieldsSection), 1);
    EXPECT_EQ(names, std::vector<std::string>{"Tempo"});
}

TEST(UserFields, FailuresRaise26001) {
    MemoryStore s;
    EXPECT_THROW(DeleteSetting(s, "Mood", kCustomFieldsSection), RegistryError) << "no key";
    AddSetting(s, "Tempo", kCustomFieldsSection);
    try {
        DeleteSetting(s, "Mood", kCustomFieldsSection);
        FAIL();
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Number(), kErrRegistry);
    }
    s.SetFailCreate(true);
    try {
        AddSetting(s, "Mood", kCustomFieldsSection);
        FAIL();
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Number(), kErrRegistry);
    }
}

TEST(UserFields, SurviveTheVersionWipe) {
    MemoryStore s;
    AddSetting(s, "Mood", kCustomFieldsSection);
    AddSetting(s, "Tempo", kCustomFieldsSection);
    SaveSettingLong(s, "Software\\Corvella\\Options", "Width", 3);
    CheckSettingsVersion(s, "1.0.0");
    EXPECT_EQ(CheckSettingsVersion(s, "1.0.1"), VersionCheck::kWiped);
    std::vector<std::string> names;
    EXPECT_EQ(GetAllSettings(s, names, kCustomFieldsSection), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"Mood", "Tempo"}));
}

}  // namespace
}  // namespace corvella
