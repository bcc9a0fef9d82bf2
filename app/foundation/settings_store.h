// The key/value store under the settings class.
//
// cRegistry keeps every rule of the program's settings (types, defaults,
// error texts, the tree wipe) in portable code and reaches the registry only
// through this interface: raw value types and bytes, addressed by root handle,
// key path and value name. The Win32 shell implements it over the ANSI
// advapi32 functions, opening and closing a key inside each call; tests use
// MemoryStore. No key handle is held between calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvella {

// Predefined root handles, by value (windows.h spells them as macros, so
// these names must not clash with them).
constexpr int32_t kHkeyClassesRoot = static_cast<int32_t>(0x80000000u);
constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);
constexpr int32_t kHkeyLocalMachine = static_cast<int32_t>(0x80000002u);
constexpr int32_t kHkeyUsers = static_cast<int32_t>(0x80000003u);

// Registry value types.
constexpr int32_t kRegNone = 0;
constexpr int32_t kRegSz = 1;
constexpr int32_t kRegExpandSz = 2;
constexpr int32_t kRegBinary = 3;
constexpr int32_t kRegDword = 4;
constexpr int32_t kRegDwordBigEndian = 5;
constexpr int32_t kRegMultiSz = 7;

enum class StoreResult {
    kOk,
    kNoKey,   // the key could not be opened (or created, for a write)
    kFailed,  // the key was open but the operation itself failed
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // RegOpenKeyExA with KEY_QUERY_VALUE succeeds. An empty path is the root.
    virtual bool KeyExists(int32_t root, const std::string& path) = 0;
    // RegCreateKeyExA (access 0x3F, not volatile): creates the key and any
    // missing parents, or opens an existing one.
    virtual bool CreateKey(int32_t root, const std::string& path) = 0;
    // RegDeleteKeyA: fails when the key is missing, is a root, or still has
    // sub-keys.
    virtual bool DeleteKey(int32_t root, const std::string& path) = 0;

    // Type and raw data of a value ("" = the key's default value). False
    // when the key cannot be opened or the value is missing.
    virtual bool QueryValue(int32_t root, const std::string& path, const std::string& name,
                            int32_t& type, std::vector<uint8_t>& data) = 0;
    // Creates or opens the key (as CreateKey), then RegSetValueExA.
    virtual StoreResult SetValue(int32_t root, const std::string& path, const std::string& name,
                                 int32_t type, const std::vector<uint8_t>& data) = 0;
    // Opens the key with access 0x3F, then RegDeleteValueA.
    virtual StoreResult DeleteValue(int32_t root, const std::string& path,
                                    const std::string& name) = 0;

    // Names of the key's values / sub-keys in the registry's enumeration
    // order. False (and no names) when the key cannot be opened.
    virtual bool EnumValues(int32_t root, const std::string& path,
                            std::vector<std::string>& names) = 0;
    virtual bool EnumSubKeys(int32_t root, const std::string& path,
                             std::vector<std::string>& names) = 0;

    // ExpandEnvironmentStringsA, for REG_EXPAND_SZ values.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

}  // namespace corvella
