// The soft border: an edge style added to a window, never taken away.
#pragma once

#include <windows.h>

namespace corvella::flat {

// Adds WS_EX_STATICEDGE (soft) or WS_EX_CLIENTEDGE (not soft) to the
// window's extended style and redraws its frame. Answers false, always.
bool SetSoftBorder(HWND hWnd, bool softBorder);

}  // namespace corvella::flat
