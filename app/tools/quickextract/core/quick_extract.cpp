#include "app/tools/quickextract/core/quick_extract.h"

#include "app/foundation/files/tag_names.h"
#include "app/foundation/masks.h"

namespace corvella {
namespace quickextract {

std::string Separator(int choice, int predefinedIndex, const std::string& custom) {
    if (choice == 0) return files::SeparatorText(predefinedIndex);
    if (choice == 1) return custom;
    return "";
}

std::vector<std::string> Pieces(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces = foundation::SplitNoCase(text, separator);
    foundation::TrimArray(pieces);
    return pieces;
}

bool CanMap(int selected, const std::string& separator) {
    return selected >= 0 && separator.find_first_of("#:") == std::string::npos;
}

std::string MapToken(int index, const std::string& separator) {
    return "#Map#" + std::to_string(index) + ":" + separator + "#";
}

}  // namespace quickextract
}  // namespace corvella
