#include "libs/flatcontrols/win32/os_version_win32.h"

#include <windows.h>

#include <cstring>

namespace corvella {

COSVersion ReadOSVersion() {
    OSVERSIONINFOA raw;
    std::memset(&raw, 0, sizeof raw);
    raw.dwOSVersionInfoSize = sizeof raw;
    static_assert(sizeof raw == kOSVersionInfoSize, "the ANSI record is 148 bytes");
    GetVersionExA(&raw);
    OSVersionInfo info;
    info.dwMajorVersion = raw.dwMajorVersion;
    info.dwMinorVersion = raw.dwMinorVersion;
    info.dwBuildNumber = raw.dwBuildNumber;
    info.dwPlatformId = raw.dwPlatformId;
    std::memcpy(info.szCSDVersion, raw.szCSDVersion, sizeof info.szCSDVersion);
    return COSVersion(info);
}

}  // namespace corvella
