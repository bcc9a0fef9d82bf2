#include "platform/toolbar/native_toolbar.h"

#include "platform/forms/forms.h"

namespace corvella::platform::detail {

namespace {

BYTE NativeStyle(const ButtonBehaviour& b) {
    BYTE style = TBSTYLE_BUTTON;
    switch (b.kind) {
    case ButtonKind::kSeparator:
        return TBSTYLE_SEP;
    case ButtonKind::kCheck:
        style = TBSTYLE_CHECK;
        break;
    case ButtonKind::kSplit:
        style = TBSTYLE_DROPDOWN;
        break;
    case ButtonKind::kPush:
    case ButtonKind::kHeldCheck:  // its pressed state is set by the program only
        break;
    }
    if (b.group) style |= TBSTYLE_GROUP;
    if (b.autoSize) style |= TBSTYLE_AUTOSIZE;
    return style;
}

}  // namespace

HWND CreateNativeToolbar(HWND host, DWORD extraStyle) {
    InitCommonControls();
    RECT rc{};
    GetClientRect(host, &rc);
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                   CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | extraStyle,
                               0, 0, rc.right, rc.bottom, host, nullptr, forms::App.hInstance(), nullptr);
    if (bar == nullptr) return nullptr;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    return bar;
}

void AddNativeButton(HWND bar, int position, const ButtonBehaviour& behaviour, int image,
                     const std::string& caption, bool pressed, bool enabled) {
    TBBUTTON button{};
    button.idCommand = kFirstButtonId + position;
    button.fsStyle = NativeStyle(behaviour);
    button.iBitmap = behaviour.kind == ButtonKind::kSeparator ? 0 : (image >= 0 ? image : I_IMAGENONE);
    button.fsState = static_cast<BYTE>((enabled ? TBSTATE_ENABLED : 0) | (pressed ? TBSTATE_CHECKED : 0));
    button.iString = -1;
    if (!caption.empty() && behaviour.kind != ButtonKind::kSeparator) {
        // The string table wants a list ending in two NULs.
        std::string list = caption;
        list.push_back('\0');
        button.iString = SendMessageA(bar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.c_str()));
    }
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
}

bool ButtonPressed(HWND bar, int position) {
    const LRESULT state = SendMessageA(bar, TB_GETSTATE, static_cast<WPARAM>(kFirstButtonId + position), 0);
    return state != -1 && (state & TBSTATE_CHECKED) != 0;
}

void SetButtonPressed(HWND bar, int position, bool pressed) {
    // The state itself, not TB_CHECKBUTTON: a held check is no check style.
    const WPARAM id = static_cast<WPARAM>(kFirstButtonId + position);
    const LRESULT state = SendMessageA(bar, TB_GETSTATE, id, 0);
    if (state == -1) return;
    const WORD now = static_cast<WORD>(pressed ? (state | TBSTATE_CHECKED) : (state & ~TBSTATE_CHECKED));
    SendMessageA(bar, TB_SETSTATE, id, MAKELPARAM(now, 0));
}

bool ButtonEnabledAt(HWND bar, int position) {
    return SendMessageA(bar, TB_ISBUTTONENABLED, static_cast<WPARAM>(kFirstButtonId + position), 0) != 0;
}

void SetButtonEnabledAt(HWND bar, int position, bool enabled) {
    SendMessageA(bar, TB_ENABLEBUTTON, static_cast<WPARAM>(kFirstButtonId + position), MAKELPARAM(enabled, 0));
}

SIZE IdealSize(HWND bar) {
    SIZE size{0, 0};
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT rc{};
        if (!SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rc))) continue;
        if (rc.right > size.cx) size.cx = rc.right;
        if (rc.bottom > size.cy) size.cy = rc.bottom;
    }
    if (size.cy == 0) size.cy = HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0));
    return size;
}

int ClickedButton(HWND bar, WPARAM wp, LPARAM lp) {
    if (bar == nullptr || reinterpret_cast<HWND>(lp) != bar) return -1;
    const int id = LOWORD(wp);
    const int count = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    return id >= kFirstButtonId && id < kFirstButtonId + count ? id - kFirstButtonId : -1;
}

}  // namespace corvella::platform::detail
