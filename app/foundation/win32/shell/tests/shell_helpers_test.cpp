// Shell, help and window helpers on real windows and the real shell.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/foundation/win32/shell/shell_helpers.h"
#include "platform/forms/runtime.h"
#include "app/foundation/win32/shell/tests/test_support.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

using testing_support::DataFolder;

class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        OleInitialize(nullptr);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

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

// ---- Text fitting ----

TEST(FitTextTest, ShortensToTheWidthAndLeavesFittingTextAlone) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const std::string path = "C:\\Music\\Some Artist With A Long Name\\Some Album With A Long Name\\track.mp3";
    const std::string fitted = FitTextWithEllipsis(dc, 1500, path, DT_PATH_ELLIPSIS);
    EXPECT_NE(fitted.find("..."), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("track.mp3"), std::string::npos) << fitted;
    SIZE size;
    GetTextExtentPoint32A(dc, fitted.c_str(), static_cast<int>(fitted.size()), &size);
    EXPECT_LE(size.cx, 1500 / forms::Screen.TwipsPerPixelX() + 1);

    const std::string end = FitTextWithEllipsis(dc, 1500, "A title that is much too long to fit", DT_END_ELLIPSIS);
    EXPECT_EQ(end.substr(end.size() - 3), "...") << end;

    EXPECT_EQ(FitTextWithEllipsis(dc, 20000, path, DT_PATH_ELLIPSIS), path);
    EXPECT_EQ(FitTextWithEllipsis(dc, 1500, "", DT_END_ELLIPSIS), "");
    ReleaseDC(nullptr, dc);
}

// ---- Shell icons and type names ----

bool IconSize(HICON icon, int& cx) {
    ICONINFO info;
    if (!GetIconInfo(icon, &info)) return false;
    BITMAP bm;
    GetObjectA(info.hbmMask, sizeof(bm), &bm);
    cx = bm.bmWidth;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST(ShellIconTest, Mp3ExtensionWithAndWithoutPoint) {
    ShellFileInfo bare = QueryExtensionInfo("MP3", kLargeIcon);
    ShellFileInfo dotted = QueryExtensionInfo(".MP3", kLargeIcon);
    ASSERT_NE(bare.icon, nullptr);
    ASSERT_NE(dotted.icon, nullptr);
    EXPECT_FALSE(bare.type_name.empty());
    EXPECT_EQ(bare.type_name, dotted.type_name);
    EXPECT_EQ(bare.icon_index, dotted.icon_index);
    int cx = 0;
    ASSERT_TRUE(IconSize(bare.icon, cx));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    DestroyIcon(bare.icon);
    DestroyIcon(dotted.icon);

    ShellFileInfo small = QueryExtensionInfo("mp3", kSmallIcon);
    ASSERT_NE(small.icon, nullptr);
    ASSERT_TRUE(IconSize(small.icon, cx));
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    DestroyIcon(small.icon);

    // A caller's SHGFI_PIDL would make the shell read the text as an item list.
    std::string type;
    Picture pic = GetExtensionIcon("MP3", kSmallIcon | SHGFI_PIDL, type);
    EXPECT_TRUE(pic);
    EXPECT_EQ(type, bare.type_name);
}

TEST(ShellIconTest, PictureOwnsTheIconOfAnExistingFileAndFolder) {
    const std::string data = DataFolder();
    ASSERT_FALSE(data.empty());
    std::string file_type, folder_type;
    Picture file = GetFileIcon(data + "tree\\root1.mp3", kSmallIcon, file_type);
    Picture folder = GetFileIcon(data + "tree\\a", kSmallIcon, folder_type);
    ASSERT_TRUE(file);
    ASSERT_TRUE(folder);
    EXPECT_FALSE(file_type.empty());
    EXPECT_FALSE(folder_type.empty());
    EXPECT_NE(file_type, folder_type);
    SHORT kind = 0;
    ASSERT_EQ(folder.get()->get_Type(&kind), S_OK);
    EXPECT_EQ(kind, PICTYPE_ICON);
    EXPECT_NE(folder.icon(), nullptr);

    std::string none = "stale";
    EXPECT_FALSE(GetFileIcon(data + "tree\\no such file.mp3", kSmallIcon, none));
    EXPECT_EQ(none, "");
    EXPECT_FALSE(IconToPicture(nullptr));
}

// ---- Special folders, browser, help ----

TEST(SpecialFolderTest, DesktopFolderExistsAndEndsInBackslash) {
    const std::string desk = GetSpecialFolder(nullptr, CSIDL_DESKTOPDIRECTORY);
    ASSERT_GT(desk.size(), 3u);
    EXPECT_EQ(desk.back(), '\\');
    EXPECT_NE(GetFileAttributesA(desk.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    // My Computer has no file-system path; an unknown folder no location.
    EXPECT_EQ(GetSpecialFolder(nullptr, CSIDL_DRIVES), "\\");
    EXPECT_EQ(GetSpecialFolder(nullptr, 0x7F), "");
}

TEST(BrowserTest, LookUpLeavesNoScratchFileBehind) {
    const std::string temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    intptr_t code = 0;
    const std::string browser = GetBrowserPath(code);
    EXPECT_EQ(GetFileAttributesA((temp + "dummy.html").c_str()), INVALID_FILE_ATTRIBUTES);
    if (code > 32)
        EXPECT_FALSE(browser.empty());
    else
        EXPECT_EQ(browser, "");
}

TEST(HelpTest, TopicsOpenByContextInTheNamedWindow) {
    struct Call {
        HWND caller;
        std::string file;
        UINT command;
        DWORD_PTR data;
    };
    std::vector<Call> calls;
    SetHtmlHelpHook([&](HWND h, const std::string& f, UINT c, DWORD_PTR d) { calls.push_back({h, f, c, d}); });
    HWND caller = reinterpret_cast<HWND>(0x1234);
    ShowHelpTopic(caller, kMainHelpContext, kHelpWindowDefault);
    ShowHelpTopic(caller, 77, kHelpWindowPopupLarge);
    ShowHelpTopic(caller, 77, 4);
    ShowHelpTopic(caller, 77, -1);
    SetHtmlHelpHook(nullptr);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].caller, caller);
    EXPECT_EQ(calls[0].file, HelpFilePath() + ">DEFAULT");
    EXPECT_EQ(calls[0].command, 0x0Fu);
    EXPECT_EQ(calls[0].data, 1000u);
    EXPECT_EQ(calls[1].file, HelpFilePath() + ">POPUP_LARGE");

    const std::string folder = forms::App.Path();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(HelpFilePath(), (folder.back() == '\\' ? folder : folder + "\\") + "Corvella.chm");

    // The one help file setting: the forms' App carries what SetHelpWindow sets.
    SetHelpWindow(kHelpWindowPopupSmall);
    EXPECT_EQ(forms::App.HelpFile(), HelpFilePath() + ">POPUP_SMALL");
    SetHelpWindow(4);
    EXPECT_EQ(forms::App.HelpFile(), HelpFilePath() + ">POPUP_SMALL");
}

// ---- Window helpers ----

int g_paints = 0;

LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        ++g_paints;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// One window (and a child) for the whole suite: Wine waits two seconds
// for a window manager, which the test display lacks, to let a window go.
class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvellaShellTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "CorvellaShellTest", "shell test", WS_POPUP | WS_BORDER | WS_VISIBLE, 40, 50,
                                  300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        child_ = CreateWindowExA(0, "CorvellaShellTest", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, window_,
                                 nullptr, wc.hInstance, nullptr);
    }
    static void TearDownTestSuite() {
        if (window_) DestroyWindow(window_);
        window_ = child_ = nullptr;
        forms::DoEvents();
    }
    void SetUp() override {
        ASSERT_NE(window_, nullptr);
        ASSERT_NE(child_, nullptr);
        UpdateWindow(window_);
        forms::DoEvents();
    }
    static HWND window_;
    static HWND child_;
};
HWND WindowTest::window_ = nullptr;
HWND WindowTest::child_ = nullptr;

TEST_F(WindowTest, TopMostComesAndGoesWithoutMoving) {
    RECT before, after;
    GetWindowRect(window_, &before);
    SetTopMost(window_, true);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    SetTopMost(window_, false);
    EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    GetWindowRect(window_, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(WindowTest, RedrawLockAndUnlockRepaintsAtOnce) {
    LockRedraw(window_, true);
    EXPECT_FALSE(IsWindowVisible(window_));  // drawing off clears the visible bit
    LockRedraw(window_, false);
    EXPECT_TRUE(IsWindowVisible(window_));

    LockWindow(window_, true);
    EXPECT_FALSE(IsWindowVisible(window_));
    const int before = g_paints;
    LockWindow(window_, false);
    EXPECT_TRUE(IsWindowVisible(window_));
    // Parent and child painted before LockWindow returned.
    EXPECT_GE(g_paints - before, 2);
}

TEST_F(WindowTest, CentredFormSitsInTheMiddleOfTheScreen) {
    const FormMetrics m = MetricsOf(window_);
    EXPECT_GT(m.width_twips, 0);
    const int left = static_cast<int>(CenterLeft(m) / forms::Screen.TwipsPerPixelX());
    const int top = static_cast<int>(CenterTop(m) / forms::Screen.TwipsPerPixelY());
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    GetWindowRect(window_, &r);
    EXPECT_NEAR((r.left + r.right) / 2.0, GetSystemMetrics(SM_CXFULLSCREEN) / 2.0, 2);
    EXPECT_NEAR((r.top + r.bottom) / 2.0, GetSystemMetrics(SM_CYFULLSCREEN) / 2.0, 2);

    FormMetrics pixels = m;
    pixels.scale_mode = kScalePixels;
    EXPECT_EQ(CenterLeft(pixels), 0);
    EXPECT_EQ(CenterTop(pixels), 0);
}

TEST_F(WindowTest, ToolbarTurnsFlatAndProgressBarTakesColours) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, child_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    MakeToolbarFlat(child_);
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    EXPECT_EQ(style & 0x848, 0x848);
    EXPECT_NE(style & WS_CHILD, 0);
    MakeToolbarFlat(bar);  // no child: nothing happens

    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 20, window_,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(progress, nullptr);
    SetProgressBarColour(progress, RGB(1, 2, 3));
    SetProgressBackColour(progress, RGB(4, 5, 6));
    // Each message answers with the colour it replaces.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(progress, PBM_SETBARCOLOR, 0, CLR_DEFAULT)), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(progress, PBM_SETBKCOLOR, 0, CLR_DEFAULT)), RGB(4, 5, 6));
}

}  // namespace
}  // namespace shell
}  // namespace corvella
