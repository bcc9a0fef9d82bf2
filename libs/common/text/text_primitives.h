// The small text operations the whole tree shares, so that each has one
// rule: one byte a character, no locale, free of windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvella {

// Without the blanks (spaces only, not tabs) at either end; "" when nothing
// else is left.
std::string TrimBlanks(const std::string& text);

// Cuts text at every separator: n separators give n + 1 parts, so empty
// parts stay and an empty text gives one empty part.
std::vector<std::string> SplitText(const std::string& text, char separator);

// The text before the first NUL character, or all of it when it has none.
std::string TrimAtNull(const std::string& text);
// The same for a fixed buffer of `size` characters that a system call
// filled; a buffer without a NUL is taken whole.
std::string TrimAtNull(const char* buffer, size_t size);

// "A" to "Z" as "a" to "z"; every other byte unchanged, so the lead and
// trail bytes of a double-byte code page are never folded.
char LowerAscii(char c);
std::string LowerAscii(std::string text);

// A whole number as decimal text with at least two digits ("07", "42",
// "125"); a negative number keeps its sign ("-7").
std::string TwoDigits(int64_t n);

// Whole seconds as "mm:ss": the whole minutes with at least two digits, ":",
// the remaining seconds with two ("00:07", "03:25", "125:00"). Negative
// seconds read as 0.
std::string FormatMinutesSeconds(int64_t seconds);

// `amount` / `per_second` as whole seconds, a half going to the even
// neighbour (1500 ms -> 2 s, 2500 ms -> 2 s); 0 when `per_second` is 0.
// Exact in integers, so no floating-point rounding mode can change it.
int64_t WholeSeconds(uint64_t amount, uint64_t per_second);

}  // namespace corvella
