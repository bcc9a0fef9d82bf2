// What the window tests that look at the screen use: the screen's own
// pixels, read back from the screen's DC once the windows have painted and
// the picture has reached the screen, and a look at every shown control of
// a form there. A control that has something to draw (a caption, items, a
// border) shows more than one colour; one that a neighbour paints over
// shows that neighbour's one colour, though it exists and takes clicks and
// keys, which is all that the controls themselves can report. A label that
// is too small for its caption in the font it really got, or that lies over
// a neighbour, cuts what it shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {

// A copy of what the screen shows in an area (screen coordinates, cut to
// the screen).
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& area) {
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (!IntersectRect(&area_, &area, &screen)) return;
        const int w = area_.right - area_.left, h = area_.bottom - area_.top;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screenDc = GetDC(nullptr);
        HDC copy = CreateCompatibleDC(screenDc);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap != nullptr) {
            HGDIOBJ old = SelectObject(copy, bitmap);
            if (BitBlt(copy, 0, 0, w, h, screenDc, area_.left, area_.top, SRCCOPY)) {
                GdiFlush();
                const auto* p = static_cast<const uint32_t*>(bits);
                pixels_.assign(p, p + size_t(w) * size_t(h));
                for (uint32_t& c : pixels_) c &= 0xFFFFFF;  // the fourth byte is no colour
            }
            SelectObject(copy, old);
            DeleteObject(bitmap);
        }
        DeleteDC(copy);
        ReleaseDC(nullptr, screenDc);
    }

    const RECT& Area() const { return area_; }
    bool Read() const { return !pixels_.empty(); }
    bool operator==(const ScreenPixels& other) const {
        return EqualRect(&area_, &other.area_) && pixels_ == other.pixels_;
    }

    // The colour at a point of the area (screen coordinates), as GetPixel
    // gives it.
    uint32_t At(int x, int y) const {
        const int w = area_.right - area_.left;
        const uint32_t c = pixels_.at(size_t(y - area_.top) * size_t(w) + size_t(x - area_.left));
        return RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // the bitmap holds 0x00RRGGBB
    }

    // The colours in `r` (screen coordinates), counted up to `enough`.
    int Colours(const RECT& r, int enough = 2) const {
        RECT in{};
        if (!Read() || !IntersectRect(&in, &r, &area_)) return 0;
        std::unordered_set<uint32_t> seen;
        const int w = area_.right - area_.left;
        for (int y = in.top; y < in.bottom; ++y)
            for (int x = in.left; x < in.right; ++x) {
                seen.insert(pixels_[size_t(y - area_.top) * size_t(w) + size_t(x - area_.left)]);
                if (int(seen.size()) >= enough) return enough;
            }
        return int(seen.size());
    }

private:
    RECT area_{};
    std::vector<uint32_t> pixels_;
};

// The screen over `window` once its windows have painted what waits: no
// message is handled meanwhile, so a form whose timer changes it (the
// splash) stays as it is while it is read. Waiting for messages is what
// sends the painted pictures to the screen; two readings that agree say
// that all of it has arrived.
inline ScreenPixels PaintedScreen(HWND window, int timeoutMs = 5000) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT area{};
    GetWindowRect(window, &area);
    ScreenPixels last(area);
    for (const DWORD start = GetTickCount(); static_cast<int>(GetTickCount() - start) < timeoutMs;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ScreenPixels now(area);
        if (now.Read() && now == last) return now;
        last = std::move(now);
    }
    return last;
}

// The screen over `window` after the messages have run until no window of
// the thread waits to be painted.
inline ScreenPixels SettledScreen(HWND window, int timeoutMs = 5000) {
    PumpUntil([] { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0; }, timeoutMs);
    return PaintedScreen(window, timeoutMs);
}

// What a window has to draw that needs a second colour; "" for nothing (a
// bare container, a scroll bar, an empty label, a caption of blanks, an
// image that only takes drags). `control` is the run-time's own, if any.
inline std::string WhatItDraws(HWND w, const Control* control = nullptr) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    char text[80] = {};
    GetWindowTextA(w, text, sizeof text);
    for (const char* c = text; *c != '\0'; ++c)
        if (*c != ' ' && *c != '&') return std::string("its caption \"") + text + "\"";
    const struct {
        const char* cls;
        UINT count;
    } lists[] = {{"ComboBox", CB_GETCOUNT},
                 {"ListBox", LB_GETCOUNT},
                 {WC_LISTVIEWA, LVM_GETITEMCOUNT},
                 {WC_TABCONTROLA, TCM_GETITEMCOUNT},
                 {WC_TREEVIEWA, TVM_GETCOUNT}};
    for (const auto& l : lists)
        if (lstrcmpiA(cls, l.cls) == 0 && SendMessageA(w, l.count, 0, 0) > 0) return "its items";
    const LONG style = GetWindowLongA(w, GWL_STYLE), ex = GetWindowLongA(w, GWL_EXSTYLE);
    if ((style & WS_BORDER) != 0 || (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) != 0)
        return "its border";
    // Buttons draw a face, a box or a circle; group boxes and the
    // run-time's frames an etched edge.
    if (lstrcmpiA(cls, "Button") == 0 || lstrcmpiA(cls, "CorvellaFrame") == 0) return "its edge";
    // An image shows its picture; one that takes clicks needs one, or the
    // user cannot see where to click.
    if (const auto* image = dynamic_cast<const Image*>(control))
        if (image->Picture() != nullptr || image->Click) return "its picture";
    return "";
}

// The run-time's names of a form's controls ("frmName.ctlName(index)").
// With `controls`, the controls themselves too.
inline void ControlNames(const Container& container, std::map<HWND, std::string>& names,
                         std::map<HWND, const Control*>* controls = nullptr) {
    for (const Control* c : container.Children()) {
        if (c->Created()) {
            names[c->hWnd()] = c->ObjectName() + (c->index >= 0 ? "(" + std::to_string(c->index) + ")" : "");
            if (controls != nullptr) (*controls)[c->hWnd()] = c;
        }
        if (const auto* inner = dynamic_cast<const Container*>(c)) ControlNames(*inner, names, controls);
    }
}

inline BOOL CALLBACK CollectWindow(HWND w, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
    return TRUE;
}

// Why a shown label cannot hold its caption in the control's own font, ""
// when it can: on one line within its width, or wrapped within its width
// and height. Labels that cut their text with an ellipsis by design, and
// captions of more than one line, are left alone.
inline std::string CaptionCut(HWND w) {
    char cls[16] = {}, text[512] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 || GetWindowTextA(w, text, sizeof text) == 0) return "";
    const std::string caption = text;
    if (caption.find_first_of("\r\n") != std::string::npos) return "";
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    const LONG kind = style & SS_TYPEMASK;
    if ((kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP &&
         kind != SS_SIMPLE) ||
        (style & SS_ELLIPSISMASK) != 0)
        return "";
    RECT client{};
    GetClientRect(w, &client);
    HDC dc = GetDC(w);
    auto font = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    const UINT prefix = (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
    RECT line = client, wrapped = client;
    DrawTextA(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | prefix);
    DrawTextA(dc, text, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    const bool wraps = kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT;
    if (line.right <= client.right && line.bottom <= client.bottom) return "";
    if (wraps && wrapped.right <= client.right && wrapped.bottom <= client.bottom) return "";
    auto size = [](const RECT& r) { return std::to_string(r.right) + "x" + std::to_string(r.bottom); };
    return "\"" + caption + "\" needs " + size(line) + " pixels on one line" +
           (wraps ? " or " + size(wrapped) + " wrapped" : std::string()) + ", its label has " + size(client);
}

// The shown neighbours (windows of the same parent with something to draw)
// that a shown label lies over, where one hides the other's edge or text.
inline std::string LabelOverlaps(HWND w, const std::map<HWND, std::string>& names) {
    char cls[16] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return "";
    RECT mine{};
    GetWindowRect(w, &mine);
    std::string over;
    for (HWND s = GetWindow(w, GW_HWNDFIRST); s != nullptr; s = GetWindow(s, GW_HWNDNEXT)) {
        RECT theirs{}, both{};
        GetWindowRect(s, &theirs);
        if (s == w || !IsWindowVisible(s) || WhatItDraws(s).empty() || !IntersectRect(&both, &mine, &theirs)) continue;
        const auto named = names.find(s);
        over += std::string(over.empty() ? "lies over " : ", ") +
                (named != names.end() ? named->second : std::string("a child")) + " by " +
                std::to_string(both.right - both.left) + "x" + std::to_string(both.bottom - both.top) + " pixels";
    }
    return over;
}

struct ControlLook {
    int looked = 0;                  // shown controls that have something to draw
    std::vector<std::string> blank;  // those of them that show one colour
    std::vector<std::string> cut;    // shown labels too small for their captions or over a neighbour
};

// Every shown child window of `form` (at any depth) with something to draw,
// within what its parents and the screen let show, on `screen`; and each
// shown label against its caption and its neighbours.
inline ControlLook LookAtControls(const Form& form, const ScreenPixels& screen) {
    std::map<HWND, std::string> names;
    std::map<HWND, const Control*> controls;
    ControlNames(form, names, &controls);
    std::vector<HWND> children;
    EnumChildWindows(form.hWnd(), &CollectWindow, reinterpret_cast<LPARAM>(&children));
    POINT origin{0, 0};
    ClientToScreen(form.hWnd(), &origin);
    ControlLook look;
    for (HWND w : children) {
        // A window hidden by design (one of the frames that share a place)
        // is not visible, nor is what it holds.
        if (!IsWindowVisible(w)) continue;
        const auto control = controls.find(w);
        const std::string what = WhatItDraws(w, control != controls.end() ? control->second : nullptr);
        if (what.empty()) continue;
        RECT r{};
        GetWindowRect(w, &r);
        for (HWND p = GetParent(w); p != nullptr; p = GetParent(p)) {
            RECT client{};
            GetClientRect(p, &client);
            MapWindowPoints(p, nullptr, reinterpret_cast<POINT*>(&client), 2);
            IntersectRect(&r, &r, &client);
            if (p == form.hWnd()) break;
        }
        if (!IntersectRect(&r, &r, &screen.Area())) continue;
        ++look.looked;
        const auto named = names.find(w);
        const std::string name = named != names.end() ? named->second : std::string("a child");
        for (const std::string& cut : {CaptionCut(w), LabelOverlaps(w, names)})
            if (!cut.empty()) look.cut.push_back(name + ": " + cut);
        if (screen.Colours(r) > 1) continue;
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        look.blank.push_back(name + " (" + cls + ", id " + std::to_string(GetDlgCtrlID(w)) + ") at " +
                             std::to_string(r.left - origin.x) + "," + std::to_string(r.top - origin.y) + " size " +
                             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
                             " shows one colour on the screen for " + what);
    }
    return look;
}

}  // namespace corvella::forms::testing
