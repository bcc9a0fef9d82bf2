// The xmcd entry read by key.
#include <gtest/gtest.h>

#include "libs/disclookup/core/xmcd.h"

using namespace corvella::disclookup;

namespace {

TEST(Xmcd, DiscTitleSplitsAtTheSeparatorFirst) {
    const struct {
        std::vector<std::string> lines;
        const char* artist;
        const char* title;
    } cases[] = {
        {{"DTITLE=AC/DC / Back in Black"}, "AC/DC", "Back in Black"},
        {{"DTITLE=Artist/Album"}, "Artist", "Album"},
        {{"DTITLE=  Various  "}, "Various", "Various"},
        {{"DTITLE=A Long Art", "DTITLE=ist / And Album"}, "A Long Artist", "And Album"},
        {{"DTITLE=Mr. \\\\ / Slash\\tTab"}, "Mr. \\", "Slash\tTab"},
        {{"# DTITLE=comment", "DTITLE", "dtitle=x"}, "", ""},
    };
    for (const auto& c : cases) {
        const DiscInfo d = ParseXmcd(c.lines);
        EXPECT_EQ(c.artist, d.Artist) << c.lines[0];
        EXPECT_EQ(c.title, d.Title) << c.lines[0];
    }
}

TEST(Xmcd, TracksByTheNumberInTheirKey) {
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> titles;
    } cases[] = {
        {{"TTITLE1=Two", "TTITLE0=One"}, {"One", "Two"}},
        {{"TTITLE0=Long ", "TTITLE1=Two", "TTITLE0=Title"}, {"Long Title", "Two"}},
        {{"TTITLE0=One", "TTITLE2=Three"}, {"One", "", "Three"}},
        {{"TTITLE0=a\\nb\\tc\\\\d\\x", "TTITLE1=split\\", "TTITLE1=n"}, {"a\nb\tc\\d\\x", "split\n"}},
        {{"TTITLE=x", "TTITLEx=x", "TTITLE-1=x", "TTITLE99=x", "TTITLE0001=x", "EXTT0=x"}, {}},
        {{"TTITLE01=a=b"}, {"", "a=b"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> titles;
        for (const TrackInfo& t : ParseXmcd(c.lines).Tracks) titles.push_back(t.Title + t.Artist);
        EXPECT_EQ(c.titles, titles) << c.lines[0];
    }
    std::vector<std::string> full;
    for (int i = 98; i >= 0; --i) full.push_back("TTITLE" + std::to_string(i) + "=t" + std::to_string(i + 1));
    const DiscInfo d = ParseXmcd(full);
    ASSERT_EQ(99u, d.Tracks.size());
    EXPECT_EQ("t99", d.Tracks[98].Title);

    const DiscInfo yg = ParseXmcd({"DYEAR=19", "DYEAR=80 ", "DGENRE=Hard ", "DGENRE=Rock", "DYEAR2=2002"});
    EXPECT_EQ("1980", yg.Year);
    EXPECT_EQ("Hard Rock", yg.Genre);
}

}  // namespace
