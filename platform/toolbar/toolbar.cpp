#include "platform/toolbar/toolbar.h"

#include <cctype>

#include "platform/toolbar/native_toolbar.h"

namespace corvella::platform {

using forms::Screen;

namespace {

const char kToolbarClass[] = "Corvella.Toolbar";
const char kHostClass[] = "Corvella.ToolbarHost";

}  // namespace

// ---- Toolbar ------------------------------------------------------------------------

Toolbar::~Toolbar() { Destroy(); }

bool Toolbar::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kToolbarClass)) return false;
    if (!CreateWindowIn(parent, kToolbarClass, WS_CLIPCHILDREN, 0, "")) return false;
    bar_ = detail::CreateNativeToolbar(Control::hWnd(), textRight_ ? TBSTYLE_LIST : 0);
    if (bar_ == nullptr) return true;  // the buttons stay stored
    SendMessageA(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize_, imageSize_));
    if (normalImages_ != nullptr) SetImageList(*normalImages_, kNormalImages);
    if (hotImages_ != nullptr) SetImageList(*hotImages_, kHotImages);
    if (menuWidest_ > 0) SendMessageA(bar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(menuNarrowest_, menuWidest_));
    for (int i = 0; i < ButtonCount(); ++i) AddNative(i);
    AutoSize();
    return true;
}

void Toolbar::OnDetach() {
    // The buttons' states stay as the design of a new window.
    for (int i = 0; bar_ != nullptr && i < ButtonCount(); ++i) {
        buttons_[static_cast<size_t>(i)].pressed = detail::ButtonPressed(bar_, i);
        buttons_[static_cast<size_t>(i)].enabled = detail::ButtonEnabledAt(bar_, i);
    }
    bar_ = nullptr;
}

void Toolbar::AddNative(int position) {
    const Button& b = buttons_[static_cast<size_t>(position)];
    detail::AddNativeButton(bar_, position, BandoletButton(b.style), b.image, b.caption, b.pressed, b.enabled);
}

void Toolbar::SetButtonSize(int size, bool textRight) {
    imageSize_ = size;
    textRight_ = textRight;
    if (bar_ == nullptr) return;
    const LONG style = GetWindowLongA(bar_, GWL_STYLE);
    SetWindowLongA(bar_, GWL_STYLE, textRight ? (style | TBSTYLE_LIST) : (style & ~TBSTYLE_LIST));
    SendMessageA(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    AutoSize();
}

void Toolbar::SetImageList(forms::ImageList& images, int typeCode) {
    if (typeCode != kNormalImages && typeCode != kHotImages) return;
    (typeCode == kNormalImages ? normalImages_ : hotImages_) = &images;
    // The type code is the toolbar's own message: TB_SETIMAGELIST or
    // TB_SETHOTIMAGELIST. A toolbar never destroys its image lists.
    if (bar_ != nullptr)
        SendMessageA(bar_, static_cast<UINT>(typeCode), 0, reinterpret_cast<LPARAM>(images.hImageList()));
}

int Toolbar::AddButton(const std::string& key, int style, const std::string& caption, int image,
                       const std::string& tooltip, int state) {
    Button b;
    b.key = key;
    b.style = style;
    b.caption = caption;
    b.image = image;
    b.tooltip = tooltip;
    b.pressed = state == 1;
    b.enabled = state != 2;
    buttons_.push_back(b);
    const int position = ButtonCount() - 1;
    if (bar_ != nullptr) AddNative(position);
    return position;
}

std::string Toolbar::ButtonKey(int button) const {
    return button >= 0 && button < ButtonCount() ? buttons_[static_cast<size_t>(button)].key : std::string();
}

int Toolbar::ButtonIndex(const std::string& key) const {
    for (int i = 0; i < ButtonCount(); ++i)
        if (buttons_[static_cast<size_t>(i)].key == key) return i;
    return -1;
}

bool Toolbar::Pressed(int button) const {
    if (button < 0 || button >= ButtonCount()) return false;
    return bar_ != nullptr ? detail::ButtonPressed(bar_, button) : buttons_[static_cast<size_t>(button)].pressed;
}

void Toolbar::SetPressed(int button, bool pressed) {
    if (button < 0 || button >= ButtonCount()) return;
    buttons_[static_cast<size_t>(button)].pressed = pressed;
    if (bar_ != nullptr) detail::SetButtonPressed(bar_, button, pressed);
}

bool Toolbar::ButtonEnabled(const std::string& key) const {
    const int button = ButtonIndex(key);
    if (button < 0) return false;
    return bar_ != nullptr ? detail::ButtonEnabledAt(bar_, button) : buttons_[static_cast<size_t>(button)].enabled;
}

void Toolbar::SetButtonEnabled(const std::string& key, bool enabled) {
    const int button = ButtonIndex(key);
    if (button < 0) return;
    buttons_[static_cast<size_t>(button)].enabled = enabled;
    if (bar_ != nullptr) detail::SetButtonEnabledAt(bar_, button, enabled);
}

int Toolbar::ToolbarHeight() const {
    if (bar_ == nullptr) return 0;
    return static_cast<int>(detail::IdealSize(bar_).cy);
}

void Toolbar::AutoSize() {
    if (bar_ == nullptr) return;
    SendMessageA(bar_, TB_AUTOSIZE, 0, 0);
    const SIZE size = detail::IdealSize(bar_);
    SetWindowPos(Control::hWnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(bar_, 0, 0, size.cx, size.cy, TRUE);
}

void Toolbar::SetHot(bool on) {
    if (!on && bar_ != nullptr) SendMessageA(bar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

void Toolbar::Clicked(int button) {
    if (menu_ != nullptr && buttons_[static_cast<size_t>(button)].menuItem != 0) {
        DropMenu(button);
    } else if (ButtonClick) {
        Fire("ButtonClick", [&] { ButtonClick(button); });
    }
}

const std::string* Toolbar::TooltipOf(int button) const {
    if (button < 0 || button >= ButtonCount()) return nullptr;
    return &buttons_[static_cast<size_t>(button)].tooltip;
}

bool Toolbar::ToolbarNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TBN_DROPDOWN && header->hwndFrom == bar_) {
        auto* info = reinterpret_cast<NMTOOLBARA*>(header);
        int button = info->iItem - detail::kFirstButtonId;
        if (button < 0 || button >= ButtonCount()) return false;
        RECT rc{};
        SendMessageA(bar_, TB_GETRECT, static_cast<WPARAM>(info->iItem), reinterpret_cast<LPARAM>(&rc));
        // The point in the form's client area, where the form's menus show.
        POINT p{rc.left, rc.bottom};
        forms::Form* form = ParentForm();
        MapWindowPoints(bar_, form != nullptr ? form->hWnd() : nullptr, &p, 1);
        const int x = Screen.ToTwipsX(p.x), y = Screen.ToTwipsY(p.y);
        if (ButtonDropDown) Fire("ButtonDropDown", [&] { ButtonDropDown(button, x, y); });
        result = TBDDRET_DEFAULT;
        return true;
    }
    return false;
}

// ---- menu bar mode --------------------------------------------------------------------

void Toolbar::SetMenu(PopupMenu& menu) {
    menu_ = &menu;
    BuildMenuButtons();
}

void Toolbar::SetMenuButtonWidths(int widest, int narrowest) {
    menuWidest_ = widest;
    menuNarrowest_ = narrowest;
    if (bar_ == nullptr) return;
    SendMessageA(bar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(narrowest, widest));
    AutoSize();
}

void Toolbar::BuildMenuButtons() {
    buttons_.clear();
    if (bar_ != nullptr)
        while (SendMessageA(bar_, TB_DELETEBUTTON, 0, 0)) {
        }
    constexpr int kAutoSizedPush = 16;
    for (int32_t item = 1; item <= menu_->Count(); ++item) {
        if (menu_->Parent(item) != 0 || menu_->Caption(item) == "-") continue;
        const int position = AddButton(menu_->ItemKey(item), kAutoSizedPush, menu_->Caption(item));
        buttons_[static_cast<size_t>(position)].menuItem = item;
    }
    AutoSize();
}

// The menu loop's messages reach the bar through a message filter while one
// of its menus is open (one at a time: menus are modal).
struct MenuFilter {
    static Toolbar* tracking;
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
        if (code == MSGF_MENU && tracking != nullptr && tracking->MenuLoopMessage(*reinterpret_cast<MSG*>(lp)))
            return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};
Toolbar* MenuFilter::tracking = nullptr;

void Toolbar::DropMenu(int button) {
    if (menu_ == nullptr || bar_ == nullptr || button < 0 || button >= ButtonCount()) return;
    UINT chosen = 0;
    for (int next = button; next >= 0 && chosen == 0;) {
        const int32_t item = buttons_[static_cast<size_t>(next)].menuItem;
        if (item == 0) return;
        // The item's place among the top-level entries of the built menu.
        int place = 0;
        for (int32_t i = 1; i < item; ++i)
            if (menu_->Parent(i) == 0) ++place;
        MenuHandle built = menu_->BuildMenu();
        HMENU sub = GetSubMenu(built.get(), place);
        if (sub == nullptr) {
            chosen = PopupMenu::CommandId(item);  // a top-level command of its own
            break;
        }
        switchTo_ = -1;
        chosen = TrackOne(next, sub);
        next = switchTo_;
    }
    if (chosen != 0) Fire("MenuClick", [&] { menu_->DispatchCommand(chosen); });
}

UINT Toolbar::TrackOne(int button, HMENU sub) {
    RECT rc{};
    const int id = detail::kFirstButtonId + button;
    SendMessageA(bar_, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&rc));
    POINT p{rc.left, rc.bottom};
    ClientToScreen(bar_, &p);
    SendMessageA(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), MAKELPARAM(TRUE, 0));
    openButton_ = button;
    openMenu_ = selectedIn_ = sub;
    selectedFlags_ = 0;
    Toolbar* outer = MenuFilter::tracking;
    MenuFilter::tracking = this;
    HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilter::Proc, nullptr, GetCurrentThreadId());
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        sub, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON, p.x, p.y, 0, Control::hWnd(), nullptr));
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    MenuFilter::tracking = outer;
    openButton_ = -1;
    openMenu_ = selectedIn_ = nullptr;
    if (bar_ != nullptr) SendMessageA(bar_, TB_PRESSBUTTON, static_cast<WPARAM>(id), MAKELPARAM(FALSE, 0));
    return chosen;
}

bool Toolbar::MenuLoopMessage(const MSG& msg) {
    if (openButton_ < 0 || ButtonCount() < 2) return false;
    const int count = ButtonCount();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT && selectedIn_ == openMenu_) {
        SwitchMenu((openButton_ + count - 1) % count);
        return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT && (selectedFlags_ & MF_POPUP) == 0) {
        SwitchMenu((openButton_ + 1) % count);
        return true;
    }
    if (msg.message == WM_MOUSEMOVE) {
        POINT p = msg.pt;
        ScreenToClient(bar_, &p);
        const int hit = static_cast<int>(SendMessageA(bar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p)));
        if (hit >= 0 && hit < count && hit != openButton_) {
            SwitchMenu(hit);
            return true;
        }
    }
    return false;
}

void Toolbar::SwitchMenu(int button) {
    switchTo_ = button;
    // The default handling of WM_CANCELMODE ends the menus of the window at
    // once, before the loop reads the keys that follow; DropMenu then opens
    // the other menu.
    SendMessageA(Control::hWnd(), WM_CANCELMODE, 0, 0);
}

LRESULT Toolbar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MENUSELECT && openButton_ >= 0) {
        selectedIn_ = reinterpret_cast<HMENU>(lp);
        selectedFlags_ = HIWORD(wp);
    }
    return ToolbarWindow::OnMessage(msg, wp, lp);
}

// Alt, F10 and Alt with a letter, which the form hands its menu bar
// whichever control has the focus.
bool Toolbar::TakeMenuKey(int character) {
    if (menu_ == nullptr || ButtonCount() == 0 || !IsWindowVisible(Control::hWnd())) return false;
    if (character == 0) {  // Alt or F10 alone
        DropMenu(0);
        return true;
    }
    const int wanted = std::tolower(static_cast<unsigned char>(character));
    for (int i = 0; i < ButtonCount(); ++i) {
        const std::string& caption = buttons_[static_cast<size_t>(i)].caption;
        const size_t amp = caption.find('&');
        if (amp != std::string::npos && amp + 1 < caption.size() &&
            std::tolower(static_cast<unsigned char>(caption[amp + 1])) == wanted) {
            DropMenu(i);
            return true;
        }
    }
    return false;
}

// ---- ToolbarHost ----------------------------------------------------------------------

ToolbarHost::~ToolbarHost() { Destroy(); }

bool ToolbarHost::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kHostClass)) return false;
    return CreateWindowIn(parent, kHostClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "");
}

void ToolbarHost::Attach(Toolbar& toolbar) {
    toolbar_ = &toolbar;
    if (!Created()) return;
    if (!toolbar.Created()) {
        toolbar.left = toolbar.top = 0;
        toolbar.Create(*this);
    } else {
        SetParent(toolbar.hWnd(), Control::hWnd());
        SetWindowPos(toolbar.hWnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    toolbar.AutoSize();
}

void ToolbarHost::Detach() { toolbar_ = nullptr; }

void ToolbarHost::OnDetach() {
    toolbar_ = nullptr;
    DetachChildren();
}

LRESULT ToolbarHost::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (RouteMessage(Control::hWnd(), msg, wp, lp, result)) return result;
    return Control::OnMessage(msg, wp, lp);
}

// ---- ReBar -----------------------------------------------------------------------------

ReBar::~ReBar() { Destroy(); }

bool ReBar::Create(forms::Container& parent) {
    if (Created()) return true;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | CCS_NODIVIDER | CCS_TOP;
    if (bandBorders_ != 0) style |= RBS_BANDBORDERS;
    if (!CreateWindowIn(parent, REBARCLASSNAMEA, style, WS_EX_TOOLWINDOW, "")) return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(hWnd(), RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void ReBar::SetBandBorders(int on) {
    bandBorders_ = on;
    if (!Created()) return;
    const LONG style = GetWindowLongA(hWnd(), GWL_STYLE);
    SetWindowLongA(hWnd(), GWL_STYLE, on != 0 ? (style | RBS_BANDBORDERS) : (style & ~RBS_BANDBORDERS));
    InvalidateRect(hWnd(), nullptr, TRUE);
}

void ReBar::Attach(HWND window) {
    follow_.Follow(window, [this] { Layout(); });
    Layout();
}

int ReBar::AddBand(HWND child, const std::string& text, bool gripper, bool newRow, const std::string& key) {
    if (!Created() || child == nullptr) return 0;
    RECT rc{};
    GetWindowRect(child, &rc);
    REBARBANDINFOA band{};
    band.cbSize = REBARBANDINFOA_V3_SIZE;  // what every common-controls version takes
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE | RBBIM_TEXT | RBBIM_ID;
    band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0) | (gripper ? RBBS_GRIPPERALWAYS : RBBS_NOGRIPPER);
    band.lpText = const_cast<char*>(text.c_str());
    band.hwndChild = child;
    band.cxMinChild = static_cast<UINT>(rc.right - rc.left);
    band.cyMinChild = static_cast<UINT>(rc.bottom - rc.top);
    band.cx = band.cxMinChild + 20;
    keys_.push_back(key);
    band.wID = static_cast<UINT>(keys_.size());
    if (!SendMessageA(hWnd(), RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band))) {
        keys_.pop_back();
        return 0;
    }
    return BandCount();
}

int ReBar::BandCount() const {
    return Created() ? static_cast<int>(SendMessageA(hWnd(), RB_GETBANDCOUNT, 0, 0)) : 0;
}

int ReBar::BandIndex(const std::string& key) const {
    if (key.empty() || !Created()) return 0;
    for (size_t id = 0; id < keys_.size(); ++id)
        if (keys_[id] == key) {
            const auto at = SendMessageA(hWnd(), RB_IDTOINDEX, id + 1, 0);
            return at < 0 ? 0 : static_cast<int>(at) + 1;
        }
    return 0;
}

void ReBar::Layout() {
    // A minimised form has no width to lay the bands out in.
    if (!Created() || IsIconic(GetParent(hWnd()))) return;
    // A rebar that is not told otherwise lays itself out across its parent
    // when it is sized; the height change, if any, comes as RBN_HEIGHTCHANGE.
    RECT rc{};
    GetClientRect(GetParent(hWnd()), &rc);
    SendMessageA(hWnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
}

long ReBar::BarHeight() const {
    return Created() ? static_cast<long>(SendMessageA(hWnd(), RB_GETBARHEIGHT, 0, 0)) : 0;
}

void ReBar::RemoveAllBands() {
    follow_.Stop();
    if (!Created()) return;
    while (SendMessageA(hWnd(), RB_GETBANDCOUNT, 0, 0) > 0) SendMessageA(hWnd(), RB_DELETEBAND, 0, 0);
    keys_.clear();
}

void ReBar::OnDetach() {
    follow_.Stop();
    keys_.clear();
}

bool ReBar::OnNotify(NMHDR* header, LRESULT&) {
    if (header->code == RBN_HEIGHTCHANGE) {
        const long height = BarHeight();
        if (HeightChanged) Fire("HeightChanged", [&] { HeightChanged(height); });
    } else if (header->code == RBN_LAYOUTCHANGED) {
        if (LayoutChanged) Fire("LayoutChanged", [&] { LayoutChanged(); });
    }
    return false;
}

}  // namespace corvella::platform
