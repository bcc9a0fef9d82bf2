#include "platform/forms/form.h"

#include <algorithm>

#include "platform/forms/controls.h"
#include "platform/forms/internal.h"

namespace corvella::forms {

namespace {

const char kFormClass[] = "CorvellaForm";

template <class T>
void Erase(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

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

// Forms and controls move alike: before their window exists the design
// fields take the values, afterwards the window does.
void MoveTo(HWND hwnd, int& left, int& top, int l, int t) {
    if (hwnd == nullptr) {
        left = l;
        top = t;
        return;
    }
    PlaceWindow(hwnd, Screen.ToPixelsX(l), Screen.ToPixelsY(t), 0, 0, SWP_NOSIZE);
}

void MoveTo(HWND hwnd, int& left, int& top, int& width, int& height, int l, int t, int w, int h) {
    CheckSize(w);
    CheckSize(h);
    if (hwnd == nullptr) {
        left = l;
        top = t;
        width = w;
        height = h;
        return;
    }
    PlaceWindow(hwnd, Screen.ToPixelsX(l), Screen.ToPixelsY(t), Screen.ToPixelsX(w),
                Screen.ToPixelsY(h), 0);
}

BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

// ---- Container ---------------------------------------------------------------

int Container::ScaleWidth() const {
    RECT rc{};
    if (hWnd() == nullptr || !GetClientRect(hWnd(), &rc)) return 0;
    return Screen.ToTwipsX(rc.right - rc.left);
}

int Container::ScaleHeight() const {
    RECT rc{};
    if (hWnd() == nullptr || !GetClientRect(hWnd(), &rc)) return 0;
    return Screen.ToTwipsY(rc.bottom - rc.top);
}

bool Container::RouteMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (Control* control = detail::ControlFromWindow(reinterpret_cast<HWND>(lp))) {
            control->OnCommand(HIWORD(wp));
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header == nullptr) return false;
        Control* control = detail::ControlFromWindow(header->hwndFrom);
        return control != nullptr && control->OnNotify(header, result);
    }
    default:
        return false;
    }
}

void Container::DetachChildren() {
    const std::vector<Control*> children = children_;
    for (Control* child : children) child->Detach();
    children_.clear();
}

// ---- Control -----------------------------------------------------------------

Control::~Control() { Destroy(); }

Form* Control::ParentForm() const { return form_; }

std::string Control::ObjectName() const {
    return (form_ != nullptr ? form_->name + "." : std::string()) + name;
}

bool Control::CreateWindowIn(Container& parent, const char* windowClass, DWORD style,
                             DWORD exStyle, const std::string& text, int pixelHeight) {
    if (hwnd_ != nullptr) return true;
    Form* form = parent.ParentForm();
    HWND parentWindow = parent.hWnd();
    if (form == nullptr || parentWindow == nullptr) return false;
    const int id = form->nextId_++;
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (visible) style |= WS_VISIBLE;
    if (!enabled) style |= WS_DISABLED;
    const int h = pixelHeight >= 0 ? pixelHeight : Screen.ToPixelsY(height);
    HWND hwnd = CreateWindowExA(exStyle, windowClass, text.c_str(), style, Screen.ToPixelsX(left),
                                Screen.ToPixelsY(top), Screen.ToPixelsX(width), h, parentWindow,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App.hInstance(),
                                nullptr);
    if (hwnd == nullptr) return false;
    hwnd_ = hwnd;
    id_ = id;
    parent_ = &parent;
    form_ = form;
    SetPropA(hwnd, detail::kControlProp, this);
    HFONT font = form->Font();
    if (!fontName.empty()) {
        ownFont_ = detail::MakeFont(fontName, fontSize, fontBold);
        if (ownFont_ != nullptr) font = ownFont_;
    }
    if (font != nullptr) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    parent.children_.push_back(this);
    form->controls_.push_back(this);
    return true;
}

void Control::OnCommand(int) {}
bool Control::OnNotify(NMHDR*, LRESULT&) { return false; }
void Control::OnKeyPress(int&) {}
void Control::OnDetach() {}

void Control::Detach() {
    if (hwnd_ == nullptr && parent_ == nullptr) return;
    OnDetach();
    if (hwnd_ != nullptr && IsWindow(hwnd_)) RemovePropA(hwnd_, detail::kControlProp);
    if (parent_ != nullptr) Erase(parent_->children_, this);
    if (form_ != nullptr) Erase(form_->controls_, this);
    if (ownFont_ != nullptr) DeleteObject(ownFont_);
    ownFont_ = nullptr;
    hwnd_ = nullptr;
    parent_ = nullptr;
    form_ = nullptr;
    id_ = 0;
}

void Control::Destroy() {
    HWND hwnd = hwnd_;
    Detach();
    if (hwnd != nullptr && IsWindow(hwnd)) DestroyWindow(hwnd);
}

int Control::Left() const {
    return hwnd_ != nullptr ? Screen.ToTwipsX(WindowRectIn(hwnd_).left) : left;
}

int Control::Top() const {
    return hwnd_ != nullptr ? Screen.ToTwipsY(WindowRectIn(hwnd_).top) : top;
}

int Control::Width() const {
    if (hwnd_ == nullptr) return width;
    const RECT rc = WindowRectIn(hwnd_);
    return Screen.ToTwipsX(rc.right - rc.left);
}

int Control::Height() const {
    if (hwnd_ == nullptr) return height;
    const RECT rc = WindowRectIn(hwnd_);
    return Screen.ToTwipsY(rc.bottom - rc.top);
}

void Control::SetLeft(int twips) {
    if (hwnd_ == nullptr) {
        left = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, Screen.ToPixelsX(twips), rc.top, 0, 0, SWP_NOSIZE);
}

void Control::SetTop(int twips) {
    if (hwnd_ == nullptr) {
        top = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, rc.left, Screen.ToPixelsY(twips), 0, 0, SWP_NOSIZE);
}

void Control::SetWidth(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        width = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, 0, 0, Screen.ToPixelsX(twips), rc.bottom - rc.top, SWP_NOMOVE);
}

void Control::SetHeight(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        height = twips;
        return;
    }
    const RECT rc = WindowRectIn(hwnd_);
    PlaceWindow(hwnd_, 0, 0, rc.right - rc.left, Screen.ToPixelsY(twips), SWP_NOMOVE);
}

void Control::Move(int l, int t) { MoveTo(hwnd_, left, top, l, t); }

void Control::Move(int l, int t, int w, int h) { MoveTo(hwnd_, left, top, width, height, l, t, w, h); }

bool Control::Visible() const {
    if (hwnd_ == nullptr) return visible;
    return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool on) {
    if (hwnd_ == nullptr) {
        visible = on;
        return;
    }
    ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const { return hwnd_ != nullptr ? IsWindowEnabled(hwnd_) != 0 : enabled; }

void Control::SetEnabled(bool on) {
    if (hwnd_ == nullptr) {
        enabled = on;
        return;
    }
    EnableWindow(hwnd_, on ? TRUE : FALSE);
}

void Control::SetFocus() {
    if (hwnd_ != nullptr) ::SetFocus(hwnd_);
}

void Control::Refresh() {
    if (hwnd_ != nullptr)
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---- Form --------------------------------------------------------------------

Form::~Form() {
    if (hwnd_ == nullptr) return;
    EndModal();
    ReleaseWindow(true);
}

bool Form::Load() {
    if (hwnd_ != nullptr) return true;
    if (loading_) return false;
    if (!detail::RegisterWindowClass(kFormClass, WndProc, CS_OWNDC,
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;

    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    const DWORD menu = controlBox ? WS_SYSMENU : 0;
    switch (borderStyle) {
    case 0:
        style |= WS_POPUP;
        break;
    case 1:
        style |= WS_OVERLAPPED | WS_CAPTION | menu | (minButton ? WS_MINIMIZEBOX : 0) |
                 (maxButton ? WS_MAXIMIZEBOX : 0);
        break;
    case 3:
        style |= WS_OVERLAPPED | WS_CAPTION | menu;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case 4:
        style |= WS_OVERLAPPED | WS_CAPTION | menu;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case 5:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | menu;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    default:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | menu |
                 (minButton ? WS_MINIMIZEBOX : 0) | (maxButton ? WS_MAXIMIZEBOX : 0);
        break;
    }
    const int w = Screen.ToPixelsX(width);
    const int h = Screen.ToPixelsY(height);
    int x = Screen.ToPixelsX(left);
    int y = Screen.ToPixelsY(top);
    if (startUpPosition == 2) {
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    } else if (startUpPosition == 3) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }

    resizeReady_ = false;
    firstShowDone_ = false;
    shown_ = false;
    pendingState_ = windowState;
    lastSizeType_ = 0xFFFFFFFFu;
    lastCx_ = lastCy_ = -1;
    detail::gCreatingForm = this;
    HWND hwnd = CreateWindowExA(exStyle, kFormClass, caption.c_str(), style, x, y, w, h, nullptr,
                                nullptr, App.hInstance(), nullptr);
    detail::gCreatingForm = nullptr;
    if (hwnd == nullptr) {
        hwnd_ = nullptr;
        return false;
    }
    hwnd_ = hwnd;
    SetPropA(hwnd, detail::kFormProp, this);
    font_ = detail::MakeFont(fontName, fontSize, fontBold);
    if (font_ != nullptr) SelectObject(GetDC(hwnd), font_);
    detail::gLoadedForms.push_back(this);

    loading_ = true;
    if (CreateControls) RunHandler(name, "Form", "CreateControls", CreateControls);
    resizeReady_ = true;
    if (hwnd_ != nullptr && Form_Load) RunHandler(name, "Form", "Load", Form_Load);
    loading_ = false;
    return hwnd_ != nullptr;
}

void Form::Show(int mode, Form* owner) {
    if (!Load()) return;
    if (mode == kModal && shown_) throw Error("Form already displayed; can't show modally", 400);
    if (owner != nullptr && owner != this && owner->hwnd_ != nullptr) {
        owner_ = owner;
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner->hwnd_));
    }
    int command = SW_SHOW;
    if (!firstShowDone_) {
        firstShowDone_ = true;
        if (startUpPosition == 1) {
            RECT area{};
            if (owner_ != nullptr && owner_->hwnd_ != nullptr)
                GetWindowRect(owner_->hwnd_, &area);
            else
                area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            RECT rc{};
            GetWindowRect(hwnd_, &rc);
            const int w = rc.right - rc.left;
            const int h = rc.bottom - rc.top;
            PlaceWindow(hwnd_, area.left + (area.right - area.left - w) / 2,
                        area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE);
        }
        // The first Resize comes before the first Activate.
        FireResize();
        if (hwnd_ == nullptr) return;
        command = pendingState_ == kMinimized   ? SW_SHOWMINIMIZED
                  : pendingState_ == kMaximized ? SW_SHOWMAXIMIZED
                                                : SW_SHOWNORMAL;
    } else if (!shown_) {
        command = pendingState_ == kMinimized   ? SW_SHOWMINIMIZED
                  : pendingState_ == kMaximized ? SW_SHOWMAXIMIZED
                                                : SW_SHOW;
    }

    std::vector<HWND> disabled;
    if (mode == kModal) {
        // Every other window of the program takes no input while it is up.
        EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow,
                          reinterpret_cast<LPARAM>(&disabled));
        Erase(disabled, hwnd_);
        for (HWND hwnd : disabled) EnableWindow(hwnd, FALSE);
        modal_ = true;
        disabledByModal_ = disabled;
    }
    shown_ = true;
    ShowWindow(hwnd_, command);
    if (hwnd_ != nullptr && command != SW_SHOWMINIMIZED) SetForegroundWindow(hwnd_);
    if (mode != kModal) return;

    MSG msg;
    while (hwnd_ != nullptr && shown_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the outer loop must see the quit too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        ProcessMessage(msg);
    }
    EndModal();
}

void Form::EndModal() {
    if (!modal_) return;
    modal_ = false;
    // Before the window goes, so that activation passes to the owner.
    for (HWND hwnd : disabledByModal_)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    disabledByModal_.clear();
}

void Form::Hide() {
    if (hwnd_ == nullptr) return;
    EndModal();
    shown_ = false;
    ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload(int unloadMode) {
    if (hwnd_ == nullptr) return true;
    if (unloading_) return false;
    unloading_ = true;
    int cancel = 0;
    if (Form_QueryUnload)
        RunHandler(name, "Form", "QueryUnload", [&] { Form_QueryUnload(cancel, unloadMode); });
    if (cancel == 0 && hwnd_ != nullptr) {
        // The forms it owns go first; one that stays keeps its owner too.
        const std::vector<Form*> loaded = detail::gLoadedForms;
        for (Form* form : loaded) {
            if (form == this || form->owner_ != this) continue;
            if (std::find(detail::gLoadedForms.begin(), detail::gLoadedForms.end(), form) ==
                detail::gLoadedForms.end())
                continue;
            if (!form->Unload(kUnloadOwner)) cancel = 1;
        }
    }
    if (cancel == 0 && hwnd_ != nullptr && Form_Unload)
        RunHandler(name, "Form", "Unload", [&] { Form_Unload(cancel); });
    unloading_ = false;
    if (hwnd_ == nullptr) return true;
    if (cancel != 0) return false;
    EndModal();
    ReleaseWindow(true);
    if (detail::gLoadedForms.empty()) PostQuitMessage(0);
    return true;
}

void Form::ReleaseWindow(bool destroyWindow) {
    HWND hwnd = hwnd_;
    if (hwnd == nullptr) return;
    const std::vector<Timer*> timers = timers_;
    for (Timer* timer : timers) timer->Detach();
    const std::vector<Control*> controls = controls_;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) (*it)->Detach();
    DetachChildren();
    controls_.clear();
    timers_.clear();
    RemovePropA(hwnd, detail::kFormProp);
    hwnd_ = nullptr;
    shown_ = false;
    owner_ = nullptr;
    focus_ = nullptr;
    Erase(detail::gLoadedForms, this);
    if (detail::gActiveForm == this) detail::gActiveForm = nullptr;
    if (destroyWindow)
        DestroyWindow(hwnd);
    else if (font_ != nullptr)
        SelectObject(GetDC(hwnd), GetStockObject(SYSTEM_FONT));  // a selected font is not deleted
    if (font_ != nullptr) DeleteObject(font_);
    font_ = nullptr;
}

bool Form::Visible() const { return hwnd_ != nullptr && shown_; }

void Form::SetVisible(bool on) {
    if (on)
        Show(kModeless);
    else
        Hide();
}

int Form::WindowState() const {
    if (hwnd_ == nullptr) return windowState;
    if (!shown_) return pendingState_;
    if (IsIconic(hwnd_)) return kMinimized;
    if (IsZoomed(hwnd_)) return kMaximized;
    return kNormal;
}

void Form::SetWindowState(int state) {
    if (state < kNormal || state > kMaximized) throw Error("Invalid property value", 380);
    if (hwnd_ == nullptr) {
        windowState = state;
        return;
    }
    pendingState_ = state;
    if (!shown_) return;
    ShowWindow(hwnd_, state == kMinimized   ? SW_MINIMIZE
                      : state == kMaximized ? SW_MAXIMIZE
                                            : SW_RESTORE);
    // A minimised window that was maximised restores to maximised first.
    if (state == kNormal && IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
}

std::string Form::Caption() const {
    if (hwnd_ == nullptr) return caption;
    const int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void Form::SetCaption(const std::string& text) {
    if (hwnd_ == nullptr)
        caption = text;
    else
        SetWindowTextA(hwnd_, text.c_str());
}

bool Form::Enabled() const { return hwnd_ == nullptr || IsWindowEnabled(hwnd_) != 0; }

void Form::SetEnabled(bool on) {
    if (hwnd_ != nullptr) EnableWindow(hwnd_, on ? TRUE : FALSE);
}

int Form::Left() const {
    if (hwnd_ == nullptr) return left;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Screen.ToTwipsX(rc.left);
}

int Form::Top() const {
    if (hwnd_ == nullptr) return top;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Screen.ToTwipsY(rc.top);
}

int Form::Width() const {
    if (hwnd_ == nullptr) return width;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Screen.ToTwipsX(rc.right - rc.left);
}

int Form::Height() const {
    if (hwnd_ == nullptr) return height;
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Screen.ToTwipsY(rc.bottom - rc.top);
}

void Form::SetLeft(int twips) { Move(twips, Top()); }
void Form::SetTop(int twips) { Move(Left(), twips); }

void Form::SetWidth(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        width = twips;
        return;
    }
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    PlaceWindow(hwnd_, 0, 0, Screen.ToPixelsX(twips), rc.bottom - rc.top, SWP_NOMOVE);
}

void Form::SetHeight(int twips) {
    CheckSize(twips);
    if (hwnd_ == nullptr) {
        height = twips;
        return;
    }
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    PlaceWindow(hwnd_, 0, 0, rc.right - rc.left, Screen.ToPixelsY(twips), SWP_NOMOVE);
}

void Form::Move(int l, int t) { MoveTo(hwnd_, left, top, l, t); }

void Form::Move(int l, int t, int w, int h) { MoveTo(hwnd_, left, top, width, height, l, t, w, h); }

void Form::Refresh() {
    if (hwnd_ != nullptr)
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HDC Form::hDC() const { return hwnd_ != nullptr ? GetDC(hwnd_) : nullptr; }

void Form::FireResize() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    lastCx_ = rc.right;
    lastCy_ = rc.bottom;
    lastSizeType_ = IsIconic(hwnd_) ? SIZE_MINIMIZED : IsZoomed(hwnd_) ? SIZE_MAXIMIZED
                                                                        : SIZE_RESTORED;
    if (Form_Resize) RunHandler(name, "Form", "Resize", Form_Resize);
}

void Form::OnActivated() {
    if (detail::gActiveForm == this) return;
    Form* previous = detail::gActiveForm;
    detail::gActiveForm = this;
    if (previous != nullptr && previous->hwnd_ != nullptr && previous->Form_Deactivate)
        RunHandler(previous->name, "Form", "Deactivate", previous->Form_Deactivate);
    if (hwnd_ != nullptr && detail::gActiveForm == this && Form_Activate)
        RunHandler(name, "Form", "Activate", Form_Activate);
}

void Form::KeyEvent(bool down, int& keyCode, int shift) {
    auto& handler = down ? Form_KeyDown : Form_KeyUp;
    if (!handler) return;
    RunHandler(name, "Form", down ? "KeyDown" : "KeyUp", [&] { handler(keyCode, shift); });
}

CommandButton* Form::FindButton(bool defaultButton) const {
    for (Control* control : controls_) {
        auto* button = dynamic_cast<CommandButton*>(control);
        if (button == nullptr || !button->Created()) continue;
        if (!(defaultButton ? button->isDefault : button->cancel)) continue;
        if (IsWindowEnabled(button->hWnd()) && IsWindowVisible(button->hWnd())) return button;
    }
    return nullptr;
}

Control* Form::FindControl(int id) const {
    for (Control* control : controls_)
        if (control->id_ == id) return control;
    return nullptr;
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* form = detail::FormFromWindow(hwnd);
    if (form == nullptr && msg == WM_NCCREATE && detail::gCreatingForm != nullptr) {
        form = detail::gCreatingForm;
        form->hwnd_ = hwnd;
        SetPropA(hwnd, detail::kFormProp, form);
    }
    if (form == nullptr || form->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    return form->HandleMessage(msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hwnd_;
    LRESULT result = 0;
    if (WindowProc && WindowProc(msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_CLOSE:
        Unload(kUnloadControlMenu);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_SIZE:
        if (resizeReady_ && (wp != lastSizeType_ || LOWORD(lp) != lastCx_ ||
                             HIWORD(lp) != lastCy_)) {
            lastSizeType_ = static_cast<UINT>(wp);
            lastCx_ = LOWORD(lp);
            lastCy_ = HIWORD(lp);
            if (Form_Resize) RunHandler(name, "Form", "Resize", Form_Resize);
        }
        return 0;
    case WM_SHOWWINDOW:
        // Only a show or hide of the form itself; an owner that is minimised
        // hides it without making it invisible.
        if (lp == 0) shown_ = wp != 0;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd, focus)) focus_ = focus;
            return 0;
        }
        if (HIWORD(wp) == 0) {
            if (focus_ != nullptr && IsWindow(focus_) && IsChild(hwnd, focus_)) {
                ::SetFocus(focus_);
            } else {
                HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
                ::SetFocus(first != nullptr ? first : hwnd);
            }
        }
        OnActivated();
        return 0;
    case WM_TIMER: {
        Timer* fired = nullptr;
        for (Timer* timer : timers_)
            if (timer->id_ == wp) fired = timer;
        if (fired != nullptr) fired->Fired();
        return 0;
    }
    case WM_COMMAND:
        if (lp == 0 || detail::ControlFromWindow(reinterpret_cast<HWND>(lp)) == nullptr) {
            // Enter and Esc as the dialog keys send them, and control ids.
            const int id = LOWORD(wp);
            Control* target = id == IDOK       ? FindButton(true)
                              : id == IDCANCEL ? FindButton(false)
                                               : FindControl(id);
            if (target != nullptr) {
                target->OnCommand(id == IDOK || id == IDCANCEL ? BN_CLICKED : HIWORD(wp));
                return 0;
            }
        }
        break;
    case DM_GETDEFID:
        if (CommandButton* button = FindButton(true)) return MAKELONG(button->id_, DC_HASDEFID);
        return 0;
    case WM_NEXTDLGCTL: {
        HWND target = LOWORD(lp) != 0
                          ? reinterpret_cast<HWND>(wp)
                          : GetNextDlgTabItem(hwnd, GetFocus(), wp != 0 ? TRUE : FALSE);
        if (target != nullptr) ::SetFocus(target);
        return 0;
    }
    case WM_NCDESTROY:
        // Destroyed from outside (its owner's window went): the form is gone.
        EndModal();
        ReleaseWindow(false);
        return DefWindowProcA(hwnd, msg, wp, lp);
    default:
        break;
    }
    if (RouteMessage(hwnd, msg, wp, lp, result)) return result;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace corvella::forms
