// The corpus run of the engine's fuzz target: seeded mutations of
// real-looking tips, 40 kB of unclosed tags, and the documents that once
// failed.
#include <gtest/gtest.h>

#include "libs/common/tests/fuzz_corpus.h"

namespace {

const std::vector<std::string> kSeeds = {
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

const std::vector<std::string> kPieces = {
    "<", ">", "</td>", "<td>", "<tr>", "<table>", "&#", ";", "\"", "'", "=", " ", "<ol><li>", "</ul>", "<!--", "-->",
    "<font size=99999>", "<a href=x>", "</a>", "colspan=0 ", "width=0%", std::string(1, '\0'), "<body>",
    "</tr></tr></tr></tr>", "border=32767 ", "cellspacing=32767 ", "cellpadding=-32768 ", "width=999999999 "};

TEST(HtmlFuzz, SeededMutationsOfTips) { corvella::fuzz::RunCorpus(kSeeds, kPieces, 5000); }

TEST(HtmlFuzz, FortyKilobytesOfUnclosedTags) {
    const char* const units[] = {"<b>", "<table>", "<td>", "<tr><td>", "<ol><li>", "<ul>", "<blockquote>",
                                 "<a href=x>", "<center>", "<font size=7>", "<h1>", "<table width=1><tr><td colspan=0>"};
    for (const char* unit : units) {
        std::string s = "<html><body>";
        while (s.size() < 40 * 1024) s += std::string(unit) + "w ";
        SCOPED_TRACE(unit);
        corvella::fuzz::RunOne(s);
    }
    corvella::fuzz::RunOne(std::string(40 * 1024, '<'));
    corvella::fuzz::RunOne("<html><body>" + std::string(40 * 1024, 'x'));
    corvella::fuzz::RunOne("<html><body><!--" + std::string(40 * 1024, '-'));
}

TEST(HtmlFuzz, ATableThatOnceOverflowed) {
    std::string rowEnds = "<html><body><table border=32767 cellspacing=32767><tr><td>x</td>";
    for (int i = 0; i < 20000; ++i) rowEnds += "</tr>";
    corvella::fuzz::RunOne(rowEnds);
}

}  // namespace
