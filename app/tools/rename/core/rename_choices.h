// The rename window's six choices: their lists, their settings under
// Software\Corvella\options\Rename, and the name recipe they make.
#pragma once

#include <array>

#include "app/foundation/files/tag_names.h"
#include "app/foundation/settings_store.h"

namespace corvella {
namespace rename {

extern const char kRenameSection[];  // "Software\Corvella\options\Rename"

// Items of the first name part; parts 2 to 4 put "Do Not Use" before them.
inline constexpr int kNamePartCount = 7;
extern const char* const kNamePartItems[kNamePartCount];  // "Title" ... "Track No."
inline constexpr int kCaseCount = 4;
extern const char* const kCaseItems[kCaseCount];  // "Do Not Use", "Initial", "Upper", "Lower"

struct RenameChoices {
    int separator = 0;                    // cboSeperator
    int textCase = 0;                     // Combo1
    std::array<int, 4> names{{6, 1, 0, 0}};  // cboName(0) to cboName(3)
};

// The stored list indexes; a value missing is written with its default,
// one outside its list gives the default.
RenameChoices ReadRenameChoices(SettingsStore& store);
void SaveRenameChoices(SettingsStore& store, const RenameChoices& choices);

// The recipe: part 1 is cell cboName(0); parts 2 to 4 cell index - 1 when
// in use; the case mode is Combo1's index - 1 (none for "Do Not Use").
files::NameRecipe RecipeOf(const RenameChoices& choices);

}  // namespace rename
}  // namespace corvella
