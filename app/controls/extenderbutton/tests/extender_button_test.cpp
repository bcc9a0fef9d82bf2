// The image button on a real form under Wine, driven by real mouse input:
// hover, press, release and leaving as the frame on the screen shows them
// (compared with the system colours), Click on the press, the picture's
// drop while pressed, and the button's own Enabled that never disables its
// window.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/controls/extenderbutton/extender_button.h"
#include "libs/flatcontrols/tests/window_probe.h"
#include "platform/forms/tests/forms_test_util.h"

namespace {

using corvella::testing::RepaintedPixel;
using corvella::testing::SysColour;
using namespace corvella::forms;
using corvella::controls::ExtenderButton;
using corvella::forms::testing::PumpUntil;
using corvella::testing::MouseButton;

struct ButtonForm : Form {
    ExtenderButton btn;
    ButtonForm() {
        name = "frmButton";
        width = 3000;
        height = 2000;
        btn.name = "btnExtender";
        btn.left = 600;
        btn.top = 600;
        CreateControls = [this] { btn.Create(*this); };
    }
};

class ExtenderButtonTest : public corvella::forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form.btn.Click = [this](int) { ++clicks; };
        SetCursorPos(5, 5);  // not where the button will appear
        ASSERT_TRUE(form.Load());
        form.Show();
        corvella::testing::BringToUser(form.hWnd());
        h = form.btn.hWnd();
        RECT rc;
        GetClientRect(h, &rc);
        w = rc.right;
        mid = rc.bottom / 2;
        centred = form.btn.Height() / 2 - Screen.ToTwipsY(9) / 2;
    }
    void TearDown() override {
        MouseButton(MOUSEEVENTF_LEFTUP);
        form.Unload();
        FormsTest::TearDown();
    }
    // The frame as the screen shows it: its left and right edge.
    bool FrameIs(int left, int right) {
        HDC dc = GetDC(h);
        const bool is = GetPixel(dc, 0, mid) == SysColour(left) && GetPixel(dc, w - 1, mid) == SysColour(right);
        ReleaseDC(h, dc);
        return is;
    }
    bool WaitFrame(int left, int right) {
        return PumpUntil([&] { return FrameIs(left, right); }, 3000);
    }
    void Enter() { ASSERT_TRUE(corvella::testing::MoveTo(h, w / 2, mid)); }
    void Leave() { ASSERT_TRUE(corvella::testing::MoveTo(form.hWnd(), 5, 5)); }

    ButtonForm form;
    HWND h = nullptr;
    int w = 0, mid = 0, centred = 0, clicks = 0;
};

TEST_F(ExtenderButtonTest, HoverPressReleaseAndLeave) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(FrameIs(COLOR_BTNFACE, COLOR_BTNFACE)) << "idle: no frame";
    Enter();
    EXPECT_TRUE(WaitFrame(COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW)) << "hover: raised";

    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(FrameIs(COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT)) << "pressed: sunken";
    EXPECT_EQ(form.btn.PictureTop(), centred + 8);
    MouseButton(MOUSEEVENTF_LEFTUP);
    corvella::testing::HandlePendingInput();
    EXPECT_TRUE(FrameIs(COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT)) << "released: stays sunken while over it";
    EXPECT_EQ(clicks, 1) << "Click comes on the press only";

    Leave();
    EXPECT_TRUE(WaitFrame(COLOR_BTNFACE, COLOR_BTNFACE)) << "the poll notices the pointer left";
    EXPECT_EQ(form.btn.PictureTop(), centred);

    Enter();
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return clicks == 2; })) << "the right button clicks too";
}

TEST_F(ExtenderButtonTest, DisabledButtonTakesPressesAndRefusesThem) {
    form.btn.SetEnabled(false);
    EXPECT_FALSE(form.btn.Enabled());
    EXPECT_TRUE(IsWindowEnabled(h)) << "its window stays enabled";
    Enter();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == h; })) << "the press reaches the button";
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(FrameIs(COLOR_BTNFACE, COLOR_BTNFACE));
    EXPECT_EQ(form.btn.PictureTop(), centred);
    MouseButton(MOUSEEVENTF_LEFTUP);
    corvella::testing::HandlePendingInput();
    form.btn.SetEnabled(true);
    EXPECT_TRUE(form.btn.Enabled());
}

TEST_F(ExtenderButtonTest, EnteringWithAButtonHeldStartsNoHover) {
    Leave();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    corvella::testing::HandlePendingInput();
    Enter();
    EXPECT_TRUE(FrameIs(COLOR_BTNFACE, COLOR_BTNFACE));
    MouseButton(MOUSEEVENTF_LEFTUP);
    corvella::testing::HandlePendingInput();
    EXPECT_EQ(clicks, 0);
}

TEST_F(ExtenderButtonTest, RemainPressedKeepsTheRaisedFrame) {
    Enter();
    ASSERT_TRUE(WaitFrame(COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW));
    Leave();
    ASSERT_TRUE(WaitFrame(COLOR_BTNFACE, COLOR_BTNFACE));
    form.btn.SetRemainPressed(true);
    EXPECT_TRUE(FrameIs(COLOR_BTNFACE, COLOR_BTNFACE)) << "True draws nothing until the next event";
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(FrameIs(COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW)) << "raised with the pointer elsewhere";
    form.btn.SetRemainPressed(false);
    EXPECT_TRUE(FrameIs(COLOR_BTNFACE, COLOR_BTNFACE)) << "False redraws at once";
}

}  // namespace
