// The quick extract on its real window: its controls as the system's own
// kinds, the pieces and the token OK gives, the token refused where it
// cannot work, and Cancel telling the caller nothing was chosen.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/tools/quickextract/win32/frm_quick_extract.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using forms::testing::FormsTest;

std::string ClassOf(HWND w) {
    char name[64] = {0};
    GetClassNameA(w, name, sizeof name);
    return name;
}

int gButton = 0;

// Clicks once the dialog is up, from inside its modal loop.
void CALLBACK ClickWhenUp(HWND, UINT, UINT_PTR id, DWORD) {
    FrmQuickExtract& q = frmQuickExtract();
    if (!q.Visible()) return;
    KillTimer(nullptr, id);
    q.lstFoundFields.SetListIndex(1);
    q.cmdMain[gButton].DoClick();
}

class QuickExtract : public FormsTest {
protected:
    FrmQuickExtract& f = frmQuickExtract();
    std::vector<std::string> Listed() {
        std::vector<std::string> out;
        for (int i = 0; i < f.lstFoundFields.ListCount(); ++i) out.push_back(f.lstFoundFields.List(i));
        return out;
    }
};

TEST_F(QuickExtract, ControlsAreTheSystemsOwn) {
    f.Intitialize("Parse", "Artist - Album - 01 - Title", true);
    const struct {
        forms::Control* control;
        const char* cls;
        std::string caption;
    } controls[] = {
        {&f.cboTokkenChoice, "ComboBox", ""}, {&f.cboTokken, "ComboBox", ""},
        {&f.txtTokken, "Edit", ""},          {&f.lstFoundFields, "ListBox", ""},
        {&f.Option1[0], "Button", "Text"},    {&f.Option1[1], "Button", "Section Text (Filename Mapping)"},
        {&f.cmdMain[0], "Button", "&OK"},     {&f.cmdMain[1], "Button", "&Cancel"},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(ClassOf(c.control->hWnd()), c.cls) << c.caption;
        if (!c.caption.empty()) EXPECT_EQ(c.control->Text(), c.caption);
    }
    const LONG radio = GetWindowLongA(f.Option1[1].hWnd(), GWL_STYLE) & 0xF;
    EXPECT_TRUE(radio == BS_RADIOBUTTON || radio == BS_AUTORADIOBUTTON) << radio;
    EXPECT_EQ(f.Caption(), "Parse");
    EXPECT_EQ(f.cboTokken.ListCount(), 6);
    EXPECT_EQ(f.cboTokken.List(3), "Non-Padded Hyphen (-)");
    EXPECT_EQ(f.cboTokkenChoice.List(1), "Custom Tokken");
}

TEST_F(QuickExtract, OkGivesThePieceOrItsToken) {
    const struct {
        const char* text;
        int choice, predefined;
        const char* custom;
        bool allowMapping;
        int piece;
        bool map;
        std::vector<std::string> listed;
        const char* result;
        bool mapOffered;
    } cases[] = {
        {"Artist - Album - 01 - Title", 0, 0, "", true, 2, false, {"Artist", "Album", "01", "Title"}, "01", true},
        {"Artist - Album - 01 - Title", 0, 0, "", true, 2, true, {"Artist", "Album", "01", "Title"}, "#Map#2: - #", true},
        {"a--b", 0, 3, "", true, 1, true, {"a", "", "b"}, "#Map#1:-#", true},
        {"one two", 1, 0, " ", true, 1, true, {"one", "two"}, "#Map#1: #", true},
        {"x FEAT y", 1, 0, "feat", true, 1, true, {"x", "y"}, "#Map#1:feat#", true},
        // A separator the token cannot carry: the piece as text only.
        {"a#b", 1, 0, "#", true, 1, true, {"a", "b"}, "b", false},
        {"a:b", 1, 0, ":", true, 0, true, {"a", "b"}, "a", false},
        {"Rock", 0, 0, "", false, 0, true, {"Rock"}, "Rock", false},
    };
    for (const auto& c : cases) {
        f.Intitialize("Parse", c.text, c.allowMapping);
        f.cboTokkenChoice.SetListIndex(c.choice);
        if (c.choice == 0) f.cboTokken.SetListIndex(c.predefined);
        if (c.choice == 1) f.txtTokken.SetText(c.custom);
        EXPECT_EQ(Listed(), c.listed) << c.text;
        f.lstFoundFields.SetListIndex(c.piece);
        EXPECT_EQ(f.Option1[1].Enabled(), c.mapOffered) << c.text;
        if (c.map && f.Option1[1].Enabled()) f.Option1[1].SetValue(true);
        f.cmdMain[0].DoClick();
        EXPECT_FALSE(f.Visible());
        EXPECT_TRUE(f.Loaded()) << "hidden, not unloaded";
        EXPECT_EQ(f.result(), c.result) << c.text;
        EXPECT_TRUE(f.Accepted());
    }
    // A token chosen, then the separator made one it cannot carry: back to text.
    f.Intitialize("Parse", "a-b", true);
    f.Option1[1].SetValue(true);
    f.cboTokkenChoice.SetListIndex(1);
    f.txtTokken.SetText("#");
    EXPECT_TRUE(f.Option1[0].Value());
    EXPECT_FALSE(f.Option1[1].Enabled());
    // No piece selected: no token.
    f.txtTokken.SetText("-");
    f.lstFoundFields.SetListIndex(-1);
    EXPECT_FALSE(f.Option1[1].Enabled());
}

// Cancel, the Esc key and the close box all leave the result empty and tell
// the caller that nothing was chosen; OK after a modal show gives the text.
TEST_F(QuickExtract, CancelChoosesNothing) {
    forms::testing::TestForm owner;
    owner.Show();
    const struct {
        int button;
        bool chosen;
    } cases[] = {{1, false}, {0, true}};
    for (const auto& c : cases) {
        gButton = c.button;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, ClickWhenUp);
        const std::optional<std::string> got = ShowQuickExtract(owner, "Artist - Title", 1);
        KillTimer(nullptr, timer);
        EXPECT_EQ(got.has_value(), c.chosen) << c.button;
        if (got) EXPECT_EQ(*got, "Title");
        if (!c.chosen) EXPECT_EQ(f.result(), "");
    }
}

}  // namespace
}  // namespace corvella
