// Prints the probe's six answers as 0/1 digits, in member order; the Wine
// test runs it with a per-program Windows version set in the registry.
#include "libs/flatcontrols/win32/os_version_win32.h"

#include <cstdio>

int main() {
    corvella::COSVersion v = corvella::ReadOSVersion();
    std::printf("%d%d%d%d%d%d\n", v.IsWin95(), v.IsWin98(), v.IsWinME(), v.IsWinNT4(), v.IsWin2000(),
                v.IsWinXP());
    return 0;
}
