// The web search: request, reply and the scan of the result links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

TEST(WebSearch, RequestCarriesTheWordsEncoded) {
    const struct {
        const char* words;
        const char* encoded;
    } cases[] = {
        {"Back in Black", "Back+in+Black"},
        {"AC/DC", "AC%2FDC"},
        {"Tom & Jerry #1", "Tom+%26+Jerry+%231"},
        {"a+b=c?d%", "a%2Bb%3Dc%3Fd%25"},
        {"caf\xE9\r\n", "caf%E9%0D%0A"},
        {"-_.~", "-_.~"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.encoded, EncodeSearchWords(c.words));

    EXPECT_EQ("GET /freedb_search.php?words=Tom+%26+Jerry&allfields=NO&fields=artist&fields=title&allcats=YES"
              "&grouping=none HTTP/1.0\r\nHost: www.freedb.org\r\nAccept: */*\r\n\r\n",
              SearchRequest("www.freedb.org", 80, "Tom & Jerry"));
    EXPECT_EQ(0u, SearchRequest("127.0.0.1", 8080, "x").find("GET /freedb_search.php?words=x&"));
    EXPECT_NE(std::string::npos, SearchRequest("127.0.0.1", 8080, "x").find("\r\nHost: 127.0.0.1:8080\r\n"));
}

TEST(WebSearch, Entities) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Tom &amp; Jerry", "Tom & Jerry"},
        {"&lt;b&gt; &quot;x&quot;", "<b> \"x\""},
        {"&#65;&#233;&#9;", "A\xE9\t"},
        {"&#1000; &#0; &#; &#12 &#1234; &nbsp; & &amp", "? &#0; &#; &#12 ? &nbsp; & &amp"},
        {"&amp;lt;", "&lt;"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, DecodeEntities(c.in));
}

TEST(WebSearch, OnlyLinksWithACheckedIdAndCategoryMakeRecords) {
    EXPECT_EQ(SearchDiscs(), ParseSearchPage(SearchPage()));
    EXPECT_TRUE(ParseSearchPage("<html>no results</html>").empty());
    EXPECT_TRUE(ParseSearchPage("").empty());
}

TEST(WebSearch, ATruncatedPageGivesTheLinksBeforeTheCut) {
    const std::string page = SearchPage();
    const std::vector<DiscID> all = SearchDiscs();
    size_t seen = 0;
    for (size_t n = 0; n <= page.size(); ++n) {
        const std::vector<DiscID> some = ParseSearchPage(page.substr(0, n));
        ASSERT_LE(some.size(), all.size()) << n;
        ASSERT_TRUE(std::equal(some.begin(), some.end(), all.begin())) << n;
        ASSERT_GE(some.size(), seen) << n;
        seen = some.size();
    }
    EXPECT_EQ(all.size(), seen);
}

std::vector<DiscID> Search(const std::string& reply, size_t cut, Outcome& outcome) {
    WebSearch w;
    w.Receive(std::string_view(reply).substr(0, cut));
    w.Receive(std::string_view(reply).substr(cut));
    w.Closed();
    outcome = w.Result();
    return w.Discs();
}

TEST(WebSearch, SameResultWhereverTheReplyIsCut) {
    const std::string reply = SearchReply();
    for (size_t cut = 0; cut <= reply.size(); ++cut) {
        Outcome outcome;
        ASSERT_EQ(SearchDiscs(), Search(reply, cut, outcome)) << cut;
        ASSERT_EQ(Outcome::kComplete, outcome);
    }
    Outcome outcome;
    EXPECT_EQ(SearchDiscs(), Search("HTTP/1.0 200 OK\nServer: x\n\n" + SearchPage(), 5, outcome));
}

TEST(WebSearch, StatusIsCheckedAndErrorsEndAtOnce) {
    const std::string page = "\r\n\r\n" + SearchPage();
    for (const std::string status :
         {"HTTP/1.1 404 Not Found", "HTTP/1.1 301 Moved Permanently", "HTTP/1.0 500 Server Error",
          "HTTP/1.1 2000 OK", "HTTP/1.1 20", "ICY 200 OK", "201 cddb server ready", ""}) {
        SCOPED_TRACE(status);
        WebSearch w;
        w.Receive(status + page);
        EXPECT_EQ(Outcome::kFailed, w.Result());  // before the server closes
        w.Closed();
        EXPECT_EQ(Outcome::kFailed, w.Result());
        EXPECT_TRUE(w.Discs().empty());
    }
    WebSearch early;
    early.Receive("HTTP/1.1 200 OK\r\nServer: x\r\n");
    early.Closed();
    EXPECT_EQ(Outcome::kFailed, early.Result());

    WebSearch accepted;
    accepted.Receive("HTTP/1.1 204");
    EXPECT_EQ(Outcome::kRunning, accepted.Result());
}

}  // namespace
