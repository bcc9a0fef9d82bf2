// The quick extract on its real window: OK gives the piece or its token,
// the token is not offered where it cannot work, the window is hidden and
// kept, and Cancel tells the caller that nothing was chosen.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/tools/quickextract/win32/frm_quick_extract.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

int gButton = 0;

// Clicks once the dialog is up, from inside its modal loop.
void CALLBACK ClickWhenUp(HWND, UINT, UINT_PTR id, DWORD) {
    FrmQuickExtract& q = frmQuickExtract();
    if (!q.Visible()) return;
    KillTimer(nullptr, id);
    q.lstFoundFields.SetListIndex(1);
    q.cmdMain[gButton].DoClick();
}

using QuickExtract = forms::testing::FormsTest;

TEST_F(QuickExtract, OkGivesThePieceOrItsTokenAndCancelNothing) {
    FrmQuickExtract& f = frmQuickExtract();
    const struct {
        const char* text;
        const char* custom;  // null: the first predefined separator
        bool allowMapping, map;
        const char* result;
        bool mapOffered;
    } cases[] = {
        {"Artist - Album - 01 - Title", nullptr, true, false, "Album", true},
        {"Artist - Album - 01 - Title", nullptr, true, true, "#Map#1: - #", true},
        {"one two", " ", true, true, "#Map#1: #", true},
        {"a#b", "#", true, true, "b", false},
        {"Rock - Pop", nullptr, false, true, "Pop", false},
    };
    for (const auto& c : cases) {
        f.Intitialize("Parse", c.text, c.allowMapping);
        if (c.custom) {
            f.cboTokkenChoice.SetListIndex(1);
            f.txtTokken.SetText(c.custom);
        }
        f.lstFoundFields.SetListIndex(1);
        EXPECT_EQ(f.Option1[1].Enabled(), c.mapOffered) << c.text;
        if (c.map && f.Option1[1].Enabled()) f.Option1[1].SetValue(true);
        f.cmdMain[0].DoClick();
        EXPECT_TRUE(!f.Visible() && f.Loaded()) << "hidden, not unloaded";
        EXPECT_EQ(f.result(), c.result) << c.text;
    }
    // A token chosen, then a separator it cannot carry: back to the text.
    f.Intitialize("Parse", "a-b", true);
    f.Option1[1].SetValue(true);
    f.cboTokkenChoice.SetListIndex(1);
    f.txtTokken.SetText(":");
    EXPECT_TRUE(f.Option1[0].Value() && !f.Option1[1].Enabled());

    forms::testing::TestForm owner;
    owner.Show();
    for (int button : {1, 0}) {
        gButton = button;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, ClickWhenUp);
        const std::optional<std::string> got = ShowQuickExtract(owner, "Artist - Title", 1);
        KillTimer(nullptr, timer);
        EXPECT_EQ(got, button == 0 ? std::optional<std::string>("Title") : std::nullopt);
        EXPECT_EQ(f.result(), button == 0 ? "Title" : "");
    }
}

}  // namespace
}  // namespace corvella
