// The creatable classes of Ossivane, for the library's class table.
#pragma once

#include <windows.h>

namespace corvella::commondialog {

HRESULT CreateCommonDialog(REFIID riid, void** ppv);
HRESULT CreateMemory(REFIID riid, void** ppv);

}  // namespace corvella::commondialog
