// A drive whose folders are reachable but which the system's drive list
// does not report, as removable and network drives come and go: a link in
// the prefix's dosdevices made while the wine server runs, which read the
// drive list when it started. Made by the Unix shell, which Wine starts for
// a program that is no Windows one.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace corvella::testing {

class UnlistedDrive {
public:
    // The drive shows `unixFolder`; root() is empty when no letter is free.
    explicit UnlistedDrive(const std::string& unixFolder) {
        const char* prefix = std::getenv("WINEPREFIX");
        char letter = 'Y';
        while (letter > 'D' && (Listed(letter) || Reachable(Root(letter)))) --letter;
        if (prefix == nullptr || letter == 'D') return;
        letter_ = letter;
        link_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter - 'A' + 'a') + ":";
        Shell("ln -sfn '" + unixFolder + "' '" + link_ + "'");
        if (WaitUntil(Root(letter), true) && !Listed(letter)) root_ = Root(letter);
    }
    ~UnlistedDrive() {
        if (link_.empty()) return;
        Shell("rm -f '" + link_ + "'");
        WaitUntil(Root(letter_), false);
    }
    UnlistedDrive(const UnlistedDrive&) = delete;
    UnlistedDrive& operator=(const UnlistedDrive&) = delete;

    const std::string& root() const { return root_; }  // "Y:\"

private:
    static std::string Root(char letter) { return std::string(1, letter) + ":\\"; }
    static bool Listed(char letter) { return (GetLogicalDrives() >> (letter - 'A') & 1) != 0; }
    static bool Reachable(const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    // Wine gives no handle to wait on for a Unix program: its work is waited for.
    static bool WaitUntil(const std::string& root, bool reachable) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(5))
            if (Reachable(root) == reachable) return true;
        return false;
    }
    static void Shell(const std::string& command) {
        std::string line = "sh -c \"" + command + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
        if (pi.hThread != nullptr) CloseHandle(pi.hThread);
        if (pi.hProcess != nullptr) CloseHandle(pi.hProcess);
    }

    char letter_ = 0;
    std::string root_, link_;
};

}  // namespace corvella::testing
