// The program's one subclass manager, shared by every window that must see
// messages of a window it does not own (the flat header, the image button,
// the main window's size hook). Made on first use, kept for the whole run.
#pragma once

#include "libs/common/subclass/subclass.h"

namespace corvella::controls {

platform::SubclassManager& ProgramSubclassManager();

}  // namespace corvella::controls
