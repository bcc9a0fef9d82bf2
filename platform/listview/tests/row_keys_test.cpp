// The rule by which a list finds a row by its key.
#include "platform/listview/row_keys.h"

#include <gtest/gtest.h>

namespace corvella::platform {
namespace {

TEST(RowKeys, FindsByKeyWithoutRegardToCaseExactMatchFirst) {
    RowKeys keys;
    int a = 0, b = 0, c = 0;
    keys.Add("C:\\Music\\Song.mp3", &a);
    keys.Add("C:\\Music\\SONG.mp3", &b);  // another file on a case-sensitive disk
    keys.Add("C:\\Music\\Other.mp3", &c);
    struct Case {
        const char* key;
        const void* row;
    } cases[] = {
        {"C:\\Music\\Song.mp3", &a},
        {"C:\\Music\\SONG.mp3", &b},
        {"c:\\music\\song.MP3", &a},  // no exact match: the first so keyed
        {"C:\\MUSIC\\OTHER.MP3", &c},
        {"C:\\Music\\Missing.mp3", nullptr},
        {"", nullptr},
    };
    for (const Case& t : cases) EXPECT_EQ(keys.Find(t.key), t.row) << t.key;
}

TEST(RowKeys, AKeyGivenTwiceStaysOnBothRowsAndRemovalIsPerRow) {
    RowKeys keys;
    int a = 0, b = 0;
    keys.Add("x.mp3", &a);
    keys.Add("x.mp3", &b);
    EXPECT_EQ(keys.Find("x.mp3"), &a);
    keys.Remove("x.mp3", &a);
    EXPECT_EQ(keys.Find("X.MP3"), &b);
    keys.Remove("x.mp3", &a);  // not there any more: no effect
    keys.Remove("y.mp3", &b);
    EXPECT_EQ(keys.Find("x.mp3"), &b);
    keys.Remove("x.mp3", &b);
    EXPECT_EQ(keys.Find("x.mp3"), nullptr);
    keys.Add("", &a);  // no key
    EXPECT_EQ(keys.Find(""), nullptr);
}

}  // namespace
}  // namespace corvella::platform
