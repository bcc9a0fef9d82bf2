// The CDDB dialogue of a disc read, as a state machine over received bytes.
// The caller connects, feeds every received piece to Receive() and sends
// what it returns; the dialogue cuts the pieces into lines and classifies
// each line by its three-digit code and the state it arrives in, so a reply
// split anywhere, or several replies in one piece, read the same.
//
// The commands, each ending in CR LF, once the server's banner is in:
//   cddb hello <user> <host> Corvella 1.2.0
//   proto 5
//   cddb read <category> <disc id>
//   quit                     (after the entry's closing ".")
// Protocol level 5 makes servers send DYEAR and DGENRE and keeps the entry
// in the Western code page, as the program's text is.
#pragma once

#include <string>
#include <string_view>

#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/records.h"
#include "libs/disclookup/core/text.h"
#include "libs/disclookup/core/xmcd.h"

namespace corvella::disclookup {

constexpr char kClientName[] = "Corvella";
constexpr char kClientVersion[] = "1.2.0";

// A name made fit for the hello: servers split the hello at blanks, so
// every blank, control or non-ASCII byte becomes "_"; an empty name gives
// `fallback`.
std::string HelloWord(std::string_view name, std::string_view fallback);

// The code of a status line: three digits and then the end or a blank; -1
// for any other line.
int ReplyCode(const std::string& line);

std::string HelloCommand(std::string_view user, std::string_view host);
std::string ProtoCommand();
std::string ReadCommand(std::string_view category, std::string_view discId);
std::string QuitCommand();

struct CddbRequest {
    std::string category;
    std::string discId;
    std::string user;  // the hello's names, made single words
    std::string host;
};

class CddbDialogue {
public:
    enum class Step { kBanner, kHello, kProto, kRead, kEntry, kQuit, kDone, kFailed };

    // A request whose id is not 8 hex digits or whose category is not
    // lower-case letters fails here: it never reaches a command.
    explicit CddbDialogue(CddbRequest request);

    // A received piece; returns the text to send now (often nothing).
    std::string Receive(std::string_view bytes);
    // The server closed the connection.
    void Closed();

    // Complete once the entry's closing "." is in; the query can end then.
    Outcome Result() const;
    Step CurrentStep() const { return step_; }
    // The entry, once complete; an empty disc (no tracks) otherwise.
    DiscInfo Disc() const;
    // Why the dialogue failed: a refusal (with the server's line), a closed
    // connection, a bad request.
    const QueryFailure& Failure() const { return failure_; }

private:
    std::string Line(const std::string& line);
    void Fail(FailureKind kind, std::string_view why);

    CddbRequest request_;
    Step step_ = Step::kBanner;
    LineBuffer lines_;
    XmcdParser entry_;
    size_t entryBytes_ = 0;
    QueryFailure failure_;
};

}  // namespace corvella::disclookup
