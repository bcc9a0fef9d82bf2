// The command dispatch of the main window: every key of the menu bar, the
// list menu, the view and export menus and the main toolbar reaches one
// table; the tool windows open through openers that the program connects.
// Also the commands that act on the selected row (delete, locate) and the
// playlist with its save dialog.
#include <windows.h>
#include <shellapi.h>

#include <map>

#include "app/foundation/paths.h"
#include "app/foundation/win32/shell/playback_win32.h"
#include "app/foundation/win32/shell/help.h"
#include "app/foundation/win32/shell/launch.h"
#include "app/mainwindow/apply/tag_apply.h"
#include "app/mainwindow/core/edit_panel.h"
#include "app/mainwindow/frm_main.h"
#include "app/mainwindow/main_dialogs.h"
#include "app/mainwindow/playlist/playlist.h"
#include "platform/forms/automation.h"
#include "libs/common/storage/storage.h"

namespace corvella {

using namespace foundation;

namespace {

FrmMain::QuickExtractOpener& QuickExtract() {
    static FrmMain::QuickExtractOpener opener;
    return opener;
}

// The maker's pages, by the index of the "mnuHelpInternet(n)" key.
const char kMakerSite[] = "http://www.velmora.com";
const char* const kMakerPages[] = {"/id3/download.asp", "/id3/support.asp", "/id3", ""};

}  // namespace

// What a key does: the window's own handler, or the form of the tool it
// opens, with the opener the program connected for that form (none yet:
// the key opens nothing).
struct FrmMainCommand {
    using Run = void (*)(FrmMain&);
    // The window's own handlers stand in the table as lambdas.
    template <typename F>
    FrmMainCommand(F handler) : run(handler) {}
    FrmMainCommand(Run handler, const char* toolForm) : run(handler), form(toolForm) {}
    Run run = nullptr;
    const char* form = nullptr;
    FrmMain::ToolOpener open;
};

// Every command key of the window. Keys are compared exactly; a key that is
// not here does nothing.
struct FrmMainCommands {
    static std::map<std::string, FrmMainCommand>& Table() {
        static std::map<std::string, FrmMainCommand> table = {
            {"mnuExit", [](FrmMain& f) { f.Unload(forms::kUnloadControlMenu); }},
            {"mnuStatusBar", [](FrmMain& f) { f.ShowStatusBar(!f.SB1.Visible()); }},
            {"mnuFolders", [](FrmMain& f) { f.ShowFolderBar(!f.picFolderContainer.Visible()); }},
            {"btnFolders", [](FrmMain& f) { f.ShowFolderBar(f.Toolbar1.Pressed("btnFolders")); }},
            {"mnuTipOfDay", [](FrmMain& f) { f.ShowTipBar(!f.picQEditContainer.Visible()); }},
            {"mnuTagVersion(0)", [](FrmMain& f) { f.ToggleTagVersion(0); }},
            {"mnuTagVersion(1)", [](FrmMain& f) { f.ToggleTagVersion(1); }},
            {"mnuView(0)", [](FrmMain& f) { f.SetViewMode(0); }},
            {"mnuView(1)", [](FrmMain& f) { f.SetViewMode(1); }},
            {"mnuView(2)", [](FrmMain& f) { f.SetViewMode(2); }},
            {"mnuView(3)", [](FrmMain& f) { f.SetViewMode(3); }},
            {"mnuRecursive",
             [](FrmMain& f) {
                 f.RecursiveSearch = !f.RecursiveSearch;
                 f.SetMenuChecked("mnuRecursive", f.RecursiveSearch);
                 f.ShowFiles(f.FTVWFiles.Path(), false);
             }},
            // Repaints; the folder is not listed again.
            {"mnuRefresh", [](FrmMain& f) { f.lvFiles.Refresh(); }},
            {"mnuPlayList", [](FrmMain& f) { f.SavePlaylist(); }},
            {"mnuExport", [](FrmMain& f) { f.SavePlaylist(); }},
            {"btnExport", [](FrmMain& f) { f.SavePlaylist(); }},
            // The main window's topic in the help file's own window (F1 too).
            {"mnuHelp", [](FrmMain& f) { f.ShowMainHelp(); }},
            {"btnHelp", [](FrmMain& f) { f.ShowMainHelp(); }},
            {"mnuAbout", [](FrmMain& f) { mainwindow::ShowAboutBox(f); }},
            {"mnuOptions",
             [](FrmMain& f) {
                 mainwindow::ShowOptionsDialog(f);
                 f.FollowOptions();
             }},
            {"mnuPlay",
             [](FrmMain& f) {
                 const std::string key = f.SelectedKey();
                 if (!key.empty()) shell::gMedia().media().MP3Play(key);
             }},
            {"mnuStop", [](FrmMain&) { shell::gMedia().media().MP3Stop(); }},
            {"mnuOpenDefault",
             [](FrmMain& f) {
                 const std::string key = f.SelectedKey();
                 if (!key.empty()) shell::OpenWithAssociatedApp(key);
             }},
            {"mnuHelpInternet(0)", [](FrmMain&) { shell::OpenInBrowser(std::string(kMakerSite) + kMakerPages[0]); }},
            {"mnuHelpInternet(1)", [](FrmMain&) { shell::OpenInBrowser(std::string(kMakerSite) + kMakerPages[1]); }},
            {"mnuHelpInternet(2)", [](FrmMain&) { shell::OpenInBrowser(std::string(kMakerSite) + kMakerPages[2]); }},
            {"mnuHelpInternet(3)", [](FrmMain&) { shell::OpenInBrowser(std::string(kMakerSite) + kMakerPages[3]); }},
            {"mnuDelete", [](FrmMain& f) { f.DeleteSelectedFile(); }},
            {"mnuLocate", [](FrmMain& f) { f.LocateSelectedFile(); }},
            // The tools.
            Tool("mnuRename", "frmRenameFiles"),
            Tool("btnRename", "frmRenameFiles"),
            Tool("mnuComma", "frmCSV"),
            Tool("mnuCDDB", "frmCDDBCDChoice"),
            Tool("btnCDDB", "frmCDDBCDChoice"),
            Tool("mnuMP3", "frmMP3"),
            Tool("btnCDRip", "frmMP3"),
            Tool("mnuSort", "frmWizFileSorting"),
            Tool("btnSort", "frmWizFileSorting"),
            Tool("btnCase", "frmCase"),
            Tool("mnuDupe", "frmWizDuplicateFiles"),
            Tool("mnuExportWiz", "frmWizFileExport"),
            Tool("mnuContact", "frmWizComments"),
            Tool("mnuAddMore", "frmUserFields"),
        };
        return table;
    }
    static std::pair<const std::string, FrmMainCommand> Tool(const char* key, const char* form) {
        return {key, FrmMainCommand(nullptr, form)};
    }
};

// Every key that opens the form gets the opener.
void FrmMain::ConnectTool(const std::string& form, ToolOpener open) {
    for (auto& [key, command] : FrmMainCommands::Table())
        if (command.form != nullptr && form == command.form) command.open = open;
}
void FrmMain::ConnectQuickExtract(QuickExtractOpener open) { QuickExtract() = std::move(open); }

bool FrmMain::QuickExtractConnected() const { return static_cast<bool>(QuickExtract()); }
std::optional<std::string> FrmMain::RunQuickExtract(const std::string& text, int flag) {
    return QuickExtract()(*this, text, flag);
}

bool FrmMain::HasCommand(const std::string& key) const {
    return FrmMainCommands::Table().count(key) != 0;
}

FileSet FrmMain::Files() const {
    FileSet set;
    set.folder = FTVWFiles.Path();
    set.tagVersion = cboVersion.ListIndex();
    platform::ListItem* selected = lvFiles.ListItems.Count() > 0 ? lvFiles.SelectedItem() : nullptr;
    const int32_t count = lvFiles.ListItems.Count();
    set.rows.reserve(static_cast<size_t>(count));
    for (int32_t i = 1; i <= count; ++i) {
        platform::ListItem* row = lvFiles.ListItems(i);
        FileRow r;
        r.path = row->Key();
        r.ticked = row->Checked();
        for (int k = 1; k <= 11; ++k) r.cells.push_back(row->SubItem(k));
        if (row == selected) set.selected = i - 1;
        set.rows.push_back(std::move(r));
    }
    return set;
}

void FrmMain::ApplyToolResult(const ToolResult& result) {
    for (const auto& [from, to] : result.renamed) {
        platform::ListItem* row = lvFiles.ListItems(from);
        if (row == nullptr) continue;
        row->SetKey(to);
        row->SetSubItem(12, to);
    }
    // A new listing reads every row anyway; during a running listing it is
    // kept and starts when that one ends.
    if (result.listAgain) {
        ShowFiles(FTVWFiles.Path(), false);
    } else if (result.tagsRewritten) {
        ToggleTagVersion(cboVersion.ListIndex());
    }
}

// A tool key opens its window when the program has connected it; a tool
// not connected yet opens nothing, nor does one without the tag objects.
bool FrmMain::OpenTool(const std::string& key) {
    auto it = FrmMainCommands::Table().find(key);
    if (it == FrmMainCommands::Table().end() || it->second.form == nullptr) return false;
    if (!it->second.open || !HasTags()) return true;
    const ToolOpener open = it->second.open;  // the tool may connect another while open
    ApplyToolResult(open(*this, Files(), shared_.tags));
    return true;
}

// Failures of a command are reported and the window goes on.
void FrmMain::RunCommand(const std::string& key) {
    try {
        auto it = FrmMainCommands::Table().find(key);
        if (it == FrmMainCommands::Table().end()) return;
        if (it->second.run != nullptr) {
            it->second.run(*this);
            return;
        }
        OpenTool(key);
    } catch (const std::exception& e) {
        forms::MsgBox(forms::ErrorText(e.what(), "frmMain.RunCommand", 0), MB_OK);
    }
}

void FrmMain::m_PopupMenu_Click(int32_t index) { RunCommand(m_PopupMenu.ItemKey(index)); }
void FrmMain::m_PopupExport_Click(int32_t index) { RunCommand(m_PopupExport.ItemKey(index)); }

// The arrow of the export button: its menu under the button (the toolbar
// reports the point in twips of this window, where the menu shows).
void FrmMain::Toolbar1_ButtonDropDown(int& button, int x, int y) {
    if (Toolbar1.ButtonKey(button) == "btnExport") m_PopupExport.Show(x, y, 0, 0, 0, 0, true);
}

// The side bar's ellipsis box shows the option the dialog may have changed.
void FrmMain::FollowOptions() {
    apply::ApplyRequest settings;
    apply::ReadApplySettings(Store(), settings);
    chkEllipsis.SetValue(settings.ellipsis ? 1 : 0);
}

void FrmMain::ShowMainHelp() {
    shell::ShowHelpTopic(hWnd(), shell::kMainHelpContext, shell::kHelpWindowDefault);
}

std::string FrmMain::SelectedKey() const {
    platform::ListItem* row = lvFiles.ListItems.Count() > 0 ? lvFiles.SelectedItem() : nullptr;
    return row == nullptr ? std::string() : row->Key();
}

// The shell asks for confirmation; the row goes only when the file has.
void FrmMain::DeleteSelectedFile() {
    const FileSet files = Files();
    const FileRow* selected = files.SelectedRow();
    if (selected == nullptr) return;
    const std::string key = selected->path;
    std::string from = key;
    from.push_back('\0');  // the list ends with two NULs
    SHFILEOPSTRUCTA op{};
    op.hwnd = hWnd();
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.lpszProgressTitle = "Deleting File...";
    if (SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted && !PathExists(key)) {
        lvFiles.ListItems.Remove(files.selected + 1);
        FollowSelection();
        UpdateMenus();
    }
}

void FrmMain::LocateSelectedFile() {
    const FileSet files = Files();
    if (files.SelectedRow() == nullptr) return;
    const std::string key = files.SelectedRow()->path;
    LocateKey = key;
    const std::string folder = GetFolderPath(key);
    if (folder == AddBackslash(files.folder)) return;
    LocatePending = true;
    FTVWFiles.SetPath(folder);
}

void FrmMain::SavePlaylist() {
    try {
        const std::string current = CurrentFolder;
        forms::FileDialogRequest dialog;
        dialog.title = playlist::kDialogTitle;
        dialog.filter = playlist::kDialogFilter;
        dialog.flags = static_cast<long>(playlist::kDialogFlags);
        dialog.initDir = current;
        dialog.fileName = playlist::OfferedName(current);
        const std::string path = playlist::PlaylistPath(m_cHookDlg.Show(true, dialog));
        if (path.empty()) return;
        std::vector<std::string> keys;
        for (const FileRow& row : Files().rows) keys.push_back(row.path);
        std::string error;
        if (!playlist::WritePlaylist(platform_filesystem(), path, keys, error)) forms::MsgBox("Error: " + error, MB_OK);
    } catch (const forms::Error& e) {
        forms::MsgBox(std::string("Error: ") + e.what(), MB_OK);
    }
}

std::string FrmMain::ExtractFieldFromFile(int32_t version, int32_t field) {
    try {
        forms::FileDialogRequest dialog;
        dialog.title = "Select File...";
        dialog.filter = "Music Files (*.MP3)|*.mp3";
        dialog.flags = 0x1804;  // file and path must exist, hide read-only
        dialog.cancelError = true;
        dialog.initDir = CurrentFolder;
        const std::string file = m_cHookDlg.Show(false, dialog);
        if (!HasTags() || field < 0 || field >= tags::FieldCountOf(version)) return std::string();
        tags::TagObject& tag = shared_.tags.ForVersion(version);
        if (!tag.ReadTag(file)) return std::string();
        return mainwindow::ShownFieldText(field, tag.FieldText(field).value_or(""));
    } catch (const forms::Error& e) {
        forms::MsgBox(std::string("Error: ") + e.what(), MB_OK);
    }
    return std::string();
}

}  // namespace corvella
