#include "app/startup/start_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {
namespace {

TEST(StartTables, FieldNameListsFollowTheTagFieldNumbers) {
    const auto v1 = BuildV1FieldNames();
    ASSERT_EQ(v1.size(), 7u);
    EXPECT_EQ(v1[0], "Title");
    EXPECT_EQ(v1[3], "Year");
    EXPECT_EQ(v1[6], "Track");

    const auto v2 = BuildV2FieldNames();
    ASSERT_EQ(v2.size(), 11u);
    EXPECT_EQ(v2[7], "Composer");
    EXPECT_EQ(v2[8], "Copyright Information");
    EXPECT_EQ(v2[9], "Web Link");
    EXPECT_EQ(v2[10], "Encoded By");
    EXPECT_EQ(std::find(v2.begin(), v2.end(), "Original Artist"), v2.end());
    // The first seven names are the same in both lists.
    EXPECT_TRUE(std::equal(v1.begin(), v1.end(), v2.begin()));
}

TEST(StartTables, GenreListIsTheTagLibrarysTable) {
    const auto genres = BuildGenreList();
    ASSERT_EQ(genres.size(), 148u);
    EXPECT_EQ(genres.front(), "Blues");
    EXPECT_EQ(genres.back(), "Synth Pop");
    EXPECT_EQ(genres, GenreTable());
}

}  // namespace
}  // namespace corvella
