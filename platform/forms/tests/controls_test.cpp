// The controls on real windows: the event rules the program's windows rely
// on, control arrays, dialog keys, containers, mouse events in twips and
// the pictures they show.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "libs/common/com/picture.h"
#include "platform/forms/tests/forms_test_util.h"
#include "platform/forms/tests/screen_probe.h"

namespace corvella::forms::testing {
namespace {

using Controls = FormsTest;

TEST_F(Controls, CheckBoxClickFiresForTheUserAndWheneverCodeChangesValue) {
    TestForm form;
    CheckBox check;
    check.name = "Check1";
    check.caption = "Add Ellipsis";
    check.value = 1;  // design value: applied without a Click
    int clicks = 0;
    check.Click = [&](int index) {
        EXPECT_EQ(index, -1);
        ++clicks;
    };
    form.CreateControls = [&] { check.Create(form); };
    form.Show();
    EXPECT_EQ(check.Value(), 1);
    EXPECT_EQ(clicks, 0);

    check.SetValue(0);
    EXPECT_EQ(clicks, 1);
    check.SetValue(0);  // no change
    EXPECT_EQ(clicks, 1);
    check.SetValue(2);
    EXPECT_EQ(clicks, 2);

    SendMessageA(check.hWnd(), BM_CLICK, 0, 0);  // the user: grayed becomes ticked
    EXPECT_EQ(check.Value(), 1);
    SendMessageA(check.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(check.Value(), 0);
    EXPECT_EQ(clicks, 4);

    try {
        check.SetValue(3);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_EQ(check.Value(), 0);
    form.Unload();
    EXPECT_EQ(check.Value(), 1);  // the design value again
}

TEST_F(Controls, ListComboClickFiresOnAChangeOfListIndexOnly) {
    TestForm form;
    ComboBox list;
    list.name = "cboVersion";
    list.style = 2;
    list.items = {"Version 1 Tags", "Version 2 Tags", "Both"};
    std::vector<std::string> seen;  // Text as each Click sees it
    list.Click = [&](int) { seen.push_back(list.Text()); };
    form.CreateControls = [&] { list.Create(form); };
    form.Show();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 3);

    list.SetListIndex(1);
    list.SetListIndex(1);  // the same index again
    EXPECT_EQ(seen, std::vector<std::string>{"Version 2 Tags"});

    UserSelects(list, 2);
    UserSelects(list, 2);  // the user picks the same item again
    EXPECT_EQ(seen, (std::vector<std::string>{"Version 2 Tags", "Both"}));

    list.SetListIndex(-1);  // clears the selection
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
    EXPECT_EQ(seen.size(), 3u);

    list.SetText("version 1 tags");  // a list combo's Text picks the item
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_THROW(list.SetText("Version 3"), Error);
    EXPECT_THROW(list.SetListIndex(3), Error);
    EXPECT_EQ(list.ListIndex(), 0);
}

TEST_F(Controls, EditableComboKeepsTextSelectionAndChangeApart) {
    TestForm form;
    ComboBox genre;
    genre.name = "cboGenre";
    genre.items = {"Blues", "Classic Rock", "Country"};
    int changes = 0;
    std::string textInClick;
    genre.Change = [&](int) { ++changes; };
    genre.Click = [&](int) { textInClick = genre.Text(); };
    form.CreateControls = [&] { genre.Create(form); };
    form.Show();

    // The user moves down the list with the arrow key: during the Click the
    // edit still holds the old text, yet Text is the new item's.
    HWND edit = FindWindowExA(genre.hWnd(), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    genre.SetFocus();
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(genre.ListIndex(), 0);
    EXPECT_EQ(textInClick, "Blues");
    UserSelects(genre, 1);
    EXPECT_EQ(textInClick, "Classic Rock");

    genre.SetText("Rock");
    EXPECT_EQ(changes, 1);
    genre.SetText("Rock");
    EXPECT_EQ(changes, 1);
    genre.SetSelStart(2);
    genre.SetSelLength(2);
    EXPECT_EQ(genre.SelText(), "ck");
    genre.SetSelText("x");
    EXPECT_EQ(genre.Text(), "Rox");
    EXPECT_EQ(changes, 2);

    genre.SetListIndex(0);
    EXPECT_EQ(genre.Text(), "Blues");
    genre.SetListIndex(-1);
    EXPECT_EQ(genre.Text(), "");
}

TEST_F(Controls, ControlArraysCarryTheIndexAndOptionButtonsFormAGroup) {
    TestForm form;
    ControlArray<CommandButton> cmdMain("cmdMain");
    ControlArray<OptionButton> option("Option1");
    std::vector<int> clicked, picked;
    form.CreateControls = [&] {
        for (int i = 0; i < 2; ++i) {
            CommandButton& b = cmdMain.Add(i);
            b.caption = i == 0 ? "&Apply" : "&Close";
            b.top = 200 + 450 * i;
            b.Click = [&](int index) { clicked.push_back(index); };
            b.Create(form);
            OptionButton& o = option.Add(i);
            o.left = 2000;
            o.top = 200 + 450 * i;
            o.width = 2500;
            o.Click = [&](int index) { picked.push_back(index); };
            o.Create(form);
        }
    };
    form.Show();
    EXPECT_EQ(cmdMain.LBound(), 0);
    EXPECT_EQ(cmdMain.UBound(), 1);
    EXPECT_EQ(cmdMain(1).name, "cmdMain");

    SendMessageA(cmdMain(1).hWnd(), BM_CLICK, 0, 0);
    SendMessageA(cmdMain(0).hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicked, (std::vector<int>{1, 0}));

    option(1).SetValue(true);
    SendMessageA(option(0).hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(picked, (std::vector<int>{1, 0}));
    EXPECT_TRUE(option(0).Value());
    EXPECT_FALSE(option(1).Value());

    EXPECT_THROW(cmdMain(5), Error);
    EXPECT_THROW(cmdMain.Add(1), Error);
}

// The tip window of a form and the text it holds for a control ("" when none).
struct TipSearch {
    HWND owner, found;
};

BOOL CALLBACK FindTip(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<TipSearch*>(lp);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (GetWindow(w, GW_OWNER) == f->owner && lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0) f->found = w;
    return f->found == nullptr;
}

HWND FormTip(HWND form) {
    TipSearch f{form, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTip, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::string TipText(HWND form, HWND control) {
    HWND tip = FormTip(form);
    if (tip == nullptr) return "";
    char text[256] = {};
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = form;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = text;
    if (!SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) return "";
    SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    return text;
}

TEST_F(Controls, ToolTipsFollowTheControlAndLeaveItsClickWorking) {
    TestForm form;
    CommandButton update, plain;
    update.name = "cmdUpdate";
    update.toolTipText = "Perform the update";
    plain.name = "cmdPlain";
    plain.top = 600;
    int clicks = 0;
    update.Click = [&](int) { ++clicks; };
    form.CreateControls = [&] {
        update.Create(form);
        plain.Create(form);
    };
    form.Show();
    EXPECT_EQ(TipText(form.hWnd(), plain.hWnd()), "");

    struct Step { const char* set; const char* shown; };
    const Step steps[] = {{nullptr, "Perform the update"}, {"Write the tags", "Write the tags"},
                          {"", ""}, {"Back again", "Back again"}};
    for (const Step& s : steps) {
        if (s.set != nullptr) update.SetToolTipText(s.set);
        EXPECT_EQ(TipText(form.hWnd(), update.hWnd()), s.shown) << (s.set ? s.set : "design");
        EXPECT_EQ(update.ToolTipText(), s.shown);
        SendMessageA(update.hWnd(), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(clicks, 4);

    // Gone and made again: no tool left behind, the click still arrives.
    update.Destroy();
    HWND tip = FormTip(form.hWnd());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    update.Create(form);
    EXPECT_EQ(TipText(form.hWnd(), update.hWnd()), "Perform the update");
    SendMessageA(update.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 5);
    form.Unload();
    EXPECT_EQ(update.ToolTipText(), "Perform the update");
}

TEST_F(Controls, TypedEnterAndEscPressTheFocusedTheDefaultOrTheCancelButton) {
    TestForm form;
    Frame frame;  // buttons inside a container are found too
    frame.name = "fraButtons";
    frame.caption = "Buttons";
    frame.width = 4000;
    frame.height = 1500;
    TextBox text, notes, notice;
    text.name = "txtName";
    text.top = 1700;
    notes.name = "txtNotes";  // typed in: keeps Enter for a new line
    notes.multiLine = true;
    notes.top = 2200;
    notes.height = 600;
    notice.name = "txtNotice";  // read-only: keeps nothing
    notice.multiLine = true;
    notice.locked = true;
    notice.top = 2900;
    notice.height = 600;
    CommandButton ok, cancel, other;
    ok.name = "cmdOK";
    ok.isDefault = true;
    ok.top = 300;
    cancel.name = "cmdCancel";
    cancel.cancel = true;
    cancel.top = 800;
    other.name = "cmdOther";
    other.left = 1500;
    other.top = 300;
    std::vector<std::string> clicks;
    ok.Click = [&](int) { clicks.push_back("ok"); };
    cancel.Click = [&](int) { clicks.push_back("cancel"); };
    other.Click = [&](int) { clicks.push_back("other"); };
    form.CreateControls = [&] {
        frame.Create(form);
        ok.Create(frame);
        cancel.Create(frame);
        other.Create(frame);
        text.Create(form);
        notes.Create(form);
        notice.Create(form);
    };
    form.Show();
    SetForegroundWindow(form.hWnd());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.hWnd(); }));

    using Clicks = std::vector<std::string>;
    const struct {
        Control* focus;
        const char* keys;
        Clicks clicks;
        const char* notesText;
    } cases[] = {
        {&text, "Enter Esc", {"ok", "cancel"}, ""},
        {&other, "Enter", {"other"}, ""},
        {&notes, "A Enter B Esc", {"cancel"}, "a\r\nb"},
        {&notice, "Enter", {"ok"}, "a\r\nb"},
    };
    for (const auto& c : cases) {
        clicks.clear();
        c.focus->SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == c.focus->hWnd(); })) << c.focus->name;
        Type(c.keys);
        EXPECT_TRUE(PumpUntil([&] { return clicks.size() >= c.clicks.size(); }, 3000)) << c.focus->name;
        EXPECT_EQ(clicks, c.clicks) << c.focus->name << ": " << c.keys;
        EXPECT_EQ(notes.Text(), c.notesText) << c.focus->name << ": " << c.keys;
    }
}

TEST_F(Controls, PictureBoxHoldsControlsAndRaisesResize) {
    TestForm form;
    PictureBox pane;
    pane.name = "picContainer";
    pane.width = 3000;
    pane.height = 2000;
    CommandButton inside;
    inside.name = "cmdInside";
    inside.left = 150;
    inside.top = 150;
    int resizes = 0, clicks = 0;
    pane.Resize = [&](int) { ++resizes; };
    inside.Click = [&](int) { ++clicks; };
    form.CreateControls = [&] {
        pane.Create(form);
        inside.Create(pane);
    };
    form.Show();
    EXPECT_EQ(resizes, 0);

    pane.SetWidth(4500);
    EXPECT_EQ(resizes, 1);
    pane.SetLeft(300);  // a move is no resize
    EXPECT_EQ(resizes, 1);

    SendMessageA(inside.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(inside.Left(), 150);
    EXPECT_EQ(inside.Parent(), &pane);

    // Its controls go with it.
    pane.Destroy();
    EXPECT_FALSE(inside.Created());
}

TEST_F(Controls, ImageGripReportsMouseEventsInTwipsWhileCaptured) {
    TestForm form;
    Image grip;
    grip.name = "imgSplitter";
    grip.left = 2000;
    grip.width = 75;
    grip.height = 3000;
    grip.mousePointer = kPointerSizeWE;
    struct Event {
        std::string what;
        int button, x, y;
    };
    std::vector<Event> events;
    grip.MouseDown = [&](int, int b, int, int x, int y) { events.push_back({"down", b, x, y}); };
    grip.MouseMove = [&](int, int b, int, int x, int y) { events.push_back({"move", b, x, y}); };
    grip.MouseUp = [&](int, int b, int, int x, int y) { events.push_back({"up", b, x, y}); };
    form.CreateControls = [&] { grip.Create(form); };
    form.Show();

    const int tx = static_cast<int>(Screen.TwipsPerPixelX());
    const int ty = static_cast<int>(Screen.TwipsPerPixelY());
    SendMessageA(grip.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
    EXPECT_EQ(GetCapture(), grip.hWnd());
    SendMessageA(grip.hWnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-40), 12));
    SendMessageA(grip.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-40), 12));
    EXPECT_NE(GetCapture(), grip.hWnd());

    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].what, "down");
    EXPECT_EQ(events[0].button, kLeftButton);
    EXPECT_EQ(events[0].x, 2 * tx);
    EXPECT_EQ(events[0].y, 10 * ty);
    EXPECT_EQ(events[1].what, "move");
    EXPECT_EQ(events[1].button, kLeftButton);
    EXPECT_EQ(events[1].x, -40 * tx);  // left of the grip while dragged
    EXPECT_EQ(events[2].what, "up");
    EXPECT_EQ(events[2].button, kLeftButton);
}

TEST_F(Controls, ImageShowsItsPictureInItsOwnSizeAtItsTopLeft) {
    const int size = GetSystemMetrics(SM_CXICON);
    const com::ComPtr<IPictureDisp> icon = com::PictureOfIcon(LoadIconA(nullptr, IDI_APPLICATION));
    ASSERT_TRUE(icon);
    const struct {
        const char* what;
        IPictureDisp* designed;
        bool change;
        IPictureDisp* later;
        bool shown;
    } cases[] = {{"without a picture", nullptr, false, nullptr, false},
                 {"with the design's", icon.Get(), false, nullptr, true},
                 {"given one once shown", nullptr, true, icon.Get(), true},
                 {"with its picture taken away", icon.Get(), true, nullptr, false}};
    for (const auto& c : cases) {
        TestForm form;
        Image logo;
        logo.name = "Image1";
        logo.width = logo.height = Screen.ToTwipsX(size + 16);
        logo.picture = com::ComPtr<IPictureDisp>(c.designed);
        form.CreateControls = [&] { logo.Create(form); };
        form.Show();
        SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (c.change) logo.SetPicture(c.later);
        EXPECT_EQ(logo.Picture() != nullptr, c.shown) << c.what;
        RECT r{};
        GetWindowRect(logo.hWnd(), &r);
        const RECT picture{r.left, r.top, r.left + size, r.top + size}, right{r.left + size, r.top, r.right, r.bottom},
            below{r.left, r.top + size, r.right, r.bottom};
        EXPECT_TRUE(PumpUntil([&] {
            const ScreenPixels s = PaintedScreen(logo.hWnd());
            return s.Colours(picture) == (c.shown ? 2 : 1) && s.Colours(right) == 1 && s.Colours(below) == 1;
        })) << c.what;
    }
}

TEST_F(Controls, AControlsFontIsTheFormsWithWhatItsDesignChanges) {
    const struct {
        const char* name;
        int size;
        bool bold;
        const char* face;  // what the label gets
        int points;
        bool heavy;
    } cases[] = {{"", 8, false, "Tahoma", 8, false},
                 {"", 12, true, "Tahoma", 12, true},
                 {"", 8, true, "Tahoma", 8, true},
                 {"", 10, false, "Tahoma", 10, false},
                 {"Courier New", 8, false, "Courier New", 8, false}};
    for (const auto& c : cases) {
        TestForm form;
        form.fontName = "Tahoma";
        Label heading;
        heading.name = "Label1";
        heading.caption = "Heading";
        heading.fontName = c.name;
        heading.fontSize = c.size;
        heading.fontBold = c.bold;
        form.CreateControls = [&] { heading.Create(form); };
        form.Show();
        LOGFONTA got{}, want{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(heading.hWnd(), WM_GETFONT, 0, 0)), sizeof got, &got);
        HDC screen = GetDC(nullptr);
        want.lfHeight = -MulDiv(c.points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        EXPECT_STREQ(got.lfFaceName, c.face) << c.size << c.bold;
        EXPECT_EQ(got.lfHeight, want.lfHeight) << c.size << c.bold;
        EXPECT_EQ(got.lfWeight, c.heavy ? FW_BOLD : FW_NORMAL) << c.size << c.bold;
    }
}

TEST_F(Controls, TextBoxChangeFiresForNewTextOnly) {
    TestForm form;
    TextBox text;
    text.name = "txtField";
    text.text = "Title";
    int changes = 0;
    text.Change = [&](int) { ++changes; };
    form.CreateControls = [&] { text.Create(form); };
    form.Show();
    EXPECT_EQ(text.Text(), "Title");
    EXPECT_EQ(changes, 0);
    text.SetText("Other");
    text.SetText("Other");
    EXPECT_EQ(changes, 1);
    text.SetSelStart(1);
    text.SetSelLength(100);  // as far as the text goes
    EXPECT_EQ(text.SelText(), "ther");
    text.SetSelText("");
    EXPECT_EQ(text.Text(), "O");
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace corvella::forms::testing
