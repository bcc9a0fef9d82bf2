#include "libs/flatcontrols/os_version.h"

#include <gtest/gtest.h>

#include <string>

namespace corvella {
namespace {

OSVersionInfo Info(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build = 0) {
    OSVersionInfo i;
    i.dwPlatformId = platform;
    i.dwMajorVersion = major;
    i.dwMinorVersion = minor;
    i.dwBuildNumber = build;
    return i;
}

// Flags in member order: 95, 98, ME, NT4, 2000, XP.
std::string Flags(const COSVersion& v) {
    std::string s;
    for (bool b : {v.IsWin95(), v.IsWin98(), v.IsWinME(), v.IsWinNT4(), v.IsWin2000(), v.IsWinXP()})
        s += b ? '1' : '0';
    return s;
}

TEST(COSVersion, KnownWindowsVersions) {
    struct Case {
        const char* name;
        OSVersionInfo info;
        const char* flags;
    } cases[] = {
        {"Windows 95", Info(1, 4, 0, 950), "100000"},
        {"Windows 98", Info(1, 4, 10, 1998), "010000"},
        {"Windows ME", Info(1, 4, 90, 3000), "011000"},
        {"Windows NT 4.0", Info(2, 4, 0, 1381), "000100"},
        {"Windows 2000", Info(2, 5, 0, 2195), "000010"},
        {"Windows XP", Info(2, 5, 1, 2600), "000001"},
        {"Server 2003", Info(2, 5, 2, 3790), "000000"},
        {"Vista", Info(2, 6, 0, 6000), "000000"},
        {"failed call", OSVersionInfo{}, "000000"},
        {"Win32s", Info(0, 3, 10), "000000"},
    };
    for (const Case& c : cases) EXPECT_EQ(Flags(COSVersion(c.info)), c.flags) << c.name;
    EXPECT_EQ(Flags(COSVersion()), "000000");
}

TEST(COSVersion, TestsAsWrittenAtTheEdges) {
    // The second clause of the 98 test ignores the platform.
    EXPECT_EQ(Flags(COSVersion(Info(2, 4, 10))), "010100");
    // A platform-1 major above 4 is counted as 98.
    EXPECT_EQ(Flags(COSVersion(Info(1, 5, 0))), "010000");
    // The numbers compare as signed: a huge major is negative, not "above 4".
    EXPECT_EQ(Flags(COSVersion(Info(1, 0x80000000u, 0))), "000000");
    EXPECT_EQ(Flags(COSVersion(Info(1, 4, 0xFFFFFFFFu))), "000000");
    EXPECT_EQ(COSVersion(Info(2, 5, 1)).Info().dwOSVersionInfoSize, 148u);
}

}  // namespace
}  // namespace corvella
