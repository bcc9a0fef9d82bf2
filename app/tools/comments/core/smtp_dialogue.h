// The comments wizard's SMTP dialogue, as a state machine over received
// bytes. The caller connects, feeds every received piece to Receive() and
// sends what it returns. Replies are read as lines: a reply ends at its
// "ddd " (or bare "ddd") line after any "ddd-" lines, and is classified by
// the state it arrives in, so replies cut anywhere or several in one piece
// send the same commands, each once.
//
//   220            EHLO <name>      (HELO <name> when EHLO gets a 5xx)
//   250            MAIL FROM:<sender>
//   250            RCPT TO:<recipient>
//   250 or 251     DATA
//   354            the message, ending in CR LF "." CR LF
//   250            QUIT             the mail is sent
//   any            -                the dialogue is done
//
// Any other reply is a refusal: QUIT goes out (not after a 221) and the
// dialogue ends failed. So does a close before the mail is sent.
#pragma once

#include <string>
#include <string_view>

#include "libs/common/text/line_buffer.h"

namespace corvella::comments {

// One reply: its code (-1 when a line was no reply line) and its last line.
struct Reply {
    int code = -1;
    std::string line;
    bool unended = false;  // a line that grew too long without an end: no line at all
};

// Cuts received bytes into replies.
class ReplyReader {
public:
    void Append(std::string_view bytes) { lines_.Append(bytes); }
    // The next complete reply; false when none is complete yet. A line that
    // is not "ddd", "ddd " or "ddd-" followed by text, or one too long, is
    // a reply of code -1 by itself.
    bool Next(Reply& reply);

private:
    LineBuffer lines_{4096};
    bool overflowReported_ = false;
};

// The name for EHLO: the computer's name made one word (letters, digits,
// "-" and "."; any other byte a "-"), "localhost" when it is empty.
std::string HelloName(const std::string& computerName);

// How a sending ended without the mail: the server refused it for now
// (4xx) or for good (5xx; 550 refuses the address), its reply was broken
// or did not fit the dialogue, it closed, it could not be reached, or it
// went silent.
enum class Failure { kNone, kForNow, kForGood, kAddressRejected, kBroken, kUnexpected, kClosed, kUnreachable, kTimedOut };

struct SmtpRequest {
    std::string helloName;
    std::string sender;     // the checked, trimmed address
    std::string recipient;
    std::string message;    // BuildMessage's text
};

class SmtpDialogue {
public:
    enum class Step { kGreeting, kEhlo, kHelo, kMail, kRcpt, kData, kMessage, kQuit, kDone, kFailed };

    explicit SmtpDialogue(SmtpRequest request) : request_(std::move(request)) {}

    // A received piece; returns the text to send now (often nothing).
    std::string Receive(std::string_view bytes);
    // The server closed the connection.
    void Closed();

    Step CurrentStep() const { return step_; }
    // The 250 after the message's final "." has come.
    bool Sent() const { return sent_; }
    bool Failed() const { return step_ == Step::kFailed; }
    bool Ended() const { return step_ == Step::kDone || step_ == Step::kFailed; }
    // The reply that failed the dialogue; code -1 for a close or a line that
    // was no reply.
    const Reply& Refusal() const { return refusal_; }
    bool ClosedEarly() const { return closedEarly_; }
    // How it failed; kNone while it has not.
    Failure HowFailed() const;

private:
    std::string OnReply(const Reply& reply);
    std::string Fail(const Reply& reply);

    SmtpRequest request_;
    ReplyReader replies_;
    Step step_ = Step::kGreeting;
    bool sent_ = false;
    bool closedEarly_ = false;
    Reply refusal_;
};

// What the status line shows once the dialogue is at `step`; empty where
// it stays as it was.
const char* StepStatus(SmtpDialogue::Step step);

// The wizard's texts for a failed sending: the status line, and what
// happened, with the server and its port named and its reply quoted,
// then the question.
struct FailureText {
    std::string status;
    std::string explanation;
};
FailureText DescribeFailure(Failure failure, const Reply& reply, const std::string& host, int port);

}  // namespace corvella::comments
