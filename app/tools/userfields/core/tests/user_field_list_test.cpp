#include "app/tools/userfields/core/user_field_list.h"

#include <gtest/gtest.h>

namespace corvella {
namespace userfields {
namespace {

TEST(UserFieldList, EachNameOnceOnlyTextAddedNextEntryAfterRemoval) {
    EXPECT_EQ(ListedNames({"Mood", "Tempo", "MOOD", "R&B", "r&b", "-"}), (std::vector<std::string>{"Mood", "Tempo", "R&B", "-"}));
    for (const auto& [typed, added] : std::vector<std::pair<std::string, std::string>>{{"   ", ""}, {" Live ", " Live "}})
        EXPECT_EQ(NameToAdd(typed), added);
    const struct {
        int removed, remaining, selected;
    } cases[] = {{0, 2, 0}, {2, 2, 1}, {0, 0, -1}};
    for (const auto& c : cases) EXPECT_EQ(SelectionAfterRemove(c.removed, c.remaining), c.selected) << c.removed;
}

}  // namespace
}  // namespace userfields
}  // namespace corvella
