// SettingsStore over the ANSI advapi32 registry functions. Every call opens
// and closes its own key; no handle outlives a call.
#pragma once

#include "app/foundation/settings_store.h"

namespace corvella {

class Win32SettingsStore : public SettingsStore {
public:
    bool KeyExists(int32_t root, const std::string& path) override;
    bool CreateKey(int32_t root, const std::string& path) override;
    bool DeleteKey(int32_t root, const std::string& path) override;
    bool QueryValue(int32_t root, const std::string& path, const std::string& name, int32_t& type,
                    std::vector<uint8_t>& data) override;
    StoreResult SetValue(int32_t root, const std::string& path, const std::string& name,
                         int32_t type, const std::vector<uint8_t>& data) override;
    StoreResult DeleteValue(int32_t root, const std::string& path,
                            const std::string& name) override;
    bool EnumValues(int32_t root, const std::string& path,
                    std::vector<std::string>& names) override;
    bool EnumSubKeys(int32_t root, const std::string& path,
                     std::vector<std::string>& names) override;
    std::string ExpandEnvironment(const std::string& text) override;
};

// The registry's store, for the windows that are given no other one.
SettingsStore& RegistryStore();

}  // namespace corvella
