// Text rules the CDDB dialogue and the web search share: the checks on ids
// and categories that go into commands, and the split of "artist / title".
// Both read the server through the shared LineBuffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libs/common/text/line_buffer.h"

namespace corvella::disclookup {

std::string Trim(std::string_view s);  // blanks, tabs, CR and LF

// A server's text as a tag, a file name or a message takes it: cut at a
// NUL (nothing past one shows), every other control byte a blank, trimmed.
std::string CleanText(std::string_view s);

// A freedb disc id: exactly 8 hexadecimal digits.
bool IsDiscId(std::string_view s);
// A freedb category: one or more of the letters a to z.
bool IsCategory(std::string_view s);

// "Artist / Title": split at the first " / "; when there is none, at the
// first "/"; both parts trimmed. False (and nothing set) when the text has
// no "/" at all.
bool SplitArtistTitle(std::string_view text, std::string& artist, std::string& title);

}  // namespace corvella::disclookup
