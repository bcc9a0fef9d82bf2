#include "app/mainwindow/core/edit_panel.h"

#include <gtest/gtest.h>

#include <set>

namespace corvella::mainwindow {
namespace {

std::vector<std::string> TopLevel(const std::vector<MenuEntry>& m) {
    std::vector<std::string> out;
    for (const MenuEntry& e : m)
        if (e.depth == 0) out.push_back(e.caption);
    return out;
}

std::vector<std::string> Under(const std::vector<MenuEntry>& m, const std::string& parent) {
    std::vector<std::string> out;
    bool in = false;
    for (const MenuEntry& e : m) {
        if (e.depth == 0) in = e.caption == parent;
        else if (in) out.push_back(e.caption);
    }
    return out;
}

TEST(FieldMenu, TreeFollowsUserFieldsAndTheSelectedFileName) {
    struct Case {
        std::vector<std::string> user, pieces;
        std::vector<std::string> top, userItems;
    } cases[] = {
        {{}, {}, {"Pre-Defined Fields", "User Defined Fields", "-", "Extract Tag..."}, {"Customise Fields..."}},
        {{"Mood", "Label"},
         {"Artist", "Title"},
         {"Pre-Defined Fields", "User Defined Fields", "-", "Artist", "Title", "-", "Extract Tag..."},
         {"Mood", "Label", "-", "Customise Fields..."}},
    };
    for (const Case& c : cases) {
        const auto m = FieldMenuEntries(c.user, c.pieces);
        EXPECT_EQ(TopLevel(m), c.top);
        EXPECT_EQ(Under(m, "User Defined Fields"), c.userItems);
        EXPECT_EQ(Under(m, "Extract Tag...").front(), "From a Version 1 Tag Field...");
        EXPECT_EQ(Under(m, "Pre-Defined Fields").size(), 17u);
    }
}

// Custom fields and name pieces show as typed: no separator for "-", no
// mnemonic for "&"; the field gets the text back.
TEST(FieldMenu, UserTextShowsAsTyped) {
    const auto m = FieldMenuEntries({"-", "R&B", "A && B", "&"}, {"R&B"});
    const std::vector<std::string> shown = Under(m, "User Defined Fields");
    ASSERT_EQ(shown.size(), 6u);
    const std::vector<std::string> typed = {"-", "R&B", "A && B", "&"};
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_NE(shown[i], "-") << "not a separator";
        EXPECT_EQ(LiteralCaptionText(shown[i]), typed[i]);
    }
    EXPECT_EQ(shown[1], "R&&B");
    EXPECT_EQ(TopLevel(m)[3], "R&&B");
    EXPECT_EQ(LiteralCaptionText("Mood"), "Mood");
}

TEST(FieldMenu, EveryPredefinedKeyWritesItsTokenAndTheOrderItemHasItsOwnKey) {
    std::set<std::string> keys;
    for (const MenuEntry& e : FieldMenuEntries({}, {}))
        if (!e.key.empty()) keys.insert(e.key);
    for (const std::string& k : {"mnuTitle", "mnuArtist", "mnuAlbum", "mnuTrack", "mnuComments", "mnuYear",
                                  "mnuGenre", "mnuOrgArtist", "mnuCopyright", "mnuComposer", "mnuWebLink",
                                  "mnuEncodedBy", "mnuOrder", "mnuTotal", "mnuSync"}) {
        EXPECT_TRUE(keys.count(k)) << k;
        EXPECT_FALSE(FieldMenuToken(k).empty()) << k;
    }
    EXPECT_EQ(FieldMenuToken("mnuOrgArtist"), "#Org. Artist#");
    EXPECT_EQ(FieldMenuToken("mnuEncodedBy"), "#Encoded By#");
    EXPECT_EQ(FieldMenuToken(kTrackOrderKey), "#Order#");
    EXPECT_EQ(FieldMenuToken("mnuTrack"), "#Track#");
    EXPECT_EQ(keys.count(kTrackOrderKey), 0u);  // added for the Track field only
    for (const std::string& k : {"mnuExtractv1", "mnuParseFile", "mnuAddMore", "Title"})
        EXPECT_EQ(FieldMenuToken(k), "") << k;
}

TEST(GenreTypeAhead, PrintableKeysAndBackspaceOnly) {
    const struct {
        int key;
        bool takes;
    } cases[] = {{'a', true}, {' ', true}, {'~', true}, {0xE9, true}, {8, true},  {3, false},  {22, false},
                 {24, false}, {26, false}, {13, false}, {27, false}, {127, false}, {9, false}, {0, false}};
    for (const auto& c : cases) EXPECT_EQ(GenreTypeAheadTakes(c.key), c.takes) << c.key;
}

TEST(ColumnHeader, HiddenColumnsStayHiddenButTitleAndTheCheckColumnIsFixed) {
    EXPECT_TRUE(CancelColumnTrack(1, 165));
    EXPECT_TRUE(CancelColumnTrack(1, 0));
    EXPECT_FALSE(CancelColumnTrack(2, 0));  // Title can always be dragged back open
    EXPECT_TRUE(CancelColumnTrack(9, 0));
    EXPECT_FALSE(CancelColumnTrack(9, 1400));
}

}  // namespace
}  // namespace corvella::mainwindow
