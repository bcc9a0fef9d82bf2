#include "libs/disclookup/core/lookup_settings.h"

namespace corvella::disclookup {

namespace {

struct Entry {
    std::string_view name;
    std::string LookupSettings::*host;  // set for a host value
    uint16_t LookupSettings::*port;     // set for a port value
};

constexpr Entry kEntries[] = {
    {"CDDB Host", &LookupSettings::cddbHost, nullptr},
    {"CDDB Port", nullptr, &LookupSettings::cddbPort},
    {"Search Host", &LookupSettings::searchHost, nullptr},
    {"Search Port", nullptr, &LookupSettings::searchPort},
};

bool ParsePort(std::string_view text, uint16_t& port) {
    if (text.empty() || text.size() > 5) return false;
    uint32_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + uint32_t(c - '0');
    }
    if (n == 0 || n > 65535) return false;
    port = uint16_t(n);
    return true;
}

bool IsHostName(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F) return false;
    return true;
}

}  // namespace

bool SetLookupValue(LookupSettings& settings, std::string_view name, std::string_view value) {
    for (const Entry& e : kEntries) {
        if (e.name != name) continue;
        if (e.host) {
            if (!IsHostName(value)) return false;
            settings.*e.host = std::string(value);
            return true;
        }
        return ParsePort(value, settings.*e.port);
    }
    return false;
}

}  // namespace corvella::disclookup
