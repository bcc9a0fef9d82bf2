#include "app/tools/rename/core/rename_choices.h"

#include <string>

#include "app/foundation/settings.h"

namespace corvella {
namespace rename {

const char kRenameSection[] = "Software\\Corvella\\options\\Rename";
const char* const kNamePartItems[kNamePartCount] = {"Title", "Artist", "Album", "Year", "Comment", "Genre", "Track No."};
const char* const kCaseItems[kCaseCount] = {"Do Not Use", "Initial", "Upper", "Lower"};

namespace {

// The six values in the order the window restores them, with their lists' sizes.
constexpr int kSlotCount = 6;
const char* const kValues[kSlotCount] = {"Seperator", "Case", "0", "1", "2", "3"};
const int kCounts[kSlotCount] = {files::kSeparatorCount, kCaseCount, kNamePartCount,
                                 kNamePartCount + 1, kNamePartCount + 1, kNamePartCount + 1};

int& Slot(RenameChoices& c, int i) { return i == 0 ? c.separator : i == 1 ? c.textCase : c.names[i - 2]; }

}  // namespace

RenameChoices ReadRenameChoices(SettingsStore& store) {
    RenameChoices defaults, out;
    for (int i = 0; i < kSlotCount; ++i) {
        const int fallback = Slot(defaults, i);
        const int stored = GetSettingInteger(store, kRenameSection, kValues[i], static_cast<int16_t>(fallback));
        Slot(out, i) = files::IndexOrDefault(stored, kCounts[i], fallback);
    }
    return out;
}

void SaveRenameChoices(SettingsStore& store, const RenameChoices& choices) {
    RenameChoices c = choices;
    for (int i = 0; i < kSlotCount; ++i)
        SaveSettingInteger(store, kRenameSection, kValues[i], static_cast<int16_t>(Slot(c, i)));
}

files::NameRecipe RecipeOf(const RenameChoices& c) {
    files::NameRecipe r;
    r.fields[0] = files::IndexOrDefault(c.names[0], kNamePartCount, 6);
    for (int k = 1; k < 4; ++k) r.fields[k] = c.names[k] > 0 && c.names[k] <= kNamePartCount ? c.names[k] - 1 : -1;
    r.separator = files::SeparatorText(c.separator);
    r.caseMode = c.textCase > 0 && c.textCase < kCaseCount ? c.textCase - 1 : -1;
    return r;
}

}  // namespace rename
}  // namespace corvella
