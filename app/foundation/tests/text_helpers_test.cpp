#include "app/foundation/text_helpers.h"

#include <gtest/gtest.h>

namespace corvella {
namespace {

TEST(ChangeCase, InitialCapitals) {
    EXPECT_EQ(ChangeCase("THE DARK SIDE OF THE MOON", kCaseInitialCaps), "The Dark Side Of The Moon");
    EXPECT_EQ(ChangeCase("rock-n-roll", 0), "Rock-n-roll");
    EXPECT_EQ(ChangeCase("(live) set", 0), "(live) Set");
    EXPECT_EQ(ChangeCase("don't stop", 0), "Don't Stop");
    EXPECT_EQ(ChangeCase("a.b,c/d\\e  f.", 0), "A.B,C/D\\E  F.");
    EXPECT_EQ(ChangeCase("2nd TIME", 0), "2nd Time");
    EXPECT_EQ(ChangeCase("\xC9T\xC9 \xE0 PARIS", 0), "\xC9t\xE9 \xC0 Paris");
}

TEST(ChangeCase, UpperLowerAndUnknownModes) {
    EXPECT_EQ(ChangeCase("Caf\xE9 \x9Cuvre \xFF", kCaseUpper), "CAF\xC9 \x8CUVRE \x9F");
    EXPECT_EQ(ChangeCase("CAF\xC9 \xD7\xDF", kCaseLower), "caf\xE9 \xD7\xDF");
    EXPECT_EQ(ChangeCase("abc \xF7", kCaseUpper), "ABC \xF7");
    EXPECT_EQ(ChangeCase("abc", 3), "");
    EXPECT_EQ(ChangeCase("abc", -1), "");
    for (int32_t mode : {0, 1, 2, 3}) EXPECT_EQ(ChangeCase("", mode), "");
}

TEST(ChangeCase, UsesTheGivenRules) {
    struct Shouting : CaseRules {
        std::string Upper(const std::string& t) const override { return "<" + t + ">"; }
        std::string Lower(const std::string& t) const override { return t; }
    } rules;
    EXPECT_EQ(ChangeCase("ab c", 0, rules), "<a>b <c>");
}

TEST(TextHelpers, CompareWithoutCase) {
    EXPECT_TRUE(EqualsNoCase("Custom Fields", "CUSTOM fields"));
    EXPECT_TRUE(EqualsNoCase("\xC9t\xE9", "\xE9T\xC9"));
    EXPECT_FALSE(EqualsNoCase("Custom Fields", "Custom Field"));
}

}  // namespace
}  // namespace corvella
