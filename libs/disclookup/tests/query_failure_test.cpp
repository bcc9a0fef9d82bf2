// How a query's end is told: the network's error before the dialogue's,
// the host's stop, the time-out, and the reason in words.
#include <gtest/gtest.h>

#include "libs/disclookup/core/query_failure.h"

using namespace corvella::disclookup;

namespace {

TEST(QueryFailure, EachEndHasItsKindAndItsOwnReason) {
    const QueryFailure none;
    const QueryFailure refusal{FailureKind::kServerError, "401 rock 0a0b0c0d No such CD entry in database."};
    const struct {
        Outcome dialogue;
        QueryFailure dialogueFailure, socket;
        bool stopped;
        FailureKind kind;
        const char* reason;  // a phrase of it
    } cases[] = {
        {Outcome::kComplete, none, SocketFailure(10061, "x"), false, FailureKind::kNone, ""},
        {Outcome::kRunning, none, SocketFailure(10061, "x"), true, FailureKind::kRefused, "refused the connection"},
        {Outcome::kRunning, none, SocketFailure(11001, "x"), false, FailureKind::kHostNotFound, "name could not"},
        {Outcome::kRunning, none, SocketFailure(11004, "x"), false, FailureKind::kHostNotFound, "name could not"},
        {Outcome::kRunning, none, SocketFailure(10054, "x"), false, FailureKind::kClosedEarly, "before its reply"},
        {Outcome::kRunning, none, SocketFailure(10060, "x"), false, FailureKind::kTimedOut, "not reply in time"},
        {Outcome::kRunning, none, SocketFailure(10051, "Network is unreachable"), false, FailureKind::kNetwork,
         "ended the lookup: Network is unreachable."},
        {Outcome::kRunning, none, SocketFailure(12345, ""), false, FailureKind::kNetwork, ": error 12345."},
        {Outcome::kFailed, refusal, none, true, FailureKind::kServerError, "error: 401 rock 0a0b0c0d No such CD entry"},
        {Outcome::kFailed, {FailureKind::kClosedEarly, "x"}, none, false, FailureKind::kClosedEarly, "closed"},
        {Outcome::kRunning, none, none, true, FailureKind::kStopped, "stopped"},
        {Outcome::kRunning, none, none, false, FailureKind::kTimedOut, "in time"},
    };
    for (const auto& c : cases) {
        const QueryFailure end = QueryEnd(c.dialogue, c.dialogueFailure, c.socket, c.stopped);
        const std::string reason = FailureReason(end);
        EXPECT_EQ(c.kind, end.kind) << c.reason;
        EXPECT_NE(std::string::npos, reason.find(c.reason)) << reason;
        if (!end.Failed()) continue;
        EXPECT_EQ('.', reason.back()) << reason;
        EXPECT_EQ(std::string::npos, reason.find("..")) << reason;
    }
    // A server's endless line stays a readable reason.
    EXPECT_LT(FailureReason({FailureKind::kServerError, std::string(100000, 'x')}).size(), 300u);
}

}  // namespace
