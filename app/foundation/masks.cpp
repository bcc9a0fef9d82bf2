#include "app/foundation/masks.h"

#include "app/foundation/paths.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace foundation {

const char* const kMaskTokens[kMaskTokenCount] = {
    "#Title#",    "#Artist#",  "#Album#", "#Year#",     "#Comments#",  "#Genre#",
    "#Track#",    "#Composer#", "#Org. Artist#", "#Copyright#", "#WebLink#", "#Encoded By#",
    "#Sync#",     "#Map#",     "#Order#", "#Total#"};

namespace {

constexpr int kSyncToken = 12;
constexpr int kMapToken = 13;
constexpr int kOrderToken = 14;
constexpr int kFirstV2OnlyField = 7;

bool EqualAt(const std::string& text, size_t pos, const std::string& find) {
    if (pos + find.size() > text.size()) return false;
    for (size_t i = 0; i < find.size(); ++i)
        if (LowerAscii(text[pos + i]) != LowerAscii(find[i])) return false;
    return true;
}

size_t FindNoCase(const std::string& text, const std::string& find, size_t from) {
    if (find.empty()) return std::string::npos;
    for (size_t p = from; p + find.size() <= text.size(); ++p)
        if (EqualAt(text, p, find)) return p;
    return std::string::npos;
}

// Replaces every occurrence in one left-to-right pass; inserted text is
// never searched again. False when the result would pass kMaxExpandedMask.
// The search runs over a lower-case copy, at the speed of find.
bool ReplaceAllNoCase(std::string& text, const std::string& find, const std::string& value) {
    const std::string lower = LowerAscii(text), key = LowerAscii(find);
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = lower.find(key, pos)) != std::string::npos; pos = hit + find.size()) {
        out.append(text, pos, hit - pos);
        out += value;
        if (out.size() > kMaxExpandedMask) return false;
    }
    out.append(text, pos, std::string::npos);
    if (out.size() > kMaxExpandedMask) return false;
    text.swap(out);
    return true;
}

// A whole number with optional blanks and sign; false for anything else.
bool ParseIndex(const std::string& text, int64_t& out) {
    const std::string t = TrimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size() || t.size() - i > 18) return false;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
    }
    out = negative ? -v : v;
    return true;
}

MaskExpansion Fail(MaskStatus status) {
    MaskExpansion r;
    r.status = status;
    return r;
}

// Replaces every "#Map#index:separator#" token, each once, left to right:
// the piece put in is never searched again, so a name whose pieces hold
// such tokens cannot make the text grow. The status of the first failure,
// otherwise Ok.
MaskStatus ExpandMapTokens(std::string& work, const std::string& file_name) {
    const std::string token = LowerAscii(std::string(kMaskTokens[kMapToken]));
    const std::string title = GetFileTitle(file_name, false);
    const std::string lower = LowerAscii(work);
    std::string out;
    size_t pos = 0;
    for (size_t p; (p = lower.find(token, pos)) != std::string::npos;) {
        const size_t close = work.find('#', p + token.size());
        if (close == std::string::npos) return MaskStatus::Failed;
        const std::string params = work.substr(p + token.size(), close - p - token.size());
        const std::vector<std::string> parts = SplitNoCase(params, ":");
        if (parts.size() < 2) return MaskStatus::ParseError;
        int64_t index = 0;
        if (!ParseIndex(parts[0], index)) return MaskStatus::Failed;
        const std::vector<std::string> pieces = SplitNoCase(title, parts[1]);
        if (index < 0 || index >= static_cast<int64_t>(pieces.size())) return MaskStatus::ParseError;
        out.append(work, pos, p - pos);
        out += TrimBlanks(pieces[static_cast<size_t>(index)]);
        if (out.size() > kMaxExpandedMask) return MaskStatus::Failed;
        pos = close + 1;
    }
    out.append(work, pos, std::string::npos);
    if (out.size() > kMaxExpandedMask) return MaskStatus::Failed;
    work.swap(out);
    return MaskStatus::Ok;
}

}  // namespace

std::vector<std::string> SplitNoCase(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t pos = 0;
    for (size_t hit; (hit = FindNoCase(text, separator, pos)) != std::string::npos; pos = hit + separator.size())
        pieces.push_back(text.substr(pos, hit - pos));
    pieces.push_back(text.substr(pos));
    return pieces;
}

void TrimArray(std::vector<std::string>& items) {
    for (std::string& s : items) s = TrimBlanks(s);
}

int CountOccurrences(const std::string& text, const std::string& find) {
    if (find.empty()) return 0;
    int count = 0;
    for (size_t p = 0; p + 1 < text.size(); ++p)
        if (EqualAt(text, p, find)) ++count;
    return count;
}

std::vector<std::string> SplitByLikelySeparator(const std::string& text) {
    static const char* const kSeparators[3] = {"-", "_", "."};
    std::string separator = "-";
    int best = 0;
    for (int i = 2; i >= 0; --i) {
        const int n = CountOccurrences(text, kSeparators[i]);
        if (n >= best) {
            best = n;
            separator = kSeparators[i];
        }
    }
    std::vector<std::string> pieces = SplitNoCase(text, separator);
    TrimArray(pieces);
    return pieces;
}

MaskExpansion ExpandTagMask(const std::string& file_name, int32_t tag_version, int32_t sync_field,
                            const std::string& mask, int32_t order, int32_t total, TagFieldSource& id3v1,
                            TagFieldSource& id3v2) {
    MaskExpansion result;
    if (mask.find('#') == std::string::npos) {
        result.value = mask;
        return result;
    }
    const bool for_v1 = tag_version == 0;
    std::string work = mask;

    for (int t = 0; t < kMaskTokenCount; ++t) {
        const std::string token = kMaskTokens[t];
        if (LowerAscii(work).find(LowerAscii(token)) == std::string::npos) continue;

        if (t < kSyncToken) {
            if (for_v1 && t >= kFirstV2OnlyField) continue;  // ID3v1 has no such field
            const std::optional<std::string> value = for_v1 ? id3v1.FieldText(t) : id3v2.FieldText(t);
            if (!value || !ReplaceAllNoCase(work, token, *value)) return Fail(MaskStatus::Failed);
        } else if (t == kSyncToken) {
            if (!for_v1 && sync_field >= kFirstV2OnlyField) {
                work.clear();  // a frame the ID3v1 tag does not have
                continue;
            }
            TagFieldSource& other = for_v1 ? id3v2 : id3v1;
            if (!other.ReadTag(file_name)) continue;  // the token stays
            const std::optional<std::string> value = other.FieldText(sync_field);
            if (!value || !ReplaceAllNoCase(work, token, *value)) return Fail(MaskStatus::Failed);
        } else if (t == kMapToken) {
            const MaskStatus status = ExpandMapTokens(work, file_name);
            if (status != MaskStatus::Ok) return Fail(status);
        } else {
            if (!ReplaceAllNoCase(work, token, std::to_string(t == kOrderToken ? order : total)))
                return Fail(MaskStatus::Failed);
        }
    }
    result.value = work;
    return result;
}

}  // namespace foundation
}  // namespace corvella
