// How a query's end is told where the window tests cannot easily reach: a
// whole reply beats a later socket error, the errors without a kind of
// their own, a server's endless line, and lines with nothing to show.
#include <gtest/gtest.h>

#include "libs/disclookup/core/query_failure.h"

using namespace corvella::disclookup;

namespace {

TEST(QueryFailure, EachEndHasItsKindAndReadableReason) {
    const struct {
        Outcome dialogue;
        QueryFailure socket;
        bool stopped;
        FailureKind kind;
        std::string reason;
    } cases[] = {
        {Outcome::kComplete, SocketFailure(10054, "x"), false, FailureKind::kNone, ""},
        {Outcome::kRunning, SocketFailure(10054, "x"), true, FailureKind::kClosedEarly,
         "The server closed the connection before its reply was complete."},
        {Outcome::kRunning, SocketFailure(12345, ""), false, FailureKind::kNetwork,
         "A network error ended the lookup: error 12345."},
        {Outcome::kRunning, {}, true, FailureKind::kStopped, "The lookup was stopped."},
        {Outcome::kFailed, {}, false, FailureKind::kServerError, "The server answered with an error: " +
                                                                   std::string(200, 'x') + "..."},
    };
    for (const auto& c : cases) {
        const QueryFailure end =
            QueryEnd(c.dialogue, MakeFailure(FailureKind::kServerError, std::string(100000, 'x')), c.socket, c.stopped);
        EXPECT_EQ(c.kind, end.kind) << c.reason;
        EXPECT_EQ(c.reason, end.reason);
    }
}

TEST(QueryFailure, AServersLineIsShownReadableAndEndedOnce) {
    const struct {
        std::string line;
        std::string reason;
    } cases[] = {
        {std::string(1, '\0') + "403 Database entry is corrupt.", "an empty or unreadable reply."},
        {"", "an empty or unreadable reply."},
        {" \t\x7f ", "an empty or unreadable reply."},
        {"403 Database entry is corrupt. ", "403 Database entry is corrupt."},
        {std::string("500 Bad") + '\0' + "garbage", "500 Bad."},
    };
    for (const auto& c : cases)
        EXPECT_EQ("The server answered with an error: " + c.reason,
                  MakeFailure(FailureKind::kServerError, c.line).reason)
            << c.line;
}

}  // namespace
