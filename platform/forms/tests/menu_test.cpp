// Menus as the forms' objects on real windows: the bar, arrays, states,
// shortcuts in the message loop, Click through the error boundary, popups.
#include <string>
#include <vector>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {
namespace {

using Menus = FormsTest;

struct MenuForm : Form {
    Menu mnuFile, mnuOpen, mnuSep, mnuExit;
    Menu mnuView, mnuRefresh;
    ControlArray<Menu> mnuTagVersion{"mnuTagVersion"};
    Menu mnuPopup, mnuPlay;  // hidden: a popup menu
    std::vector<std::string> clicks;

    MenuForm() {
        name = "frmTest";
        keyPreview = true;
        mnuFile.name = "mnuFile";
        mnuFile.caption = "&File";
        mnuOpen.name = "mnuOpen";
        mnuOpen.caption = "&Open...";
        mnuOpen.shortcut = {'O', kCtrlMask};
        mnuSep.caption = "-";
        mnuExit.name = "mnuExit";
        mnuExit.caption = "E&xit";
        mnuFile.Add(mnuOpen);
        mnuFile.Add(mnuSep);
        mnuFile.Add(mnuExit);
        mnuView.name = "mnuView";
        mnuView.caption = "&View";
        mnuRefresh.name = "mnuRefresh";
        mnuRefresh.caption = "Refresh";
        mnuRefresh.shortcut = {VK_F5, 0};
        mnuView.Add(mnuRefresh);
        for (int i = 0; i < 2; ++i) {
            Menu& v = mnuTagVersion.Add(i);
            v.caption = "Version " + std::to_string(i + 1);
            v.Click = [this](int index) { clicks.push_back("mnuTagVersion(" + std::to_string(index) + ")"); };
            mnuView.Add(v);
        }
        mnuPopup.name = "mnuPopup";
        mnuPopup.caption = "Popup";
        mnuPopup.visible = false;
        mnuPlay.name = "mnuPlay";
        mnuPlay.caption = "Play";
        mnuPopup.Add(mnuPlay);
        menus = {&mnuFile, &mnuView, &mnuPopup};
        mnuOpen.Click = [this](int) { clicks.push_back("mnuOpen"); };
        mnuRefresh.Click = [this](int) { clicks.push_back("mnuRefresh"); };
        mnuPlay.Click = [this](int) { clicks.push_back("mnuPlay"); };
        mnuExit.Click = [](int) { throw Error("Exit failed", 91); };
        Form_KeyDown = [this](int& key, int) { clicks.push_back("KeyDown " + std::to_string(key)); };
    }
    ~MenuForm() override { Unload(); }
};

HWND gPopupOwner = nullptr;

// The user's choice, made while the menu runs its own loop.
// Keys go once the popup's window is up: before that the menu's loop may
// take Return with nothing selected and close empty.
void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    PostMessageA(gPopupOwner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(gPopupOwner, WM_KEYDOWN, VK_RETURN, 0);
}

std::string ItemText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(Menus, TheBarShowsVisibleMenusWithTheirStatesAndFollowsChanges) {
    MenuForm form;
    form.Show();
    HMENU bar = GetMenu(form.hWnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2) << "the hidden popup menu stays out";
    EXPECT_EQ(ItemText(bar, 0), "&File");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(ItemText(file, 0), "&Open...\tCtrl+O");
    HMENU view = GetSubMenu(bar, 1);
    EXPECT_EQ(ItemText(view, 0), "Refresh\tF5");
    EXPECT_EQ(ItemText(view, 2), "Version 2");

    form.mnuTagVersion(1).SetChecked(true);
    form.mnuRefresh.SetEnabled(false);
    form.mnuExit.SetVisible(false);
    form.mnuOpen.SetCaption("&Open Folder...");
    bar = GetMenu(form.hWnd());
    view = GetSubMenu(bar, 1);
    file = GetSubMenu(bar, 0);
    EXPECT_EQ(GetMenuState(view, 2, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_NE(GetMenuState(view, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuItemCount(file), 2);
    EXPECT_EQ(ItemText(file, 0), "&Open Folder...\tCtrl+O");
}

TEST_F(Menus, CommandsReachClickWithTheArrayIndexInsideTheErrorBoundary) {
    MenuForm form;
    form.Show();
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuTagVersion(1).CommandId(), 0), 0);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuOpen.CommandId(), 0), 0);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"mnuTagVersion(1)", "mnuOpen"}));
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(form.mnuExit.CommandId(), 0), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("in Quillmark.frmTest.mnuExit_Click"), std::string::npos);
    form.mnuOpen.SetEnabled(false);
    form.mnuOpen.DoClick();
    EXPECT_EQ(form.clicks.size(), 2u) << "a disabled item does not click";
}

TEST_F(Menus, ShortcutsRunInTheLoopBeforeKeyPreviewAndOnlyForUsableItems) {
    MenuForm form;
    TextBox text;
    form.CreateControls = [&] { text.Create(form); };
    form.Show();
    text.SetFocus();
    PostMessageA(text.hWnd(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(PumpUntil([&] { return !form.clicks.empty(); }));
    EXPECT_EQ(form.clicks, std::vector<std::string>{"mnuRefresh"}) << "KeyDown does not see it";

    form.clicks.clear();
    form.mnuView.SetEnabled(false);  // a disabled parent disables its items
    PostMessageA(text.hWnd(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(PumpUntil([&] { return !form.clicks.empty(); }));
    EXPECT_EQ(form.clicks, std::vector<std::string>{"KeyDown " + std::to_string(VK_F5)});

    // Ctrl+O with the control key held.
    form.clicks.clear();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(text.hWnd(), WM_KEYDOWN, 'O', 0);
    const bool got = PumpUntil([&] { return !form.clicks.empty(); });
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ASSERT_TRUE(got);
    EXPECT_EQ(form.clicks, std::vector<std::string>{"mnuOpen"});
}

TEST_F(Menus, APopupMenuRunsTheChosenItemsClickBeforeItReturns) {
    MenuForm form;
    form.Show();
    gPopupOwner = form.hWnd();
    SetTimer(nullptr, 0, 20, ChooseSecondItem);
    form.PopupMenu(form.mnuPopup, 300, 300);
    EXPECT_EQ(form.clicks, std::vector<std::string>{"mnuPlay"});
    EXPECT_EQ(GetMenuItemCount(GetMenu(form.hWnd())), 2) << "the bar is left alone";
}

}  // namespace
}  // namespace corvella::forms::testing
