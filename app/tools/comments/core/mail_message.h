// The comments mail as it goes out after DATA: header, body and the closing
// ".". Whatever the user typed, the text cannot end the DATA early, break
// a line limit or add a header: lines that begin with "." get a second
// one, lone CR or LF become CR LF, no line is over 998 bytes, header texts
// hold no line break, names with specials are quoted and bytes above 127
// in a header are encoded words (windows-1252, the program's ANSI text).
#pragma once

#include <string>

namespace corvella::comments {

constexpr size_t kMaxLine = 998;  // bytes before the CR LF (RFC 5321 4.5.3.1.6)
// The longest name or subject written as it is; a longer one becomes
// encoded words.
constexpr size_t kMaxPlainName = 900;

struct MailMessage {
    std::string fromName;  // may be empty
    std::string fromAddress;
    std::string toName;
    std::string toAddress;
    std::string subject;
    std::string date;  // as MailDate gives it
    std::string body;  // any line ends
};

// The text after DATA, ending in CR LF "." CR LF.
std::string BuildMessage(const MailMessage& message);

// The body of the comments mail: the comment, then the block of version
// details.
std::string CommentBody(const std::string& comment, const std::string& version);

// "<title> Support (<long date>)".
std::string SupportSubject(const std::string& title, const std::string& longDate);

struct DateParts {
    int year, month, day, weekday;  // weekday 0 = Sunday
    int hour, minute, second;
    int offsetMinutes;  // local time minus UTC
};
// "Wed, 09 Dec 2026 19:29:23 +0100"
std::string MailDate(const DateParts& d);

// A header text made one line: CR, LF and the other control characters
// become blanks.
std::string OneLine(const std::string& text);
// An unstructured header text (the subject): as it is when it is ASCII,
// else encoded words folded onto lines of their own.
std::string HeaderText(const std::string& text);
// A display name: as it is, quoted when it holds a special, encoded words
// when it holds a byte above 127 (or is over kMaxPlainName). A quoted name
// is cut at the end to stay within kMaxPlainName, quotes included.
std::string DisplayName(const std::string& name);
// The body with every line end CR LF, long lines broken (at the last blank
// that fits, else at the limit) and leading dots doubled.
std::string BodyLines(const std::string& body);

}  // namespace corvella::comments
