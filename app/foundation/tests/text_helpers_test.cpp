#include "app/foundation/text_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Names "<prefix>1" to "<prefix>n", each with `tail` after it.
std::vector<std::string> Names(const std::string& prefix, int n, const std::string& tail = ".mp3: gone") {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i) names.push_back(prefix + std::to_string(i) + tail);
    return names;
}

TEST(TextHelpers, AMessageNamesWhatFitsTheSmallestScreenAndCountsTheRest) {
    const std::string head = "These files were not renamed:\r\n";  // 2 lines, then a line per name
    const std::string path = " - The Quiet Ones\\Silent Evenings\\Morning Hush.mp3";  // wraps once
    const std::string thirty(30 * 41, 'x');  // 30 lines of text, more than a box holds
    const struct {
        const char* what;
        std::vector<MessagePart> parts;
        std::vector<size_t> shown;  // names listed per part; the rest counted
    } cases[] = {
        {"a few", {{head, Names("f", 3)}}, {3}},
        {"one line each, the last in the count's place", {{head, Names("f", 24)}}, {24}},
        {"one more than fits", {{head, Names("f", 25)}}, {23}},
        {"a whole folder", {{head, Names("f", 120)}}, {23}},
        {"two lines each", {{head, Names("C:\\Music\\", 50, path)}}, {11}},
        {"two lists in turns", {{"A:", Names("a", 100)}, {"\r\n\r\nB:", Names("b", 100)}, {"\r\n\r\nEnd.", {}}},
         {10, 9, 0}},
        {"a short list beside a long one", {{"A:", Names("a", 3)}, {"\r\n\r\nB:", Names("b", 100)}}, {3, 19}},
        {"no room left by the text", {{thirty, Names("f", 5)}}, {0}},
    };
    for (const auto& c : cases) {
        const std::string text = FitMessage(c.parts) + "\r\n";
        for (size_t k = 0; k < c.parts.size(); ++k) {
            const std::vector<std::string>& names = c.parts[k].names;
            for (size_t i = 0; i < names.size(); ++i)
                EXPECT_EQ(text.find("\r\n" + names[i] + "\r\n") != std::string::npos, i < c.shown[k])
                    << c.what << ": " << names[i];
            const std::string more = "... and " + std::to_string(names.size() - c.shown[k]) + " more.";
            EXPECT_EQ(text.find(more) != std::string::npos, c.shown[k] < names.size()) << c.what << ": " << more;
        }
    }
    // A run of characters too long for the box keeps its start and its
    // end; a long path stays whole. The line break is the caller's.
    const std::string whole = "C:\\Documents_and_Settings\\Administrator\\My_Documents\\My_Music\\01.mp3";
    const std::string run = "C:\\" + std::string(300, 'd') + "\\Track.mp3";
    EXPECT_EQ(FitMessage({{"Made:", {run, whole}}}, "\n"),
              "Made:\nC:\\" + std::string(20, 'd') + "..." + std::string(41, 'd') + "\\Track.mp3\n" + whole);
    EXPECT_EQ(FitMessage({}), "");
}

}  // namespace
}  // namespace corvella
