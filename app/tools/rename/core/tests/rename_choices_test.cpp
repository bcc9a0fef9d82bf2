#include "app/tools/rename/core/rename_choices.h"

#include <gtest/gtest.h>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"

namespace corvella {
namespace rename {
namespace {

TEST(RenameChoices, StoredIndexesOutsideTheirListsGiveTheDefaults) {
    const struct {
        const char* value;
        const char* stored;
        std::vector<std::string> cells;  // of one row, when the name is checked
        std::string name;
    } cases[] = {
        {nullptr, nullptr, {"Intro", "", "", "", "", "", "05/12"}, "05 - Intro.mp3"},
        {"Case", "-1", {"Intro", "", "", "", "", "", "05"}, "05 - Intro.mp3"},
        {"Case", "4", {"intro", "", "", "", "", "", "05"}, "05 - intro.mp3"},
        {"Case", "2", {"intro", "", "", "", "", "", "05"}, "05 - INTRO.mp3"},
        {"Seperator", "6", {"Intro", "", "", "", "", "", "05"}, "05 - Intro.mp3"},
        {"Seperator", "3", {"Intro", "", "", "", "", "", "05"}, "05-Intro.mp3"},
        {"0", "7", {"Intro", "", "", "", "", "", "05"}, "05 - Intro.mp3"},
        {"0", "x", {"Intro", "", "", "", "", "", "05"}, "05 - Intro.mp3"},
        {"1", "-3", {"Intro", "", "", "", "", "", "05"}, "05 - Intro.mp3"},
        {"2", "2", {"Intro", "Band", "", "", "", "", "05"}, "05 - Intro - Band.mp3"},
        {"3", "9", {"Intro", "Band", "", "", "", "", "05"}, "05 - Intro.mp3"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        if (c.value) SaveSettingText(store, kRenameSection, c.value, c.stored);
        const RenameChoices read = ReadRenameChoices(store);
        EXPECT_EQ(files::BuildTagName("C:\\m\\a.mp3", c.cells, RecipeOf(read)).name, c.name)
            << (c.value ? c.value : "defaults") << "=" << (c.stored ? c.stored : "");
    }
}

TEST(RenameChoices, MissingValuesAreWrittenAsTextAndSavedBack) {
    MemoryStore store;
    ReadRenameChoices(store);
    for (const auto& [value, text] : std::vector<std::pair<const char*, const char*>>{
             {"Seperator", "0"}, {"Case", "0"}, {"0", "6"}, {"1", "1"}, {"2", "0"}, {"3", "0"}}) {
        int32_t type = 0;
        std::vector<uint8_t> data;
        ASSERT_TRUE(store.QueryValue(kHkeyCurrentUser, kRenameSection, value, type, data)) << value;
        EXPECT_EQ(type, kRegSz) << value;
        EXPECT_EQ(GetSettingText(store, kRenameSection, value, "?"), text) << value;
    }
    RenameChoices c;
    c.separator = 5;
    c.textCase = 3;
    c.names = {0, 2, 3, 7};
    SaveRenameChoices(store, c);
    const RenameChoices back = ReadRenameChoices(store);
    EXPECT_EQ(back.separator, 5);
    EXPECT_EQ(back.textCase, 3);
    EXPECT_EQ(back.names, c.names);
}

}  // namespace
}  // namespace rename
}  // namespace corvella
