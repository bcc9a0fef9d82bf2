// Names made from tag text or disc data, made safe for the file system.
// Every tool that makes a file or folder name from such text goes through
// here, so that a title like "AC/DC: Live" or "Con" can never make a name
// Windows refuses, a path that leaves its folder, or one past MAX_PATH.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace corvella {
namespace files {

// The longest full path Windows 95 to XP take for a file (MAX_PATH less the
// terminating zero).
constexpr size_t kMaxPath = 259;

struct NameRules {
    // 0: no limit; else the name is cut to this many characters before its
    // end is trimmed (the sorting wizard's folders take 64).
    size_t maxLength = 0;
    // Also treat "CLOCK$" as a device name (the folder names of the sorting
    // wizard).
    bool clockDevice = false;
};

// Drops \ / : * ? " < > | and the codes 1 to 31, cuts to rules.maxLength,
// trims blanks at the start and blanks and dots at the end, and puts "_"
// after the part before the first "." when that part (end blanks ignored)
// is a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9 in any case):
// "Con" gives "Con_", "nul.x" gives "nul_.x". "" when nothing is left; the
// caller decides what an empty name means (reported, "Unknown", a number).
std::string CleanName(const std::string& text, const NameRules& rules = {});

// True when `stem` (end blanks ignored, any case) names a DOS device.
bool IsDeviceName(const std::string& stem, bool clockDevice = false);

// The name `stem` + `ext` for a file in `folder` (which ends with "\"),
// with `stem` shortened at its end (and trimmed again of blanks and dots)
// so that the full path stays within kMaxPath. "" when not even one
// character of the stem fits.
std::string FitName(const std::string& folder, const std::string& stem, const std::string& ext,
                    size_t limit = kMaxPath);

// The highest number FreeName gives a copy: " (999)".
constexpr int kMaxCopyNumber = 999;

// The first name in `folder` (which ends with "\") that `exists` says is
// free: `stem` + `ext`, then `stem` + " (2)" + `ext`, " (3)" ... up to
// kMaxCopyNumber, each fitted by FitName so that a cut shortens the stem and
// keeps the number. `exists` gets the full path. "" when every one is taken
// or none fits.
std::string FreeName(const std::string& folder, const std::string& stem, const std::string& ext,
                     const std::function<bool(const std::string& path)>& exists, size_t limit = kMaxPath);

}  // namespace files
}  // namespace corvella
