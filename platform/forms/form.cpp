#include "platform/forms/form.h"

#include <commctrl.h>

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

void PlaceWindow(HWND hwnd, int x, int y, int w, int h, UINT flags) {
    SetWindowPos(hwnd, nullptr, x, y, w, h, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The original procedure of a subclassed system window, kept on the window
// so that messages still reach it after the wrapper let go.
const char kSystemProcProp[] = "CorvellaSystemProc";

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

Control::Control() {
    width = 1215;
    height = 375;
}

Control::~Control() {
    HWND hwnd = hwnd_;
    Detach();
    if (hwnd != nullptr && IsWindow(hwnd)) DestroyWindow(hwnd);
}

Form* Control::ParentForm() const { return form_; }

std::string Control::ObjectName() const {
    return (form_ != nullptr ? form_->name + "." : std::string()) + name;
}

std::string Control::EventOwner() const { return form_ != nullptr ? form_->name : name; }

bool Control::RegisterControlClass(const char* className, UINT classStyle, HBRUSH background) {
    return detail::RegisterWindowClass(className, WndProc, classStyle, background);
}

bool Control::CreateWindowIn(Container& parent, const char* windowClass, DWORD style,
                             DWORD exStyle, const std::string& text, int pixelHeight) {
    if (hwnd_ != nullptr) return true;
    Form* form = parent.ParentForm();
    HWND parentWindow = parent.hWnd();
    if (form == nullptr || parentWindow == nullptr) return false;
    const int id = form->NextControlId();
    if (id == 0) return false;
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
    messageWindow_ = hwnd;
    id_ = id;
    parent_ = &parent;
    form_ = form;
    detail::BindControl(hwnd, this);
    // A system window class is subclassed, so that its window raises the
    // common events like the run-time's own classes.
    systemProc_ = nullptr;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current != WndProc) {
        systemProc_ = current;
        SetPropA(hwnd, kSystemProcProp, reinterpret_cast<HANDLE>(current));
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc));
    }
    // The form's font, or one of the control's own when its design names a
    // face, a size or the bold weight; what it leaves comes from the form.
    HFONT font = form->Font();
    if (!fontName.empty() || fontBold || fontSize != kDefaultFontSize) {
        ownFont_ = !fontName.empty() ? detail::MakeFont(fontName, fontSize, fontBold)
                                     : detail::MakeFont(form->fontName,
                                                        fontSize != kDefaultFontSize ? fontSize : form->fontSize,
                                                        fontBold || form->fontBold);
        if (ownFont_ != nullptr) font = ownFont_;
    }
    if (font != nullptr) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    parent.children_.push_back(this);
    form->controls_.push_back(this);
    // A new child window lies beneath its siblings, so a control made later
    // than the one it is laid on would be covered by it: that one goes
    // beneath again.
    for (Control* sibling : parent.children_)
        if (sibling->underSiblings_ && sibling->hwnd_ != nullptr)
            SetWindowPos(sibling->hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    toolTipNow_ = toolTipText;
    if (!toolTipNow_.empty()) form->SetToolTip(hwnd, toolTipNow_);
    return true;
}

void Control::SetToolTipText(const std::string& text) {
    Set(toolTipText, toolTipNow_, text, [&] {
        if (form_ != nullptr) form_->SetToolTip(hwnd_, toolTipNow_);
    });
}

LRESULT CALLBACK Control::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Control* control = detail::ControlFromWindow(hwnd);
    if (control != nullptr && control->hwnd_ == hwnd) {
        const LRESULT result = control->Dispatch(msg, wp, lp);
        // The handle may come back for another window: it leads nowhere now.
        if (msg == WM_NCDESTROY) detail::UnbindControl(hwnd, control);
        return result;
    }
    // No wrapper (any more): the window behaves as its class does.
    auto system = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kSystemProcProp));
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kSystemProcProp);
    return system != nullptr ? CallWindowProcA(system, hwnd, msg, wp, lp)
                             : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT Control::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    BusyScope busy(*this);
    LRESULT result = 0;
    if (HookMessage(msg, wp, lp, result)) return result;
    return OnMessage(msg, wp, lp);
}

LRESULT Control::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = messageWindow_;
    if (hwnd == nullptr || !IsWindow(hwnd)) return 0;
    return systemProc_ != nullptr ? CallWindowProcA(systemProc_, hwnd, msg, wp, lp)
                                  : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT Control::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (systemProc_ == nullptr) return DefaultMessage(msg, wp, lp);
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        // The window takes or gives up the focus first.
        const LRESULT result = DefaultMessage(msg, wp, lp);
        FireCommonEvent(msg, wp, lp);
        return result;
    }
    FireCommonEvent(msg, wp, lp);
    return DefaultMessage(msg, wp, lp);
}

bool Control::FireCommonEvent(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFOCUS:
        if (!focusByNotification_ && GotFocus) Fire("GotFocus", [&] { GotFocus(index); });
        return true;
    case WM_KILLFOCUS:
        if (!focusByNotification_ && LostFocus) Fire("LostFocus", [&] { LostFocus(index); });
        return true;
    case WM_LBUTTONDBLCLK:
        if (DblClick) Fire("DblClick", [&] { DblClick(index); });
        return true;
    default:
        break;
    }
    const detail::MouseArgs mouse = detail::ReadMouse(msg, wp, lp);
    if (mouse.kind == detail::MouseArgs::kNone) return false;
    const char* event = mouse.kind == detail::MouseArgs::kDown ? "MouseDown"
                        : mouse.kind == detail::MouseArgs::kUp ? "MouseUp"
                                                               : "MouseMove";
    const MouseHandler& handler = mouse.kind == detail::MouseArgs::kDown ? MouseDown
                                  : mouse.kind == detail::MouseArgs::kUp ? MouseUp
                                                                         : MouseMove;
    if (handler)
        Fire(event, [&] { handler(index, mouse.button, mouse.shift, mouse.x, mouse.y); });
    return true;
}

void Control::KeyEvent(bool down, int& keyCode, int shift) {
    KeyHandler& handler = down ? KeyDown : KeyUp;
    if (handler) Fire(down ? "KeyDown" : "KeyUp", [&] { handler(index, keyCode, shift); });
}

void Control::OnCommand(int) {}
bool Control::OnNotify(NMHDR*, LRESULT&) { return false; }
void Control::OnKeyPress(int&) {}
void Control::OnDetach() {}

void Control::Detach() {
    if (hwnd_ == nullptr && parent_ == nullptr) return;
    OnDetach();
    // The tip's own subclass goes first, so that ours can come off below.
    if (form_ != nullptr && hwnd_ != nullptr && !toolTipNow_.empty()) form_->SetToolTip(hwnd_, "");
    if (hwnd_ != nullptr) detail::UnbindControl(hwnd_, this);
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        // Unhooked unless another subclass sits on top; the window then keeps
        // reaching its class's procedure through the stored one.
        if (systemProc_ != nullptr &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) == WndProc) {
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
            RemovePropA(hwnd_, kSystemProcProp);
        }
    }
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
    if (hwnd == nullptr || !IsWindow(hwnd)) return;
    if (!InEvent()) {
        DestroyWindow(hwnd);
        return;
    }
    // Inside its own event: the window the event came from stays until the
    // handler has returned.
    ShowWindow(hwnd, SW_HIDE);
    WhenIdle([hwnd] {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    });
}

void Control::SetFocus() {
    if (hwnd_ != nullptr) ::SetFocus(hwnd_);
}

// ---- Form --------------------------------------------------------------------

Form::Form() {
    name = "Form";
    width = 4800;
    height = 3600;
}

Form::~Form() {
    if (hwnd_ == nullptr) return;
    EndModal();
    ReleaseWindow(true);
    // Nothing of the form may outlive it, not even a deferred destruction.
    if (doomedWindow_ != nullptr && IsWindow(doomedWindow_)) DestroyWindow(doomedWindow_);
}

Timer& Form::Designed(Timer& timer, const char* timerName, Container*) {
    timer.name = timerName;
    designedTimers_.push_back(&timer);
    return timer;
}

void Form::CreateDesigned() {
    for (const DesignedControl& entry : designed_) {
        Container& in = entry.container != nullptr ? *entry.container : *this;
        if (!entry.control->Create(in))
            throw Error("Can't create the control " + entry.control->name, 0);
    }
    for (Timer* timer : designedTimers_) timer->Create(*this);
}

int Form::NextControlId() {
    // Ids come round again inside their range; one still in use is skipped.
    for (int tries = 0; tries <= kControlIdLast - kControlIdFirst; ++tries) {
        if (nextId_ < kControlIdFirst || nextId_ > kControlIdLast) nextId_ = kControlIdFirst;
        const int id = nextId_++;
        if (FindControl(id) == nullptr) return id;
    }
    return 0;
}

bool Form::Load() {
    if (hwnd_ != nullptr) return true;
    if (loading_) return false;
    if (!detail::RegisterWindowClass(kFormClass, WndProc, CS_OWNDC,
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;

    DWORD style = WS_CLIPCHILDREN | (enabled ? 0 : WS_DISABLED);
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
    detail::BindForm(hwnd, this);
    // Every form shows the program's icon, in its title bar and the task bar.
    for (bool small : {false, true})
        if (HICON icon = App.Icon(small))
            SendMessageA(hwnd, WM_SETICON, small ? ICON_SMALL : ICON_BIG, reinterpret_cast<LPARAM>(icon));
    font_ = detail::MakeFont(fontName, fontSize, fontBold);
    if (font_ != nullptr) SelectObject(GetDC(hwnd), font_);
    detail::gLoadedForms.push_back(this);

    loading_ = true;
    if (!designed_.empty() || !designedTimers_.empty()) Fire("CreateControls", [&] { CreateDesigned(); });
    if (hwnd_ != nullptr && CreateControls) Fire("CreateControls", CreateControls);
    resizeReady_ = true;
    if (hwnd_ != nullptr && Form_Load) Fire("Load", Form_Load);
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
    if (Form_QueryUnload) Fire("QueryUnload", [&] { Form_QueryUnload(cancel, unloadMode); });
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
    if (cancel == 0 && hwnd_ != nullptr && Form_Unload) Fire("Unload", [&] { Form_Unload(cancel); });
    unloading_ = false;
    if (hwnd_ == nullptr) return true;
    if (cancel != 0) return false;
    EndModal();
    ReleaseWindow(true);
    if (detail::gLoadedForms.empty()) PostQuitMessage(0);
    return true;
}

void Form::SetToolTip(HWND control, const std::string& text) {
    if (hwnd_ == nullptr || control == nullptr) return;
    if (toolTip_ == nullptr || !IsWindow(toolTip_)) {
        toolTip_ = nullptr;
        if (text.empty()) return;
        InitCommonControls();
        toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                   nullptr, App.hInstance(), nullptr);
        if (toolTip_ == nullptr) return;
    }
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;  // understood by every comctl32
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (text.empty()) return;
    ti.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
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
    if (toolTip_ != nullptr && IsWindow(toolTip_)) DestroyWindow(toolTip_);
    toolTip_ = nullptr;
    detail::UnbindForm(hwnd, this);
    hwnd_ = nullptr;
    shown_ = false;
    owner_ = nullptr;
    focus_ = nullptr;
    Erase(detail::gLoadedForms, this);
    if (detail::gActiveForm == this) detail::gActiveForm = nullptr;
    if (font_ != nullptr) SelectObject(GetDC(hwnd), GetStockObject(SYSTEM_FONT));  // a selected font is not deleted
    if (font_ != nullptr) DeleteObject(font_);
    font_ = nullptr;
    if (!destroyWindow) return;
    if (!InEvent()) {
        DestroyWindow(hwnd);
        return;
    }
    // Unloaded inside one of its own events (or its controls'): the windows
    // the event came from stay, hidden, until the handler has returned.
    ShowWindow(hwnd, SW_HIDE);
    doomedWindow_ = hwnd;
    WhenIdle([this, hwnd] {
        if (doomedWindow_ == hwnd) doomedWindow_ = nullptr;
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    });
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
        windowState = static_cast<WindowStateValue>(state);
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

HDC Form::hDC() const { return hwnd_ != nullptr ? GetDC(hwnd_) : nullptr; }

void Form::FireResize() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    lastCx_ = rc.right;
    lastCy_ = rc.bottom;
    lastSizeType_ = IsIconic(hwnd_) ? SIZE_MINIMIZED : IsZoomed(hwnd_) ? SIZE_MAXIMIZED
                                                                        : SIZE_RESTORED;
    if (Form_Resize) Fire("Resize", Form_Resize);
}

void Form::OnActivated() {
    if (detail::gActiveForm == this) return;
    Form* previous = detail::gActiveForm;
    detail::gActiveForm = this;
    if (previous != nullptr && previous->hwnd_ != nullptr && previous->Form_Deactivate)
        previous->Fire("Deactivate", previous->Form_Deactivate);
    if (hwnd_ != nullptr && detail::gActiveForm == this && Form_Activate)
        Fire("Activate", Form_Activate);
}

void Form::KeyEvent(bool down, int& keyCode, int shift) {
    auto& handler = down ? Form_KeyDown : Form_KeyUp;
    if (!handler) return;
    Fire(down ? "KeyDown" : "KeyUp", [&] { handler(keyCode, shift); });
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

bool Form::PressDialogButton(int keyCode) {
    if (CommandButton* button = FindButton(keyCode == VK_RETURN)) {
        button->DoClick();
        return true;
    }
    // A copy: the control that takes the key may unload the form.
    const std::vector<Control*> controls = controls_;
    for (Control* control : controls)
        if (control->Created() && IsWindowVisible(control->hWnd()) && IsWindowEnabled(control->hWnd()) &&
            control->TakeDialogKey(keyCode))
            return true;
    return false;
}

bool Form::MenuKey(int character) {
    const std::vector<Control*> controls = controls_;
    for (Control* control : controls)
        if (control->Created() && control->TakeMenuKey(character)) return true;
    return false;
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
        detail::BindForm(hwnd, form);
    }
    if (form == nullptr || form->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wp, lp);
    return form->HandleMessage(msg, wp, lp);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hwnd_;
    LRESULT result = 0;
    BusyScope busy(*this);
    if (HookMessage(msg, wp, lp, result)) return result;
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
            if (Form_Resize) Fire("Resize", Form_Resize);
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
            if (id == IDOK || id == IDCANCEL) {
                if (PressDialogButton(id == IDOK ? VK_RETURN : VK_ESCAPE)) return 0;
            } else if (Control* target = FindControl(id)) {
                target->OnCommand(HIWORD(wp));
                return 0;
            }
        }
        break;
    case WM_SYSCOMMAND:
        // The menu keys as the system's default handling sends them.
        if ((wp & 0xFFF0) == SC_KEYMENU && lp != ' ' && MenuKey(static_cast<int>(lp))) return 0;
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
