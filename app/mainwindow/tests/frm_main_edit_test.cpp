// The main window's edit panel, apply and commands on copies of real
// LAME-encoded files tagged by id3v2, with the real tag libraries. What the
// apply wrote is read back from the bytes of each file, not through the
// tag libraries; the audio of every file is compared before and after.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/mainwindow/frm_main.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;

std::string DataFile(const std::string& name) {
    const char* unix = std::getenv("CORVELLA_MAIN_DATA");
    std::string path = std::string("Z:") + (unix ? unix : "/tmp") + "/three/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's ID3v1 title as its 128 bytes hold it; "" without a tag.
std::string V1Title(const std::string& path) {
    const std::string b = Bytes(path);
    if (b.size() < 128 || b.compare(b.size() - 128, 3, "TAG") != 0) return "<none>";
    std::string t = b.substr(b.size() - 125, 30);
    t = t.substr(0, t.find('\0'));
    return t.substr(0, t.find_last_not_of(' ') + 1);
}

// The bytes between the ID3v2 tag and the ID3v1 tag.
std::string Audio(const std::string& path) {
    const std::string b = Bytes(path);
    size_t start = 0;
    if (b.compare(0, 3, "ID3") == 0) {
        start = 10;
        for (int i = 6; i < 10; ++i) start += static_cast<size_t>(static_cast<unsigned char>(b[i])) << (7 * (9 - i));
    }
    size_t end = b.size();
    if (end >= start + 128 && b.compare(end - 128, 3, "TAG") == 0) end -= 128;
    return b.substr(start, end - start);
}

// A second thread that answers the next modal piece of user interface of
// the window: a popup menu is measured and closed with Escape, a dialog
// with `title` ("*" for any) gets `fileName` typed (when not empty) and
// `button` pressed.
class Answerer {
public:
    Answerer(std::string title, std::string fileName, int button = IDOK)
        : title_(std::move(title)), fileName_(std::move(fileName)), button_(button) {
        InitializeCriticalSection(&lock_);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Answerer::Run, this, 0, nullptr);
    }
    ~Answerer() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
        DeleteCriticalSection(&lock_);
    }
    bool Answered() {
        EnterCriticalSection(&lock_);
        const bool done = answered_;
        LeaveCriticalSection(&lock_);
        return done;
    }
    // The menu's or the dialog's place on the screen.
    RECT MenuRect() {
        EnterCriticalSection(&lock_);
        const RECT r = menuRect_;
        LeaveCriticalSection(&lock_);
        return r;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* a = static_cast<Answerer*>(self);
        while (WaitForSingleObject(a->stop_, 10) == WAIT_TIMEOUT) a->Look();
        return 0;
    }
    void Look() {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu != nullptr && IsWindowVisible(menu)) {
            RECT r{};
            GetWindowRect(menu, &r);
            EnterCriticalSection(&lock_);
            if (!answered_) menuRect_ = r;
            answered_ = true;
            LeaveCriticalSection(&lock_);
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
        }
        if (title_.empty()) return;
        HWND dialog = FindWindowA("#32770", title_ == "*" ? nullptr : title_.c_str());
        if (dialog == nullptr || !IsWindowVisible(dialog)) return;
        EnterCriticalSection(&lock_);
        GetWindowRect(dialog, &menuRect_);
        LeaveCriticalSection(&lock_);
        if (!fileName_.empty())
            for (int id : {0x47c, 0x480}) SetDlgItemTextA(dialog, id, fileName_.c_str());
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button_), 0);
        EnterCriticalSection(&lock_);
        answered_ = true;
        LeaveCriticalSection(&lock_);
        title_.clear();
    }

    std::string title_, fileName_;
    int button_;
    CRITICAL_SECTION lock_;
    HANDLE stop_ = nullptr, thread_ = nullptr;
    bool answered_ = false;
    RECT menuRect_{};
};

class MainEditTest : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "corvella_edit_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (int i = 1; i <= 3; ++i) {
            const std::string name = "0" + std::to_string(i) + " - Track " + std::to_string(i) + ".mp3";
            files_.push_back(folder_ + "\\" + name);
            ASSERT_TRUE(CopyFileA(DataFile(name).c_str(), files_.back().c_str(), FALSE)) << DataFile(name);
            audio_[files_.back()] = Audio(files_.back());
        }
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
        SaveLayout("Folder", Variant::String(folder_));
        // Sorted by the path, the rows stand in the order of files_.
        SaveLayout("Sort Column", Variant::Long(12));
        SaveLayout("Sort Direction", Variant::Long(0));
        Open();
    }
    void SaveLayout(const char* name, const Variant& value) {
        cRegistry(store_).SaveSetting(static_cast<int32_t>(0x80000001u), "Software\\Corvella\\Layout\\Main", name,
                                      value);
    }
    // The window as the program starts it, its first listing ended.
    void Open() {
        f_ = std::make_unique<FrmMain>();
        f_->SetShared({tags_.Pair(), &genres_});
        f_->Show();
        ASSERT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 3; }, 30000));
    }
    void TearDown() override {
        if (f_) f_->Unload();
        f_.reset();
        for (const std::string& file : files_) {
            // The audio never changes, whatever the apply wrote.
            EXPECT_EQ(Audio(file), audio_[file]) << file;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
        tags_.Release();
        OleUninitialize();
        FormsTest::TearDown();
    }

    void Select(int row) {
        f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(row));
        f_->UpdateDisplay(f_->cboVersion.ListIndex());
    }
    void ClearFields() {
        for (int i : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11}) f_->txtField(i).SetText("");
        f_->cboGenre.SetText("");
    }
    // The apply button as the user presses it.
    void Apply() { SendMessageA(f_->Command2(0).hWnd(), BM_CLICK, 0, 0); }

    Win32SettingsStore store_;
    tags::testing::TagObjects tags_;
    std::vector<std::string> genres_{"Blues", "Classic Rock", "Country"};
    std::string folder_;
    std::vector<std::string> files_;
    std::map<std::string, std::string> audio_;
    std::unique_ptr<FrmMain> f_;
};

TEST_F(MainEditTest, OneFieldInTheV1ViewWritesExactly128Bytes) {
    Select(2);
    const std::string before = Bytes(files_[1]);
    f_->txtField(0).SetText("Changed Title");
    Apply();
    const std::string after = Bytes(files_[1]);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, after.size() - 128), before.substr(0, before.size() - 128));
    EXPECT_EQ(V1Title(files_[1]), "Changed Title");
    EXPECT_EQ(V1Title(files_[0]), "Morning Hush");
    EXPECT_EQ(f_->lvFiles.ListItems(2)->SubItem(1), "Changed Title");  // every row read again
}

TEST_F(MainEditTest, BatchOverTickedRowsExpandsOrderAndTotalThenReturnsToSingleMode) {
    f_->lvFiles.ListItems(2)->SetChecked(false);
    Select(1);
    f_->txtField(0).SetText("#Order# of #Total#");
    f_->Toolbar4(0).Buttons(1).SetValue(1);
    Apply();
    EXPECT_EQ(V1Title(files_[0]), "1 of 2");
    EXPECT_EQ(V1Title(files_[1]), "Low Tide");
    EXPECT_EQ(V1Title(files_[2]), "3 of 2");  // its place in the list, not its count
    EXPECT_EQ(f_->Toolbar4(0).Buttons(1).Value(), 0);
    EXPECT_EQ(f_->lvFiles.ColumnHeaders(1).Width(), 0);
}

TEST_F(MainEditTest, EmptyPanelRemovesTheTagAndUpdateBothKeepsV2OnlyFrames) {
    Select(3);
    f_->chkUpdateBoth.SetValue(1);  // stored at once: the apply reads it
    f_->txtField(0).SetText("Both Ways");
    Apply();
    EXPECT_EQ(V1Title(files_[2]), "Both Ways");
    const std::string b = Bytes(files_[2]);
    EXPECT_NE(b.find("Both Ways"), b.rfind("Both Ways"));  // in both tags
    EXPECT_NE(b.find("J. Berg"), std::string::npos) << "the composer frame stays";

    f_->chkUpdateBoth.SetValue(0);
    Select(1);
    ClearFields();
    Apply();
    EXPECT_EQ(V1Title(files_[0]), "<none>");
    EXPECT_EQ(Bytes(files_[0]).compare(0, 3, "ID3"), 0) << "only the shown version is removed";
}

// A file as other taggers leave it: ID3v2 texts longer than the ID3v1
// fields, the track of a count, the genre by number, and an ID3v1 tag that
// holds what it can of them. Only the comment changes in the ID3v2 tag.
TEST_F(MainEditTest, UpdateBothFromTheV1ViewKeepsTheV2ValuesThePanelShowsCut) {
    const std::map<int, std::string> v2 = {{0, "A Title Longer Than Thirty Characters Here"},
                                           {2, "An Album Well Past Thirty Characters"},
                                           {5, "(17)Rock"},
                                           {6, "1/12"}};
    for (tags::TagObject* tag : {tags_.Pair().id3v2, tags_.Pair().id3v1}) {
        ASSERT_TRUE(tag->ReadTag(files_[0]));
        for (const auto& [i, value] : v2) tag->SetField(i, value);
        ASSERT_TRUE(tag->WriteTag(files_[0]));
    }
    tags::TagObject& back = *tags_.Pair().id3v2;
    auto read = [&] {
        std::map<int, std::string> now;
        EXPECT_TRUE(back.ReadTag(files_[0]));
        for (int i : {0, 2, 4, 5, 6}) now[i] = back.FieldText(i).value_or("?");
        return now;
    };
    std::map<int, std::string> expected = read();  // the track reads "01/12"
    expected[4] = "Only the comment";
    f_->chkUpdateBoth.SetValue(1);
    f_->ToggleTagVersion(0);
    Select(1);
    ASSERT_EQ(f_->txtField(0).Text(), "A Title Longer Than Thirty Cha");
    f_->txtField(4).SetText("Only the comment");
    Apply();
    EXPECT_EQ(read(), expected);
    EXPECT_EQ(expected[0], v2.at(0));
}

TEST_F(MainEditTest, ALockedFileInABatchIsNamedAndTheOthersAreWritten) {
    // Another program holds the first file open without sharing.
    HANDLE lock = CreateFileA(files_[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Select(2);
    f_->txtField(1).SetText("Everyone");
    f_->Toolbar4(1).Buttons(1).SetValue(1);
    Apply();
    CloseHandle(lock);
    f_->ToggleTagVersion(0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("01 - Track 1.mp3"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(f_->lvFiles.ListItems(2)->SubItem(2), "Everyone");
    EXPECT_EQ(f_->lvFiles.ListItems(3)->SubItem(2), "Everyone");
    EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(2), "The Quiet Ones");
}

// The list reports no lost selection itself; the panel follows it anyway,
// and an apply without a selected row writes nothing and leaves no guard set.
TEST_F(MainEditTest, AClickOnEmptyListSpaceGreysTheApplyButtonAndAnApplyThenWritesNothing) {
    Select(1);
    ASSERT_TRUE(f_->Command2(0).Enabled());
    RECT client{};
    GetClientRect(f_->lvFiles.hWnd(), &client);
    const LPARAM below = MAKELPARAM(client.right / 2, client.bottom - 4);  // under the last row
    PostMessageA(f_->lvFiles.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, below);
    PostMessageA(f_->lvFiles.hWnd(), WM_LBUTTONUP, 0, below);
    EXPECT_TRUE(PumpUntil([&] { return !f_->Command2(0).Enabled(); }));
    EXPECT_EQ(f_->txtField(0).Text(), "");
    f_->txtField(0).SetText("Nobody");
    const std::string before = Bytes(files_[0]);
    f_->ApplyID3Update();
    EXPECT_EQ(Bytes(files_[0]), before);
    EXPECT_TRUE(boxes.empty());
    Select(1);  // a later apply still runs
    f_->txtField(0).SetText("Somebody");
    Apply();
    EXPECT_EQ(V1Title(files_[0]), "Somebody");
}

TEST_F(MainEditTest, LocateAfterARecursiveListingShowsTheFilesFolderWithItsRowSelected) {
    const std::string sub = folder_ + "\\sub";
    CreateDirectoryA(sub.c_str(), nullptr);
    const std::string deep = sub + "\\Deep.mp3";
    ASSERT_TRUE(CopyFileA(files_[0].c_str(), deep.c_str(), FALSE));
    f_->RunCommand("mnuRecursive");
    ASSERT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 4; }, 30000));
    f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(deep));
    f_->RunCommand("mnuLocate");
    EXPECT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 1; }, 30000));
    ASSERT_NE(f_->lvFiles.SelectedItem(), nullptr);
    EXPECT_EQ(f_->lvFiles.SelectedItem()->Key(), deep);
    EXPECT_FALSE(f_->LocatePending);
    f_->Unload();
    f_.reset();
    DeleteFileA(deep.c_str());
    RemoveDirectoryA(sub.c_str());
}

TEST_F(MainEditTest, DeleteKeepsTheRowWhenTheUserSaysNoAndRemovesItWithTheFile) {
    Select(2);
    for (int answer : {IDNO, IDYES}) {
        {
            Answerer confirm("*", "", answer);
            f_->RunCommand("mnuDelete");
            EXPECT_TRUE(confirm.Answered());
        }
        EXPECT_EQ(f_->lvFiles.ListItems.Count(), answer == IDNO ? 3 : 2);
    }
    EXPECT_EQ(GetFileAttributesA(files_[1].c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(f_->lvFiles.ListItems.Count(), 2);
    EXPECT_EQ(f_->lvFiles.ListItems(files_[1]), nullptr);
    EXPECT_FALSE(f_->Command2(0).Enabled());  // no row is selected now
    audio_.erase(files_[1]);
    files_.erase(files_.begin() + 1);
}

// Play and Stop are offered only over a row, and only once.
TEST_F(MainEditTest, ListMenuOffersPlayAndStopOverARowOnly) {
    HWND list = f_->lvFiles.hWnd();
    RECT row{}, client{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    GetClientRect(list, &client);
    const struct {
        POINT at;
        int plays;
    } clicks[] = {{{client.right / 2, client.bottom - 4}, 0},
                  {{(row.left + row.right) / 2, (row.top + row.bottom) / 2}, 1},
                  {{(row.left + row.right) / 2, (row.top + row.bottom) / 2}, 1},
                  {{client.right / 2, client.bottom - 4}, 0}};
    for (const auto& c : clicks) {
        POINT screen = c.at;
        ClientToScreen(list, &screen);
        SetCursorPos(screen.x, screen.y);
        Answerer answer("", "");
        PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.at.x, c.at.y));
        PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(c.at.x, c.at.y));
        ASSERT_TRUE(PumpUntil([&] { return answer.Answered() && FindWindowA("#32768", nullptr) == nullptr; }, 10000));
        int plays = 0;
        for (int32_t i = 1; i <= f_->m_PopupMenu.Count(); ++i) plays += f_->m_PopupMenu.ItemKey(i) == "mnuPlay";
        EXPECT_EQ(plays, c.plays);
        EXPECT_EQ(f_->m_PopupMenu.IndexForKey("mnuSep") != 0, c.plays == 1);
    }
}

TEST_F(MainEditTest, EveryMenuAndToolbarKeyReachesAHandler) {
    for (platform::PopupMenu* menu :
         {&f_->m_popup, &f_->m_PopupMenu, &f_->m_PopupViewMenu, &f_->m_PopupExport}) {
        for (int32_t i = 1; i <= menu->Count(); ++i) {
            const std::string key = menu->ItemKey(i);
            bool parent = false;
            for (int32_t j = 1; j <= menu->Count(); ++j) parent = parent || menu->Parent(j) == i;
            if (key.empty() || parent || menu->Caption(i) == "-") continue;
            EXPECT_TRUE(f_->HasCommand(key)) << key;
        }
    }
    for (int b = 0; b < f_->Toolbar1.ButtonCount(); ++b) {
        const std::string key = f_->Toolbar1.ButtonKey(b);
        if (!key.empty()) EXPECT_TRUE(f_->HasCommand(key)) << key;
    }
    // A connected tool opens from each of its keys; the menus' clicks reach it.
    int opened = 0;
    FrmMain::ConnectTool("frmRenameFiles", [&](forms::Form& owner, const FileSet&, const tags::TagPair&) {
        EXPECT_EQ(&owner, f_.get());
        ++opened;
        return ToolResult{};
    });
    f_->RunCommand("btnRename");
    f_->m_popup.DispatchCommand(platform::PopupMenu::CommandId(f_->m_popup.IndexForKey("mnuRename")));
    f_->m_PopupMenu.DispatchCommand(platform::PopupMenu::CommandId(f_->m_PopupMenu.IndexForKey("mnuRename")));
    FrmMain::ConnectTool("frmRenameFiles", nullptr);
    EXPECT_EQ(opened, 3);
    // A few window commands by their menu items.
    f_->m_PopupViewMenu.DispatchCommand(platform::PopupMenu::CommandId(f_->m_PopupViewMenu.IndexForKey("mnuView(2)")));
    EXPECT_EQ(f_->lvFiles.View(), 2);
    f_->m_popup.DispatchCommand(platform::PopupMenu::CommandId(f_->m_popup.IndexForKey("mnuTagVersion(1)")));
    EXPECT_EQ(f_->cboVersion.ListIndex(), 1);
    // The side bar's buttons: "Options..." is the options command, "Sync
    // Versions" has none and stays grey.
    EXPECT_FALSE(f_->Command2(1).Enabled());
    EXPECT_TRUE(f_->Command2(2).Enabled());
}

// The caption of the modal form a command opened, which is then closed; the
// thread's timer looks for it while the form's own loop runs.
std::string gOpenedCaption;
forms::Form* gOpener = nullptr;

void CALLBACK CloseOpenedForm(HWND, UINT, UINT_PTR, DWORD) {
    forms::Form* active = forms::Screen.ActiveForm();
    if (active == nullptr || active == gOpener || !gOpenedCaption.empty()) return;
    gOpenedCaption = active->Caption();
    active->Unload();
}

// The about box and the options dialog open from their menu items and the
// side bar's button.
TEST_F(MainEditTest, MenuItemsAndTheOptionsButtonOpenTheirForms) {
    const std::string options = forms::App.Title() + " Options";
    const struct {
        const char* key;  // an item of the menu bar, or null for the button
        std::string caption;
    } openers[] = {{"mnuAbout", "About..."}, {"mnuOptions", options}, {nullptr, options}};
    gOpener = f_.get();
    for (const auto& o : openers) {
        gOpenedCaption.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseOpenedForm);
        if (o.key != nullptr)
            f_->m_popup.DispatchCommand(platform::PopupMenu::CommandId(f_->m_popup.IndexForKey(o.key)));
        else
            SendMessageA(f_->Command2(2).hWnd(), BM_CLICK, 0, 0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(gOpenedCaption, o.caption) << (o.key ? o.key : "Options...");
    }
    gOpener = nullptr;
}

// A tool gets the rows as shown and the shared tags; what it answers
// reaches the rows: a new key and path cell, a new listing, rows read again.
TEST_F(MainEditTest, AToolWorksOnTheListedFilesAndItsAnswerReachesTheRows) {
    f_->lvFiles.ListItems(2)->SetChecked(false);
    Select(3);
    const std::string moved = folder_ + "\\Renamed.mp3";
    const struct {
        std::string from, to, firstKey;
        ToolResult result;
        int selected;
    } steps[] = {{files_[0], moved, moved, {{{files_[0], moved}}, false, false}, 2},
                 {moved, files_[0], files_[0], {{}, false, true}, 2},
                 {"", "", files_[0], {{}, true, false}, 0}};
    for (const auto& step : steps) {
        FrmMain::ConnectTool("frmRenameFiles", [&](forms::Form&, const FileSet& files, const tags::TagPair& tags) {
            EXPECT_EQ(files.tagVersion, 0);
            EXPECT_EQ(files.folder.rfind(folder_, 0), 0u) << files.folder;
            EXPECT_EQ(files.selected, step.selected);
            for (size_t i = 0; i < files.rows.size(); ++i) {
                const platform::ListItem* row = f_->lvFiles.ListItems(static_cast<int>(i) + 1);
                EXPECT_EQ(files.rows[i].path, row->Key());
                EXPECT_EQ(files.rows[i].ticked, row->Checked());
                EXPECT_EQ(files.rows[i].cells.size() == 11 ? files.rows[i].cells[6] : "?", row->SubItem(7));
            }
            if (!step.from.empty()) EXPECT_TRUE(MoveFileA(step.from.c_str(), step.to.c_str()));
            if (step.result.tagsRewritten) {  // a title written through the pair
                tags::TagObject& v1 = tags.ForVersion(0);
                EXPECT_TRUE(v1.ReadTag(files.rows[1].path) && v1.SetField(0, "Through The Pair") &&
                            v1.WriteTag(files.rows[1].path));
            }
            return step.result;
        });
        f_->RunCommand("btnRename");
        // A new listing comes from the window's timer: waited for by its rows.
        EXPECT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems(1)->Key() == step.firstKey; },
                              30000));
        EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(12), step.firstKey);
    }
    FrmMain::ConnectTool("frmRenameFiles", nullptr);
    EXPECT_EQ(f_->lvFiles.ListItems(2)->SubItem(1), "Through The Pair");
}

TEST_F(MainEditTest, PanelBoxesStoreTheirSettingsAndGenreTypeAheadTakesPrintableKeysOnly) {
    f_->chkEllipsis.SetValue(1);
    f_->chkUpdateBoth.SetValue(1);
    const std::string options = "Software\\Corvella\\Options";
    EXPECT_EQ(GetSettingLong(store_, options, "Ellipsis", 0), 1);
    EXPECT_TRUE(GetSettingBool(store_, options, "Update Both", false));

    f_->cboGenre.SetText("");
    HWND edit = GetWindow(f_->cboGenre.hWnd(), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    // Typed keys come through the message loop, as the user's do.
    auto drained = [] {
        MSG m;
        return !PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    };
    for (char c : std::string("co")) PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    ASSERT_TRUE(PumpUntil([&] { return f_->cboGenre.Text() == "country"; }));
    EXPECT_EQ(f_->cboGenre.SelText(), "untry");  // the completion is selected
    for (int key : {3, 24, 26, 13, 27}) PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(key), 0);
    ASSERT_TRUE(PumpUntil(drained));
    const std::string text = f_->cboGenre.Text();
    for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 32u) << text;
}

TEST_F(MainEditTest, ColumnClicksSortTickAndTheColumnMenuHidesAndShows) {
    platform::ListView& lv = f_->lvFiles;
    auto click = [&](int column) { lv.ColumnClick(lv.ColumnHeaders(column)); };
    const struct {
        int column, key, order;
        const char* first;
    } steps[] = {
        {2, 1, 0, "Aurora"},         // another column than the restored path sorts ascending
        {2, 1, 1, "Morning Hush"},   // the second click turns it over
        {3, 2, 0, "Mara Lindqvist"},
        {2, 1, 1, "Morning Hush"},   // and Title comes back in the direction it had
    };
    for (const auto& s : steps) {
        click(s.column);
        EXPECT_EQ(lv.SortKey(), s.key);
        EXPECT_EQ(lv.SortOrder(), s.order);
        EXPECT_EQ(lv.ListItems(1)->SubItem(s.key), s.first);
    }
    ASSERT_EQ(f_->CheckHeaderImage, 3);  // listed with every row ticked
    for (bool ticked : {false, true}) {
        click(1);
        EXPECT_EQ(f_->CheckHeaderImage, ticked ? 3 : 2);
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(lv.ListItems(i)->Checked(), ticked) << i;
    }
    // The column menu hides a column and shows it again.
    const int32_t composer = f_->m_PopupColMenu.IndexForKey("Composer");
    for (bool shown : {false, true}) {
        f_->m_PopupColMenu.DispatchCommand(platform::PopupMenu::CommandId(composer));
        EXPECT_NEAR(lv.ColumnHeaders(composer + 2).Width(), shown ? 1400 : 0, 15);  // whole pixels
        EXPECT_EQ(f_->m_PopupColMenu.Checked(composer), shown);
    }
    // A column dragged to width 0 loses its mark and stays shut, except
    // Title, which no menu item brings back.
    for (int column : {2, 4}) {
        lv.ColumnHeaders(column).SetWidth(0);
        f_->m_FlatHeader.EndTrack(column, 0);
        bool cancel = false;
        f_->m_FlatHeader.BeginTrack(column, cancel);
        EXPECT_EQ(cancel, column != 2) << column;
    }
    EXPECT_FALSE(f_->m_PopupColMenu.Checked(2));  // Album
}

// Whenever the rows are listed or read again, the list as the list view
// reports it stands in the order of the column whose header shows the arrow
// (the sort saved before the start), and the selected row stays selected.
TEST_F(MainEditTest, RowsStandInTheOrderTheHeadersArrowShows) {
    const std::string other = DataFile("");
    const struct {
        const char* moment;
        int column, direction;  // saved; the arrow's header item and picture
        std::function<void()> act;
        std::vector<std::string> cells;  // the arrowed column, top down
    } moments[] = {
        {"start", 7, 1, [] {}, {"07", "02", "01"}},  // Track
        {"another folder listed", 12, 1,
         [&] {
             f_->ShowFiles(other.substr(0, other.size() - 1), false);
             ASSERT_TRUE(PumpUntil([&] {
                 const platform::ListItem* top = f_->lvFiles.ListItems(1);
                 return !f_->ListingRunning() && top != nullptr && top->Key().rfind(other, 0) == 0;
             }, 30000));
         },
         {DataFile("03 - Track 3.mp3"), DataFile("02 - Track 2.mp3"), DataFile("01 - Track 1.mp3")}},
        {"the version switch", 8, 1,  // Composer: only the third file's ID3v2 tag has one
         [&] {
             f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(files_[2]));
             f_->RunCommand("mnuTagVersion(1)");
         },
         {"J. Berg", "", ""}},
        {"the re-read after an apply", 1, 0,
         [&] {
             Select(1);  // Aurora
             f_->txtField(0).SetText("Zenith");
             Apply();
         },
         {"Low Tide", "Morning Hush", "Zenith"}},
    };
    for (const auto& m : moments) {
        f_->Unload();
        MSG quit;  // the last form gone ends the run; the program starts again
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        SaveLayout("Sort Column", Variant::Long(m.column));
        SaveLayout("Sort Direction", Variant::Long(m.direction));
        SaveLayout("Tag Version", Variant::Long(0));
        Open();
        m.act();
        const HWND list = f_->lvFiles.hWnd();
        const HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        int arrowed = -1, picture = -1;
        for (int i = 1; i < static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)); ++i) {
            HDITEMA item{};
            item.mask = HDI_FORMAT | HDI_IMAGE;
            SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            if ((item.fmt & HDF_IMAGE) != 0) arrowed = i, picture = item.iImage;
        }
        EXPECT_EQ(arrowed, m.column) << m.moment;
        EXPECT_EQ(picture, m.direction) << m.moment;
        auto cell = [&](int row, int subItem) {
            char text[MAX_PATH] = {};
            LVITEMA item{};
            item.iSubItem = subItem;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            return std::string(text);
        };
        std::vector<std::string> cells;
        for (int row = 0; row < static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++row)
            cells.push_back(cell(row, arrowed));
        EXPECT_EQ(cells, m.cells) << m.moment;
        const int selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        EXPECT_NE(cell(selected, 12).find("03 - Track 3.mp3"), std::string::npos) << m.moment;
    }
}

TEST_F(MainEditTest, PlaylistSavedUnderANewNameHoldsBareNamesInItsFolderAndFullPathsElsewhere) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const struct {
        std::string typed, written;
        bool bare;
    } cases[] = {
        {folder_ + "\\list", folder_ + "\\list.m3u", true},
        {std::string(temp) + "corvella_list_" + std::to_string(GetCurrentProcessId()) + ".M3U",
         std::string(temp) + "corvella_list_" + std::to_string(GetCurrentProcessId()) + ".M3U", false},
    };
    for (const auto& c : cases) {
        {
            Answerer answer("Save Playlist As...", c.typed);
            f_->RunCommand("mnuPlayList");
            EXPECT_TRUE(answer.Answered());
            RECT dialog = answer.MenuRect(), window{};
            GetWindowRect(f_->hWnd(), &window);
            EXPECT_NEAR(dialog.left + dialog.right, window.left + window.right, 4) << "centred on the window";
            // The dialog still grows a little after it was centred.
            EXPECT_NEAR(dialog.top + dialog.bottom, window.top + window.bottom, 32);
        }
        std::string expected;
        for (const std::string& file : files_)
            expected += (c.bare ? file.substr(file.rfind('\\') + 1) : file) + "\r\n";
        EXPECT_EQ(Bytes(c.written), expected) << c.written;
        DeleteFileA(c.written.c_str());
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainEditTest, ExportArrowDropsItsMenuUnderTheButton) {
    const int button = f_->Toolbar1.ButtonIndex("btnExport");
    HWND bar = FindWindowExA(f_->Toolbar1.hWnd(), nullptr, TOOLBARCLASSNAMEA, nullptr);
    if (bar == nullptr) bar = f_->Toolbar1.hWnd();
    RECT rc{};
    ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(button),
                             reinterpret_cast<LPARAM>(&rc)));
    POINT corner{rc.left, rc.bottom};
    ClientToScreen(bar, &corner);
    Answerer answer("", "");
    const LPARAM arrow = MAKELPARAM(rc.right - 4, (rc.top + rc.bottom) / 2);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, arrow);
    PostMessageA(bar, WM_LBUTTONUP, 0, arrow);
    ASSERT_TRUE(PumpUntil([&] { return answer.Answered() && FindWindowA("#32768", nullptr) == nullptr; }, 10000));
    const RECT menu = answer.MenuRect();
    EXPECT_NEAR(menu.left, corner.x, 2);
    EXPECT_NEAR(menu.top, corner.y, 2);
}

TEST_F(MainEditTest, FieldMenuWritesTokensAndPiecesAndOnlyTheTrackFieldOffersTheOrderItem) {
    Select(1);  // "01 - Track 1.mp3"
    auto choose = [&](const std::string& key) {
        const int32_t index = f_->m_FieldPopupMenu.IndexForKey(key);
        ASSERT_GT(index, 0) << key;
        f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(index));
    };
    auto drop = [&](int field) {
        Answerer answer("", "");
        PostMessageA(f_->ExtenderButton1(field).hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(f_->ExtenderButton1(field).hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        ASSERT_TRUE(PumpUntil([&] { return answer.Answered() && FindWindowA("#32768", nullptr) == nullptr; }, 10000));
        EXPECT_EQ(f_->CurrentField, field);
    };
    drop(6);
    const int32_t order = f_->m_FieldPopupMenu.IndexForKey("mnuTrackOrder");
    EXPECT_GT(order, 0);
    EXPECT_LT(order, f_->m_FieldPopupMenu.IndexForKey("mnuExtractv1"));
    EXPECT_GT(f_->m_FieldPopupMenu.IndexForKey("mnuTrack"), 0) << "the pre-defined Track item stays";
    choose("mnuTrackOrder");
    EXPECT_EQ(f_->txtField(6).Text(), "#Order#");
    choose("Track 1");  // a piece of the selected file's name
    EXPECT_EQ(f_->txtField(6).Text(), "Track 1");

    drop(5);
    EXPECT_EQ(f_->m_FieldPopupMenu.IndexForKey("mnuTrackOrder"), 0);
    EXPECT_EQ(f_->m_FieldPopupMenu.IndexForKey("sep"), 0);
    int titles = 0;
    for (int32_t i = 1; i <= f_->m_FieldPopupMenu.Count(); ++i) titles += f_->m_FieldPopupMenu.ItemKey(i) == "mnuTitle";
    EXPECT_EQ(titles, 1) << "each build leaves one copy of the tree";
    choose("mnuOrgArtist");
    EXPECT_EQ(f_->cboGenre.Text(), "#Org. Artist#");
}

}  // namespace
}  // namespace corvella
