#include "app/controls/progressbar/progress_bar.h"

#include <commctrl.h>

#include "platform/forms/automation.h"

namespace corvella::controls {

const char kProgressBarClass[] = "Corvella.ProgressBar";

namespace {

// The flat look knows the bar by this name and gives its progress window
// (what hWnd answers) a soft border.
void RegisterFace() {
    static const bool registered = [] {
        forms::RegisterAutomationType(
            {"ProgressBar", [](const forms::Control& c) { return dynamic_cast<const ProgressBar*>(&c) != nullptr; },
             [](const forms::Control& c) { return static_cast<const ProgressBar&>(c).hWnd(); }});
        return true;
    }();
    (void)registered;
}

void SetExStyleBit(HWND hwnd, DWORD bit, bool on) {
    const LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
    SetWindowLongA(hwnd, GWL_EXSTYLE, on ? (ex | static_cast<LONG>(bit)) : (ex & ~static_cast<LONG>(bit)));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

COLORREF TranslateColour(uint32_t colour) {
    if ((colour & 0x80000000u) != 0) return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour);
}

ProgressBar::~ProgressBar() { Destroy(); }

bool ProgressBar::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kProgressBarClass)) return false;
    RegisterFace();
    state_ = State{};
    if (!CreateWindowIn(parent, kProgressBarClass, WS_CLIPCHILDREN, 0, "")) return false;

    // The design values go in as a saved control's properties are read: the
    // style ones before the progress window is made, edges and colours
    // through their setters afterwards. The numbers are stored first, so the
    // new window gets them at once and never clamps the position to a range
    // that is not the design's.
    SetSmooth(smooth);
    SetOrientation(orientation);
    state_.position = position;
    state_.min = min;
    state_.max = max;
    state_.step = step;
    CreateBar();
    SetBorderStyle(borderStyle);
    SetForeColor(foreColor);
    SetBackColor(backColor);
    return true;
}

void ProgressBar::OnDetach() { DestroyBar(); }

void ProgressBar::DestroyBar() {
    HWND bar = bar_;
    bar_ = nullptr;
    if (bar == nullptr || !IsWindow(bar)) return;
    ShowWindow(bar, SW_HIDE);
    SetParent(bar, nullptr);
    DestroyWindow(bar);
}

void ProgressBar::CreateBar() {
    DestroyBar();
    InitCommonControls();
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (state_.orientation == 1) style |= PBS_VERTICAL;
    if (state_.smooth) style |= PBS_SMOOTH;
    RECT rc{};
    GetClientRect(ContainerWindow(), &rc);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", style, 0, 0, rc.right - rc.left,
                           rc.bottom - rc.top, ContainerWindow(), nullptr, forms::App.hInstance(),
                           nullptr);
    if (bar_ == nullptr) return;
    // A new window starts with the class's own range and step (0 to 100, 10);
    // it gets the stored ones so that the bar does what the properties say.
    SendRange();  // and the position
    SendMessageA(bar_, PBM_SETSTEP, static_cast<WPARAM>(state_.step), 0);
}

void ProgressBar::Recreate() {
    CreateBar();
    if (bar_ == nullptr) return;
    ApplyBorder();
    SendMessageA(bar_, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(TranslateColour(state_.backColor)));
    SendMessageA(bar_, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(TranslateColour(state_.foreColor)));
}

void ProgressBar::SendRange() {
    if (bar_ == nullptr) return;
    SendMessageA(bar_, PBM_SETRANGE32, static_cast<WPARAM>(state_.min), static_cast<LPARAM>(state_.max));
    const auto high = static_cast<int32_t>(SendMessageA(bar_, PBM_GETRANGE, 0, 0));
    const auto low = static_cast<int32_t>(SendMessageA(bar_, PBM_GETRANGE, 1, 0));
    if (high != state_.max || low != state_.min) {
        // A progress class without 32-bit ranges.
        SendMessageA(bar_, PBM_SETRANGE, 0,
                     MAKELPARAM(static_cast<WORD>(state_.min & 0xFFFF),
                                static_cast<WORD>(state_.max & 0xFFFF)));
    }
    // The window clamped its position to the old range; it shows the stored
    // one again where the new range allows.
    SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(state_.position), 0);
}

void ProgressBar::ApplyBorder() {
    HWND own = ContainerWindow();
    if (bar_ != nullptr) SetExStyleBit(bar_, WS_EX_STATICEDGE, state_.borderStyle == 1);
    if (own != nullptr) SetExStyleBit(own, WS_EX_CLIENTEDGE, state_.borderStyle == 2);
    // The control's client area changes with its edge.
    FitBar();
}

void ProgressBar::FitBar() {
    if (bar_ == nullptr) return;
    RECT rc{};
    GetClientRect(ContainerWindow(), &rc);
    MoveWindow(bar_, 0, 0, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

LRESULT ProgressBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) {
        FitBar();
        return 0;
    }
    return Control::OnMessage(msg, wp, lp);
}

// ---- properties ----------------------------------------------------------------

int ProgressBar::Orientation() const { return Get(orientation, state_.orientation); }

void ProgressBar::SetOrientation(int value) {
    Set(orientation, state_.orientation, value, [&] {
        if (bar_ != nullptr) Recreate();
    });
}

bool ProgressBar::Smooth() const { return Get(smooth, state_.smooth); }

void ProgressBar::SetSmooth(bool value) {
    Set(smooth, state_.smooth, value, [&] {
        if (bar_ != nullptr) Recreate();
    });
}

int32_t ProgressBar::Min() const { return Get(min, state_.min); }

void ProgressBar::SetMin(int32_t value) {
    Set(min, state_.min, value, [&] {
        SendRange();
    });
}

int32_t ProgressBar::Max() const { return Get(max, state_.max); }

void ProgressBar::SetMax(int32_t value) {
    Set(max, state_.max, value, [&] {
        SendRange();
    });
}

int ProgressBar::BorderStyle() const { return Get(borderStyle, state_.borderStyle); }

void ProgressBar::SetBorderStyle(int value) {
    Set(borderStyle, state_.borderStyle, value, [&] {
        ApplyBorder();
    });
}

uint32_t ProgressBar::BackColor() const { return Get(backColor, state_.backColor); }

void ProgressBar::SetBackColor(uint32_t colour) {
    Set(backColor, state_.backColor, colour, [&] {
        if (bar_ != nullptr)
        SendMessageA(bar_, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(TranslateColour(state_.backColor)));
    });
}

uint32_t ProgressBar::ForeColor() const { return Get(foreColor, state_.foreColor); }

void ProgressBar::SetForeColor(uint32_t colour) {
    Set(foreColor, state_.foreColor, colour, [&] {
        if (bar_ != nullptr)
        SendMessageA(bar_, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(TranslateColour(state_.foreColor)));
    });
}

int32_t ProgressBar::Position() const { return Get(position, state_.position); }

void ProgressBar::SetPosition(int32_t value) {
    Set(position, state_.position, value, [&] {
        if (bar_ != nullptr) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(state_.position), 0);
    });
}

int32_t ProgressBar::Step() const { return Get(step, state_.step); }

void ProgressBar::SetStep(int32_t value) {
    Set(step, state_.step, value, [&] {
        if (bar_ != nullptr) SendMessageA(bar_, PBM_SETSTEP, static_cast<WPARAM>(state_.step), 0);
    });
}

void ProgressBar::StepIt() {
    if (!Created()) {
        position += step;
        return;
    }
    if (bar_ == nullptr) {
        state_.position += state_.step;
        return;
    }
    SendMessageA(bar_, PBM_STEPIT, 0, 0);
    // The bar clamps and may wrap; Position follows what it shows, so that
    // setting it back to an earlier value is not taken for "no change".
    state_.position = static_cast<int32_t>(SendMessageA(bar_, PBM_GETPOS, 0, 0));
}

}  // namespace corvella::controls
