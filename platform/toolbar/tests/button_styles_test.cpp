// What each numeric button style does.
#include "platform/toolbar/button_styles.h"

#include <gtest/gtest.h>

namespace corvella::platform {
namespace {

TEST(ButtonStyles, TheToolbarLibrarysStylesAsThePartsUseThem) {
    struct Case {
        int style;
        ButtonKind kind;
        bool autoSize;
    } cases[] = {
        {0, ButtonKind::kPush, false},        // bar close buttons
        {1, ButtonKind::kSeparator, false},
        {2, ButtonKind::kHeldCheck, false},   // the tag bar's toggle: its click sets the state
        {16, ButtonKind::kPush, true},
        {18, ButtonKind::kCheck, true},       // "Folders": toggled before its click
        {144, ButtonKind::kSplit, true},      // the export button: click and arrow
        {8, ButtonKind::kSplit, false},
        {0x200, ButtonKind::kPush, false},    // unknown bits ignored
    };
    for (const Case& c : cases) {
        const ButtonBehaviour b = BandoletButton(c.style);
        EXPECT_EQ(b.kind, c.kind) << c.style;
        EXPECT_EQ(b.autoSize, c.autoSize) << c.style;
    }
    EXPECT_TRUE(BandoletButton(2 | 4 | 16).group);
}

TEST(ButtonStyles, TheCommonToolbarsStyleNumbers) {
    const ButtonKind expected[] = {ButtonKind::kPush, ButtonKind::kCheck, ButtonKind::kCheck,
                                   ButtonKind::kSeparator, ButtonKind::kSeparator, ButtonKind::kSplit};
    for (int style = 0; style < 6; ++style) EXPECT_EQ(CommonToolbarButton(style).kind, expected[style]) << style;
    EXPECT_TRUE(CommonToolbarButton(2).group);
    EXPECT_FALSE(CommonToolbarButton(1).group);
    EXPECT_EQ(CommonToolbarButton(9).kind, ButtonKind::kPush);
}

}  // namespace
}  // namespace corvella::platform
