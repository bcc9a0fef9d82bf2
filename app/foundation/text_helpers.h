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

// Names for a message, each on a line of its own after a line break, at
// most `most` of them; the rest are counted ("... and 3 more.").
std::string NamedLines(const std::vector<std::string>& names, size_t most = 20);

}  // namespace corvella
