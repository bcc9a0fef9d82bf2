// Batch tag values: a mask typed into a field of the edit panel, with
// placeholder tokens between "#" characters, becomes the value written for
// one file ("#Title# - #Artist#", "#Map#1:-#", "#Order#/#Total#", ...).
//
// Portable: the tags are reached through TagFieldSource, which the program
// backs with its shared ID3v1 and ID3v2 objects. Tokens are matched without
// regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvella {
namespace foundation {

// One tag version's object as the mask expansion sees it.
class TagFieldSource {
public:
    virtual ~TagFieldSource() = default;
    // Current text of the field (EFields index for ID3v1, EFrames index for
    // ID3v2), including values already set in this pass; nullopt when the
    // object cannot give it (a failing object, an index it does not know).
    virtual std::optional<std::string> FieldText(int index) = 0;
    // Loads the tag of `path` into the object; false when the file cannot be
    // read.
    virtual bool ReadTag(const std::string& path) = 0;
};

enum class MaskStatus {
    Ok,          // `value` is the text to write (it may be empty)
    ParseError,  // a "#Map#" index or separator does not fit the file's name
    Failed,      // any other failure (malformed token, failing tag object)
};

struct MaskExpansion {
    MaskStatus status = MaskStatus::Ok;
    std::string value;  // empty unless status is Ok
    bool ok() const { return status == MaskStatus::Ok; }
};

// The longest text an expansion may give, far past any tag value a user
// means to write; a longer one fails (MaskStatus::Failed). Text put in by
// one token is searched by the later ones, so without it field values
// holding the next token could multiply the text at every step.
inline constexpr size_t kMaxExpandedMask = size_t(1) << 16;

// Shown by the caller (exclamation icon, OK button) on MaskStatus::ParseError.
inline const char kParserErrorText[] = "There was an error parsing the filename with the details you provided.";
inline const char kParserErrorTitle[] = "Parser Error";

// The tokens in the order they are expanded; index 0..11 is the field index
// the token reads.
inline constexpr int kMaskTokenCount = 16;
extern const char* const kMaskTokens[kMaskTokenCount];

// Expands `mask` for the file `file_name`. `tag_version` 0 = the value is
// for the ID3v1 tag, anything else = for the ID3v2 tag; `sync_field` is the
// index of the field being filled (read by "#Sync#" from the other version).
// `order` is the file's number in the batch, `total` the batch size.
//
// A failed expansion must leave the field of that file unchanged: callers
// test ok() rather than writing an empty value.
MaskExpansion ExpandTagMask(const std::string& file_name, int32_t tag_version, int32_t sync_field,
                            const std::string& mask, int32_t order, int32_t total, TagFieldSource& id3v1,
                            TagFieldSource& id3v2);

// The pieces of `text` at its most frequent separator among "-", "_" and
// "." (a tie goes to "-", then "_"; none found gives "-"), each trimmed.
std::vector<std::string> SplitByLikelySeparator(const std::string& text);

// Removes leading and trailing blanks from every element, in place.
void TrimArray(std::vector<std::string>& items);

// How often `find` occurs in `text`, ignoring case, overlapping matches
// counted; the last character of `text` is never a start position. 0 for
// an empty `find`.
int CountOccurrences(const std::string& text, const std::string& find);

// `text` cut at every `separator`, ignoring case. An empty text gives no
// pieces; an empty separator gives the whole text as one piece.
std::vector<std::string> SplitNoCase(const std::string& text, const std::string& separator);

}  // namespace foundation
}  // namespace corvella
