#include "app/foundation/user_fields.h"

#include "app/foundation/settings.h"

namespace corvella {

namespace {

cRegistry AtSection(SettingsStore& store, const std::string& section) {
    cRegistry reg(store);
    reg.SetClassKey(kHkeyCurrentUser);
    reg.SetSectionKey(section);
    return reg;
}

}  // namespace

void AddSetting(SettingsStore& store, const std::string& name, const std::string& section) {
    cRegistry reg = AtSection(store, section);
    reg.SetValueKey(name);
    reg.SetValueType(kRegSz);
    reg.SetValue(Variant::String(""));
}

void DeleteSetting(SettingsStore& store, const std::string& name, const std::string& section) {
    cRegistry reg = AtSection(store, section);
    reg.SetValueKey(name);
    reg.DeleteValue();
}

int32_t GetAllSettings(SettingsStore& store, std::vector<std::string>& names,
                       const std::string& section) {
    cRegistry reg = AtSection(store, section);
    int32_t count = 0;
    reg.EnumerateValues(names, count);
    return count;
}

}  // namespace corvella
