#include "libs/disclookup/core/cddb_dialogue.h"

#include <utility>

namespace corvella::disclookup {

namespace {

using Step = CddbDialogue::Step;

constexpr size_t kMaxEntryBytes = 1024 * 1024;  // real entries stay far below

// The replies each waiting step accepts, and the step they lead to. Any
// other reply there is the server's refusal and ends the query at once.
struct StepRule {
    Step at;
    int codes[4];  // 0 ends the list
    Step next;
};

constexpr StepRule kRules[] = {
    {Step::kBanner, {200, 201}, Step::kHello},  // sign-on, read-write or read-only
    {Step::kHello, {200, 402}, Step::kProto},   // hello taken, or already given
    // The new level, the current one, or a level the server lacks: the read
    // works at any of them.
    {Step::kProto, {200, 201, 501, 502}, Step::kRead},
    {Step::kRead, {210}, Step::kEntry},
};

bool Accepts(const StepRule& rule, int code) {
    for (int c : rule.codes)
        if (c != 0 && c == code) return true;
    return false;
}

}  // namespace

int ReplyCode(const std::string& line) {
    if (line.size() < 3 || (line.size() > 3 && line[3] != ' ')) return -1;
    int code = 0;
    for (size_t i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

std::string HelloWord(std::string_view name, std::string_view fallback) {
    if (name.empty()) return std::string(fallback);
    std::string word(name);
    for (char& c : word)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '_';
    return word;
}

std::string HelloCommand(std::string_view user, std::string_view host) {
    return "cddb hello " + HelloWord(user, "anonymous") + " " + HelloWord(host, "localhost") + " " +
           kClientName + " " + kClientVersion + "\r\n";
}

std::string ProtoCommand() { return "proto 5\r\n"; }

std::string ReadCommand(std::string_view category, std::string_view discId) {
    return "cddb read " + std::string(category) + " " + std::string(discId) + "\r\n";
}

std::string QuitCommand() { return "quit\r\n"; }

CddbDialogue::CddbDialogue(CddbRequest request) : request_(std::move(request)) {
    if (!IsDiscId(request_.discId)) Fail(FailureKind::kBadRequest, "not a disc id: " + request_.discId);
    else if (!IsCategory(request_.category)) Fail(FailureKind::kBadRequest, "not a category: " + request_.category);
}

void CddbDialogue::Fail(FailureKind kind, std::string_view why) {
    step_ = Step::kFailed;
    failure_ = MakeFailure(kind, why);
}

std::string CddbDialogue::Receive(std::string_view bytes) {
    std::string send;
    if (step_ == Step::kDone || step_ == Step::kFailed) return send;
    lines_.Append(bytes);
    std::string line;
    while (step_ != Step::kDone && step_ != Step::kFailed && lines_.Next(line)) send += Line(line);
    if (lines_.Overflowed() && Result() == Outcome::kRunning) Fail(FailureKind::kServerError, "a reply line without an end");
    return send;
}

std::string CddbDialogue::Line(const std::string& line) {
    if (step_ == Step::kEntry) {
        if (line == ".") {
            step_ = Step::kQuit;
            return QuitCommand();
        }
        entryBytes_ += line.size() + 1;
        if (entryBytes_ > kMaxEntryBytes) Fail(FailureKind::kServerError, "an entry without an end");
        else entry_.Line(line);
        return std::string();
    }
    if (step_ == Step::kQuit) {  // the goodbye, whatever it says
        step_ = Step::kDone;
        return std::string();
    }
    const int code = ReplyCode(line);
    for (const StepRule& rule : kRules) {
        if (rule.at != step_) continue;
        if (!Accepts(rule, code)) {
            Fail(FailureKind::kServerError, line);
            return std::string();
        }
        step_ = rule.next;
        switch (step_) {
        case Step::kHello: return HelloCommand(request_.user, request_.host);
        case Step::kProto: return ProtoCommand();
        case Step::kRead: return ReadCommand(request_.category, request_.discId);
        default: return std::string();
        }
    }
    return std::string();
}

void CddbDialogue::Closed() {
    if (step_ == Step::kQuit) step_ = Step::kDone;
    else if (step_ != Step::kDone && step_ != Step::kFailed) Fail(FailureKind::kClosedEarly, "the server closed the connection");
}

Outcome CddbDialogue::Result() const {
    switch (step_) {
    case Step::kQuit:
    case Step::kDone: return Outcome::kComplete;
    case Step::kFailed: return Outcome::kFailed;
    default: return Outcome::kRunning;
    }
}

DiscInfo CddbDialogue::Disc() const {
    return Result() == Outcome::kComplete ? entry_.Disc() : DiscInfo();
}

}  // namespace corvella::disclookup
