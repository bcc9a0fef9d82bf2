// The probe on the running system: Wine reports whichever Windows version
// the prefix's registry gives the program, so each row sets one and runs a
// probe program under it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kAppKey[] = "Software\\Wine\\AppDefaults\\os_version_probe.exe";

std::string ProbeUnder(const char* version) {
    HKEY h;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kAppKey, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(h);

    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string probe(exe);
    probe = probe.substr(0, probe.find_last_of('\\') + 1) + "os_version_probe.exe";

    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE rd, wr;
    CreatePipe(&rd, &wr, &sa, 0);
    SetHandleInformation(rd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = wr;
    si.hStdError = wr;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::string cmd = "\"" + probe + "\"";
    std::string out;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(wr);
        char buf[64];
        DWORD got = 0;
        while (ReadFile(rd, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    } else {
        CloseHandle(wr);
    }
    CloseHandle(rd);
    RegDeleteKeyA(HKEY_CURRENT_USER, kAppKey);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

TEST(OSVersionUnderWine, EachWindowsVersionAnswersItsOwnMember) {
    struct Row { const char* wine; const char* answers; };
    // Members: Win95, Win98, WinME, WinNT4, Win2000, WinXP.
    const Row rows[] = {
        {"win95", "100000"}, {"win98", "010000"}, {"winme", "011000"}, {"nt40", "000100"},
        {"win2k", "000010"}, {"winxp", "000001"}, {"win2003", "000000"}, {"win7", "000000"},
    };
    for (const Row& r : rows) EXPECT_EQ(ProbeUnder(r.wine), r.answers) << r.wine;
}

}  // namespace
