#include "platform/forms/runtime.h"
#include "platform/popupmenu/popup_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvella {
namespace platform {
namespace {

std::vector<std::string> Keys(const PopupMenu& m) {
    std::vector<std::string> keys;
    for (int32_t i = 1; i <= m.Count(); ++i) keys.push_back(m.ItemKey(i));
    return keys;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = {};
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof(text);
    GetMenuItemInfoA(menu, position, TRUE, &mii);
    return text;
}

MENUITEMINFOA MenuItem(HMENU menu, UINT position) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    GetMenuItemInfoA(menu, position, TRUE, &mii);
    return mii;
}

// The view menu of the main window.
void BuildViewMenu(PopupMenu& m) {
    m.AddItem("Large Icons", "", 0, 0, -1, false, true, "mnuView(0)");
    m.AddItem("Small Icons", "", 0, 0, -1, false, true, "mnuView(1)");
    m.AddItem("List", "", 0, 0, -1, false, true, "mnuView(2)");
    m.AddItem("Details", "", 0, 0, -1, false, true, "mnuView(3)");
    m.AddItem("-");
    m.AddItem("Refresh", "", 0, 0, -1, false, true, "mnuRefresh");
    m.SetOptionGroupStart(1, true);
    m.Store("View");
}

TEST(PopupMenuBuild, IndexesKeysAndSubMenus) {
    PopupMenu m;
    EXPECT_EQ(m.AddItem("&File", "", 0, 0, -1, false, true, ""), 1);
    EXPECT_EQ(m.AddItem("&Rename File(s)...", "", 0, 1, -1, false, true, "mnuRename"), 2);
    EXPECT_EQ(m.AddItem("-", "", 0, 1), 3);
    EXPECT_EQ(m.AddItem("Export Data To...", "", 0, 1), 4);
    EXPECT_EQ(m.AddItem("&Music Playlist File (.M3U)...", "", 0, 4, -1, false, true, "mnuPlayList"), 5);
    EXPECT_EQ(m.AddItem("E&xit", "", 7, 1, -1, false, true, "mnuExit"), 6);
    EXPECT_EQ(m.AddItem("orphan", "", 0, 3), 0);   // a separator has no children
    EXPECT_EQ(m.AddItem("orphan", "", 0, 99), 0);  // no such parent
    EXPECT_EQ(m.Count(), 6);

    EXPECT_EQ(m.IndexForKey("mnuPlayList"), 5);
    EXPECT_EQ(m.IndexForKey("mnuNothing"), 0);
    EXPECT_EQ(m.IndexForKey(""), 0);
    EXPECT_EQ(m.Caption(6), "E&xit");
    EXPECT_EQ(m.ItemData(6), 7);
    EXPECT_EQ(m.Parent(5), 4);
    EXPECT_EQ(m.ItemKey(0), "");
    EXPECT_EQ(m.ItemKey(7), "");

    MenuHandle built = m.BuildMenu();
    ASSERT_NE(built.get(), nullptr);
    ASSERT_EQ(GetMenuItemCount(built.get()), 1);
    HMENU file = GetSubMenu(built.get(), 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(MenuText(file, 0), "&Rename File(s)...");
    EXPECT_TRUE(MenuItem(file, 1).fType & MFT_SEPARATOR);
    HMENU exportTo = GetSubMenu(file, 2);
    ASSERT_NE(exportTo, nullptr);
    EXPECT_EQ(GetMenuItemID(exportTo, 0), PopupMenu::CommandId(5));
    EXPECT_EQ(m.IndexOfCommand(GetMenuItemID(file, 3)), 6);

    m.Clear();
    EXPECT_EQ(m.Count(), 0);
    EXPECT_TRUE(m.StoredNames().empty());
}

TEST(PopupMenuBuild, InsertAndRemoveShiftIndexes) {
    PopupMenu m;
    m.AddItem("Pre-Defined Fields");                                     // 1
    m.AddItem("Title", "", 0, 1, -1, false, true, "mnuTitle");           // 2
    m.AddItem("Track", "", 0, 1, -1, false, true, "mnuTrack");           // 3
    m.AddItem("-");                                                      // 4
    m.AddItem("Extract Tag...");                                         // 5
    m.AddItem("From a Version 1 Tag Field...", "", 0, 5, -1, false, true, "mnuExtractv1");  // 6
    m.AddItem("From Opposite Tag Version", "", 0, 5, -1, false, true, "mnuSync");           // 7
    m.Store("FieldPopup");

    // Inserted in front of item 6, inside the same sub-menu.
    EXPECT_EQ(m.InsertItem("Add Based on Order in Main Window", m.IndexForKey("mnuExtractv1"), "", 0, -1, false,
                           true, "mnuOrderTrack"),
              6);
    EXPECT_EQ(m.InsertItem("-", 7, "", 0, -1, false, true, "sep"), 7);
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"", "mnuTitle", "mnuTrack", "", "", "mnuOrderTrack", "sep",
                                                 "mnuExtractv1", "mnuSync"}));
    EXPECT_EQ(m.Parent(6), 5);
    EXPECT_EQ(m.Parent(9), 5);
    EXPECT_EQ(m.InsertItem("x", 0), 0);
    EXPECT_EQ(m.InsertItem("x", 11), 0);

    // Removing the first sub-menu's item moves every later index and parent.
    m.RemoveItem("mnuTitle");
    EXPECT_EQ(m.IndexForKey("mnuExtractv1"), 7);
    EXPECT_EQ(m.Parent(7), 4);
    EXPECT_EQ(m.Caption(4), "Extract Tag...");
    m.RemoveItem("sep");
    m.RemoveItem("no such key");
    m.RemoveItem("");
    EXPECT_EQ(m.Count(), 7);
    EXPECT_EQ(m.IndexForKey("mnuSync"), 7);

    MenuHandle built = m.BuildMenu();
    HMENU extract = GetSubMenu(built.get(), 2);
    ASSERT_NE(extract, nullptr);
    ASSERT_EQ(GetMenuItemCount(extract), 3);
    EXPECT_EQ(MenuText(extract, 0), "Add Based on Order in Main Window");
    EXPECT_EQ(GetMenuItemID(extract, 1), PopupMenu::CommandId(6));

    // A sub-menu goes with its items.
    const int32_t sub = m.AddItem("Sub", "", 0, 0, -1, false, true, "mnuSub");
    m.AddItem("child", "", 0, sub, -1, false, true, "mnuChild");
    m.AddItem("after", "", 0, 0, -1, false, true, "mnuAfter");
    m.RemoveItem("mnuSub");
    EXPECT_EQ(m.IndexForKey("mnuChild"), 0);
    EXPECT_EQ(m.IndexForKey("mnuAfter"), 8);
}

TEST(PopupMenuBuild, ARebuildUnderTheSameNameReplacesTheEarlierItems) {
    PopupMenu m;
    for (int build = 0; build < 3; ++build) {
        // Parents are the indexes AddItem gives, as the menu's builder uses them.
        const int32_t user = m.AddItem("User Defined Fields");
        m.AddItem("Customise Fields...", "", 0, user, -1, false, true, "mnuAddMore");
        if (build == 2) m.AddItem("extra", "", 0, 0, -1, false, true, "mnuExtra");
        m.Store("FieldPopup");
        if (build == 1) m.InsertItem("-", 1, "", 0, -1, false, true, "sep");  // belongs to the build
    }
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"", "mnuAddMore", "mnuExtra"}));
    EXPECT_EQ(m.Parent(2), 1);
    m.Store("FieldPopup");  // nothing new: the menu stays
    EXPECT_EQ(m.Count(), 3);

    // A menu bar keeps one part per name, and indexes run on across them.
    PopupMenu bar;
    bar.AddItem("&File");
    bar.AddItem("E&xit", "", 0, 1, -1, false, true, "mnuExit");
    bar.Store("File");
    const int32_t view = bar.AddItem("&View");
    EXPECT_EQ(bar.AddItem("Refresh\tF5", "", 0, view, -1, false, true, "mnuRefresh"), 4);
    bar.Store("view");
    EXPECT_EQ(bar.StoredNames(), (std::vector<std::string>{"File", "view"}));
    EXPECT_EQ(bar.IndexForKey("mnuExit"), 2);
    MenuHandle file = bar.BuildMenu("File");
    ASSERT_EQ(GetMenuItemCount(file.get()), 1);
    EXPECT_EQ(MenuText(file.get(), 0), "&File");
    MenuHandle viewPart = bar.BuildMenu("view");
    EXPECT_EQ(GetMenuItemID(GetSubMenu(viewPart.get(), 0), 0), PopupMenu::CommandId(4));
}

TEST(PopupMenuMarks, OptionGroupsChecksAndEnabledState) {
    PopupMenu m;
    BuildViewMenu(m);
    m.SetOptionChoice(4);
    EXPECT_TRUE(m.Checked(4));
    m.SetOptionChoice(2);
    EXPECT_TRUE(m.Checked(2));
    EXPECT_FALSE(m.Checked(4));
    m.SetChecked(6, true);  // outside the group: the separator ends it
    m.SetOptionChoice(3);
    EXPECT_TRUE(m.Checked(6));
    m.SetEnabled(6, false);

    MenuHandle built = m.BuildMenu();
    for (UINT pos = 0; pos < 4; ++pos) {
        const MENUITEMINFOA mii = MenuItem(built.get(), pos);
        EXPECT_TRUE(mii.fType & MFT_RADIOCHECK) << pos;
        EXPECT_EQ((mii.fState & MFS_CHECKED) != 0, pos == 2) << pos;
    }
    EXPECT_FALSE(MenuItem(built.get(), 5).fType & MFT_RADIOCHECK);
    const UINT refresh = GetMenuState(built.get(), 5, MF_BYPOSITION);
    EXPECT_TRUE(refresh & MF_CHECKED);
    EXPECT_TRUE(refresh & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(built.get(), 0, MF_BYPOSITION) & MF_GRAYED);

    // Two groups under one parent: choosing in one leaves the other.
    PopupMenu tags;
    const int32_t version = tags.AddItem("Tag Version");
    tags.AddItem("Version 1", "", 0, version, -1, false, true, "mnuTagVersion(0)");
    tags.AddItem("Version 2", "", 0, version, -1, false, true, "mnuTagVersion(1)");
    tags.AddItem("Other A", "", 0, version);
    tags.AddItem("Other B", "", 0, version);
    tags.SetOptionGroupStart(2, true);
    tags.SetOptionGroupStart(4, true);
    tags.SetOptionChoice(3);
    tags.SetOptionChoice(5);
    tags.SetOptionChoice(2);
    EXPECT_TRUE(tags.Checked(2));
    EXPECT_FALSE(tags.Checked(3));
    EXPECT_TRUE(tags.Checked(5));
    EXPECT_FALSE(tags.Checked(1));
}

TEST(PopupMenuMarks, IconsComeFromTheImageList) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    ImageList_Add(images, bitmap, nullptr);
    DeleteObject(bitmap);
    {
        PopupMenu m;
        m.SetImageList(images);
        m.AddItem("Display the &Help File...", "", 0, 0, 0, false, true, "mnuHelp");
        m.AddItem("&About...", "", 0, 0, -1, false, true, "mnuAbout");
        m.AddItem("&Bad icon", "", 0, 0, 5);
        MenuHandle built = m.BuildMenu();
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_BITMAP;
        GetMenuItemInfoA(built.get(), 0, TRUE, &mii);
        EXPECT_NE(mii.hbmpItem, nullptr);
        mii.hbmpItem = nullptr;
        GetMenuItemInfoA(built.get(), 1, TRUE, &mii);
        EXPECT_EQ(mii.hbmpItem, nullptr);
        GetMenuItemInfoA(built.get(), 2, TRUE, &mii);
        EXPECT_EQ(mii.hbmpItem, nullptr);
    }
    EXPECT_TRUE(ImageList_Destroy(images));
}

// The owner window that the shown menus belong to, one for the suite: Wine
// takes seconds to tear a top-level window down without a window manager.
class PopupMenuShow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CorvellaMenuTest";
        RegisterClassA(&wc);
        owner_ = CreateWindowExA(0, "CorvellaMenuTest", "Menu test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400,
                                 300, nullptr, nullptr, wc.hInstance, nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(owner_);
        Pump();
    }
    void SetUp() override {
        ASSERT_NE(owner_, nullptr);
        SetForegroundWindow(owner_);
        Pump();
        BuildViewMenu(menu_);
        menu_.SetOwner(owner_);
        menu_.SetClickHandler([this](int32_t index) { clicks_.push_back(index); });
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    // Queues keys for the menu's own message loop, which reads them once
    // the menu is up.
    void Keys(std::initializer_list<WPARAM> keys) {
        for (WPARAM k : keys) {
            PostMessageA(owner_, WM_KEYDOWN, k, 1);
            PostMessageA(owner_, WM_KEYUP, k, 0xC0000001);
        }
    }

    static HWND owner_;
    PopupMenu menu_;
    std::vector<int32_t> clicks_;
};

HWND PopupMenuShow::owner_ = nullptr;

TEST_F(PopupMenuShow, ChosenItemRaisesClickWithItsIndex) {
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(menu_.Show(300, 300, 0, 0, 0, 0, true), 3);
    EXPECT_EQ(clicks_, std::vector<int32_t>{3});

    // Past the separator to "Refresh", item 6.
    Keys({VK_UP, VK_RETURN});
    EXPECT_EQ(menu_.Show(150, 150), 6);
    EXPECT_EQ(clicks_, (std::vector<int32_t>{3, 6}));

    // Not raised when not asked.
    Keys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(menu_.Show(0, 0, 0, 0, 0, 0, false), 1);
    EXPECT_EQ(clicks_.size(), 2u);
}

TEST_F(PopupMenuShow, DismissedMenuRaisesNothing) {
    Keys({VK_DOWN, VK_ESCAPE});
    EXPECT_EQ(menu_.Show(300, 300), 0);
    EXPECT_TRUE(clicks_.empty());

    PopupMenu unowned;
    BuildViewMenu(unowned);
    EXPECT_EQ(unowned.Show(0, 0), 0);
}

TEST_F(PopupMenuShow, CommandIdsDispatchToClick) {
    EXPECT_TRUE(menu_.DispatchCommand(PopupMenu::CommandId(4)));
    EXPECT_FALSE(menu_.DispatchCommand(PopupMenu::CommandId(5)));  // separator
    EXPECT_FALSE(menu_.DispatchCommand(PopupMenu::CommandId(7)));  // no such item
    EXPECT_FALSE(menu_.DispatchCommand(42));
    menu_.SetEnabled(6, false);
    EXPECT_FALSE(menu_.DispatchCommand(PopupMenu::CommandId(6)));
    EXPECT_EQ(clicks_, std::vector<int32_t>{4});
}

TEST_F(PopupMenuShow, AFailingClickIsReportedUnderTheMembersName) {
    std::vector<std::string> reports;
    forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string&) {
        reports.push_back(prompt);
        return IDOK;
    });
    menu_.SetEventNames("frmMain", "m_PopupViewMenu");
    menu_.SetClickHandler([](int32_t) { throw forms::Error("Bad view", 5); });
    EXPECT_TRUE(menu_.DispatchCommand(PopupMenu::CommandId(2)));
    forms::SetMsgBoxHook(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], forms::ErrorText("Bad view", "frmMain.m_PopupViewMenu_Click", 0));
}

}  // namespace
}  // namespace platform
}  // namespace corvella
