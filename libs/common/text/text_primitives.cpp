#include "libs/common/text/text_primitives.h"

#include <limits>

namespace corvella {

std::string TrimBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? at : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

std::string TrimAtNull(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string TrimAtNull(const char* buffer, size_t size) {
    size_t n = 0;
    while (n < size && buffer[n] != '\0') ++n;
    return std::string(buffer, n);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
}

std::string TwoDigits(int64_t n) {
    std::string s = std::to_string(n);
    return n >= 0 && n < 10 ? "0" + s : s;
}

std::string FormatMinutesSeconds(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    return TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60);
}

int64_t WholeSeconds(uint64_t amount, uint64_t per_second) {
    if (per_second == 0) return 0;
    uint64_t q = amount / per_second;
    const uint64_t r = amount % per_second;
    // r > per_second / 2 without overflow; an exact half goes to the even q.
    const uint64_t rest = per_second - r;
    if (r > rest || (r == rest && (q & 1) != 0)) ++q;
    const uint64_t most = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    return static_cast<int64_t>(q > most ? most : q);
}

}  // namespace corvella
