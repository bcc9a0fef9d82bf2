// File names made from a row's tag fields, and the renames that give the
// files those names. The rename window and the apply's Auto-Rename both
// build names here and move files through the file service, so that a
// title like "AC/DC: Live?" or "Con" can never give a name Windows refuses.
//
// Portable: the file system is reached through files::FileService.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/foundation/files/file_service.h"
#include "app/foundation/text_helpers.h"

namespace corvella {
namespace files {

// The separators the rename and the quick extract offer, by list index.
inline constexpr int kSeparatorCount = 6;
extern const char* const kSeparatorItems[kSeparatorCount];  // "Padded Hyphen ( - )", ...
// " - ", " _ ", " . ", "-", "_", "." for 0 to 5; "" for any other index.
std::string SeparatorText(int index);

// A stored list index: `stored` when it lies in 0..count-1, else `fallback`.
int IndexOrDefault(int stored, int count, int fallback);

// How a name is made: up to four fields (row cell indices 0 = Title to 6 =
// Track; -1 for an unused part), joined by `separator`, then put in a case
// (ChangeCase mode 0 to 2; -1 keeps the case).
struct NameRecipe {
    std::array<int, 4> fields{{-1, -1, -1, -1}};
    std::string separator = " - ";
    int caseMode = -1;
};

// The text a field gives to a name: the track "05/12" gives "05".
std::string NamePartText(int field, const std::string& value);

struct TagName {
    std::string name;    // file name with ".mp3"; "" when none could be made
    std::string reason;  // why there is no name
};

// The new name of the file `path` whose row shows `cells` (Title, Artist,
// ... in the order of the list). A chosen field that is empty keeps its
// separator. Characters Windows refuses go; a device name gets "_"; the
// text before ".mp3" is shortened so that the path fits; a name that is
// empty or only blanks and dots is refused.
TagName BuildTagName(const std::string& path, const std::vector<std::string>& cells, const NameRecipe& recipe);

// One file to rename, with the name its row gave.
struct RenameItem {
    std::string path;
    TagName name;
};

struct RenameOutcome {
    std::vector<std::pair<std::string, std::string>> renamed;  // old path, new path
    // "name.mp3: reason", one per file not renamed, in the order given.
    std::vector<std::string> notRenamed;
};

// Renames every item in its own folder. A file whose name is already its
// own is no work; targets that are other items' old names are tried again
// after those moved; the rest keep their names.
RenameOutcome RenameToTagNames(FileService& service, const std::vector<RenameItem>& items);

// The closing message of a rename: each file not renamed and why, as many
// as a message box holds (FitMessage); "" when every file was renamed. The
// parts, for a message that names more than these.
std::vector<MessagePart> NotRenamedParts(const std::vector<std::string>& notRenamed);
std::string NotRenamedMessage(const std::vector<std::string>& notRenamed);

}  // namespace files
}  // namespace corvella
