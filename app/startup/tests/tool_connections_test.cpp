// The rename and the quick extract as the main window opens them by their
// keys, on copies of real LAME-encoded files tagged by id3v2: the windows
// come up with the list's files, and what they do reaches the list and the
// field. The album lookup asks local servers. A file whose name the code
// page cannot hold goes through the listing, an apply, both exports and the
// rename. Files tagged by other programs go through an update of both
// versions and the CSV export, a player's comments kept. Then the forms as
// a user types at them, the keys going through the system's input queue to
// the focused window: the menu bar's Alt keys, the about box's Enter and Esc
// (its image shows the program's icon on the screen), and Enter and Esc on
// each wizard, where a box of several lines keeps Enter for a new line.
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "app/controls/hosted/wizard_controls.h"
#include "app/foundation/settings.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/about/frm_about.h"
#include "app/mainwindow/frm_main.h"
#include "app/mainwindow/playlist/playlist.h"
#include "app/startup/tool_connections.h"
#include "app/tools/csv/core/csv_text.h"
#include "libs/common/scope/scope_exit.h"
#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "app/tools/quickextract/win32/frm_quick_extract.h"
#include "libs/common/tcpclient/tests/peer.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "platform/forms/tests/screen_probe.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;
using forms::testing::Type;

// What the user does in the next tool window: a click on a button.
struct Step {
    const char* window;
    const char* button;
    std::function<void()> before = nullptr;  // what the test looks at first
    std::function<bool()> ready = nullptr;   // the click waits until it holds
};
std::vector<Step> gSteps;
size_t gNext = 0;
// The main window, and whether each step's window was up modal over it.
HWND gOwner = nullptr;
std::vector<bool> gModal;

struct Find {
    const char* text;
    HWND found;
};

BOOL CALLBACK Match(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Find*>(p);
    char cls[32] = {0}, text[128] = {0};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    const bool hit = lstrcmpiA(cls, "Button") == 0 && lstrcmpA(text, f->text) == 0;
    if (hit) f->found = w;
    return !hit;
}

// Runs inside the tool's modal loop: one step each time its window is up.
void CALLBACK Act(HWND, UINT, UINT_PTR, DWORD) {
    if (gNext >= gSteps.size()) return;
    const Step& s = gSteps[gNext];
    HWND w = FindWindowA(nullptr, s.window);
    // A window under a modal one takes no clicks.
    if (w == nullptr || !IsWindowVisible(w) || !IsWindowEnabled(w)) return;
    Find button{s.button};
    EnumChildWindows(w, Match, reinterpret_cast<LPARAM>(&button));
    if (button.found == nullptr || !IsWindowEnabled(button.found) || (s.ready && !s.ready())) return;
    gModal.push_back(GetWindow(w, GW_OWNER) == gOwner && !IsWindowEnabled(gOwner));
    ++gNext;
    if (s.before) s.before();
    SendMessageA(button.found, BM_CLICK, 0, 0);
}

class ToolsFromTheMainWindow : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "corvella_tools_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        std::string music = std::string("Z:") + std::getenv("CORVELLA_MAIN_DATA") + "/" + Music() + "/";
        std::replace(music.begin(), music.end(), '/', '\\');
        int copied = 0;
        ForEachMp3(music, [&](const std::string& name) {
            EXPECT_TRUE(CopyFileA((music + name).c_str(), (folder_ + "\\" + name).c_str(), FALSE)) << name;
            ++copied;
        });
        ASSERT_EQ(copied, 3);
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
        SaveSettingText(store_, "Software\\Corvella\\Layout\\Main", "Folder", folder_);
        // Sorted by the path, the rows stand in file-name order.
        SaveSettingText(store_, "Software\\Corvella\\Layout\\Main", "Sort Column", "12");
        BeforeShow();
        ConnectTools();
        f_ = std::make_unique<FrmMain>();
        f_->SetShared({tags_.Pair(), &genres_});
        f_->Show();
        ASSERT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 3; }, 30000));
        timer_ = SetTimer(nullptr, 0, 20, Act);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        if (f_) f_->Unload();
        f_.reset();
        ForEachMp3(folder_ + "\\", [&](const std::string& name) { DeleteFileA((folder_ + "\\" + name).c_str()); });
        RemoveDirectoryA(folder_.c_str());
        tags_.Release();
        OleUninitialize();
        FormsTest::TearDown();
    }
    // The folder of the test data whose three files the window lists, and
    // what the test stores before the window opens.
    virtual const char* Music() const { return "three"; }
    virtual void BeforeShow() {}
    static void ForEachMp3(const std::string& folder, const std::function<void(const std::string&)>& act) {
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((folder + "*.mp3").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return;
        do act(d.cFileName);
        while (FindNextFileA(h, &d));
        FindClose(h);
    }
    void Expect(std::vector<Step> steps) {
        gSteps = std::move(steps);
        gNext = 0;
        gOwner = f_->hWnd();
        gModal.clear();
    }
    bool AllDone() const { return gNext == gSteps.size(); }

    Win32SettingsStore store_;
    std::vector<std::string> genres_{"Blues", "Classic Rock", "Country"};
    std::string folder_;
    tags::testing::TagObjects tags_;
    std::unique_ptr<FrmMain> f_;
    UINT_PTR timer_ = 0;
};

TEST_F(ToolsFromTheMainWindow, RenameFromBothKeys) {
    const char* keys[] = {"mnuRename", "btnRename"};
    const char* firstName[] = {"\\01 - Morning Hush.mp3", "\\01 - MORNING HUSH.mp3"};
    for (int k = 0; k < 2; ++k) {
        if (k == 1) SaveSettingText(store_, "Software\\Corvella\\options\\Rename", "Case", "2");
        Expect({{"Rename", "&Rename Files"}, {"Rename", "&Close"}});
        f_->RunCommand(keys[k]);
        EXPECT_TRUE(AllDone()) << keys[k];
        const std::string first = folder_ + firstName[k];
        EXPECT_EQ(f_->lvFiles.ListItems(1)->Key(), first) << keys[k];
        EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(12), first);
        EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(1), "Morning Hush") << "the tags stay";
        EXPECT_NE(GetFileAttributesA(first.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(boxes.empty());
    // The window's choices, stored as text when it closed.
    for (const auto& [value, text] : std::vector<std::pair<const char*, const char*>>{
             {"Seperator", "0"}, {"Case", "2"}, {"0", "6"}, {"1", "1"}, {"2", "0"}, {"3", "0"}}) {
        int32_t type = 0;
        std::vector<uint8_t> data;
        ASSERT_TRUE(store_.QueryValue(kHkeyCurrentUser, "Software\\Corvella\\options\\Rename", value, type, data));
        EXPECT_TRUE(type == kRegSz && std::string(data.begin(), data.end() - 1) == text) << value;
    }
}

// A case run shows in the list at once, while the tool stays open.
TEST_F(ToolsFromTheMainWindow, CaseRunIsListedBeforeTheToolCloses) {
    for (const auto& [value, text] : {std::pair{"New Case", "1"}, std::pair{"Apply To", "1"}, std::pair{"0", "1"}})
        SaveSettingText(store_, "Software\\Corvella\\Options\\Case", value, text);
    std::string listed;
    Expect({{"Tag Case", "&Update"},
            {"Tag Case", "&Cancel", [&] { listed = f_->lvFiles.ListItems(1)->SubItem(1); }}});
    f_->RunCommand("btnCase");
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(listed, "MORNING HUSH");
    EXPECT_TRUE(boxes.empty());
}

// An album fill shows in the list at once, while the lookup stays open.
TEST_F(ToolsFromTheMainWindow, AlbumFillIsListedBeforeTheLookupCloses) {
    using tcp::testing::Peer;
    Peer web([](Peer&, SOCKET s) {
        while (!Peer::ReceiveLine(s).empty()) {
        }
        Peer::Send(s, "HTTP/1.0 200 OK\r\n\r\n<a href=\"/fmt.php?cat=rock&id=0a0b0c0d\">AC/DC / Back in Black</a>");
    });
    Peer cddb([](Peer&, SOCKET s) {
        Peer::Send(s, "201 test CDDBP server ready\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty() && line != "quit";)
            Peer::Send(s, line.rfind("cddb read", 0) != 0 ? "200 OK\r\n"
                                                          : "210 rock 0a0b0c0d\r\nTTITLE0=Hells Bells\r\n"
                                                            "TTITLE1=Back in Black\r\nTTITLE2=Shake a Leg\r\n.\r\n");
    });
    const char* key = "Software\\Corvella\\Options\\CDDB";
    for (const char* host : {disclookup::kCddbHostValue, disclookup::kSearchHostValue})
        SaveSettingText(store_, key, host, "127.0.0.1");
    SaveSettingText(store_, key, disclookup::kCddbPortValue, std::to_string(cddb.port));
    SaveSettingText(store_, key, disclookup::kSearchPortValue, std::to_string(web.port));
    const auto forget = OnScopeExit([&] {
        for (const char* name : {disclookup::kCddbHostValue, disclookup::kSearchHostValue, disclookup::kCddbPortValue,
                                 disclookup::kSearchPortValue})
            store_.DeleteValue(kHkeyCurrentUser, key, name);
    });
    std::string listed;
    Expect({{"Audio-Disc Lookup...", "Search"},
            {"Audio-Disc Lookup...", "Update Tags"},
            {"Audio-Disc Lookup...", "&Cancel", [&] { listed = f_->lvFiles.ListItems(1)->SubItem(1); },
             [] { return !frmCDDBCDChoice().Querying(); }}});
    f_->RunCommand("btnCDDB");
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(listed, "Hells Bells");
    EXPECT_TRUE(boxes.empty()) << boxes.front().title << ": " << boxes.front().prompt;
}

// Each wizard and the CSV export from the menu item, toolbar button or key
// that opens it, modal over the main window; those without an item by key.
TEST_F(ToolsFromTheMainWindow, ToolsOpenFromTheirItemsButtonAndKeys) {
    enum Way { kMenu, kButton, kKey };
    const struct {
        const char* key;
        Way way;
        const char* window;
        const char* close;
    } opens[] = {
        {"mnuSort", kMenu, "File Sorting Wizard", "&Close"},
        {"btnSort", kButton, "File Sorting Wizard", "&Close"},
        {"mnuContact", kMenu, "Contact the Developer", "Cancel"},
        {"mnuDupe", kKey, "Duplicate File Finding Wizard", "&Close"},
        {"mnuExportWiz", kKey, "Exporting Wizard", "Cancel"},
        {"mnuComma", kMenu, "Export CSV File...", "&Cancel"},
    };
    const HWND bar = f_->Toolbar1.ToolbarWindow();
    for (const auto& o : opens) {
        Expect({{o.window, o.close}});
        const int32_t item = f_->m_popup.IndexForKey(o.key);
        EXPECT_EQ(item > 0, o.way == kMenu) << o.key;
        if (o.way == kMenu) {
            f_->m_popup.DispatchCommand(platform::PopupMenu::CommandId(item));
        } else if (o.way == kKey) {
            f_->RunCommand(o.key);
        } else {
            RECT rc{};
            ASSERT_TRUE(SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(f_->Toolbar1.ButtonIndex(o.key)),
                                     reinterpret_cast<LPARAM>(&rc)));
            const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(bar, WM_LBUTTONUP, 0, at);
            ASSERT_TRUE(PumpUntil([&] { return AllDone() && IsWindowEnabled(f_->hWnd()); }, 20000)) << o.key;
        }
        EXPECT_TRUE(AllDone()) << o.key;
        EXPECT_EQ(gModal, std::vector<bool>{true}) << o.key;
        EXPECT_EQ(FindWindowA(nullptr, o.window), nullptr) << o.key << ": closed";
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front().title << ": " << boxes.front().prompt;
}

// OK writes the piece; a Cancel after it leaves the field and no result.
TEST_F(ToolsFromTheMainWindow, QuickExtractFromTheFieldMenu) {
    f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(1));
    f_->CurrentField = 0;
    f_->UpdateFieldMenu();
    const int32_t parse = f_->m_FieldPopupMenu.IndexForKey("mnuParseFile");
    Expect({{"Parse", "&OK"}});
    f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(parse));
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(f_->txtField(0).Text(), "01") << "the first piece of \"01 - Track 1\"";
    f_->txtField(0).SetText("kept");
    Expect({{"Parse", "&Cancel"}});
    f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(parse));
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(f_->txtField(0).Text(), "kept") << "Cancel writes nothing";
    EXPECT_EQ(frmQuickExtract().result(), "") << "not the earlier OK's piece";
    EXPECT_TRUE(frmQuickExtract().Loaded() && !frmQuickExtract().Visible()) << "hidden, not unloaded";
    f_->Unload();
    EXPECT_FALSE(frmQuickExtract().Loaded()) << "it goes with the main window, so the program can end";
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Contents(HANDLE file) {
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return bytes;
}

// Each line names a file that opens: the path alone, or the CSV's "Path"
// and "Filename" values run together (after its header line).
bool EveryLineOpens(std::string text, bool csv) {
    if (csv) text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '"' || c == ','; }),
                        text.end());
    size_t lines = 0;
    for (size_t at = csv ? text.find("\r\n") + 2 : 0, end; (end = text.find("\r\n", at)) != std::string::npos;
         at = end + 2, ++lines)
        if (GetFileAttributesA(text.substr(at, end - at).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return lines == 4;
}

// "Dvořák - Largo.mp3", named in UTF-8 on the Unix side: the ř is not in the
// code page. Its row shows its tags; an apply writes into that very file,
// both exports write a path that opens, the rename from tags renames it.
TEST_F(ToolsFromTheMainWindow, AFileNamedBeyondTheCodePageIsReachedByItsShortName) {
    const std::wstring name = L"\\Dvo\u0159\u00e1k - Largo.mp3";
    std::string data = std::string("Z:") + std::getenv("CORVELLA_MAIN_DATA") + "/beyond";
    std::replace(data.begin(), data.end(), '/', '\\');
    const std::wstring real = Widened(folder_) + name;
    ASSERT_TRUE(CopyFileW((Widened(data) + name).c_str(), real.c_str(), FALSE));
    const auto gone = OnScopeExit([&] { DeleteFileW(real.c_str()); });
    f_->ToggleTagVersion(0);
    f_->ShowFiles(folder_, false);
    ASSERT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 4; }, 30000));
    int32_t row = 0;
    for (int32_t i = 1; i <= 4; ++i)
        if (f_->lvFiles.ListItems(i)->SubItem(1) == "Largo") row = i;
    ASSERT_GT(row, 0) << "the row shows the file's tags";

    f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(row));
    f_->UpdateDisplay(0);
    f_->txtField(0).SetText("Largo (live)");
    SendMessageA(f_->Command2(0).hWnd(), BM_CLICK, 0, 0);
    const std::string written =
        Contents(CreateFileW(real.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_GT(written.size(), 128u);
    EXPECT_EQ(written.substr(written.size() - 128, 15), "TAGLargo (live)") << "written into the very file";

    // What both exports write: the playlist (kept elsewhere, so with full
    // paths) and the CSV's "Path" and "Filename".
    std::vector<std::string> keys;
    for (const FileRow& r : f_->Files().rows) keys.push_back(r.path);
    csv::FileAudioSource audio(platform_filesystem());
    EXPECT_TRUE(EveryLineOpens(playlist::PlaylistText(keys, "C:\\list.m3u"), false));
    EXPECT_TRUE(EveryLineOpens(csv::BuildCSVText({"Path", "Filename"}, f_->Files().rows, audio), true));

    Expect({{"Rename", "&Rename Files"}, {"Rename", "&Close"}});
    f_->RunCommand("mnuRename");
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(GetFileAttributesW(real.c_str()), INVALID_FILE_ATTRIBUTES) << "renamed away";
    const std::string renamed = folder_ + "\\02 - Largo (live).mp3";
    EXPECT_EQ(Contents(CreateFileA(renamed.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)), written);
    EXPECT_TRUE(boxes.empty()) << boxes.front().title << ": " << boxes.front().prompt;
}

// Files tagged by other programs (id3v2, eyeD3, mutagen) hold the track as
// "1/12" and the genre as "(17)", "17" or "Rock". Updating both versions from
// the version 2 view keeps the ID3v1 track 1 and genre 17, and the genre
// shows by name in the list, the panel and the CSV export.
class FilesOfOtherTaggers : public ToolsFromTheMainWindow {
protected:
    const char* Music() const override { return "taggers"; }
    // "Apply Update to Both Tag Versions" ticked, as the window keeps the box.
    void BeforeShow() override { SaveSettingText(store_, "Software\\Corvella\\Layout\\Main", "Update Both", "1"); }

    // A list cell as the control reports it.
    std::string Cell(int row, int sub_item) {
        char text[64] = {0};
        LVITEMA item{};
        item.iSubItem = sub_item;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(f_->lvFiles.hWnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    // The list exported as CSV, every field.
    std::string ExportedCsv() {
        const std::string csv = folder_ + "\\genres.csv";
        const auto remove = OnScopeExit([&] { DeleteFileA(csv.c_str()); });
        Expect({{"Export CSV File...", ">>"},
                {"Export CSV File...", "&Export..."},
                {"Save CSV As...", "&Save", [&] {
                     HWND dialog = FindWindowA(nullptr, "Save CSV As...");
                     for (int id : {0x47c, 0x480}) SetDlgItemTextA(dialog, id, csv.c_str());
                 }}});
        f_->RunCommand("mnuComma");
        EXPECT_TRUE(AllDone());
        return FileBytes(csv);
    }
    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The panel of `key` shown, then its comment changed and applied.
    void ShowRow(const std::string& key) {
        f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(key));
        f_->UpdateDisplay(1);
    }
    void ApplyComment(const std::string& comment) {
        f_->txtField(4).SetText(comment);
        SendMessageA(f_->Command2(0).hWnd(), BM_CLICK, 0, 0);
    }
};

TEST_F(FilesOfOtherTaggers, UpdateBothKeepsTheirTrackAndGenreWhichShowByName) {
    ASSERT_EQ(f_->chkUpdateBoth.Value(), 1);
    f_->ToggleTagVersion(1);
    std::vector<std::string> keys;
    for (int i = 1; i <= 3; ++i) keys.push_back(f_->lvFiles.ListItems(i)->Key());
    for (const std::string& key : keys) {
        ShowRow(key);
        EXPECT_EQ(f_->cboGenre.Text(), "Rock") << key;
        ApplyComment("Only the comment");
        const std::string bytes = FileBytes(key);
        ASSERT_GE(bytes.size(), 128u);
        const std::string v1 = bytes.substr(bytes.size() - 128);
        EXPECT_EQ(v1.substr(97, 16), "Only the comment") << key;
        EXPECT_EQ(static_cast<uint8_t>(v1[126]), 1) << key;   // the track
        EXPECT_EQ(static_cast<uint8_t>(v1[127]), 17) << key;  // Rock
    }
    for (int row = 0; row < 3; ++row) EXPECT_EQ(Cell(row, 6), "Rock") << row;
    const std::string text = ExportedCsv();
    size_t rocks = 0;
    for (size_t at = text.find("\"Rock\""); at != std::string::npos; at = text.find("\"Rock\"", at + 1)) ++rocks;
    EXPECT_EQ(rocks, 3u) << text;
    EXPECT_TRUE(boxes.empty()) << boxes.front().title << ": " << boxes.front().prompt;
}

// mutagen's file holds a player's volume data in a described comment before
// the plain one: the list, the panel and the CSV show the plain one, and an
// apply changes it alone, the player's comments staying as they were.
TEST_F(FilesOfOtherTaggers, TheCommentIsThePlainOneAndThePlayersStay) {
    f_->ToggleTagVersion(1);
    const std::string key = f_->lvFiles.ListItems(3)->Key();
    ASSERT_NE(key.find("mutagen.mp3"), std::string::npos);
    const std::string before = FileBytes(key);
    std::vector<std::string> players;
    for (const char* description : {"iTunNORM", "iTunSMPB"}) {
        const size_t at = before.rfind("COMM", before.find(description));
        ASSERT_NE(at, std::string::npos) << description;
        players.push_back(before.substr(at, 10 + static_cast<uint8_t>(before[at + 7])));  // bodies < 128 bytes
    }
    EXPECT_EQ(Cell(2, 5), "My own words");
    const std::string csv = ExportedCsv();
    EXPECT_NE(csv.find("\"My own words\""), std::string::npos) << csv;
    EXPECT_EQ(csv.find("0000044E"), std::string::npos) << csv;
    ShowRow(key);
    EXPECT_EQ(f_->txtField(4).Text(), "My own words");
    ApplyComment("Changed");
    const std::string after = FileBytes(key);
    for (const std::string& frame : players) EXPECT_NE(after.find(frame), std::string::npos) << frame;
    EXPECT_EQ(Cell(2, 5), "Changed");
    EXPECT_TRUE(boxes.empty()) << boxes.front().title << ": " << boxes.front().prompt;
}

// ---- typed keys ----------------------------------------------------------------

// The form in front of the user, when it is `name`.
forms::Form* InFront(const char* name) {
    forms::Form* f = forms::Screen.ActiveForm();
    if (f == nullptr || f->name != name || !IsWindowVisible(f->hWnd()) || !IsWindowEnabled(f->hWnd()) ||
        GetForegroundWindow() != f->hWnd())
        return nullptr;
    return f;
}

std::function<bool()> Front(const char* name) {
    return [name] { return InFront(name) != nullptr; };
}

std::function<bool()> Page(const char* form, int page) {
    return [form, page] {
        forms::Form* f = InFront(form);
        if (f == nullptr) return false;
        for (forms::OleControlSite* site : forms::HostedControls(*f))
            if (auto* bar = dynamic_cast<forms::WizardButtons*>(site)) return bar->PageNumber() == page;
        return false;
    };
}

// What the user does in front of `form`: types `keys` (after `before`, if
// any), and the step is done once `done` holds.
struct Typing {
    const char* form;
    const char* keys;
    std::function<bool()> done;
    std::function<void()> before = nullptr;
};

std::vector<Typing> gTyping;
size_t gAt = 0;
bool gTyped = false;
DWORD gSince = 0;

void EndWalk(const std::string& why) {
    ADD_FAILURE() << why;
    gAt = gTyping.size();
    // Out of every window the walk opened, so that the test can end.
    while (forms::Form* f = forms::Screen.ActiveForm()) {
        if (f->name == "frmMain" || !f->Unload()) break;
    }
}

// Runs from every message loop, the modal ones of the forms opened too.
void CALLBACK Walk(HWND, UINT, UINT_PTR, DWORD) {
    while (gAt < gTyping.size()) {
        const Typing& s = gTyping[gAt];
        if (!gTyped) {
            if (InFront(s.form) == nullptr) break;
            gTyped = true;
            gSince = GetTickCount();
            if (s.before) s.before();  // may open a window: the walk goes on inside its loop
            if (s.keys != nullptr) Type(s.keys);
            return;
        }
        if (!s.done()) {
            if (GetTickCount() - gSince > 15000)
                EndWalk(std::string(s.form) + ": nothing came of \"" + (s.keys ? s.keys : "") + "\"");
            return;
        }
        ++gAt;
        gTyped = false;
    }
}

// The about box's image as the screen shows it: the program's icon over the
// picture's background.
void ExpectTheIconIn(forms::PictureBox& picture) {
    HICON icon = forms::App.Icon(false);
    ASSERT_NE(icon, nullptr) << "the program has no icon";
    RECT area{};
    GetWindowRect(picture.hWnd(), &area);
    forms::testing::PaintedScreen(GetParent(picture.hWnd()));
    const forms::testing::ScreenPixels shown(area);
    ASSERT_TRUE(shown.Read());
    const int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH back = CreateSolidBrush(shown.At(area.left, area.top));  // the icon's corner is clear
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, back);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((GetPixel(dc, x, y) & 0xFFFFFF) != shown.At(area.left + x, area.top + y)) ++differ;
    SelectObject(dc, old);
    DeleteObject(back);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(differ, 0) << "of " << w * h << " pixels of the about box's image";
}

TEST_F(ToolsFromTheMainWindow, MenusAboutBoxAndWizardsTakeTheirTypedKeys) {
    Expect({});  // no clicks of the tools' steps meanwhile
    FrmMain& m = *f_;
    auto command = [&m](const char* key) { return [&m, key] { m.RunCommand(key); }; };
    gTyping = {
        {"frmMain", "Alt+H A", Front("frmAbout")},
        // The focus lies in the read-only notice.
        {"frmAbout", "Enter", Front("frmMain"), [] { ExpectTheIconIn(frmAbout().picIcon); }},
        // Alt alone opens File; Left goes round to Help.
        {"frmMain", "Alt Left A", Front("frmAbout")},
        {"frmAbout", "Esc", Front("frmMain")},
        {"frmMain", "Alt+F F", Page("frmWizFileSorting", 1)},
        {"frmWizFileSorting", "Enter", Page("frmWizFileSorting", 2)},
        {"frmWizFileSorting", "Enter", Page("frmWizFileSorting", 3)},
        {"frmWizFileSorting", "Esc", Front("frmMain")},
        {"frmMain", nullptr, Page("frmWizComments", 1), command("mnuContact")},
        {"frmWizComments", "X Enter Y", [] { return frmWizComments().txtSupport.Text() == "x\r\ny"; },
         [] { frmWizComments().txtSupport.SetFocus(); }},
        {"frmWizComments", "Esc", Front("frmMain")},
        {"frmMain", nullptr, Page("frmWizDuplicateFiles", 1), command("mnuDupe")},
        {"frmWizDuplicateFiles", "Enter", Page("frmWizDuplicateFiles", 2)},
        {"frmWizDuplicateFiles", "Esc", Front("frmMain")},
        {"frmMain", nullptr, Page("frmWizFileExport", 1), command("mnuExportWiz")},
        {"frmWizFileExport", "Enter", Page("frmWizFileExport", 2)},
        {"frmWizFileExport", "Esc", Front("frmMain")},
    };
    gAt = 0;
    gTyped = false;
    SetForegroundWindow(m.hWnd());
    ASSERT_TRUE(PumpUntil(Front("frmMain")));
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Walk);
    EXPECT_TRUE(PumpUntil([] { return gAt == gTyping.size(); }, 120000)) << "stopped at step " << gAt;
    KillTimer(nullptr, timer);
}

}  // namespace
}  // namespace corvella
