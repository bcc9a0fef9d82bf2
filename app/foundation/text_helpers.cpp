#include "app/foundation/text_helpers.h"

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

std::string NamedLines(const std::vector<std::string>& names, size_t most) {
    std::string text;
    for (size_t i = 0; i < names.size() && i < most; ++i) text += "\r\n" + names[i];
    if (names.size() > most) text += "\r\n... and " + std::to_string(names.size() - most) + " more.";
    return text;
}

}  // namespace corvella
