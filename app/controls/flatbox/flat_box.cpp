#include "app/controls/flatbox/flat_box.h"

#include "libs/flatcontrols/win32/frame_draw.h"

namespace corvella::controls {

const char kFlatBoxClass[] = "Corvella.FlatBoxContainer";

namespace {

// The four one-pixel lines, in the order they are laid out (later ones over
// earlier ones at the corners), in client pixels of a W x H box; each runs
// from (x1, y1) to (x2, y2) with both ends drawn.
struct Line {
    bool fromRight, fromBottom;  // x1/x2 at W-1, y1/y2 at H-1
    bool vertical;
    uint32_t colour;
};
constexpr uint32_t kWhite = 0x00FFFFFFu;
const Line kLines[] = {
    {true, false, true, flat::kButtonShadow},   // lnRight: x = W-1, y 0..H-1
    {false, true, false, flat::kButtonShadow},  // lnBottom: y = H-1, x 0..W-1
    {false, false, false, kWhite},              // lnTop: y = 0, x 0..W-1
    {false, false, true, kWhite},               // lnLeft: x = 0, y 0..H-1
};

}  // namespace

FlatBoxContainer::~FlatBoxContainer() { Destroy(); }

bool FlatBoxContainer::Create(forms::Container& parent) {
    if (!RegisterControlClass(kFlatBoxClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    return CreateWindowIn(parent, kFlatBoxClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "");
}

void FlatBoxContainer::OnDetach() { DetachChildren(); }

LRESULT FlatBoxContainer::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = Control::hWnd();
    LRESULT result = 0;
    if (RouteMessage(hwnd, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintFrame(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SIZE:
        // The frame follows every size change.
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    default:
        return DefaultMessage(msg, wp, lp);
    }
}

void FlatBoxContainer::PaintFrame(HDC dc) const {
    RECT rc;
    GetClientRect(Control::hWnd(), &rc);
    const int right = rc.right > 0 ? rc.right - 1 : 0, bottom = rc.bottom > 0 ? rc.bottom - 1 : 0;
    for (const Line& line : kLines) {
        const int x = line.fromRight ? right : 0, y = line.fromBottom ? bottom : 0;
        RECT r = line.vertical ? RECT{x, 0, x + 1, rc.bottom} : RECT{0, y, rc.right, y + 1};
        HBRUSH brush = CreateSolidBrush(flat::TranslateColor(line.colour));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

}  // namespace corvella::controls
