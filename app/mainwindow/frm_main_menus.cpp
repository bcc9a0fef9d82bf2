// Menus, toolbars, list columns, the view mode and the tips of the main
// window.
#include "app/mainwindow/frm_main.h"

#include <cstdio>

#include "app/foundation/random_pick.h"
#include "app/foundation/tags/field_table.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "app/foundation/win32/shell/help.h"
#include "app/foundation/win32/shell/launch.h"
#include "app/foundation/win32/shell/window_helpers.h"

namespace corvella {

namespace {

// A menu item: its depth (0 top level, 1 under the last top item, 2 under
// the last depth-1 item), caption, key and check mark. A top item's
// `store` files the items since the last one under that name; `image` is
// the key of its picture in the menu's image list.
struct MenuLine {
    int depth;
    const char* caption;
    const char* key;
    bool checked;
    const char* store;
    const char* image = nullptr;
};

const MenuLine kMainMenu[] = {
    {0, "&File", "", false, nullptr},
    {1, "&Rename File(s)...", "mnuRename", false, nullptr},
    {1, "FreeDB Audio-Disc Lookup...", "mnuCDDB", false, nullptr},
    {1, "&File Sorting Wizard...", "mnuSort", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "Export Data To...", "", false, nullptr},
    {2, "&Music Playlist File (.M3U)...", "mnuPlayList", false, nullptr},
    {2, "&Windows CSV File (.CSV)...", "mnuComma", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "&Encode Audio CD-Rom...", "mnuMP3", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "E&xit", "mnuExit", false, "File"},
    {0, "&View", "", false, nullptr},
    {1, "Status Bar", "mnuStatusBar", true, nullptr},
    {1, "Folders", "mnuFolders", true, nullptr},
    {1, "Tip of the Day", "mnuTipOfDay", true, nullptr},
    {1, "-", "", false, nullptr},
    {1, "Tag Version", "mnuMainTagVersion", false, nullptr},
    {2, "Version 1", "mnuTagVersion(0)", false, nullptr},
    {2, "Version 2", "mnuTagVersion(1)", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "Refresh\tF5", "mnuRefresh", false, "view"},
    {0, "&Media", "", false, nullptr},
    {1, "Play", "mnuPlay", false, nullptr},
    {1, "Stop", "mnuStop", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "Open with Default &Application...", "mnuOpenDefault", false, "Media"},
    {0, "&Tools", "", false, nullptr},
    {1, "Recursive Searching", "mnuRecursive", true, nullptr},
    {1, "-", "", false, nullptr},
    {1, "&Program Options...", "mnuOptions", false, "tools"},
    {0, "&Help", "", false, nullptr},
    {1, "Display the &Help File...", "mnuHelp", false, nullptr, "Help"},
    {1, "-", "", false, nullptr},
    {1, "&Contact the Developer...", "mnuContact", false, nullptr},
    {1, "&\x01 on the Internet...", "mnuInternet", false, nullptr},
    {2, "&Download...", "mnuHelpInternet(0)", false, nullptr},
    {2, "-", "", false, nullptr},
    {2, "&\x01 Homepage...", "mnuHelpInternet(2)", false, nullptr},
    {2, "&Velmora Homepage...", "mnuHelpInternet(3)", false, nullptr},
    {1, "-", "", false, nullptr},
    {1, "&About...", "mnuAbout", false, "help"},
};

const MenuLine kListMenu[] = {
    {0, "Play", "mnuPlay", false, nullptr},
    {0, "Stop", "mnuStop", false, nullptr},
    {0, "-", "mnuSep", false, nullptr},
    {0, "&Delete File...", "mnuDelete", false, nullptr},
    {0, "&Rename Files...", "mnuRename", false, nullptr},
    {0, "-", "", false, nullptr},
    {0, "Export To...", "", false, nullptr},
    {1, "&Music Playlist File (.M3U)...", "mnuExport", false, nullptr},
    {1, "&Windows CSV File (.CSV)...", "mnuComma", false, nullptr},
    {0, "-", "", false, nullptr},
    {0, "&Locate File...", "mnuLocate", false, "Popup"},
};

const MenuLine kViewMenu[] = {
    {0, "Large Icons", "mnuView(0)", false, nullptr},
    {0, "Small Icons", "mnuView(1)", false, nullptr},
    {0, "List", "mnuView(2)", false, nullptr},
    {0, "Details", "mnuView(3)", false, nullptr},
    {0, "-", "", false, nullptr},
    {0, "Refresh", "mnuRefresh", false, "View"},
};

const MenuLine kExportMenu[] = {
    {0, "&Music Playlist File (.M3U)...", "mnuPlayList", false, nullptr},
    {0, "&Windows CSV File (.CSV)...", "mnuComma", false, "Export"},
};

// "\x01" in a caption stands for the program's title.
std::string Expand(const char* caption) {
    std::string text = caption;
    const size_t at = text.find('\x01');
    if (at != std::string::npos) text.replace(at, 1, forms::App.Title());
    return text;
}

template <size_t N>
void Build(platform::PopupMenu& menu, const MenuLine (&lines)[N], const forms::ImageList* images = nullptr) {
    int32_t parents[3] = {0, 0, 0};
    for (const MenuLine& line : lines) {
        const int32_t parent = line.depth == 0 ? 0 : parents[line.depth - 1];
        const int32_t image = line.image != nullptr && images != nullptr ? images->IndexOf(line.image) - 1 : -1;
        const int32_t index =
            menu.AddItem(Expand(line.caption), "", 0, parent, image, line.checked, true, line.key);
        parents[line.depth] = index;
        const std::string key = line.key;
        if (key == "mnuTagVersion(0)" || key == "mnuView(0)") menu.SetOptionGroupStart(index, true);
        if (line.store != nullptr) menu.Store(line.store);
    }
}

// The main toolbar: key, picture (its key in `imlToolBar`), style, caption
// and tooltip. The pictures say what a button does; only the folder
// button, a toggle, names its bar beside its picture.
struct ButtonLine {
    const char* key;
    const char* image;
    int style;
    const char* caption;
    const char* tooltip;
};

const ButtonLine kMainButtons[] = {
    {"btnRename", "Rename", 16, "", "Rename Files based on their ID3 Tag information"},
    {"btnCDDB", "CDDB", 16, "", "Lookup ID3 Tag information on the Internet"},
    {"btnSort", "Sort", 16, "", "Sort files into folders based on their ID3 Tag information"},
    {"btnCase", "Case", 16, "", "Case the text case of ID3 Tags"},
    {"btnExport", "Export", 144, "", "Export Data to a Music Playlist or CSV File"},
    {"", "", 1, "", ""},
    {"btnCDRip", "CDRip", 16, "", "Convert an audio CD-Rom into MP3 format"},
    {"", "", 1, "", ""},
    {"btnFolders", "Folder", 18, "Folders", "Shows or hides the Folder Bar"},
    {"", "", 1, "", ""},
    {"btnHelp", "Help", 16, "", "Display the help file for \x01"},
};

// Keys whose buttons and items need rows in the list.
const char* const kListCommands[] = {"btnRename", "btnCase", "btnExport", "btnCDDB"};
const char* const kListMenuItems[] = {"mnuRename", "mnuPlayList", "mnuComma", "mnuCDDB",
                                      "mnuPlay", "mnuStop", "mnuOpenDefault"};

}  // namespace

void FrmMain::BuildToolbars() {
    // The bars' close buttons and the tag-bar toggle.
    if (imlX.Count() == 0) LoadPictures(imlX, PictureSet::kClose);
    for (platform::Toolbar* bar : {&Toolbar2, &Toolbar3, &Toolbar5}) {
        bar->SetButtonSize(10);
        bar->SetImageList(imlX, platform::kNormalImages);
    }
    Toolbar2.AddButton("12", 0, "", 0);
    Toolbar3.AddButton("12", 0, "", 0);
    Toolbar5.AddButton("12", 2, "", 0);
    ToolbarHost1.Attach(Toolbar2);
    ToolbarHost2.Attach(Toolbar3);
    ToolbarHost4.Attach(Toolbar5);

    // Menu captions stand alone, in one line like a window's menu bar.
    MenuBar.SetButtonSize(1, true);
    MenuBar.SetMenu(m_popup);
    MenuBar.SetMenuButtonWidths(100, 50);
    // Coloured pictures under the pointer, greyed ones otherwise.
    if (imlToolBar.Count() == 0) LoadPictures(imlToolBar, PictureSet::kToolbarHot);
    if (ImageList3.Count() == 0) LoadPictures(ImageList3, PictureSet::kToolbarNormal);
    Toolbar1.SetButtonSize(16, true);
    Toolbar1.SetImageList(imlToolBar, platform::kHotImages);
    Toolbar1.SetImageList(ImageList3, platform::kNormalImages);
    for (const ButtonLine& b : kMainButtons) {
        const int image = *b.image != '\0' ? imlToolBar.IndexOf(b.image) - 1 : -1;
        Toolbar1.AddButton(b.key, b.style, b.caption, image, Expand(b.tooltip));
    }
    MenuBar.Create(*this);
    Toolbar1.Create(*this);
    Picture1.SetHeight(cboVersion.Height() + 2 * forms::Screen.ToTwipsY(1));

    ReBar1.SetBandBorders(0);
    ReBar1.Attach(hWnd());
    ReBar1.AddBand(MenuBar.hWnd(), "", true, false, "MenuBar");
    ReBar1.AddBand(Picture1.hWnd(), "", true, true, "VersionFilter");
    ReBar1.AddBand(Toolbar1.hWnd(), "", true, false, "Toolbar");
}

void FrmMain::BuildMenus() {
    m_PopupExport.SetOwner(hWnd());
    Build(m_PopupExport, kExportMenu);
    m_popup.SetOwner(hWnd());
    if (imlMenu.Count() == 0) LoadPictures(imlMenu, PictureSet::kMenu);
    m_popup.SetImageList(imlMenu.hImageList());
    m_popup.Clear();
    Build(m_popup, kMainMenu, &imlMenu);
    m_PopupMenu.SetOwner(lvFiles.hWnd());
    Build(m_PopupMenu, kListMenu);
    m_PopupViewMenu.SetOwner(hWnd());
    Build(m_PopupViewMenu, kViewMenu);
    m_PopupColMenu.SetOwner(lvFiles.hWnd());
    // Every column but Title, which always shows.
    for (int column = 2; column <= 11; ++column) {
        const std::string n = tags::FieldOfColumn(column)->caption;
        m_PopupColMenu.AddItem(n, "", 0, 0, -1, true, true, n);
    }
    m_PopupColMenu.AddItem("Full Path", "", 0, 0, -1, true, true, "Filename");
}

void FrmMain::BuildColumns() {
    lvFiles.ColumnHeaders.Add("checked", "", 160);
    for (int column = 1; column <= 11; ++column) {
        const char* n = tags::FieldOfColumn(column)->caption;
        lvFiles.ColumnHeaders.Add(n, n);
    }
    lvFiles.ColumnHeaders.Add("Filename", "Full Path");
}

void FrmMain::SetMenuChecked(const std::string& key, bool checked) {
    const int32_t index = m_popup.IndexForKey(key);
    if (index > 0) m_popup.SetChecked(index, checked);
}

void FrmMain::SetViewMode(int32_t mode) {
    const std::string key = "mnuView(" + std::to_string(mode) + ")";
    for (platform::PopupMenu* menu : {&m_popup, &m_PopupMenu, &m_PopupViewMenu}) {
        const int32_t index = menu->IndexForKey(key);
        if (index > 0) menu->SetOptionChoice(index);
    }
    lvFiles.SetView(mode);
    lvFiles.Refresh();
}

void FrmMain::UpdateToolbarButtons() {
    const bool rows = lvFiles.ListItems.Count() > 0;
    for (const char* key : kListCommands) Toolbar1.SetButtonEnabled(key, rows);
}

void FrmMain::UpdateMenus() {
    const bool rows = lvFiles.ListItems.Count() > 0;
    for (const char* key : kListMenuItems) {
        const int32_t index = m_popup.IndexForKey(key);
        if (index > 0) m_popup.SetEnabled(index, rows);
    }
    UpdateToolbarButtons();
    UpdateListMenus();
}

// RunCommand, the dispatch of every key: frm_main_commands.cpp.
void FrmMain::m_popup_Click(int32_t index) { RunCommand(m_popup.ItemKey(index)); }
void FrmMain::m_PopupViewMenu_Click(int32_t index) { RunCommand(m_PopupViewMenu.ItemKey(index)); }

void FrmMain::Toolbar1_ButtonClick(int& button) {
    Toolbar1.SetHot(false);
    RunCommand(Toolbar1.ButtonKey(button));
}

bool FrmMain::LoadTips(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // A file that cannot be read counts as a missing one.
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::string content;
    char buffer[4096];
    size_t n = 0;
    bool failed = false;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
    failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return false;
    for (std::string& tip : mainwindow::SplitTipLines(content)) Tips.push_back(std::move(tip));
    return true;
}

void FrmMain::lblMoreTips_Click(int) {
    if (Tips.empty()) return;
    const int32_t pick = foundation::RandomNoRepeat(1, static_cast<int32_t>(Tips.size()));
    if (pick < 1 || pick > static_cast<int32_t>(Tips.size())) return;
    lastTip_ = pick;
    HTMLLabel.SetDocumentHTML(mainwindow::WrapTipHtml(Tips[pick - 1]));
    HTMLLabel.Refresh(false);
}

}  // namespace corvella
