// The status bar on a real window under Wine.
#include "platform/statusbar/status_bar.h"

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::platform {
namespace {

using forms::testing::FormsTest;

struct TestForm : forms::Form {
    StatusBar sb;
    TestForm() {
        name = "frmTest";
        width = 9000;
        height = 6000;
        sb.name = "SB1";
        sb.panels = {{"", "Ready", 3000, false}, {"File", "", 1440, true}};
        CreateControls = [this] { sb.Create(*this); };
        Show();
    }
    ~TestForm() override { Unload(); }
};

using StatusBarTest = FormsTest;

TEST_F(StatusBarTest, PanelsByIndexAndKeyShowTheirTextAtOnceInALoopThatDoesNotYield) {
    TestForm form;
    EXPECT_EQ(form.sb.Panels(1).Text(), "Ready");
    form.forms::Form::Refresh();
    for (int i = 1; i <= 50; ++i) {
        const std::string text = "Reading File Number: " + std::to_string(i);
        form.sb.Panels("File").SetText(text);
        // Read back from the window, and nothing of it is left to paint.
        char buffer[128] = {};
        SendMessageA(form.sb.hWnd(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(buffer));
        ASSERT_EQ(text, buffer);
        ASSERT_FALSE(GetUpdateRect(form.sb.hWnd(), nullptr, FALSE)) << i;
    }
    form.sb.Panels(1).SetText("50 Files found");
    EXPECT_EQ(form.sb.Panels(1).Text(), "50 Files found");
    EXPECT_EQ(form.sb.Panels("File").Index(), 2);
    EXPECT_THROW(form.sb.Panels(3), forms::Error);
    EXPECT_THROW(form.sb.Panels("none"), forms::Error);
}

TEST_F(StatusBarTest, DocksAtTheBottomAndTheSpringPanelTakesTheRest) {
    TestForm form;
    auto check = [&] {
        RECT client{}, bar{};
        GetClientRect(form.hWnd(), &client);
        GetWindowRect(form.sb.hWnd(), &bar);
        MapWindowPoints(nullptr, form.hWnd(), reinterpret_cast<POINT*>(&bar), 2);
        EXPECT_EQ(bar.bottom, client.bottom);
        EXPECT_EQ(bar.right - bar.left, client.right);
        int edges[2] = {};
        ASSERT_EQ(SendMessageA(form.sb.hWnd(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 2);
        EXPECT_EQ(edges[0], 200);
        EXPECT_GE(edges[1], client.right - 1);
    };
    check();
    SetWindowPos(form.hWnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    check();
    EXPECT_GT(form.sb.Height(), 0);
}

}  // namespace
}  // namespace corvella::platform
