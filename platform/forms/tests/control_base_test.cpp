// What forms and controls share, controls written outside the run-time, the
// common events of the system controls and the id ranges, on real windows.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {
namespace {

using ControlBase = FormsTest;

struct TestForm : Form {
    TestForm() {
        name = "frmTest";
        width = 6000;
        height = 4500;
    }
    ~TestForm() override { Unload(); }
};

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

}  // namespace
}  // namespace corvella::forms::testing
