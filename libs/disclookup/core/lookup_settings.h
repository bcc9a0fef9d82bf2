// Where the disc lookup connects, with the defaults of the public service.
// The library keeps no registry code of its own: the control fills this
// from the values below under HKEY_CURRENT_USER\Software\Corvella\Options\CDDB
// (hosts as text, ports as DWORD; a missing value is written with its
// default, as every setting of the program), so tests and users can point
// the lookup at another server.
#pragma once

#include <cstdint>
#include <string>

namespace corvella::disclookup {

constexpr char kLookupSettingsKey[] = "Software\\Corvella\\Options\\CDDB";
constexpr char kCddbHostValue[] = "CDDB Host";
constexpr char kCddbPortValue[] = "CDDB Port";
constexpr char kSearchHostValue[] = "Search Host";
constexpr char kSearchPortValue[] = "Search Port";
constexpr char kTickIntervalValue[] = "Tick Interval";

struct LookupSettings {
    std::string cddbHost = "freedb.freedb.org";  // CDDB protocol
    uint16_t cddbPort = 8880;
    std::string searchHost = "www.freedb.org";  // the web search page
    uint16_t searchPort = 80;
    // The query's clock, in milliseconds: a query ends after 30 ticks. Tests
    // shorten it instead of waiting half a minute.
    uint32_t tickInterval = 1000;
};

}  // namespace corvella::disclookup
