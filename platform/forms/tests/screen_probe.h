// What the window tests that look at the screen use: the screen's own
// pixels, read back from the screen's DC once the windows have painted and
// the picture has reached the screen, and a look at every shown control of
// a form there. A control that has something to draw (a caption, items, a
// border) shows more than one colour; one that a neighbour paints over
// shows that neighbour's one colour, though it exists and takes clicks and
// keys, which is all that the controls themselves can report.
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
// bare container, a scroll bar, an empty label, a caption of blanks).
inline std::string WhatItDraws(HWND w) {
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
    return "";
}

// The run-time's names of a form's controls ("frmName.ctlName(index)").
inline void ControlNames(const Container& container, std::map<HWND, std::string>& names) {
    for (const Control* c : container.Children()) {
        if (c->Created()) names[c->hWnd()] = c->ObjectName() + (c->index >= 0 ? "(" + std::to_string(c->index) + ")" : "");
        if (const auto* inner = dynamic_cast<const Container*>(c)) ControlNames(*inner, names);
    }
}

inline BOOL CALLBACK CollectWindow(HWND w, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
    return TRUE;
}

struct ControlLook {
    int looked = 0;                  // shown controls that have something to draw
    std::vector<std::string> blank;  // those of them that show one colour
};

// Every shown child window of `form` (at any depth) with something to draw,
// within what its parents and the screen let show, on `screen`.
inline ControlLook LookAtControls(const Form& form, const ScreenPixels& screen) {
    std::map<HWND, std::string> names;
    ControlNames(form, names);
    std::vector<HWND> children;
    EnumChildWindows(form.hWnd(), &CollectWindow, reinterpret_cast<LPARAM>(&children));
    POINT origin{0, 0};
    ClientToScreen(form.hWnd(), &origin);
    ControlLook look;
    for (HWND w : children) {
        // A window hidden by design (one of the frames that share a place)
        // is not visible, nor is what it holds.
        if (!IsWindowVisible(w)) continue;
        const std::string what = WhatItDraws(w);
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
        if (screen.Colours(r) > 1) continue;
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        const auto named = names.find(w);
        look.blank.push_back((named != names.end() ? named->second : std::string("a child")) + " (" + cls +
                             ", id " + std::to_string(GetDlgCtrlID(w)) + ") at " + std::to_string(r.left - origin.x) +
                             "," + std::to_string(r.top - origin.y) + " size " + std::to_string(r.right - r.left) +
                             "x" + std::to_string(r.bottom - r.top) + " shows one colour on the screen for " + what);
    }
    return look;
}

}  // namespace corvella::forms::testing
