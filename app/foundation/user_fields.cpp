#include "app/foundation/user_fields.h"

#include "app/foundation/settings.h"

namespace corvella {

void AddSetting(SettingsStore& store, const std::string& name, const std::string& section) {
    cRegistry reg = CurrentUserSection(store, section);
    reg.SetValueKey(name);
    reg.SetValueType(kRegSz);
    reg.SetValue(Variant::String(""));
}

void DeleteSetting(SettingsStore& store, const std::string& name, const std::string& section) {
    cRegistry reg = CurrentUserSection(store, section);
    reg.SetValueKey(name);
    reg.DeleteValue();
}

int32_t GetAllSettings(SettingsStore& store, std::vector<std::string>& names,
                       const std::string& section) {
    names = ListSettingNames(store, section);
    return static_cast<int32_t>(names.size());
}

}  // namespace corvella
