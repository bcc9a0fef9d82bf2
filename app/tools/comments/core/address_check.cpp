#include "app/tools/comments/core/address_check.h"

#include <algorithm>
#include <iterator>

#include "libs/common/text/text_primitives.h"

namespace corvella::comments {

namespace {

bool IsLetter(char c) {
    const char l = LowerAscii(c);
    return l >= 'a' && l <= 'z';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The domain's dots: none doubled, none beside the "@" (checked by the
// caller), at least one, and no label ending in "-".
bool DomainWellFormed(const std::string& domain) {
    if (domain.find('.') == std::string::npos) return false;
    for (const std::string& label : SplitText(domain, '.'))
        if (label.empty() || label.back() == '-') return false;
    return true;
}

bool FormatFault(const std::string& a, size_t at) {
    const size_t dot = a.find('.');
    if (at == 0 || at + 1 == a.size() || dot == 0 || dot + 1 == a.size()) return true;
    if (a.find("..") != std::string::npos) return true;
    if (a[at - 1] == '.' || a[at + 1] == '.') return true;
    return !DomainWellFormed(a.substr(at + 1));
}

bool CharacterFault(const std::string& a, size_t at) {
    for (size_t i = 0; i < a.size(); ++i) {
        const char c = a[i];
        if (IsLetter(c) || IsDigit(c) || c == '@' || c == '.' || c == '-' || c == '_') continue;
        if (i < at && (c == '+' || c == '\'')) continue;
        return true;
    }
    return false;
}

}  // namespace

bool IsEMailAddress(std::string& address, std::string& reason) {
    address = TrimBlanks(address);
    const std::string& a = address;
    const size_t at = a.find('@');
    const std::string suffix = a.substr(a.rfind('.') == std::string::npos ? a.size() : a.rfind('.') + 1);
    // In this order; the first failure decides. Each line is only reached
    // when the ones before it passed, so it may rely on them.
    const auto fails = [&](int step) -> bool {
        switch (step) {
        case 0: return a.size() < 8;
        case 1: return a.size() > kMaxAddress;
        case 2: return at == std::string::npos;
        case 3: return a.find('@', at + 1) != std::string::npos;
        case 4: return a.find('.') == std::string::npos;
        case 5: return FormatFault(a, at);
        case 6: return CharacterFault(a, at);
        case 7: return !std::all_of(suffix.begin(), suffix.end(), IsLetter);
        case 8: return suffix.size() < 2;
        default: return suffix.size() > 63;
        }
    };
    static const char* const kReasons[] = {"Too short",         "Too long",          "Missing the @",
                                           "Too many @",        "Missing the period", "Invalid format",
                                           "Invalid character", "Invalid format",    "Suffix too short",
                                           "Suffix too long"};
    for (int step = 0; step < static_cast<int>(std::size(kReasons)); ++step) {
        if (fails(step)) {
            reason = kReasons[step];
            return false;
        }
    }
    reason.clear();
    return true;
}

}  // namespace corvella::comments
