// Conversion between tag text in the ANSI code page (one or two bytes a
// character) and UTF-16 / UTF-8, kept free of windows.h.
#pragma once

#include <string>

namespace corvella {

class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    // Characters the code page lacks become '?'.
    virtual std::string from_utf16(const std::u16string& text) const = 0;
    virtual std::u16string to_utf16(const std::string& ansi) const = 0;
};

// Windows-1252, the code page of the systems the program is tested on.
const AnsiCodec& cp1252_codec();
// The system's ANSI code page: CP_ACP under Win32, Windows-1252 natively.
const AnsiCodec& system_codec();

// UTF-8 <-> UTF-16; malformed input yields U+FFFD per bad sequence.
std::u16string utf8_to_utf16(const std::string& utf8);
std::string utf16_to_utf8(const std::u16string& text);

}  // namespace corvella
