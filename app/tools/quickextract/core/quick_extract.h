// The quick extract's rules: a file or folder name cut into pieces at a
// separator, and the "#Map#" token that names a piece by its position so
// that a batch write takes that piece from every file's own name. The
// pieces are cut exactly as the mask expansion cuts the name for the token.
#pragma once

#include <string>
#include <vector>

namespace corvella {
namespace quickextract {

// The separator the dialog offers: the predefined list's entry for choice
// 0, the custom text as typed (blanks kept) for choice 1, else "".
std::string Separator(int choice, int predefinedIndex, const std::string& custom);

// The pieces of `text` at `separator`, ignoring case, each trimmed; no
// pieces for an empty text, the whole text for an empty separator.
std::vector<std::string> Pieces(const std::string& text, const std::string& separator);

// True when a token can name the piece: one is selected and the separator
// holds neither "#" nor ":", which the token cannot carry.
bool CanMap(int selected, const std::string& separator);

// "#Map#" index ":" separator "#".
std::string MapToken(int index, const std::string& separator);

}  // namespace quickextract
}  // namespace corvella
