// Folder choice, the deferred listing, the version switch and the edit panel.
#include "app/mainwindow/frm_main.h"

#include "app/mainwindow/frm_display_info.h"

#include "app/foundation/folder_search.h"
#include "app/foundation/paths.h"
#include "app/foundation/text_helpers.h"
#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "app/foundation/win32/shell/folders.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/foundation/tags/field_table.h"
#include "libs/common/scope/scope_exit.h"

namespace corvella {

using namespace foundation;

namespace {

// Redraw off for a window until the scope ends, also when it ends by an
// error: a listing that fails never leaves the list frozen.
class RedrawLock {
public:
    explicit RedrawLock(HWND window) : window_(window) { shell::LockWindow(window_, true); }
    ~RedrawLock() { shell::LockWindow(window_, false); }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    HWND window_;
};

// The search's folder reports go to the status bar; its yields run the
// program's messages.
class ListingSearchEvents : public shell::PumpingSearchEvents {
public:
    explicit ListingSearchEvents(platform::StatusBar& bar)
        : PumpingSearchEvents([] { forms::DoEvents(); }), bar_(bar) {}
    void SearchingDir(const std::string& folder, bool&) override {
        if (!throttle_.Due()) return;
        bar_.Panels("File").SetText(mainwindow::SearchingFolderText(folder));
        throttle_.Shown();
    }

private:
    platform::StatusBar& bar_;
    shell::PaintThrottle throttle_;
};

}  // namespace

void FrmMain::FTVWFiles_FolderSelected(const platform::FolderItem& folder) {
    ShowFiles(folder.Path(), false);
    FolderHistory.push_back(folder.Path());
}

void FrmMain::ShowFiles(const std::string& path, bool showInfo) {
    if (EqualsNoCase(path, "desktop")) {
        CurrentFolder = shell::GetSpecialFolder(hWnd(), 0);
    } else if (!PathExists(path)) {
        lvFiles.ListItems.Clear();
        return;
    } else {
        CurrentFolder = path;
    }
    if (CurrentFolder.empty() || !PathExists(CurrentFolder)) return;
    if (!m_Timer) {
        m_Timer = std::make_unique<forms::Timer>();
        m_Timer->name = "m_Timer";
        m_Timer->Tick = On(&FrmMain::m_Timer_Timer);
    }
    if (!m_Timer->Created() && !m_Timer->Create(*this)) return;
    trigger_.Arm();
    m_Timer->SetInterval(10);
    m_Timer->SetEnabled(true);
    if (showInfo) {
        frmDisplayInfo().Show(forms::kModal, this);
        frmDisplayInfo().SetShouldShow(showInfo);
        frmDisplayInfo().Unload();
    }
}

void FrmMain::m_Timer_Timer(int) {
    if (trigger_.Begin()) {
        // Ends the listing whatever way it returns: the guard is never left
        // set, and the timer stays armed for a folder chosen meanwhile.
        const auto end = OnScopeExit([this] {
            const bool again = trigger_.End();
            if (m_Timer) m_Timer->SetEnabled(again);
        });
        ListMP3Files(CurrentFolder, RecursiveSearch, TagVersion);
    }
    if (trigger_.TakeDueClose()) {
        Unload(forms::kUnloadControlMenu);
        return;
    }
    if (closing_) return;
    UpdateDisplay(cboVersion.ListIndex());
    UpdateToolbarButtons();
    UpdateMenus();
}

std::vector<std::string> FrmMain::ReadCells(int32_t version, const std::string& path, bool& read) {
    read = false;
    if ((version == 0 || version == 1) && HasTags()) {
        tags::TagObject& tag = shared_.tags.ForVersion(version);
        read = tag.ReadTag(path);
        return mainwindow::RowCells(version, read, path, [&tag](int k) { return tag.FieldText(k).value_or(""); });
    }
    return mainwindow::RowCells(version, false, path, [](int) { return std::string(); });
}

void FrmMain::ClearPanel() {
    for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9}) txtField(i).SetText("");
    cboGenre.SetText("");
    for (int i : {10, 11})
        if (txtField(i).Enabled()) txtField(i).SetText("");
}

void FrmMain::ListMP3Files(const std::string& folder, bool recursive, int32_t tagVersion) {
    std::vector<std::string> unreachable;
    FillList(folder, recursive, tagVersion, unreachable);
    if (!unreachable.empty() && !trigger_.ClosePending())
        forms::MsgBox(UnreachableNamesMessage(unreachable), MB_OK | MB_ICONINFORMATION);
}

void FrmMain::FillList(const std::string& folder, bool recursive, int32_t tagVersion,
                       std::vector<std::string>& unreachable) {
    lvFiles.ListItems.Clear();
    RedrawLock lock(picLVContainer.hWnd());
    // The list's own drawing too: a list view that draws keeps its scroll
    // bars and item rectangles up to date with every row added.
    RedrawLock listLock(lvFiles.hWnd());
    ClearPanel();
    Command2(0).SetEnabled(false);
    SB1.Panels(1).SetText(mainwindow::kSearchingForFiles);

    std::vector<std::string> files;
    {
        shell::Win32DirectoryLister lister;
        foundation::CFileSystem search(lister);
        ListingSearchEvents events(SB1);
        search.SetEvents(&events);
        search.SetFileExtenstions("*.mp3");
        search.SetRecursiveSubDirs(recursive);
        search.SetSearchPaths(folder);
        search.Search(files);
        unreachable = search.Unreachable();
    }
    // The window is closing: the rows would be thrown away at once.
    if (trigger_.ClosePending()) return;
    if (files.empty()) {
        SB1.Panels(1).SetText(mainwindow::kNoFilesFound);
        SB1.Panels(2).SetText("");
        return;
    }

    SB1.Panels(1).SetText(mainwindow::kLoadingFiles);
    const bool autoCheck = mainwindow::ReadAutoCheck(Store());
    shell::PaintThrottle fileText;
    const int32_t count = static_cast<int32_t>(files.size());
    for (int32_t i = 0; i < count; ++i) {
        const std::string& path = files[i];
        if (i + 1 == count || fileText.Due()) {
            SB1.Panels("File").SetText(mainwindow::ReadingFileText(i + 1, GetFileTitle(path, true)));
            fileText.Shown();
        }
        bool read = false;
        std::vector<std::string> cells = ReadCells(tagVersion, path, read);
        cells.resize(12);
        // The cells go in with the row: the list asks for their texts when it
        // draws, so filling a row costs no message per cell.
        platform::ListItem& row = lvFiles.ListItems.Add(path, "", 1, std::move(cells), autoCheck ? 2 : 1);
        if (i == 0) {
            EnhListView_SubItemImages(lvFiles.hWnd(), 1, 1, 0, true);
        }
        // The Title cell shows the MP3 icon.
        LVITEMA title{};
        title.mask = LVIF_IMAGE;
        title.iItem = row.Index() - 1;
        title.iSubItem = 1;
        title.iImage = 0;
        SendMessageA(lvFiles.hWnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&title));
    }
    // Once, with every row in; the first row below is then the top one.
    lvFiles.SortNow();
    SB1.Panels(1).SetText(mainwindow::FilesFoundText(lvFiles.ListItems.Count()));
    SB1.Panels("File").SetText("");

    CheckHeaderImage = autoCheck ? 3 : 2;
    EnhListView_SetHeaderImage(lvFiles.hWnd(), 0, CheckHeaderImage, true);
    // The rows went in ticked or not; this settles any that a list view
    // gave its own default at insertion. Every row at once: one message, and
    // rows already in that state raise no change notifications.
    LVITEMA ticks{};
    ticks.stateMask = LVIS_STATEIMAGEMASK;
    ticks.state = INDEXTOSTATEIMAGEMASK(autoCheck ? 2 : 1);
    SendMessageA(lvFiles.hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&ticks));
    SetCheckColumnWidth();

    if (lvFiles.ListItems.Count() > 0) {
        platform::ListItem* select = nullptr;
        if (LocatePending) {
            select = lvFiles.ListItems(LocateKey);
            LocatePending = false;
        }
        // The located file may have gone meanwhile: the first row then.
        if (select == nullptr) select = lvFiles.ListItems(1);
        lvFiles.SetSelectedItem(select);
    }
    UpdateDisplay(tagVersion);
}

void FrmMain::lvFiles_ItemClick(platform::ListItem&) { UpdateDisplay(cboVersion.ListIndex()); }

void FrmMain::cboVersion_Click(int) {
    if (settingVersion_) return;
    ToggleTagVersion(cboVersion.ListIndex());
}

void FrmMain::ToggleTagVersion(int32_t version) {
    TagVersion = version;
    if (version == 0 || version == 1) {
        settingVersion_ = true;
        const auto done = OnScopeExit([this] { settingVersion_ = false; });
        cboVersion.SetListIndex(version);
    }
    const int32_t item = m_popup.IndexForKey("mnuTagVersion(" + std::to_string(version) + ")");
    if (item > 0) m_popup.SetOptionChoice(item);
    {
        RedrawLock lock(lvFiles.hWnd());
        UpdateVersionDisplay(version);
        // The texts read may move rows: sorted once, the selected row kept.
        lvFiles.SortNow();
    }
    UpdateDisplay(version);
    Picture4.SetVisible(version == 1);
    Picture2.SetTop(version == 1 ? 4740 : 2940);
}

void FrmMain::UpdateVersionDisplay(int32_t version) {
    if (version != 0 && version != 1) return;
    const int32_t count = lvFiles.ListItems.Count();
    for (int32_t i = 1; i <= count; ++i) {
        platform::ListItem* row = lvFiles.ListItems(i);
        if (row == nullptr) continue;
        const std::string key = row->Key();
        bool read = false;
        const std::vector<std::string> cells = ReadCells(version, key, read);
        for (int k = 0; k < 11; ++k) row->SetSubItem(k + 1, cells[k]);
        row->SetSubItem(12, key);
        EnhListView_SubItemImages(lvFiles.hWnd(), i, 1, 0, true);
    }
}

void FrmMain::UpdateDisplay(int32_t version) {
    platform::ListItem* selected = lvFiles.ListItems.Count() > 0 ? lvFiles.SelectedItem() : nullptr;
    if (selected == nullptr) {
        for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11}) txtField(i).SetText("");
        cboGenre.SetText("");
        Command2(0).SetEnabled(false);
        return;
    }
    Command2(0).SetEnabled(true);
    if (version != 0 && version != 1) return;
    const std::string key = selected->Key();
    std::vector<std::string> fields(tags::kFieldCount);
    // The panel shows Original Artist too, which no column does.
    if (HasTags()) {
        tags::TagObject& tag = shared_.tags.ForVersion(version);
        if (tag.ReadTag(key))
            for (const tags::FieldInfo& f : tags::Fields())
                if (version == 1 || !f.v2Only)
                    fields[f.index] = mainwindow::ShownFieldText(
                        f.index, tag.FieldText(version == 0 ? f.v1Slot : f.index).value_or(""));
    }
    for (int i = 0; i < tags::kFieldCount; ++i) {
        if (i == tags::kGenreField) {
            cboGenre.SetText(fields[i]);
        } else {
            txtField(i).SetText(fields[i]);
        }
    }
}

bool FrmMain::NoFieldSelected() {
    const int last = cboVersion.ListIndex() == 0 ? 6 : 11;
    for (int i = 0; i <= last; ++i) {
        try {
            if (Toolbar4(i).Buttons(1).Value() == 1) return false;
        } catch (const std::exception&) {
            // A missing toggle counts as released.
        }
    }
    return true;
}

}  // namespace corvella
