// The one table of the numbers the program gives its windows' children and
// commands. WM_COMMAND carries control ids and menu command ids alike, so
// the ranges must not meet; ids below 1000 are left to the system's dialog
// ids (IDOK, IDCANCEL, ...), and 0xF000 and up are the system commands.
#pragma once

namespace corvella::forms {

struct IdRange {
    const char* use;
    int first;
    int last;
};

enum : int {
    kControlIdFirst = 1000,  // controls of a form, per form
    kControlIdLast = 0x3FFF,
    kTimerIdFirst = 0x4000,  // timers, per form window
    kTimerIdLast = 0x4FFF,
    kPopupMenuIdFirst = 0x5000,  // the popup menu service: base + item index
    kPopupMenuIdLast = 0x6FFF,
};

constexpr IdRange kIdRanges[] = {
    {"controls", kControlIdFirst, kControlIdLast},
    {"timers", kTimerIdFirst, kTimerIdLast},
    {"popup menu commands", kPopupMenuIdFirst, kPopupMenuIdLast},
};

}  // namespace corvella::forms
