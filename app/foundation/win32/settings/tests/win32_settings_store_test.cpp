#include "app/foundation/win32/settings/win32_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/foundation/settings.h"

namespace corvella {
namespace {

// A key of this test's own, so the program's settings are never touched.
const char kBase[] = "Software\\CorvellaStoreTest";

class Win32StoreTest : public ::testing::Test {
protected:
    void SetUp() override { Wipe(); }
    void TearDown() override { Wipe(); }
    void Wipe() {
        std::vector<std::string> subs;
        store.EnumSubKeys(kHkeyCurrentUser, std::string(kBase) + "\\A", subs);
        for (const auto& s : subs) store.DeleteKey(kHkeyCurrentUser, std::string(kBase) + "\\A\\" + s);
        store.DeleteKey(kHkeyCurrentUser, std::string(kBase) + "\\A");
        store.DeleteKey(kHkeyCurrentUser, kBase);
    }
    Win32SettingsStore store;
};

TEST_F(Win32StoreTest, ValuesRoundTripWithTheirTypes) {
    const std::string key = std::string(kBase) + "\\A";
    EXPECT_FALSE(store.KeyExists(kHkeyCurrentUser, key));
    const std::vector<uint8_t> text{'h', 'i', 0};
    ASSERT_EQ(store.SetValue(kHkeyCurrentUser, key, "Name", kRegSz, text), StoreResult::kOk);
    ASSERT_EQ(store.SetValue(kHkeyCurrentUser, key, "Num", kRegDword, {7, 0, 0, 0}),
              StoreResult::kOk);
    EXPECT_TRUE(store.KeyExists(kHkeyCurrentUser, key));

    int32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(store.QueryValue(kHkeyCurrentUser, key, "name", type, data));  // any case
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, text);
    ASSERT_TRUE(store.QueryValue(kHkeyCurrentUser, key, "Num", type, data));
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(data, (std::vector<uint8_t>{7, 0, 0, 0}));
    EXPECT_FALSE(store.QueryValue(kHkeyCurrentUser, key, "Missing", type, data));

    std::vector<std::string> names;
    ASSERT_TRUE(store.EnumValues(kHkeyCurrentUser, key, names));
    EXPECT_EQ(names.size(), 2u);

    EXPECT_EQ(store.DeleteValue(kHkeyCurrentUser, key, "Num"), StoreResult::kOk);
    EXPECT_EQ(store.DeleteValue(kHkeyCurrentUser, key, "Num"), StoreResult::kFailed);
    EXPECT_EQ(store.DeleteValue(kHkeyCurrentUser, key + "\\Nope", "Num"), StoreResult::kNoKey);
}

TEST_F(Win32StoreTest, KeysWithChildrenAndRootsAreNotDeleted) {
    const std::string key = std::string(kBase) + "\\A";
    ASSERT_TRUE(store.CreateKey(kHkeyCurrentUser, key + "\\Child"));
    EXPECT_FALSE(store.DeleteKey(kHkeyCurrentUser, key));
    EXPECT_TRUE(store.KeyExists(kHkeyCurrentUser, key + "\\Child"));
    EXPECT_FALSE(store.DeleteKey(kHkeyCurrentUser, ""));

    std::vector<std::string> subs{"stale"};
    ASSERT_TRUE(store.EnumSubKeys(kHkeyCurrentUser, key, subs));
    EXPECT_EQ(subs, std::vector<std::string>{"Child"});
    EXPECT_FALSE(store.EnumSubKeys(kHkeyCurrentUser, key + "\\Nope", subs));
    EXPECT_TRUE(subs.empty());

    EXPECT_TRUE(store.DeleteKey(kHkeyCurrentUser, key + "\\Child"));
    EXPECT_TRUE(store.DeleteKey(kHkeyCurrentUser, key));
    EXPECT_FALSE(store.DeleteKey(kHkeyCurrentUser, key));
}

TEST_F(Win32StoreTest, ExpandsEnvironmentAndServesTheSettingsClass) {
    SetEnvironmentVariableA("CORVELLA_STORE_TEST", "xyz");
    EXPECT_EQ(store.ExpandEnvironment("a%CORVELLA_STORE_TEST%b"), "axyzb");
    EXPECT_EQ(store.ExpandEnvironment(""), "");

    const std::string key = std::string(kBase) + "\\A";
    EXPECT_EQ(GetSettingText(store, key, "Text", "dflt"), "dflt");
    SaveSettingLong(store, key, "Long", 123456);
    EXPECT_EQ(GetSettingLong(store, key, "Long", 0), 123456);
    EXPECT_EQ(GetSettingText(store, key, "Text", "other"), "dflt");
}

}  // namespace
}  // namespace corvella
