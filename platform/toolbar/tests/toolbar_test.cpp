// The toolbars, the host, the rebar and the menu bar on real windows under
// Wine. Clicks are the mouse messages the toolbar window itself handles.
#include "platform/toolbar/toolbar.h"

#include <string>
#include <vector>

#include "app/foundation/win32/shell/shell_helpers.h"
#include "platform/forms/tests/forms_test_util.h"
#include "platform/toolbar/common_toolbar.h"
#include "platform/toolbar/native_toolbar.h"

namespace corvella::platform {
namespace {

using forms::testing::FormsTest;

struct TestForm : forms::Form {
    TestForm() {
        name = "frmTest";
        width = 9000;
        height = 6000;
    }
    ~TestForm() override { Unload(); }
};

// The middle of button `id`'s rectangle, or a point `fromRight` pixels left
// of its right edge.
POINT ButtonPoint(HWND bar, int id, int fromRight = -1) {
    RECT rc{};
    SendMessageA(bar, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&rc));
    return {fromRight < 0 ? (rc.left + rc.right) / 2 : rc.right - fromRight, (rc.top + rc.bottom) / 2};
}

void Click(HWND bar, POINT p) {
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

using ToolbarTest = FormsTest;

TEST_F(ToolbarTest, SplitButtonClicksOnItsMainPartAndDropsOnItsArrow) {
    TestForm form;
    ToolbarHost host;
    host.name = "ToolbarHost3";
    host.left = 300;
    host.top = 450;
    host.width = 6000;
    Toolbar bar;
    bar.name = "Toolbar1";
    bar.SetButtonSize(16, true);
    bar.AddButton("btnRename", 16, "", -1, "Rename");
    bar.AddButton("sep", 1);
    bar.AddButton("btnExport", 144, "Export");
    std::vector<std::string> clicked;
    int dropX = -1, dropY = -1;
    std::string dropped;
    bar.ButtonClick = [&](int& button) { clicked.push_back(bar.ButtonKey(button)); };
    bar.ButtonDropDown = [&](int& button, int x, int y) {
        dropped = bar.ButtonKey(button);
        dropX = x;
        dropY = y;
    };
    form.CreateControls = [&] { host.Create(form); };
    form.Show();
    host.Attach(bar);
    HWND tb = bar.ToolbarWindow();
    ASSERT_NE(tb, nullptr);
    EXPECT_EQ(GetParent(bar.hWnd()), host.hWnd());
    EXPECT_EQ(GetWindow(bar.hWnd(), GW_CHILD), tb);

    const int exportId = detail::kFirstButtonId + 2;
    Click(tb, ButtonPoint(tb, exportId, 30));  // the main part
    EXPECT_EQ(clicked, (std::vector<std::string>{"btnExport"}));
    EXPECT_TRUE(dropped.empty());

    const POINT arrow = ButtonPoint(tb, exportId, 4);
    SendMessageA(tb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow.x, arrow.y));
    SendMessageA(tb, WM_LBUTTONUP, 0, MAKELPARAM(arrow.x, arrow.y));
    EXPECT_EQ(dropped, "btnExport");
    EXPECT_EQ(clicked.size(), 1u) << "the arrow does not click";
    // The drop point: the button's lower left corner in the form's client
    // area, in twips.
    RECT rc{};
    SendMessageA(tb, TB_GETRECT, exportId, reinterpret_cast<LPARAM>(&rc));
    POINT corner{rc.left, rc.bottom};
    MapWindowPoints(tb, form.hWnd(), &corner, 1);
    EXPECT_EQ(dropX, forms::Screen.ToTwipsX(corner.x));
    EXPECT_EQ(dropY, forms::Screen.ToTwipsY(corner.y));
    EXPECT_GT(dropY, host.Top());

    EXPECT_GT(bar.ToolbarHeight(), 16);
    bar.SetButtonEnabled("btnExport", false);
    EXPECT_FALSE(bar.ButtonEnabled("btnExport"));
    EXPECT_TRUE(bar.ButtonEnabled("btnRename"));
    EXPECT_FALSE(bar.ButtonEnabled("nothing"));
}

TEST_F(ToolbarTest, PressedStateByKeyAndByIndexAndWhoTogglesChecks) {
    TestForm form;
    ToolbarHost host;
    Toolbar folders, tagBar;
    folders.AddButton("btnHelp", 16);
    folders.AddButton("btnFolders", 18, "Folders");
    tagBar.SetButtonSize(10);
    tagBar.AddButton("12", 2);
    ToolbarHost host2;
    host2.top = 600;
    form.CreateControls = [&] {
        host.Create(form);
        host2.Create(form);
    };
    folders.SetPressed("btnFolders", true);  // before the window: kept
    form.Show();
    host.Attach(folders);
    host2.Attach(tagBar);
    EXPECT_TRUE(folders.Pressed("btnFolders"));
    EXPECT_TRUE(folders.Pressed(1));
    EXPECT_FALSE(folders.Pressed(0));
    EXPECT_FALSE(folders.Pressed(7));

    // "Folders" toggles itself before its click; the handler reads the new state.
    bool seen = true;
    folders.ButtonClick = [&](int& button) { seen = folders.Pressed(button); };
    Click(folders.ToolbarWindow(), ButtonPoint(folders.ToolbarWindow(), detail::kFirstButtonId + 1));
    EXPECT_FALSE(seen);
    EXPECT_FALSE(folders.Pressed("btnFolders"));

    // The tag bar's check keeps its state for its handler to flip.
    int clicks = 0;
    tagBar.ButtonClick = [&](int& button) {
        ++clicks;
        tagBar.SetPressed(button, !tagBar.Pressed(button));
    };
    for (bool expected : {true, false}) {
        Click(tagBar.ToolbarWindow(), ButtonPoint(tagBar.ToolbarWindow(), detail::kFirstButtonId));
        EXPECT_EQ(tagBar.Pressed(0), expected);
    }
    EXPECT_EQ(clicks, 2);
}

TEST_F(ToolbarTest, CommonToolbarToggledBeforeItsClickAndFlatByItsHost) {
    TestForm form;
    forms::ControlArray<CommonToolbar> toggles("Toolbar4");
    for (int i = 0; i < 3; ++i) {
        CommonToolbar& t = toggles.Add(i);
        t.left = 300 + i * 600;
        t.width = 500;
        t.buttons.push_back({"", "", 1, 0, 0, "Toggle"});
    }
    std::vector<int> values;
    std::vector<int> indexes;
    toggles.ForEach([&](CommonToolbar& t) {
        t.ButtonClick = [&](int index, ToolbarButton& button) {
            indexes.push_back(index);
            values.push_back(button.Value());
        };
    });
    form.CreateControls = [&] { toggles.ForEach([&](CommonToolbar& t) { t.Create(form); }); };
    form.Show();
    CommonToolbar& second = toggles(1);
    HWND child = GetWindow(second.hWnd(), GW_CHILD);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    EXPECT_STREQ(cls, "ToolbarWindow32");
    shell::MakeToolbarFlat(second.hWnd());
    EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & TBSTYLE_FLAT, 0);

    for (int expected : {1, 0}) Click(child, ButtonPoint(child, detail::kFirstButtonId));
    EXPECT_EQ(values, (std::vector<int>{1, 0}));
    EXPECT_EQ(indexes, (std::vector<int>{1, 1}));
    second.Buttons(1).SetValue(1);
    EXPECT_EQ(SendMessageA(child, TB_ISBUTTONCHECKED, detail::kFirstButtonId, 0) != 0, true);
    EXPECT_EQ(toggles(0).Buttons(1).Value(), 0);
    EXPECT_THROW(second.Buttons(2), forms::Error);
}

TEST_F(ToolbarTest, RebarReportsItsNewHeightWhenTheFormNarrows) {
    TestForm form;
    ReBar rebar;
    rebar.name = "ReBar1";
    forms::PictureBox first, second;
    for (forms::PictureBox* p : {&first, &second}) {
        p->width = 3000;  // 200 pixels each
        p->height = 330;
        p->borderStyle = forms::kBorderNone;
    }
    std::vector<long> heights;
    rebar.HeightChanged = [&](long h) { heights.push_back(h); };
    form.CreateControls = [&] {
        rebar.Create(form);
        first.Create(form);
        second.Create(form);
    };
    form.Show();
    rebar.SetBandBorders(0);
    rebar.Attach(form.hWnd());
    EXPECT_EQ(rebar.AddBand(first.hWnd(), "", true, false, "MenuBar"), 1);
    EXPECT_EQ(rebar.AddBand(second.hWnd(), "", true, false, "Toolbar"), 2);
    EXPECT_EQ(rebar.BandIndex("Toolbar"), 2);
    EXPECT_EQ(rebar.BandIndex("none"), 0);
    rebar.Layout();
    const long oneRow = rebar.BarHeight();
    ASSERT_GT(oneRow, 0);
    heights.clear();

    // Too narrow for both bands side by side: they wrap.
    SetWindowPos(form.hWnd(), nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_FALSE(heights.empty());
    EXPECT_GT(heights.back(), oneRow);
    EXPECT_EQ(heights.back(), rebar.BarHeight());

    rebar.RemoveAllBands();
    EXPECT_EQ(rebar.BandCount(), 0);
}

TEST_F(ToolbarTest, MenuBarDropsSubMenusFromButtonsAndMenuKeys) {
    TestForm form;
    PopupMenu menu;
    const int32_t file = menu.AddItem("&File");
    menu.AddItem("&Rename File(s)...", "", 0, file, -1, false, true, "mnuRename");
    const int32_t view = menu.AddItem("&View");
    menu.AddItem("Status Bar", "", 0, view, -1, true, true, "mnuStatusBar");
    std::vector<std::string> chosen;
    menu.SetClickHandler([&](int32_t index) { chosen.push_back(menu.ItemKey(index)); });
    ToolbarHost host;
    Toolbar bar;
    bar.name = "MenuBar";
    int opened = 0;
    bar.WindowProc = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_INITMENUPOPUP) ++opened;
        return false;
    };
    form.CreateControls = [&] { host.Create(form); };
    form.Show();
    menu.SetOwner(form.hWnd());
    bar.SetMenu(menu);
    bar.SetMenuButtonWidths(100, 50);
    host.Attach(bar);
    ASSERT_EQ(bar.ButtonCount(), 2);

    // Alt+V: the View menu; Down and Enter choose its first item.
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(form.hWnd(), WM_SYSCOMMAND, SC_KEYMENU, 'v');
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(chosen, (std::vector<std::string>{"mnuStatusBar"}));

    // A click on the first button drops the File menu; Escape closes it.
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    Click(bar.ToolbarWindow(), ButtonPoint(bar.ToolbarWindow(), detail::kFirstButtonId));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(chosen.size(), 1u);
    forms::DoEvents();
}

}  // namespace
}  // namespace corvella::platform
