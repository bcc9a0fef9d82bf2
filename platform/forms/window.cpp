#include "platform/forms/window.h"

#include "platform/forms/internal.h"

namespace corvella::forms {

namespace {

RECT WindowRectIn(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    HWND parent = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(hwnd) : nullptr;
    if (parent != nullptr) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void CheckSize(int twips) {
    if (twips < 0) throw Error("Invalid property value", 380);
}

void PlaceWindow(HWND hwnd, int x, int y, int w, int h, UINT flags) {
    SetWindowPos(hwnd, nullptr, x, y, w, h, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::string detail::WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

WindowBase::BusyScope::~BusyScope() {
    if (--object_.busy_ != 0 || !object_.whenIdle_) return;
    // Taken out first: the action may delete the object.
    std::function<void()> action = std::move(object_.whenIdle_);
    object_.whenIdle_ = nullptr;
    action();
}

void WindowBase::WhenIdle(std::function<void()> action) {
    if (busy_ == 0) {
        action();
        return;
    }
    if (!whenIdle_) {
        whenIdle_ = std::move(action);
        return;
    }
    whenIdle_ = [first = std::move(whenIdle_), then = std::move(action)] {
        first();
        then();
    };
}

bool WindowBase::HookMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!WindowProc) return false;
    bool handled = false;
    // A copy: the hook may replace itself.
    const WindowProcHook hook = WindowProc;
    RunHandler(EventOwner(), EventObject(), "WindowProc",
               [&] { handled = hook(msg, wp, lp, result); });
    return handled;
}

int WindowBase::Left() const {
    return hwnd_ != nullptr ? Screen.ToTwipsX(WindowRectIn(hwnd_).left) : left;
}

int WindowBase::Top() const {
    return hwnd_ != nullptr ? Screen.ToTwipsY(WindowRectIn(hwnd_).top) : top;
}

int WindowBase::Width() const {
    if (hwnd_ == nullptr) return width;
    const RECT rc = WindowRectIn(hwnd_);
    return Screen.ToTwipsX(rc.right - rc.left);
}

int WindowBase::Height() const {
    if (hwnd_ == nullptr) return height;
    const RECT rc = WindowRectIn(hwnd_);
    return Screen.ToTwipsY(rc.bottom - rc.top);
}

void WindowBase::SetLeft(int twips) {
    if (hwnd_ == nullptr) {
        left = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, Screen.ToPixelsX(twips), rc.top, 0, 0, SWP_NOSIZE);
}

void WindowBase::SetTop(int twips) {
    if (hwnd_ == nullptr) {
        top = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, rc.left, Screen.ToPixelsY(twips), 0, 0, SWP_NOSIZE);
}

void WindowBase::SetWidth(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        width = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, 0, 0, Screen.ToPixelsX(twips), rc.bottom - rc.top, SWP_NOMOVE);
}

void WindowBase::SetHeight(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        height = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, 0, 0, rc.right - rc.left, Screen.ToPixelsY(twips), SWP_NOMOVE);
}

void WindowBase::Move(int l, int t) {
    if (hwnd_ == nullptr) {
        left = l;
        top = t;
        return;
    }
    PlaceWindow(hwnd_, Screen.ToPixelsX(l), Screen.ToPixelsY(t), 0, 0, SWP_NOSIZE);
}

void WindowBase::Move(int l, int t, int w, int h) {
    CheckSize(w);
    CheckSize(h);
    if (hwnd_ == nullptr) {
        left = l;
        top = t;
        width = w;
        height = h;
        return;
    }
    PlaceWindow(hwnd_, Screen.ToPixelsX(l), Screen.ToPixelsY(t), Screen.ToPixelsX(w),
                Screen.ToPixelsY(h), 0);
}

bool WindowBase::Visible() const {
    if (hwnd_ == nullptr) return visible;
    return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void WindowBase::SetVisible(bool on) {
    if (hwnd_ == nullptr) {
        visible = on;
        return;
    }
    ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

bool WindowBase::Enabled() const { return hwnd_ != nullptr ? IsWindowEnabled(hwnd_) != 0 : enabled; }

void WindowBase::SetEnabled(bool on) {
    if (hwnd_ == nullptr) {
        enabled = on;
        return;
    }
    EnableWindow(hwnd_, on ? TRUE : FALSE);
}

std::string WindowBase::Text() const {
    if (hwnd_ != nullptr) return detail::WindowText(hwnd_);
    const std::string* design = DesignText();
    return design != nullptr ? *design : std::string();
}

void WindowBase::SetText(const std::string& value) {
    if (hwnd_ != nullptr) {
        SetWindowTextA(hwnd_, value.c_str());
        return;
    }
    if (std::string* design = DesignText()) *design = value;
}

void WindowBase::Refresh() {
    if (hwnd_ != nullptr)
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace corvella::forms
