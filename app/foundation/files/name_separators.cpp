// The separators of the rename and the quick extract, apart from the name
// builder so that the extract needs nothing of the file service.
#include "app/foundation/files/tag_names.h"

namespace corvella {
namespace files {

const char* const kSeparatorItems[kSeparatorCount] = {
    "Padded Hyphen ( - )",   "Padded Underscore ( _ )", "Padded Period ( . )",
    "Non-Padded Hyphen (-)", "Non-Padded Underscore (_)", "Non-Padded Period (.)"};

std::string SeparatorText(int index) {
    static const char* const kTexts[kSeparatorCount] = {" - ", " _ ", " . ", "-", "_", "."};
    return index >= 0 && index < kSeparatorCount ? kTexts[index] : "";
}

}  // namespace files
}  // namespace corvella
