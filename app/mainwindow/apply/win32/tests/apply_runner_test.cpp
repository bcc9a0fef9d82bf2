// The apply as the apply button runs it, on real windows: under the modal
// progress window, one message naming the files left unwritten, and no run
// left marked as going when a tag object fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace apply
}  // namespace corvella
