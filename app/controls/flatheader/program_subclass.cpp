#include "app/controls/flatheader/program_subclass.h"

namespace corvella::controls {

platform::SubclassManager& ProgramSubclassManager() {
    // Never destroyed: windows may still route through it while the
    // process ends.
    static auto* manager = new platform::SubclassManager();
    return *manager;
}

}  // namespace corvella::controls
