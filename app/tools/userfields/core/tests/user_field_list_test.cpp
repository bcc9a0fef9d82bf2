#include "app/tools/userfields/core/user_field_list.h"

#include <gtest/gtest.h>

namespace corvella {
namespace userfields {
namespace {

TEST(UserFieldList, ListsEachNameOnceAndAddsOnlyText) {
    EXPECT_EQ(ListedNames({"Mood", "Tempo", "MOOD", "mood", "R&B", "-"}),
              (std::vector<std::string>{"Mood", "Tempo", "R&B", "-"}));
    EXPECT_EQ(FindName({"Mood", "Tempo"}, "tEMPO"), 1);
    EXPECT_EQ(FindName({"Mood"}, "Moods"), -1);
    const struct {
        std::string typed, added;
    } cases[] = {{"", ""}, {"   ", ""}, {" Live ", " Live "}, {"-", "-"}};
    for (const auto& c : cases) EXPECT_EQ(NameToAdd(c.typed), c.added) << "[" << c.typed << "]";
}

TEST(UserFieldList, RemovalSelectsTheNextEntry) {
    const struct {
        int removed, remaining, selected;
    } cases[] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 1}, {0, 0, -1}, {-1, 3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SelectionAfterRemove(c.removed, c.remaining), c.selected) << c.removed << "/" << c.remaining;
}

}  // namespace
}  // namespace userfields
}  // namespace corvella
