// What the toolbars' numeric button styles mean, as a table, free of
// windows.h. The program writes the bar toolbars' and the main toolbar's
// buttons with the common controls' style bits (0 button, 1 separator,
// 2 check, 8 drop-down, 16 auto-size, 128 whole drop-down) and the field
// toggles with the ActiveX toolbar's style numbers (0 default, 1 check,
// 2 button group, 3 separator, 4 placeholder, 5 drop-down).
#pragma once

#include <cstdint>

namespace corvella::platform {

enum class ButtonKind {
    kPush,       // clicks
    kSeparator,  // a gap; never clicks
    kCheck,      // toggles itself, then clicks: the click reads the new state
    kHeldCheck,  // shows a pressed state that only the program changes; clicks
    kSplit,      // the main part clicks, the arrow drops down
};

struct ButtonBehaviour {
    ButtonKind kind = ButtonKind::kPush;
    bool autoSize = false;  // as wide as its caption and image
    bool group = false;     // one of a group of checks, one pressed at a time
};

// The toolbar library's styles. A plain check (2) is the bar toolbars'
// toggle whose click handler sets the new state itself, so the toolbar
// leaves the state to it; an auto-sized check (18) toggles itself. Any
// drop-down (8 or the whole-button 128, as in 144) is a split button: a
// whole-button drop-down would never deliver the main part's click. Bits
// outside the table are ignored.
ButtonBehaviour BandoletButton(int32_t style);

// The ActiveX toolbar's style numbers; any other number is a push button.
ButtonBehaviour CommonToolbarButton(int32_t style);

}  // namespace corvella::platform
