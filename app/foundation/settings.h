// The program's settings: the class cRegistry over a SettingsStore, the
// typed shortcuts the forms use, the wipe of the settings tree and the
// version check of start-up.
//
// All settings live under HKEY_CURRENT_USER\Software\Corvella. A value is
// read with a default; when it is missing or an empty text the default is
// written first and then returned. Longs are stored as REG_DWORD, Booleans
// as "True"/"False", everything else (16-bit integers included) as REG_SZ
// text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "app/foundation/settings_store.h"

namespace corvella {

// Key paths below HKEY_CURRENT_USER.
extern const char kSettingsRoot[];           // "Software\Corvella"
extern const char kCustomFieldsSection[];    // "Software\Corvella\Custom Fields"
extern const char kSettingsRootFullPath[];   // "HKEY_CURRENT_USER\Software\Corvella"

// A setting's value as it crosses the settings class: nothing, a 16-bit or
// 32-bit integer, a flag, a floating-point number, a text or raw bytes.
class Variant {
public:
    using Bytes = std::vector<uint8_t>;
    enum class Kind { kEmpty, kInteger, kLong, kBoolean, kDouble, kString, kBytes };

    Variant() = default;
    static Variant Integer(int16_t v) { return Variant(Storage(std::in_place_index<1>, v)); }
    static Variant Long(int32_t v) { return Variant(Storage(std::in_place_index<2>, v)); }
    static Variant Boolean(bool v) { return Variant(Storage(std::in_place_index<3>, v)); }
    static Variant Double(double v) { return Variant(Storage(std::in_place_index<4>, v)); }
    static Variant String(std::string v) {
        return Variant(Storage(std::in_place_index<5>, std::move(v)));
    }
    static Variant FromBytes(Bytes v) { return Variant(Storage(std::in_place_index<6>, std::move(v))); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool IsEmpty() const { return kind() == Kind::kEmpty; }
    // Accessors of the held alternative; calling the wrong one throws
    // std::bad_variant_access.
    int16_t AsInteger() const { return std::get<1>(value_); }
    int32_t AsLong() const { return std::get<2>(value_); }
    bool AsBoolean() const { return std::get<3>(value_); }
    double AsDouble() const { return std::get<4>(value_); }
    const std::string& AsString() const { return std::get<5>(value_); }
    const Bytes& AsBytes() const { return std::get<6>(value_); }

    // The value's text form: "" for Empty, decimal integers, "True"/"False",
    // numbers in up to 15 significant digits ("1.5", "1E+20"), texts as they
    // are, bytes one character each.
    std::string Text() const;

    bool operator==(const Variant& o) const { return value_ == o.value_; }
    bool operator!=(const Variant& o) const { return !(*this == o); }

private:
    using Storage = std::variant<std::monostate, int16_t, int32_t, bool, double, std::string, Bytes>;
    explicit Variant(Storage s) : value_(std::move(s)) {}
    Storage value_;
};

// Error numbers raised by the settings class.
constexpr int32_t kErrRegistry = 26001;
constexpr int32_t kErrSetValue = static_cast<int32_t>(0x800469A9u);
constexpr int32_t kErrEnumerateSections = static_cast<int32_t>(0x800469AAu);
constexpr int32_t kErrAssociationArguments = static_cast<int32_t>(0x800469ACu);
constexpr int32_t kErrAssociationNoClass = static_cast<int32_t>(0x800469ADu);
constexpr int32_t kErrTypeMismatch = 13;

// The source every settings error carries.
extern const char kRegistryErrorSource[];  // "Corvella.m_Registryistry"

class RegistryError : public std::runtime_error {
public:
    RegistryError(int32_t number, std::string description);
    int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

private:
    int32_t number_;
    std::string source_;
    std::string description_;
};

// A root key, a key path and a value name, and the operations on them. Holds
// no key open between calls; the property setters store without checks.
class cRegistry {
public:
    explicit cRegistry(SettingsStore& store) : store_(store) {}

    // Reads hKey\section, value `key`. When it is missing or an empty text,
    // `defaultValue` is written first (type by the rule above) and the
    // stored value is read back and returned. A stored REG_DWORD 0 is a
    // value and is returned as it is. Raises like Value's write.
    Variant GetSetting(int32_t hKey, const std::string& section, const std::string& key,
                       const Variant& defaultValue);
    // Writes by the same type rule.
    void SaveSetting(int32_t hKey, const std::string& section, const std::string& key,
                     const Variant& value);

    bool KeyExists();
    bool CreateKey();     // raises kErrRegistry on failure
    bool DeleteKey();     // the key must have no sub-keys; raises on failure
    bool DeleteValue();   // raises kErrRegistry on failure

    // Reads ValueKey of SectionKey: a REG_SZ / REG_MULTI_SZ as its text
    // (multi strings stay NUL-separated), a REG_EXPAND_SZ expanded, a
    // REG_DWORD (or big-endian one) as a Long, anything else as its bytes.
    // Sets ValueType to the type found. An unreadable value gives Default.
    Variant Value();
    // Writes with ValueType: 1 or 2 the text form (stored as REG_EXPAND_SZ
    // when it holds "%" and another "%" at least two characters later, else
    // REG_SZ); 3 the bytes of a Bytes value; 4 or 5 a 16- or 32-bit integer
    // as REG_DWORD; with 4 or 5 any other value is not written and raises
    // nothing. Any other ValueType raises.
    void SetValue(const Variant& value);

    // Names of all values / sub-keys of SectionKey (0-based here; Count is
    // their number). True also when the key cannot be opened (Count 0).
    bool EnumerateValues(std::vector<std::string>& values, int32_t& count);
    bool EnumerateSections(std::vector<std::string>& sections, int32_t& count);

    // Registers a file type for a program under HKEY_CLASSES_ROOT and
    // HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
    void CreateEXEAssociation(const std::string& exePath, const std::string& className,
                              const std::string& classDescription, const std::string& association,
                              const std::string& openMenuText = "", bool supportPrint = false,
                              const std::string& printMenuText = "", bool supportNew = false,
                              const std::string& newMenuText = "", bool supportInstall = false,
                              const std::string& installMenuText = "",
                              int32_t defaultIconIndex = -1);
    // Further verbs as triples (name, menu text, command).
    void CreateAdditionalEXEAssociations(const std::string& className,
                                         const std::vector<std::string>& triples);

    int32_t ValueType() const { return valueType_; }
    void SetValueType(int32_t v) { valueType_ = v; }
    int32_t ClassKey() const { return classKey_; }
    void SetClassKey(int32_t v) { classKey_ = v; }
    const std::string& SectionKey() const { return sectionKey_; }
    void SetSectionKey(const std::string& v) { sectionKey_ = v; }
    const std::string& ValueKey() const { return valueKey_; }
    void SetValueKey(const std::string& v) { valueKey_ = v; }
    const Variant& Default() const { return default_; }
    void SetDefault(const Variant& v) { default_ = v; }

private:
    void WriteBothClassRoots(const std::string& keyPath, const std::string& text);

    SettingsStore& store_;
    int32_t classKey_ = 0;
    std::string sectionKey_;
    std::string valueKey_;
    int32_t valueType_ = 0;
    Variant default_;
};

// Splits "ROOT\sub\path" at its first backslash. The four root names
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS
// (exact case) become the decimal text of their handles; any other root
// text passes through. False (and both outputs "") for a path without a
// backslash.
bool SplitRegistryPath(const std::string& fullPath, std::string& root, std::string& subPath);

// Walks `path` (root as decimal handle text): appends every sub-key, each
// before its descendants, to keyList, and deletes each key's values except
// those of Software\Corvella\Custom Fields.
void EnumRegistrySubkeys(cRegistry& registry, const std::string& path,
                         std::vector<std::string>& keyList);

// Deletes every value and sub-key below fullPath (for the program
// "HKEY_CURRENT_USER\Software\Corvella") except the key
// Software\Corvella\Custom Fields with its values; the key itself stays. Refuses (kErrTypeMismatch) a path
// without a sub-key or with an unknown root, so a whole root is never wiped.
// The first store error ends the wipe and is raised.
void DeleteRegistryTree(SettingsStore& store, const std::string& fullPath);

// "Major.Minor.Revision" in plain decimal, e.g. "2.1.37".
std::string FormatVersion(int32_t major, int32_t minor, int32_t revision);

enum class VersionCheck {
    kFirstRun,  // no "Version" was stored: it is written now, nothing wiped
    kSame,      // the stored text equals the running version
    kWiped,     // another version: the tree is wiped and "Version" left absent
};

// Start-up: reads "Version" under Software\Corvella with the running
// version as default (writing it when missing), compares exactly and, on a
// difference, wipes the settings tree but "Custom Fields". "Version" is not
// written again in this run. Raises the store's errors.
VersionCheck CheckSettingsVersion(SettingsStore& store, const std::string& runningVersion);

// Typed shortcuts under HKEY_CURRENT_USER, section = a full key path such as
// "Software\Corvella\Options". A stored value that does not convert to the
// asked type gives the default (and is left as it is).
std::string GetSettingText(SettingsStore& store, const std::string& section,
                           const std::string& key, const std::string& defaultValue);
// Stored as "True"/"False"; numeric values and texts count as non-zero.
bool GetSettingBool(SettingsStore& store, const std::string& section, const std::string& key,
                    bool defaultValue);
// Stored as REG_DWORD.
int32_t GetSettingLong(SettingsStore& store, const std::string& section, const std::string& key,
                       int32_t defaultValue);
// Stored as REG_SZ decimal text.
int16_t GetSettingInteger(SettingsStore& store, const std::string& section,
                          const std::string& key, int16_t defaultValue);

void SaveSettingText(SettingsStore& store, const std::string& section, const std::string& key,
                     const std::string& value);
void SaveSettingBool(SettingsStore& store, const std::string& section, const std::string& key,
                     bool value);
void SaveSettingLong(SettingsStore& store, const std::string& section, const std::string& key,
                     int32_t value);
void SaveSettingInteger(SettingsStore& store, const std::string& section,
                        const std::string& key, int16_t value);

// Conversions the typed shortcuts use, as the program converts a read
// value: false when the value has no such meaning.
bool VariantToBool(const Variant& v, bool& out);
bool VariantToLong(const Variant& v, int32_t& out);

// A registry object on the key HKEY_CURRENT_USER\section.
cRegistry CurrentUserSection(SettingsStore& store, const std::string& section);

// Value names / sub-key names of HKEY_CURRENT_USER\section ([] when missing).
std::vector<std::string> ListSettingNames(SettingsStore& store, const std::string& section);
std::vector<std::string> ListSettingSections(SettingsStore& store, const std::string& section);

}  // namespace corvella
