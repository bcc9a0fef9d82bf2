#include "app/mainwindow/apply/auto_rename.h"

#include "app/foundation/settings.h"

namespace corvella {
namespace apply {
namespace {

// Row cell of each part value: none, Artist, Album, Track No., Track (the title).
constexpr int kPartCells[5] = {-1, 1, 2, 6, 0};
const char* const kPartValues[4] = {"Rename 1", "Rename 2", "Rename 3", "Rename 4"};

}  // namespace

AutoRenameSettings ReadAutoRenameSettings(SettingsStore& store) {
    const std::string section = std::string(kSettingsRoot) + "\\Options";
    AutoRenameSettings s;
    const AutoRenameSettings defaults;
    s.on = GetSettingLong(store, section, "Auto-Rename", 0) == 1;
    for (int i = 0; i < 4; ++i) {
        const int stored = GetSettingInteger(store, section, kPartValues[i], static_cast<int16_t>(defaults.parts[i]));
        s.parts[i] = files::IndexOrDefault(stored, 5, defaults.parts[i]);
    }
    return s;
}

files::NameRecipe AutoRenameRecipe(const AutoRenameSettings& settings) {
    files::NameRecipe r;
    for (int i = 0; i < 4; ++i) r.fields[i] = kPartCells[files::IndexOrDefault(settings.parts[i], 5, 0)];
    r.separator = " - ";
    r.caseMode = -1;
    return r;
}

files::RenameOutcome AutoRenameFiles(const std::vector<std::string>& written, tags::TagObject& tag,
                                     const files::NameRecipe& recipe, files::FileService& service) {
    std::vector<files::RenameItem> items;
    items.reserve(written.size());
    for (const std::string& path : written) {
        std::vector<std::string> cells(tags::kV1FieldCount);
        if (tag.ReadTag(path))
            for (int i = 0; i < tags::kV1FieldCount; ++i) cells[i] = tag.FieldText(i).value_or("");
        items.push_back({path, files::BuildTagName(path, cells, recipe)});
    }
    return files::RenameToTagNames(service, items);
}

}  // namespace apply
}  // namespace corvella
