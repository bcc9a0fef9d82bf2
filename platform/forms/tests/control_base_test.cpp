// What forms and controls share, controls written outside the run-time, the
// common events of the system controls and the id ranges, on real windows.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/form_style.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {
namespace {

using ControlBase = FormsTest;

// A control as another library writes one: its own window class, a message
// handler and a property with a design value and a window value.
class Gauge : public Control {
public:
    int level = 3;  // design
    std::vector<UINT> seen;

    bool Create(Container& parent) override {
        if (!RegisterControlClass("Corvella.TestGauge")) return false;
        now_ = level;
        return CreateWindowIn(parent, "Corvella.TestGauge", 0, 0, "");
    }
    int Level() const { return Get(level, now_); }
    void SetLevel(int value) {
        Set(level, now_, value, [&] { ++applied; });
    }
    int applied = 0;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_USER + 7) {
            seen.push_back(msg);
            if (wp == 1) throw Error("Gauge broke", 5);
            return 42;
        }
        return Control::OnMessage(msg, wp, lp);
    }

private:
    int now_ = 0;
};

TEST_F(ControlBase, AControlOfItsOwnClassKeepsDesignAndWindowValuesApart) {
    TestForm form;
    Gauge gauge;
    gauge.name = "Gauge1";
    gauge.SetLevel(5);  // before Create: the design
    EXPECT_EQ(gauge.applied, 0);
    form.CreateControls = [&] { ASSERT_TRUE(gauge.Create(form)); };
    form.Show();
    EXPECT_EQ(gauge.Level(), 5);
    gauge.SetLevel(5);
    EXPECT_EQ(gauge.applied, 0) << "no change, nothing told";
    gauge.SetLevel(9);
    EXPECT_EQ(gauge.applied, 1);
    EXPECT_EQ(gauge.level, 5) << "the design stays";
    EXPECT_EQ(SendMessageA(gauge.hWnd(), WM_USER + 7, 0, 0), 42);

    // A raw hook sees messages first; what it throws is reported, not
    // thrown through the window procedure, and the message goes on.
    gauge.WindowProc = [](UINT msg, WPARAM, LPARAM, LRESULT&) -> bool {
        if (msg == WM_USER + 7) throw Error("Hook failed", 13);
        return false;
    };
    EXPECT_EQ(SendMessageA(gauge.hWnd(), WM_USER + 7, 0, 0), 42);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("Hook failed"), std::string::npos);
    EXPECT_NE(boxes[0].prompt.find("frmTest.Gauge1_WindowProc"), std::string::npos);
    form.Unload();
    EXPECT_EQ(gauge.Level(), 5);
}

TEST_F(ControlBase, FormsAndControlsAnswerThroughTheOneBase) {
    TestForm form;
    form.caption = "Design";
    CommandButton button;
    button.name = "cmdGo";
    button.caption = "&Go";
    button.Move(120, 120, 1200, 375);
    form.CreateControls = [&] { button.Create(form); };
    std::vector<WindowBase*> windows{&form, &button};
    for (WindowBase* w : windows) EXPECT_FALSE(w->Created());
    EXPECT_EQ(form.Text(), "Design");
    form.Show();
    for (WindowBase* w : windows) {
        EXPECT_TRUE(w->Created()) << w->ObjectName();
        w->SetText("Now");
        EXPECT_EQ(w->Text(), "Now");
        w->SetEnabled(false);
        EXPECT_FALSE(w->Enabled());
        w->SetEnabled(true);
    }
    button.Move(240, 360, 1500, 450);
    EXPECT_EQ(button.Left(), 240);
    EXPECT_EQ(button.Top(), 360);
    EXPECT_EQ(button.Width(), 1500);
    EXPECT_EQ(button.ObjectName(), "frmTest.cmdGo");
    form.Unload();
    EXPECT_EQ(form.Text(), "Design");
    EXPECT_EQ(button.Text(), "&Go");
}

TEST_F(ControlBase, IdRangesDoNotMeetAndStayClearOfSystemIds) {
    std::vector<IdRange> ranges(std::begin(kIdRanges), std::end(kIdRanges));
    std::sort(ranges.begin(), ranges.end(),
              [](const IdRange& a, const IdRange& b) { return a.first < b.first; });
    for (size_t i = 0; i < ranges.size(); ++i) {
        EXPECT_LE(ranges[i].first, ranges[i].last) << ranges[i].use;
        EXPECT_GT(ranges[i].first, IDHELP) << ranges[i].use;
        EXPECT_LT(ranges[i].last, 0xF000) << ranges[i].use << " meets the system commands";
        if (i > 0) EXPECT_GT(ranges[i].first, ranges[i - 1].last) << ranges[i].use;
    }
}


TEST_F(ControlBase, DestructionInsideOwnEventsWaitsForTheHandler) {
    TestForm form;
    ControlArray<CommandButton> buttons("cmdItem");
    CommandButton& first = buttons.Add(0);
    first.caption = "Remove me";
    CommandButton single;
    single.name = "cmdSingle";
    HWND singleWindow = nullptr;
    bool windowAliveInHandler = false;
    single.Click = [&](int) {
        single.Destroy();
        windowAliveInHandler = IsWindow(singleWindow) != FALSE;
        single.caption = "touched after Destroy";  // the wrapper is still there
    };
    std::string nameAfterRemove;
    first.Click = [&](int index) {
        buttons.Remove(index);
        nameAfterRemove = first.name;  // not deleted yet
    };
    form.CreateControls = [&] {
        buttons.ForEach([&](CommandButton& b) { b.Create(form); });
        single.Create(form);
    };
    form.Show();
    singleWindow = single.hWnd();
    HWND firstWindow = first.hWnd();
    SendMessageA(singleWindow, BM_CLICK, 0, 0);
    EXPECT_TRUE(windowAliveInHandler);
    EXPECT_FALSE(IsWindow(singleWindow)) << "destroyed once the handler returned";
    EXPECT_FALSE(single.Created());

    SendMessageA(firstWindow, BM_CLICK, 0, 0);
    EXPECT_EQ(nameAfterRemove, "cmdItem");
    EXPECT_FALSE(buttons.Exists(0));
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ControlBase, UnloadingAFormFromItsControlsEventKeepsItsWindowsTillTheHandlerReturns) {
    TestForm form;
    CommandButton close;
    close.name = "cmdClose";
    bool buttonAlive = false;
    bool loadedInHandler = true;
    HWND button = nullptr;
    close.Click = [&](int) {
        form.Unload();
        loadedInHandler = form.Loaded();
        buttonAlive = IsWindow(button) != FALSE;
    };
    form.CreateControls = [&] { close.Create(form); };
    form.Show();
    HWND formWindow = form.hWnd();
    button = close.hWnd();
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_FALSE(loadedInHandler) << "unloaded for the program at once";
    EXPECT_TRUE(buttonAlive);
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindow(formWindow));
}

TEST_F(ControlBase, ListBoxKeepsItsListAndFiresClickOnChangesOnly) {
    TestForm form;
    ListBox list;
    list.name = "lstFields";
    list.items = {"Title", "Artist"};
    list.Move(120, 120, 2400, 1500);
    std::vector<std::string> clicks;
    int doubles = 0;
    list.Click = [&](int) { clicks.push_back(list.Text()); };
    list.DblClick = [&](int) { ++doubles; };
    list.AddItem("Album");  // design list before Create
    form.CreateControls = [&] { list.Create(form); };
    form.Show();
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.ListIndex(), -1);
    list.AddItem("Year", 1);
    EXPECT_EQ(list.List(1), "Year");
    list.SetListIndex(2);
    list.SetListIndex(2);
    EXPECT_EQ(clicks, std::vector<std::string>{"Artist"});
    list.SetItemData(2, 77);
    EXPECT_EQ(list.ItemData(2), 77);
    // The user's pick and double-click.
    SendMessageA(list.hWnd(), LB_SETCURSEL, 0, 0);
    SendMessageA(form.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list.hWnd()), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hWnd()));
    EXPECT_EQ(clicks.back(), "Title");
    SendMessageA(list.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(doubles, 1);
    for (int bad : {-1, 4}) {
        try {
            list.RemoveItem(bad);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), 381);
        }
    }
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    form.Unload();
    EXPECT_EQ(list.ListCount(), 3) << "the design list";
}

TEST_F(ControlBase, SystemControlsRaiseKeyMouseFocusAndDoubleClickEvents) {
    TestForm form;
    form.keyPreview = true;
    TextBox text;
    text.name = "txtTitle";
    CommandButton button;
    button.name = "cmdApply";
    button.Move(120, 600, 1200, 375);
    std::vector<std::string> events;
    form.Form_KeyDown = [&](int& key, int) { events.push_back("Form_KeyDown " + std::to_string(key)); };
    text.KeyDown = [&](int, int& key, int) {
        events.push_back("KeyDown " + std::to_string(key));
        if (key == VK_F2) key = 0;
    };
    text.KeyUp = [&](int, int& key, int) { events.push_back("KeyUp " + std::to_string(key)); };
    text.GotFocus = [&](int) { events.push_back("txt GotFocus"); };
    text.LostFocus = [&](int) { events.push_back("txt LostFocus"); };
    button.GotFocus = [&](int) { events.push_back("cmd GotFocus"); };
    button.MouseDown = [&](int, int b, int, int x, int y) {
        events.push_back("MouseDown " + std::to_string(b) + " " + std::to_string(x) + "," +
                         std::to_string(y));
    };
    button.DblClick = [&](int) { events.push_back("DblClick"); };
    form.CreateControls = [&] {
        text.Create(form);
        button.Create(form);
    };
    form.Show();
    // The focus messages themselves: the display is shared with other tests,
    // whose windows may take the real focus at any time.
    events.clear();
    SendMessageA(text.hWnd(), WM_SETFOCUS, 0, 0);
    SendMessageA(text.hWnd(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(button.hWnd()), 0);
    SendMessageA(button.hWnd(), WM_SETFOCUS, reinterpret_cast<WPARAM>(text.hWnd()), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"txt GotFocus", "txt LostFocus", "cmd GotFocus"}));
    text.GotFocus = text.LostFocus = button.GotFocus = nullptr;
    events.clear();
    PostMessageA(text.hWnd(), WM_KEYDOWN, 'A', 0);
    PostMessageA(text.hWnd(), WM_KEYDOWN, VK_F2, 0);
    PostMessageA(text.hWnd(), WM_KEYUP, 'A', 0xC0000001);
    ASSERT_TRUE(PumpUntil([&] { return events.size() >= 5; }));
    EXPECT_EQ(events, (std::vector<std::string>{"Form_KeyDown 65", "KeyDown 65",
                                                "Form_KeyDown 113", "KeyDown 113", "KeyUp 65"}));
    events.clear();
    SendMessageA(button.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 4));
    SendMessageA(button.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 4));
    SendMessageA(button.hWnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 4));
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "MouseDown 1 " + std::to_string(Screen.ToTwipsX(2)) + "," +
                             std::to_string(Screen.ToTwipsY(4)));
    EXPECT_EQ(events.back(), "DblClick");
}

TEST_F(ControlBase, ImageListFindsImagesByKeyAndRefusesATakenKey) {
    ImageList images;
    images.name = "imlMenu";
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    EXPECT_EQ(images.AddIcon(icon, "Help"), 1);
    EXPECT_EQ(images.AddIcon(icon), 2);
    EXPECT_EQ(images.IndexOf("Help"), 1);
    EXPECT_EQ(images.IndexOf("Folder"), 0);
    ASSERT_NE(images.hImageList(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images.hImageList()), 2);
    try {
        images.AddIcon(icon, "Help");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 35602);
    }
    HICON copy = images.ExtractIcon(1);
    EXPECT_NE(copy, nullptr);
    DestroyIcon(copy);
    EXPECT_EQ(images.ExtractIcon(3), nullptr);
}

// A form in the form style: design in one place, wiring in another.
class FrmStyled : public Form {
public:
    PictureBox picPanel;
    CommandButton cmdInside;
    Label lblTop;
    Timer tmrTick;
    std::vector<std::string> calls;

    FrmStyled() {
        Design();
        Wire();
    }
    ~FrmStyled() override { Unload(); }

private:
    void Design() {
        name = "frmStyled";
        DESIGN(picPanel).Move(0, 0, 3000, 2000);
        DESIGN_IN(cmdInside, picPanel).caption = "Inside";
        DESIGN(lblTop).caption = "Top";
        DESIGN(tmrTick).interval = 0;
    }
    void Wire() {
        cmdInside.Click = On(&FrmStyled::cmdInside_Click);
    }
    void cmdInside_Click(int index) { calls.push_back("cmdInside_Click " + std::to_string(index)); }
};

TEST_F(ControlBase, AFormInTheFormStyleCreatesItsDesignOnEveryLoad) {
    FrmStyled form;
    for (int load = 0; load < 2; ++load) {
        form.Show();
        ASSERT_TRUE(form.cmdInside.Created());
        EXPECT_EQ(GetParent(form.cmdInside.hWnd()), form.picPanel.hWnd());
        EXPECT_EQ(form.lblTop.Caption(), "Top");
        EXPECT_TRUE(form.tmrTick.Created());
        EXPECT_EQ(form.cmdInside.ObjectName(), "frmStyled.cmdInside");
        SendMessageA(form.cmdInside.hWnd(), BM_CLICK, 0, 0);
        form.Unload();
    }
    EXPECT_EQ(form.calls, (std::vector<std::string>{"cmdInside_Click -1", "cmdInside_Click -1"}));
}

}  // namespace
}  // namespace corvella::forms::testing
