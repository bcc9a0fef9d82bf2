// Reading the CD component's records: the tracks of a table of contents and
// an address of it as a frame number, a drive's error code as its message, a
// text field as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

// The tracks the TOC lists, its first to its last; 0 when it lists none
// (first track 0, or the last before the first).
int TocTrackCount(const cdaudio::TOC& toc);

// addr[0] * 2^24 + addr[1] * 2^16 + addr[2] * 2^8 + addr[3]; a first byte of
// 128 or more does not fit a signed 32-bit number: std::overflow_error.
int32_t TocAddress(const uint8_t addr[4]);

// The message for one of the component's error codes (0 to -15); "" for any
// other code.
std::string AKRipErrorText(int code);

// Every non-zero byte in order, as a character of the ANSI code page; zero
// bytes are skipped, not taken as the end.
std::string ByteArrayToString(const void* bytes, size_t count);

}  // namespace corvella::cdrip
