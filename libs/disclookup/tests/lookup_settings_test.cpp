#include <gtest/gtest.h>

#include "libs/disclookup/core/lookup_settings.h"

using namespace corvella::disclookup;

TEST(LookupSettings, StoredValuesReplaceTheDefaultsOnlyWhenUsable) {
    const LookupSettings defaults;
    EXPECT_EQ("freedb.freedb.org", defaults.cddbHost);
    EXPECT_EQ(8880, defaults.cddbPort);
    EXPECT_EQ("www.freedb.org", defaults.searchHost);
    EXPECT_EQ(80, defaults.searchPort);

    const struct {
        const char* name;
        const char* value;
        bool taken;
    } cases[] = {
        {"CDDB Host", "127.0.0.1", true},   {"CDDB Port", "18880", true},  {"Search Host", "localhost", true},
        {"Search Port", "65535", true},     {"CDDB Host", "", false},      {"Search Host", "a b", false},
        {"CDDB Port", "0", false},          {"CDDB Port", "65536", false}, {"Search Port", "80x", false},
        {"Search Port", "", false},         {"cddb host", "x", false},     {"Proxy", "x", false},
    };
    LookupSettings s;
    for (const auto& c : cases) EXPECT_EQ(c.taken, SetLookupValue(s, c.name, c.value)) << c.name << "=" << c.value;
    EXPECT_EQ("127.0.0.1", s.cddbHost);
    EXPECT_EQ(18880, s.cddbPort);
    EXPECT_EQ("localhost", s.searchHost);
    EXPECT_EQ(65535, s.searchPort);
}
