#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"

#include <gtest/gtest.h>

namespace corvella {
namespace {

std::vector<uint8_t> Sz(const std::string& text) {
    std::vector<uint8_t> d(text.begin(), text.end());
    d.push_back(0);
    return d;
}

void Put(MemoryStore& s, const std::string& sub, const std::string& name) {
    std::string path = std::string(kSettingsRoot) + (sub.empty() ? "" : "\\" + sub);
    ASSERT_EQ(s.SetValue(kHkeyCurrentUser, path, name, kRegSz, Sz("x")), StoreResult::kOk);
}

std::vector<std::string> Values(MemoryStore& s, const std::string& path) {
    std::vector<std::string> names;
    s.EnumValues(kHkeyCurrentUser, path, names);
    return names;
}

// A settings tree as a few runs of the program leave it.
void FillTree(MemoryStore& s) {
    Put(s, "", "Version");
    Put(s, "", "Other");
    Put(s, "Layout\\Main", "Left");
    Put(s, "Layout\\Main\\Fields Width", "Title");
    Put(s, "Layout\\Main\\Fields Width", "Artist");
    Put(s, "Layout\\Main\\Fields Position", "Title");
    Put(s, "Options", "Show Folder Bar");
    Put(s, "Options\\MP3", "Bitrate");
    Put(s, "options\\Rename", "Mask");
    Put(s, "Custom Fields", "Mood");
    Put(s, "Custom Fields", "Tempo");
}

TEST(SplitRegistryPath, RootNamesBecomeHandleText) {
    std::string root, sub;
    ASSERT_TRUE(SplitRegistryPath("HKEY_CURRENT_USER\\Software\\Corvella", root, sub));
    EXPECT_EQ(root, "-2147483647");
    EXPECT_EQ(sub, "Software\\Corvella");
    SplitRegistryPath("HKEY_CLASSES_ROOT\\a", root, sub);
    EXPECT_EQ(root, "-2147483648");
    SplitRegistryPath("HKEY_LOCAL_MACHINE\\a", root, sub);
    EXPECT_EQ(root, "-2147483646");
    SplitRegistryPath("HKEY_USERS\\a", root, sub);
    EXPECT_EQ(root, "-2147483645");
    // Already converted, or not an exact root name: unchanged.
    SplitRegistryPath("-2147483647\\a\\b", root, sub);
    EXPECT_EQ(root, "-2147483647");
    EXPECT_EQ(sub, "a\\b");
    SplitRegistryPath("hkey_current_user\\a", root, sub);
    EXPECT_EQ(root, "hkey_current_user");
    EXPECT_FALSE(SplitRegistryPath("HKEY_CURRENT_USER", root, sub));
}

TEST(DeleteRegistryTree, LeavesOnlyTheKeyAndCustomFields) {
    MemoryStore s;
    FillTree(s);
    s.CreateKey(kHkeyCurrentUser, "Software\\Elsewhere");
    DeleteRegistryTree(s, kSettingsRootFullPath);

    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, kSettingsRoot));
    EXPECT_TRUE(Values(s, kSettingsRoot).empty()) << "the top level's own values go too";
    std::vector<std::string> subs;
    s.EnumSubKeys(kHkeyCurrentUser, kSettingsRoot, subs);
    EXPECT_EQ(subs, std::vector<std::string>{"Custom Fields"});
    EXPECT_EQ(Values(s, kCustomFieldsSection), (std::vector<std::string>{"Mood", "Tempo"}));
    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, "Software\\Elsewhere"));
    // Software, Software\Corvella, Custom Fields, Software\Elsewhere.
    EXPECT_EQ(s.KeyCount(), 4u);
}

TEST(DeleteRegistryTree, ValuesOfEveryLevelGoWithLeafKeysLast) {
    // Values on a level whose last sub-key has descendants of its own: each
    // level's values must be deleted in that level's key.
    MemoryStore s;
    Put(s, "", "Version");
    Put(s, "A", "a1");
    Put(s, "A\\B", "b1");
    Put(s, "A\\B\\C", "c1");
    Put(s, "A\\B\\C", "a1");  // same names as above must not confuse it
    DeleteRegistryTree(s, "HKEY_CURRENT_USER\\Software\\Corvella\\");
    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, kSettingsRoot));
    EXPECT_FALSE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\A"));
    EXPECT_TRUE(Values(s, kSettingsRoot).empty());
}

TEST(DeleteRegistryTree, CustomFieldsSparedWhateverTheCase) {
    MemoryStore s;
    Put(s, "custom fields", "Mood");
    Put(s, "Custom Fields\\Old", "x");
    DeleteRegistryTree(s, kSettingsRootFullPath);
    EXPECT_EQ(Values(s, kCustomFieldsSection), std::vector<std::string>{"Mood"});
    EXPECT_FALSE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\Custom Fields\\Old"));
}

TEST(DeleteRegistryTree, RefusesAWholeRootAndStopsAtTheFirstError) {
    MemoryStore s;
    FillTree(s);
    EXPECT_THROW(DeleteRegistryTree(s, "HKEY_CURRENT_USER"), RegistryError);
    EXPECT_THROW(DeleteRegistryTree(s, "HKEY_CURRENT_USER\\"), RegistryError);
    EXPECT_THROW(DeleteRegistryTree(s, "HKCU\\Software\\Corvella"), RegistryError);
    EXPECT_EQ(Values(s, "Software\\Corvella\\Options"), std::vector<std::string>{"Show Folder Bar"});

    // A missing tree is nothing to do.
    EXPECT_NO_THROW(DeleteRegistryTree(s, "HKEY_CURRENT_USER\\Software\\Nobody"));

    s.SetFailDeletes(true);
    try {
        DeleteRegistryTree(s, kSettingsRootFullPath);
        FAIL() << "a failed delete must reach the caller";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Number(), kErrRegistry);
    }
    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\Options\\MP3"));
}

TEST(CheckSettingsVersion, FirstSameAndOtherVersion) {
    EXPECT_EQ(FormatVersion(2, 1, 37), "2.1.37");
    EXPECT_EQ(FormatVersion(1, 0, 0), "1.0.0");

    MemoryStore s;
    Put(s, "Custom Fields", "Mood");
    EXPECT_EQ(CheckSettingsVersion(s, "2.1.37"), VersionCheck::kFirstRun);
    EXPECT_EQ(cRegistry(s).GetSetting(kHkeyCurrentUser, kSettingsRoot, "Version", Variant()),
              Variant::String("2.1.37"));

    Put(s, "Options", "Show Folder Bar");
    EXPECT_EQ(CheckSettingsVersion(s, "2.1.37"), VersionCheck::kSame);
    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\Options"));

    // Any difference of text, case included, wipes; "Version" stays absent
    // until the next start.
    EXPECT_EQ(CheckSettingsVersion(s, "2.1.38"), VersionCheck::kWiped);
    EXPECT_FALSE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\Options"));
    EXPECT_TRUE(Values(s, kSettingsRoot).empty());
    EXPECT_EQ(Values(s, kCustomFieldsSection), std::vector<std::string>{"Mood"});

    EXPECT_EQ(CheckSettingsVersion(s, "2.1.38"), VersionCheck::kFirstRun);
    EXPECT_EQ(Values(s, kSettingsRoot), std::vector<std::string>{"Version"});

    std::vector<uint8_t> v(Sz("2.1.38 "));
    s.SetValue(kHkeyCurrentUser, kSettingsRoot, "Version", kRegSz, v);
    EXPECT_EQ(CheckSettingsVersion(s, "2.1.38"), VersionCheck::kWiped);
}

TEST(CheckSettingsVersion, EmptyStoredVersionCountsAsMissing) {
    MemoryStore s;
    Put(s, "Options", "Keep");
    s.SetValue(kHkeyCurrentUser, kSettingsRoot, "Version", kRegSz, Sz(""));
    EXPECT_EQ(CheckSettingsVersion(s, "3.0.1"), VersionCheck::kFirstRun);
    EXPECT_TRUE(s.KeyExists(kHkeyCurrentUser, "Software\\Corvella\\Options"));
}

}  // namespace
}  // namespace corvella
