// The wizard controls' window-free rules: button layout per help position,
// rule start, page height, style parts, directions and the page collection.
#include <gtest/gtest.h>

#include "libs/wizard/core/wizard_logic.h"

namespace corvella::wizard {
namespace {

TEST(WizardLayout, ButtonLeftsPerHelpPosition) {
    const int sw = 6000, w = kButtonWidth;
    struct Case {
        int position;
        std::array<int, 4> lefts;  // Next, Back, Cancel, Help
    } cases[] = {
        {Left, {sw - 2 * (w + 120), sw - 3 * (w + 80), sw - (w + 120), 120}},
        {Right, {sw - 3 * (w + 120), sw - 4 * (w + 90), sw - 2 * (w + 120), sw - (w + 120)}},
        {Middle, {sw - 2 * (w + 120), sw - 3 * (w + 80), sw - (w + 120), sw - 4 * (w + 90)}},
        {Between, {sw - 3 * (w + 120), sw - 4 * (w + 90), sw - (w + 120), sw - 2 * (w + 120)}},
    };
    for (const Case& c : cases) {
        std::array<int, 4> got{};
        ASSERT_TRUE(ButtonLefts(c.position, sw, w, got)) << c.position;
        EXPECT_EQ(got, c.lefts) << c.position;
        // Back touches Next; 120 twips are left at the right edge.
        if (c.position == Left) {
            EXPECT_EQ(got[ButtonBack] + w, got[ButtonNext]);
            EXPECT_EQ(got[ButtonCancel] + w, sw - 120);
        }
    }
    std::array<int, 4> untouched{1, 2, 3, 4};
    EXPECT_FALSE(ButtonLefts(4, sw, w, untouched));
    EXPECT_FALSE(ButtonLefts(-1, sw, w, untouched));
    EXPECT_EQ(untouched, (std::array<int, 4>{1, 2, 3, 4}));
}

TEST(WizardLayout, RuleStartPageHeightAndStyleParts) {
    EXPECT_EQ(RuleStart("", 500, 60), 0);
    EXPECT_EQ(RuleStart("Step", 500, 60), 500 - 60 + 200);
    EXPECT_EQ(PageHeight(4000, 2 * kBarHeight), 4000 - 1380);
    EXPECT_EQ(PageHeight(4000, 0), 4000);
    EXPECT_EQ(PageHeight(500, kBarHeight), 0);
    const struct {
        int style;
        bool splash, banner, lines, labels;
    } parts[] = {{Banner, false, true, true, true}, {Splash, true, false, false, false},
                 {Blank, false, false, false, false}};
    for (const auto& p : parts) {
        const StyleParts got = PartsOf(p.style);
        EXPECT_EQ(got.splash, p.splash);
        EXPECT_EQ(got.banner, p.banner);
        EXPECT_EQ(got.lines, p.lines);
        EXPECT_EQ(got.labels, p.labels);
    }
    EXPECT_EQ(DirectionOf(2, 2), Still);
    EXPECT_EQ(DirectionOf(3, 1), Forward);
    EXPECT_EQ(DirectionOf(0, 1), BackWard);
    EXPECT_EQ(PageInfoText(2, 6), "Page 2 of 6");
}

TEST(PageCollection, PositionsKeysAndTheCollectionsErrors) {
    PageCollection<int> pages;
    EXPECT_FALSE(pages.Exists(PageIndex::At(1))) << "empty: nothing exists";
    const std::string start = "Start", other = "START";
    EXPECT_EQ(pages.Add(10, &start), PageCollection<int>::kOk);
    EXPECT_EQ(pages.Add(20, nullptr), PageCollection<int>::kOk);
    EXPECT_EQ(pages.Add(30, &other), PageCollection<int>::kKeyInUse) << "keys ignore case";
    EXPECT_EQ(pages.Count(), 2);
    EXPECT_EQ(*pages.Item(PageIndex::Key("start")), 10);
    EXPECT_EQ(*pages.Item(PageIndex::At(2)), 20);
    EXPECT_EQ(pages.Item(PageIndex::At(3)), nullptr);
    EXPECT_EQ(pages.Item(PageIndex::At(0)), nullptr);
    EXPECT_FALSE(pages.Exists(PageIndex::Key("missing")));
    EXPECT_EQ(pages.Remove(PageIndex::At(5)), PageCollection<int>::kSubscript);
    EXPECT_EQ(pages.Remove(PageIndex::Key("missing")), PageCollection<int>::kInvalidCall);
    EXPECT_EQ(pages.Remove(PageIndex::Key("Start")), PageCollection<int>::kOk);
    EXPECT_EQ(*pages.Item(PageIndex::At(1)), 20);
    pages.Clear();
    EXPECT_EQ(pages.Count(), 0);
}

}  // namespace
}  // namespace corvella::wizard
