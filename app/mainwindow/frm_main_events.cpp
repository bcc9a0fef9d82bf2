// The edit panel's and the file list's small handlers: the genre box's
// type-ahead, the option boxes, the field drop-downs, F1 and F5, the tip
// link, the list's column click, double-click and right click, the column
// header's events and the column menu.
#include <windows.h>

#include <cmath>
#include <cstdlib>

#include "app/foundation/settings.h"
#include "app/foundation/tags/field_table.h"
#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/shell/playback_win32.h"
#include "app/foundation/win32/shell/launch.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/mainwindow/core/edit_panel.h"
#include "app/mainwindow/core/layout_settings.h"
#include "app/mainwindow/frm_main.h"
#include "libs/common/numeric/rounding.h"

namespace corvella {

using namespace foundation;

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF5 = 116;
constexpr int kFieldRowHeight = 420, kV2FieldRowHeight = 360;

}  // namespace

// The field drop-downs stand at the right end of each field's row.
void FrmMain::DesignPart2() {
    for (const tags::FieldInfo& field : tags::Fields()) {
        const int i = field.index;
        forms::Container& in = field.v2Only ? static_cast<forms::Container&>(Picture4) : Picture3;
        const int top =
            field.v2Only ? 30 + (i - tags::kV1FieldCount) * kV2FieldRowHeight : 60 + i * kFieldRowHeight;
        auto& c = Designed(ExtenderButton1.Add(i), "ExtenderButton1", &in);
        c.Move(4305, top, 195, 300);
    }
}

void FrmMain::WirePart2() {
    Form_KeyDown = [this](int& keyCode, int shift) { Form_KeyDown_(keyCode, shift); };
    Form_KeyUp = [this](int& keyCode, int shift) { Form_KeyUp_(keyCode, shift); };
    Command2.ForEach([this](forms::CommandButton& b) { b.Click = On(&FrmMain::Command2_Click); });
    cboGenre.KeyPress = On(&FrmMain::cboGenre_KeyPress);
    chkUpdateBoth.Click = On(&FrmMain::chkUpdateBoth_Click);
    chkEllipsis.Click = On(&FrmMain::chkEllipsis_Click);
    ExtenderButton1.ForEach([this](controls::ExtenderButton& b) { b.Click = On(&FrmMain::ExtenderButton1_Click); });
    HTMLLabel.HyperlinkClick = On(&FrmMain::HTMLLabel_HyperlinkClick);
    lvFiles.ColumnClick = On(&FrmMain::lvFiles_ColumnClick);
    lvFiles.DblClick = On(&FrmMain::lvFiles_DblClick);
    lvFiles.MouseUp = On(&FrmMain::lvFiles_MouseUp);
    lvFiles.KeyUp = On(&FrmMain::lvFiles_KeyUp);
    Toolbar1.ButtonDropDown = On(&FrmMain::Toolbar1_ButtonDropDown);
    m_FlatHeader.ownerName = "frmMain";
    m_FlatHeader.name = "m_FlatHeader";
    m_FlatHeader.BeginDrag = [this](long column, bool& cancel) { m_FlatHeader_BeginDrag(column, cancel); };
    m_FlatHeader.BeginTrack = [this](long column, bool& cancel) { m_FlatHeader_BeginTrack(column, cancel); };
    m_FlatHeader.EndTrack = [this](long column, long width) { m_FlatHeader_EndTrack(column, width); };
    m_FlatHeader.RightClick = [this](long x, long y) { m_FlatHeader_RightClick(x, y); };
    m_PopupMenu.SetClickHandler([this](int32_t index) { m_PopupMenu_Click(index); });
    m_PopupColMenu.SetClickHandler([this](int32_t index) { m_PopupColMenu_Click(index); });
    m_PopupExport.SetClickHandler([this](int32_t index) { m_PopupExport_Click(index); });
    m_FieldPopupMenu.SetClickHandler([this](int32_t index) { m_FieldPopupMenu_Click(index); });
}

// After the menus and columns are built, before the layout is restored.
void FrmMain::LoadPart2() {
    forms::ResumeNext skip;
    skip([&] { m_FlatHeader.Attach(lvFiles.hWnd()); });
    skip([&] { UpdateFieldMenu(); });
    // No action of its own: a button that does nothing stays grey.
    skip([&] { Command2(1).SetEnabled(false); });
}

// Type-ahead from the genre list. Only printable characters and backspace
// take part: the editing keys keep their meaning and no control character
// ever reaches the text.
void FrmMain::cboGenre_KeyPress(int, int& keyAscii) {
    if (!mainwindow::GenreTypeAheadTakes(keyAscii)) return;
    if (keyAscii != 8) {
        cboGenre.SetSelText(std::string(1, static_cast<char>(keyAscii)));
    } else {
        if (cboGenre.SelStart() == 0) return;
        cboGenre.SetSelStart(cboGenre.SelStart() - 1);
        cboGenre.SetSelLength(32000);
        cboGenre.SetSelText("");
    }
    keyAscii = 0;
    const std::string typed = cboGenre.Text();
    const LRESULT found =
        SendMessageA(cboGenre.hWnd(), CB_FINDSTRING, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    if (found == CB_ERR) return;
    const LRESULT length = SendMessageA(cboGenre.hWnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(found), 0);
    if (length == CB_ERR) return;
    std::string item(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(cboGenre.hWnd(), CB_GETLBTEXT, static_cast<WPARAM>(found), reinterpret_cast<LPARAM>(&item[0]));
    item.resize(static_cast<size_t>(length));
    const int start = cboGenre.SelStart();
    const int n = static_cast<int>(item.size()) - static_cast<int>(typed.size());
    if (n <= 0) return;
    cboGenre.SetSelText(cboGenre.SelText() + item.substr(item.size() - static_cast<size_t>(n)));
    cboGenre.SetSelStart(start);
    cboGenre.SetSelLength(n);
}

// The boxes store what the apply reads, also when the program sets them.
void FrmMain::chkUpdateBoth_Click(int) {
    SaveSettingBool(Store(), mainwindow::kOptionsSection, "Update Both", chkUpdateBoth.Value() == 1);
}

void FrmMain::chkEllipsis_Click(int) {
    SaveSettingLong(Store(), mainwindow::kOptionsSection, "Ellipsis", chkEllipsis.Value() == 1 ? 1 : 0);
}

// The field menu of one field, dropped beside its button.
void FrmMain::ExtenderButton1_Click(int index) {
    CurrentField = index;
    UpdateFieldMenu();
    controls::ExtenderButton& button = ExtenderButton1(index);
    button.SetRemainPressed(true);
    if (index == mainwindow::kTrackField) {
        if (m_FieldPopupMenu.IndexForKey(mainwindow::kTrackOrderKey) == 0) {
            int32_t p = m_FieldPopupMenu.IndexForKey("mnuExtractv1");
            if (p >= 1)
                m_FieldPopupMenu.InsertItem(mainwindow::kTrackOrderCaption, p - 1, "", 0, -1, false, true,
                                            mainwindow::kTrackOrderKey);
            p = m_FieldPopupMenu.IndexForKey("mnuExtractv1");
            if (p >= 1)
                m_FieldPopupMenu.InsertItem("-", p - 1, "", 0, -1, false, true, mainwindow::kTrackOrderSeparatorKey);
        }
    } else {
        m_FieldPopupMenu.RemoveItem(mainwindow::kTrackOrderSeparatorKey);
        m_FieldPopupMenu.RemoveItem(mainwindow::kTrackOrderKey);
    }
    // The menu's owner is the field container; the point one pixel above
    // the button's right end, in that container's twips.
    const int32_t x = RoundHalfEven(button.Left() + button.Width());
    const int32_t y = RoundHalfEven(button.Top() - forms::Screen.TwipsPerPixelY());
    m_FieldPopupMenu.Show(x, y, 0, 0, 0, 0, true);
    button.SetRemainPressed(false);
}

// F1 asks for help on both key-down and key-up, as the Help menu's item
// does; F5 refreshes the list as the menu's "Refresh\tF5" says.
void FrmMain::Form_KeyDown_(int& keyCode, int) {
    if (keyCode == kKeyF1) {
        RunCommand("mnuHelp");
        keyCode = 0;
    } else if (keyCode == kKeyF5) {
        RunCommand("mnuRefresh");
        keyCode = 0;
    }
}

void FrmMain::Form_KeyUp_(int& keyCode, int) {
    if (keyCode != kKeyF1) return;
    RunCommand("mnuHelp");
    keyCode = 0;
}

void FrmMain::HTMLLabel_HyperlinkClick(int, std::string& href) { shell::OpenInBrowser(href); }

void FrmMain::lvFiles_ColumnClick(platform::ColumnHeader& column) {
    if (column.Index() == 1) {
        if (CheckHeaderImage == 0) CheckHeaderImage = 2;
        if (CheckHeaderImage == 2) {
            CheckHeaderImage = 3;
            EnhLitView_CheckAllItems(lvFiles.hWnd(), false);
        } else {
            CheckHeaderImage = 2;
            EnhLitView_UnCheckAllItems(lvFiles.hWnd(), false);
        }
        EnhListView_SetHeaderImage(lvFiles.hWnd(), 0, CheckHeaderImage, true);
        return;
    }
    // Each column keeps its own direction in its tag; a second click on the
    // sort column turns it over.
    if (lvFiles.SortKey() == column.Index() - 1) {
        const long tag = std::atol(column.tag.c_str());
        column.tag = tag == 0 ? "-1" : "0";
    }
    const int order = static_cast<int>(std::labs(std::atol(column.tag.c_str())));
    lvFiles.SetSortOrder(order);
    lvFiles.SetSortKey(column.Index() - 1);
    lvFiles.SetSorted(true);
    columnSorter_.SetHeaderIcons(lvFiles.SortKey(), lvFiles.SortOrder());
    sortColumn_ = lvFiles.SortKey();
    sortDirection_ = lvFiles.SortOrder();
}

void FrmMain::lvFiles_DblClick(int) {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(lvFiles.hWnd(), &p);
    if (lvFiles.HitTest(forms::Screen.ToTwipsX(p.x), forms::Screen.ToTwipsY(p.y)) == nullptr) return;
    const int16_t method = GetSettingInteger(Store(), mainwindow::kOptionsSection, "Play Method", 1);
    const std::string key = SelectedKey();
    if (key.empty()) return;
    switch (method) {
    case 0:
        shell::gMedia().media().MP3Play(key);
        break;
    case 1:
        shell::OpenWithAssociatedApp(key);
        break;
    case 2: {
        // "Check or Uncheck the file!": the row under the pointer turns its
        // tick over, which is what the options dialog promises.
        platform::ListItem* row = lvFiles.SelectedItem();
        if (row != nullptr) row->SetChecked(!row->Checked());
        break;
    }
    default:
        break;
    }
}

// A right click shows the list menu, with Play and Stop only over a row. A
// click on empty space also takes the selection away, which the panel
// follows.
void FrmMain::lvFiles_MouseUp(int, int button, int, int, int) {
    FollowSelection();
    if (button != forms::kRightButton) return;
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(lvFiles.hWnd(), &p);
    const int x = forms::Screen.ToTwipsX(p.x), y = forms::Screen.ToTwipsY(p.y);
    if (lvFiles.HitTest(x, y) == nullptr) {
        for (const char* key : {"mnuPlay", "mnuStop", "mnuSep"}) m_PopupMenu.RemoveItem(key);
    } else if (m_PopupMenu.IndexForKey("mnuPlay") == 0) {
        m_PopupMenu.InsertItem("-", 1, "", 0, -1, false, true, "mnuSep");
        m_PopupMenu.InsertItem("Stop", 1, "", 0, -1, false, true, "mnuStop");
        m_PopupMenu.InsertItem("Play", 1, "", 0, -1, false, true, "mnuPlay");
    }
    m_PopupMenu.Show(x, y, 0, 0, 0, 0, true);
}

void FrmMain::lvFiles_KeyUp(int, int&, int) { FollowSelection(); }

// The list reports a newly selected row but not a selection that is gone:
// the panel is emptied and the apply button greyed then.
void FrmMain::FollowSelection() {
    if (SelectedKey().empty() && Command2(0).Enabled()) UpdateDisplay(cboVersion.ListIndex());
}

// The list menu's and the field drop-downs' part of the row-dependent state.
void FrmMain::UpdateListMenus() {
    const bool rows = lvFiles.ListItems.Count() > 0;
    ExtenderButton1.ForEach([rows](controls::ExtenderButton& b) { b.SetEnabled(rows); });
    for (const char* key : {"mnuLocate", "mnuDelete", "mnuRename", "mnuExport", "mnuComma"}) {
        const int32_t index = m_PopupMenu.IndexForKey(key);
        if (index > 0) m_PopupMenu.SetEnabled(index, rows);
    }
}

void FrmMain::m_FlatHeader_BeginDrag(long column, bool& cancel) { cancel = column == 1; }

void FrmMain::m_FlatHeader_BeginTrack(long column, bool& cancel) {
    if (column == 0) return;
    cancel = mainwindow::CancelColumnTrack(column, lvFiles.ColumnHeaders(static_cast<int>(column)).Width());
}

void FrmMain::m_FlatHeader_EndTrack(long column, long) {
    if (column == 0 || lvFiles.ColumnHeaders(static_cast<int>(column)).Width() != 0) return;
    if (column >= 3) m_PopupColMenu.SetChecked(static_cast<int32_t>(column - 2), false);
}

void FrmMain::m_FlatHeader_RightClick(long x, long y) {
    m_PopupColMenu.Show(static_cast<int32_t>(x), static_cast<int32_t>(y), 0, 0, 0, 0, true);
}

void FrmMain::m_PopupColMenu_Click(int32_t index) {
    const bool shown = !m_PopupColMenu.Checked(index);
    m_PopupColMenu.SetChecked(index, shown);
    shell::LockWindow(lvFiles.hWnd(), true);
    lvFiles.ColumnHeaders(index + 2).SetWidth(shown ? mainwindow::kShownColumnWidth : 0);
    shell::LockWindow(lvFiles.hWnd(), false);
}

}  // namespace corvella
