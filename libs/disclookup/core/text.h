// Text rules the CDDB dialogue and the web search share: the line buffer,
// the checks on ids and categories that go into commands, and the split of
// "artist / title".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvella::disclookup {

// Received bytes cut into complete lines. A line ends at LF; a CR before
// the LF is dropped. A line that grows past the limit without an end marks
// the buffer as overflowed: the peer is not speaking a line protocol.
class LineBuffer {
public:
    explicit LineBuffer(size_t maxLine = 64 * 1024) : maxLine_(maxLine) {}

    void Append(std::string_view bytes);
    // Takes the next complete line; false when none is complete yet.
    bool Next(std::string& line);
    bool Overflowed() const { return overflowed_; }
    // Hands over the bytes not yet taken as lines (a body after headers).
    std::string TakeRest();

private:
    std::string data_;
    size_t start_ = 0;  // where the next line begins in data_
    size_t maxLine_;
    bool overflowed_ = false;
};

std::string Trim(std::string_view s);  // blanks, tabs, CR and LF

// A freedb disc id: exactly 8 hexadecimal digits.
bool IsDiscId(std::string_view s);
// A freedb category: one or more of the letters a to z.
bool IsCategory(std::string_view s);

// "Artist / Title": split at the first " / "; when there is none, at the
// first "/"; both parts trimmed. False (and nothing set) when the text has
// no "/" at all.
bool SplitArtistTitle(std::string_view text, std::string& artist, std::string& title);

}  // namespace corvella::disclookup
