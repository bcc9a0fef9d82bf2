// Layout on a page with fixed metrics (6 pixels a character, lines 1.5 x
// the point size): wrapping, separators, links, lists, tables, the paint
// pass and the scroll rules.
#include <gtest/gtest.h>

#include "app/controls/htmllabel/core/tests/fake_canvas.h"

namespace corvella::htmllabel {
namespace {

using testing::Drawn;
using testing::FakeCanvas;
using testing::Laid;

std::string Where(const std::vector<Drawn>& drawn) {
    std::string s;
    for (const Drawn& d : drawn) s += "[" + d.text + "@" + std::to_string(d.x) + "," + std::to_string(d.y) + "]";
    return s;
}

TEST(HtmlLayout, TextPlacement) {
    const struct {
        const char* body;
        int width;
        const char* drawn;
    } cases[] = {
        {"one two", 300, "[one@4,0][ two@22,0]"},
        // A word that does not fit starts the next line without its blank.
        {"aaaa bbbb cccc", 60, "[aaaa@4,0][bbbb@4,14][cccc@4,28]"},
        // No blank before "." or ","; one after a closing tag otherwise.
        {"Hello<b>, world</b>", 300, "[Hello@4,0][,@34,0][ world@40,0]"},
        {"<b>x</b>y</p>", 300, "[x@4,0][ y@10,0]"},
        {"<img alt=Logo> <img src=a.gif>x</p>", 300, "[[Logo]@4,0][ x@46,0]"},
        {"<script>hidden</script><form>too</form>shown</p>", 300, "[shown@4,0]"},
        // A heading adds a line only after something was printed.
        {"<h1>T</h1>", 300, "[T@4,0]"},
        {"x<h2>T</h2>", 300, "[x@4,0][T@4,28]"},
        {"<center>ab cd</center>", 300, "[ab cd@133,0]"},
        {"a<br>b<p>c</p>d", 300, "[a@4,0][b@4,14][c@4,28][d@4,42]"},
        {"<ul><li>a<li>b</ul>", 300, "[\x95  @16,28][ a@34,28][\x95  @16,42][ b@34,42]"},
        {"<ol><li>a<li>b</ol>", 300, "[1. @16,28][ a@34,28][2. @16,42][ b@34,42]"},
    };
    for (const auto& c : cases) {
        Laid l(std::string("<html><body>") + c.body + "</body></html>", c.width);
        EXPECT_EQ(c.drawn, Where(l.canvas.drawn)) << c.body;
    }
}

TEST(HtmlLayout, NothingWithoutBody) {
    Laid l("<html><p>text</p></html>");
    EXPECT_TRUE(l.canvas.drawn.empty());
    EXPECT_EQ(0, ComputeScrollRange(l.doc, 100).max);
    EXPECT_EQ(1, ComputeScrollRange(l.doc, 5).max);  // (0 + 20 - 5) \ 10
}

TEST(HtmlLayout, LinkColoursUnderlineAndRectangle) {
    Laid l("<html><body text=#494949>go <a href=x>here now</a>.</body></html>");
    const auto& d = l.canvas.drawn;
    ASSERT_EQ(5u, d.size()) << Where(d);
    EXPECT_EQ("[go@4,0][ @16,0][here@22,0][ now@46,0][.@70,0]", Where(d));
    EXPECT_EQ(Rgb(0x49, 0x49, 0x49), d[0].colour);
    EXPECT_EQ(kBlue, d[1].colour);
    EXPECT_FALSE(d[1].font.underline);  // the blank before a link
    EXPECT_TRUE(d[2].font.underline);
    EXPECT_TRUE(d[3].font.underline);
    EXPECT_EQ(Rgb(0x49, 0x49, 0x49), d[4].colour);
    EXPECT_FALSE(d[4].font.underline);
    const HtmlToken& a = l.Token(3);
    EXPECT_EQ((std::vector<int>{16, 0, 70, 10}), (std::vector<int>{a.Left, a.Top, a.Right, a.Bottom}));
    EXPECT_EQ(3, l.doc.HitTest(30, 5, 0));
    EXPECT_EQ(-1, l.doc.HitTest(30, 11, 0));
    EXPECT_EQ(-1, l.doc.HitTest(71, 5, 0));
    EXPECT_EQ(3, l.doc.HitTest(30, -15, 20));  // shifted by the scroll offset

    Laid off("<html><body>go <a href=x>here</a></body></html>", 300, false);
    EXPECT_EQ("[go@4,0][ here@16,0]", Where(off.canvas.drawn));
    EXPECT_EQ(0u, off.canvas.drawn[1].colour);
    EXPECT_FALSE(off.canvas.drawn[1].font.underline);
    EXPECT_EQ(-1, off.doc.HitTest(30, 5, 0));
}

TEST(HtmlLayout, WrappedLinkRectangle) {
    // First word wraps: the rectangle starts on the next line and runs to
    // the right limit, down to the last line.
    Laid l("<html><body>aaaaaa <a href=x>bbbbb cc dddddd</a></body></html>", 80);
    const HtmlToken& a = l.Token(3);
    EXPECT_EQ((std::vector<int>{4, 14, 76, 38}), (std::vector<int>{a.Left, a.Top, a.Right, a.Bottom}));
}

TEST(HtmlLayout, TableWidths) {
    const struct {
        const char* table;
        int pixelWidth;
        std::vector<int> cells;
    } cases[] = {
        {"<table width=50%><tr><td>a</td><td>b</td></tr></table>", 143, {70, 70}},
        {"<table width=300><tr><td>a</td><td>b</td></tr></table>", 300, {148, 148}},
        {"<table width=100><tr><td width=30>a</td><td width=50%>b</td></tr></table>", 100, {37, 59}},
        // Pixel columns wider than a pixel table widen it.
        {"<table width=100><tr><td width=200>a</td><td width=50>b</td></tr></table>", 250, {200, 50}},
        {"<table width=200><tr><td colspan=2>a</td></tr><tr><td>b</td><td>c</td></tr></table>", 200, {198, 98, 98}},
        // No division by zero: no cells, spans of 0 or less, a zero width.
        {"<table><tr></tr></table>", 286, {}},
        {"<table width=0><tr><td colspan=0>a</td><td colspan=-3>b</td></tr></table>", 0, {-2, -2}},
        {"<table width=200><tr><td colspan=2>a</td></tr></table>", 200, {198}},
    };
    for (const auto& c : cases) {
        Laid l(std::string("<html><body>") + c.table + "</body></html>");
        std::vector<int> cells;
        for (const HtmlToken& t : l.doc.Tokens())
            if (t.Kind == kCell) cells.push_back(t.CellPixelWidth);
        EXPECT_EQ(c.pixelWidth, l.Token(2).TablePixelWidth) << c.table;
        EXPECT_EQ(c.cells, cells) << c.table;
    }
}

TEST(HtmlLayout, TableCellsAndFrames) {
    Laid l("<html><body><table width=300 border=1><tr><td>a</td><td>b</td></tr></table>z</body></html>");
    // Cell text at the cell's inner left, below the border and padding.
    EXPECT_EQ("[a@9,19][b@157,19][ z@157,38]", Where(l.canvas.drawn));
    ASSERT_EQ(12u, l.canvas.lines.size());  // two sunken cells, one raised table
    EXPECT_EQ(kButtonShadow, l.canvas.lines[0].colour);
    EXPECT_EQ(kButtonFace, l.canvas.lines[2].colour);  // white page: face for the light edges
    EXPECT_EQ(kButtonFace, l.canvas.lines[8].colour);
    EXPECT_EQ(kButtonShadow, l.canvas.lines[10].colour);
    EXPECT_EQ(l.canvas.lines[8].x1 + 300, l.canvas.lines[8].x2);
    EXPECT_EQ(55, l.Token(2).Bottom);
}

TEST(HtmlLayout, FixedTablesNeverOverflow) {
    std::string deepLists = "<ol><li>x";
    for (int i = 0; i < 20; ++i) deepLists += "<ol><li>n";
    for (int i = 0; i < 25; ++i) deepLists += "</ol>";  // more closing tags than lists
    deepLists += "<li>after";
    std::string manyTables;
    for (int i = 0; i < 20; ++i) manyTables += "<table><tr><td>t" + std::to_string(i);
    for (int i = 0; i < 20; ++i) manyTables += "</td></tr></table>";
    std::string wideRow = "<table width=300><tr>";
    for (int i = 0; i < 20; ++i) wideRow += "<td>c" + std::to_string(i) + "</td>";
    wideRow += "</tr></table>";
    const std::string strays = "<tr><td>s</td></tr></table></ul>";
    for (const std::string& body : {deepLists, manyTables, wideRow, strays}) {
        Laid l("<html><body>" + body + "</body></html>");
        EXPECT_FALSE(l.canvas.drawn.empty());
    }
    Laid lists("<html><body>" + deepLists + "</body></html>");
    // The item after the stray closings is a bullet at depth 0.
    EXPECT_EQ("\x95  ", lists.canvas.drawn[lists.canvas.drawn.size() - 2].text);
    Laid wide("<html><body>" + wideRow + "</body></html>");
    EXPECT_EQ(0, wide.doc.Tokens()[wide.doc.TokenCount() - 6].CellPixelWidth);  // the 20th cell: no column
    // Text of the cells past the seventeenth flows on in the seventeenth.
    EXPECT_EQ(wide.canvas.drawn[16].x, wide.canvas.drawn[17].x);
}

TEST(HtmlLayout, ThousandsOfRowEndsUnderAThickBorderSaturate) {
    // Each row end adds the border and half the spacing to the row's height
    // and the row's height to the table's: the sums stop at the layout's
    // range instead of wrapping round.
    std::string rows = "<html><body><table border=32767 cellspacing=32767><tr><td>x</td>";
    for (int i = 0; i < 20000; ++i) rows += "</tr>";
    Laid l(rows + "</table>after</body></html>");
    const HtmlToken& table = l.Token(2);
    const HtmlToken& after = l.Token(l.doc.TokenCount() - 3);
    ASSERT_EQ(kTable, table.Kind);
    EXPECT_GT(after.Top, 1 << 27);
    EXPECT_GE(table.Bottom, after.Top);
    EXPECT_GT(ComputeScrollRange(l.doc, 90).max, 1 << 23);
}

TEST(HtmlLayout, FontSizesOutsideThePageRangeAreNotApplied) {
    Laid l("<html><body><font size=2000>big</font><font size=-9>neg</font><font size=5>ok</font></body></html>");
    ASSERT_EQ(3u, l.canvas.drawn.size());
    EXPECT_FLOAT_EQ(10, l.canvas.drawn[0].font.points);
    EXPECT_FLOAT_EQ(10, l.canvas.drawn[1].font.points);
    EXPECT_FLOAT_EQ(12.4f, l.canvas.drawn[2].font.points);
}

TEST(HtmlLayout, PaintPassIsTheLayoutShiftedByTheScroll) {
    std::string body;
    for (int i = 0; i < 40; ++i) body += "line" + std::to_string(i) + "<br>";
    Laid l("<html><body><b>" + body + "</b></body></html>");
    const std::vector<Drawn> laid = l.canvas.drawn;
    RenderOptions paint;
    paint.enableScroll = true;
    paint.scrollValue = 7;
    FakeCanvas page(300, 200);
    RenderDocument(l.doc, page, false, paint);
    std::vector<Drawn> shifted, visible;
    for (Drawn d : laid) {
        d.y -= 70;
        shifted.push_back(d);
        if (d.y >= 0 && d.y + 14 <= 200) visible.push_back(d);
    }
    // Everything painted is laid-out text moved up; every line wholly in view is painted.
    const std::string all = Where(shifted), painted = Where(page.drawn);
    EXPECT_NE(std::string::npos, all.find(painted)) << painted;
    EXPECT_NE(std::string::npos, painted.find(Where(visible))) << painted;
    EXPECT_EQ(14u, visible.size());
    for (const Drawn& d : page.drawn) EXPECT_FALSE(d.font.bold);  // style of skipped tags is not replayed
}

TEST(HtmlLayout, ScrollRules) {
    const struct {
        int key;
        bool ctrl;
        int value;
        int expected;
    } keys[] = {
        {38, false, 1, -1},  // below the minimum: rejected
        {38, false, 5, 3},   {40, false, 9, -1}, {40, false, 5, 7},  {33, false, 3, 0},
        {33, false, 8, 4},   {34, false, 8, 10}, {34, false, 10, -1}, {36, true, 7, 0},
        {36, false, 7, -1},  {35, true, 2, 10},  {35, false, 2, -1},  {65, true, 2, -1},
    };
    for (const auto& k : keys)
        EXPECT_EQ(k.expected, ScrollForKey(k.key, k.ctrl, k.value, 0, 10, 2, 4)) << k.key << " " << k.value;

    Laid l("<html><body><a name=End>x</a><p>y<a name=end></a><p>z<a name=end></a></body></html>");
    l.doc.Tokens()[7].Top = 55;   // the two "end" anchors
    l.doc.Tokens()[11].Top = 120;
    EXPECT_EQ(12, ScrollForAnchor(l.doc, "#end", 20));  // the later one decides
    EXPECT_EQ(3, ScrollForAnchor(l.doc, "#end", 3));    // capped at the maximum
    EXPECT_EQ(-1, ScrollForAnchor(l.doc, "#END", 20));  // case matters
    EXPECT_EQ(-1, ScrollForAnchor(l.doc, "#", 20));

    const ScrollRange r = ComputeScrollRange(l.doc, 25);
    EXPECT_EQ(2, r.largeChange);
    EXPECT_EQ(std::max(0, (l.doc.Tokens().back().Bottom + 20 - 25) / 10), r.max);
}

}  // namespace
}  // namespace corvella::htmllabel
