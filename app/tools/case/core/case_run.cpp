#include "app/tools/case/core/case_run.h"

#include "app/foundation/files/tag_names.h"
#include "app/foundation/settings.h"
#include "app/foundation/text_helpers.h"

namespace corvella {
namespace tagcase {
namespace {

const std::string kSection = std::string(kSettingsRoot) + "\\Options\\Case";

// The list values: name, list length, default index.
struct ListValue {
    const char* name;
    int count;
    int16_t defaultIndex;
    int CaseChoice::*member;
};
const ListValue kLists[] = {
    {"New Case", 3, 0, &CaseChoice::newCase},
    {"Apply Version", 3, 2, &CaseChoice::applyVersion},
    {"Apply To", 2, 1, &CaseChoice::applyTo},
};

}  // namespace

CaseChoice ReadCaseSettings(SettingsStore& store) {
    CaseChoice choice;
    for (const ListValue& v : kLists) {
        const int stored = GetSettingInteger(store, kSection, v.name, v.defaultIndex);
        choice.*v.member = files::IndexOrDefault(stored, v.count, v.defaultIndex);
    }
    for (int box : kKeptFields) choice.fields[box] = GetSettingLong(store, kSection, std::to_string(box), 0) == 1;
    return choice;
}

void SaveCaseSettings(SettingsStore& store, const CaseChoice& choice) {
    for (const ListValue& v : kLists)
        SaveSettingInteger(store, kSection, v.name, static_cast<int16_t>(choice.*v.member));
    for (int box : kKeptFields) SaveSettingInteger(store, kSection, std::to_string(box), choice.fields[box] ? 1 : 0);
}

bool AnyFieldTicked(const std::array<bool, tags::kFieldCount>& fields) {
    for (bool ticked : fields)
        if (ticked) return true;
    return false;
}

bool ConvertTag(tags::TagObject& tag, int fieldCount, const std::string& path, const CaseChoice& choice,
                bool& wrote) {
    wrote = false;
    // A mode outside the list would blank every field.
    if (choice.newCase < kCaseInitialCaps || choice.newCase > kCaseLower) return true;
    if (!tag.ReadTag(path)) return false;
    bool changed = false;
    for (int i = 0; i < fieldCount; ++i) {
        if (!choice.fields[static_cast<size_t>(i)]) continue;
        const std::optional<std::string> value = tag.FieldText(i);
        if (!value) continue;
        const std::string converted = ChangeCase(*value, choice.newCase);
        if (converted == *value) continue;
        if (!tag.SetField(i, converted)) return false;
        // A field kept by name (the ID3v1 genre) may hold what it held.
        const std::optional<std::string> held = tag.FieldText(i);
        changed = changed || !held || *held != *value;
    }
    if (!changed) return true;
    if (!tag.WriteTag(path)) return false;
    wrote = true;
    return true;
}

std::vector<std::string> FilesToConvert(const CaseChoice& choice, const FileSet& files) {
    std::vector<std::string> paths;
    if (choice.applyTo == 0) {
        if (const FileRow* row = files.SelectedRow()) paths.push_back(row->path);
    } else {
        for (const FileRow& row : files.rows) paths.push_back(row.path);
    }
    return paths;
}

batch::BatchOutcome ConvertFiles(const CaseChoice& choice, const std::vector<std::string>& paths,
                                 const tags::TagPair& tags, batch::BatchView& view, int* tagsWritten) {
    auto convert = [&](tags::TagObject* tag, int fieldCount, const std::string& path) {
        bool wrote = false;
        const bool ok = tag != nullptr && ConvertTag(*tag, fieldCount, path, choice, wrote);
        if (wrote && tagsWritten != nullptr) ++*tagsWritten;
        return ok;
    };
    return batch::RunItems(view, kCaption, paths, [&](size_t i) {
        bool ok = true;
        if (choice.applyVersion != 1) ok = convert(tags.id3v1, tags::kV1FieldCount, paths[i]) && ok;
        if (choice.applyVersion != 0) ok = convert(tags.id3v2, tags::kFieldCount, paths[i]) && ok;
        return ok;
    });
}

}  // namespace tagcase
}  // namespace corvella
