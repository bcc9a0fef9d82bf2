// The names of the user's own fields, one empty REG_SZ value per name under
// HKEY_CURRENT_USER\<section>; callers pass kCustomFieldsSection. Only the
// names count; they are unique without regard to case and listed in the
// registry's enumeration order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/foundation/settings_store.h"

namespace corvella {

// Writes the empty value `name`, creating the key when it is missing; a
// name already stored is overwritten and nothing is added. Raises
// RegistryError 26001 when the key cannot be created.
void AddSetting(SettingsStore& store, const std::string& name, const std::string& section);

// Deletes the value `name`. Raises RegistryError 26001 when the key cannot
// be opened or the name is not stored.
void DeleteSetting(SettingsStore& store, const std::string& name, const std::string& section);

// Fills `names` (0-based) and returns their number; a missing key gives 0.
int32_t GetAllSettings(SettingsStore& store, std::vector<std::string>& names,
                       const std::string& section);

}  // namespace corvella
