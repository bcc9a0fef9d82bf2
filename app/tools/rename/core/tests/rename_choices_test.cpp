#include "app/tools/rename/core/rename_choices.h"

#include <gtest/gtest.h>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"

namespace corvella {
namespace rename {
namespace {

// A stored value outside its list, or no number, gives its default: a
// "Case" of -1 must not make every name "".
TEST(RenameChoices, StoredIndexesOutsideTheirListsGiveTheDefaults) {
    const std::vector<std::string> cells = {"intro", "Band", "", "", "", "", "05/12"};
    const struct {
        const char* value;
        const char* stored;
        std::string name;
    } cases[] = {
        {"Case", "-1", "05 - intro.mp3"}, {"Case", "4", "05 - intro.mp3"},   {"Case", "2", "05 - INTRO.mp3"},
        {"Seperator", "6", "05 - intro.mp3"}, {"Seperator", "3", "05-intro.mp3"}, {"0", "7", "05 - intro.mp3"},
        {"0", "x", "05 - intro.mp3"},     {"1", "-3", "05 - intro.mp3"},     {"2", "2", "05 - intro - Band.mp3"},
        {"3", "9", "05 - intro.mp3"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        SaveSettingText(store, kRenameSection, c.value, c.stored);
        EXPECT_EQ(files::BuildTagName("C:\\a.mp3", cells, RecipeOf(ReadRenameChoices(store))).name, c.name)
            << c.value << "=" << c.stored;
    }
    // Missing values are written as text; saved ones read back.
    MemoryStore store;
    ReadRenameChoices(store);
    EXPECT_EQ(GetSettingText(store, kRenameSection, "0", "?"), "6");
    RenameChoices c{5, 3, {0, 2, 3, 7}};
    SaveRenameChoices(store, c);
    const RenameChoices back = ReadRenameChoices(store);
    EXPECT_EQ(std::make_tuple(back.separator, back.textCase, back.names), std::make_tuple(5, 3, c.names));
}

}  // namespace
}  // namespace rename
}  // namespace corvella
