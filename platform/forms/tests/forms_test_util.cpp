#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {

void FormsTest::SetUp() {
    boxes.clear();
    SetMsgBoxHook([this](const std::string& prompt, unsigned buttons, const std::string& title) {
        boxes.push_back({prompt, buttons, title});
        return IDOK;
    });
}

namespace {
void DrainQueue() {
    // Each test ends its forms like a small program: the quit that the last
    // unload posts must not end the next test's loops.
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
}  // namespace

void FormsTest::TearDown() {
    DrainQueue();
    SetMsgBoxHook(nullptr);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        DoEvents();
    }
    return true;
}

void PumpFor(int ms) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return static_cast<int>(GetTickCount() - start) >= ms; }, ms + 1000);
}

void UserSelects(const ComboBox& combo, int at) {
    SendMessageA(combo.hWnd(), CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    SendMessageA(GetParent(combo.hWnd()), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(combo.hWnd()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo.hWnd()));
}

}  // namespace corvella::forms::testing
