// The ripper's lookup against scripted server replies, cut at every byte.
#include "app/cdrip/lookup/core/ripper_lookup.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/cdrip/lookup/core/tests/lookup_transcripts.h"

namespace corvella::cdrip {
namespace {

using namespace lookup_testing;
using Step = RipperLookup::Step;

struct Replayed {
    std::string sent;
    Step step;
    std::string error;
    DiscData disc;
};

// The reasons of a server's error line and of a close before the end.
std::string ServerError(const std::string& line) {
    return disclookup::MakeFailure(disclookup::FailureKind::kServerError, line).reason;
}
std::string ClosedEarly() { return disclookup::MakeFailure(disclookup::FailureKind::kClosedEarly).reason; }

// Feeds the server's bytes in two pieces cut at `cut` (npos: one byte at a
// time), then the close when `close` is set.
Replayed Replay(const std::string& server, size_t cut, bool close) {
    RipperLookup lookup(Query(), "user", "pc");
    Replayed r;
    if (cut == std::string::npos) {
        for (char c : server) r.sent += lookup.Receive(std::string_view(&c, 1));
    } else {
        r.sent += lookup.Receive(std::string_view(server).substr(0, cut));
        r.sent += lookup.Receive(std::string_view(server).substr(cut));
    }
    if (close) lookup.Closed();
    r.step = lookup.CurrentStep();
    r.error = lookup.Failure().reason;
    if (lookup.Complete()) r.disc = ParseEntry(lookup.EntryLines(), false);
    return r;
}

TEST(RipperLookup, DialoguesReadTheSameWhereverCut) {
    const std::string head = std::string(kHello) + kProto + kQuery;
    const struct {
        const char* what;
        std::string server;
        bool close;  // the server closes after its last byte
        std::string sent;
        Step step;
        std::string error;
    } cases[] = {
        {"exact match", ExactSession(), false, head + kRead, Step::kComplete, ""},
        {"close after the entry", ExactSession(), true, head + kRead, Step::kComplete, ""},
        {"banner that allows posting is no match",
         "200 localhost CDDBP server ready\r\n200 Hello\r\n201 OK\r\n200 rock 06019002 X / Y\r\n" +
             std::string(kEntry),
         false, head + kRead, Step::kComplete, ""},
        {"hello given before, protocol level missing",
         "201 ready\r\n402 Already shook hands\r\n501 Illegal protocol level\r\n"
         "200 rock 06019002 X\r\n" + std::string(kEntry),
         false, head + kRead, Step::kComplete, ""},
        {"inexact matches: the first",
         std::string(kGreeting) + "211 Found inexact matches, list follows (until terminating `.')\r\n"
         "rock 06019002 AC/DC / Back in Black\r\nmisc 0601900a Other / Disc\r\n.\r\n" + kEntry,
         false, head + kRead, Step::kComplete, ""},
        {"exact matches listed: the first",
         std::string(kGreeting) + "210 Found exact matches, list follows (until terminating `.')\r\n"
         "rock 06019002 AC/DC / Back in Black\r\nblues 06019002 Other\r\n.\r\n" + kEntry,
         false, head + kRead, Step::kComplete, ""},
        {"no match", std::string(kGreeting) + "202 No match for disc ID 06019002.\r\n", false, head,
         Step::kNoMatch, ""},
        {"query refused", std::string(kGreeting) + "403 Database entry is corrupt.\r\n", false, head, Step::kFailed,
         ServerError("403 Database entry is corrupt.")},
        {"no connections allowed", "432 No connections allowed: permission denied\r\n", false, "",
         Step::kFailed, ServerError("432 No connections allowed: permission denied")},
        {"hello refused", "201 ready\r\n431 Handshake not successful, closing connection.\r\n", false, kHello,
         Step::kFailed, ServerError("431 Handshake not successful, closing connection.")},
        {"read refused", std::string(kGreeting) + "200 rock 06019002 X\r\n401 rock 06019002 No such CD entry.\r\n",
         false, head + kRead, Step::kFailed, ServerError("401 rock 06019002 No such CD entry.")},
        {"empty match list", std::string(kGreeting) + "211 inexact\r\n.\r\n", false, head, Step::kFailed,
         ServerError("the server listed no disc")},
        {"match that names no disc", std::string(kGreeting) + "200 Rock! 123\r\n", false, head, Step::kFailed,
         ServerError("Rock! 123")},
        {"early close in the entry", std::string(kGreeting) + "200 rock 06019002 X\r\n" +
                                         std::string(kEntry).substr(0, 120),
         true, head + kRead, Step::kFailed, ClosedEarly()},
        {"entry without its end stays open", std::string(kGreeting) + "200 rock 06019002 X\r\n" +
                                                 std::string(kEntry).substr(0, 120),
         false, head + kRead, Step::kEntry, ""},
        {"early close after the banner", "201 ready\r\n", true, kHello, Step::kFailed,
         ClosedEarly()},
    };
    for (const auto& c : cases) {
        for (size_t cut = 0; cut <= c.server.size() + 1; ++cut) {
            const Replayed r = Replay(c.server, cut > c.server.size() ? std::string::npos : cut, c.close);
            ASSERT_EQ(r.sent, c.sent) << c.what << " cut " << cut;
            ASSERT_EQ(r.step, c.step) << c.what << " cut " << cut;
            ASSERT_EQ(r.error, c.error) << c.what << " cut " << cut;
            if (c.step == Step::kComplete) {
                ASSERT_EQ(r.disc.Album, "Back in Black") << c.what;
                ASSERT_EQ(r.disc.Titles, (std::vector<std::string>{"Hells Bells", "Shoot to Thrill"})) << c.what;
            }
        }
    }
}

TEST(ParseEntry, ReadByKeyAndSplitOnCompilations) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::vector<std::string> lines;
        bool mixed;
        DiscData disc;
    } cases[] = {
        {"album", {"DTITLE=AC/DC / Back in Black", "DYEAR=1980", "DGENRE=Rock", "TTITLE0=Hells Bells"}, false,
         {"AC/DC", "Back in Black", "Rock", "1980", {"Hells Bells"}, {}, false}},
        {"by key: a repeated key continues, escapes decoded, gaps empty",
         {"TTITLE2=Th\\\\ree", "TTITLE0=On", "TTITLE0=e"}, false, {"", "", "", "", {"One", "", "Th\\ree"}, {}, false}},
        {"no separator: artist and album alike", {"DTITLE= Solo  "}, false, {"Solo", "Solo", "", "", {}, {}, false}},
        {"compilation",
         {"DTITLE=Various / Hits", "TTITLE0=AC/DC / Thunderstruck", "TTITLE1=  Intro  ", "TTITLE2= Ann /Song "}, true,
         {"Various", "Hits", "", "", {"Thunderstruck", "Intro", "Song"}, {"AC/DC", "Various", "Ann"}, true}},
        {"compilation without a disc separator", {"DTITLE=Mix", "TTITLE0=Tune"}, true,
         {"Mix", "Mix", "", "", {"Tune"}, {"Mix"}, true}},
        {"cut at a NUL, control bytes blank, trimmed",
         {"DTITLE=Bj\xF6rk \0 junk/ Homo\x01genic"s, "DYEAR=1997\\t", "DGENRE=\x7FPop",
          "TTITLE0=Hunter\\n", "TTITLE1=Ann\x02/\x1b Song\0x"s},
         true,
         {"Bj\xF6rk", "Homo genic", "Pop", "1997", {"Hunter", "Song"}, {"Bj\xF6rk", "Ann"}, true}},
    };
    for (const auto& c : cases) {
        auto fields = [](const DiscData& d) {
            return std::tie(d.Artist, d.Album, d.Genre, d.Year, d.Titles, d.Artists, d.Mixed);
        };
        EXPECT_EQ(fields(ParseEntry(c.lines, c.mixed)), fields(c.disc)) << c.what;
    }
}

TEST(QueryOfDrive, FromTheOpenDrivesToc) {
    std::string why;
    const auto q = QueryOfDrive(7, TwoTrackToc(), &why);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->discId, Query().discId);
    EXPECT_EQ(q->text, Query().text);
    const auto mixedMode = QueryOfDrive(7, TwoTrackToc(true), &why);  // one data track: still a query
    ASSERT_TRUE(mixedMode);
    EXPECT_EQ(mixedMode->text, Query().text);

    cdaudio::TOC data = TwoTrackToc(true);
    data.tracks[0].ADR = 0x14;
    cdaudio::TOC empty = TwoTrackToc();
    empty.firstTrack = empty.lastTrack = 0;
    const struct {
        uint32_t handle;
        cdaudio::TOC toc;
        const char* why;
    } refused[] = {
        {0, TwoTrackToc(), "No CD-Rom drive is open."},
        {7, data, "The CD-Rom in the drive holds no audio tracks."},
        {7, empty, "The CD-Rom in the drive holds no audio tracks."},
    };
    for (const auto& c : refused) {
        why.clear();
        EXPECT_FALSE(QueryOfDrive(c.handle, c.toc, &why));
        EXPECT_EQ(why, c.why);
    }
}

}  // namespace
}  // namespace corvella::cdrip
