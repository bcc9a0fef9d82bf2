#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/mainwindow/apply/tag_apply.h"

namespace corvella {
namespace apply {
namespace {

using Fields = std::map<int, std::string>;

// The files of one fake disk: both tag versions of each path, and the paths
// that cannot be written.
struct Disk {
    std::map<std::string, Fields> v1, v2;
    std::set<std::string> readOnly, gone;
};

// One tag version's object over the fake disk, holding the last tag read
// like the shared library objects do.
class FakeTag : public TagObject {
public:
    FakeTag(Disk& disk, bool v1) : disk_(disk), v1_(v1) {}
    std::optional<std::string> FieldText(int index) override {
        if (index < 0 || index >= (v1_ ? kV1FieldCount : kFieldCount)) return std::nullopt;
        auto it = now.find(index);
        return it == now.end() ? std::string() : it->second;
    }
    bool ReadTag(const std::string& path) override {
        now.clear();
        if (disk_.gone.count(path)) return false;
        auto& files = v1_ ? disk_.v1 : disk_.v2;
        auto it = files.find(path);
        if (it != files.end()) now = it->second;
        return true;
    }
    bool SetField(int index, const std::string& value) override {
        now[index] = value;
        return true;
    }
    bool WriteTag(const std::string& path) override {
        if (disk_.gone.count(path) || disk_.readOnly.count(path)) return false;
        (v1_ ? disk_.v1 : disk_.v2)[path] = now;
        ++writes;
        return true;
    }
    bool RemoveTag(const std::string& path) override {
        now.clear();
        if (disk_.gone.count(path) || disk_.readOnly.count(path)) return false;
        (v1_ ? disk_.v1 : disk_.v2).erase(path);
        ++removals;
        return true;
    }
    Fields now;
    int writes = 0, removals = 0;

private:
    Disk& disk_;
    bool v1_;
};

struct Shown {
    std::string count, file;
    int percent;
    std::string caption;
};

class Recorder : public ApplyProgress {
public:
    void DoEvents() override { ++doEvents; }
    void Show(const std::string& countText, const std::string& fileName, int percent,
              const std::string& caption) override {
        shown.push_back({countText, fileName, percent, caption});
    }
    bool Cancelled() override { return cancelAfter > 0 && static_cast<int>(shown.size()) >= cancelAfter; }
    void ParserError() override { ++parserErrors; }
    std::vector<Shown> shown;
    int doEvents = 0, parserErrors = 0, cancelAfter = 0;
};

const std::string kDir = "C:\\Music\\";
std::string Path(int row) { return kDir + "0" + std::to_string(row) + " - Song " + std::to_string(row) + ".mp3"; }

class TagApply : public ::testing::Test {
protected:
    void SetUp() override {
        disk = Disk();
        req = ApplyRequest();
        v1.writes = v2.writes = v1.removals = v2.removals = 0;
        for (int row = 1; row <= 5; ++row) {
            req.rowKeys.push_back(Path(row));
            disk.v1[Path(row)] = {{0, "Old " + std::to_string(row)}, {1, "Old Artist"}, {6, "0" + std::to_string(row)}};
            disk.v2[Path(row)] = {{0, "Old " + std::to_string(row)}, {1, "Old Artist"}, {7, "Composer"},
                                  {8, "Orig"}, {9, "(C)"}, {10, "http://x"}, {11, "Enc"}};
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

TEST_F(TagApply, SingleModeWritesEveryShownFieldOfTheSelectedFileOnly) {
    // No toggle pressed: ticked rows are ignored. A toggle but no tick: the same.
    for (bool pressToggle : {false, true}) {
        SetUp();
        progress = Recorder();
        req.tagVersion = 1;
        req.selectedRow = 2;
        if (!pressToggle) req.ticked = {true, false, false, true, true};
        req.pressed[0] = pressToggle;
        req.masks[0] = "#Title# (live)";
        req.masks[1] = "New Artist";
        const ApplyOutcome out = Apply();
        EXPECT_TRUE(out.ran);
        EXPECT_FALSE(out.batch);
        ASSERT_EQ(progress.shown.size(), 1u);
        EXPECT_EQ(progress.shown[0].count, "1 of 1");
        EXPECT_EQ(progress.shown[0].file, "03 - Song 3.mp3");
        EXPECT_EQ(progress.shown[0].percent, 100);
        EXPECT_EQ(progress.shown[0].caption, kCaptionUpdating);
        EXPECT_EQ(progress.doEvents, 0) << "single mode does not yield";
        EXPECT_EQ(disk.v2[Path(3)][0], "Old 3 (live)");
        EXPECT_EQ(disk.v2[Path(3)][1], "New Artist");
        EXPECT_EQ(disk.v2[Path(3)][7], "") << "the ID3v2 view's panel gives every frame";
        EXPECT_EQ(disk.v2[Path(1)][0], "Old 1");
        EXPECT_EQ(disk.v1[Path(3)][0], "Old 3") << "the other version untouched";
        EXPECT_EQ(v2.writes, 1);
    }
}

TEST_F(TagApply, AllFieldsEmptyRemovesTheShownVersionOrBoth) {
    struct Case {
        int version;
        bool both;
        bool v1Gone, v2Gone;
    } cases[] = {{0, false, true, false}, {1, false, false, true}, {0, true, true, true}, {1, true, true, true}};
    for (const Case& c : cases) {
        SetUp();
        progress = Recorder();
        req.tagVersion = c.version;
        req.updateBoth = c.both;
        const ApplyOutcome out = Apply();
        EXPECT_TRUE(out.removing);
        EXPECT_EQ(progress.shown.at(0).caption, kCaptionRemoving);
        EXPECT_EQ(disk.v1.count(Path(1)) == 0, c.v1Gone) << c.version << c.both;
        EXPECT_EQ(disk.v2.count(Path(1)) == 0, c.v2Gone) << c.version << c.both;
        EXPECT_EQ(disk.v1.size() + disk.v2.size(), 10u - c.v1Gone - c.v2Gone) << "only the selected file";
    }
    EXPECT_FALSE(AllFieldsEmpty({" "})) << "a blank is a value: no trimming";
}

TEST_F(TagApply, BatchGivesOrderByListPlaceAndTheSelectedRowEveryField) {
    req.tagVersion = 0;
    req.ticked = {false, true, false, false, true};
    req.selectedRow = 4;
    req.pressed[2] = true;
    req.masks[0] = "Panel title";
    req.masks[2] = "#Order# of #Total#";
    const ApplyOutcome out = Apply();
    ASSERT_TRUE(out.batch);
    ASSERT_EQ(progress.shown.size(), 2u);
    EXPECT_EQ(progress.shown[0].count, "1 of 2");
    EXPECT_EQ(progress.shown[0].percent, 50);
    EXPECT_EQ(progress.shown[1].count, "2 of 2");
    EXPECT_EQ(progress.shown[1].percent, 100);
    EXPECT_EQ(progress.doEvents, 2);
    EXPECT_EQ(disk.v1[Path(2)][2], "2 of 2");
    EXPECT_EQ(disk.v1[Path(5)][2], "5 of 2") << "order is the row's place in the whole list";
    EXPECT_EQ(disk.v1[Path(2)][0], "Old 2") << "an unpressed field keeps the file's value";
    EXPECT_EQ(disk.v1[Path(5)][0], "Panel title") << "the selected row takes every field";
    EXPECT_EQ(disk.v1[Path(5)][1], "");
    EXPECT_EQ(disk.v1[Path(1)].count(2), 0u) << "unticked rows untouched";

    // Thirds round half to even: 1 of 3 is 33, 2 of 3 is 67; 1 of 8 is 12.5 -> 12.
    SetUp();
    progress = Recorder();
    req.pressed[0] = true;
    req.masks[0] = "x";
    req.ticked = {true, true, true, false, false};
    Apply();
    ASSERT_EQ(progress.shown.size(), 3u);
    EXPECT_EQ(progress.shown[0].percent, 33);
    EXPECT_EQ(progress.shown[1].percent, 67);
}

TEST_F(TagApply, UpdateBothFromEitherViewKeepsTheFramesThePanelDoesNotShow) {
    for (int version : {0, 1}) {
        SetUp();
        req.tagVersion = version;
        req.updateBoth = true;
        req.masks[0] = "T";
        req.masks[3] = "2001";
        for (int i = 7; i < kFieldCount; ++i) req.masks[i] = version == 0 ? "" : "panel " + std::to_string(i);
        // A toggle left pressed from the ID3v2 view means nothing in the ID3v1 view.
        req.pressed[7] = true;
        req.pressed[0] = true;
        req.ticked = {true, true, false, false, false};
        Apply();
        for (int row : {1, 2}) {
            EXPECT_EQ(disk.v1[Path(row)][0], "T");
            EXPECT_EQ(disk.v2[Path(row)][0], "T");
            EXPECT_EQ(disk.v2[Path(row)][7], version == 0 ? "Composer" : "panel 7") << "view " << version;
        }
        EXPECT_EQ(disk.v2[Path(1)][11], version == 0 ? "Enc" : "panel 11");
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
        EXPECT_EQ(ShortenForID3v1(c.field, c.value, c.on), c.stored) << c.field << " " << c.value.size();
        SetUp();
        req.tagVersion = 0;
        req.updateBoth = true;
        req.ellipsis = c.on;
        req.masks[c.field] = c.value;
        Apply();
        EXPECT_EQ(disk.v1[Path(1)][c.field], c.stored);
        EXPECT_EQ(disk.v2[Path(1)][c.field], c.value) << "ID3v2 is never shortened";
    }
}

TEST_F(TagApply, AFailingMaskKeepsThatFieldOfThatFile) {
    req.rowKeys[1] = kDir + "Outro.mp3";
    disk.v1[req.rowKeys[1]] = {{0, "Outro title"}};
    req.tagVersion = 0;
    req.ticked = {true, true, true, false, false};
    req.pressed[0] = req.pressed[1] = true;
    req.masks[0] = "#Map#1:-#";
    req.masks[1] = "Same";
    const ApplyOutcome out = Apply();
    EXPECT_EQ(disk.v1[Path(1)][0], "Song 1");
    EXPECT_EQ(disk.v1[req.rowKeys[1]][0], "Outro title") << "the name has no piece 1";
    EXPECT_EQ(disk.v1[req.rowKeys[1]][1], "Same") << "the file's other fields are written";
    EXPECT_EQ(disk.v1[Path(3)][0], "Song 3");
    EXPECT_EQ(progress.parserErrors, 1) << "told once, not once per file";
    EXPECT_TRUE(out.unwritten.empty());
}

TEST_F(TagApply, UnwritableFilesAreReportedAfterTheOthersAreWritten) {
    disk.readOnly.insert(Path(2));
    disk.gone.insert(Path(4));
    req.tagVersion = 1;
    req.updateBoth = true;
    req.ticked.assign(5, true);
    req.pressed[1] = true;
    req.masks[1] = "New";
    const ApplyOutcome out = Apply();
    EXPECT_EQ(out.unwritten, (std::vector<std::string>{Path(2), Path(4)})) << "each once, in list order";
    for (int row : {1, 3, 5}) EXPECT_EQ(disk.v2[Path(row)][1], "New");
    EXPECT_EQ(disk.v1[Path(2)][1], "Old Artist");
    EXPECT_EQ(out.filesDone, 5);
    const std::string text = UnwrittenFilesMessage(out.unwritten);
    EXPECT_NE(text.find(Path(2)), std::string::npos);
    EXPECT_NE(text.find(Path(4)), std::string::npos);
    EXPECT_EQ(UnwrittenFilesMessage({}), "");
    std::vector<std::string> many(25, "C:\\x.mp3");
    EXPECT_NE(UnwrittenFilesMessage(many).find("and 5 more"), std::string::npos);
}

TEST_F(TagApply, CancelStopsAfterTheFileInProgress) {
    req.ticked.assign(5, true);
    req.pressed[0] = true;
    req.masks[0] = "New";
    req.tagVersion = 1;
    progress.cancelAfter = 2;
    const ApplyOutcome out = Apply();
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(out.filesDone, 2);
    EXPECT_EQ(disk.v2[Path(2)][0], "New");
    EXPECT_EQ(disk.v2[Path(3)][0], "Old 3");
}

TEST_F(TagApply, NoSelectedRowTouchesNothing) {
    req.selectedRow = -1;
    req.ticked.assign(5, true);
    req.pressed[0] = true;
    req.masks[0] = "New";
    EXPECT_FALSE(Apply().ran);
    EXPECT_TRUE(progress.shown.empty());
    EXPECT_EQ(v1.writes + v2.writes, 0);

}

}  // namespace
}  // namespace apply
}  // namespace corvella

namespace corvella {
namespace apply {
namespace {

TEST(ApplySettings, DefaultsWrittenAndEitherFormOfEllipsisRead) {
    MemoryStore store;
    ApplyRequest req;
    req.updateBoth = req.ellipsis = true;
    ReadApplySettings(store, req);
    EXPECT_FALSE(req.updateBoth);
    EXPECT_FALSE(req.ellipsis);
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
