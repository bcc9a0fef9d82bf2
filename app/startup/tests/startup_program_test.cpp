// Starts Corvella.exe from the build's bin folder and drives it through its
// windows and its settings key.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/mainwindow/tests/unlisted_drive.h"

namespace {

const char kKey[] = "Software\\Corvella";

#define CORVELLA_TEXT_(x) #x
#define CORVELLA_TEXT(x) CORVELLA_TEXT_(x)
// The project's version, as the build gives it to the version resource.
const std::string kProjectVersion = CORVELLA_TEXT(CORVELLA_VERSION_MAJOR) "." CORVELLA_TEXT(
    CORVELLA_VERSION_MINOR) "." CORVELLA_TEXT(CORVELLA_VERSION_PATCH);

std::string ProgramPath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exe(self);
    return exe.substr(0, exe.find_last_of("\\/") + 1) + "Corvella.exe";
}

// The program's version resource: the first three numbers of the fixed file
// version, and the "ProductVersion" text ("<none>" where missing).
struct ResourceVersion {
    std::string numbers = "<none>";
    std::string text = "<none>";
};

ResourceVersion ReadResourceVersion(const std::string& exe) {
    ResourceVersion out;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data())) return out;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        out.numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                      std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                      std::to_string(HIWORD(fixed->dwFileVersionLS));
    }
    if (VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductVersion", &value, &length))
        out.text = static_cast<const char*>(value);
    return out;
}

// Every form of the program has the forms run-time's window class; the main
// window is the resizable one, the splash has a fixed frame.
const char kFormClass[] = "CorvellaForm";

void DeleteTree(HKEY parent, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD len = sizeof(name);
        if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteTree(key, name);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, path.c_str());
}

void PutText(const std::string& path, const char* name, const std::string& text) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

// The value's text, or "<missing>".
std::string GetText(const std::string& path, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "<missing>";
    char buf[512] = {};
    DWORD size = sizeof(buf) - 1;
    DWORD type = 0;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

std::vector<std::string> Names(const std::string& path, bool subKeys) {
    std::vector<std::string> out;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(name);
        const LONG rc = subKeys ? RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr)
                                : RegEnumValueA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) break;
        out.emplace_back(name, len);
    }
    RegCloseKey(key);
    return out;
}

struct FormSearch {
    DWORD pid;
    bool resizable;
    HWND found;
};

BOOL CALLBACK MatchForm(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<FormSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid != search->pid || std::string(cls) != kFormClass) return TRUE;
    const bool resizable = (GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME) != 0;
    if (resizable != search->resizable) return TRUE;
    search->found = w;
    return FALSE;
}

// A top-level form of the process, shown or not.
HWND ProcessForm(DWORD pid, bool resizable) {
    FormSearch search{pid, resizable, nullptr};
    EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Visible(HWND w) { return (w != nullptr && IsWindowVisible(w)) ? w : nullptr; }

std::string TextOf(HWND w) {
    char text[512] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

// The first child window of `parent` whose class is `cls`.
HWND ChildOfClass(HWND parent, const char* cls) {
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(c, name, sizeof name);
        if (std::string(name) == cls) return c;
    }
    return nullptr;
}

// Waits are bounded only against a hang: a start under an emulator on a busy
// machine takes many seconds, and a state reached returns at once.
constexpr DWORD kLimit = 60000;

template <typename Pred>
bool WaitFor(Pred pred, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
    return true;
}

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override { DeleteTree(HKEY_CURRENT_USER, kKey); }
    void TearDown() override {
        if (pi_.hProcess != nullptr) {
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
        }
        DeleteTree(HKEY_CURRENT_USER, kKey);
    }

    void Start() {
        const std::string exe = ProgramPath();
        std::string cmd = "\"" + exe + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi_))
            << exe;
    }

    HWND MainWindow() const { return ProcessForm(pi_.dwProcessId, true); }
    HWND Splash() const { return ProcessForm(pi_.dwProcessId, false); }

    // Waits for the hand-over to the main window and returns it.
    HWND WaitForMainWindow() {
        HWND main = nullptr;
        WaitFor([&] { return (main = Visible(MainWindow())) != nullptr; }, kLimit);
        return main;
    }

    HWND WaitForSplash() {
        HWND splash = nullptr;
        WaitFor([&] { return (splash = Visible(Splash())) != nullptr; }, kLimit);
        return splash;
    }

    // Closes the window and returns the program's exit code (-1: still running).
    int CloseAndWait(HWND w) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, kLimit) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<int>(code);
    }

    PROCESS_INFORMATION pi_{};
};

TEST_F(ProgramRun, FirstStartWritesVersionAndHandsOverToTheMainWindow) {
    Start();
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    // One version: the project's, in the resource, and stored from there.
    const ResourceVersion resource = ReadResourceVersion(ProgramPath());
    EXPECT_EQ(resource.numbers, kProjectVersion);
    EXPECT_EQ(resource.text, kProjectVersion);
    EXPECT_EQ(GetText(kKey, "Version"), kProjectVersion);
    EXPECT_EQ(TextOf(main), "Corvella");
    // The splash unloads itself once the main window is shown.
    EXPECT_TRUE(WaitFor([&] { return Splash() == nullptr; }, kLimit));
    EXPECT_EQ(CloseAndWait(main), 0);
}

TEST_F(ProgramRun, AnotherVersionWipesAllButCustomFields) {
    const std::string custom = std::string(kKey) + "\\Custom Fields";
    PutText(kKey, "Version", "0.9.1");
    PutText(kKey, "LastFolder", "C:\\music");
    PutText(std::string(kKey) + "\\Options", "Flag", "True");
    PutText(custom, "Field1", "Mood");

    Start();
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    EXPECT_EQ(CloseAndWait(main), 0);

    EXPECT_TRUE(Names(kKey, false).empty()) << "no value is left, Version included";
    // The main window's close writes its layout anew; nothing else is back.
    EXPECT_EQ(Names(kKey, true), (std::vector<std::string>{"Custom Fields", "Layout"}));
    EXPECT_EQ(GetText(custom, "Field1"), "Mood");
}

TEST_F(ProgramRun, SameVersionKeepsEverySetting) {
    PutText(kKey, "Version", kProjectVersion);
    PutText(kKey, "LastFolder", "C:\\music");
    Start();
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    EXPECT_EQ(CloseAndWait(main), 0);
    EXPECT_EQ(GetText(kKey, "Version"), kProjectVersion);
    EXPECT_EQ(GetText(kKey, "LastFolder"), "C:\\music");
}

TEST_F(ProgramRun, ClosingTheSplashEndsTheProgram) {
    Start();
    HWND splash = WaitForSplash();
    ASSERT_NE(splash, nullptr);
    const int code = CloseAndWait(splash);
    if (code == -1 && Visible(MainWindow()) != nullptr) {
        // The hand-over won the race with our close: nothing to judge.
        EXPECT_EQ(CloseAndWait(Visible(MainWindow())), 0);
        GTEST_SKIP() << "splash was gone before it could be closed";
    }
    EXPECT_EQ(code, 0);
    EXPECT_EQ(MainWindow(), nullptr);
}

TEST_F(ProgramRun, TheSplashIsTopMostWithTheProgramTitleAndItsTexts) {
    Start();
    HWND splash = WaitForSplash();
    ASSERT_NE(splash, nullptr) << "no splash";
    EXPECT_NE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(TextOf(splash), "Corvella");

    std::vector<std::string> labels;
    for (HWND c = GetWindow(splash, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (std::string(cls) == "Static") labels.push_back(TextOf(c));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Gathering Program Information...",
                                                "Corvella is currently loading your personal settings."}));

    HWND control = ChildOfClass(splash, "Corvella.ProgressBar");
    ASSERT_NE(control, nullptr) << "the program's own progress bar";
    HWND bar = ChildOfClass(control, "msctls_progress32");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, 0, 0), 50);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, 1, 0), 0);
    EXPECT_NE(GetWindowLongA(bar, GWL_STYLE) & PBS_SMOOTH, 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(bar, WM_USER + 15, 0, 0)), RGB(23, 103, 180));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(bar, WM_USER + 14, 0, 0)), RGB(255, 255, 255));

    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(CloseAndWait(main), 0);
}

// A saved folder on a drive that the system's drive list does not report
// is a missing one: the window opens on the Desktop, which the close stores
// for the next start.
TEST_F(ProgramRun, ASavedFolderOnADriveTheSystemDoesNotListIsMissing) {
    const corvella::testing::UnlistedDrive drive(std::string(std::getenv("WINEPREFIX")) + "/drive_c");
    ASSERT_FALSE(drive.root().empty());
    const std::string layout = std::string(kKey) + "\\Layout\\Main";
    PutText(kKey, "Version", kProjectVersion);
    PutText(layout, "Folder", drive.root() + "windows\\system32");
    Start();
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    EXPECT_EQ(CloseAndWait(main), 0);
    EXPECT_EQ(GetText(layout, "Folder"), "Desktop");
}

// The program writes its hand-over events to the file that
// CORVELLA_HANDOVER_LOG names.
class HandOver : public ProgramRun {
protected:
    void SetUp() override {
        ProgramRun::SetUp();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        log_ = std::string(temp) + "corvella_handover_test.log";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("CORVELLA_HANDOVER_LOG", log_.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("CORVELLA_HANDOVER_LOG", nullptr);
        DeleteFileA(log_.c_str());
        ProgramRun::TearDown();
    }
    std::vector<std::string> Events() const {
        std::vector<std::string> lines;
        FILE* f = std::fopen(log_.c_str(), "rb");
        if (f == nullptr) return lines;
        char buf[256];
        while (std::fgets(buf, sizeof buf, f) != nullptr) {
            std::string line(buf);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
            lines.push_back(line);
        }
        std::fclose(f);
        return lines;
    }
    std::string log_;
};

TEST_F(HandOver, TheMainWindowIsLoadedOnceAt15AndShownOnceAt50) {
    Start();
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    EXPECT_TRUE(WaitFor([&] { return Splash() == nullptr; }, kLimit));
    EXPECT_EQ(CloseAndWait(main), 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"frmMain.Form_Load 15", "frmMain shown 50",
                                                  "frmLoading.Form_Unload", "frmMain.Form_Unload"}));
}

// Points the ID3v1 class's registration at a file that does not exist and
// puts it back afterwards.
class MissingTagLibrary : public ProgramRun {
protected:
    const char* kServer = "CLSID\\{01FC67FD-CF62-4430-ADE9-6CE442BCE929}\\InprocServer32";
    void SetUp() override {
        ProgramRun::SetUp();
        HKEY key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, kServer, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS)
            << "Lumbrel is not registered";
        char buf[MAX_PATH] = {};
        DWORD size = sizeof(buf) - 1;
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
        saved_ = buf;
        const char bogus[] = "C:\\no such folder\\Lumbrel.dll";
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(bogus), sizeof(bogus));
        RegCloseKey(key);
    }
    void TearDown() override {
        ProgramRun::TearDown();
        HKEY key;
        if (!saved_.empty() &&
            RegOpenKeyExA(HKEY_CLASSES_ROOT, kServer, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_.c_str()),
                           static_cast<DWORD>(saved_.size() + 1));
            RegCloseKey(key);
        }
    }
    std::string saved_;
};

TEST_F(MissingTagLibrary, StartStopsWithAMessageNamingTheLibrary) {
    Start();
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Corvella")) != nullptr; }, kLimit))
        << "no message box";
    // The box exists before its text is set: wait for the text itself.
    std::string text;
    WaitFor([&] {
        HWND label = GetDlgItem(box, 0xFFFF);  // the message text of a message box
        text = label != nullptr ? TextOf(label) : std::string();
        return text.find("Lumbrel.dll") != std::string::npos;
    }, kLimit);
    EXPECT_NE(text.find("Lumbrel.dll"), std::string::npos) << text;
    EXPECT_EQ(Splash(), nullptr) << "no splash without a tag object";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(pi_.hProcess, kLimit), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    EXPECT_NE(code, 0u);
}

}  // namespace
