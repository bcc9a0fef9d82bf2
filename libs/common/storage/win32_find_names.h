// Names that the find functions give, as the ANSI calls can open them.
//
// A long name that the ANSI code page cannot hold comes back from the ANSI
// find functions with look-alikes or "?" in place of the missing
// characters, and then names no file. The short name that the file system
// gives such an entry still opens it.
#pragma once

#include <windows.h>

#include <string>

namespace corvella {

// True when the long name of `found`, looked up in `folder` (ending with
// "\"), opens this very entry.
bool LongNameOpens(const std::string& folder, const WIN32_FIND_DATAA& found);

// The name that opens `found`: its long name, else its short name; "" when
// neither does.
std::string OpenableName(const std::string& folder, const WIN32_FIND_DATAA& found);

// `name` (UTF-16, as the file system keeps it) in the ANSI code page, cut at
// its first NUL; `exact` tells whether the code page holds every character.
std::string NarrowName(const wchar_t* name, int chars, bool& exact);

}  // namespace corvella
