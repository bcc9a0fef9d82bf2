#include "libs/disclookup/core/query_failure.h"

#include "libs/disclookup/core/text.h"

namespace corvella::disclookup {

namespace {

constexpr size_t kMaxDetail = 200;  // a server's line can be as long as it likes

// Winsock's numbers, as the TCP client passes them on.
const struct {
    int number;
    FailureKind kind;
} kSocketKinds[] = {
    {10061, FailureKind::kRefused},       // WSAECONNREFUSED
    {11001, FailureKind::kHostNotFound},  // WSAHOST_NOT_FOUND
    {11002, FailureKind::kHostNotFound},  // WSATRY_AGAIN: no name server answered
    {11003, FailureKind::kHostNotFound},  // WSANO_RECOVERY
    {11004, FailureKind::kHostNotFound},  // WSANO_DATA: a name without an address
    {10060, FailureKind::kTimedOut},      // WSAETIMEDOUT
    {10054, FailureKind::kClosedEarly},   // WSAECONNRESET
    {10053, FailureKind::kClosedEarly},   // WSAECONNABORTED
};

const struct {
    FailureKind kind;
    const char* text;
    bool withDetail;
} kReasons[] = {
    {FailureKind::kRefused, "The server refused the connection: no lookup service answers at that address", false},
    {FailureKind::kHostNotFound,
     "The server's name could not be found; check the name and the connection to the Internet", false},
    {FailureKind::kClosedEarly, "The server closed the connection before its reply was complete", false},
    {FailureKind::kTimedOut, "The server did not reply in time", false},
    {FailureKind::kServerError, "The server answered with an error: ", true},
    {FailureKind::kNetwork, "A network error ended the lookup: ", true},
    {FailureKind::kStopped, "The lookup was stopped", false},
    {FailureKind::kBadRequest, "The request could not be sent: ", true},
};

}  // namespace

std::string ReplyText(std::string_view line) {
    const std::string text = CleanText(line);
    if (text.empty()) return "an empty or unreadable reply";
    return text.size() > kMaxDetail ? text.substr(0, kMaxDetail) + "..." : text;
}

std::string Sentence(std::string text) {
    if (text.empty() || text.back() != '.') text += '.';
    return text;
}

std::string FailureMessage(const std::string& head, const QueryFailure& failure) {
    // No port: the setting held none a connection could use; the reason says so.
    const std::string port = failure.port != 0 ? ", port " + std::to_string(failure.port) : std::string();
    return head + "\r\n\r\nServer: " + failure.host + port + "\r\nReason: " + failure.reason;
}

QueryFailure MakeFailure(FailureKind kind, std::string_view detail) {
    for (const auto& r : kReasons)
        if (r.kind == kind) return {kind, Sentence(r.text + (r.withDetail ? ReplyText(detail) : std::string())), "", 0};
    return {};
}

QueryFailure SocketFailure(int number, const std::string& description) {
    for (const auto& s : kSocketKinds)
        if (s.number == number) return MakeFailure(s.kind, description);
    return MakeFailure(FailureKind::kNetwork, description.empty() ? "error " + std::to_string(number) : description);
}

QueryFailure QueryEnd(Outcome dialogue, const QueryFailure& dialogueFailure, const QueryFailure& socket,
                      bool stopped) {
    if (dialogue == Outcome::kComplete) return {};
    if (socket.Failed()) return socket;
    if (dialogue == Outcome::kFailed && dialogueFailure.Failed()) return dialogueFailure;
    return MakeFailure(stopped ? FailureKind::kStopped : FailureKind::kTimedOut);
}

}  // namespace corvella::disclookup
