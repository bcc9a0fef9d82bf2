// Frame text in the encodings an ID3v2 frame can announce, converted to and
// from the bytes of the system's ANSI code page that the tag object hands out.
#pragma once

#include <cstdint>
#include <string>

namespace corvella {
namespace id3v2 {

// Text-encoding bytes of a frame body.
constexpr uint8_t kEncAnsi = 0;      // single bytes, taken as they are
constexpr uint8_t kEncUtf16 = 1;     // UTF-16 with a byte-order mark
constexpr uint8_t kEncUtf16Be = 2;   // UTF-16 big-endian, no mark (2.4)
constexpr uint8_t kEncUtf8 = 3;      // UTF-8 (2.4)

// Bytes of one terminating NUL: 2 for UTF-16, else 1.
size_t TerminatorSize(uint8_t encoding);

// Offset of the first terminator of a string that starts at `from`; UTF-16
// terminators count only on a character boundary. npos when there is none.
size_t FindTerminator(const std::string& bytes, size_t from, uint8_t encoding);

// ANSI text of a stored string, up to its first terminator.
std::string DecodeText(const std::string& bytes, uint8_t encoding);
// The same as UTF-16, nothing lost; encoding 0 is taken in the ANSI code page.
std::u16string DecodeWide(const std::string& bytes, uint8_t encoding);

// Stored form of UTF-16 text, without a terminator; encoding 0 takes the
// ANSI code page's bytes. UTF-16 with a mark is written little-endian
// behind FF FE.
std::string EncodeWide(const std::u16string& text, uint8_t encoding);

// True when the text can be written as ISO-8859-1, which is what other
// readers take an encoding-0 frame for. Windows-1252's 0x80..0x9F (euro
// sign, dashes, curly quotes) and every other code page's upper half fail
// this.
bool FitsLatin1(const std::u16string& text);

// The stored form of a set value, given the stored text it replaces.
// Characters the code page lacks reach the caller as a stand-in ("?", or a
// look-alike letter where the system maps one); a stand-in found unchanged
// in `ansi` at the place it has in the ANSI form of `stored` gives back the
// stored character. That place: the same position when both have the same
// length, else inside the common start or the common end of the two, each
// counted only when it holds a character other than a stand-in. So a caller
// that changes only what the code page carries (case, spacing, words added
// at either end) never turns those characters into "?".
std::u16string KeepUnshown(const std::u16string& stored, const std::string& ansi);

}  // namespace id3v2
}  // namespace corvella
