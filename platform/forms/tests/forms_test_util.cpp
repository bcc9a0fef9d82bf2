#include "platform/forms/tests/forms_test_util.h"

#include <cctype>
#include <cstring>
#include <sstream>

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

namespace {

void Key(WORD key, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

WORD KeyNamed(const std::string& name) {
    static const struct {
        const char* name;
        WORD key;
    } kNames[] = {{"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Tab", VK_TAB},   {"Alt", VK_MENU},
                  {"F10", VK_F10},      {"Left", VK_LEFT},  {"Right", VK_RIGHT}, {"Up", VK_UP},
                  {"Down", VK_DOWN}};
    for (const auto& k : kNames)
        if (name == k.name) return k.key;
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
}

}  // namespace

void Type(const std::string& keys) {
    std::istringstream words(keys);
    static const struct {
        const char* prefix;
        WORD key;
    } kHeld[] = {{"Alt+", VK_MENU}, {"Shift+", VK_SHIFT}, {"Ctrl+", VK_CONTROL}};
    for (std::string word; words >> word;) {
        WORD held = 0;
        for (const auto& h : kHeld)
            if (word.rfind(h.prefix, 0) == 0) {
                held = h.key;
                word.erase(0, std::strlen(h.prefix));
            }
        if (held != 0) Key(held, false);
        const WORD key = KeyNamed(word);
        Key(key, false);
        Key(key, true);
        if (held != 0) Key(held, true);
    }
}

}  // namespace corvella::forms::testing
