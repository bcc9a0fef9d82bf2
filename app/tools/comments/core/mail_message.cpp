#include "app/tools/comments/core/mail_message.h"

#include <cstdio>
#include <vector>

#include "app/tools/comments/core/address_check.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::comments {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr size_t kMaxEncodedWord = 75;  // RFC 2047 2

bool High(char c) { return static_cast<unsigned char>(c) > 127; }

bool HasHigh(const std::string& s) {
    for (char c : s)
        if (High(c)) return true;
    return false;
}

// What a Q-encoded word in a phrase may carry as it is (RFC 2047 5 (3)).
bool QPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '!' || c == '*' ||
           c == '+' || c == '-' || c == '/';
}

// Encoded words of at most 75 characters, one per folded line, so a text
// of any length keeps every line short. A character is never split.
std::string EncodedWords(const std::string& text) {
    static const char kOpen[] = "=?windows-1252?Q?";
    static const char kClose[] = "?=";
    const size_t room = kMaxEncodedWord - (sizeof kOpen - 1) - (sizeof kClose - 1);
    std::vector<std::string> words(1);
    for (char c : text) {
        char piece[4];
        if (c == ' ') std::snprintf(piece, sizeof piece, "_");
        else if (QPlain(c)) std::snprintf(piece, sizeof piece, "%c", c);
        else std::snprintf(piece, sizeof piece, "=%02X", static_cast<unsigned char>(c));
        if (words.back().size() + std::char_traits<char>::length(piece) > room) words.emplace_back();
        words.back() += piece;
    }
    std::string out;
    for (const std::string& w : words) {
        if (!out.empty()) out += "\r\n ";
        out += kOpen + w + kClose;
    }
    return out;
}

}  // namespace

std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

std::string HeaderText(const std::string& text) {
    const std::string line = OneLine(text);
    return HasHigh(line) || line.size() > kMaxPlainName ? EncodedWords(line) : line;
}

std::string DisplayName(const std::string& name) {
    const std::string line = TrimBlanks(OneLine(name));
    if (HasHigh(line) || line.size() > kMaxPlainName) return EncodedWords(line);
    if (line.find_first_of("()<>[]:;@\\,.\"") == std::string::npos) return line;
    // Quoting adds a "\" before each '"' and "\": what then passes the limit
    // is left off at the end, a pair whole.
    std::string quoted = "\"";
    for (char c : line) {
        const bool escaped = c == '"' || c == '\\';
        if (quoted.size() + (escaped ? 2 : 1) + 1 > kMaxPlainName) break;
        if (escaped) quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string BodyLines(const std::string& body) {
    // One line end for all: CR LF, a lone CR and a lone LF each end a line.
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    std::string out;
    for (const std::string& line : lines) {
        size_t at = 0;
        do {
            // A piece that starts with "." is sent with two: keep room.
            const size_t limit = line[at] == '.' ? kMaxLine - 1 : kMaxLine;
            size_t take = line.size() - at;
            if (take > limit) {
                const size_t blank = line.rfind(' ', at + limit - 1);
                take = blank != std::string::npos && blank > at ? blank + 1 - at : limit;
            }
            if (line.compare(at, 1, ".") == 0) out += '.';
            out.append(line, at, take);
            out += kCrLf;
            at += take;
        } while (at < line.size());
    }
    return out;
}

std::string CommentBody(const std::string& comment, const std::string& version) {
    return comment + "\r\n\r\n\r\n\r\n" + "Software Versioning Details ---------------------------" + "\r\n\r\n" +
           "  Software Version :\t" + version + "\r\n\r\n";
}

std::string SupportSubject(const std::string& title, const std::string& longDate) {
    return title + " Support (" + longDate + ")";
}

std::string MailDate(const DateParts& d) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int offset = d.offsetMinutes < 0 ? -d.offsetMinutes : d.offsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[(d.weekday % 7 + 7) % 7],
                  d.day, kMonths[((d.month - 1) % 12 + 12) % 12], d.year, d.hour, d.minute, d.second,
                  d.offsetMinutes < 0 ? '-' : '+', offset / 60 % 100, offset % 60);
    return text;
}

namespace {

// "FIELD: name <address>", folded before the address when one line would
// be too long. An address is cut to kMaxAddress: the wizard refuses longer
// ones, so only a caller that skipped the check can lose bytes here.
std::string MailboxField(const char* field, const std::string& name, const std::string& address) {
    const std::string shown = DisplayName(name);
    const std::string angle = "<" + OneLine(address).substr(0, kMaxAddress) + ">";
    std::string out = std::string(field) + ": " + shown;
    if (!shown.empty()) {
        const size_t lineStart = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
        out += out.size() - lineStart + 1 + angle.size() > kMaxLine ? "\r\n " : " ";
    }
    return out + angle + kCrLf;
}

}  // namespace

std::string BuildMessage(const MailMessage& m) {
    std::string out;
    out += MailboxField("FROM", m.fromName, m.fromAddress);
    out += MailboxField("TO", m.toName, m.toAddress);
    out += "SUBJECT: " + HeaderText(m.subject) + kCrLf;
    out += "Date: " + OneLine(m.date).substr(0, kMaxLine - 6) + kCrLf;
    out += std::string("MIME-Version: 1.0") + kCrLf;
    out += std::string("Content-Type: text/plain; charset=windows-1252") + kCrLf;
    out += std::string("Content-Transfer-Encoding: 8bit") + kCrLf;
    out += kCrLf;
    out += BodyLines(m.body);
    out += std::string(kCrLf) + "." + kCrLf;
    return out;
}

}  // namespace corvella::comments
