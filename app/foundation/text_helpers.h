// Letter case of tag and file-name text (one byte a character, in the
// system's ANSI code page). Trimming and splitting are the shared text
// primitives (libs/common/text/text_primitives.h). Also the names that a
// message lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvella {

// Upper/lower case of a text by the rules of its code page. The Win32 shell
// may supply one over CharUpperBuffA/CharLowerBuffA to follow the system's
// locale; the portable default knows Windows-1252.
class CaseRules {
public:
    virtual ~CaseRules() = default;
    virtual std::string Upper(const std::string& text) const = 0;
    virtual std::string Lower(const std::string& text) const = 0;
};

// Windows-1252: ASCII letters, the accented letters 0xC0-0xDE / 0xE0-0xFE
// (without the multiplication and division signs) and the pairs S/s, OE/oe,
// Z/z with caron and Y/y with diaeresis. Other bytes are left alone.
const CaseRules& Cp1252CaseRules();

// CaseMode values of ChangeCase.
constexpr int32_t kCaseInitialCaps = 0;
constexpr int32_t kCaseUpper = 1;
constexpr int32_t kCaseLower = 2;

// 0: lower case, then upper case for the first character and every character
// that follows a blank, ".", ",", "/" or a backslash; 1: all upper; 2: all
// lower; any other mode: "".
std::string ChangeCase(const std::string& text, int32_t caseMode,
                       const CaseRules& rules = Cp1252CaseRules());

// Equality without regard to case under Windows-1252 rules, as the registry
// compares key and value names.
bool EqualsNoCase(const std::string& a, const std::string& b);

// A message that names files fits the smallest screen the program runs
// on, 640 x 480 pixels, the same on every screen: it names as many as fit
// there and counts the rest ("... and 95 more.").
//
// A message box spends 75 pixels on its caption, margins, icon and OK
// button and 13 pixels on each line of the 8-point message font, so 31
// lines fill the 480; 26 leave room for a task bar and a larger caption.
// The box wraps its text at about 280 pixels, some 40 characters, at
// blanks and backslashes, and a longer run of characters widens it: a
// longer line counts as the lines it wraps into, and a run of more than
// 64 characters is cut in its middle, so that none widens the box past
// 640 pixels. Paths, which break at their backslashes, stay whole.
constexpr size_t kMessageBoxLines = 26;
constexpr size_t kMessageLineChars = 40;
constexpr size_t kMessageWordChars = 64;

// A part of such a message: its text as written (line breaks and all),
// then its names, each on a line of its own after `lineBreak`.
struct MessagePart {
    std::string text;
    std::vector<std::string> names;
};

// The parts in order with as many of their names as fit kMessageBoxLines.
// The lists take the lines left by the texts in turns, a name each, so a
// long first list leaves room for the next; a list cut short ends in a
// line "... and N more.".
std::string FitMessage(const std::vector<MessagePart>& parts, const std::string& lineBreak = "\r\n");

}  // namespace corvella
