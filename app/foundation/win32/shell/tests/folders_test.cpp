// The folder picker and the special folders on the real shell.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "app/foundation/win32/shell/folders.h"
#include "app/foundation/win32/shell/tests/test_support.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

// ---- Folder picker ----

// What the timer saw of the picker, and what it pressed.
struct PickerProbe {
    int button = IDCANCEL;
    // The status text that shows the selection has reached the start folder.
    std::function<bool(const std::string&)> settled;
    std::vector<std::string> texts;  // of the picker's static controls
    bool seen = false;
    int ticks = 0;
};
PickerProbe* g_probe = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") == 0) {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof(text));
        g_probe->texts.push_back(text);
    }
    return TRUE;
}

BOOL CALLBACK FindPicker(HWND w, LPARAM out) {
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof(cls));
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the picker's modal loop: waits until the status text shows
// the start folder (the picker selects it after it opens), then presses the
// button. Gives up after ten seconds, pressing it all the same.
void CALLBACK PickerTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND picker = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPicker, reinterpret_cast<LPARAM>(&picker));
    ++g_probe->ticks;
    if (!picker) {
        if (g_probe->ticks > 200) KillTimer(nullptr, id);  // never came
        return;
    }
    g_probe->texts.clear();
    EnumChildWindows(picker, CollectStatic, 0);
    bool settled = false;
    for (const std::string& t : g_probe->texts) settled = settled || g_probe->settled(t);
    if (!settled && g_probe->ticks < 200) return;
    KillTimer(nullptr, id);
    g_probe->seen = settled;
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(g_probe->button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(picker, g_probe->button)));
}

std::string Pick(PickerProbe& probe, const std::string& start) {
    g_probe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, PickerTimer);
    const std::string chosen = BrowseForFolder(nullptr, "Choose a folder", start);
    KillTimer(nullptr, timer);
    g_probe = nullptr;
    return chosen;
}

bool HasText(const PickerProbe& probe, const std::string& text) {
    for (const std::string& t : probe.texts)
        if (t == text) return true;
    return false;
}

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = "C:\\cvpick" + std::to_string(GetCurrentProcessId());
        short_ = base_ + "\\start";
        long_ = base_ + "\\a rather long folder name for the status line\\and another long one below it";
        CreateDirectoryA(base_.c_str(), nullptr);
        CreateDirectoryA(short_.c_str(), nullptr);
        CreateDirectoryA((base_ + "\\a rather long folder name for the status line").c_str(), nullptr);
        CreateDirectoryA(long_.c_str(), nullptr);
    }
    void TearDown() override {
        RemoveDirectoryA(long_.c_str());
        RemoveDirectoryA((base_ + "\\a rather long folder name for the status line").c_str());
        RemoveDirectoryA(short_.c_str());
        RemoveDirectoryA(base_.c_str());
    }
    std::string base_, short_, long_;
};

TEST_F(FolderPickerTest, OpensOnTheStartFolderAndReturnsIt) {
    PickerProbe probe;
    probe.button = IDOK;
    // The status line shows the selected folder.
    probe.settled = [&](const std::string& t) { return t == short_; };
    EXPECT_EQ(Pick(probe, short_), short_);
    ASSERT_TRUE(probe.seen);
    EXPECT_TRUE(HasText(probe, "Choose a folder"));
}

TEST_F(FolderPickerTest, CancelGivesEmptyAndLongPathsAreShortenedInTheMiddle) {
    PickerProbe probe;
    probe.button = IDCANCEL;
    probe.settled = [](const std::string& t) { return t.find("and another") != std::string::npos; };
    EXPECT_EQ(Pick(probe, long_), "");
    ASSERT_TRUE(probe.seen);
    bool shortened = false;
    for (const std::string& t : probe.texts)
        if (t.find("...") != std::string::npos) {
            shortened = true;
            EXPECT_EQ(t.substr(0, 3), "C:\\");
            EXPECT_LT(t.size(), long_.size());
            // The path ellipsis keeps the last folder's name.
            EXPECT_NE(t.find("and another"), std::string::npos) << t;
        }
    EXPECT_TRUE(shortened);
}


// ---- Special folders ----

TEST(SpecialFolderTest, DesktopFolderExistsAndEndsInBackslash) {
    const std::string desk = GetSpecialFolder(nullptr, CSIDL_DESKTOPDIRECTORY);
    ASSERT_GT(desk.size(), 3u);
    EXPECT_EQ(desk.back(), '\\');
    EXPECT_NE(GetFileAttributesA(desk.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    // My Computer has no file-system path; an unknown folder no location.
    EXPECT_EQ(GetSpecialFolder(nullptr, CSIDL_DRIVES), "\\");
    EXPECT_EQ(GetSpecialFolder(nullptr, 0x7F), "");
}

}  // namespace
}  // namespace shell
}  // namespace corvella
