#include "libs/tags/ID3v2/core/id3v2_text.h"

#include "libs/common/text/codec.h"

#include <algorithm>
#include <vector>

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

std::u16string DecodeWide(const std::string& bytes, uint8_t encoding) {
    switch (encoding) {
    case kEncUtf16: return DecodeUtf16(bytes, false);
    case kEncUtf16Be: return DecodeUtf16(bytes, true);
    case kEncUtf8: return utf8_to_utf16(bytes.substr(0, bytes.find('\0')));
    default: return system_codec().to_utf16(bytes.substr(0, bytes.find('\0')));
    }
}

std::string DecodeText(const std::string& bytes, uint8_t encoding) {
    if (encoding == kEncAnsi || encoding > kEncUtf8) return bytes.substr(0, bytes.find('\0'));
    return system_codec().from_utf16(DecodeWide(bytes, encoding));
}

std::string EncodeWide(const std::u16string& text, uint8_t encoding) {
    switch (encoding) {
    case kEncUtf16: return EncodeUtf16(text, false, true);
    case kEncUtf16Be: return EncodeUtf16(text, true, false);
    case kEncUtf8: return utf16_to_utf8(text);
    default: return system_codec().from_utf16(text);
    }
}

std::u16string KeepUnshown(const std::u16string& stored, const std::string& ansi) {
    // The ANSI form of `stored` as UTF-16, character by character, with the
    // characters it lost and where their stand-ins lie.
    struct Lost {
        size_t at, length;        // stand-in within `shown`
        std::u16string original;  // one character, a surrogate pair whole
    };
    std::u16string shown;
    std::vector<Lost> lost;
    std::vector<bool> standing_in;  // by unit of `shown`
    for (size_t i = 0; i < stored.size();) {
        const bool pair = stored[i] >= 0xD800 && stored[i] < 0xDC00 && i + 1 < stored.size() &&
                          stored[i + 1] >= 0xDC00 && stored[i + 1] < 0xE000;
        const std::u16string c = stored.substr(i, pair ? 2 : 1);
        const std::u16string stand_in = system_codec().to_utf16(system_codec().from_utf16(c));
        if (stand_in != c) lost.push_back(Lost{shown.size(), stand_in.size(), c});
        standing_in.insert(standing_in.end(), stand_in.size(), stand_in != c);
        shown += stand_in;
        i += c.size();
    }
    const std::u16string set = system_codec().to_utf16(ansi);
    if (lost.empty()) return set;

    // Where a place of `set` lies in `shown`; npos for none.
    size_t start = 0, end = 0;
    const size_t shortest = std::min(set.size(), shown.size());
    // A common start or end of stand-ins alone tells nothing: "?" typed anew.
    auto carries = [&](size_t from, size_t to) {
        return std::find(standing_in.begin() + from, standing_in.begin() + to, false) != standing_in.begin() + to;
    };
    while (start < shortest && set[start] == shown[start]) ++start;
    if (!carries(0, start)) start = 0;
    while (end < shortest - start && set[set.size() - 1 - end] == shown[shown.size() - 1 - end]) ++end;
    if (!carries(shown.size() - end, shown.size())) end = 0;
    auto place = [&](size_t i) -> size_t {
        if (set.size() == shown.size()) return i;
        if (i < start) return i;
        if (i >= set.size() - end) return i - set.size() + shown.size();
        return std::u16string::npos;
    };

    std::u16string out;
    size_t next_lost = 0;
    for (size_t i = 0; i < set.size();) {
        const size_t j = place(i);
        while (next_lost < lost.size() && j != std::u16string::npos && lost[next_lost].at < j) ++next_lost;
        if (j != std::u16string::npos && next_lost < lost.size() && lost[next_lost].at == j) {
            const Lost& l = lost[next_lost];
            bool same = i + l.length <= set.size();
            for (size_t k = 0; same && k < l.length; ++k) same = place(i + k) == j + k && set[i + k] == shown[j + k];
            if (same) {
                out += l.original;
                i += l.length;
                continue;
            }
        }
        out.push_back(set[i]);
        ++i;
    }
    return out;
}

bool FitsLatin1(const std::u16string& text) {
    for (char16_t u : text)
        if (u > 0xFF) return false;
    return true;
}

}  // namespace id3v2
}  // namespace corvella
