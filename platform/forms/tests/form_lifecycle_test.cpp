// Forms on real windows: event order, unloading, the end of the program,
// modal shows from a timer tick, owners, key preview.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/tests/forms_test_util.h"

namespace corvella::forms::testing {
namespace {

using Log = std::vector<std::string>;

// A form that logs its events.
struct LoggingForm : Form {
    Log log;
    int cancelQuery = 0;   // times QueryUnload still cancels
    int cancelUnload = 0;  // times Unload still cancels
    LoggingForm() {
        name = "frmLog";
        caption = "Log";
        Form_Load = [this] { log.push_back("Load"); };
        Form_Resize = [this] { log.push_back("Resize"); };
        Form_Activate = [this] { log.push_back("Activate"); };
        Form_Deactivate = [this] { log.push_back("Deactivate"); };
        Form_QueryUnload = [this](int& cancel, int mode) {
            log.push_back("QueryUnload " + std::to_string(mode));
            if (cancelQuery > 0) cancel = cancelQuery--;
        };
        Form_Unload = [this](int& cancel) {
            log.push_back("Unload");
            if (cancelUnload > 0) cancel = cancelUnload--;
        };
    }
    int Count(const std::string& event) const {
        int n = 0;
        for (const auto& e : log) n += e == event ? 1 : 0;
        return n;
    }
};

using FormLifecycle = FormsTest;

void CALLBACK QuitWith99(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

TEST_F(FormLifecycle, LoadResizeActivateThenQueryUnloadAndUnload) {
    LoggingForm form;
    ASSERT_TRUE(form.Load());
    EXPECT_EQ(form.log, Log{"Load"});
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.Load());  // loaded already: no second Form_Load
    EXPECT_EQ(form.Count("Load"), 1);

    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return form.Count("Activate") > 0; }, 3000));
    ASSERT_GE(form.log.size(), 3u);
    EXPECT_EQ((Log{form.log[0], form.log[1], form.log[2]}), (Log{"Load", "Resize", "Activate"}));
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(Screen.ActiveForm(), &form);

    form.log.clear();
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(form.log, (Log{"QueryUnload 1", "Unload"}));
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(Screen.ActiveForm(), nullptr);
    EXPECT_EQ(LoadedForms(), 0);
}

TEST_F(FormLifecycle, ClosingByHandAsksWithItsModeAndEitherHandlerCanCancel) {
    LoggingForm form;
    form.cancelQuery = 1;
    form.cancelUnload = 1;
    form.Show();
    form.log.clear();

    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);  // cancelled by QueryUnload
    EXPECT_TRUE(form.Loaded());
    EXPECT_EQ(form.log, Log{"QueryUnload 0"});

    form.log.clear();
    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);  // cancelled by Unload
    EXPECT_TRUE(form.Loaded());
    EXPECT_EQ(form.log, (Log{"QueryUnload 0", "Unload"}));

    form.log.clear();
    SendMessageA(form.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(form.log, (Log{"QueryUnload 0", "Unload"}));
}

TEST_F(FormLifecycle, UnloadingAFormThatIsNotLoadedDoesNothing) {
    LoggingForm form;
    EXPECT_TRUE(form.Unload());
    EXPECT_TRUE(form.log.empty());

    form.Load();
    form.Unload();
    form.log.clear();
    EXPECT_TRUE(form.Unload());
    EXPECT_TRUE(form.log.empty());

    // Loaded again it starts from its design, with a new window.
    form.caption = "Again";
    form.Load();
    EXPECT_EQ(form.Caption(), "Again");
    form.SetCaption("Changed");
    form.Unload();
    EXPECT_EQ(form.caption, "Again");
}

TEST_F(FormLifecycle, TheLoopEndsWhenTheLastFormIsUnloaded) {
    Form first, second;
    first.name = "frmFirst";
    second.name = "frmSecond";
    first.Show();
    second.Show();
    Timer steps;
    steps.name = "tmrSteps";
    steps.interval = 10;
    int tick = 0;
    int loadedAfterFirstUnload = -1;
    steps.Tick = [&](int) {
        ++tick;
        if (tick == 1) {
            second.Unload();
            loadedAfterFirstUnload = LoadedForms();
        } else if (tick == 2) {
            first.Unload();  // from its own timer's tick
        }
    };
    ASSERT_TRUE(steps.Create(first));

    // A watchdog ends the loop with 99 should the rule not hold.
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, QuitWith99);
    const int code = forms::Run();
    KillTimer(nullptr, watchdog);

    EXPECT_EQ(code, 0);
    EXPECT_EQ(tick, 2);
    EXPECT_EQ(loadedAfterFirstUnload, 1);
    EXPECT_FALSE(first.Loaded());
    EXPECT_FALSE(steps.Created());
    EXPECT_EQ(LoadedForms(), 0);
}

// The batch protocol: a one-shot timer of the owner shows a form modally;
// the owner's other timer keeps ticking, and ends the modal show by hiding
// or by unloading the form.
void ModalShowFromATick(bool unload) {
    Form owner, dialog;
    owner.name = "frmOwner";
    dialog.name = "frmDialog";
    owner.Show();

    Timer arm, clock;
    arm.name = "tmrArm";
    arm.interval = 10;
    clock.name = "tmrClock";
    clock.interval = 5;
    bool returned = false;
    int ticksInModal = 0;
    bool ownerDisabled = false;
    HWND ownerOfDialog = nullptr;
    arm.Tick = [&](int) {
        arm.SetEnabled(false);
        dialog.Show(kModal, &owner);  // returns when hidden or unloaded
        returned = true;
    };
    clock.Tick = [&](int) {
        if (!dialog.InModalLoop()) return;
        ++ticksInModal;
        ownerDisabled = ownerDisabled || !IsWindowEnabled(owner.hWnd());
        ownerOfDialog = GetWindow(dialog.hWnd(), GW_OWNER);
        if (ticksInModal == 5) {
            if (unload)
                dialog.Unload();
            else
                dialog.Hide();
        }
    };
    ASSERT_TRUE(owner.Load());
    ASSERT_TRUE(arm.Create(owner));
    ASSERT_TRUE(clock.Create(owner));

    ASSERT_TRUE(PumpUntil([&] { return returned; }, 5000));
    EXPECT_EQ(ticksInModal, 5);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(ownerOfDialog, owner.hWnd());
    EXPECT_TRUE(IsWindowEnabled(owner.hWnd()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.Loaded(), !unload);
    EXPECT_FALSE(dialog.InModalLoop());

    dialog.Unload();
    owner.Unload();
}

TEST_F(FormLifecycle, AModalShowFromATickEndsWhenTheFormIsHidden) { ModalShowFromATick(false); }

TEST_F(FormLifecycle, AModalShowFromATickEndsWhenTheFormIsUnloaded) { ModalShowFromATick(true); }

TEST_F(FormLifecycle, WindowStateFollowsTheWindowAndResizeSeesEveryChange) {
    LoggingForm form;
    form.windowState = kMaximized;  // the design state, applied at the first show
    std::vector<int> states;
    form.Form_Resize = [&] { states.push_back(form.WindowState()); };
    form.Load();
    EXPECT_EQ(form.WindowState(), kMaximized);
    form.Show();
    EXPECT_TRUE(IsZoomed(form.hWnd()));
    form.SetWindowState(kMinimized);
    EXPECT_EQ(form.WindowState(), kMinimized);
    form.SetWindowState(kNormal);
    EXPECT_EQ(form.WindowState(), kNormal);
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), kNormal);
    EXPECT_NE(std::find(states.begin(), states.end(), kMinimized), states.end());
    EXPECT_THROW(form.SetWindowState(3), Error);
    form.Unload();
}

TEST_F(FormLifecycle, AVisibleFormCannotBeShownModally) {
    Form form;
    form.name = "frmShown";
    form.Show();
    try {
        form.Show(kModal);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 400);
    }
    form.Unload();
}

TEST_F(FormLifecycle, UnloadingAnOwnerUnloadsTheFormsItOwnsFirst) {
    LoggingForm owner, owned;
    owner.name = "frmOwner";
    owned.name = "frmOwned";
    owner.Show();
    owned.cancelQuery = 1;
    owned.Show(kModeless, &owner);
    owner.log.clear();
    owned.log.clear();

    // The owned form refuses: both stay.
    EXPECT_FALSE(owner.Unload());
    EXPECT_TRUE(owner.Loaded());
    EXPECT_TRUE(owned.Loaded());
    EXPECT_EQ(owned.log, Log{"QueryUnload 5"});
    EXPECT_EQ(owner.Count("Unload"), 0);

    owned.log.clear();
    EXPECT_TRUE(owner.Unload());
    EXPECT_FALSE(owned.Loaded());
    EXPECT_EQ(owned.log, (Log{"QueryUnload 5", "Unload"}));
    EXPECT_FALSE(owner.Loaded());
}

TEST_F(FormLifecycle, KeyPreviewSeesKeysOfControlsFirstAndCanSwallowThem) {
    Form form;
    form.name = "frmKeys";
    form.keyPreview = true;
    TextBox text;
    text.name = "txtField";
    text.width = 2000;
    std::vector<int> downs;
    form.CreateControls = [&] { text.Create(form); };
    form.Form_KeyDown = [&](int& keyCode, int) {
        downs.push_back(keyCode);
        if (keyCode == VK_F1) keyCode = 0;
    };
    text.KeyPress = [&](int, int& keyAscii) {
        if (keyAscii == 'x') keyAscii = 0;   // swallowed
        if (keyAscii == 'a') keyAscii = 'b';  // replaced
    };
    form.Show();
    text.SetFocus();

    PostMessageA(text.hWnd(), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(text.hWnd(), WM_CHAR, 'a', 0);
    PostMessageA(text.hWnd(), WM_CHAR, 'x', 0);
    PostMessageA(text.hWnd(), WM_CHAR, 'c', 0);
    PumpFor(100);
    EXPECT_EQ(downs, std::vector<int>{VK_F1});
    EXPECT_EQ(text.Text(), "bc");

    // Without key preview only keys for the form's own window reach it.
    form.keyPreview = false;
    PostMessageA(text.hWnd(), WM_KEYDOWN, VK_F2, 0);
    PostMessageA(form.hWnd(), WM_KEYDOWN, VK_F3, 0);
    PumpFor(100);
    EXPECT_EQ(downs, (std::vector<int>{VK_F1, VK_F3}));
    form.Unload();
}

}  // namespace
}  // namespace corvella::forms::testing
