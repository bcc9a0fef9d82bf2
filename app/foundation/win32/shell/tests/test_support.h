// What the shell tests share: the data folder the ctest set-up made, and
// waiting while the thread's messages run.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace testing_support {

// The Windows form of the Unix path in CORVELLA_SHELL_DATA, with a trailing
// "\"; "" when the variable is not set.
inline std::string DataFolder() {
    const char* unix_path = std::getenv("CORVELLA_SHELL_DATA");
    if (!unix_path || !*unix_path) return std::string();
    std::string dos;
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto to_dos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* w = to_dos ? to_dos(unix_path) : nullptr) {
        char buf[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof(buf) - 1, nullptr, nullptr);
        HeapFree(GetProcessHeap(), 0, w);
        dos = buf;
    } else {
        dos = std::string("Z:") + unix_path;
        for (char& c : dos)
            if (c == '/') c = '\\';
    }
    if (dos.back() != '\\') dos += '\\';
    return dos;
}

// Runs the thread's messages until `done` holds or `ms` have passed.
template <typename Pred>
bool PumpUntil(Pred done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        forms::DoEvents();
        Sleep(10);
    }
    return true;
}

}  // namespace testing_support
}  // namespace shell
}  // namespace corvella
