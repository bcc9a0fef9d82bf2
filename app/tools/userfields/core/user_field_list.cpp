#include "app/tools/userfields/core/user_field_list.h"

#include "app/foundation/text_helpers.h"

namespace corvella {
namespace userfields {

std::vector<std::string> ListedNames(const std::vector<std::string>& stored) {
    std::vector<std::string> listed;
    for (const std::string& name : stored)
        if (FindName(listed, name) < 0) listed.push_back(name);
    return listed;
}

std::string NameToAdd(const std::string& typed) {
    return typed.find_first_not_of(' ') == std::string::npos ? "" : typed;
}

int FindName(const std::vector<std::string>& listed, const std::string& name) {
    for (size_t i = 0; i < listed.size(); ++i)
        if (EqualsNoCase(listed[i], name)) return static_cast<int>(i);
    return -1;
}

int SelectionAfterRemove(int removed, int remaining) {
    if (remaining <= 0) return -1;
    return removed < remaining ? (removed < 0 ? 0 : removed) : remaining - 1;
}

}  // namespace userfields
}  // namespace corvella
