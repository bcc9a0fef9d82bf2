#include "libs/disclookup/core/query_failure.h"

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

QueryFailure SocketFailure(int number, const std::string& description) {
    for (const auto& s : kSocketKinds)
        if (s.number == number) return {s.kind, description};
    return {FailureKind::kNetwork, description.empty() ? "error " + std::to_string(number) : description};
}

QueryFailure QueryEnd(Outcome dialogue, const QueryFailure& dialogueFailure, const QueryFailure& socket,
                      bool stopped) {
    if (dialogue == Outcome::kComplete) return {};
    if (socket.Failed()) return socket;
    if (dialogue == Outcome::kFailed && dialogueFailure.Failed()) return dialogueFailure;
    if (stopped) return {FailureKind::kStopped, ""};
    return {FailureKind::kTimedOut, ""};
}

std::string FailureReason(const QueryFailure& failure) {
    for (const auto& r : kReasons) {
        if (r.kind != failure.kind) continue;
        std::string text = r.text;
        if (r.withDetail && failure.detail.empty()) text.erase(text.size() - 2);  // no ": " before nothing
        else if (r.withDetail)
            text += failure.detail.size() > kMaxDetail ? failure.detail.substr(0, kMaxDetail) + "..." : failure.detail;
        if (text.back() != '.') text += '.';
        return text;
    }
    return std::string();
}

}  // namespace corvella::disclookup
