#include "libs/tags/ID3v1/core/id3v1_tag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {
namespace id3v1 {
namespace {

// Where each text field lives in the record.
struct Slot {
    size_t offset;
    size_t length;
};
constexpr Slot kTextSlots[] = {
    {0, 30},   // Title
    {30, 30},  // Artist
    {60, 30},  // Album
    {90, 4},   // ReleaseYear
    {94, 28},  // Comment (ID3v1.1)
};
// An ID3v1.0 comment also takes the zero byte and the track byte.
constexpr Slot kLongComment = {94, 30};
constexpr size_t kZeroByte = 122;
constexpr size_t kTrackByte = 123;
constexpr size_t kGenreByte = 124;

constexpr uint8_t kNoGenre = 255;
constexpr uint8_t kNoTrack = 0;
constexpr double kLastGenre = 147;
constexpr double kLastTrack = 200;

constexpr size_t kTagSize = 128;  // "TAG" + record
constexpr char kMarker[3] = {'T', 'A', 'G'};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "&H1F" or "&O17": unsigned, at most 32 bits, as the client's literals.
bool ParseRadix(const std::string& s, double& out) {
    if (s.size() < 3 || s[0] != '&') return false;
    const char kind = s[1];
    const unsigned base = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (base == 0) return false;
    uint64_t value = 0;
    for (size_t i = 2; i < s.size(); ++i) {
        const char c = s[i];
        unsigned digit;
        if (IsDigit(c)) digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return false;
        if (digit >= base) return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu) return false;
    }
    out = static_cast<double>(value);
    return true;
}

bool NumericValue(const FieldValue& value, double& out) {
    switch (value.kind) {
    case FieldValue::Kind::Number: out = value.number; return true;
    case FieldValue::Kind::Text: return ParseNumber(value.text, out);
    case FieldValue::Kind::Null: break;
    }
    return false;
}

// A track number; an ID3v2 track "n/m" (track n of m) gives n.
bool TrackNumber(const FieldValue& value, double& out) {
    if (NumericValue(value, out)) return true;
    const std::string::size_type slash = value.kind == FieldValue::Kind::Text ? value.text.find('/') : std::string::npos;
    return slash != std::string::npos && ParseNumber(value.text.substr(0, slash), out);
}

bool TextValue(const FieldValue& value, std::string& out) {
    switch (value.kind) {
    case FieldValue::Kind::Number: out = FormatNumber(value.number); return true;
    case FieldValue::Kind::Text: out = value.text; return true;
    case FieldValue::Kind::Null: break;
    }
    return false;
}

std::string CutAtNull(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string TrimBlanks(const std::string& text) {
    const std::string::size_type first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Saves a file's attributes and makes it writable; restores them on scope
// exit, on every path. Declare before the File so the file closes first.
// Opens the file and finds where its tag block starts (FileLen - 128);
// nullptr when it cannot be opened, is too short or cannot be read.
// The whole 128-byte block is read at once: one call where a batch reads
// thousands of files.
std::unique_ptr<File> OpenTagged(FileSystem& fs, const std::string& path, bool writable,
                                 uint64_t& block, bool& has_tag, Record* record = nullptr) {
    std::unique_ptr<File> file = fs.open(path, writable);
    uint64_t size = 0;
    if (!file || !file->size(size) || size < kTagSize) return nullptr;
    uint8_t bytes[kTagSize];
    block = size - kTagSize;
    if (!file->read_at(block, bytes, sizeof bytes)) return nullptr;
    has_tag = std::memcmp(bytes, kMarker, sizeof kMarker) == 0;
    if (record) std::memcpy(record->data(), bytes + sizeof kMarker, record->size());
    return file;
}

}  // namespace

bool ParseNumber(const std::string& text, double& out) {
    std::string::size_type begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::string s = text.substr(begin, end - begin);
    if (s.empty()) return false;
    if (s[0] == '&') return ParseRadix(s, out);

    // Rebuild in the one form from_chars takes: no '+', 'e' for exponent.
    std::string plain;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') {
        if (s[i] == '-') plain += '-';
        ++i;
    }
    size_t digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) ++digits;
        else if (s[i] == '.' && !point) point = true;
        else break;
        plain += s[i];
    }
    if (digits == 0) return false;
    if (i < s.size() && std::strchr("eEdD", s[i]) != nullptr) {
        plain += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        size_t exp_digits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i, ++exp_digits) plain += s[i];
        if (exp_digits == 0) return false;
    }
    if (i != s.size()) return false;
    double value = 0;
    const std::from_chars_result r = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (r.ec != std::errc() || r.ptr != plain.data() + plain.size()) return false;
    out = value;
    return true;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double rest = value - floor;
    if (rest < 0.5) return floor;
    if (rest > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::string FormatNumber(double value) {
    if (value == 0) return "0";  // also for -0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string text = buf;
    // Two exponent digits at least, whatever the C library pads to.
    const std::string::size_type e = text.find('E');
    if (e != std::string::npos && e + 2 < text.size()) {
        std::string digits = text.substr(e + 2);
        while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
        text = text.substr(0, e + 2) + digits;
    }
    return text;
}

bool CID3v1Tag::IsVersion10() const { return record_[kZeroByte] != 0; }

void CID3v1Tag::Clear() {
    for (const Slot& slot : kTextSlots) std::memset(record_.data() + slot.offset, ' ', slot.length);
    record_[kZeroByte] = 0;
    record_[kTrackByte] = kNoTrack;
    record_[kGenreByte] = kNoGenre;
}

std::optional<std::string> CID3v1Tag::GetFieldValue(int field) const {
    switch (field) {
    case Title: case Artist: case Album: case ReleaseYear: case Comment: {
        const Slot slot = (field == Comment && IsVersion10()) ? kLongComment : kTextSlots[field];
        const std::string raw(reinterpret_cast<const char*>(record_.data()) + slot.offset, slot.length);
        return TrimBlanks(CutAtNull(raw));
    }
    case Genre: {
        const std::vector<std::string>& table = GenreTable();
        const uint8_t g = record_[kGenreByte];
        return g < table.size() ? table[g] : std::string();
    }
    case Track: {
        const uint8_t t = record_[kTrackByte];
        if (IsVersion10() || t < 1 || t > kLastTrack) return std::string();
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02u", static_cast<unsigned>(t));
        return std::string(buf);
    }
    default:
        return std::nullopt;
    }
}

bool CID3v1Tag::SetFieldValue(int field, const FieldValue& value) {
    switch (field) {
    case Title: case Artist: case Album: case ReleaseYear: case Comment: {
        std::string text;
        if (!TextValue(value, text)) return false;
        const Slot slot = (field == Comment && IsVersion10()) ? kLongComment : kTextSlots[field];
        text.resize(std::min(text.size(), slot.length));
        std::memset(record_.data() + slot.offset, ' ', slot.length);
        std::memcpy(record_.data() + slot.offset, text.data(), text.size());
        return true;
    }
    case Genre: {
        double number = 0;
        if (NumericValue(value, number)) {
            record_[kGenreByte] = (number >= 0 && number <= kLastGenre)
                                      ? static_cast<uint8_t>(RoundHalfEven(number))
                                      : kNoGenre;
            return true;
        }
        std::string text;
        if (!TextValue(value, text)) return false;
        // An ID3v2 genre as other writers store it: "(17)" or "(17)Rock".
        const int reference = GenreReference(text);
        record_[kGenreByte] = static_cast<uint8_t>(reference >= 0 && reference <= kLastGenre ? reference
                                                                                            : GenreIndexOf(text));
        return true;
    }
    case Track: {
        // Never converted to text, so a Null is simply "no track".
        double number = 0;
        if (TrackNumber(value, number) && number >= 1 && number <= kLastTrack) {
            record_[kZeroByte] = 0;
            record_[kTrackByte] = static_cast<uint8_t>(RoundHalfEven(number));
        } else if (!IsVersion10()) {
            // On an ID3v1.0 tag the track byte is comment text: leave it.
            record_[kTrackByte] = kNoTrack;
        }
        return true;
    }
    default:
        return true;
    }
}

bool CID3v1Tag::ReadTag(FileSystem& fs, const std::string& path) {
    Clear();
    // A missing file fails to open; no separate existence check needed.
    uint64_t block = 0;
    bool has_tag = false;
    Record read;
    std::unique_ptr<File> file = OpenTagged(fs, path, false, block, has_tag, &read);
    if (!file) return false;
    if (has_tag) record_ = read;
    return true;
}

bool CID3v1Tag::WriteTag(FileSystem& fs, const std::string& path) {
    WritableGuard attributes(fs, path);
    if (!attributes.found()) return false;
    uint64_t block = 0;
    bool has_tag = false;
    std::unique_ptr<File> file = OpenTagged(fs, path, true, block, has_tag);
    if (!file) return false;
    if (has_tag) return file->write_at(block + sizeof kMarker, record_.data(), record_.size());

    std::array<uint8_t, kTagSize> tag;
    std::memcpy(tag.data(), kMarker, sizeof kMarker);
    std::memcpy(tag.data() + sizeof kMarker, record_.data(), record_.size());
    const uint64_t old_size = block + kTagSize;
    if (file->write_at(old_size, tag.data(), tag.size())) return true;
    // A half-written tag would read as audio garbage: cut it off again.
    file->truncate(old_size);
    return false;
}

bool CID3v1Tag::RemoveTag(FileSystem& fs, const std::string& path) {
    WritableGuard attributes(fs, path);
    if (!attributes.found()) return false;
    Clear();
    uint64_t block = 0;
    bool has_tag = false;
    std::unique_ptr<File> file = OpenTagged(fs, path, true, block, has_tag);
    if (!file) return false;
    return !has_tag || file->truncate(block);
}

}  // namespace id3v1
}  // namespace corvella
