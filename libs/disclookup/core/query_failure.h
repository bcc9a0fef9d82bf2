// Why a lookup query ended without its whole reply, in words a user reads.
// The control keeps it after each query beside the result, so that a host
// can tell "the server listed no disc" from "the server was never reached";
// the host reads it back through the control's properties into the same
// record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
    std::string reason;  // a sentence; empty for kNone
    std::string host;    // the server that was asked, once the query has one
    uint16_t port = 0;

    bool Failed() const { return kind != FailureKind::kNone; }
};

// A failure of `kind` with its reason; `detail` (the server's line, the
// network's own words) is shown where the kind has a place for it.
QueryFailure MakeFailure(FailureKind kind, std::string_view detail = {});

// A network error as the TCP client reports it: Winsock's number and text.
QueryFailure SocketFailure(int number, const std::string& description);

// How a query ended. A whole reply is no failure; otherwise the network's
// error comes first (it ended the query), then the dialogue's own, then the
// host's stop; a query that ran on without any of them ran out of time.
QueryFailure QueryEnd(Outcome dialogue, const QueryFailure& dialogueFailure, const QueryFailure& socket,
                      bool stopped);

// A server's line as a message can show it: CleanText, and long lines
// shortened; "an empty or unreadable reply" when nothing readable is left.
std::string ReplyText(std::string_view line);

// What a lookup that failed says: `head`, the sentence that names what was
// asked, then the server with its port and the reason, a line each.
std::string FailureMessage(const std::string& head, const QueryFailure& failure);

// `text` with a full stop at its end, unless it ends in one already.
std::string Sentence(std::string text);

}  // namespace corvella::disclookup
