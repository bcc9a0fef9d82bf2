// The xmcd entry a CDDB "read" returns: "KEY=value" lines read by key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "libs/disclookup/core/records.h"

namespace corvella::disclookup {

// Decodes the entry escapes \n, \t and \\; any other backslash stays.
std::string DecodeXmcdEscapes(std::string_view value);

// Gathers an entry line by line. A key that comes again continues its value
// (servers split long values over lines), so values are decoded only when
// the disc is taken. TTITLEn is track n+1; tracks a disc cannot have (past
// 99) are ignored, and tracks missing between others stay empty.
class XmcdParser {
public:
    void Line(std::string_view line);
    DiscInfo Disc() const;

private:
    std::string dtitle_, dyear_, dgenre_;
    std::vector<std::string> ttitles_;
};

// The whole entry at once (one line per element).
DiscInfo ParseXmcd(const std::vector<std::string>& lines);

}  // namespace corvella::disclookup
