// The wizard controls hosted by the program's own container on real windows
// under Wine: navigation and its events, remembered flags, the bar's and the
// pages' geometry, their looks by pixels, keys, the form's controls inside a
// page, persistence, and a form unloaded from the bar's event.
#include <olectl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/hosted/wizard_controls.h"
#include "libs/wizard/core/wizard_logic.h"
#include "platform/forms/activex/tests/activex_test_util.h"

namespace corvella::forms::testing {
namespace {

using com::Variant;

using WizardHost = HostedControlTest;

// A wizard form of three pages and one bar, as the program's wizards are.
struct WizardForm : Form {
    WizardButtons WizardButtons1;
    WizardPage pages[3];
    CommandButton cmdBrowse;
    std::vector<std::string> log;
    bool showFirst = true;

    WizardForm() {
        name = "frmWizTest";
        width = 7500;
        height = 5400;
        borderStyle = kFixedDialog;
        WizardButtons1.name = "WizardButtons1";
        const char* names[3] = {"wizStart", "wizOutput", "wizFinish"};
        for (int i = 0; i < 3; ++i) {
            WizardPage& p = pages[i];
            p.name = names[i];
            p.PageActivated = [this, i](int) { log.push_back("p" + std::to_string(i + 1) + "+"); };
            p.PageDeactivated = [this, i](int) { log.push_back("p" + std::to_string(i + 1) + "-"); };
        }
        WizardButtons1.BeforeMove = [this](int, int d, int f, int& t, bool&) {
            log.push_back("Before " + std::to_string(d) + " " + std::to_string(f) + " " + std::to_string(t));
        };
        WizardButtons1.AfterMove = [this](int, int d, int f, int& t) {
            log.push_back("After " + std::to_string(d) + " " + std::to_string(f) + " " + std::to_string(t));
        };
        cmdBrowse.name = "cmdBrowse";
        cmdBrowse.caption = "&Browse";
        cmdBrowse.left = 600;
        cmdBrowse.top = 1200;
        CreateControls = [this] {
            for (WizardPage& p : pages) p.Create(*this);
            WizardButtons1.Create(*this);
            cmdBrowse.Create(pages[1].Inside());
        };
        Form_Load = [this] {
            for (WizardPage& p : pages) WizardButtons1.Add(p);
            if (showFirst) WizardButtons1.ShowPage(1);
        };
    }
    ~WizardForm() override { Unload(); }

    // The bar's buttons are its children with ids 100 + EButtons.
    HWND Button(int which) { return GetDlgItem(WizardButtons1.ControlWindow(), 100 + which); }
    void Click(int which) { SendMessageA(Button(which), BM_CLICK, 0, 0); }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }
};

using Log = std::vector<std::string>;

TEST_F(WizardHost, NavigationRaisesItsEventsInOrderWithRedirectAndCancel) {
    WizardForm form;
    form.showFirst = false;
    form.Show();
    EXPECT_EQ(form.Take(), Log{}) << "pages created visible raise nothing while the form loads";

    form.WizardButtons1.ShowPage(1);
    EXPECT_EQ(form.Take(), (Log{"Before 0 1 1", "p1-", "p2-", "p3-", "p1+", "After 0 1 1"}));
    form.Click(WizardButtons::ButtonNext);
    EXPECT_EQ(form.Take(), (Log{"Before 2 1 2", "p1-", "p2+", "After 2 1 2"}));
    form.Click(WizardButtons::ButtonBack);
    EXPECT_EQ(form.Take(), (Log{"Before 1 2 1", "p2-", "p1+", "After 1 2 1"}));
    form.Click(WizardButtons::ButtonBack);
    EXPECT_EQ(form.Take(), Log{}) << "Back on page 1 asks for page 0";

    struct Case {
        int redirect;  // 0: none
        bool cancel;
        Log expected;
        int page;
    } cases[] = {
        {3, false, {"Before 2 1 2", "p1-", "p3+", "After 2 1 3"}, 3},
        {0, true, {"Before 1 3 2"}, 3},
        {9, false, {"Before 1 3 2"}, 3},  // no such page: a cancel
    };
    for (const Case& c : cases) {
        form.WizardButtons1.BeforeMove = [&](int, int d, int f, int& t, bool& cancel) {
            form.log.push_back("Before " + std::to_string(d) + " " + std::to_string(f) + " " + std::to_string(t));
            if (c.redirect) t = c.redirect;
            cancel = c.cancel;
        };
        form.Click(form.WizardButtons1.PageNumber() == 1 ? WizardButtons::ButtonNext : WizardButtons::ButtonBack);
        EXPECT_EQ(form.Take(), c.expected) << c.redirect << c.cancel;
        EXPECT_EQ(form.WizardButtons1.PageNumber(), c.page);
        EXPECT_TRUE(form.pages[2].Visible()) << "the shown page stays shown";
    }

    int finished = 0;
    form.WizardButtons1.FinishClicked = [&](int) { ++finished; };
    form.WizardButtons1.BeforeMove = nullptr;
    form.Click(WizardButtons::ButtonNext);
    EXPECT_EQ(finished, 1) << "Next on the last page";
    EXPECT_EQ(form.WizardButtons1.PageNumber(), 3);
    int help = 0;
    form.WizardButtons1.HelpClicked = [&](int, int page) { help = page; };
    form.Click(WizardButtons::ButtonHelp);
    EXPECT_EQ(help, 3);
}

TEST_F(WizardHost, RememberedFlagsAndResetButtons) {
    WizardForm form;
    form.Show();
    WizardButtons& bar = form.WizardButtons1;
    bar.SetButtonVisible(WizardButtons::ButtonHelp, false);
    EXPECT_FALSE(bar.ButtonVisible(WizardButtons::ButtonNext)) << "the remembered flag, not the button's";
    EXPECT_TRUE(IsWindowVisible(form.Button(WizardButtons::ButtonNext)));
    EXPECT_FALSE(IsWindowVisible(form.Button(WizardButtons::ButtonHelp)));
    bar.SetButtonEnabled(WizardButtons::ButtonBack, false);
    EXPECT_FALSE(bar.ButtonEnabled(WizardButtons::ButtonCancel));
    EXPECT_FALSE(IsWindowEnabled(form.Button(WizardButtons::ButtonBack)));
    bar.ResetButtons();
    for (int b = 0; b < 4; ++b) {
        EXPECT_TRUE(IsWindowVisible(form.Button(b))) << b;
        EXPECT_TRUE(IsWindowEnabled(form.Button(b))) << b;
    }
    EXPECT_FALSE(bar.ButtonVisible(0)) << "ResetButtons leaves the flags";
    bar.SetButtonCaption(WizardButtons::ButtonCancel, "&Close");
    char text[32] = {};
    GetWindowTextA(form.Button(WizardButtons::ButtonCancel), text, sizeof text);
    EXPECT_STREQ(text, "&Close");
    EXPECT_THROW(bar.SetButtonCaption(4, "x"), Error);
}

COLORREF PixelAt(HWND hwnd, int x, int y) {
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

int LeftTwips(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(GetParent(child), &p);
    return p.x;
}

TEST_F(WizardHost, TheBarSpansTheBottomAndLaysOutItsButtonsPerHelpPosition) {
    WizardForm form;
    form.Show();
    WizardButtons& bar = form.WizardButtons1;
    EXPECT_EQ(bar.Left(), 0);
    EXPECT_EQ(bar.Width(), form.ScaleWidth());
    EXPECT_EQ(bar.Height(), wizard::kBarHeight);
    EXPECT_EQ(bar.Top(), form.ScaleHeight() - wizard::kBarHeight);
    for (const WizardPage& p : form.pages) {
        EXPECT_EQ(const_cast<WizardPage&>(p).Height(), form.ScaleHeight() - wizard::kBarHeight);
        EXPECT_EQ(const_cast<WizardPage&>(p).Width(), form.ScaleWidth());
    }
    for (int position = 0; position < 4; ++position) {
        bar.SetHelpPosition(position);
        RECT client;
        GetClientRect(bar.ControlWindow(), &client);
        std::array<int, 4> lefts{};
        ASSERT_TRUE(wizard::ButtonLefts(position, Screen.ToTwipsX(client.right), wizard::kButtonWidth, lefts));
        for (int b = 0; b < 4; ++b)
            EXPECT_NEAR(LeftTwips(form.Button(b)), Screen.ToPixelsX(lefts[b]), 1) << position << " " << b;
    }
    // The etched rule starts right of a description, at 0 without one.
    HWND window = bar.ControlWindow();
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(PixelAt(window, 1, 0), shadow);
    bar.SetDescriptionText("Step");
    HDC dc = GetDC(window);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(form.Button(0), WM_GETFONT, 0, 0)));
    SIZE text = {};
    GetTextExtentPoint32A(dc, "Step", 4, &text);
    ReleaseDC(window, dc);
    const int start = Screen.ToPixelsX(wizard::RuleStart("Step", Screen.ToTwipsX(text.cx), 60));
    EXPECT_NE(PixelAt(window, 1, 0), shadow);
    EXPECT_EQ(PixelAt(window, start + 1, 0), shadow);
    EXPECT_EQ(PixelAt(window, start + 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));

    // The form grows: the bar follows to its new bottom and width.
    form.SetWidth(9000);
    form.SetHeight(6600);
    EXPECT_EQ(bar.Width(), form.ScaleWidth());
    EXPECT_EQ(bar.Top(), form.ScaleHeight() - wizard::kBarHeight);
    EXPECT_EQ(form.pages[0].Height(), form.ScaleHeight() - wizard::kBarHeight);
    RECT client;
    GetClientRect(bar.ControlWindow(), &client);
    EXPECT_NEAR(LeftTwips(form.Button(WizardButtons::ButtonCancel)),
                client.right - Screen.ToPixelsX(wizard::kButtonWidth + 120), 1);
}

TEST_F(WizardHost, TwoBarsOrNoneDecideThePageHeight) {
    for (int bars : {0, 2}) {
        Form form;
        form.name = "frmBars";
        form.width = 6000;
        form.height = 5000;
        WizardPage page;
        page.name = "wizOnly";
        WizardButtons bar1, bar2;
        bar1.name = "bar1";
        bar2.name = "bar2";
        form.CreateControls = [&] {
            if (bars) bar1.Create(form), bar2.Create(form);
            page.Create(form);
        };
        form.Show();
        EXPECT_EQ(page.Height(), form.ScaleHeight() - bars * wizard::kBarHeight) << bars;
        form.Unload();
    }
}

bool AnyPixel(HWND hwnd, const RECT& r, COLORREF colour) {
    UpdateWindow(hwnd);
    HDC dc = GetDC(hwnd);
    bool found = false;
    for (int y = r.top; y < r.bottom && !found; ++y)
        for (int x = r.left; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
    ReleaseDC(hwnd, dc);
    return found;
}

TEST_F(WizardHost, BannerAndSplashPagesByPixels) {
    WizardForm form;
    form.pages[0].properties = {{"BannerTitle", Variant(std::string("File Sorting Wizard"))},
                                {"BannerTextColor", Variant(0x0000FFL)}};
    form.pages[1].properties = {{"Style", Variant(1L)}, {"SplashBackColor", Variant(0x00FF00L)},
                                {"BannerTitle", Variant(std::string("Hidden Title"))},
                                {"BannerTextColor", Variant(0x0000FFL)}};
    form.Show();
    HWND banner = form.pages[0].ControlWindow();
    const int band = Screen.ToPixelsY(885);
    EXPECT_EQ(PixelAt(banner, 4, 4), RGB(255, 255, 255)) << "the white band";
    EXPECT_EQ(PixelAt(banner, 4, band), GetSysColor(COLOR_BTNSHADOW)) << "the rule's dark line";
    EXPECT_EQ(PixelAt(banner, 4, band + 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the rule's light line";
    EXPECT_EQ(PixelAt(banner, 4, band + 20), GetSysColor(COLOR_BTNFACE)) << "the page colour below";
    RECT title = {Screen.ToPixelsX(300), Screen.ToPixelsY(180), Screen.ToPixelsX(3000), Screen.ToPixelsY(435)};
    EXPECT_TRUE(AnyPixel(banner, title, RGB(255, 0, 0))) << "the title in its colour";

    form.WizardButtons1.ShowPage(2);
    HWND splash = form.pages[1].ControlWindow();
    EXPECT_EQ(PixelAt(splash, 4, 100), RGB(0, 255, 0)) << "the splash band";
    EXPECT_EQ(PixelAt(splash, Screen.ToPixelsX(2535) + 4, 100), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(AnyPixel(splash, title, RGB(255, 0, 0))) << "a splash page shows no title";
    EXPECT_EQ(PixelAt(splash, Screen.ToPixelsX(2535) + 4, band), GetSysColor(COLOR_BTNFACE)) << "nor the rule";
}

TEST_F(WizardHost, PropertiesRoundTripThroughTheDesignBag) {
    std::vector<DesignProperty> pageBag, barBag;
    {
        WizardForm form;
        form.Show();
        form.pages[0].SetPageStyle(WizardPage::Splash);
        form.pages[0].SetSplashBackColor(0x123456);
        form.pages[0].SetBannerBackColor(0x654321);
        form.pages[0].SetBannerTitle("Options");
        form.WizardButtons1.SetDescriptionText("Step");
        form.WizardButtons1.SetHelpPosition(WizardButtons::HelpBetween);
        form.WizardButtons1.SetDisplayPageInfo(true);
        ASSERT_HRESULT_SUCCEEDED(form.pages[0].SaveProperties(pageBag));
        ASSERT_HRESULT_SUCCEEDED(form.WizardButtons1.SaveProperties(barBag));
    }
    std::vector<std::string> names;
    for (const auto& p : barBag) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"DescriptionText", "Font", "HelpPosition", "DisplayPageInfo"}));
    WizardForm again;
    again.pages[0].properties = pageBag;
    again.WizardButtons1.properties = barBag;
    again.Show();
    EXPECT_EQ(again.pages[0].PageStyle(), WizardPage::Splash);
    EXPECT_EQ(again.pages[0].SplashBackColor(), 0x123456);
    EXPECT_EQ(again.pages[0].BannerBackColor(), 0x654321);
    EXPECT_EQ(again.pages[0].BannerTitle(), "Options");
    EXPECT_EQ(again.pages[1].BannerTitle(), "Enter New Title");
    EXPECT_EQ(again.WizardButtons1.DescriptionText(), "Step");
    EXPECT_EQ(again.WizardButtons1.HelpPosition(), WizardButtons::HelpBetween);
    EXPECT_TRUE(again.WizardButtons1.DisplayPageInfo());
    EXPECT_FALSE(again.WizardButtons1.ButtonVisible(0));
}

TEST_F(WizardHost, KeysReachTheBarAndAPagesControlsReportToTheForm) {
    WizardForm form;
    std::vector<std::string> clicks;
    form.cmdBrowse.Click = [&](int) { clicks.push_back("cmdBrowse"); };
    form.Show();
    SetForegroundWindow(form.hWnd());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form.hWnd(); }));
    form.Take();

    // Alt+N is Next's mnemonic.
    SetFocus(form.Button(WizardButtons::ButtonCancel));
    PostMessageA(GetFocus(), WM_SYSCHAR, 'n', 0x20000000);
    ASSERT_TRUE(PumpUntil([&] { return form.WizardButtons1.PageNumber() == 2; }));
    // Tab goes from the page's own control to the bar's buttons and back.
    SetFocus(form.cmdBrowse.hWnd());
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() != form.cmdBrowse.hWnd(); }));
    EXPECT_EQ(GetParent(GetFocus()), form.WizardButtons1.ControlWindow());

    SendMessageA(form.cmdBrowse.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, std::vector<std::string>{"cmdBrowse"}) << "through the page's window to the form";
}

std::string VerbCaption(OleControlSite& site, LONG& id) {
    com::ComPtr<IOleObject> ole;
    com::ComPtr<IEnumOLEVERB> verbs;
    if (FAILED(site.Unknown()->QueryInterface(IID_IOleObject, ole.PutVoid())) ||
        FAILED(ole->EnumVerbs(verbs.Put())))
        return "<none>";
    OLEVERB verb = {};
    ULONG got = 0;
    if (verbs->Next(1, &verb, &got) != S_OK) return "<none>";
    id = verb.lVerb;
    char caption[64] = {};
    WideCharToMultiByte(CP_ACP, 0, verb.lpszVerbName, -1, caption, sizeof caption, nullptr, nullptr);
    CoTaskMemFree(verb.lpszVerbName);
    return caption;
}

TEST_F(WizardHost, InTheDesignerAPageIsATileWithAVerbToRestoreIt) {
    Form form;
    form.name = "frmDesign";
    form.width = 7000;
    form.height = 5000;
    WizardPage page;
    WizardButtons bar;
    page.name = "wizNew";
    page.userMode = bar.userMode = false;
    page.left = 300;
    page.top = 450;
    form.CreateControls = [&] {
        bar.Create(form);
        page.Create(form);
    };
    form.Show();
    const int tileWidth = Screen.ToTwipsX(Screen.ToPixelsX(2000));
    EXPECT_EQ(page.Width(), tileWidth) << "a new page is a tile";
    EXPECT_EQ(page.Height(), Screen.ToTwipsY(Screen.ToPixelsY(375)));
    LONG verb = 0;
    EXPECT_EQ(VerbCaption(page, verb), "Restore Control");
    EXPECT_EQ(verb, 100);
    com::ComPtr<IOleObject> ole;
    page.Unknown()->QueryInterface(IID_IOleObject, ole.PutVoid());
    ASSERT_EQ(ole->DoVerb(100, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(page.Left(), 0);
    EXPECT_EQ(page.Width(), form.ScaleWidth());
    EXPECT_EQ(page.Height(), form.ScaleHeight() - wizard::kBarHeight);
    EXPECT_EQ(VerbCaption(page, verb), "Minimise Control");
    ASSERT_EQ(ole->DoVerb(100, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
    EXPECT_EQ(page.Left(), 300) << "back where the tile was";
    EXPECT_EQ(page.Top(), 450);
    EXPECT_EQ(page.Width(), tileWidth);
    EXPECT_EQ(ole->DoVerb(101, nullptr, nullptr, 0, nullptr, nullptr), OLEOBJ_S_INVALIDVERB);
    form.Unload();
}

TEST_F(WizardHost, CancelClickedMayUnloadTheForm) {
    auto form = std::make_unique<WizardForm>();
    int cancelled = 0;
    form->WizardButtons1.CancelClicked = [&](int) {
        ++cancelled;
        form->Unload();
    };
    form->Show();
    form->Click(WizardButtons::ButtonCancel);
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(form->WizardButtons1.Object(), nullptr);
    form.reset();
    CoFreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleA("Pagerelle.dll"), nullptr) << "every object let go";
}

}  // namespace
}  // namespace corvella::forms::testing
