#include "libs/tags/ID3v2/core/id3v2_text.h"

#include "libs/common/text/codec.h"

namespace corvella {
namespace id3v2 {
namespace {

bool IsUtf16(uint8_t encoding) { return encoding == kEncUtf16 || encoding == kEncUtf16Be; }

std::u16string DecodeUtf16(const std::string& b, bool big_endian) {
    size_t i = 0;
    if (b.size() >= 2) {
        unsigned char b0 = static_cast<unsigned char>(b[0]), b1 = static_cast<unsigned char>(b[1]);
        if (b0 == 0xFF && b1 == 0xFE) { big_endian = false; i = 2; }
        else if (b0 == 0xFE && b1 == 0xFF) { big_endian = true; i = 2; }
    }
    std::u16string out;
    for (; i + 1 < b.size(); i += 2) {
        unsigned hi = static_cast<unsigned char>(b[big_endian ? i : i + 1]);
        unsigned lo = static_cast<unsigned char>(b[big_endian ? i + 1 : i]);
        char16_t c = static_cast<char16_t>((hi << 8) | lo);
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

std::string EncodeUtf16(const std::u16string& text, bool big_endian, bool mark) {
    std::string out;
    if (mark) out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out.push_back(big_endian ? hi : lo);
        out.push_back(big_endian ? lo : hi);
    }
    return out;
}

}  // namespace

size_t TerminatorSize(uint8_t encoding) { return IsUtf16(encoding) ? 2 : 1; }

size_t FindTerminator(const std::string& bytes, size_t from, uint8_t encoding) {
    if (!IsUtf16(encoding)) return bytes.find('\0', from);
    for (size_t i = from; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
    return std::string::npos;
}

std::string DecodeText(const std::string& bytes, uint8_t encoding) {
    switch (encoding) {
    case kEncUtf16: return system_codec().from_utf16(DecodeUtf16(bytes, false));
    case kEncUtf16Be: return system_codec().from_utf16(DecodeUtf16(bytes, true));
    case kEncUtf8: {
        std::string utf8 = bytes.substr(0, bytes.find('\0'));
        return system_codec().from_utf16(utf8_to_utf16(utf8));
    }
    default: return bytes.substr(0, bytes.find('\0'));
    }
}

std::string EncodeText(const std::string& ansi, uint8_t encoding) {
    switch (encoding) {
    case kEncUtf16: return EncodeUtf16(system_codec().to_utf16(ansi), false, true);
    case kEncUtf16Be: return EncodeUtf16(system_codec().to_utf16(ansi), true, false);
    case kEncUtf8: return utf16_to_utf8(system_codec().to_utf16(ansi));
    default: return ansi;
    }
}

bool FitsLatin1(const std::string& ansi) {
    for (unsigned char c : ansi)
        if (c >= 0x80) {
            for (char16_t u : system_codec().to_utf16(ansi))
                if (u > 0xFF) return false;
            return true;
        }
    return true;
}

}  // namespace id3v2
}  // namespace corvella
