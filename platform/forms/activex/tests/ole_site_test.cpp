// The forms' container on real windows under Wine, with the test-only
// control: creation from the design's bag, what the control reads through
// its site, events by dispatch id inside the form's error rule, the form's
// own controls inside the hosted one, keys, and tear-down from an event.
#include <olectl.h>

#include <string>
#include <vector>

#include "libs/common/tests/ole_probe/ole_probe.h"
#include "platform/forms/activex/ole_site.h"
#include "platform/forms/activex/tests/activex_test_util.h"

namespace corvella::forms::testing {
namespace {

using com::Variant;

using HostTest = HostedControlTest;

struct ProbeForm : Form {
    OleControlSite probe1, probe2;
    CommandButton cmdInside;
    std::vector<std::string> clicks;
    ProbeForm() {
        name = "frmHost";
        width = 6000;
        height = 4500;
        probe1.name = "probe1";
        probe1.clsid = CLSID_OleProbeControl;
        probe1.left = 120;
        probe1.top = 240;
        probe1.width = 3000;
        probe1.height = 1500;
        probe1.properties = {{"Level", Variant(0x00FF00L)}, {"Caption", Variant(std::string("Loaded"))}};
        probe2.name = "probe2";
        probe2.clsid = CLSID_OleProbeControl;
        probe2.top = 2000;
        cmdInside.name = "cmdInside";
        cmdInside.caption = "Inside";
        cmdInside.left = 1500;
        cmdInside.top = 900;
        cmdInside.Click = [this](int) { clicks.push_back("cmdInside"); };
        CreateControls = [this] {
            probe1.Create(*this);
            probe2.Create(*this);
            cmdInside.Create(probe1.Inside());
        };
    }
    ~ProbeForm() override { Unload(); }
};

std::string Text(OleControlSite& site, DISPID id, std::vector<Variant> args) {
    return site.Call(id, args).Ansi();
}

TEST_F(HostTest, CreatesLoadsAndActivatesTheControlInItsSite) {
    ProbeForm form;
    form.Show();
    ASSERT_NE(form.probe1.Object(), nullptr);
    EXPECT_EQ(form.probe1.Get(2).Ansi(), std::to_string(0x00FF00)) << "Level from the design";
    EXPECT_EQ(form.probe1.Get(1).Ansi(), "Loaded");
    EXPECT_EQ(form.probe2.Get(1).Ansi(), "Probe") << "no design: InitNew";

    HWND inner = form.probe1.ControlWindow();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(GetParent(inner), form.probe1.hWnd());
    RECT r;
    GetClientRect(inner, &r);
    EXPECT_EQ(r.right, Screen.ToPixelsX(3000));
    EXPECT_EQ(r.bottom, Screen.ToPixelsY(1500));
    UpdateWindow(inner);
    HDC dc = GetDC(inner);
    EXPECT_EQ(GetPixel(dc, r.right - 3, r.bottom - 3), RGB(0, 0xFF, 0)) << "painted in Level";
    ReleaseDC(inner, dc);

    // What a save writes is what the design gave, defaults left out.
    std::vector<DesignProperty> saved;
    ASSERT_HRESULT_SUCCEEDED(form.probe1.SaveProperties(saved));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].name, "Caption");
    EXPECT_EQ(saved[1].name, "Level");
    EXPECT_EQ(saved[1].value.Ansi(), std::to_string(0x00FF00));
}

TEST_F(HostTest, AmbientExtenderAndContainerAsTheControlSeesThem) {
    ProbeForm form;
    form.fontName = "Tahoma";
    form.Show();
    OleControlSite& p = form.probe1;
    const struct {
        const char* name;
        std::string expected;
    } extender[] = {
        {"Name", "probe1"},  {"Left", "120"},     {"Top", "240"},     {"Width", "3000"},
        {"Height", "1500"},  {"Visible", "True"}, {"Level", std::to_string(0x00FF00)},
        {"Nothing", "<error>"},
    };
    for (const auto& e : extender)
        EXPECT_EQ(Text(p, 5, {Variant(std::string(e.name))}), e.expected) << e.name;

    const struct {
        DISPID id;
        std::string expected;
    } ambient[] = {
        {DISPID_AMBIENT_USERMODE, "True"},
        {DISPID_AMBIENT_DISPLAYNAME, "probe1"},
        {DISPID_AMBIENT_BACKCOLOR, std::to_string(static_cast<long>(0x8000000F))},
        {DISPID_AMBIENT_LOCALEID, std::to_string(static_cast<long>(GetUserDefaultLCID()))},
    };
    for (const auto& a : ambient) EXPECT_EQ(Text(p, 6, {Variant(static_cast<long>(a.id))}), a.expected) << a.id;

    EXPECT_EQ(Text(p, 7, {}), "2") << "the form's hosted controls";

    // A size asked for through the extender is granted; the control follows.
    p.Call(8, {Variant(0L), Variant(60L), Variant(1500L), Variant(750L)});
    EXPECT_EQ(p.Left(), 0);
    EXPECT_EQ(p.Top(), 60);
    EXPECT_EQ(p.Width(), 1500);
    RECT r;
    GetClientRect(p.ControlWindow(), &r);
    EXPECT_EQ(r.right, Screen.ToPixelsX(1500));
    EXPECT_EQ(r.bottom, Screen.ToPixelsY(750));
}

TEST_F(HostTest, AControlActivatesInsideAnotherOne) {
    ProbeForm form;
    OleControlSite nested;
    nested.name = "probeNested";
    nested.clsid = CLSID_OleProbeControl;
    nested.left = 1500;
    nested.width = 900;
    nested.height = 600;
    auto outer = form.CreateControls;
    form.CreateControls = [&] {
        outer();
        nested.Create(form.probe1.Inside());
    };
    form.Show();
    ASSERT_NE(nested.ControlWindow(), nullptr);
    EXPECT_EQ(GetParent(nested.hWnd()), form.probe1.ControlWindow());
    EXPECT_EQ(Text(nested, 7, {}), "3") << "the form's hosted controls, nested ones too";
    EXPECT_EQ(Text(nested, 5, {Variant(std::string("Left"))}), "1500");
    form.Unload();
}

TEST_F(HostTest, EventsReachTheFormByDispatchIdWithByReferenceArguments) {
    ProbeForm form;
    std::vector<long> seen;
    form.probe1.On(1, "Changed", [&](com::EventArgs& a) {
        seen.push_back(a.Long(0));
        if (a.Long(0) == 7) a.SetBool(1, true);
        if (a.Long(0) == 13) throw Error("Handler broke", 5);
    });
    form.Show();
    EXPECT_EQ(form.probe1.Call(4, {Variant(3L)}).Ansi(), "False");
    EXPECT_EQ(form.probe1.Call(4, {Variant(7L)}).Ansi(), "True");
    EXPECT_EQ(form.probe1.Call(4, {Variant(13L)}).Ansi(), "False");
    EXPECT_EQ(seen, (std::vector<long>{3, 7, 13}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("frmHost.probe1_Changed"), std::string::npos) << boxes[0].prompt;

    // The form's own button inside the control reports to the form.
    SendMessageA(form.cmdInside.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, std::vector<std::string>{"cmdInside"});
}

TEST_F(HostTest, KeysReachTheControlsButtonsAndTheFormMayUnloadFromItsEvent) {
    auto* form = new ProbeForm();
    form->probe2.visible = false;  // one "&Go" on the form
    int clicked = 0;
    form->probe1.On(2, "Clicked", [&](com::EventArgs&) {
        ++clicked;
        form->Unload();
    });
    form->Show();
    SetForegroundWindow(form->hWnd());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->hWnd(); }));
    HWND go = FindWindowExA(form->probe1.ControlWindow(), nullptr, "Button", "&Go");
    ASSERT_NE(go, nullptr);
    // Tab moves the focus through the hosted control's buttons.
    SetFocus(form->cmdInside.hWnd());
    PostMessageA(form->cmdInside.hWnd(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(form->cmdInside.hWnd(), WM_KEYUP, VK_TAB, 0xC0000000);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() != form->cmdInside.hWnd(); }));
    EXPECT_NE(GetFocus(), nullptr);

    // Alt+G clicks "&Go"; its handler unloads the form inside the event.
    PostMessageA(GetFocus(), WM_SYSCHAR, 'g', 0x20000000);
    ASSERT_TRUE(PumpUntil([&] { return clicked == 1 && !form->Loaded(); }));
    EXPECT_EQ(form->probe1.Object(), nullptr);
    delete form;
    CoFreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleA("OleProbe.dll"), nullptr) << "the library unloads";
}

}  // namespace
}  // namespace corvella::forms::testing
