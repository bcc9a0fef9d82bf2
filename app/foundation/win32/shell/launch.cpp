#include "app/foundation/win32/shell/launch.h"

#include <shellapi.h>

#include <vector>

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace shell {

std::string GetTempFolder() {
    std::vector<char> buf(MAX_PATH + 1);
    DWORD n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    if (n >= buf.size()) {  // longer than the buffer: n is the size it needs
        buf.assign(n + 1, '\0');
        n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    }
    if (n == 0 || n >= buf.size()) return std::string();
    return TrimAtNull(buf.data(), buf.size());
}

std::string GetBrowserPath(intptr_t& result_code) {
    const std::string folder = GetTempFolder();
    const std::string scratch = folder + "dummy.html";
    HANDLE h = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    char buf[MAX_PATH + 1] = {};
    result_code = reinterpret_cast<intptr_t>(FindExecutableA("dummy.html", folder.c_str(), buf));
    DeleteFileA(scratch.c_str());
    // A failed look-up leaves nothing worth returning in the buffer.
    return result_code > 32 ? TrimAtNull(buf, sizeof(buf)) : std::string();
}

bool OpenInBrowser(const std::string& url) {
    intptr_t code = 0;
    const std::string browser = GetBrowserPath(code);
    if (code <= 32 || browser.empty()) return false;

    std::string command = " " + url;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA start;
    ZeroMemory(&start, sizeof(start));
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    const BOOL ok = CreateProcessA(browser.c_str(), line.data(), nullptr, nullptr, FALSE,
                                   NORMAL_PRIORITY_CLASS, nullptr, nullptr, &start, &process);
    const bool started = ok != FALSE && process.hProcess != nullptr;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return started;
}

intptr_t OpenWithAssociatedApp(const std::string& file_name) {
    return reinterpret_cast<intptr_t>(
        ShellExecuteA(GetDesktopWindow(), "Open", file_name.c_str(), "", "C:\\", SW_SHOWNORMAL));
}

}  // namespace shell
}  // namespace corvella
