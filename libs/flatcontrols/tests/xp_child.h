// Runs tests of the calling test program again in a child process that
// Wine tells it runs on Windows XP: the program's version is set in the
// prefix's registry for that one run, and the child knows itself by an
// environment variable.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace corvella::testing {

inline bool InXpChild(const char* marker) { return std::getenv(marker) != nullptr; }

// The exit code of the child running `filter`; -1 when it could not start.
inline long RunUnderWindowsXp(const char* marker, const std::string& filter) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const char* base = std::strrchr(exe, '\\');
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + (base ? base + 1 : exe);
    HKEY h;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return -1;
    RegSetValueExA(h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(h);
    std::string cmd = std::string("\"") + exe + "\" --gtest_filter=" + filter;
    SetEnvironmentVariableA(marker, "1");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    const BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(marker, nullptr);
    DWORD code = static_cast<DWORD>(-1);
    if (started) {
        WaitForSingleObject(pi.hProcess, 120000);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    return static_cast<long>(code);
}

}  // namespace corvella::testing
