#include "app/tools/tests/window_test_util.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::tooltest {
namespace {

std::function<void()>& Pending() {
    static std::function<void()> step;
    return step;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(Pending());
    Pending() = nullptr;
    if (step) step();
}

}  // namespace

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string UnixPath(const std::string& winPath) {
    std::string out = winPath.substr(2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string WinPath(const std::string& unixPath) {
    std::string out = "Z:" + unixPath;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string RunUnix(const std::string& command, const std::string& scratch) {
    const std::string done = UnixPath(scratch), part = done + ".part";
    std::string cmd = "Z:\\bin\\sh -c \"" + command + " > '" + part + "'; mv '" + part + "' '" + done + "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_TRUE(forms::testing::PumpUntil(
        [&] { return GetFileAttributesA(scratch.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000));
    const std::string text = Bytes(scratch);
    DeleteFileA(scratch.c_str());
    return text;
}

void Later(std::function<void()> step) {
    Pending() = std::move(step);
    SetTimer(nullptr, 0, 1, &RunPending);
}

}  // namespace corvella::tooltest
