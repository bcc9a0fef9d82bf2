// The tables every window shares for the whole run: the field-name lists of
// both tag versions and the genre names. Portable, so they are tested natively.
#pragma once

#include <string>
#include <vector>

namespace corvella {

// 7 names, index = ID3v1 field number (the field table's captions).
std::vector<std::string> BuildV1FieldNames();
// 11 names: index 0-7 are frames 0-7, 8-10 are frames 9-11 (frame 8,
// Original Artist, has no entry).
std::vector<std::string> BuildV2FieldNames();
// The 148 genre names, index = ID3v1 genre byte; the tag library's table.
std::vector<std::string> BuildGenreList();

}  // namespace corvella
