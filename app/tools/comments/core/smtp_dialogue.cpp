#include "app/tools/comments/core/smtp_dialogue.h"

#include <utility>

#include "app/tools/comments/core/mail_message.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::comments {

namespace {

using Step = SmtpDialogue::Step;

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The replies each waiting step accepts and the step they lead to; a 5xx
// to EHLO falls back to HELO. Anything else there is a refusal.
struct StepRule {
    Step at;
    int low, high;  // accepted codes, inclusive
    Step next;
};

constexpr StepRule kRules[] = {
    {Step::kGreeting, 220, 220, Step::kEhlo},
    {Step::kEhlo, 250, 250, Step::kMail},
    {Step::kEhlo, 500, 599, Step::kHelo},
    {Step::kHelo, 250, 250, Step::kMail},
    {Step::kMail, 250, 250, Step::kRcpt},
    {Step::kRcpt, 250, 251, Step::kData},
    {Step::kData, 354, 354, Step::kMessage},
    {Step::kMessage, 250, 250, Step::kQuit},
    {Step::kQuit, -1, 999, Step::kDone},  // the goodbye, whatever it says
};

struct StepText {
    Step step;
    const char* status;
};

constexpr StepText kStatus[] = {
    {Step::kMail, "Sending data... (1 of 3)"},
    {Step::kRcpt, "Sending data... (2 of 3)"},
    {Step::kData, "Setting up body transfer..."},
    {Step::kMessage, "Sending data... (3 of 3)"},
    {Step::kQuit, "Completed."},
};

}  // namespace

bool ReplyReader::Next(Reply& reply) {
    std::string line;
    while (lines_.Next(line)) {
        const bool coded = line.size() >= 3 && Digit(line[0]) && Digit(line[1]) && Digit(line[2]) &&
                           (line.size() == 3 || line[3] == ' ' || line[3] == '-');
        if (!coded) {
            reply = {-1, line};
            return true;
        }
        if (line.size() > 3 && line[3] == '-') continue;  // more lines follow
        reply = {(line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0'), line};
        return true;
    }
    if (lines_.Overflowed() && !overflowReported_) {
        overflowReported_ = true;
        reply = {-1, "", true};
        return true;
    }
    return false;
}

std::string HelloName(const std::string& computerName) {
    if (computerName.empty()) return "localhost";
    std::string word = computerName;
    for (char& c : word) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || Digit(c) || c == '-' || c == '.';
        if (!keep) c = '-';
    }
    return word;
}

std::string SmtpDialogue::Receive(std::string_view bytes) {
    std::string send;
    if (Ended()) return send;
    replies_.Append(bytes);
    Reply reply;
    while (!Ended() && replies_.Next(reply)) send += OnReply(reply);
    return send;
}

std::string SmtpDialogue::OnReply(const Reply& reply) {
    for (const StepRule& rule : kRules) {
        if (rule.at != step_ || reply.code < rule.low || reply.code > rule.high) continue;
        step_ = rule.next;
        switch (step_) {
        case Step::kEhlo: return "EHLO " + request_.helloName + "\r\n";
        case Step::kHelo: return "HELO " + request_.helloName + "\r\n";
        case Step::kMail: return "MAIL FROM:<" + request_.sender + ">\r\n";
        case Step::kRcpt: return "RCPT TO:<" + request_.recipient + ">\r\n";
        case Step::kData: return "DATA\r\n";
        case Step::kMessage: return request_.message;
        case Step::kQuit: sent_ = true; return "QUIT\r\n";
        default: return std::string();
        }
    }
    return Fail(reply);
}

std::string SmtpDialogue::Fail(const Reply& reply) {
    step_ = Step::kFailed;
    refusal_ = reply;
    // A server that said goodbye is closing anyway.
    return reply.code == 221 ? std::string() : "QUIT\r\n";
}

void SmtpDialogue::Closed() {
    if (step_ == Step::kQuit) step_ = Step::kDone;
    if (Ended()) return;
    closedEarly_ = true;
    step_ = Step::kFailed;
    refusal_ = {-1, "the server closed the connection"};
}

Failure SmtpDialogue::HowFailed() const {
    if (!Failed()) return Failure::kNone;
    if (closedEarly_) return Failure::kClosed;
    const int code = refusal_.code;
    if (code == 550) return Failure::kAddressRejected;
    if (code >= 400 && code <= 499) return Failure::kForNow;
    if (code >= 500 && code <= 599) return Failure::kForGood;
    return code < 0 ? Failure::kBroken : Failure::kUnexpected;
}

const char* StepStatus(Step step) {
    for (const StepText& t : kStatus)
        if (t.step == step) return t.status;
    return "";
}

namespace {

// Each failure's status line and what happened: %s stands for the server
// ("mail.example.com on port 25"), %r for its reply. The first sentences
// of 550 and of the silence are the wizard's own from the start.
struct FailureWords {
    Failure failure;
    const char* status;
    const char* sentence;
};

constexpr FailureWords kFailureWords[] = {
    {Failure::kForNow, "Refused for Now",
     "The mail server %s refused your comments for now, answering %r. It may take them if you try again later."},
    {Failure::kForGood, "Refused for Good", "The mail server %s refused your comments for good, answering %r."},
    {Failure::kAddressRejected, "E-Mail Address Rejected",
     "The e-mail address that you specified has been rejected. The mail server %s answered %r."},
    {Failure::kBroken, "Broken Reply", "The mail server %s sent a broken reply: %r."},
    {Failure::kUnexpected, "Unexpected Reply",
     "The mail server %s sent a reply that does not belong at this point: %r."},
    {Failure::kClosed, "Connection Closed",
     "The mail server %s closed the connection before your comments were sent."},
    {Failure::kUnreachable, "Connection Failed", "The mail server %s could not be reached."},
    {Failure::kTimedOut, "Operation Timed-Out",
     "The operation timed-out whilst waiting for a response. The mail server is %s."},
};

// The server's line as the label shows it: one line, not too long, quoted.
std::string Quoted(const Reply& reply) {
    if (reply.unended) return "a reply line without an end";
    std::string line = TrimBlanks(OneLine(reply.line));
    if (line.size() > 160) line = line.substr(0, 160) + "...";
    return "\"" + line + "\"";
}

}  // namespace

FailureText DescribeFailure(Failure failure, const Reply& reply, const std::string& host, int port) {
    for (const FailureWords& w : kFailureWords) {
        if (w.failure != failure) continue;
        std::string text;
        for (size_t i = 0; w.sentence[i] != '\0'; ++i) {
            const char c = w.sentence[i], next = w.sentence[i + 1];
            if (c == '%' && (next == 's' || next == 'r')) {
                text += next == 's' ? host + " on port " + std::to_string(port) : Quoted(reply);
                ++i;
            } else {
                text += c;
            }
        }
        return {w.status, text + " What would you like to do?"};
    }
    return {};
}

}  // namespace corvella::comments
