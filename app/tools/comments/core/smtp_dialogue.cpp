#include "app/tools/comments/core/smtp_dialogue.h"

#include <utility>

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
        reply = {-1, "a reply line without an end"};
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

const char* StepStatus(Step step) {
    for (const StepText& t : kStatus)
        if (t.step == step) return t.status;
    return "";
}

}  // namespace corvella::comments
