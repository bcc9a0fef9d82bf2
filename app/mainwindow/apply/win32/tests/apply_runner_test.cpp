// The apply as the apply button runs it, on real windows: under the modal
// progress window, one message naming the files left unwritten, and no run
// left marked as going when a tag object fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>
#include <string>
#include <vector>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/progress/progress_update.h"
#include "app/mainwindow/apply/tests/fake_tags.h"
#include "app/mainwindow/apply/win32/com_tag_objects.h"

namespace corvella {
namespace apply {
namespace {

class ApplyRunner : public ::testing::Test {
protected:
    void SetUp() override {
        forms::SetMsgBoxHook([this](const std::string& prompt, unsigned, const std::string&) {
            boxes.push_back(prompt);
            return IDOK;
        });
        caller.name = "frmCaller";
        caller.width = 6000;
        caller.height = 4000;
        caller.Show();
        ASSERT_TRUE(caller.Loaded());
        req.rowKeys = {"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\c.mp3"};
        req.ticked = {true, true, true};
        req.selectedRow = 0;
        req.tagVersion = 1;
        req.pressed[0] = true;
        req.masks[0] = "#Order#";
    }
    void TearDown() override {
        frmProgressUpdate().Unload();
        caller.Unload();
        // The last form gone posts the end of the program's loop: not for the next test.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT) DispatchMessageA(&msg);
        forms::SetMsgBoxHook(forms::MsgBoxHook());
    }
    forms::Form caller;
    fakes::Disk disk;
    fakes::FakeTag v1{disk, true}, v2{disk, false};
    ApplyRequest req;
    std::vector<std::string> boxes;
};

TEST_F(ApplyRunner, UnwrittenFilesNamedOnceAndNoRunLeftGoing) {
    disk.locked.insert("C:\\m\\b.mp3");
    const ApplyOutcome out = RunApplyWithProgress(caller, req, v1, v2);
    EXPECT_EQ(out.filesDone, 3);
    EXPECT_EQ(disk.v2["C:\\m\\c.mp3"][0], "3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("C:\\m\\b.mp3"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[0].find("C:\\m\\a.mp3"), std::string::npos);
    EXPECT_FALSE(frmProgressUpdate().Loaded()) << "the progress window goes at the end";

    // A failing tag object is reported, and the next apply still runs.
    disk.failing.insert("C:\\m\\a.mp3");
    boxes.clear();
    RunApplyWithProgress(caller, req, v1, v2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("The tag object failed."), std::string::npos);
    EXPECT_FALSE(frmProgressUpdate().Loaded());
    disk.failing.clear();
    disk.locked.clear();
    boxes.clear();
    EXPECT_EQ(RunApplyWithProgress(caller, req, v1, v2).filesDone, 3);
    EXPECT_TRUE(boxes.empty());

    req.selectedRow = -1;
    EXPECT_FALSE(RunApplyWithProgress(caller, req, v1, v2).ran);
    EXPECT_FALSE(frmProgressUpdate().Loaded()) << "no selected row: no progress window at all";
}

// Auto-Rename on real files: the files written take names from their tags
// ("Rename 1" to "Rename 4", a part outside its list none), one closing
// message names the file not written and the one whose name another file
// holds, and nothing is overwritten.
TEST_F(ApplyRunner, AutoRenameJoinsTheClosingMessage) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "corvella_auto_rename\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    auto touch = [&](const std::string& name) {
        CloseHandle(CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    };
    req.rowKeys.clear();
    for (const auto& [file, title, track] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"a.mp3", "Intro", "01/09"}, {"b.mp3", "Con", "02"}, {"c.mp3", "Outro", "03"}, {"d.mp3", "Held", "04"}}) {
        touch(file);
        req.rowKeys.push_back(dir + file);
        disk.v2[dir + file] = {{0, title}, {6, track}};
    }
    touch("04 - Held - Band.mp3");
    req.ticked = {true, true, true, true};
    req.pressed = {false, true};
    req.masks = {"", "Band"};
    req.selectedRow = 2;
    disk.locked.insert(dir + "c.mp3");
    MemoryStore store;
    SaveSettingText(store, "Software\\Corvella\\Options", "Auto-Rename", "1");
    SaveSettingText(store, "Software\\Corvella\\Options", "Rename 3", "1");
    SaveSettingText(store, "Software\\Corvella\\Options", "Rename 4", "17");
    const ApplyOutcome out = RunApplyWithProgress(caller, req, v1, v2, ReadAutoRenameSettings(store));

    EXPECT_EQ(out.renamed, (std::vector<std::pair<std::string, std::string>>{
                               {dir + "a.mp3", dir + "01 - Intro - Band.mp3"}, {dir + "b.mp3", dir + "02 - Con - Band.mp3"}}));
    const char* after[] = {"01 - Intro - Band.mp3", "02 - Con - Band.mp3", "c.mp3", "d.mp3", "04 - Held - Band.mp3"};
    for (const char* name : after) EXPECT_NE(GetFileAttributesA((dir + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(dir + "c.mp3"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("d.mp3: name taken"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[0].find("a.mp3"), std::string::npos) << boxes[0];
    for (const char* name : after) DeleteFileA((dir + name).c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace apply
}  // namespace corvella
