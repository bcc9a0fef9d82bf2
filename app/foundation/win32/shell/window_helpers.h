// Window services of the program's forms: text fitted with an ellipsis,
// progress bar colours, top-most windows, redraw locking and flat toolbars.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvella {
namespace shell {

// `text` shortened so that it fits `width_twips` in the font selected into
// `dc`, in the ellipsis style of `flags` (DT_END_ELLIPSIS, DT_PATH_ELLIPSIS);
// text that fits comes back unchanged.
std::string FitTextWithEllipsis(HDC dc, int32_t width_twips, const std::string& text, UINT flags);

// PBM_SETBKCOLOR / PBM_SETBARCOLOR to a progress bar window.
void SetProgressBackColour(HWND bar, COLORREF colour);
void SetProgressBarColour(HWND bar, COLORREF colour);

// Keeps the window above all non-top-most windows (or not), leaving its
// position and size alone.
void SetTopMost(HWND window, bool top_most);

// Drawing off (true) or on (false) by WM_SETREDRAW; unlocking also repaints
// the window and its children at once.
void LockWindow(HWND window, bool lock);

// Gives the toolbar that is the first child of `host` the flat style
// without divider and parent alignment.
void MakeToolbarFlat(HWND host);

// The system sound of a message-box type (MB_ICONEXCLAMATION = 48...).
void SystemBeep(UINT sound_type);

// Progress texts that change with every file or block paint at once, and
// under Wine a caption's repaint costs as much as the work it reports, so
// they are shown only once this long has passed since the last one was
// shown. Counted from the end of the paint, a slow paint can never take over
// the work. The first text is due at once.
class PaintThrottle {
public:
    explicit PaintThrottle(DWORD intervalMs = 250) : interval_(intervalMs), last_(GetTickCount() - intervalMs) {}
    bool Due() const { return GetTickCount() - last_ >= interval_; }
    void Shown() { last_ = GetTickCount(); }

private:
    DWORD interval_;
    DWORD last_;
};

}  // namespace shell
}  // namespace corvella
