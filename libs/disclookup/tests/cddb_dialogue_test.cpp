// The CDDB read dialogue against scripted server replies.
#include <gtest/gtest.h>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

struct Replayed {
    std::string sent;
    Outcome outcome;
    DiscInfo disc;
    std::string error;
};

// Feeds the server's bytes cut at `cuts`; the server closes after them when
// `close` is set.
Replayed Replay(const std::string& server, std::vector<size_t> cuts = {}, bool close = true,
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
    r.error = d.Failure().reason;
    return r;
}

TEST(CddbDialogue, SameResultWhereverTheRepliesAreCut) {
    const std::string session = CddbSession();
    std::vector<size_t> everyByte;
    for (size_t cut = 0; cut <= session.size(); ++cut) {
        everyByte.push_back(cut);
        const Replayed r = Replay(session, {cut});
        ASSERT_EQ(CddbCommands(), r.sent) << cut;
        ASSERT_EQ(CddbDisc(), r.disc) << cut;
    }
    EXPECT_EQ(CddbDisc(), Replay(session, everyByte).disc);
}

TEST(CddbDialogue, EachReplyIsReadByTheStepItAnswers) {
    const std::string banner = "201 srv CDDBP server ready\r\n";
    const std::string hello = "200 Hello and welcome\r\n";
    const std::string proto = "201 OK, CDDB protocol level now: 5\r\n";
    const std::string toHello = "cddb hello John_Smith den_pc Corvella 1.2.0\r\n";
    const std::string toRead = toHello + "proto 5\r\ncddb read rock 7a0b2c0d\r\n";
    const struct {
        std::string before;  // replies taken
        std::string line;
        Outcome outcome;  // refusals end the query at once
        std::string sent;
    } cases[] = {
        {"", "433 No connections allowed: 50 users allowed, 50 currently active", Outcome::kFailed, ""},
        {"", "HTTP/1.0 400 Bad Request", Outcome::kFailed, ""},
        {banner, "431 Handshake not successful, closing connection", Outcome::kFailed, toHello},
        {"200 srv ready\r\n", "402 Already shook hands", Outcome::kRunning, toHello + "proto 5\r\n"},
        {banner + hello, "500 Command syntax error", Outcome::kFailed, toHello + "proto 5\r\n"},
        {banner + hello, "200 CDDB protocol level: current 1, supported 6", Outcome::kRunning, toRead},
        {banner + hello, "501 Illegal protocol level.", Outcome::kRunning, toRead},
        {banner + hello, "502 Protocol level already 5", Outcome::kRunning, toRead},
        {banner + hello + proto, "401 rock 7a0b2c0d No such CD entry in database.", Outcome::kFailed, toRead},
        {banner + hello + proto, "402 Server error.", Outcome::kFailed, toRead},
        {banner + hello + proto, "403 Database entry is corrupt.", Outcome::kFailed, toRead},
        {banner + hello + proto, "2100 rock 7a0b2c0d", Outcome::kFailed, toRead},
    };
    for (const auto& c : cases) {
        const Replayed r = Replay(c.before + c.line + "\r\n", {}, false);
        EXPECT_EQ(c.outcome, r.outcome) << c.line;
        EXPECT_EQ(c.sent, r.sent) << c.line;
        EXPECT_EQ(c.outcome == Outcome::kFailed ? MakeFailure(FailureKind::kServerError, c.line).reason : "",
                  r.error);
    }
}

TEST(CddbDialogue, OnlyACompleteEntryMakesADisc) {
    const std::string session = CddbSession();
    const size_t dot = session.find("\r\n.\r\n") + 2;
    for (const std::string& server :
         {session.substr(0, dot), std::string(), session.substr(0, dot) + "TTITLE3=" + std::string(70000, 'x')}) {
        const Replayed r = Replay(server);
        EXPECT_EQ(Outcome::kFailed, r.outcome) << r.error;
        EXPECT_EQ(DiscInfo(), r.disc);
        EXPECT_EQ(std::string::npos, r.sent.find("quit"));
    }
    // Complete at the "." even when the server never answers the quit.
    EXPECT_EQ(CddbDisc(), Replay(session.substr(0, dot + 3), {}, false).disc);
}

TEST(CddbDialogue, OnlyCheckedWordsGoIntoCommands) {
    for (const auto& [category, id] : std::vector<std::pair<std::string, std::string>>{
             {"rock", "7a0b2c0"}, {"rock", "7a0b2c0d9"}, {"rock", "7a0b2c0g"}, {"rock\r\nquit", "7a0b2c0d"},
             {"Rock", "7a0b2c0d"}, {"", "7a0b2c0d"}}) {
        const CddbRequest request{category, id, "u", "h"};
        const Replayed r = Replay(CddbSession(), {}, true, request);
        EXPECT_EQ(Outcome::kFailed, r.outcome) << request.category << request.discId;
        EXPECT_EQ("", r.sent);
    }
    EXPECT_EQ("cddb hello John_Smith Den_PC Corvella 1.2.0\r\n", HelloCommand("John Smith", "Den PC"));
    EXPECT_EQ("cddb hello anonymous localhost Corvella 1.2.0\r\n", HelloCommand("", ""));
    EXPECT_EQ("cddb hello a__quit Jos_ Corvella 1.2.0\r\n", HelloCommand("a\r\nquit", "Jos\xE9"));
}

}  // namespace
