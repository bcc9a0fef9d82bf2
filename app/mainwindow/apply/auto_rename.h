// Auto-Rename: with the option "Auto-Rename" on, every file an apply wrote
// gets a name made from its tag as written: the parts "Rename 1" to
// "Rename 4" (0 none, 1 Artist, 2 Album, 3 Track No., 4 Track, the title)
// joined by " - ", the case kept. Names and renames are the rename
// window's (files::BuildTagName, files::RenameToTagNames).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/foundation/files/tag_names.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"

namespace corvella {
namespace apply {

struct AutoRenameSettings {
    bool on = false;
    std::array<int, 4> parts{{3, 4, 0, 0}};
};

// "Auto-Rename" (1 = on) and "Rename 1" to "Rename 4" under
// Software\Corvella\Options; a part outside 0 to 4 gives its default.
AutoRenameSettings ReadAutoRenameSettings(SettingsStore& store);

files::NameRecipe AutoRenameRecipe(const AutoRenameSettings& settings);

// Renames each of `written` by its tag of the version `tag` reads. The
// files not renamed are in the outcome with their reasons.
files::RenameOutcome AutoRenameFiles(const std::vector<std::string>& written, tags::TagObject& tag,
                                     const files::NameRecipe& recipe, files::FileService& service);

}  // namespace apply
}  // namespace corvella
