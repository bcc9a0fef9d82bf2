// Hostile documents through the whole engine on the fake page: seeded
// mutations of real-looking tips, and 40 kB of unclosed tags. Every input is
// copied into a string of its exact size, so the sanitizers see any read
// past it; the run is bounded by its iteration count.
#include <gtest/gtest.h>

#include <random>

#include "app/controls/htmllabel/core/tests/fake_canvas.h"

namespace corvella::htmllabel {
namespace {

using testing::FakeCanvas;

const char* const kSeeds[] = {
    "<html><head><title>T&amp;t</title></head><body bgcolor=\"#FFFFFF\" text=\"#494949\">"
    "<font face=\"Tahoma\" size=\"2.5\">Press <b>F5</b> to <a href=\"http://x/&#126;y\">refresh</a>.</font>"
    "</body></html>",
    "<html><body><table width=80% border=2 cellpadding=3 align=center><tr><td colspan=2 width=40%>a b"
    "</td></tr><tr><td width=20px>c</td><td>d<table><tr><td>e</td></tr></table></td></tr></table></body>",
    "<html><body><ol><li>one<ul><li>two<li>three</ul><li>four</ol><blockquote>q &lt;q&gt;</blockquote>"
    "<hr><center>middle of the page text</center><h3>head</h3><big>B</big><small>s</small></body>",
    "<html><body><a name=top></a><p>x<p>y<br><a href=#top>up</a><img alt=Logo src=a.gif><!-- c > -->"
    "<script>no</script>&nbsp;&nbsp;z&#65;&#x41;&#99999;</body></html>",
};

const char* const kPieces[] = {"<",      ">",     "</td>", "<td>",  "<tr>",     "<table>", "&#",      ";",
                               "\"",     "'",     "=",     " ",     "<ol><li>", "</ul>",   "<!--",    "-->",
                               "<font size=99999>", "<a href=x>", "</a>", "colspan=0 ", "width=0%", "\0", "<body>"};

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    if (s.empty()) s = "<";
    switch (pick(4)) {
    case 0:
        for (size_t k = pick(6) + 1; k > 0; --k) s[pick(s.size())] = static_cast<char>(rng());
        break;
    case 1: {
        const char* piece = kPieces[pick(sizeof kPieces / sizeof *kPieces)];
        s.insert(pick(s.size() + 1), std::string(piece, *piece ? std::char_traits<char>::length(piece) : 1));
        break;
    }
    case 2:
        s.erase(pick(s.size()), pick(20) + 1);
        break;
    default:
        s.resize(pick(s.size() + 1));
    }
    return s;
}

// Every step the control takes with a document.
void Exercise(const std::string& markup, bool anchors) {
    const std::string exact(markup.data(), markup.size());
    HtmlDocument doc;
    doc.enableAnchors = anchors;
    doc.Assign(exact);
    FakeCanvas page(220, 90);
    RenderOptions options;
    options.enableAnchors = anchors;
    options.enableScroll = true;
    RenderDocument(doc, page, true, options);
    const ScrollRange range = ComputeScrollRange(doc, 90);
    for (int value : {0, range.max / 2, range.max}) {
        options.scrollValue = value;
        RenderDocument(doc, page, false, options);
        doc.HitTest(20, 10, value * 10);
    }
    for (int index : doc.Anchors()) ScrollForAnchor(doc, doc.Tokens()[static_cast<size_t>(index)].Href, range.max);
    doc.DocumentTitle();
}

TEST(HtmlFuzz, SeededMutationsOfTips) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 10000; ++i) {
        std::string s = kSeeds[static_cast<size_t>(i) % (sizeof kSeeds / sizeof *kSeeds)];
        for (int k = static_cast<int>(rng() % 6); k >= 0; --k) s = Mutate(s, rng);
        SCOPED_TRACE(i);
        Exercise(s, i % 3 != 0);
    }
}

TEST(HtmlFuzz, FortyKilobytesOfUnclosedTags) {
    const char* const units[] = {"<b>", "<table>", "<td>", "<tr><td>", "<ol><li>", "<ul>", "<blockquote>",
                                 "<a href=x>", "<center>", "<font size=7>", "<h1>", "<table width=1><tr><td colspan=0>"};
    for (const char* unit : units) {
        std::string s = "<html><body>";
        while (s.size() < 40 * 1024) s += std::string(unit) + "w ";
        SCOPED_TRACE(unit);
        Exercise(s, true);
    }
    Exercise(std::string(40 * 1024, '<'), true);
    Exercise("<html><body>" + std::string(40 * 1024, 'x'), true);
    Exercise("<html><body><!--" + std::string(40 * 1024, '-'), true);
}

}  // namespace
}  // namespace corvella::htmllabel
