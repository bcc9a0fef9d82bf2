// Window services of the program's forms: text fitted with an ellipsis,
// progress bar colours, top-most and centred windows, redraw locking and
// flat toolbars.
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

// A form's size in twips and its scale mode, as the centring needs them.
constexpr int32_t kScaleTwips = 1;
constexpr int32_t kScalePixels = 3;
struct FormMetrics {
    int32_t width_twips = 0;
    int32_t height_twips = 0;
    int32_t scale_mode = kScaleTwips;
};
// The window's outer size in twips, scale mode twips.
FormMetrics MetricsOf(HWND form);

// The left / top edge in twips that centres the form on the screen's
// full-screen client area (SM_CXFULLSCREEN / SM_CYFULLSCREEN); 0 when its
// scale mode is not twips.
int32_t CenterLeft(const FormMetrics& form);
int32_t CenterTop(const FormMetrics& form);

// Drawing off (true) or on (false) by WM_SETREDRAW.
void LockRedraw(HWND window, bool lock);
// The same; unlocking also repaints the window and its children at once.
void LockWindow(HWND window, bool lock);

// Gives the toolbar that is the first child of `host` the flat style
// without divider and parent alignment.
void MakeToolbarFlat(HWND host);

// The system sound of a message-box type (MB_ICONEXCLAMATION = 48...).
void SystemBeep(UINT sound_type);

}  // namespace shell
}  // namespace corvella
