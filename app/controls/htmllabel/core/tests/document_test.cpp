// Element kinds, attribute values, control colours, the link list, the
// element tree and the title.
#include <gtest/gtest.h>

#include "app/controls/htmllabel/core/html_document.h"

namespace corvella::htmllabel {
namespace {

const HtmlToken& Only(HtmlDocument& doc, const std::string& markup) {
    doc.Assign(markup);
    EXPECT_EQ(1, doc.TokenCount()) << markup;
    return doc.Tokens().front();
}

TEST(HtmlDocument, KindsOfTags) {
    const struct {
        const char* tag;
        int kind;
    } cases[] = {
        {"<html>", kUnknown}, {"<NoFrames>", kBody}, {"<strong>", kBold},    {"</B>", kBoldEnd},
        {"<th x=1>", kCell},  {"</th>", kCellEnd},   {"<h6>", kHeading},     {"<h7>", kUnknown},
        {"<br/>", kUnknown},  {"<!-- x -->", kComment}, {"<tfoot>", kTFoot}, {"</style>", kStyleEnd},
    };
    HtmlDocument doc;
    for (const auto& c : cases) {
        const HtmlToken& t = Only(doc, c.tag);
        EXPECT_TRUE(t.IsTag);
        EXPECT_EQ(c.kind, t.Kind) << c.tag;
    }
}

TEST(HtmlDocument, FontSizesFacesAndColours) {
    const struct {
        const char* tag;
        float size;
        const char* face;
        uint32_t colour;
    } cases[] = {
        {"<font size=+1>", 11.2f, "Arial", 0},
        {"<font size=-1>", 8.8f, "Arial", 0},
        {"<font size=5>", 12.4f, "Arial", 0},
        {"<font size=big>", 10, "Arial", 0},                       // not a number: the default
        {"<font face=\"Verdana, Arial\">", 10, "Verdana", 0},
        {"<font face=,Arial>", 10, ",Arial", 0},
        {"<font color=#FF0000>", 10, "Arial", Rgb(255, 0, 0)},
        {"<font color=red>", 10, "Arial", Rgb(255, 0, 0)},
        {"<font color=#FFF>", 10, "Arial", Rgb(255, 15, 255)},
        {"<font color=#F>", 10, "Arial", Rgb(15, 0, 15)},          // missing digits read as 0
        {"<font color=Teal>", 10, "Arial", Rgb(0, 128, 128)},
        {"<font color=nosuch>", 10, "Arial", 0},
        {"<h1>", 17.2f, "", 0},
        {"<h6>", 11.2f, "", 0},
        {"<big>", 11, "", 0},
        {"<small>", 9, "", 0},
    };
    HtmlDocument doc;
    for (const auto& c : cases) {
        const HtmlToken& t = Only(doc, c.tag);
        EXPECT_NEAR(c.size, t.FontSize, 1e-4) << c.tag;
        EXPECT_EQ(c.face, t.FontFace) << c.tag;
        EXPECT_EQ(c.colour, t.FontColor) << c.tag;
    }
}

TEST(HtmlDocument, BodyColoursApplyToTheControlAndLaterFonts) {
    HtmlDocument doc;
    doc.Assign("<html><body bgcolor=#000080 text=white link=yellow><font size=3>x</font></body>");
    EXPECT_EQ(Rgb(0, 0, 128), doc.backColor);
    EXPECT_EQ(Rgb(255, 255, 255), doc.textColor);
    EXPECT_EQ(Rgb(255, 255, 0), doc.linkColor);
    EXPECT_EQ(Rgb(255, 255, 255), doc.Tokens()[2].FontColor);
    doc.Assign("<html><body>x</body>");  // every assignment starts again
    EXPECT_EQ(kButtonFace, doc.backColor);
    EXPECT_EQ(0u, doc.textColor);
    EXPECT_EQ(kBlue, doc.linkColor);
}

TEST(HtmlDocument, TableCellAnchorAndImageValues) {
    HtmlDocument doc;
    const HtmlToken& table = Only(doc, "<table width=50% border=1 cellpadding=4 align=center>");
    EXPECT_FLOAT_EQ(0.5f, table.TableWidth);
    EXPECT_EQ(1, table.Border);
    EXPECT_EQ(4, table.CellPadding);
    EXPECT_EQ(2, table.CellSpacing);
    EXPECT_TRUE(table.Centered);
    const HtmlToken& bad = Only(doc, "<table width=auto border=thin cellspacing=x>");
    EXPECT_FLOAT_EQ(1.0f, bad.TableWidth);  // values that are not numbers are ignored
    EXPECT_EQ(0, bad.Border);
    EXPECT_EQ(2, bad.CellSpacing);
    EXPECT_FLOAT_EQ(300, Only(doc, "<table width=300>").TableWidth);
    EXPECT_FLOAT_EQ(0.4f, Only(doc, "<td width=40%>").CellWidth);
    EXPECT_FLOAT_EQ(120, Only(doc, "<td width=120px>").CellWidth);
    // Measures past their limits are clamped as they are read.
    const struct {
        const char* tag;
        int border, padding, spacing;
        float width;
    } clamped[] = {
        {"<table border=32767 cellpadding=32767 cellspacing=32767 width=999999999>", kMaxBorder, kMaxCellGap,
         kMaxCellGap, kMaxWidth},
        {"<table border=-5 cellpadding=-1 cellspacing=-32768 width=-50%>", 0, 0, 0, 0},
        {"<table border=100 cellpadding=1000 cellspacing=7 width=32767>", 100, 1000, 7, 32767},
    };
    for (const auto& c : clamped) {
        const HtmlToken& t = Only(doc, c.tag);
        EXPECT_EQ(c.border, t.Border) << c.tag;
        EXPECT_EQ(c.padding, t.CellPadding) << c.tag;
        EXPECT_EQ(c.spacing, t.CellSpacing) << c.tag;
        EXPECT_FLOAT_EQ(c.width, t.TableWidth) << c.tag;
    }
    EXPECT_FLOAT_EQ(kMaxWidth, Only(doc, "<td width=99999px>").CellWidth);
    EXPECT_EQ(1, Only(doc, "<td colspan=x>").ColSpan);
    EXPECT_EQ(3, Only(doc, "<td colspan=3>").ColSpan);

    const HtmlToken& name = Only(doc, "<a name=top>");
    EXPECT_EQ("top", name.AnchorName);
    EXPECT_EQ("", name.Href);
    EXPECT_EQ(-1, name.Left);
    EXPECT_EQ(-1, name.Bottom);
    EXPECT_EQ("a b", Only(doc, "<a href=\"a&#032;b\" id=x>").Href);
    const HtmlToken& img = Only(doc, "<img src=x.gif alt=\"&lt;Logo&gt;\">");
    EXPECT_EQ("x.gif", img.ImageSource);
    EXPECT_EQ("<Logo>", img.AltText);
}

TEST(HtmlDocument, WordsAndLinkList) {
    HtmlDocument doc;
    doc.enableAnchors = true;
    doc.Assign("<p> a&nbsp;&nbsp;b <a href=x>l</a><a name=n></a>");
    const std::vector<std::string> words{"", "a", "", "b", ""};
    EXPECT_EQ(words, doc.Tokens()[1].Words);
    EXPECT_EQ((std::vector<int>{2, 5}), doc.Anchors());
    doc.enableAnchors = false;
    doc.Assign("<p> a&nbsp;&nbsp;b <a href=x>l</a><a name=n></a>");
    EXPECT_TRUE(doc.Anchors().empty());
}

TEST(HtmlDocument, Tree) {
    HtmlDocument doc;
    doc.Assign("<html><b>x</html>");
    const auto& t = doc.Tokens();
    EXPECT_EQ(1, t[0].ChildCount);  // B is the root's only counted child
    EXPECT_EQ(2, t[1].ChildCount);  // x and /HTML, an unknown tag and so a leaf
    EXPECT_EQ((std::vector<int>{2, 3}), t[1].Children);
    EXPECT_EQ(1, t[3].Parent);

    doc.Assign("<html><b><i>x</b>y</i></b><p>z</p>");
    // Any closing tag closes the innermost element: /B closes I, /I closes B,
    // and the second /B, at the top level, ends the tree.
    EXPECT_EQ(1, doc.Tokens()[0].ChildCount);
    EXPECT_EQ(2, doc.Tokens()[1].ChildCount);  // I and y
    EXPECT_EQ(1, doc.Tokens()[2].ChildCount);  // x
    EXPECT_EQ(2, doc.Tokens()[4].Parent);      // /B stored after I's children
    EXPECT_EQ(0, doc.Tokens()[8].Parent);      // P belongs to no element
    EXPECT_EQ((std::vector<int>{1, 7}), doc.Tokens()[0].Children);
    EXPECT_TRUE(doc.Tokens()[8].Children.empty());

    doc.Assign("<table><tr><td>a</td><td>b</td></tr></table>");
    EXPECT_EQ(1, doc.FirstChildOf(0));
    EXPECT_EQ(2, doc.FirstChildOf(1));
    EXPECT_EQ(5, doc.NextSiblingOf(2));
    EXPECT_EQ(-1, doc.NextSiblingOf(5));
    EXPECT_EQ(1, doc.ParentOf(2));
    EXPECT_EQ(-1, doc.ParentOf(1));  // children of the root report none
}

TEST(HtmlDocument, ThousandsOfUnclosedTagsNestWithoutRecursion) {
    std::string markup = "<html>";
    for (int i = 0; i < 30000; ++i) markup += "<b>";
    HtmlDocument doc;
    doc.Assign(markup + "x</html>");
    ASSERT_EQ(30003, doc.TokenCount());
    EXPECT_EQ(1, doc.Tokens()[0].ChildCount);
    EXPECT_EQ(30000, doc.Tokens()[30001].Parent);
    EXPECT_EQ(2, doc.Tokens()[30000].ChildCount);  // x and the unknown /HTML
}

TEST(HtmlDocument, Title) {
    const struct {
        const char* markup;
        const char* title;
    } cases[] = {
        {"", "Unknown"},
        {"<html><head><title>Tips &#038; tricks</title></head>", "Tips & tricks"},
        {"<html><title></title>", ""},
        {"<html><p>x</p><title>", "Unknown"},
        {"<html><p>x</p>", "Unknown"},
    };
    HtmlDocument doc;
    for (const auto& c : cases) {
        doc.Assign(c.markup);
        EXPECT_EQ(c.title, doc.DocumentTitle()) << c.markup;
    }
}

}  // namespace
}  // namespace corvella::htmllabel
