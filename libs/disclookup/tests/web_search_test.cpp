// The web search: request, reply and the scan of the result links.
#include <gtest/gtest.h>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

TEST(WebSearch, RequestAndEntities) {
    EXPECT_EQ("Tom+%26+Jerry+%231+AC%2FDC+a%2Bb%3Dc%3F%25+caf%E9%0D%0A-_.~",
              EncodeSearchWords("Tom & Jerry #1 AC/DC a+b=c?% caf\xE9\r\n-_.~"));
    EXPECT_EQ("GET /freedb_search.php?words=Tom+%26+Jerry&allfields=NO&fields=artist&fields=title&allcats=YES"
              "&grouping=none HTTP/1.0\r\nHost: www.freedb.org\r\nAccept: */*\r\n\r\n",
              SearchRequest("www.freedb.org", 80, "Tom & Jerry"));
    EXPECT_NE(std::string::npos, SearchRequest("127.0.0.1", 8080, "x").find("\r\nHost: 127.0.0.1:8080\r\n"));

    EXPECT_EQ("Tom & Jerry <b> \"x\" A\xE9\t &lt; ? ?", DecodeEntities("Tom &amp; Jerry &lt;b&gt; &quot;x&quot; "
                                                                      "&#65;&#233;&#9; &amp;lt; &#1000; &#1234567;"));
    EXPECT_EQ("&#0; &#; &#12 &#12345678; &nbsp; & &amp", DecodeEntities("&#0; &#; &#12 &#12345678; &nbsp; & &amp"));
}

TEST(WebSearch, OnlyLinksWithACheckedIdAndCategoryMakeRecordsUpToTheCut) {
    const std::string page = SearchPage();
    const std::vector<DiscID> all = SearchDiscs();
    EXPECT_EQ(all, ParseSearchPage(page));
    // A page cut anywhere gives the records of the links before the cut.
    size_t seen = 0;
    for (size_t n = 0; n <= page.size(); ++n) {
        const std::vector<DiscID> some = ParseSearchPage(page.substr(0, n));
        ASSERT_TRUE(some.size() >= seen && some.size() <= all.size()) << n;
        ASSERT_TRUE(std::equal(some.begin(), some.end(), all.begin())) << n;
        seen = some.size();
    }
}

TEST(WebSearch, SameResultWhereverTheReplyIsCut) {
    const std::string reply = SearchReply();
    for (size_t cut = 0; cut <= reply.size(); ++cut) {
        WebSearch w;
        w.Receive(std::string_view(reply).substr(0, cut));
        w.Receive(std::string_view(reply).substr(cut));
        ASSERT_EQ(Outcome::kRunning, w.Result());
        w.Closed();
        ASSERT_EQ(Outcome::kComplete, w.Result());
        ASSERT_EQ(SearchDiscs(), w.Discs()) << cut;
    }
}

TEST(WebSearch, AQueryEndedEarlyKeepsTheCompleteLinksOnly) {
    const std::string reply = SearchReply();
    const std::vector<DiscID> all = SearchDiscs();
    size_t seen = 0;
    for (size_t cut = 0; cut <= reply.size(); ++cut) {
        WebSearch w;
        w.Receive(std::string_view(reply).substr(0, cut));
        const std::vector<DiscID> some = w.Gathered();
        ASSERT_TRUE(some.size() >= seen && some.size() <= all.size()) << cut;
        ASSERT_TRUE(std::equal(some.begin(), some.end(), all.begin())) << cut;
        seen = some.size();
    }
    EXPECT_EQ(seen, all.size());
    WebSearch refused;
    refused.Receive("HTTP/1.0 500 Oops\r\n\r\n" + SearchPage());
    EXPECT_TRUE(refused.Gathered().empty());
}

TEST(WebSearch, StatusIsCheckedAndErrorsEndAtOnce) {
    for (const std::string status : {"HTTP/1.1 404 Not Found", "HTTP/1.1 301 Moved Permanently", "HTTP/1.1 2000 OK",
                                     "HTTP/1.1 20", "ICY 200 OK", "201 cddb server ready", ""}) {
        WebSearch w;
        w.Receive(status + "\r\n\r\n" + SearchPage());
        EXPECT_EQ(Outcome::kFailed, w.Result()) << status;  // before the server closes
        w.Closed();
        EXPECT_TRUE(w.Discs().empty());
    }
    WebSearch early;  // closed inside the headers
    early.Receive("HTTP/1.0 200 OK\nServer: x\n");
    early.Closed();
    EXPECT_EQ(Outcome::kFailed, early.Result());
}

}  // namespace
