// The CDDB read dialogue against scripted server replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

struct Replayed {
    std::string sent;
    Outcome outcome = Outcome::kRunning;
    DiscInfo disc;
    std::string error;
};

// Feeds the server's bytes in pieces cut at `cuts` and reports what the
// dialogue sent and made of them; the server closes after the last piece
// when `close` is set.
Replayed Replay(const std::string& server, std::vector<size_t> cuts, bool close = true,
           const CddbRequest& request = Request()) {
    CddbDialogue d(request);
    Replayed r;
    size_t from = 0;
    cuts.push_back(server.size());
    for (size_t to : cuts) {
        r.sent += d.Receive(std::string_view(server).substr(from, to - from));
        from = to;
    }
    if (close) d.Closed();
    r.outcome = d.Result();
    r.disc = d.Disc();
    r.error = d.Error();
    return r;
}

TEST(CddbDialogue, SameResultWhereverTheRepliesAreCut) {
    const std::string session = CddbSession();
    for (size_t cut = 0; cut <= session.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Replayed r = Replay(session, {cut});
        ASSERT_EQ(Outcome::kComplete, r.outcome) << r.error;
        ASSERT_EQ(CddbCommands(), r.sent);
        ASSERT_EQ(CddbDisc(), r.disc);
    }
    std::vector<size_t> everyByte;
    for (size_t i = 1; i < session.size(); ++i) everyByte.push_back(i);
    const Replayed r = Replay(session, everyByte);
    EXPECT_EQ(CddbCommands(), r.sent);
    EXPECT_EQ(CddbDisc(), r.disc);
}

TEST(CddbDialogue, EachCommandAnswersItsReplyLine) {
    const std::string session = CddbSession();
    CddbDialogue d(Request());
    std::vector<std::string> sentAfter;  // per server line
    size_t dot = 0;                      // the line "."
    for (size_t at = 0; at < session.size();) {
        const size_t end = session.find('\n', at) + 1;
        if (session.compare(at, end - at, ".\r\n") == 0) dot = sentAfter.size();
        sentAfter.push_back(d.Receive(session.substr(at, end - at)));
        at = end;
    }
    for (size_t i = 0; i < sentAfter.size(); ++i) {
        const std::string expected = i == 0     ? "cddb hello John_Smith den_pc Corvella 1.2.0\r\n"
                                     : i == 1   ? "proto 5\r\n"
                                     : i == 2   ? "cddb read rock 7a0b2c0d\r\n"
                                     : i == dot ? "quit\r\n"
                                                : "";
        EXPECT_EQ(expected, sentAfter[i]) << "after line " << i;
    }
    EXPECT_EQ(CddbDialogue::Step::kDone, d.CurrentStep());
}

TEST(CddbDialogue, ServerErrorsEndTheQueryAtOnce) {
    const std::string banner = "201 srv CDDBP server ready\r\n";
    const std::string hello = "200 Hello and welcome\r\n";
    const std::string proto = "201 OK, CDDB protocol level now: 5\r\n";
    const std::string toHello = "cddb hello John_Smith den_pc Corvella 1.2.0\r\n";
    const std::string toRead = toHello + "proto 5\r\ncddb read rock 7a0b2c0d\r\n";
    const struct {
        std::string before;  // replies taken
        std::string refusal;
        std::string sent;  // the commands before the refusal
    } cases[] = {
        {"", "433 No connections allowed: 50 users allowed, 50 currently active", ""},
        {"", "434 No connections allowed: system load too high", ""},
        {"", "HTTP/1.0 400 Bad Request", ""},
        {banner, "431 Handshake not successful, closing connection", toHello},
        {banner + hello, "500 Command syntax error", toHello + "proto 5\r\n"},
        {banner + hello + proto, "401 rock 7a0b2c0d No such CD entry in database.", toRead},
        {banner + hello + proto, "402 Server error.", toRead},
        {banner + hello + proto, "403 Database entry is corrupt.", toRead},
        {banner + hello + proto, "409 No handshake.", toRead},
        {banner + hello + proto, "2100 rock 7a0b2c0d", toRead},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        // Followed by what would otherwise go on: it must not be read.
        const Replayed r = Replay(c.before + c.refusal + "\r\n210 rock 7a0b2c0d entry\r\nDTITLE=x\r\n.\r\n", {}, false);
        EXPECT_EQ(Outcome::kFailed, r.outcome);
        EXPECT_EQ(c.sent, r.sent);
        EXPECT_EQ(c.refusal, r.error);
        EXPECT_TRUE(r.disc.Tracks.empty());
    }
}

TEST(CddbDialogue, EveryAnswerToTheProtocolLevelLeadsToTheRead) {
    for (const char* answer : {"201 OK, CDDB protocol level now: 5", "200 CDDB protocol level: current 1, supported 6",
                               "501 Illegal protocol level.", "502 Protocol level already 5"}) {
        SCOPED_TRACE(answer);
        const Replayed r = Replay("200 srv ready\r\n402 Already shook hands\r\n" + std::string(answer) + "\r\n", {},
                             false);
        EXPECT_EQ(Outcome::kRunning, r.outcome);
        EXPECT_EQ(CddbCommands().substr(0, CddbCommands().find("quit")), r.sent);
    }
}

TEST(CddbDialogue, UnfinishedRepliesGiveNoDisc) {
    const std::string session = CddbSession();
    const size_t dot = session.find("\r\n.\r\n") + 2;
    const struct {
        const char* name;
        std::string server;
    } cases[] = {
        {"closed inside the entry", session.substr(0, dot)},
        {"closed before the banner", ""},
        {"a line without an end", session.substr(0, dot) + "TTITLE3=" + std::string(70000, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Replayed r = Replay(c.server, {});
        EXPECT_EQ(Outcome::kFailed, r.outcome);
        EXPECT_EQ(DiscInfo(), r.disc);
        EXPECT_EQ(std::string::npos, r.sent.find("quit"));
    }
    // Complete at the "." even when the server never answers the quit.
    const Replayed r = Replay(session.substr(0, dot + 3), {}, false);
    EXPECT_EQ(Outcome::kComplete, r.outcome);
    EXPECT_EQ(CddbDisc(), r.disc);
}

TEST(CddbDialogue, IdsAndCategoriesAreCheckedBeforeTheyGoIntoACommand) {
    const CddbRequest bad[] = {
        {"rock", "7a0b2c0", "u", "h"},          {"rock", "7a0b2c0d9", "u", "h"},
        {"rock", "7a0b2c0g", "u", "h"},         {"rock", "7a0b 2c0", "u", "h"},
        {"rock\r\nquit", "7a0b2c0d", "u", "h"}, {"Rock", "7a0b2c0d", "u", "h"},
        {"", "7a0b2c0d", "u", "h"},
    };
    for (const CddbRequest& request : bad) {
        SCOPED_TRACE(request.category + "|" + request.discId);
        const Replayed r = Replay(CddbSession(), {}, true, request);
        EXPECT_EQ(Outcome::kFailed, r.outcome);
        EXPECT_EQ("", r.sent);
    }
}

TEST(CddbDialogue, HelloNamesAreSingleWords) {
    const struct {
        const char* user;
        const char* host;
        const char* hello;
    } cases[] = {
        {"john", "den", "cddb hello john den Corvella 1.2.0\r\n"},
        {"John Smith", "Den PC", "cddb hello John_Smith Den_PC Corvella 1.2.0\r\n"},
        {"", "", "cddb hello anonymous localhost Corvella 1.2.0\r\n"},
        {"a\r\nquit", "b\tc", "cddb hello a__quit b_c Corvella 1.2.0\r\n"},
        {"Jos\xE9", "x", "cddb hello Jos_ x Corvella 1.2.0\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.hello, HelloCommand(c.user, c.host));
}

}  // namespace
