// The Windows version probe: six yes/no answers about the running Windows,
// decided from the numbers GetVersionExA reports. The Win32 side fills an
// OSVersionInfo once (zeroed, size 148, then GetVersionExA, whose result is
// not tested) and builds the object from it; a failed call leaves the record
// zero and every answer False. The program knows the class as COSVersion,
// the flat-controls library as COSInfo.
#pragma once

#include <cstdint>

namespace corvella {

constexpr uint32_t kPlatformWin32Windows = 1;  // Windows 95/98/ME
constexpr uint32_t kPlatformWin32Nt = 2;
constexpr uint32_t kOSVersionInfoSize = 148;   // the ANSI OSVERSIONINFO

// The fields of OSVERSIONINFOA the probe keeps.
struct OSVersionInfo {
    uint32_t dwOSVersionInfoSize = kOSVersionInfoSize;
    uint32_t dwMajorVersion = 0;
    uint32_t dwMinorVersion = 0;
    uint32_t dwBuildNumber = 0;
    uint32_t dwPlatformId = 0;
    char szCSDVersion[128] = {};
};

class COSVersion {
public:
    // The zero record: every answer False.
    COSVersion() = default;
    explicit COSVersion(const OSVersionInfo& info) : info_(info) {}

    // Comparisons are on the fields as signed 32-bit numbers.
    bool IsWin95() const;    // platform 1, 4.0
    bool IsWin98() const;    // platform 1 with major > 4, or 4.x with minor > 0 on any platform
    bool IsWinME() const;    // platform 1, 4.90
    bool IsWinNT4() const;   // platform 2, major 4
    bool IsWin2000() const;  // platform 2, 5.0
    bool IsWinXP() const;    // platform 2, 5.1 only

    const OSVersionInfo& Info() const { return info_; }

private:
    OSVersionInfo info_;
};

using COSInfo = COSVersion;

}  // namespace corvella
