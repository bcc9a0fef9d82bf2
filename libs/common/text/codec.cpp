#include "libs/common/text/codec.h"

namespace corvella {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
const char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

class Cp1252 : public AnsiCodec {
public:
    std::string from_utf16(const std::u16string& text) const override {
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            char16_t c = text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                ++i;  // a pair stands for one character the code page lacks
                out.push_back('?');
                continue;
            }
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                out.push_back(static_cast<char>(c));
                continue;
            }
            char mapped = '?';
            for (int k = 0; k < 32; ++k)
                if (kHigh1252[k] == c && c != 0) mapped = static_cast<char>(0x80 + k);
            out.push_back(mapped);
        }
        return out;
    }
    std::u16string to_utf16(const std::string& ansi) const override {
        std::u16string out;
        out.reserve(ansi.size());
        for (unsigned char b : ansi) {
            if (b >= 0x80 && b < 0xA0)
                out.push_back(kHigh1252[b - 0x80] ? kHigh1252[b - 0x80] : char16_t(b));
            else
                out.push_back(char16_t(b));
        }
        return out;
    }
};

}  // namespace

const AnsiCodec& cp1252_codec() {
    static Cp1252 codec;
    return codec;
}

std::u16string utf8_to_utf16(const std::string& s) {
    std::u16string out;
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        unsigned need = 0;
        char32_t cp = 0;
        if (b < 0x80) { cp = b; }
        else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; need = 1; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; need = 2; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; need = 3; }
        else { out.push_back(0xFFFD); ++i; continue; }
        bool bad = false;
        for (unsigned k = 1; k <= need; ++k) {
            if (i + k >= n || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) { bad = true; break; }
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        if (bad) { out.push_back(0xFFFD); ++i; continue; }
        i += need + 1;
        static const char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[need] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(0xFFFD);
        } else if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string utf16_to_utf8(const std::u16string& t) {
    std::string out;
    for (size_t i = 0; i < t.size(); ++i) {
        char32_t cp = t[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) out.push_back(static_cast<char>(cp));
        else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace corvella
