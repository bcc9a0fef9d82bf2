// The flat box on a real form under Wine: its frame read from the screen
// after each resize, in the button-shadow system colour and white, and the
// controls it holds working as on a form.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/controls/flatbox/flat_box.h"
#include "libs/flatcontrols/tests/window_probe.h"
#include "platform/forms/tests/forms_test_util.h"

namespace {

using corvella::testing::RepaintedPixel;
using corvella::testing::SysColour;
using namespace corvella::forms;
using corvella::controls::FlatBoxContainer;

struct BoxForm : Form {
    FlatBoxContainer box;
    CommandButton cmd;
    BoxForm() {
        name = "frmBox";
        box.name = "fbc";
        box.left = 150;
        box.top = 150;
        box.width = 3000;
        box.height = 1500;
        cmd.name = "cmd";
        cmd.left = 300;
        cmd.top = 300;
        cmd.caption = "Inside";
        CreateControls = [this] {
            box.Create(*this);
            cmd.Create(box);
        };
    }
};

class FlatBoxTest : public corvella::forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        ASSERT_TRUE(form.Load());
        form.Show();
    }
    void TearDown() override {
        form.Unload();
        FormsTest::TearDown();
    }
    BoxForm form;
};

TEST_F(FlatBoxTest, FrameIsRaisedAndFollowsEveryResize) {
    const COLORREF shadow = SysColour(COLOR_BTNSHADOW), white = RGB(255, 255, 255);
    const HWND h = form.box.hWnd();
    struct Size { int w, h; };
    for (const Size& s : {Size{200, 100}, Size{120, 60}, Size{300, 40}}) {
        form.box.Move(form.box.Left(), form.box.Top(), s.w * 15, s.h * 15);
        RECT rc;
        GetClientRect(h, &rc);
        ASSERT_EQ(rc.right, s.w);
        struct Probe { int x, y; COLORREF c; };
        const Probe probes[] = {
            {0, s.h / 2, white},        {s.w / 2, 0, white},          {s.w - 1, s.h / 2, shadow},
            {s.w / 2, s.h - 1, shadow}, {s.w - 1, s.h - 1, shadow},   {s.w - 2, s.h / 2, SysColour(COLOR_BTNFACE)},
        };
        for (const Probe& p : probes) EXPECT_EQ(RepaintedPixel(h, p.x, p.y), p.c) << s.w << "x" << s.h << " at " << p.x << "," << p.y;
    }
    // One pixel wide: the right line stands on the left one.
    form.box.SetWidth(15);
    EXPECT_EQ(RepaintedPixel(h, 0, 20), white);
}

TEST_F(FlatBoxTest, HeldControlsLiveInTheBox) {
    EXPECT_EQ(GetParent(form.cmd.hWnd()), form.box.hWnd());
    int clicks = 0;
    form.cmd.Click = [&](int) { ++clicks; };
    SendMessageA(form.cmd.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    form.box.Destroy();
    EXPECT_FALSE(form.cmd.Created());
}

}  // namespace
