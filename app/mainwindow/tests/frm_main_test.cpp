// The main window on real folders of LAME-encoded files tagged by id3v2,
// with the real tag libraries and the registry of the test prefix.
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/mainwindow/frm_main.h"
#include "app/mainwindow/frm_display_info.h"
#include "app/mainwindow/frm_loading.h"

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/tests/unlisted_drive.h"
#include "libs/flatcontrols/tests/window_probe.h"
#include "platform/forms/tests/forms_test_util.h"
#include "platform/toolbar/native_toolbar.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;

const char kLayout[] = "Software\\Corvella\\Layout\\Main";

std::string DataFolder(const char* sub) {
    const char* unix = std::getenv("CORVELLA_MAIN_DATA");
    std::string path = std::string("Z:") + (unix ? unix : "/tmp") + "/" + sub;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct Stored {
    DWORD type = 0;
    std::string text;  // REG_SZ text, or the decimal DWORD
};

Stored Read(const std::string& section, const std::string& name) {
    Stored s;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, section.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
    BYTE data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &s.type, data, &size) == ERROR_SUCCESS) {
        s.text = s.type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data))
                                     : std::string(reinterpret_cast<char*>(data));
    }
    RegCloseKey(key);
    return s;
}

class MainWindowTest : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
    }
    void TearDown() override {
        tags_.Release();
        OleUninitialize();
        FormsTest::TearDown();
    }

    void Set(const char* name, const Variant& value) {
        cRegistry(store_).SaveSetting(static_cast<int32_t>(0x80000001u), kLayout, name, value);
    }

    // A window loaded on `folder` whose first listing has ended.
    std::unique_ptr<FrmMain> Open(const std::string& folder, const char* expect) {
        Set("Folder", Variant::String(folder));
        auto f = std::make_unique<FrmMain>();
        f->SetShared({tags_.Pair(), &genres_});
        f->Show();
        EXPECT_TRUE(Listed(*f, expect)) << f->SB1.Panels(1).Text() << " | " << f->FTVWFiles.Path() << " | " << f->CurrentFolder;
        return f;
    }
    static bool Listed(FrmMain& f, const std::string& text) {
        return PumpUntil([&] { return !f.ListingRunning() && f.SB1.Panels(1).Text() == text; }, 30000);
    }

    Win32SettingsStore store_;
    tags::testing::TagObjects tags_;
    std::vector<std::string> genres_{"Blues", "Classic Rock", "Country"};
};

TEST_F(MainWindowTest, ListsRowsSubItemsChecksAndTextsInEachVersion) {
    auto f = Open(DataFolder("three"), "3 Files found");
    platform::ListView& lv = f->lvFiles;
    ASSERT_EQ(lv.ListItems.Count(), 3);
    const std::string third = DataFolder("three") + "\\03 - Track 3.mp3";
    platform::ListItem* row = lv.ListItems(third);
    ASSERT_NE(row, nullptr);
    struct Cell { int k; const char* v1; const char* v2; };
    const Cell cells[] = {{1, "Aurora", "Aurora"}, {2, "Mara Lindqvist", "Mara Lindqvist"},
                          {3, "Northern Lights", "Northern Lights"}, {4, "2001", "2001"},
                          {8, "", "J. Berg"}, {11, "", "LAME 3.100"}};
    for (const Cell& c : cells) EXPECT_EQ(row->SubItem(c.k), c.v1) << c.k;
    EXPECT_EQ(row->SubItem(12), third);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(lv.ListItems(i)->Checked());  // Auto-Check missing: ticked
    EXPECT_EQ(f->CheckHeaderImage, 3);
    EXPECT_EQ(f->SB1.Panels("File").Text(), "");
    EXPECT_EQ(f->txtField(0).Text(), lv.SelectedItem()->SubItem(1));
    EXPECT_TRUE(f->Command2(0).Enabled());
    EXPECT_EQ(f->CurrentFolder, DataFolder("three"));

    f->ToggleTagVersion(1);
    for (const Cell& c : cells) EXPECT_EQ(row->SubItem(c.k), c.v2) << c.k;
    EXPECT_EQ(f->cboVersion.ListIndex(), 1);
    EXPECT_TRUE(f->Picture4.Visible());
    f->ToggleTagVersion(0);
    EXPECT_EQ(row->SubItem(8), "");
    EXPECT_FALSE(f->Picture4.Visible());

    f->ShowFiles(DataFolder("empty"), false);
    ASSERT_TRUE(Listed(*f, "0 Files Found"));
    EXPECT_EQ(lv.ListItems.Count(), 0);
    EXPECT_FALSE(f->Command2(0).Enabled());
    EXPECT_EQ(f->txtField(0).Text(), "");
    // Commands on the rows follow the list; sorting searches its own folder
    // and stays offered.
    const struct {
        const char* button;
        const char* item;
        bool enabled;
    } commands[] = {{"btnRename", "mnuRename", false}, {"btnSort", "mnuSort", true}};
    for (const auto& c : commands) {
        EXPECT_EQ(f->Toolbar1.ButtonEnabled(c.button), c.enabled) << c.button;
        EXPECT_EQ(f->m_popup.Enabled(f->m_popup.IndexForKey(c.item)), c.enabled) << c.item;
    }
    f->Unload();
}

TEST_F(MainWindowTest, CloseStoresEveryValueTypedAndASecondStartRestores) {
    auto f = Open(DataFolder("three"), "3 Files found");
    f->Move(600, 450, 10500, 7800);
    f->RunCommand("mnuTipOfDay");
    f->RunCommand("mnuFolders");
    f->RunCommand("mnuTagVersion(1)");
    f->chkEllipsis.SetValue(1);
    f->lvFiles.ColumnHeaders("Artist").SetWidth(2400);
    f->Unload();
    // The last form gone ends the run; this test starts the program again.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }

    struct Value { const char* name; DWORD type; const char* text; };
    const Value values[] = {
        {"Left", REG_SZ, "600"},          {"Top", REG_SZ, "450"},
        {"Width", REG_SZ, "10500"},       {"Height", REG_SZ, "7800"},
        {"View Mode", REG_DWORD, "3"},    {"Show Tip Bar", REG_SZ, "True"},
        {"Show Status Bar", REG_SZ, "True"}, {"Show Folder Bar", REG_SZ, "False"},
        {"Show Tag Bar", REG_SZ, "True"}, {"Recursive Searching", REG_SZ, "False"},
        {"Tag Version", REG_DWORD, "1"},  {"Sort Direction", REG_DWORD, "0"},
        {"Sort Column", REG_DWORD, "1"},  {"Ellipsis", REG_SZ, "1"},
        {"Update Both", REG_SZ, "0"},
    };
    for (const Value& v : values) {
        const Stored s = Read(kLayout, v.name);
        EXPECT_EQ(s.type, v.type) << v.name;
        EXPECT_EQ(s.text, v.text) << v.name;
    }
    EXPECT_EQ(Read(kLayout, "Folder").text, DataFolder("three"));
    EXPECT_EQ(Read(kLayout, "SplitterV").type, static_cast<DWORD>(REG_SZ));
    const std::string widths = std::string(kLayout) + "\\Fields Width";
    EXPECT_EQ(Read(widths, "Artist").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::stoi(Read(widths, "Artist").text), 2400 - 2400 % 15);
    EXPECT_EQ(Read(std::string(kLayout) + "\\Fields Position", "Full Path").text, "12");

    auto again = std::make_unique<FrmMain>();
    again->SetShared({tags_.Pair(), &genres_});
    again->Show();
    ASSERT_TRUE(Listed(*again, "3 Files found"))
        << again->SB1.Panels(1).Text() << " | " << again->FTVWFiles.Path() << " | " << again->CurrentFolder;
    EXPECT_EQ(again->Left(), 600);
    EXPECT_EQ(again->Width(), 10500);
    EXPECT_EQ(again->TagVersion, 1);
    EXPECT_TRUE(again->picQEditContainer.Visible());
    EXPECT_FALSE(again->picFolderContainer.Visible());
    EXPECT_EQ(again->chkEllipsis.Value(), 1);
    EXPECT_EQ(again->lvFiles.ColumnHeaders("Artist").Width(), 2400 - 2400 % 15);
    EXPECT_EQ(again->lvFiles.ListItems(DataFolder("three") + "\\03 - Track 3.mp3")->SubItem(8), "J. Berg");

    // Closed maximised: the last normal size and place stay stored.
    again->SetWindowState(forms::kMaximized);
    again->Unload();
    EXPECT_EQ(Read(kLayout, "Width").text, "10500");
    EXPECT_EQ(Read(kLayout, "Left").text, "600");
}

TEST_F(MainWindowTest, OutOfRangeValuesNeverStopTheLoad) {
    Set("Tag Version", Variant::Long(2));
    Set("View Mode", Variant::Long(9));
    Set("Sort Column", Variant::Long(40));
    Set("Height", Variant::Double(-1200));
    Set("SplitterV", Variant::Double(900000));
    Set("SplitterH", Variant::Double(-5));
    auto f = Open(DataFolder("three"), "3 Files found");
    EXPECT_TRUE(f->FormLoaded);
    EXPECT_EQ(f->TagVersion, 0);
    EXPECT_EQ(f->lvFiles.View(), 3);
    EXPECT_GT(f->Height(), 0);
    // The list stays on the screen: the folder pane leaves room for it.
    EXPECT_GT(f->picLVContainer.Width(), 0);
    EXPECT_LT(f->picFolderContainer.Width(), f->picContainer.ScaleWidth());
    f->Unload();
}

// Pixels between the list's bottom edge and the status bar's top.
int GapAboveStatusBar(FrmMain& f) {
    RECT list{}, status{};
    GetWindowRect(f.lvFiles.hWnd(), &list);
    GetWindowRect(f.SB1.hWnd(), &status);
    return status.top - list.bottom;
}

TEST_F(MainWindowTest, WithTheTipBarHiddenTheListReachesTheStatusBar) {
    struct Case {
        const char* name;
        const char* stored;  // "Show Tip Bar" as stored, or null for a fresh profile
        std::function<void(FrmMain&)> act;
    };
    const Case cases[] = {
        {"fresh profile", nullptr, [](FrmMain&) {}},
        {"restored", "False", [](FrmMain&) {}},
        {"hidden from the menu", "True", [](FrmMain& f) { f.RunCommand("mnuTipOfDay"); }},
        {"resized", "False", [](FrmMain& f) { f.Move(f.Left(), f.Top(), f.Width() + 900, f.Height() + 1200); }},
    };
    for (const Case& c : cases) {
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        if (c.stored != nullptr) {
            Set("Show Tip Bar", Variant::String(c.stored));
            Set("SplitterH", Variant::Double(2400));
        }
        auto f = Open(DataFolder("three"), "3 Files found");
        c.act(*f);
        EXPECT_FALSE(f->picQEditContainer.Visible()) << c.name;
        EXPECT_FALSE(f->imgSplitterH.Visible()) << c.name;
        EXPECT_EQ(f->picLVContainer.Top(), 15) << c.name;
        EXPECT_EQ(f->picLVContainer.Height(), f->picContainer.ScaleHeight() - 3 * 15) << c.name;
        const int gap = GapAboveStatusBar(*f);
        EXPECT_GE(gap, -4) << c.name;
        EXPECT_LE(gap, 4) << c.name;
        f->Unload();
        // The last form gone ends the run; the next case starts it again.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Shown, the grip stands where it was stored, start after start, and
    // splits list and tips.
    DeleteRegistryTree(store_, kSettingsRootFullPath);
    Set("Show Tip Bar", Variant::String("True"));
    Set("SplitterH", Variant::Double(2400));
    for (int start = 1; start <= 2; ++start) {
        auto f = Open(DataFolder("three"), "3 Files found");
        const int32_t y = f->imgSplitterH.Top();
        EXPECT_TRUE(f->imgSplitterH.Visible()) << start;
        EXPECT_EQ(y, 2400) << start;
        EXPECT_EQ(f->picLVContainer.Top(), 0) << start;
        EXPECT_EQ(f->picLVContainer.Height(), y + 30) << start;
        const int32_t b = f->picSplitterH.Height() + y + 30;
        EXPECT_EQ(f->picQEditContainer.Top(), b) << start;
        EXPECT_EQ(f->picQEditContainer.Height(), f->picContainer.ScaleHeight() - b - 2 * 15) << start;
        f->Unload();
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

// Wine draws the caption buttons of every window (minimise, maximise,
// close) as glyphs of this font; without it they read "0 1 r".
TEST(CaptionButtonFont, MarlettIsThere) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, "Marlett");
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    EXPECT_STREQ(face, "Marlett");
}

std::string ButtonText(HWND bar, int id) {
    char text[128] = {};
    const LRESULT n = SendMessageA(bar, TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(text));
    return n > 0 ? std::string(text) : std::string();
}

TEST_F(MainWindowTest, ToolbarAndMenuShowTheirPicturesAndTheCaptionsAreTheProgramsOwn) {
    auto f = Open(DataFolder("three"), "3 Files found");
    // Each button of the main toolbar: its picture (greyed and coloured
    // alike, 16 pixels) and its caption.
    struct Button { const char* key; const char* caption; };
    const Button buttons[] = {{"btnRename", ""}, {"btnCDDB", ""}, {"btnSort", ""}, {"btnCase", ""},
                              {"btnExport", ""}, {"btnCDRip", ""}, {"btnFolders", "Folders"}, {"btnHelp", ""}};
    const HWND bar = f->Toolbar1.ToolbarWindow();
    const auto normal = reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETIMAGELIST, 0, 0));
    const auto hot = reinterpret_cast<HIMAGELIST>(SendMessageA(bar, TB_GETHOTIMAGELIST, 0, 0));
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(hot, nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(normal, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    std::vector<int> pictures;
    for (const Button& b : buttons) {
        const int position = f->Toolbar1.ButtonIndex(b.key);
        ASSERT_GE(position, 0) << b.key;
        TBBUTTON tb{};
        ASSERT_TRUE(SendMessageA(bar, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&tb))) << b.key;
        EXPECT_GE(tb.iBitmap, 0) << b.key;
        EXPECT_LT(tb.iBitmap, ImageList_GetImageCount(normal)) << b.key;
        EXPECT_LT(tb.iBitmap, ImageList_GetImageCount(hot)) << b.key;
        EXPECT_EQ(std::count(pictures.begin(), pictures.end(), tb.iBitmap), 0) << b.key << " has a picture of its own";
        pictures.push_back(tb.iBitmap);
        EXPECT_EQ(ButtonText(bar, tb.idCommand), b.caption) << b.key;
    }

    // The help item of the menu bar's menu carries its picture.
    platform::MenuHandle help = f->m_popup.BuildMenu("help");
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    ASSERT_TRUE(GetMenuItemInfoA(help.get(), platform::PopupMenu::CommandId(f->m_popup.IndexForKey("mnuHelp")),
                                 FALSE, &item));
    EXPECT_NE(item.hbmpItem, nullptr);

    // The bars' close buttons: a picture, no text.
    for (platform::Toolbar* closer : {&f->Toolbar2, &f->Toolbar3, &f->Toolbar5}) {
        TBBUTTON tb{};
        ASSERT_TRUE(SendMessageA(closer->ToolbarWindow(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&tb)));
        EXPECT_EQ(tb.iBitmap, 0);
        EXPECT_NE(SendMessageA(closer->ToolbarWindow(), TB_GETIMAGELIST, 0, 0), 0);
        EXPECT_EQ(ButtonText(closer->ToolbarWindow(), tb.idCommand), "");
    }

    struct Caption { forms::WindowBase* control; const char* text; };
    const Caption captions[] = {{&f->Command2(0), "Update..."}, {&f->Command2(1), "Sync Versions"},
                                {&f->Command2(2), "Options..."}, {&f->lblMoreTips, "More Tips"}};
    for (const Caption& c : captions) EXPECT_EQ(c.control->Text(), c.text);
    EXPECT_EQ(f->Command2(0).ToolTipText(), "Perform the ID3 tag update");
    f->Unload();
}

TEST_F(MainWindowTest, TagBarButtonTogglesAndTheFolderPaneKeepsItsWidth) {
    Set("SplitterV", Variant::Double(3600));
    auto f = Open(DataFolder("three"), "3 Files found");
    EXPECT_EQ(f->picFolderContainer.Width(), 3600);
    const HWND bar = f->Toolbar5.ToolbarWindow();
    RECT rc{};
    SendMessageA(bar, TB_GETRECT, platform::detail::kFirstButtonId, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    for (int expect : {mainwindow::kSideBarClosed, mainwindow::kSideBarOpen}) {
        SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar, WM_LBUTTONUP, 0, at);
        EXPECT_EQ(f->picSideBar.Width(), expect);
        EXPECT_EQ(f->Picture3.Visible(), expect == mainwindow::kSideBarOpen);
        EXPECT_EQ(f->picFolderContainer.Width(), 3600);
    }
    f->Unload();
}

// The status bar tells the test where the listing is: its hook acts while
// the listing yields to the message loop.
void OnStatus(FrmMain& f, const std::string& prefix, std::function<void()> act) {
    auto done = std::make_shared<bool>(false);
    f.SB1.WindowProc = [prefix, act, done](UINT msg, WPARAM, LPARAM lp, LRESULT&) {
        if (msg == SB_SETTEXTA && !*done && lp != 0 &&
            std::string(reinterpret_cast<const char*>(lp)).rfind(prefix, 0) == 0) {
            *done = true;
            act();
        }
        return false;
    };
}

TEST_F(MainWindowTest, ClosingDuringAListingWaitsForItThenCloses) {
    auto f = Open(DataFolder("three"), "3 Files found");
    f->RunCommand("mnuRecursive");  // lists tree/ with its sub-folders next
    f->ShowFiles(DataFolder("tree"), false);
    const HWND window = f->hWnd();
    OnStatus(*f, "Searching Folder: ", [window] { PostMessageA(window, WM_CLOSE, 0, 0); });
    ASSERT_TRUE(PumpUntil([&] { return !f->Loaded(); }, 30000));
    EXPECT_FALSE(f->ListingRunning());
    EXPECT_EQ(Read(kLayout, "Recursive Searching").text, "True");
}

TEST_F(MainWindowTest, AFolderPickedDuringAListingIsListedAfterIt) {
    auto f = Open(DataFolder("three"), "3 Files found");
    f->RunCommand("mnuRecursive");
    FrmMain* form = f.get();
    const std::string other = DataFolder("other");
    OnStatus(*f, "Searching Folder: ", [form, other] { form->FTVWFiles.SetPath(other); });
    f->ShowFiles(DataFolder("tree"), false);
    ASSERT_TRUE(Listed(*f, "1 Files found"));
    EXPECT_EQ(f->lvFiles.ListItems(1)->Key(), other + "\\Elsewhere.mp3");
    EXPECT_EQ(f->FTVWFiles.Path(), other);
    ASSERT_GE(f->FolderHistory.size(), 2u);
    EXPECT_EQ(f->FolderHistory.back(), other);
    f->Unload();
}

// Names of the children of `item`, as the tree view reports them.
std::vector<std::string> Children(HWND tree, HTREEITEM item) {
    std::vector<std::string> names;
    for (HTREEITEM c = TreeView_GetChild(tree, item); c != nullptr; c = TreeView_GetNextSibling(tree, c)) {
        char text[MAX_PATH] = {};
        TVITEMA tv{TVIF_TEXT, c, 0, 0, text, MAX_PATH};
        TreeView_GetItem(tree, &tv);
        names.push_back(text);
    }
    return names;
}

// The Folders pane, opened again (TVM_EXPAND, as another program would),
// shows the folders of now but no hidden or system ones; a folder picked
// after it has gone empties the list and leaves the pane.
TEST_F(MainWindowTest, TheFolderTreeShowsTheFoldersOfNow) {
    const std::string root = DataFolder("now");
    const char* const made[] = {"", "\\Kept", "\\Gone", "\\.dotted", "\\Sys"};
    for (const char* name : made) CreateDirectoryA((root + name).c_str(), nullptr);
    SetFileAttributesA((root + "\\Sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CopyFileA((DataFolder("other") + "\\Elsewhere.mp3").c_str(), (root + "\\a.mp3").c_str(), FALSE);
    auto f = Open(root, "1 Files found");
    const HWND tree = f->FTVWFiles.hWnd();
    const HTREEITEM folder = TreeView_GetSelection(tree);
    const struct {
        const char* make;
        const char* remove;
        std::vector<std::string> shown;
        int rows;
    } steps[] = {{nullptr, nullptr, {"Gone", "Kept"}, 1},
                 {"\\Made", nullptr, {"Gone", "Kept", "Made"}, 1},
                 {nullptr, "\\Kept", {"Gone", "Made"}, 1},
                 {nullptr, "\\Gone", {"Made"}, 0}};  // then picked
    for (const auto& step : steps) {
        if (step.make != nullptr) CreateDirectoryA((root + step.make).c_str(), nullptr);
        if (step.remove != nullptr) RemoveDirectoryA((root + step.remove).c_str());
        if (step.rows == 0) {
            TreeView_SelectItem(tree, TreeView_GetChild(tree, folder));
        } else {
            TreeView_Expand(tree, folder, TVE_COLLAPSE);
            TreeView_Expand(tree, folder, TVE_EXPAND);
        }
        EXPECT_TRUE(PumpUntil([&] {
            return Children(tree, folder) == step.shown && ListView_GetItemCount(f->lvFiles.hWnd()) == step.rows;
        })) << step.shown.size() << " folders expected, " << Children(tree, folder).size() << " shown";
    }
    // Its parent is selected again, and not listed.
    EXPECT_EQ(TreeView_GetSelection(tree), folder);
    EXPECT_EQ(f->FolderHistory.back(), root + "\\Gone");
    f->Unload();
    DeleteFileA((root + "\\a.mp3").c_str());
    for (const char* name : {"\\Made", "\\Sys", "\\.dotted", ""}) RemoveDirectoryA((root + name).c_str());
}

// A folder chosen (as Locate does) on a drive that the system's drive list
// does not report is a missing one: the tree and the list stay as they are.
TEST_F(MainWindowTest, AFolderOnADriveTheSystemDoesNotListIsMissing) {
    const testing::UnlistedDrive drive(std::getenv("CORVELLA_MAIN_DATA"));
    ASSERT_FALSE(drive.root().empty());
    auto f = Open(DataFolder("other"), "1 Files found");
    f->FTVWFiles.SetPath(drive.root() + "three");
    EXPECT_EQ(f->FTVWFiles.Path(), DataFolder("other"));
    EXPECT_EQ(f->FolderHistory.size(), 1u);
    f->Unload();
}

TEST_F(MainWindowTest, RecursiveListingAndUnreadableTips) {
    auto f = Open(DataFolder("three"), "3 Files found");
    f->RunCommand("mnuRecursive");
    ASSERT_TRUE(Listed(*f, "3 Files found"));
    f->ShowFiles(DataFolder("tree"), false);
    ASSERT_TRUE(Listed(*f, "320 Files found"));
    platform::ListItem* deep = f->lvFiles.ListItems(DataFolder("tree") + "\\h\\39.mp3");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->SubItem(1), "Deep One");

    // A tips file that exists but cannot be read is a missing one.
    const std::string tips = DataFolder("three") + "\\locked.tip";
    HANDLE h = CreateFileA(tips.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const size_t before = f->Tips.size();
    EXPECT_FALSE(f->LoadTips(tips));
    EXPECT_FALSE(f->LoadTips(DataFolder("three")));
    EXPECT_EQ(f->Tips.size(), before);
    CloseHandle(h);
    DeleteFileA(tips.c_str());
    f->Unload();
}

}  // namespace
}  // namespace corvella

namespace corvella {
namespace {

TEST_F(MainWindowTest, SearchWindowCancelOnlyHides) {
    FrmDisplayInfo info;
    info.Show();
    EXPECT_EQ(info.Caption(), "Searching for and Displaying  Files...");
    EXPECT_EQ(info.lblFilename.Caption(), "#### Filename ####");
    info.SetShouldShow(true);
    info.cmdMain.DoClick();
    EXPECT_FALSE(info.Visible());
    EXPECT_TRUE(info.Loaded());
    EXPECT_TRUE(info.ShouldShow());
    info.Unload();
}

}  // namespace
}  // namespace corvella

namespace corvella {
namespace {

// A store that fails once on "Auto-Check" when armed: an error in the middle
// of a listing, after the rows are in.
class FailingStore : public MemoryStore {
public:
    bool armed = false;
    bool QueryValue(int32_t root, const std::string& path, const std::string& name, int32_t& type,
                    std::vector<uint8_t>& data) override {
        if (armed && name == "Auto-Check") {
            armed = false;
            throw 42;
        }
        return MemoryStore::QueryValue(root, path, name, type, data);
    }
};

TEST_F(MainWindowTest, AnErrorInsideAListingLeavesNoGuardOrLockBehind) {
    FailingStore store;
    cRegistry(store).SaveSetting(static_cast<int32_t>(0x80000001u), kLayout, "Folder",
                                 Variant::String(DataFolder("three")));
    FrmMain f;
    f.SetSettingsStore(&store);
    f.SetShared({tags_.Pair(), &genres_});
    f.Show();
    ASSERT_TRUE(Listed(f, "3 Files found"));
    store.armed = true;
    f.ShowFiles(DataFolder("other"), false);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 20000));
    EXPECT_FALSE(f.ListingRunning());
    EXPECT_NE(GetWindowLongA(f.picLVContainer.hWnd(), GWL_STYLE) & WS_VISIBLE, 0);
    f.ShowFiles(DataFolder("three"), false);
    ASSERT_TRUE(Listed(f, "3 Files found"));
    EXPECT_EQ(f.lvFiles.ListItems.Count(), 3);
    f.Unload();
}

}  // namespace
}  // namespace corvella

namespace corvella {
namespace {

void ClickFirstButton(HWND bar) {
    RECT rc{};
    SendMessageA(bar, TB_GETRECT, platform::detail::kFirstButtonId, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
}

TEST_F(MainWindowTest, BarsHideAlikeFromMenuToolbarAndCloseButtonAndTheWindowKeepsItsLeastSize) {
    auto f = Open(DataFolder("three"), "3 Files found");
    const int32_t item = f->m_popup.IndexForKey("mnuFolders");
    struct Way { const char* name; std::function<void()> hide; };
    const Way ways[] = {
        {"menu", [&] { f->RunCommand("mnuFolders"); }},
        {"toolbar", [&] {
             f->Toolbar1.SetPressed("btnFolders", false);
             f->RunCommand("btnFolders");
         }},
        {"close button", [&] { ClickFirstButton(f->Toolbar3.ToolbarWindow()); }},
    };
    for (const Way& way : ways) {
        if (!f->picFolderContainer.Visible()) f->RunCommand("mnuFolders");  // shown again
        ASSERT_TRUE(f->picFolderContainer.Visible()) << way.name;
        way.hide();
        EXPECT_FALSE(f->picFolderContainer.Visible()) << way.name;
        EXPECT_FALSE(f->m_popup.Checked(item)) << way.name;
        EXPECT_FALSE(f->Toolbar1.Pressed("btnFolders")) << way.name;
        EXPECT_EQ(f->picLVContainer.Left(), 0) << way.name;
    }
    ClickFirstButton(f->Toolbar2.ToolbarWindow());  // the tip bar's close only hides
    EXPECT_FALSE(f->picQEditContainer.Visible());
    EXPECT_EQ(f->picLVContainer.Top(), 15);

    // The check boxes show while a field toggle of the shown version is
    // pressed; the ID3v1 view does not count the ID3v2-only toggles. (How
    // wide the shown column is, the header test looks at on the screen.)
    struct Toggle { int field; bool shown; };
    for (const Toggle& t : {Toggle{8, false}, Toggle{8, false}, Toggle{0, true}, Toggle{0, false}}) {
        ClickFirstButton(f->Toolbar4(t.field).ToolbarWindow());
        EXPECT_EQ(f->lvFiles.ColumnHeaders(1).Width() > 0, t.shown) << t.field;
    }

    MINMAXINFO info{};
    SendMessageA(f->hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 550);
    EXPECT_EQ(info.ptMinTrackSize.y, 400);
    f->Unload();
}

}  // namespace
}  // namespace corvella

namespace corvella {
namespace {

// The system's help viewer: a visible window of this process captioned with
// the help file's DEFAULT title.
BOOL CALLBACK FindHelpViewer(HWND h, LPARAM out) {
    DWORD process = 0;
    char caption[64] = {};
    GetWindowThreadProcessId(h, &process);
    GetWindowTextA(h, caption, sizeof caption);
    if (process != GetCurrentProcessId() || !IsWindowVisible(h) || std::string(caption) != "Corvella Help") return TRUE;
    *reinterpret_cast<HWND*>(out) = h;
    return FALSE;
}

TEST_F(MainWindowTest, TheKeyTheMenuAndTheToolbarOpenTheHelpFileAndTheWindowGoesOn) {
    auto f = Open(DataFolder("three"), "3 Files found");
    const HWND list = f->lvFiles.hWnd(), bar = f->Toolbar1.ToolbarWindow();
    TBBUTTON help{};
    SendMessageA(bar, TB_GETBUTTON, f->Toolbar1.ButtonIndex("btnHelp"), reinterpret_cast<LPARAM>(&help));
    RECT rc{};
    SendMessageA(bar, TB_GETRECT, help.idCommand, reinterpret_cast<LPARAM>(&rc));
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"F1", [&] {
             SetFocus(list);
             PostMessageA(list, WM_KEYDOWN, VK_F1, 1);
             PostMessageA(list, WM_KEYUP, VK_F1, 0xC0000001);
         }},
        {"menu", [&] { f->m_popup.DispatchCommand(platform::PopupMenu::CommandId(f->m_popup.IndexForKey("mnuHelp"))); }},
        {"toolbar", [&] {
             SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
             SendMessageA(bar, WM_LBUTTONUP, 0, at);
         }},
    };
    for (const auto& [way, ask] : ways) {
        HWND viewer = nullptr;
        EnumWindows(FindHelpViewer, reinterpret_cast<LPARAM>(&viewer));
        ASSERT_EQ(viewer, nullptr) << way;
        ask();
        ASSERT_TRUE(PumpUntil([&] { return !EnumWindows(FindHelpViewer, reinterpret_cast<LPARAM>(&viewer)); }, 30000))
            << way;
        // The program goes on beside the viewer: the window still answers.
        f->RunCommand("mnuTagVersion(1)");
        EXPECT_EQ(f->cboVersion.ListIndex(), 1) << way;
        f->RunCommand("mnuTagVersion(0)");
        PostMessageA(viewer, WM_CLOSE, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(viewer); }, 30000)) << way;
    }
    f->Unload();
}

// Where `window` shows picture `image` of `images` on the screen within `r`
// (client coordinates): the left edge of a place where every pixel the
// picture covers (those that differ drawn on black and on white) has the
// picture's colour; -1 when there is none.
int PictureLeft(HWND window, RECT r, HIMAGELIST images, int image) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC screen = GetDC(window), dc[2] = {CreateCompatibleDC(screen), CreateCompatibleDC(screen)};
    HBITMAP bitmap[2] = {CreateCompatibleBitmap(screen, 16, 16), CreateCompatibleBitmap(screen, 16, 16)};
    std::vector<std::pair<POINT, COLORREF>> covered;
    for (int i = 0; i < 2; ++i) {
        SelectObject(dc[i], bitmap[i]);
        PatBlt(dc[i], 0, 0, 16, 16, i == 0 ? BLACKNESS : WHITENESS);
        ImageList_Draw(images, image, dc[i], 0, 0, ILD_TRANSPARENT);
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (GetPixel(dc[0], x, y) == GetPixel(dc[1], x, y)) covered.push_back({{x, y}, GetPixel(dc[0], x, y)});
    int found = -1;
    for (int y = r.top; !covered.empty() && found < 0 && y + 16 <= r.bottom; ++y)
        for (int x = r.left; found < 0 && x + 16 <= r.right; ++x)
            if (std::all_of(covered.begin(), covered.end(),
                            [&](const auto& p) { return GetPixel(screen, x + p.first.x, y + p.first.y) == p.second; }))
                found = x;
    for (int i = 0; i < 2; ++i) DeleteDC(dc[i]), DeleteObject(bitmap[i]);
    ReleaseDC(window, screen);
    return found;
}

// The same for header item `item` and the header's image list.
int PictureLeft(HWND header, int item, int image) {
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
    return PictureLeft(header, r, reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0)), image);
}

HDITEMA HeaderItem(HWND header, int item) {
    HDITEMA hd{};
    hd.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageA(header, HDM_GETITEMA, item, reinterpret_cast<LPARAM>(&hd));
    return hd;
}

TEST_F(MainWindowTest, TheHeaderShowsTheSortArrowAndTheCheckBoxAfterRealClicks) {
    auto f = Open(DataFolder("three"), "3 Files found");
    testing::BringToUser(f->hWnd());
    f->Move(0, 0, f->Width(), f->Height());  // all of it on the screen
    ClickFirstButton(f->Toolbar4(0).ToolbarWindow());  // a pressed field toggle shows the check column
    const HWND list = f->lvFiles.hWnd();
    const auto states = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    const HWND header = reinterpret_cast<HWND>(SendMessageA(f->lvFiles.hWnd(), LVM_GETHEADER, 0, 0));
    struct Step {
        const char* what;
        int click;   // the header item clicked, -1 none
        int sorted;  // the item with the arrow: 0 ascending, 1 descending
        int arrow;
        int box;     // the check column's picture: 2 clear, 3 ticked (so are the rows)
    };
    const Step steps[] = {{"as loaded", -1, 1, 0, 3},
                          {"Artist clicked", 2, 2, 0, 3},
                          {"Artist clicked again", 2, 2, 1, 3},
                          {"the check column clicked", 0, 2, 1, 2}};
    int dx = 8;  // clicks this far apart make no double-click
    for (const Step& s : steps) {
        if (s.click >= 0) {
            RECT r{};
            SendMessageA(header, HDM_GETITEMRECT, s.click, reinterpret_cast<LPARAM>(&r));
            ASSERT_TRUE(testing::MoveTo(header, (r.left + r.right) / 2 + (dx = -dx), r.bottom / 2)) << s.what;
            testing::MouseButton(MOUSEEVENTF_LEFTDOWN);
            testing::MouseButton(MOUSEEVENTF_LEFTUP);
        }
        EXPECT_TRUE(PumpUntil([&] {
            const HDITEMA sorted = HeaderItem(header, s.sorted);
            return HeaderItem(header, 0).iImage == s.box && (sorted.fmt & HDF_IMAGE) != 0 && sorted.iImage == s.arrow;
        }, 10000)) << s.what;
        EXPECT_EQ(HeaderItem(header, 0).fmt & (HDF_STRING | HDF_IMAGE), HDF_IMAGE) << s.what;
        for (int i = 1; i < f->lvFiles.ColumnHeaders.Count(); ++i)
            EXPECT_EQ(HeaderItem(header, i).fmt & (HDF_STRING | HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_JUSTIFYMASK),
                      i == s.sorted ? HDF_STRING | HDF_IMAGE | HDF_BITMAP_ON_RIGHT : HDF_STRING) << s.what << " " << i;
        // On the screen: the arrow right of the text, not the other one; the box.
        RECT r{};
        SendMessageA(header, HDM_GETITEMRECT, s.sorted, reinterpret_cast<LPARAM>(&r));
        const std::string text = f->lvFiles.ColumnHeaders(s.sorted + 1).Text();
        HDC dc = GetDC(header);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ReleaseDC(header, dc);
        EXPECT_GT(PictureLeft(header, s.sorted, s.arrow), r.left + extent.cx) << s.what;
        EXPECT_EQ(PictureLeft(header, s.sorted, 1 - s.arrow), -1) << s.what;
        EXPECT_GE(PictureLeft(header, 0, s.box), 0) << s.what;
        EXPECT_EQ(f->lvFiles.ListItems(2)->Checked(), s.box == 3) << s.what;
        // The last row's box, whole in the check column as the window sizes it.
        RECT row{LVIR_BOUNDS};
        SendMessageA(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
        row.right = row.left + static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        EXPECT_GE(PictureLeft(list, row, states, s.box == 3 ? 1 : 0), 0) << s.what;
    }
    f->Unload();
}

// True while MCI knows the player's device.
bool PlayerOpen() {
    char reply[64] = {};
    return mciSendStringA("status MP3Play mode", reply, sizeof reply, nullptr) == 0;
}

TEST_F(MainWindowTest, ClosingStopsThePlaybackAndDeletesItsCopy) {
    const std::string scratch = forms::App.Path() + "\\temp.mp3";
    auto f = Open(DataFolder("three"), "3 Files found");
    f->RunCommand("mnuPlay");  // the selected row
    ASSERT_NE(GetFileAttributesA(scratch.c_str()), INVALID_FILE_ATTRIBUTES) << scratch;
    ASSERT_TRUE(PlayerOpen()) << (boxes.empty() ? "" : boxes.front().prompt);
    f->Unload();
    EXPECT_EQ(GetFileAttributesA(scratch.c_str()), INVALID_FILE_ATTRIBUTES) << "the copy is gone";
    EXPECT_FALSE(PlayerOpen()) << "the device is closed";
}

// Without its hand-over: the flat look's library is in use while the splash
// is loaded and free to go once it is unloaded.
TEST_F(MainWindowTest, TheSplashHoldsItsFlatLookOnlyWhileLoaded) {
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_EQ(GetModuleHandleA("Planomir.dll"), nullptr);
    FrmLoading splash;
    splash.tmrProgress.enabled = false;
    splash.Show();
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_NE(GetModuleHandleA("Planomir.dll"), nullptr);
    splash.Unload();
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("Planomir.dll"), nullptr);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace corvella
