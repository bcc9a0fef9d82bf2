#include "app/controls/flatheader/flat_header.h"

#include <commctrl.h>

#include <cmath>

#include "app/controls/flatheader/program_subclass.h"
#include "libs/flatcontrols/win32/os_version_win32.h"

namespace corvella::controls {

const char kNoHeaderDescription[] = "Invalid Window Passed to cFlatHeader - no header control detected.";

namespace {

enum class Event { RightClick, BeginTrack, EndTrack, ItemChanging, BeginDrag, EndDrag };

// A list view gets its header's notifications as ANSI or as wide codes,
// depending on the window classes involved; only one of each pair arrives
// per action, so both raise the event.
struct Code {
    UINT code;
    Event event;
};
const Code kCodes[] = {
    {NM_RCLICK, Event::RightClick},
    {HDN_BEGINTRACKA, Event::BeginTrack},     {HDN_BEGINTRACKW, Event::BeginTrack},
    {HDN_ENDTRACKA, Event::EndTrack},         {HDN_ENDTRACKW, Event::EndTrack},
    {HDN_ITEMCHANGINGA, Event::ItemChanging}, {HDN_ITEMCHANGINGW, Event::ItemChanging},
    {HDN_BEGINDRAG, Event::BeginDrag},        {HDN_ENDDRAG, Event::EndDrag},
};

const char* const kHeaderClasses[] = {"msvb_lib_header", "SysHeader32"};

// The program's version probe: read once, as start-up reads its own.
const COSVersion& OSVersion() {
    static const COSVersion version = ReadOSVersion();
    return version;
}

long ToTwips(long pixels, double twipsPerPixel) { return static_cast<long>(std::lrint(pixels * twipsPerPixel)); }

HWND FindHeader(HWND hwnd) {
    char cls[256] = {0};
    GetClassNameA(hwnd, cls, 255);
    for (const char* name : kHeaderClasses)
        if (lstrcmpA(cls, name) == 0) return hwnd;
    HWND found = FindWindowExA(hwnd, nullptr, "SysHeader32", "");
    if (!found) found = FindWindowExA(hwnd, nullptr, "msvb_lib_header", "");
    return found;
}

struct Pen {
    explicit Pen(COLORREF c) : handle(CreatePen(PS_SOLID, 1, c)) {}
    ~Pen() { DeleteObject(handle); }
    HPEN handle;
};

// A line group with one pen, the previous pen restored after it.
void Polyline3(HDC dc, const Pen& pen, POINT a, POINT b, POINT c) {
    HGDIOBJ old = SelectObject(dc, pen.handle);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    LineTo(dc, c.x, c.y);
    SelectObject(dc, old);
}

}  // namespace

CFlatHeader::~CFlatHeader() { Detach(); }

void CFlatHeader::Attach(HWND hWnd) {
    Detach();
    attached_ = hWnd;
    auto& manager = ProgramSubclassManager();
    manager.HookMessage(this, hWnd, WM_NOTIFY);
    HWND header = FindHeader(hWnd);
    if (!header || !IsWindow(header)) {
        // Nothing stays routed to an object the caller may now release.
        manager.UnhookMessage(this, hWnd, WM_NOTIFY);
        attached_ = nullptr;
        throw SourcedError(kNoHeaderDescription, kNoHeaderError, forms::App.ExeName() + ".cFlatHeader");
    }
    header_ = header;
    if (!OSVersion().IsWinXP()) manager.HookMessage(this, header_, WM_PAINT);
}

void CFlatHeader::Detach() {
    if (!header_) return;
    auto& manager = ProgramSubclassManager();
    manager.UnhookMessage(this, header_, WM_PAINT);
    manager.UnhookMessage(this, attached_, WM_NOTIFY);
    header_ = nullptr;
}

void CFlatHeader::ThinBorder(HWND hWnd, bool value) {
    LONG ex = GetWindowLongA(hWnd, GWL_EXSTYLE);
    ex = value ? ((ex & ~WS_EX_CLIENTEDGE) | WS_EX_STATICEDGE) : (ex | WS_EX_CLIENTEDGE);
    SetWindowLongA(hWnd, GWL_EXSTYLE, ex);
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CFlatHeader::WindowProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_PAINT && hWnd == header_) {
        PaintFlat();
        return 0;
    }
    if (msg == WM_NOTIFY && hWnd == attached_ && lParam) return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    return 0;
}

void CFlatHeader::PaintFlat() {
    RECT r;
    GetWindowRect(header_, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetDC(header_);
    const Pen highlight(GetSysColor(COLOR_BTNHIGHLIGHT)), face(GetSysColor(COLOR_BTNFACE));
    const COLORREF shadowColour = GetSysColor(COLOR_BTNSHADOW);
    const Pen shadow(shadowColour);
    int x = 0;
    const int count = static_cast<int>(SendMessageA(header_, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int item = static_cast<int>(SendMessageA(header_, HDM_ORDERTOINDEX, i, 0));
        HDITEMA hdi = {};
        hdi.mask = HDI_WIDTH;
        if (!SendMessageA(header_, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&hdi))) continue;
        const int x1 = x + 1;
        x += hdi.cxy;
        Polyline3(dc, face, {x1, r.bottom - 2}, {x - 2, r.bottom - 2}, {x - 2, r.top});
        // A pressed button has the shadow at its top left: light its outer line.
        const bool pressed = GetPixel(dc, x1, r.top) == shadowColour;
        Polyline3(dc, pressed ? highlight : shadow, {x1 - 1, r.bottom - 1}, {x - 1, r.bottom - 1},
                  {x - 1, r.top - 1});
    }
    if (x < r.right) {
        HGDIOBJ old = SelectObject(dc, face.handle);
        MoveToEx(dc, x + 1, r.bottom - 2, nullptr);
        LineTo(dc, r.right, r.bottom - 2);
        SelectObject(dc, old);
    }
    ReleaseDC(header_, dc);
}

long CFlatHeader::ColumnWidthTwips() const {
    HDITEMA hdi = {};
    hdi.mask = HDI_WIDTH;
    if (!SendMessageA(header_, HDM_GETITEMA, column_ - 1, reinterpret_cast<LPARAM>(&hdi))) return 0;
    return ToTwips(hdi.cxy, forms::Screen.TwipsPerPixelX());
}

LRESULT CFlatHeader::OnNotify(const NMHDR& nm) {
    const NMHDR copy = nm;
    POINT pt;
    GetCursorPos(&pt);
    const Code* code = nullptr;
    for (const Code& c : kCodes)
        if (c.code == copy.code) code = &c;
    if (!code) return 0;
    auto fire = [this](const char* event, auto&& handler) { forms::RunHandler(ownerName, name, event, handler); };
    switch (code->event) {
    case Event::RightClick:
        ScreenToClient(attached_, &pt);
        fire("RightClick", [&] {
            if (RightClick)
                RightClick(ToTwips(pt.x, forms::Screen.TwipsPerPixelX()), ToTwips(pt.y, forms::Screen.TwipsPerPixelY()));
        });
        return 0;
    case Event::BeginTrack:
    case Event::BeginDrag: {
        ScreenToClient(header_, &pt);
        HDHITTESTINFO hit = {};
        hit.pt = pt;
        SendMessageA(header_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        column_ = static_cast<short>(hit.iItem + 1);
        const bool track = code->event == Event::BeginTrack;
        fire(track ? "BeginTrack" : "BeginDrag", [&] {
            auto& handler = track ? BeginTrack : BeginDrag;
            if (handler) handler(column_, cancel_);
        });
        return cancel_ ? 1 : 0;
    }
    case Event::EndTrack:
    case Event::ItemChanging: {
        const long width = ColumnWidthTwips();
        const bool end = code->event == Event::EndTrack;
        fire(end ? "EndTrack" : "ItemChanging", [&] {
            auto& handler = end ? EndTrack : ItemChanging;
            if (handler) handler(column_, width);
        });
        return 0;
    }
    case Event::EndDrag:
        fire("EndDrag", [&] {
            if (EndDrag) EndDrag(column_);
        });
        return 0;
    }
    return 0;
}

}  // namespace corvella::controls
