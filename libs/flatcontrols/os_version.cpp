#include "libs/flatcontrols/os_version.h"

namespace corvella {
namespace {

int32_t S(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

bool COSVersion::IsWin95() const {
    return S(info_.dwPlatformId) == 1 && S(info_.dwMajorVersion) == 4 && S(info_.dwMinorVersion) == 0;
}

bool COSVersion::IsWin98() const {
    // The second clause does not look at the platform, so ME answers True too.
    return (S(info_.dwPlatformId) == 1 && S(info_.dwMajorVersion) > 4) ||
           (S(info_.dwMinorVersion) > 0 && S(info_.dwMajorVersion) == 4);
}

bool COSVersion::IsWinME() const {
    return S(info_.dwMinorVersion) == 90 && S(info_.dwPlatformId) == 1 &&
           S(info_.dwMajorVersion) == 4;
}

bool COSVersion::IsWinNT4() const {
    return S(info_.dwPlatformId) == 2 && S(info_.dwMajorVersion) == 4;
}

bool COSVersion::IsWin2000() const {
    return S(info_.dwPlatformId) == 2 && S(info_.dwMajorVersion) == 5 && S(info_.dwMinorVersion) == 0;
}

bool COSVersion::IsWinXP() const {
    return S(info_.dwPlatformId) == 2 && S(info_.dwMajorVersion) == 5 && S(info_.dwMinorVersion) == 1;
}

}  // namespace corvella
