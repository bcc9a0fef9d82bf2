// The ID3v1 tag of one MP3 file at a time: a 125-byte record read from, and
// written to, the last 128 bytes of the file ("TAG" and the record).
//
// Portable: file access goes through corvella::FileSystem, text is bytes in
// the ANSI code page. The COM class is a thin shell over CID3v1Tag.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "libs/common/storage/storage.h"

namespace corvella {
namespace id3v1 {

enum EFields { Title = 0, Artist = 1, Album = 2, ReleaseYear = 3, Comment = 4, Genre = 5, Track = 6 };

// What an automation Variant carries into SetFieldValue. The shell maps
// numeric variants to Number, strings (and anything else it can show as
// text, an empty Variant as "") to Text, and a Null to Null.
struct FieldValue {
    enum class Kind { Number, Text, Null };
    Kind kind = Kind::Text;
    double number = 0;
    std::string text;  // ANSI code page

    static FieldValue Num(double n) { return {Kind::Number, n, std::string()}; }
    static FieldValue Str(std::string s) { return {Kind::Text, 0, std::move(s)}; }
    static FieldValue Nil() { return {Kind::Null, 0, std::string()}; }
};

// Numeric text as an automation client reads it: optional blanks around,
// an optional sign, digits with at most one decimal point, an optional
// exponent (E or D); or "&H" hex / "&O" octal digits. False otherwise.
bool ParseNumber(const std::string& text, double& out);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A number as text the way an automation client shows it (up to 15
// significant digits: 2005, 7.5, 1E+20).
std::string FormatNumber(double value);

constexpr size_t kRecordSize = 125;
using Record = std::array<uint8_t, kRecordSize>;

class CID3v1Tag {
public:
    // All zero: NUL text, zero byte 0, track 0, genre 0.
    CID3v1Tag() { record_.fill(0); }

    // The field as text; nullopt for a field outside 0..6.
    std::optional<std::string> GetFieldValue(int field) const;
    // False only when a Null would have to be shown as text (the shell's
    // type mismatch). A field outside 0..6 changes nothing.
    bool SetFieldValue(int field, const FieldValue& value);

    // Clears the record and fills it from the file's tag. True also when
    // the file has no tag; false when it cannot be read or is under 128 bytes.
    bool ReadTag(FileSystem& fs, const std::string& path);
    // Overwrites the file's tag in place, or appends one.
    bool WriteTag(FileSystem& fs, const std::string& path);
    // Clears the record and cuts the tag off the file.
    bool RemoveTag(FileSystem& fs, const std::string& path);

    const Record& RawRecord() const { return record_; }
    // Blank text, zero byte 0, track 0 (none), genre 255 (none).
    void Clear();

private:
    // A non-zero byte where ID3v1.1 keeps its zero byte: an ID3v1.0 tag,
    // whose comment runs over the track byte.
    bool IsVersion10() const;

    Record record_;
};

}  // namespace id3v1
}  // namespace corvella
