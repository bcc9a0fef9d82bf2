// The help's topics and windows, and the browser look-up.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/foundation/win32/shell/help.h"
#include "app/foundation/win32/shell/launch.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

// ---- Browser ----

TEST(BrowserTest, LookUpLeavesNoScratchFileBehind) {
    const std::string temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    intptr_t code = 0;
    const std::string browser = GetBrowserPath(code);
    EXPECT_EQ(GetFileAttributesA((temp + "dummy.html").c_str()), INVALID_FILE_ATTRIBUTES);
    if (code > 32)
        EXPECT_FALSE(browser.empty());
    else
        EXPECT_EQ(browser, "");
}


// ---- Help ----

TEST(HelpTest, TopicsOpenByContextInTheNamedWindow) {
    struct Call {
        HWND caller;
        std::string file;
        UINT command;
        DWORD_PTR data;
    };
    std::vector<Call> calls;
    SetHtmlHelpHook([&](HWND h, const std::string& f, UINT c, DWORD_PTR d) { calls.push_back({h, f, c, d}); });
    HWND caller = reinterpret_cast<HWND>(0x1234);
    ShowHelpTopic(caller, kMainHelpContext, kHelpWindowDefault);
    ShowHelpTopic(caller, 77, kHelpWindowPopupLarge);
    ShowHelpTopic(caller, 77, 4);
    ShowHelpTopic(caller, 77, -1);
    SetHtmlHelpHook(nullptr);

    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].caller, caller);
    EXPECT_EQ(calls[0].file, HelpFilePath() + ">DEFAULT");
    EXPECT_EQ(calls[0].command, 0x0Fu);
    EXPECT_EQ(calls[0].data, 1000u);
    EXPECT_EQ(calls[1].file, HelpFilePath() + ">POPUP_LARGE");

    const std::string folder = forms::App.Path();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(HelpFilePath(), (folder.back() == '\\' ? folder : folder + "\\") + "Corvella.chm");

    // The one help file setting: the forms' App carries what SetHelpWindow sets.
    SetHelpWindow(kHelpWindowPopupSmall);
    EXPECT_EQ(forms::App.HelpFile(), HelpFilePath() + ">POPUP_SMALL");
    SetHelpWindow(4);
    EXPECT_EQ(forms::App.HelpFile(), HelpFilePath() + ">POPUP_SMALL");
}

}  // namespace
}  // namespace shell
}  // namespace corvella
