// Design properties with fixed values. The numbers are the ones stored
// designs and callers use, so a value keeps its meaning when it is written
// as a number.
#pragma once

namespace corvella::forms {

// A form's frame; controls take kBorderNone or kFixedSingle.
enum BorderStyle : int {
    kBorderNone = 0,
    kFixedSingle = 1,
    kSizable = 2,
    kFixedDialog = 3,
    kFixedToolWindow = 4,
    kSizableToolWindow = 5,
};

// Where a form first appears.
enum StartUpPosition : int {
    kStartManual = 0,        // at left/top
    kStartCenterOwner = 1,   // centred on its owner (the screen without one)
    kStartCenterScreen = 2,
    kStartWindowsDefault = 3,
};

enum Alignment : int { kLeftJustify = 0, kRightJustify = 1, kCenter = 2 };

enum ScrollBars : int { kScrollNone = 0, kScrollHorizontal = 1, kScrollVertical = 2, kScrollBoth = 3 };

enum MousePointer : int {
    kPointerDefault = 0,
    kPointerArrow = 1,
    kPointerCross = 2,
    kPointerIBeam = 3,
    kPointerSizeNS = 7,
    kPointerSizeWE = 9,
    kPointerHourglass = 11,
};

// A combo box's kind (ComboBox::style).
enum ComboStyle : int { kDropDownCombo = 0, kSimpleCombo = 1, kDropDownList = 2 };

enum WindowStateValue : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

}  // namespace corvella::forms
