// Why a lookup query ended without its whole reply, in words a user reads.
// The control keeps it after each query beside the result, so that a host
// can tell "the server listed no disc" from "the server was never reached".
#pragma once

#include <cstdint>
#include <string>

namespace corvella::disclookup {

enum class Outcome { kRunning, kComplete, kFailed };

// Numbered as the control's QueryError property gives them to its host.
enum class FailureKind : int32_t {
    kNone = 0,          // the reply came whole (it may list no disc)
    kRefused = 1,       // nothing listens at the server's port
    kHostNotFound = 2,  // the server's name does not resolve
    kClosedEarly = 3,   // the connection ended before the reply was complete
    kTimedOut = 4,      // no reply in time
    kServerError = 5,   // the server answered with an error status, or garbage
    kNetwork = 6,       // any other network error
    kStopped = 7,       // the host stopped the query
    kBadRequest = 8,    // the disc id or category cannot go into a command
};

struct QueryFailure {
    FailureKind kind = FailureKind::kNone;
    std::string detail;  // the server's status line, or the network's own words

    bool Failed() const { return kind != FailureKind::kNone; }
};

// A network error as the TCP client reports it: Winsock's number and text.
QueryFailure SocketFailure(int number, const std::string& description);

// How a query ended. A whole reply is no failure; otherwise the network's
// error comes first (it ended the query), then the dialogue's own, then the
// host's stop; a query that ran on without any of them ran out of time.
QueryFailure QueryEnd(Outcome dialogue, const QueryFailure& dialogueFailure, const QueryFailure& socket,
                      bool stopped);

// The reason as a sentence; empty for kNone.
std::string FailureReason(const QueryFailure& failure);

// What a host learns of its last query: the failure's kind, its reason and
// the server that was asked.
struct QueryError {
    FailureKind kind = FailureKind::kNone;
    std::string reason;
    std::string host;
    uint16_t port = 0;

    bool Failed() const { return kind != FailureKind::kNone; }
};

}  // namespace corvella::disclookup
