// Where the disc lookup connects. The library keeps no registry code of its
// own: the control fills this from the values below, under
// HKEY_CURRENT_USER\Software\Corvella\Options\CDDB (hosts as text, ports as
// DWORD), so tests and users can point it at another server. A missing or
// unusable value leaves the default.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvella::disclookup {

constexpr char kLookupSettingsKey[] = "Software\\Corvella\\Options\\CDDB";

struct LookupSettings {
    std::string cddbHost = "freedb.freedb.org";  // CDDB protocol
    uint16_t cddbPort = 8880;
    std::string searchHost = "www.freedb.org";  // the web search page
    uint16_t searchPort = 80;
};

// Value names: "CDDB Host", "CDDB Port", "Search Host", "Search Port".
// Takes one stored value (a port as decimal text): a host must be one word
// of printable characters, a port 1 to 65535. False, and the setting left
// as it was, for an unknown name or an unusable value.
bool SetLookupValue(LookupSettings& settings, std::string_view name, std::string_view value);

}  // namespace corvella::disclookup
