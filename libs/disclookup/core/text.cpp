#include "libs/disclookup/core/text.h"

#include <algorithm>

namespace corvella::disclookup {

std::string Trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::string CleanText(std::string_view s) {
    std::string text(s.substr(0, s.find('\0')));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return Trim(text);
}

bool IsDiscId(std::string_view s) {
    auto hex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    return s.size() == 8 && std::all_of(s.begin(), s.end(), hex);
}

bool IsCategory(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool SplitArtistTitle(std::string_view text, std::string& artist, std::string& title) {
    size_t at = text.find(" / ");
    size_t width = 3;
    if (at == std::string_view::npos) {
        at = text.find('/');
        width = 1;
    }
    if (at == std::string_view::npos) return false;
    artist = Trim(text.substr(0, at));
    title = Trim(text.substr(at + width));
    return true;
}

}  // namespace corvella::disclookup
