#include "app/foundation/files/name_cleaner.h"

#include <algorithm>
#include <cstring>

namespace corvella {
namespace files {
namespace {

// The nine characters Windows refuses in a name; NUL and the other control
// codes are dropped as well.
bool Dropped(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 32 || (c != '\0' && std::strchr("\\/:*?\"<>|", c) != nullptr);
}

void TrimEnd(std::string& s, const char* chars) {
    const size_t end = s.find_last_not_of(chars);
    s.erase(end == std::string::npos ? 0 : end + 1);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsUpper(const std::string& s, const char* upper) {
    if (s.size() != std::strlen(upper)) return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (Upper(s[i]) != upper[i]) return false;
    return true;
}

// "_" after the part before the first "." when that part names a device.
void GuardDevice(std::string& name, bool clockDevice) {
    const size_t dot = name.find('.');
    const size_t stemEnd = dot == std::string::npos ? name.size() : dot;
    if (IsDeviceName(name.substr(0, stemEnd), clockDevice)) name.insert(stemEnd, "_");
}

}  // namespace

bool IsDeviceName(const std::string& stem, bool clockDevice) {
    std::string s = stem;
    TrimEnd(s, " ");
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* d : kDevices)
        if (EqualsUpper(s, d)) return true;
    if (s.size() == 4 && s[3] >= '1' && s[3] <= '9' &&
        (EqualsUpper(s.substr(0, 3), "COM") || EqualsUpper(s.substr(0, 3), "LPT")))
        return true;
    return clockDevice && EqualsUpper(s, "CLOCK$");
}

std::string CleanName(const std::string& text, const NameRules& rules) {
    std::string name;
    name.reserve(text.size());
    for (char c : text)
        if (!Dropped(c)) name += c;
    if (rules.maxLength > 0 && name.size() > rules.maxLength) name.resize(rules.maxLength);
    name.erase(0, std::min(name.find_first_not_of(' '), name.size()));
    TrimEnd(name, " .");
    if (name.empty()) return name;
    GuardDevice(name, rules.clockDevice);
    // The "_" may take the name one past its limit: its end gives way, or,
    // when the device name fills the limit, its last character.
    if (rules.maxLength > 0 && name.size() > rules.maxLength) {
        name.resize(rules.maxLength);
        TrimEnd(name, " .");
        const size_t stemEnd = std::min(name.find('.'), name.size());
        if (IsDeviceName(name.substr(0, stemEnd), rules.clockDevice)) name[stemEnd - 1] = '_';
    }
    return name;
}

std::string FitName(const std::string& folder, const std::string& stem, const std::string& ext, size_t limit) {
    if (folder.size() + stem.size() + ext.size() <= limit) return stem + ext;
    if (folder.size() + ext.size() >= limit) return std::string();
    const size_t room = limit - folder.size() - ext.size();
    std::string cut = stem.substr(0, room);
    TrimEnd(cut, " .");
    if (cut.empty()) return std::string();
    // Cut down to a device name ("Conquest" to "Con"): it keeps a "_" in
    // place of its last character when there is no room for one more.
    if (IsDeviceName(cut)) {
        if (cut.size() >= room) cut.pop_back();
        cut += '_';
    }
    return cut + ext;
}

std::string FreeName(const std::string& folder, const std::string& stem, const std::string& ext,
                     const std::function<bool(const std::string& path)>& exists, size_t limit) {
    for (int n = 1; n <= kMaxCopyNumber; ++n) {
        const std::string name = FitName(folder, stem, n == 1 ? ext : " (" + std::to_string(n) + ")" + ext, limit);
        if (name.empty()) return std::string();  // a longer number fits no better
        if (!exists(folder + name)) return name;
    }
    return std::string();
}

}  // namespace files
}  // namespace corvella
