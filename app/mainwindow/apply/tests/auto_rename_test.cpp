#include "app/mainwindow/apply/auto_rename.h"

#include <gtest/gtest.h>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/tests/fake_file_ops.h"
#include "app/mainwindow/apply/tests/fake_tags.h"

namespace corvella {
namespace apply {
namespace {

const char kOptions[] = "Software\\Corvella\\Options";

class Progress : public ApplyProgress {
public:
    void Show(const std::string&, const std::string&, int, const std::string&) override {}
};

// The files an apply wrote are renamed from their tags as written; those it
// could not write, and those whose names cannot be given, are reported.
TEST(AutoRename, RenamesWhatTheApplyWrote) {
    fakes::Disk disk;
    disk.v2["D:\\m\\a.mp3"] = {{0, "Intro"}, {1, "Band"}, {6, "05/12"}};
    disk.v2["D:\\m\\b.mp3"] = {{0, "AC/DC: Live?"}, {1, "Band"}, {6, "06"}};
    disk.v2["D:\\m\\c.mp3"] = {{0, "Locked"}, {6, "07"}};
    disk.v2["D:\\m\\d.mp3"] = {{0, "Con"}, {6, ""}};
    disk.v2["D:\\m\\e.mp3"] = {{0, "Taken"}, {6, "09"}};
    disk.locked.insert("D:\\m\\c.mp3");
    fakes::FakeTag v1(disk, true), v2(disk, false);
    files::FakeOps ops;
    for (const char* f : {"D:\\m\\a.mp3", "D:\\m\\b.mp3", "D:\\m\\c.mp3", "D:\\m\\d.mp3", "D:\\m\\e.mp3"})
        ops.Add(f);
    ops.Add("D:\\m\\09 - Taken - Band.mp3");

    ApplyRequest r;
    r.tagVersion = 1;
    r.rowKeys = {"D:\\m\\a.mp3", "D:\\m\\b.mp3", "D:\\m\\c.mp3", "D:\\m\\d.mp3", "D:\\m\\e.mp3"};
    r.ticked = {true, true, true, true, true};
    r.selectedRow = 2;  // the locked file: every other row takes the pressed field only
    r.pressed[1] = true;
    r.masks[1] = "Band";
    Progress progress;
    const ApplyOutcome applied = ApplyID3Update(r, v1, v2, progress);
    ASSERT_EQ(applied.written.size(), 4u);
    ASSERT_EQ(applied.unwritten, std::vector<std::string>{"D:\\m\\c.mp3"});

    MemoryStore store;
    SaveSettingText(store, kOptions, "Auto-Rename", "1");
    SaveSettingText(store, kOptions, "Rename 3", "1");  // then the artist
    SaveSettingText(store, kOptions, "Rename 4", "17");  // outside the list: none
    const AutoRenameSettings settings = ReadAutoRenameSettings(store);
    ASSERT_TRUE(settings.on);
    files::FileService service(ops);
    const files::RenameOutcome out = AutoRenameFiles(applied.written, v2, AutoRenameRecipe(settings), service);

    const std::vector<std::pair<std::string, std::string>> renamed = {
        {"D:\\m\\a.mp3", "D:\\m\\05 - Intro - Band.mp3"},
        {"D:\\m\\b.mp3", "D:\\m\\06 - ACDC Live - Band.mp3"},
        {"D:\\m\\d.mp3", "D:\\m\\- Con - Band.mp3"},
    };
    EXPECT_EQ(out.renamed, renamed);
    ASSERT_EQ(out.notRenamed.size(), 1u);
    EXPECT_EQ(out.notRenamed[0].rfind("e.mp3: ", 0), 0u) << out.notRenamed[0];
    EXPECT_TRUE(ops.Has("D:\\m\\e.mp3"));
    EXPECT_TRUE(ops.Has("D:\\m\\c.mp3")) << "not written, not renamed";
    EXPECT_EQ(ops.files.size(), 6u);
}

TEST(AutoRename, OffByDefaultAndPartsFollowTheOptions) {
    MemoryStore store;
    const AutoRenameSettings s = ReadAutoRenameSettings(store);
    EXPECT_FALSE(s.on);
    const files::NameRecipe r = AutoRenameRecipe(s);
    EXPECT_EQ(r.fields, (std::array<int, 4>{6, 0, -1, -1}));  // Track No., then the title
    EXPECT_EQ(r.separator, " - ");
    EXPECT_EQ(r.caseMode, -1);
}

}  // namespace
}  // namespace apply
}  // namespace corvella
