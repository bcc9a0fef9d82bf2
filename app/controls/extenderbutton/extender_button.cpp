#include "app/controls/extenderbutton/extender_button.h"

#include "app/controls/flatheader/program_subclass.h"
#include "libs/flatcontrols/win32/frame_draw.h"

namespace corvella::controls {

const char kExtenderButtonClass[] = "Corvella.ExtenderButton";

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 10;
constexpr int kPictureLeftTwips = 15;
constexpr int kPressedDropTwips = 8;

// The picture: a small arrow pointing down at the menu the button opens,
// one row of pixels per entry (first and last column drawn).
constexpr int kPictureWidth = 7, kPictureHeight = 9;
struct Row {
    int y, x1, x2;
};
const Row kArrow[] = {{3, 0, 6}, {4, 1, 5}, {5, 2, 4}, {6, 3, 3}};

enum Picture { kEnabledPicture = 0, kDisabledPicture = 1 };

struct FrameColours {
    uint32_t topLeft, bottomRight;
};
constexpr FrameColours kRaised = {flat::kButtonHighlight, flat::kButtonShadow};
constexpr FrameColours kSunken = {flat::kButtonShadow, flat::kButtonHighlight};
constexpr FrameColours kInvisible = {flat::kButtonFace, flat::kButtonFace};

int PictureHeightTwips() { return forms::Screen.ToTwipsY(kPictureHeight); }

}  // namespace

ExtenderButton::ExtenderButton() {
    width = 330;
    height = 330;
}

ExtenderButton::~ExtenderButton() {
    Unhook();
    Destroy();
}

bool ExtenderButton::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kExtenderButtonClass, 0, nullptr)) return false;
    pictureEnabled_ = enabled;
    enabled = true;  // the window itself is always enabled
    const bool made = CreateWindowIn(parent, kExtenderButtonClass, 0, 0, "");
    enabled = pictureEnabled_;
    if (!made) return false;
    backNow_ = backColour;
    hover_ = pressed_ = false;
    CentrePictures();
    // Hooked again each time the button comes to life on a form.
    Unhook();
    hooked_ = ProgramSubclassManager().HookMessage(this, hWnd(), WM_TIMER);
    return true;
}

void ExtenderButton::Unhook() {
    if (!hooked_) return;
    hooked_ = false;
    if (hWnd()) ProgramSubclassManager().UnhookMessage(this, hWnd(), WM_TIMER);
}

void ExtenderButton::OnDetach() {
    Unhook();
    if (hWnd()) KillTimer(hWnd(), kPollTimer);
}

uint32_t ExtenderButton::BackColour() const { return Created() ? backNow_ : backColour; }

void ExtenderButton::SetBackColour(uint32_t colour) {
    if (!Created()) {
        backColour = colour;
        return;
    }
    backNow_ = colour;
    InvalidateRect(hWnd(), nullptr, TRUE);
}

bool ExtenderButton::Enabled() const { return Created() ? pictureEnabled_ : enabled; }

void ExtenderButton::SetEnabled(bool on) {
    if (!Created()) {
        enabled = on;
        return;
    }
    pictureEnabled_ = on;
    InvalidateRect(hWnd(), nullptr, TRUE);
}

void ExtenderButton::SetRemainPressed(bool on) {
    remainPressed_ = on;
    if (!on && Created()) Redraw(true);
}

int ExtenderButton::PictureTop() const { return pictureTop_[Enabled() ? kEnabledPicture : kDisabledPicture]; }

void ExtenderButton::CentrePictures() {
    const int top = Height() / 2 - PictureHeightTwips() / 2;
    pictureTop_[kEnabledPicture] = pictureTop_[kDisabledPicture] = top;
}

void ExtenderButton::Redraw(bool keepPictures) {
    if (!keepPictures) {
        if (!remainPressed_ && Enabled() && pressed_)
            pictureTop_[kEnabledPicture] = Height() / 2 - PictureHeightTwips() / 2 + kPressedDropTwips;
        else
            CentrePictures();
    }
    RedrawWindow(hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void ExtenderButton::Paint(HDC dc) {
    RECT rc;
    GetClientRect(hWnd(), &rc);
    HBRUSH back = CreateSolidBrush(flat::TranslateColor(backNow_));
    FillRect(dc, &rc, back);
    DeleteObject(back);

    const bool on = Enabled();
    const int x0 = forms::Screen.ToPixelsX(kPictureLeftTwips);
    const int y0 = forms::Screen.ToPixelsY(pictureTop_[on ? kEnabledPicture : kDisabledPicture]);
    HBRUSH ink = CreateSolidBrush(GetSysColor(on ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    for (const Row& row : kArrow) {
        RECT r = {x0 + row.x1, y0 + row.y, x0 + row.x2 + 1, y0 + row.y + 1};
        FillRect(dc, &r, ink);
    }
    DeleteObject(ink);

    // The frame, first match wins.
    const FrameColours& frame = remainPressed_              ? kRaised
                                : on && pressed_           ? kSunken
                                : !on || !hover_           ? kInvisible
                                                           : kRaised;
    const RECT box = {0, 0, forms::Screen.ToPixelsX(Width()), forms::Screen.ToPixelsY(Height())};
    flat::Draw3DRect(dc, box, frame.topLeft, frame.bottomRight);
}

LRESULT ExtenderButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hWnd();
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        SetCapture(hwnd);
        ::SetFocus(hwnd);
        pressed_ = true;
        Redraw(false);
        if (Enabled()) Fire("Click", [&] {
                if (Click) Click(index);
            });
        FireCommonEvent(msg, wp, lp);
        return 0;
    case WM_MOUSEMOVE:
        if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && !hover_) {
            hover_ = true;
            Redraw(false);
            SetTimer(hwnd, kPollTimer, kPollMs, nullptr);
        }
        FireCommonEvent(msg, wp, lp);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (GetCapture() == hwnd) ReleaseCapture();
        if (Enabled()) Redraw(true);
        FireCommonEvent(msg, wp, lp);
        return 0;
    case WM_KILLFOCUS:
        pressed_ = false;
        Redraw(false);
        FireCommonEvent(msg, wp, lp);
        return 0;
    case WM_SETFOCUS:
        FireCommonEvent(msg, wp, lp);
        return 0;
    case WM_SIZE:
        CentrePictures();
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint fills the whole face
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

LRESULT ExtenderButton::WindowProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_TIMER || hwnd != hWnd()) return 0;
    POINT pt;
    RECT rc;
    GetCursorPos(&pt);
    GetWindowRect(hwnd, &rc);
    if (PtInRect(&rc, pt)) return 0;
    KillTimer(hwnd, kPollTimer);
    hover_ = false;
    pressed_ = false;
    Redraw(false);
    return 0;
}

}  // namespace corvella::controls
