// The custom-field editor's list rules, apart from its window: what is
// listed, what may be added, and which entry is selected after a removal.
#pragma once

#include <string>
#include <vector>

namespace corvella {
namespace userfields {

// The stored names in their order, each once: a name stored again in
// another case is the same registry value and is not listed twice.
std::vector<std::string> ListedNames(const std::vector<std::string>& stored);

// The text to add: as typed, or "" when it is empty or only blanks.
std::string NameToAdd(const std::string& typed);

// The index of `name` in `listed` without regard to case; -1 when absent.
int FindName(const std::vector<std::string>& listed, const std::string& name);

// The entry selected after entry `removed` went from a list that now has
// `remaining` entries: the next one, else the last; -1 when none is left.
int SelectionAfterRemove(int removed, int remaining);

}  // namespace userfields
}  // namespace corvella
