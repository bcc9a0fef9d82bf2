#pragma once

namespace corvella {

// Connects every tool window to the main window's commands; start-up calls
// it once before the main window loads.
void ConnectTools();

}  // namespace corvella
