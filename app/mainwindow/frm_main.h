// frmMain, the main window: the folder tree, the file list with the tag
// fields of the shown version as columns, the tip pane and the tag side bar
// between the rebar (menu bar, version box, main toolbar) and the status bar.
//
// Files by concern: frm_main_design.cpp (the controls, named once),
// frm_main.cpp (wiring, load and close), frm_main_listing.cpp (folder
// choice, the deferred listing, version switch, edit panel),
// frm_main_layout.cpp (panes, splitters, bars), frm_main_menus.cpp (menus,
// toolbars, view mode, tips), frm_main_commands.cpp (the dispatch of every
// key, delete, locate, playlist), frm_main_events.cpp (edit panel and list
// events, header, column menu), frm_main_fieldmenu.cpp (the field menu),
// frm_main_apply.cpp (the apply run from the panel).
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controls/extenderbutton/extender_button.h"
#include "app/controls/flatbox/flat_box.h"
#include "app/controls/flatheader/flat_header.h"
#include "app/controls/hosted/common_dialog.h"
#include "app/controls/htmllabel/win32/html_label.h"
#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/foundation/win32/listview/column_sort.h"
#include "app/mainwindow/core/layout_settings.h"
#include "app/mainwindow/core/listing.h"
#include "app/mainwindow/core/main_layout.h"
#include "libs/common/com/com_ptr.h"
#include "libs/common/com/event_sink.h"
#include "platform/foldertree/folder_tree.h"
#include "platform/forms/forms.h"
#include "platform/forms/image_list.h"
#include "platform/listview/list_view.h"
#include "platform/popupmenu/popup_menu.h"
#include "platform/statusbar/status_bar.h"
#include "platform/toolbar/common_toolbar.h"
#include "platform/toolbar/toolbar.h"

namespace corvella {

// What start-up hands the window for the whole run: the shared tag objects
// as the tag pair every tool gets too, and the genre names.
struct MainWindowShared {
    tags::TagPair tags;
    const std::vector<std::string>* genres = nullptr;
};

class FrmMain : public forms::Form {
public:
    // ---- the rebar and its bands ----
    platform::ReBar ReBar1;
    platform::Toolbar MenuBar;
    forms::PictureBox Picture1;
    forms::ComboBox cboVersion;
    platform::Toolbar Toolbar1;
    platform::StatusBar SB1;

    // ---- the pane container ----
    forms::PictureBox picContainer;
    forms::PictureBox picFolderContainer;
    forms::Label FolderHeader;
    platform::ToolbarHost ToolbarHost2;
    platform::Toolbar Toolbar3;
    platform::FolderTree FTVWFiles;
    forms::Image imgSplitter;
    forms::PictureBox picSplitter;
    forms::PictureBox picLVContainer;
    platform::ListView lvFiles;
    forms::Image imgSplitterH;
    forms::PictureBox picSplitterH;
    forms::PictureBox picQEditContainer;
    forms::Label TipBarHeader;
    platform::ToolbarHost ToolbarHost1;
    platform::Toolbar Toolbar2;
    htmllabel::HtmlLabel HTMLLabel;
    forms::Label lblMoreTips;

    // ---- the tag side bar ----
    forms::PictureBox picSideBar;
    controls::FlatBoxContainer FlatBoxContainer1;
    platform::ToolbarHost ToolbarHost4;
    platform::Toolbar Toolbar5;
    forms::PictureBox Picture3;
    forms::ControlArray<forms::Label> lblField{"lblField"};
    forms::ControlArray<forms::TextBox> txtField{"txtField"};
    forms::ControlArray<platform::CommonToolbar> Toolbar4{"Toolbar4"};
    forms::ComboBox cboGenre;
    forms::PictureBox Picture4;  // the ID3v2-only rows
    forms::PictureBox Picture2;  // buttons and options under the rows
    forms::ControlArray<forms::CommandButton> Command2{"Command2"};
    forms::CheckBox chkUpdateBoth;
    forms::CheckBox chkEllipsis;

    // ---- image lists ----
    forms::ImageList iml32Temp, iml16Temp, imlFolder, imlHeader, imlCheck, imlToolBar, ImageList3,
        imlMenu, imlX;

    // ---- menus ----
    platform::PopupMenu m_popup, m_PopupMenu, m_PopupColMenu, m_PopupViewMenu, m_FieldPopupMenu,
        m_PopupExport;

    // ---- state other parts read ----
    std::string CurrentFolder;  // the folder listed ("Desktop" as its path)
    int32_t TagVersion = 0;
    bool RecursiveSearch = false;
    bool FormLoaded = false;
    bool LocatePending = false;
    std::string LocateKey;
    int32_t CheckHeaderImage = 0;
    std::vector<std::string> FolderHistory;
    std::vector<std::string> Tips;

    FrmMain();
    ~FrmMain() override;

    // Start-up hands these over before the load; the settings store is the
    // registry's in the program and may be another in tests.
    void SetShared(const MainWindowShared& shared) { shared_ = shared; }
    void SetSettingsStore(SettingsStore* store) { store_ = store; }

    void ShowFiles(const std::string& path, bool showInfo);
    void ListMP3Files(const std::string& folder, bool recursive, int32_t tagVersion);
    void ToggleTagVersion(int32_t version);
    void UpdateDisplay(int32_t version);
    void UpdateVersionDisplay(int32_t version);
    void UpdateMenus();
    bool LoadTips(const std::string& path);
    bool NoFieldSelected();
    bool ListingRunning() const { return trigger_.Running(); }
    // Runs the command of a menu item or toolbar button key.
    void RunCommand(const std::string& key);

    // ---- the edit panel's menus, commands and apply (frm_main_commands.cpp,
    // frm_main_events.cpp, frm_main_fieldmenu.cpp, frm_main_apply.cpp) ----
    forms::ControlArray<controls::ExtenderButton> ExtenderButton1{"ExtenderButton1"};
    controls::CFlatHeader m_FlatHeader;
    int32_t CurrentField = 0;  // the field whose drop-down was pressed last

    // Opens a tool window modally over `owner` with the files of the list
    // and the shared tag pair; the tool answers what it changed, which the
    // window then applies to its list. A tool is connected by one
    // ConnectTool line with its form's name ("frmRenameFiles"); the command
    // keys that open it stand in the window's command table.
    using ToolOpener =
        std::function<ToolResult(forms::Form& owner, const FileSet& files, const tags::TagPair& tags)>;
    static void ConnectTool(const std::string& form, ToolOpener open);
    // The quick-extract window: prepared with the text to split and the flag
    // (1 a file name, 0 a folder name), shown modally; its result, nullopt
    // when the user cancelled.
    using QuickExtractOpener =
        std::function<std::optional<std::string>(forms::Form& owner, const std::string& text, int flag)>;
    static void ConnectQuickExtract(QuickExtractOpener open);
    // The files the list shows, in list order, with the folder, the shown
    // version and the selected row: what every command on the list and
    // every tool works on.
    FileSet Files() const;
    // What a tool changed, applied to the list: renamed rows get their new
    // key and sub-item 12, rewritten tags are read again in the shown
    // version, and the folder is listed again when asked.
    void ApplyToolResult(const ToolResult& result);
    // True when a command key has a handler (the tool keys included).
    bool HasCommand(const std::string& key) const;
    void UpdateFieldMenu();
    // Runs the apply as the apply button does; nothing without a selected row.
    void ApplyID3Update();

private:
    friend struct FrmMainCommands;
    void Design();  // frm_main_design.cpp
    void Wire();

    // ---- load and close (frm_main.cpp) ----
    void Form_Load_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    bool Form_WindowProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void RestoreLayout();
    void RestoreColumns();
    void SaveLayout();
    mainwindow::LayoutLimits Limits() const;

    // ---- listing (frm_main_listing.cpp) ----
    void FTVWFiles_FolderSelected(const platform::FolderItem& folder);
    void m_Timer_Timer(int index);
    void lvFiles_ItemClick(platform::ListItem& item);
    void cboVersion_Click(int index);
    void ClearPanel();
    // The listing itself; the names the search had to leave out go to
    // `unreachable`, for one message once the list can be drawn again.
    void FillList(const std::string& folder, bool recursive, int32_t tagVersion,
                  std::vector<std::string>& unreachable);
    std::vector<std::string> ReadCells(int32_t version, const std::string& path, bool& read);

    // ---- layout (frm_main_layout.cpp) ----
    void Form_Resize_();
    void picContainer_Resize(int index);
    void picFolderContainer_Resize(int index);
    void picLVContainer_Resize(int index);
    void picQEditContainer_Resize(int index);
    void picSideBar_Resize(int index);
    void ReBar1_HeightChanged(long height);
    void ArrangeVerticalSplit(int32_t x);
    void ArrangeHorizontalSplit(int32_t y);
    void imgSplitter_MouseDown(int index, int button, int shift, int x, int y);
    void imgSplitter_MouseMove(int index, int button, int shift, int x, int y);
    void imgSplitter_MouseUp(int index, int button, int shift, int x, int y);
    void imgSplitterH_MouseDown(int index, int button, int shift, int x, int y);
    void imgSplitterH_MouseMove(int index, int button, int shift, int x, int y);
    void imgSplitterH_MouseUp(int index, int button, int shift, int x, int y);
    void ShowFolderBar(bool visible);
    void ShowTipBar(bool visible);
    void ShowStatusBar(bool visible);
    void UpdateTagBar();
    void Toolbar5_ButtonClick(int& button);
    void Toolbar2_ButtonClick(int& button);
    void Toolbar3_ButtonClick(int& button);
    void Toolbar4_ButtonClick(int index, platform::ToolbarButton& button);
    void SetCheckColumnWidth();

    // ---- menus, toolbars, tips (frm_main_menus.cpp) ----
    void BuildMenus();
    void BuildToolbars();
    void BuildColumns();
    void SetViewMode(int32_t mode);
    void UpdateToolbarButtons();
    void m_popup_Click(int32_t index);
    void m_PopupViewMenu_Click(int32_t index);
    void Toolbar1_ButtonClick(int& button);
    void lblMoreTips_Click(int index);
    void SetMenuChecked(const std::string& key, bool checked);

    SettingsStore& Store();

    // ---- edit panel, list events, field menu, commands, apply ----
    void DesignPart2();
    void WirePart2();
    void LoadPart2();
    void Command2_Click(int index);
    void cboGenre_KeyPress(int index, int& keyAscii);
    void chkUpdateBoth_Click(int index);
    void chkEllipsis_Click(int index);
    void ExtenderButton1_Click(int index);
    void Form_KeyDown_(int& keyCode, int shift);
    void Form_KeyUp_(int& keyCode, int shift);
    void HTMLLabel_HyperlinkClick(int index, std::string& href);
    void lvFiles_ColumnClick(platform::ColumnHeader& column);
    void lvFiles_DblClick(int index);
    void lvFiles_MouseUp(int index, int button, int shift, int x, int y);
    void lvFiles_KeyUp(int index, int& keyCode, int shift);
    void FollowSelection();
    void UpdateListMenus();
    void m_FlatHeader_BeginDrag(long column, bool& cancel);
    void m_FlatHeader_BeginTrack(long column, bool& cancel);
    void m_FlatHeader_EndTrack(long column, long width);
    void m_FlatHeader_RightClick(long x, long y);
    void m_PopupMenu_Click(int32_t index);
    void m_PopupColMenu_Click(int32_t index);
    void m_PopupExport_Click(int32_t index);
    void m_FieldPopupMenu_Click(int32_t index);
    void Toolbar1_ButtonDropDown(int& button, int x, int y);
    void WriteField(const std::string& text);
    std::string ExtractFieldFromFile(int32_t version, int32_t field);
    void SavePlaylist();
    void DeleteSelectedFile();
    void LocateSelectedFile();
    void ShowMainHelp();
    bool OpenTool(const std::string& key);
    bool QuickExtractConnected() const;
    std::optional<std::string> RunQuickExtract(const std::string& text, int flag);
    std::string SelectedKey() const;
    void FollowOptions();
    forms::HookedCommonDialog m_cHookDlg{*this};  // every file dialog opens centred on the window
    foundation::CColumnSort columnSorter_;  // the sort arrow; set up by the load

    // True once start-up has handed both tag objects.
    bool HasTags() const { return shared_.tags.id3v1 != nullptr && shared_.tags.id3v2 != nullptr; }
    MainWindowShared shared_;
    SettingsStore* store_ = nullptr;
    std::unique_ptr<SettingsStore> ownStore_;
    std::unique_ptr<forms::Timer> m_Timer;
    mainwindow::ListingTrigger trigger_;
    FlatLook flat_;
    int32_t sortColumn_ = 1;
    int32_t sortDirection_ = 0;
    int32_t splitLimit_ = mainwindow::kSplitLimit;
    bool draggingV_ = false, draggingH_ = false;
    int32_t lastTip_ = 0;
    bool closing_ = false;
    bool settingVersion_ = false;  // the version box set from code
};

// The default instance.
FrmMain& frmMain();

}  // namespace corvella
