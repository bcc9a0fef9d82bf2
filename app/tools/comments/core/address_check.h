// The check of the sender's address on the comments wizard's first page:
// Next stays disabled until it passes, so no address that would break the
// mail dialogue reaches the server.
#pragma once

#include <cstddef>
#include <string>

namespace corvella::comments {

// The longest address a mail path carries (RFC 5321 4.5.3.1.3: 256 bytes
// with the angle brackets).
constexpr size_t kMaxAddress = 254;

// Trims the blanks at both ends of `address` in place, then runs the checks
// in order; the first that fails sets `reason` and gives false. On success
// `reason` is emptied.
//   "Too short"            fewer than 8 characters
//   "Too long"             more than kMaxAddress characters
//   "Missing the @"        no "@"
//   "Too many @"           a second "@"
//   "Missing the period"   no "."
//   "Invalid format"       "@" or "." first or last, "..", "." beside "@",
//                          a domain without ".", a domain label ending in "-"
//   "Invalid character"    anything but a-z (any case), 0-9, "@", ".", "-",
//                          "_", and "+" or "'" before the "@"
//   "Invalid format"       a suffix (the text after the last ".") holding
//                          anything but letters
//   "Suffix too short"     a suffix of one letter
//   "Suffix too long"      a suffix over 63 letters
bool IsEMailAddress(std::string& address, std::string& reason);

}  // namespace corvella::comments
