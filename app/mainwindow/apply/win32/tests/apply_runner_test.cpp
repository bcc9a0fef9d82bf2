// The apply as the apply button runs it, on real windows: under the modal
// progress window, one message naming the files left unwritten, and no run
// left marked as going when a tag object fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/foundation/win32/progress/progress_update.h"
#include "app/mainwindow/apply/win32/com_tag_objects.h"

namespace corvella {
namespace apply {
namespace {

// One tag version over a map of files; `locked` files cannot be written,
// `failing` ones make the object throw.
class MapTag : public TagObject {
public:
    std::optional<std::string> FieldText(int index) override { return now[index]; }
    bool ReadTag(const std::string& path) override {
        if (failing.count(path)) throw std::runtime_error("The tag object failed.");
        now = files[path];
        return true;
    }
    bool SetField(int index, const std::string& value) override {
        now[index] = value;
        return true;
    }
    bool WriteTag(const std::string& path) override {
        if (locked.count(path)) return false;
        files[path] = now;
        return true;
    }
    bool RemoveTag(const std::string& path) override {
        files.erase(path);
        return true;
    }
    std::map<std::string, std::map<int, std::string>> files;
    std::map<int, std::string> now;
    std::set<std::string> locked, failing;
};

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
    MapTag v1, v2;
    ApplyRequest req;
    std::vector<std::string> boxes;
};

TEST_F(ApplyRunner, UnwrittenFilesNamedOnceAndNoRunLeftGoing) {
    v2.locked.insert("C:\\m\\b.mp3");
    const ApplyOutcome out = RunApplyWithProgress(caller, req, v1, v2);
    EXPECT_EQ(out.filesDone, 3);
    EXPECT_EQ(v2.files["C:\\m\\c.mp3"][0], "3");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("C:\\m\\b.mp3"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[0].find("C:\\m\\a.mp3"), std::string::npos);
    EXPECT_FALSE(frmProgressUpdate().Loaded()) << "the progress window goes at the end";

    // A failing tag object is reported, and the next apply still runs.
    v2.failing.insert("C:\\m\\a.mp3");
    boxes.clear();
    RunApplyWithProgress(caller, req, v1, v2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("The tag object failed."), std::string::npos);
    EXPECT_FALSE(frmProgressUpdate().Loaded());
    v2.failing.clear();
    v2.locked.clear();
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
