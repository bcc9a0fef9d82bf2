// The xmcd entry read by key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/disclookup/core/xmcd.h"

using namespace corvella::disclookup;

namespace {

std::vector<std::string> Titles(const DiscInfo& d) {
    std::vector<std::string> t;
    for (const TrackInfo& track : d.Tracks) {
        EXPECT_EQ("", track.Artist);
        t.push_back(track.Title);
    }
    return t;
}

TEST(Xmcd, DiscTitleSplitsAtTheSeparatorFirst) {
    const struct {
        std::vector<std::string> lines;
        const char* artist;
        const char* title;
    } cases[] = {
        {{"DTITLE=AC/DC / Back in Black"}, "AC/DC", "Back in Black"},
        {{"DTITLE=Artist/Album"}, "Artist", "Album"},
        {{"DTITLE=  Various  "}, "Various", "Various"},
        {{"DTITLE=A Very Long Art", "DTITLE=ist Name / And Album"}, "A Very Long Artist Name", "And Album"},
        {{"DTITLE=Mr. \\\\ / Slash\\tTab"}, "Mr. \\", "Slash\tTab"},
        {{"# DTITLE=comment", "DTITLE"}, "", ""},
        {{"DTITLE=a / b / c"}, "a", "b / c"},
        {{}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.empty() ? "" : c.lines[0]);
        const DiscInfo d = ParseXmcd(c.lines);
        EXPECT_EQ(c.artist, d.Artist);
        EXPECT_EQ(c.title, d.Title);
    }
}

TEST(Xmcd, TracksByTheNumberInTheirKey) {
    const struct {
        std::vector<std::string> lines;
        std::vector<std::string> titles;
    } cases[] = {
        {{"TTITLE0=One", "TTITLE1=Two"}, {"One", "Two"}},
        {{"TTITLE1=Two", "TTITLE0=One"}, {"One", "Two"}},
        {{"TTITLE0=Long ", "TTITLE1=Two", "TTITLE0=Title"}, {"Long Title", "Two"}},
        {{"TTITLE0=One", "TTITLE2=Three"}, {"One", "", "Three"}},
        {{"TTITLE0=a\\nb\\tc\\\\d\\x", "TTITLE1=split\\", "TTITLE1=n"}, {"a\nb\tc\\d\\x", "split\n"}},
        {{"TTITLE=none", "TTITLEx=none", "TTITLE-1=none", "TTITLE99=none", "TTITLE0001=none", "EXTT0=x"}, {}},
        {{"TTITLE01=leading zero"}, {"", "leading zero"}},
        {{"TTITLE0=a=b", "TTITLE1="}, {"a=b", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines[0]);
        EXPECT_EQ(c.titles, Titles(ParseXmcd(c.lines)));
    }
    std::vector<std::string> full;
    for (int i = 98; i >= 0; --i) full.push_back("TTITLE" + std::to_string(i) + "=t" + std::to_string(i + 1));
    const DiscInfo d = ParseXmcd(full);
    ASSERT_EQ(99u, d.Tracks.size());
    EXPECT_EQ("t1", d.Tracks[0].Title);
    EXPECT_EQ("t99", d.Tracks[98].Title);
}

TEST(Xmcd, YearAndGenre) {
    const DiscInfo d = ParseXmcd({"DYEAR=19", "DYEAR=80 ", "DGENRE=Hard ", "DGENRE=Rock", "DISCID=7a0b2c0d",
                                  "dyear=2001", "DYEAR2=2002"});
    EXPECT_EQ("1980", d.Year);
    EXPECT_EQ("Hard Rock", d.Genre);
}

}  // namespace
