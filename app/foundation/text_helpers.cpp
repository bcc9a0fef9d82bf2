#include "app/foundation/text_helpers.h"

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace {

unsigned char UpperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
    }
}

unsigned char LowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

class Cp1252Rules : public CaseRules {
public:
    std::string Upper(const std::string& text) const override {
        std::string out(text);
        for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
        return out;
    }
    std::string Lower(const std::string& text) const override {
        std::string out(text);
        for (char& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
        return out;
    }
};

bool IsWordSeparator(char c) {
    return c == ' ' || c == '.' || c == ',' || c == '/' || c == '\\';
}

}  // namespace

const CaseRules& Cp1252CaseRules() {
    static const Cp1252Rules rules;
    return rules;
}

std::string ChangeCase(const std::string& text, int32_t caseMode, const CaseRules& rules) {
    switch (caseMode) {
    case kCaseUpper:
        return rules.Upper(text);
    case kCaseLower:
        return rules.Lower(text);
    case kCaseInitialCaps: {
        std::string lower = rules.Lower(text);
        std::string out;
        out.reserve(lower.size());
        for (size_t i = 0; i < lower.size(); ++i) {
            if (i == 0 || IsWordSeparator(lower[i - 1]))
                out += rules.Upper(std::string(1, lower[i]));
            else
                out += lower[i];
        }
        return out;
    }
    default:
        return "";
    }
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperByte(static_cast<unsigned char>(a[i])) != UpperByte(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

namespace {

// The lines of the box a line of text takes: words wrap at
// kMessageLineChars, and a longer word takes the lines it fills.
size_t WrappedLines(const std::string& line) {
    size_t lines = 1, at = 0;
    for (const std::string& word : SplitText(line, ' ')) {
        if (at > 0 && at + 1 + word.size() > kMessageLineChars) {
            ++lines;
            at = 0;
        } else if (at > 0) {
            ++at;
        }
        at += word.size();
        for (; at > kMessageLineChars; at -= kMessageLineChars) ++lines;
    }
    return lines;
}

// The lines a text takes; after other text its first line goes on the
// line before.
size_t TextLines(const std::string& text, bool after) {
    if (text.empty()) return 0;
    size_t lines = 0;
    for (std::string line : SplitText(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines += WrappedLines(line);
    }
    return after ? lines - 1 : lines;
}

// The name with each run too long for the box cut to its start and end.
std::string ShortName(const std::string& name) {
    const size_t head = 20, tail = kMessageWordChars - head - 3;
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != ' ' && name[i] != '\\') continue;
        if (i - start > kMessageWordChars) out += name.substr(start, head) + "..." + name.substr(i - tail, tail);
        else out += name.substr(start, i - start);
        if (i < name.size()) out += name[i];
        start = i + 1;
    }
    return out;
}

}  // namespace

std::string FitMessage(const std::vector<MessagePart>& parts, const std::string& lineBreak) {
    // A list with names holds a line for its count until the last name
    // takes that line.
    size_t used = 0;
    std::vector<std::vector<std::string>> names(parts.size());
    std::vector<size_t> shown(parts.size(), 0);
    for (size_t k = 0; k < parts.size(); ++k) {
        used += TextLines(parts[k].text, used > 0) + (parts[k].names.empty() ? 0 : 1);
        for (const std::string& name : parts[k].names) names[k].push_back(ShortName(name));
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t k = 0; k < parts.size(); ++k) {
            if (shown[k] == names[k].size()) continue;
            const size_t more = WrappedLines(names[k][shown[k]]) - (shown[k] + 1 == names[k].size() ? 1 : 0);
            if (used + more > kMessageBoxLines) continue;
            used += more;
            ++shown[k];
            grew = true;
        }
    }
    std::string text;
    for (size_t k = 0; k < parts.size(); ++k) {
        text += parts[k].text;
        for (size_t i = 0; i < shown[k]; ++i) text += lineBreak + names[k][i];
        if (shown[k] < names[k].size())
            text += lineBreak + "... and " + std::to_string(names[k].size() - shown[k]) + " more.";
    }
    return text;
}

}  // namespace corvella
