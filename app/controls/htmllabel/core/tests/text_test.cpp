// Normalising, tokens, tag names, attributes and character references,
// with the odd cases the stored documents rely on.
#include <gtest/gtest.h>

#include "app/controls/htmllabel/core/html_text.h"

namespace corvella::htmllabel {
namespace {

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& t : v) s += "[" + t + "]";
    return s;
}

TEST(HtmlText, NormaliseTurnsBreaksEntitiesAndBlankRuns) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a\r\nb\tc", "a b c"},
        {"a     b", "a b"},                        // five blanks become one
        {"a         b", "a  b"},                   // nine: three halvings leave two
        {"&nbsp;&nbsp;x", "&#032;&#032;x"},       // still references while blanks collapse
        {"&lt;b&gt; &amp;lt; &copy;", "&#060;b&#062; &#038;lt; &#169;"},
        {"&LT; &middot; &deg; &euro;", "&LT; &#183; &#176; &euro;"},  // names are case-sensitive
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, NormaliseDocument(c.in)) << c.in;
}

TEST(HtmlText, TokenizeCutsTagsAndRuns) {
    const struct {
        const char* doc;
        const char* tokens;
    } cases[] = {
        {"<html><body>a b</body></html>", "[<html>][<body>][a b][</body>][</html>]"},
        {"<b>x</b> y", "[<b>][x][</b>]"},                       // text after the last tag is dropped
        {"lead<i> x </i>", "[<i>][ x ][</i>]"},                 // and before the first; blanks kept
        {"<p> <br>", "[<p>][<br>]"},                            // a run of blanks is no token
        {"<!-- a > b -->x<b>", "[<!-- a > b -->][x][<b>]"},     // a comment is one token
        {"< >", "[< >]"},
        {"no tags at all", ""},
        {"<b>x<i", "[<b>][x]"},                                 // unclosed tag ends the list
        {"<b>x<!-- open", "[<b>][x]"},                          // so does an unclosed comment
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.tokens, Join(Tokenize(c.doc))) << c.doc;
}

TEST(HtmlText, TokenizeStopsAtTheTokenLimit) {
    std::string doc;
    for (int i = 0; i < 20000; ++i) doc += "<b>x";
    EXPECT_EQ(static_cast<size_t>(kMaxTokens), Tokenize(doc).size());
}

TEST(HtmlText, TagIdAndAttributes) {
    const struct {
        const char* tag;
        const char* id;
        const char* attrs;
    } cases[] = {
        {"<b>", "B", ""},
        {"</Font>", "/FONT", ""},
        {"<a href=x>", "A", "[HREF=x]"},
        {"<br/>", "BR/", ""},
        {"<!-- c -->", "!--", ""},
        {"< >", "", ""},
        {"<IMG SRC=x>", "IMG", "[SRC=x]"},
        {"<img>", "IMG", ""},
        {"<font size=3 color=red>", "FONT", "[SIZE=3][COLOR=red]"},
        {"<font size=\"3\" color=\"red\">", "FONT", "[SIZE=3][COLOR=red]"},
        {"<a href='x.htm'>", "A", "[HREF=x.htm]"},
        {"<td nowrap width=5>", "TD", "[NOWRAP WIDTH=5]"},
        {"<a href=  \"Mixed Case\" >", "A", "[HREF=Mixed Case]"},
        {"<x a==>", "X", "[A==]"},
        {"<x a=\"unclosed>", "X", "[A=unclosed]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.id, TagId(c.tag)) << c.tag;
        std::string got;
        for (const Attribute& a : ExtractTagAttributes(c.tag)) got += "[" + a.name + "=" + a.value + "]";
        EXPECT_EQ(c.attrs, got) << c.tag;
    }
}

TEST(HtmlText, DecodeCharRefs) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"&#060;b&#062;", "<b>"},
        {"&#;", std::string(1, '\0')},
        {"&#x41;", std::string("\0" "41;", 4)},       // the x is consumed
        {"&#65 x;", "Ax;"},                            // the blank after the digits goes too
        {"&#65 x", "&#65 x"},                          // no ";" anywhere after: as typed
        {"&#300;&#999;&#1000;x", "x"},                 // above 255: nothing
        {"&#99999999999999999999;y", "y"},             // far past 16 bits
        {"&#013;&#010;a&#009;b", " a b"},
        {"a\tb", "a b"},
        {"&#038;#065;", "&#065;"},                     // decoded once only
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, DecodeCharRefs(c.in)) << c.in;
}

TEST(HtmlText, Numbers) {
    const struct {
        const char* in;
        bool ok;
        double value;
    } cases[] = {
        {"3", true, 3}, {" +1 ", true, 1}, {"-2.5", true, -2.5}, {"2.5", true, 2.5},
        {"x", false, 0}, {"", false, 0},   {"3px", false, 0},    {"1.2.3", false, 0},
    };
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(c.ok, ParseNumber(c.in, v)) << c.in;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(c.value, v) << c.in;
        }
    }
    int i = 0;
    EXPECT_TRUE(ParseInt16("2.5", i));
    EXPECT_EQ(2, i);  // half to even
    EXPECT_FALSE(ParseInt16("40000", i));
}

}  // namespace
}  // namespace corvella::htmllabel
