#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/mainwindow/apply/tag_apply.h"
#include "app/mainwindow/apply/tests/fake_tags.h"

namespace corvella {
namespace apply {
namespace {

using namespace fakes;

class Recorder : public ApplyProgress {
public:
    void DoEvents() override { ++doEvents; }
    void Show(const std::string& count, const std::string& file, int percent, const std::string& caption) override {
        shown.push_back(count + "|" + file + "|" + std::to_string(percent) + "|" + caption);
    }
    bool Cancelled() override { return cancelAfter > 0 && static_cast<int>(shown.size()) >= cancelAfter; }
    void ParserError() override { ++parserErrors; }
    std::vector<std::string> shown;
    int doEvents = 0, parserErrors = 0, cancelAfter = 0;
};

std::string Path(int row) { return "C:\\Music\\0" + std::to_string(row) + " - Song " + std::to_string(row) + ".mp3"; }

class TagApply : public ::testing::Test {
protected:
    void SetUp() override {
        disk = Disk();
        req = ApplyRequest();
        progress = Recorder();
        for (int row = 1; row <= 5; ++row) {
            req.rowKeys.push_back(Path(row));
            disk.v1[Path(row)] = {{0, "Old " + std::to_string(row)}, {1, "Old Artist"}};
            disk.v2[Path(row)] = {{0, "Old " + std::to_string(row)}, {1, "Old Artist"}, {7, "Composer"}, {11, "Enc"}};
        }
        req.ticked.assign(5, false);
        req.selectedRow = 0;
    }
    ApplyOutcome Apply() { return ApplyID3Update(req, v1, v2, progress); }
    Disk disk;
    FakeTag v1{disk, true}, v2{disk, false};
    Recorder progress;
    ApplyRequest req;
};

TEST_F(TagApply, SingleModeWritesTheSelectedFileOnly) {
    // Ticks without a pressed toggle, and a toggle without ticks: single mode both.
    for (bool toggle : {false, true}) {
        SetUp();
        req.tagVersion = 1;
        req.selectedRow = 2;
        if (toggle) req.pressed[0] = true;
        else req.ticked = {true, false, false, true, true};
        req.masks[0] = "#Title# (live)";
        req.masks[1] = "New Artist";
        const ApplyOutcome out = Apply();
        EXPECT_FALSE(out.batch);
        EXPECT_EQ(progress.shown, std::vector<std::string>{"1 of 1|03 - Song 3.mp3|100|" + std::string(kCaptionUpdating)});
        EXPECT_EQ(progress.doEvents, 0) << "single mode does not yield";
        EXPECT_EQ(disk.v2[Path(3)], (Fields{{0, "Old 3 (live)"}, {1, "New Artist"}, {2, ""}, {3, ""}, {4, ""}, {5, ""},
                                           {6, ""}, {7, ""}, {8, ""}, {9, ""}, {10, ""}, {11, ""}}));
        EXPECT_EQ(disk.v2[Path(1)][0], "Old 1");
        EXPECT_EQ(disk.v1[Path(3)][0], "Old 3") << "the other version untouched";
    }
}

TEST_F(TagApply, AllFieldsEmptyRemovesTheShownVersionOrBoth) {
    struct Case {
        int version;
        bool both, v1Gone, v2Gone;
    } cases[] = {{0, false, true, false}, {1, false, false, true}, {0, true, true, true}};
    for (const Case& c : cases) {
        SetUp();
        req.tagVersion = c.version;
        req.updateBoth = c.both;
        EXPECT_TRUE(Apply().removing);
        EXPECT_NE(progress.shown.at(0).find(kCaptionRemoving), std::string::npos);
        EXPECT_EQ(disk.v1.count(Path(1)) == 0, c.v1Gone) << c.version << c.both;
        EXPECT_EQ(disk.v2.count(Path(1)) == 0, c.v2Gone) << c.version << c.both;
        EXPECT_EQ(disk.v1.size() + disk.v2.size(), 10u - c.v1Gone - c.v2Gone) << "only the selected file";
    }
    EXPECT_FALSE(AllFieldsEmpty({" "})) << "a blank is a value: no trimming";
}

TEST_F(TagApply, BatchGivesOrderByListPlaceAndTheSelectedRowEveryField) {
    req.ticked = {false, true, false, false, true};
    req.selectedRow = 4;
    req.pressed[2] = true;
    req.masks[0] = "Panel title";
    req.masks[2] = "#Order# of #Total#";
    ASSERT_TRUE(Apply().batch);
    EXPECT_EQ(progress.shown, (std::vector<std::string>{"1 of 2|02 - Song 2.mp3|50|" + std::string(kCaptionUpdating),
                                                        "2 of 2|05 - Song 5.mp3|100|" + std::string(kCaptionUpdating)}));
    EXPECT_EQ(progress.doEvents, 2);
    EXPECT_EQ(disk.v1[Path(2)][2], "2 of 2");
    EXPECT_EQ(disk.v1[Path(5)][2], "5 of 2") << "order is the row's place in the whole list";
    EXPECT_EQ(disk.v1[Path(2)][0], "Old 2") << "an unpressed field keeps the file's value";
    EXPECT_EQ(disk.v1[Path(5)][0], "Panel title") << "the selected row takes every field";
    EXPECT_EQ(disk.v1[Path(1)].count(2), 0u) << "unticked rows untouched";
}

TEST_F(TagApply, UpdateBothFromEitherViewKeepsTheFramesThePanelDoesNotShow) {
    for (int version : {0, 1}) {
        SetUp();
        req.tagVersion = version;
        req.updateBoth = true;
        req.masks[0] = "T";
        for (int i = 7; i < kFieldCount; ++i) req.masks[i] = version == 0 ? "" : "panel";
        req.pressed[0] = true;
        req.pressed[7] = true;  // left pressed from the ID3v2 view: nothing in the ID3v1 view
        req.ticked = {true, true, false, false, false};
        Apply();
        for (int row : {1, 2}) {
            EXPECT_EQ(disk.v1[Path(row)][0], "T");
            EXPECT_EQ(disk.v2[Path(row)][0], "T");
            EXPECT_EQ(disk.v2[Path(row)][7], version == 0 ? "Composer" : "panel") << "view " << version;
        }
        EXPECT_EQ(disk.v2[Path(1)][11], version == 0 ? "Enc" : "panel");
        EXPECT_EQ(disk.v2[Path(2)][11], "Enc") << "an unpressed frame of a batch row is kept";
    }
}

TEST_F(TagApply, EllipsisShortensID3v1ValuesOfThirtyCharactersOrMore) {
    const std::string s29(29, 'a'), s30(30, 'b'), s36(36, 'c');
    struct Case {
        int field;
        std::string value;
        bool on;
        std::string stored;
    } cases[] = {
        {0, s29, true, s29},
        {0, s30, true, std::string(27, 'b') + "..."},
        {0, s36, true, std::string(27, 'c') + "..." + std::string(6, 'c')},
        {0, s36, false, s36},
        {4, s30, true, std::string(27, 'b') + "..."},
        {kGenreField, s36, true, s36},
    };
    for (const Case& c : cases) {
        SetUp();
        req.updateBoth = true;
        req.ellipsis = c.on;
        req.masks[c.field] = c.value;
        Apply();
        EXPECT_EQ(disk.v1[Path(1)][c.field], c.stored) << c.field << " " << c.value.size();
        EXPECT_EQ(disk.v2[Path(1)][c.field], c.value) << "ID3v2 is never shortened";
    }
}

// From the ID3v1 view the panel shows the ID3v1 tag: a field that only
// stands for a file's own ID3v2 value keeps it in that file, and is written
// to another ticked file whose value it does not stand for.
TEST_F(TagApply, UpdateBothFromTheID3v1ViewKeepsEachFilesOwnID3v2Value) {
    const std::string title = "A Title Longer Than Thirty Characters Here", album = "An Album Well Past Thirty Characters";
    disk.v2[Path(1)] = {{0, title}, {2, album}, {5, "(17)Rock"}, {6, "1/12"}};
    disk.v2[Path(2)] = {{0, "Another Song"}, {5, "17"}, {6, "3/12"}};
    req.updateBoth = true;
    req.ticked = {true, true, false, false, false};
    req.pressed[0] = req.pressed[5] = req.pressed[6] = true;
    req.masks = {title.substr(0, 30), "", album.substr(0, 30), "", "Only the comment", "Rock", "01"};
    Apply();
    EXPECT_EQ(disk.v2[Path(1)], (Fields{{0, title}, {2, album}, {4, "Only the comment"}, {5, "(17)Rock"}, {6, "1/12"}}));
    EXPECT_EQ(disk.v2[Path(2)][0], title.substr(0, 30)) << "not this file's title: written as it stands";
    EXPECT_EQ(disk.v2[Path(2)][5], "17");
    EXPECT_EQ(disk.v2[Path(2)][6], "01");
}

TEST(StandsForID3v2Value, OnlyWhatTheID3v1TagHoldsOfTheValue) {
    const std::string title = "A Title Longer Than Thirty Characters Here", s30 = "Exactly Thirty Bytes Of Title!";
    // Shift-JIS: "A" and sixteen double-byte characters; the cut at 30
    // bytes leaves the last one's lead byte alone.
    std::string sjis = "A";
    for (int k = 0; k < 16; ++k) sjis += "\x82\xa0";
    const std::string whole = sjis.substr(0, 29);
    struct Case {
        int field;
        std::string shown, v2;
        bool stands;
    } cases[] = {
        {0, title.substr(0, 30), title, true},
        {0, title.substr(0, 27) + "...", title, true},  // the Ellipsis ending
        {0, s30, s30, true},
        {0, s30.substr(0, 27) + "...", s30, true},
        {0, "Typed Title", title, false},
        {0, title.substr(0, 29), title, false},
        {4, title.substr(0, 28), title, true},
        {4, title.substr(0, 27) + ".", title, true},
        {4, title.substr(0, 30), title, true},  // an ID3v1.0 comment
        {3, "2001", "2001-05-03", true},
        {6, "01", "1/12", true},
        {6, "1", "1/12", true},
        {6, "", "1/12", false},
        {6, "", "A1", true},
        {6, "A1", "", false},
        {5, "Rock", "(17)Rock", true},
        {5, "17", "(17)", true},
        {5, "Rock", "17", true},
        {5, "Pop", "(17)Rock", false},
        {5, "", "Chillwave", true},
        {5, "Chillwave", "", false},
        {0, whole, sjis, true},
        {0, whole + "?", sjis, true},
        {0, whole + "\x81\x45", sjis, true},
        {0, sjis.substr(0, 27), sjis, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StandsForID3v2Value(c.field, c.shown, c.v2), c.stands) << c.field << " [" << c.shown << "] [" << c.v2 << "]";
}

TEST_F(TagApply, AFailingMaskKeepsThatFieldOfThatFile) {
    req.rowKeys[1] = "C:\\Music\\Outro.mp3";
    req.rowKeys[3] = "C:\\Music\\Intro.mp3";
    disk.v1[req.rowKeys[1]] = {{0, "Outro title"}};
    disk.v1[req.rowKeys[3]] = {{0, "Intro title"}};
    req.ticked = {true, true, true, true, false};
    req.pressed[0] = req.pressed[1] = true;
    req.masks[0] = "#Map#1:-#";
    req.masks[1] = "Same";
    EXPECT_TRUE(Apply().unwritten.empty());
    EXPECT_EQ(disk.v1[Path(1)][0], "Song 1");
    EXPECT_EQ(disk.v1[req.rowKeys[1]][0], "Outro title") << "the name has no piece 1";
    EXPECT_EQ(disk.v1[req.rowKeys[1]][1], "Same") << "the file's other fields are written";
    EXPECT_EQ(disk.v1[Path(3)][0], "Song 3");
    EXPECT_EQ(disk.v1[req.rowKeys[3]][0], "Intro title");
    EXPECT_EQ(progress.parserErrors, 1) << "told once, not once per file";
}

TEST_F(TagApply, UnwritableFilesAreReportedTheOthersWrittenCancelStops) {
    disk.locked.insert(Path(2));
    disk.unreadable.insert(Path(4));
    req.updateBoth = true;
    req.ticked.assign(5, true);
    req.pressed[1] = true;
    req.masks[1] = "New";
    ApplyOutcome out = Apply();
    EXPECT_EQ(out.unwritten, (std::vector<std::string>{Path(2), Path(4)})) << "each once, in list order";
    for (int row : {1, 3, 5}) EXPECT_EQ(disk.v2[Path(row)][1], "New");
    EXPECT_EQ(disk.v1[Path(2)][1], "Old Artist");
    EXPECT_EQ(disk.v2[Path(4)][1], "Old Artist") << "an unreadable tag is not written over";
    const std::string text = UnwrittenFilesMessage(out.unwritten);
    EXPECT_NE(text.find(Path(2) + "\r\n" + Path(4)), std::string::npos);
    EXPECT_EQ(UnwrittenFilesMessage({}), "");
    EXPECT_NE(UnwrittenFilesMessage(std::vector<std::string>(25, "x")).find("... and 6 more."), std::string::npos);

    SetUp();
    req.ticked.assign(5, true);
    req.pressed[0] = true;
    req.masks[0] = "New";
    progress.cancelAfter = 2;
    out = Apply();
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(out.filesDone, 2) << "the file in progress is finished";
    EXPECT_EQ(disk.v1[Path(3)][0], "Old 3");

    SetUp();
    req.selectedRow = -1;
    req.ticked.assign(5, true);
    req.pressed[0] = true;
    req.masks[0] = "New";
    EXPECT_FALSE(Apply().ran) << "no selected row: nothing is touched";
    EXPECT_TRUE(progress.shown.empty());
    EXPECT_EQ(disk.v1[Path(1)][0], "Old 1");
}

TEST(ApplySettings, DefaultsWrittenAndEitherFormOfEllipsisRead) {
    MemoryStore store;
    ApplyRequest req;
    req.updateBoth = req.ellipsis = true;
    ReadApplySettings(store, req);
    EXPECT_FALSE(req.updateBoth || req.ellipsis);
    const std::string section = std::string(kSettingsRoot) + "\\Options";
    EXPECT_EQ(GetSettingText(store, section, "Update Both", "?"), "False") << "written on first read";
    struct Case {
        Variant stored;
        bool on;
    } cases[] = {{Variant::Long(1), true}, {Variant::Integer(1), true}, {Variant::Long(2), false}, {Variant::Integer(0), false}};
    for (const Case& c : cases) {
        cRegistry(store).SaveSetting(kHkeyCurrentUser, section, "Ellipsis", c.stored);
        SaveSettingBool(store, section, "Update Both", c.on);
        ReadApplySettings(store, req);
        EXPECT_EQ(req.ellipsis, c.on) << c.stored.Text();
        EXPECT_EQ(req.updateBoth, c.on);
    }
}

}  // namespace
}  // namespace apply
}  // namespace corvella
