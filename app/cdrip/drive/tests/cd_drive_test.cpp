// The layer over cdaudio.dll with disc images: open, TOC and close, and what
// a failed open leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "app/cdrip/core/disc_id.h"
#include "app/cdrip/drive/cd_drive.h"
#include "platform/cdaudio/tests/test_paths.h"

namespace corvella::cdrip {
namespace {

using cdaudio::testing::ImagePath;

bool TocEmpty() {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&TOC);
    for (size_t i = 0; i < sizeof TOC; ++i)
        if (p[i]) return false;
    return true;
}

TEST(CdDrive, OpensReadsTheTocAndLeavesNothingWhenAnOpenFails) {
    const std::string list = ImagePath("tones.cue") + ";" + ImagePath("open.cue") + ";" + ImagePath("toc.cue");
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", list.c_str());
    EXPECT_EQ(ByteArrayToString(GetCDInfo(0).id, sizeof GetCDInfo(0).id), "Image: tones.cue");
    EXPECT_EQ(ByteArrayToString(GetCDInfo(3).id, 65), "");
    EXPECT_THROW(GetCDInfo(8), std::out_of_range);
    EXPECT_THROW(GetCDInfo(-1), std::out_of_range);

    ASSERT_TRUE(OpenCDDrive(0));
    EXPECT_NE(CDHandle, 0u);
    EXPECT_EQ(TocAddress(TOC.tracks[1].addr), 173);  // frames, not MSF
    EXPECT_EQ(TocAddress(TOC.tracks[3].addr), 323);
    const auto disc = FreedbDiscId(TOC);
    ASSERT_TRUE(disc);
    EXPECT_EQ(disc->query, disc->hex + " 3 150 323 423 6");
    EXPECT_EQ(CloseCDDrive(), 1);
    EXPECT_EQ(CDHandle, 0u);

    const struct {
        int index;
        int code;
    } failing[] = {{1, -11}, {2, -4}, {5, 0}};  // 5: no drive there, nothing asked
    for (const auto& f : failing) {
        ASSERT_TRUE(OpenCDDrive(0));  // a TOC to lose
        EXPECT_EQ(CloseCDDrive(), 1);
        EXPECT_FALSE(OpenCDDrive(f.index)) << f.index;
        EXPECT_EQ(CDHandle, 0u);
        EXPECT_TRUE(TocEmpty()) << f.index;
        if (f.code) EXPECT_EQ(AKRipErrorText(), AKRipErrorText(f.code)) << f.index;
    }
    // The TOC image was let go: it opens again (and fails again the same way).
    EXPECT_FALSE(OpenCDDrive(2));
    EXPECT_EQ(AKRipErrorText(), AKRipErrorText(-4));
    EXPECT_EQ(CloseCDDrive(), 0);  // nothing open
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
}

}  // namespace
}  // namespace corvella::cdrip
