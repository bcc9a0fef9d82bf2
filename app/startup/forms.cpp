#include "forms.h"

#include <commctrl.h>

#include <string>

#include "mod_main.h"

namespace corvella {

const char kLoadingClass[] = "CorvellaLoading";
const char kMainClass[] = "CorvellaMain";

namespace {

HINSTANCE gInstance = nullptr;

// ---- frmLoading ---------------------------------------------------------------

constexpr UINT_PTR kProgressTimer = 1;  // tmrProgress
constexpr int kProgressMax = 50;
constexpr int kLoadMainAt = 15;
constexpr int kIdProgress = 101;     // pLoading
constexpr int kIdOutput = 102;       // lblOutput
constexpr int kIdGathering = 103;    // Label2

struct LoadingForm {
    HWND hwnd = nullptr;
    HWND progress = nullptr;
    HFONT font = nullptr;
    int value = 0;
    bool inTick = false;
};
LoadingForm gLoading;

void OnProgressTick(HWND hwnd) {
    // Loading the main window may pump messages; no tick may overtake it.
    if (gLoading.inTick) return;
    gLoading.inTick = true;
    ++gLoading.value;
    SendMessageA(gLoading.progress, PBM_SETPOS, gLoading.value, 0);
    if (gLoading.value == kLoadMainAt && !frmMain::Load()) {
        // Without a main window there is nothing to hand over to.
        KillTimer(hwnd, kProgressTimer);
        MessageBoxA(hwnd, "The main window cannot be created.", kAppTitle, MB_OK | MB_ICONERROR);
        SetExitCode(5);
        gLoading.inTick = false;
        DestroyWindow(hwnd);
        return;
    }
    if (gLoading.value >= kProgressMax) {
        KillTimer(hwnd, kProgressTimer);
        frmMain::Show();
        gLoading.inTick = false;
        DestroyWindow(hwnd);
        return;
    }
    gLoading.inTick = false;
}

HWND AddChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
              int h, int id, HFONT font) {
    HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), gInstance,
                                 nullptr);
    if (child != nullptr && font != nullptr)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

LRESULT CALLBACK LoadingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        gLoading.hwnd = hwnd;
        gLoading.value = 0;
        gLoading.font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, "Tahoma");
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        AddChild(hwnd, "STATIC", "Gathering Program Information...", SS_LEFT, 12, 10, 320, 16,
                 kIdGathering, gLoading.font);
        const std::string output = std::string(kAppTitle) +
                                   " is currently loading your personal settings.";
        AddChild(hwnd, "STATIC", output.c_str(), SS_LEFT, 12, 30, 320, 16, kIdOutput,
                 gLoading.font);
        gLoading.progress = AddChild(hwnd, PROGRESS_CLASSA, "", PBS_SMOOTH, 12, 54, 320, 18,
                                     kIdProgress, nullptr);
        SendMessageA(gLoading.progress, PBM_SETRANGE, 0, MAKELPARAM(0, kProgressMax));
        SendMessageA(gLoading.progress, PBM_SETBKCOLOR, 0, RGB(255, 255, 255));
        SendMessageA(gLoading.progress, PBM_SETBARCOLOR, 0, RGB(23, 103, 180));
        SetTimer(hwnd, kProgressTimer, 1, nullptr);
        FormOpened();
        return 0;
    }
    case WM_TIMER:
        if (wp == kProgressTimer) OnProgressTick(hwnd);
        return 0;
    case WM_CLOSE:
        // Closed by hand before the hand-over: the start ends, with no form left.
        KillTimer(hwnd, kProgressTimer);
        frmMain::Unload();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kProgressTimer);
        if (gLoading.font != nullptr) DeleteObject(gLoading.font);
        gLoading = LoadingForm{};
        FormClosed();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

// ---- frmMain ------------------------------------------------------------------

HWND gMain = nullptr;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        gMain = hwnd;
        FormOpened();
        return 0;
    case WM_CLOSE:
        frmLoading::Unload();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        gMain = nullptr;
        FormClosed();
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace

bool RegisterFormClasses(HINSTANCE instance) {
    gInstance = instance;
    WNDCLASSA wc{};
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);

    wc.lpfnWndProc = LoadingProc;
    wc.lpszClassName = kLoadingClass;
    if (RegisterClassA(&wc) == 0) return false;

    wc.lpfnWndProc = MainProc;
    wc.lpszClassName = kMainClass;
    return RegisterClassA(&wc) != 0;
}

namespace frmLoading {

bool Show() {
    if (gLoading.hwnd != nullptr) return true;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT r{0, 0, 344, 84};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_TOPMOST);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, kLoadingClass, kAppTitle, style, x, y, w, h,
                                nullptr, nullptr, gInstance, nullptr);
    if (hwnd == nullptr) return false;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return true;
}

void Unload() {
    if (gLoading.hwnd != nullptr) DestroyWindow(gLoading.hwnd);
}

HWND Handle() { return gLoading.hwnd; }

}  // namespace frmLoading

namespace frmMain {

bool Load() {
    if (gMain != nullptr) return true;
    return CreateWindowExA(0, kMainClass, kAppTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 800, 600, nullptr, nullptr, gInstance,
                           nullptr) != nullptr;
}

void Show() {
    if (gMain == nullptr && !Load()) return;
    ShowWindow(gMain, SW_SHOW);
    SetForegroundWindow(gMain);
}

void Unload() {
    if (gMain != nullptr) DestroyWindow(gMain);
}

HWND Handle() { return gMain; }

}  // namespace frmMain

}  // namespace corvella
