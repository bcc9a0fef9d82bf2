#include "app/foundation/tags/field_table.h"

#include <gtest/gtest.h>

#include <set>

#include "libs/tags/ID3v2/core/id3v2_frames.h"

namespace corvella {
namespace tags {
namespace {

// The table agrees with the tag library's frames and gives every column
// exactly one field; ID3v1 has exactly the first seven, in its own order.
TEST(FieldTable, AgreesWithTheTagLibraryAndFillsEachColumnOnce) {
    std::set<int> columns;
    for (int i = 0; i < kFieldCount; ++i) {
        const FieldInfo& f = Fields()[i];
        SCOPED_TRACE(f.caption);
        EXPECT_EQ(f.index, i);
        EXPECT_EQ(f.frameId, id3v2::FrameIdOf(i));
        EXPECT_EQ(f.v1Slot, i < kV1FieldCount ? i : -1);
        EXPECT_EQ(f.v2Only, i >= kV1FieldCount);
        if (f.column != 0) {
            EXPECT_TRUE(columns.insert(f.column).second);
            EXPECT_EQ(FieldOfColumn(f.column), &f);
        }
    }
    EXPECT_EQ(columns, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(FieldOfColumn(0), nullptr);
    EXPECT_EQ(FieldOfColumn(12), nullptr);  // the full path
    EXPECT_EQ(Fields()[kGenreField].frameId, std::string("TCON"));
    EXPECT_EQ(Fields()[kTrackField].frameId, std::string("TRCK"));
}

}  // namespace
}  // namespace tags
}  // namespace corvella
