#include "app/controls/htmllabel/win32/html_label.h"

#include <commctrl.h>

#include <vector>

#include "app/controls/htmllabel/core/html_layout.h"

namespace corvella::htmllabel {

const char kHtmlLabelClass[] = "Corvella.HTMLLabel";

namespace {

const char kViewportClass[] = "Corvella.HTMLLabel.Viewport";
constexpr UINT_PTR kClickTimer = 1;
constexpr UINT kClickDelayMs = 250;

// A pointing hand for systems whose cursor set has none: X black, o white.
const char* const kHandRows[] = {
    "     XX         ", "    XooX        ", "    XooX        ", "    XooX        ", "    XooXXX      ",
    "    XooXooXXX   ", "    XooXooXooXX ", "XX  XooXooXooXoX", "XooXXooooooooXoX", "XoooXooooooooooX",
    " XoooooooooooooX", "  XooooooooooooX", "  XoooooooooooX ", "   XooooooooooX ", "   XoooooooooX  ",
    "    XooooooooX  ", "    XooooooooX  ", "    XXXXXXXXXX  ",
};

HCURSOR MakeHandCursor(HINSTANCE instance) {
    const int cx = GetSystemMetrics(SM_CXCURSOR), cy = GetSystemMetrics(SM_CYCURSOR);
    const int stride = ((cx + 15) / 16) * 2;
    std::vector<BYTE> andMask(static_cast<size_t>(stride * cy), 0xFF), xorMask(static_cast<size_t>(stride * cy), 0);
    const int rows = static_cast<int>(sizeof kHandRows / sizeof *kHandRows);
    for (int y = 0; y < rows && y < cy; ++y)
        for (int x = 0; kHandRows[y][x] != '\0' && x < cx; ++x) {
            const char c = kHandRows[y][x];
            if (c == ' ') continue;
            const size_t at = static_cast<size_t>(y * stride + x / 8);
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            andMask[at] = static_cast<BYTE>(andMask[at] & ~bit);
            if (c == 'o') xorMask[at] = static_cast<BYTE>(xorMask[at] | bit);
        }
    return CreateCursor(instance, 5, 0, cx, cy, andMask.data(), xorMask.data());
}

HINSTANCE Instance() { return forms::App.hInstance(); }

// The viewport's messages go to the control that made it.
bool RegisterViewportClass(WNDPROC proc) {
    static bool ready = false;
    if (ready) return true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.lpszClassName = kViewportClass;  // no background and no cursor: the page covers it, moves set it
    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    ready = true;
    return true;
}

}  // namespace

HtmlLabel::~HtmlLabel() { Destroy(); }

bool HtmlLabel::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kHtmlLabelClass) || !RegisterViewportClass(ViewportProc)) return false;
    shown_ = visible;
    if (!CreateWindowIn(parent, kHtmlLabelClass, WS_CLIPCHILDREN, 0, "")) return false;
    viewport_ = CreateWindowExA(0, kViewportClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, hWnd(), nullptr, Instance(),
                                nullptr);
    scroll_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 1, 1, hWnd(), nullptr, Instance(), nullptr);
    if (viewport_ == nullptr || scroll_ == nullptr) {
        Destroy();
        return false;
    }
    SetWindowLongA(viewport_, GWL_USERDATA, reinterpret_cast<LONG>(this));

    InitCommonControls();
    tip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, "", WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, hWnd(), nullptr, Instance(), nullptr);
    if (tip_ != nullptr) {
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;  // understood by every comctl32
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hWnd();
        ti.uId = reinterpret_cast<UINT_PTR>(viewport_);
        ti.lpszText = const_cast<char*>("");
        SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    // The system's hand where there is one (IDC_HAND), else our own.
    hand_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    if (hand_ == nullptr) {
        hand_ = MakeHandCursor(Instance());
        ownHand_ = hand_ != nullptr;
    }

    doc_.textColor = 0;
    doc_.linkColor = kBlue;
    ApplyBorder();
    SetBackColor(backColor);
    OnResize();
    return true;
}

void HtmlLabel::OnDetach() {
    if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
    tip_ = nullptr;
    if (viewport_ != nullptr && IsWindow(viewport_)) {
        KillTimer(viewport_, kClickTimer);
        SetWindowLongA(viewport_, GWL_USERDATA, 0);
    }
    viewport_ = scroll_ = nullptr;
    if (ownHand_) DestroyCursor(hand_);
    hand_ = nullptr;
    ownHand_ = false;
    pendingHref_.clear();
    tipText_.clear();
    overLink_ = scrollShown_ = scrollEnabled_ = false;
    scrollValue_ = scrollMax_ = 0;
    largeChange_ = 1;
    synced_.reset();
    drawn_.reset();
}

int HtmlLabel::ScrollOffset() const {
    // Only a shown scroll bar moves the page; with scrolling off the links
    // are where the page draws them.
    return enableScroll ? scrollValue_ * 10 : 0;
}

void HtmlLabel::ApplyBorder() {
    HWND own = hWnd();
    if (own == nullptr) return;
    LONG style = GetWindowLongA(own, GWL_STYLE) & ~static_cast<LONG>(WS_BORDER);
    LONG ex = GetWindowLongA(own, GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_CLIENTEDGE);
    if (borderStyle == 1) {
        if (appearance == 1)
            ex |= WS_EX_CLIENTEDGE;
        else
            style |= WS_BORDER;
    }
    SetWindowLongA(own, GWL_STYLE, style);
    SetWindowLongA(own, GWL_EXSTYLE, ex);
    SetWindowPos(own, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void HtmlLabel::SetAppearance(int value) {
    appearance = value;
    ApplyBorder();
}

void HtmlLabel::SetBorderStyle(int value) {
    borderStyle = value;
    ApplyBorder();
}

void HtmlLabel::SetBackColor(uint32_t colour) {
    backColor = colour;
    drawn_.reset();
    page_.SetBackColour(colour);
    CopyPage();
}

void HtmlLabel::SetVisible(bool on) {
    if (Created()) shown_ = on;
    Control::SetVisible(on);
}

int HtmlLabel::mintExtractTagAttributes(const std::string& tagText) {
    attrNames_.clear();
    attrValues_.clear();
    for (const Attribute& a : ExtractTagAttributes(tagText)) {
        attrNames_.push_back(a.name);
        attrValues_.push_back(a.value);
    }
    return static_cast<int>(attrNames_.size());
}

RenderOptions HtmlLabel::Options() const {
    RenderOptions o;
    o.enableAnchors = enableAnchors;
    o.enableScroll = enableScroll;
    o.scrollValue = scrollValue_;
    return o;
}

void HtmlLabel::SetDocumentHTML(const std::string& markup) {
    Busy busy(*this);
    doc_.defaultFontName = defaultFontName;
    doc_.defaultFontSize = defaultFontSize;
    doc_.enableAnchors = enableAnchors;
    doc_.Assign(markup);
    drawn_.reset();
    // The button face, or the BODY's colour; the page is shown by the
    // layout that follows, or by the host's Refresh.
    backColor = doc_.backColor;
    page_.SetBackColour(backColor);
    if (Visible()) Refresh(false);
}

void HtmlLabel::Refresh(bool paintOnly) {
    if (!Created()) return;
    Busy busy(*this);
    doc_.defaultFontName = defaultFontName;
    doc_.defaultFontSize = defaultFontSize;
    if (!paintOnly) Render(true);
    if (enableScroll) {
        RECT rc{};
        GetClientRect(viewport_, &rc);
        const ScrollRange range = ComputeScrollRange(doc_, rc.bottom);
        scrollMax_ = range.max;
        largeChange_ = range.largeChange;
        scrollValue_ = 0;
        scrollEnabled_ = range.enabled;
        scrollShown_ = true;
    } else {
        scrollShown_ = false;
    }
    // Painted after the bar is back at the top, so that the page and the
    // links' hit positions agree with the bar.
    if (paintOnly && !PageIsCurrent()) Render(false);
    SyncScrollBar();
    CopyPage();
}

void HtmlLabel::SyncScrollBar() {
    if (scroll_ == nullptr) return;
    // Only what changed reaches the bar: every tip shown goes through here.
    const SyncedBar now{scrollMax_, scrollValue_, scrollEnabled_, scrollShown_};
    if (synced_ && now.max == synced_->max && now.value == synced_->value && now.enabled == synced_->enabled &&
        now.shown == synced_->shown)
        return;
    synced_ = now;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = scrollMax_;
    si.nPos = scrollValue_;
    SetScrollInfo(scroll_, SB_CTL, &si, TRUE);
    EnableWindow(scroll_, scrollEnabled_);
    ShowWindow(scroll_, scrollShown_ ? SW_SHOW : SW_HIDE);
}

void HtmlLabel::OnResize() {
    if (!Created() || viewport_ == nullptr) return;
    RECT rc{};
    GetClientRect(hWnd(), &rc);
    int pageWidth = rc.right, pageHeight = rc.bottom;
    if (enableScroll) {
        const int bar = GetSystemMetrics(SM_CXVSCROLL);
        pageWidth = rc.right - bar;
        MoveWindow(scroll_, pageWidth, 0, bar, rc.bottom, TRUE);
        scrollValue_ = 0;
        SyncScrollBar();
    }
    MoveWindow(viewport_, 0, 0, pageWidth > 0 ? pageWidth : 0, pageHeight > 0 ? pageHeight : 0, TRUE);
    // A new page starts blank; the host lays the document out again.
    page_.Resize(pageWidth, pageHeight);
    drawn_.reset();
}

void HtmlLabel::CopyPage() {
    if (viewport_ == nullptr || !IsWindowVisible(viewport_)) return;
    HDC dc = GetDC(viewport_);
    CopyPageTo(dc);
    ReleaseDC(viewport_, dc);
}

void HtmlLabel::CopyPageTo(HDC dc) {
    RECT rc{};
    GetClientRect(viewport_, &rc);
    // The page holds the visible part already shifted: the copy never offsets.
    BitBlt(dc, 0, 0, rc.right, rc.bottom, page_.Dc(), 0, 0, SRCCOPY);
}

void HtmlLabel::OnViewportPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(viewport_, &ps);
    CopyPageTo(dc);
    EndPaint(viewport_, &ps);
}

void HtmlLabel::OnMouseMove(int x, int y) {
    if (!enableAnchors) return;
    const int hit = doc_.HitTest(x, y, ScrollOffset());
    overLink_ = hit >= 0;
    const std::string text = overLink_ ? doc_.Tokens()[static_cast<size_t>(hit)].Href : std::string();
    SetCursor(overLink_ ? hand_ : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    if (text == tipText_ || tip_ == nullptr) return;
    tipText_ = text;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = hWnd();
    ti.uId = reinterpret_cast<UINT_PTR>(viewport_);
    ti.lpszText = const_cast<char*>(tipText_.c_str());
    SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void HtmlLabel::OnMouseUp(int x, int y) {
    if (!enableAnchors) return;
    const int hit = doc_.HitTest(x, y, ScrollOffset());
    if (hit < 0) return;
    const std::string href = doc_.Tokens()[static_cast<size_t>(hit)].Href;
    if (href.empty()) return;
    if (href[0] == '#' && enableScroll) {
        const int value = ScrollForAnchor(doc_, href, scrollMax_);
        if (value >= 0) SetScrollValue(value);
        return;  // in-document anchors raise no event
    }
    // The event comes from the timer, outside the mouse handler; a second
    // release before it replaces the target.
    pendingHref_ = href;
    SetTimer(viewport_, kClickTimer, kClickDelayMs, nullptr);
}

void HtmlLabel::OnClickTimer() {
    KillTimer(viewport_, kClickTimer);
    if (pendingHref_.empty()) return;
    std::string href = pendingHref_;
    pendingHref_.clear();
    if (HyperlinkClick) Fire("HyperlinkClick", [&] { HyperlinkClick(index, href); });
}

void HtmlLabel::OnKeyDown(int key) {
    if (!enableScroll) return;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int value = ScrollForKey(key, ctrl, scrollValue_, 0, scrollMax_, kSmallChange, largeChange_);
    if (value >= 0) SetScrollValue(value);
}

void HtmlLabel::OnScroll(int code) {
    int value = scrollValue_;
    switch (code) {
    case SB_LINEUP: value -= kSmallChange; break;
    case SB_LINEDOWN: value += kSmallChange; break;
    case SB_PAGEUP: value -= largeChange_; break;
    case SB_PAGEDOWN: value += largeChange_; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = scrollMax_; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(scroll_, SB_CTL, &si);
        value = si.nTrackPos;
        break;
    }
    default: return;
    }
    // The bar itself stops at its ends.
    SetScrollValue(value < 0 ? 0 : (value > scrollMax_ ? scrollMax_ : value));
}

bool HtmlLabel::SetScrollValue(int value) {
    if (value < 0 || value > scrollMax_) return false;
    scrollValue_ = value;
    SyncScrollBar();
    ScrollChanged();
    return true;
}

void HtmlLabel::ScrollChanged() {
    Render(false);
    CopyPage();
}

HtmlLabel::Drawn HtmlLabel::Inputs() const {
    return Drawn{Options(), defaultFontName, defaultFontSize, backColor};
}

bool HtmlLabel::PageIsCurrent() const {
    if (!drawn_) return false;
    const Drawn now = Inputs();
    const RenderOptions &a = drawn_->options, &b = now.options;
    return a.enableAnchors == b.enableAnchors && a.enableScroll == b.enableScroll &&
           (!b.enableScroll || a.scrollValue == b.scrollValue) && drawn_->fontName == now.fontName &&
           drawn_->fontSize == now.fontSize && drawn_->backColor == now.backColor;
}

void HtmlLabel::Render(bool layout) {
    if (doc_.TokenCount() == 0) return;
    RenderDocument(doc_, page_, layout, Options());
    drawn_ = Inputs();
    if (layout) drawn_->options.scrollValue = 0;  // the layout draws the top of the document
}

LRESULT CALLBACK HtmlLabel::ViewportProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<HtmlLabel*>(GetWindowLongA(hwnd, GWL_USERDATA));
    return self != nullptr && self->viewport_ == hwnd ? self->OnViewport(msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT HtmlLabel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        OnResize();
        return 0;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lp) == scroll_) OnScroll(LOWORD(wp));
        return 0;
    default:
        return Control::OnMessage(msg, wp, lp);
    }
}

LRESULT HtmlLabel::OnViewport(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
    switch (msg) {
    case WM_PAINT:
        OnViewportPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            LPCSTR shape = busy_ > 0 ? IDC_WAIT : IDC_ARROW;
            SetCursor(overLink_ && enableAnchors && busy_ == 0 ? hand_ : LoadCursorA(nullptr, shape));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ::SetFocus(viewport_);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnMouseUp(x, y);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<int>(wp));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_TIMER:
        if (wp == kClickTimer) OnClickTimer();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongA(viewport_, GWL_USERDATA, 0);
        viewport_ = nullptr;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(viewport_, msg, wp, lp);
}

}  // namespace corvella::htmllabel
