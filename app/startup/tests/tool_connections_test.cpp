// The tag tools as the main window opens them by their keys, on copies of
// real LAME-encoded files tagged by id3v2: the windows come up with the
// list's files, and what they do reaches the list and the field.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/foundation/settings.h"
#include "app/foundation/tags/win32/com_tag.h"
#include "app/foundation/user_fields.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/frm_main.h"
#include "app/startup/tool_connections.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;

// What the user does in the next tool window: each step names the window's
// caption, a control's text and what to do with it ("click", or text to
// type into the window's edit box).
struct Step {
    const char* window;
    const char* button;  // a button's caption, clicked
    const char* typed;   // typed into the window's one edit box first, or null
};
std::vector<Step> gSteps;
size_t gNext = 0;

struct Find {
    const char* cls;
    const char* text;
    HWND found;
};

BOOL CALLBACK Match(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Find*>(p);
    char cls[32] = {0}, text[128] = {0};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (lstrcmpiA(cls, f->cls) != 0 || (f->text && lstrcmpA(text, f->text) != 0)) return TRUE;
    f->found = w;
    return FALSE;
}

HWND ChildWithText(HWND parent, const char* cls, const char* text) {
    Find find{cls, text, nullptr};
    EnumChildWindows(parent, Match, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// Runs inside the tool's modal loop: one step each time its window is up.
void CALLBACK Act(HWND, UINT, UINT_PTR, DWORD) {
    if (gNext >= gSteps.size()) return;
    const Step& s = gSteps[gNext];
    HWND w = FindWindowA(nullptr, s.window);
    if (w == nullptr || !IsWindowVisible(w)) return;
    if (s.typed) SetWindowTextA(ChildWithText(w, "Edit", nullptr), s.typed);
    HWND button = ChildWithText(w, "Button", s.button);
    if (button == nullptr || !IsWindowEnabled(button)) return;
    ++gNext;
    SendMessageA(button, BM_CLICK, 0, 0);
}

std::string DataFile(const std::string& name) {
    const char* unix = std::getenv("CORVELLA_MAIN_DATA");
    std::string path = std::string("Z:") + (unix ? unix : "/tmp") + "/three/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class ToolsFromTheMainWindow : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        DeleteRegistryTree(store_, kSettingsRootFullPath);
        DeleteRegistryTree(store_, std::string("HKEY_CURRENT_USER\\") + kCustomFieldsSection);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "corvella_tools_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (int i = 1; i <= 3; ++i) {
            const std::string name = "0" + std::to_string(i) + " - Track " + std::to_string(i) + ".mp3";
            ASSERT_TRUE(CopyFileA(DataFile(name).c_str(), (folder_ + "\\" + name).c_str(), FALSE)) << name;
        }
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(lumbrel::CLSID_CID3v1, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v1), v1_.PutVoid()));
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(tesselor::CLSID_CID3v2, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v2), v2_.PutVoid()));
        SaveSettingText(store_, "Software\\Corvella\\Layout\\Main", "Folder", folder_);
        ConnectTools();
        f_ = std::make_unique<FrmMain>();
        tags_ = std::make_unique<tags::ComTagPair>(v1_.Get(), v2_.Get());
        f_->SetShared({tags_->Pair(), &genres_});
        f_->Show();
        ASSERT_TRUE(PumpUntil([&] { return !f_->ListingRunning() && f_->lvFiles.ListItems.Count() == 3; }, 30000));
        timer_ = SetTimer(nullptr, 0, 20, Act);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        if (f_) f_->Unload();
        f_.reset();
        tags_.reset();
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((folder_ + "\\*.mp3").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA((folder_ + "\\" + d.cFileName).c_str());
            while (FindNextFileA(h, &d));
            FindClose(h);
        }
        RemoveDirectoryA(folder_.c_str());
        DeleteRegistryTree(store_, std::string("HKEY_CURRENT_USER\\") + kCustomFieldsSection);
        v1_.Reset();
        v2_.Reset();
        OleUninitialize();
        FormsTest::TearDown();
    }
    void Expect(std::vector<Step> steps) {
        gSteps = std::move(steps);
        gNext = 0;
    }
    bool AllDone() const { return gNext == gSteps.size(); }

    Win32SettingsStore store_;
    com::ComPtr<_CID3v1> v1_;
    com::ComPtr<_CID3v2> v2_;
    std::vector<std::string> genres_{"Blues", "Classic Rock", "Country"};
    std::string folder_;
    std::unique_ptr<tags::ComTagPair> tags_;
    std::unique_ptr<FrmMain> f_;
    UINT_PTR timer_ = 0;
};

TEST_F(ToolsFromTheMainWindow, RenameFromBothKeys) {
    const char* keys[] = {"mnuRename", "btnRename"};
    const char* firstName[] = {"\\01 - Morning Hush.mp3", "\\01 - MORNING HUSH.mp3"};
    for (int k = 0; k < 2; ++k) {
        if (k == 1) SaveSettingText(store_, "Software\\Corvella\\options\\Rename", "Case", "2");
        Expect({{"Rename", "&Rename Files", nullptr}, {"Rename", "&Close", nullptr}});
        f_->RunCommand(keys[k]);
        EXPECT_TRUE(AllDone()) << keys[k];
        const std::string first = folder_ + firstName[k];
        EXPECT_EQ(f_->lvFiles.ListItems(1)->Key(), first) << keys[k];
        EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(12), first);
        EXPECT_EQ(f_->lvFiles.ListItems(1)->SubItem(1), "Morning Hush") << "the tags stay";
        EXPECT_NE(GetFileAttributesA(first.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ToolsFromTheMainWindow, CustomFieldsAndQuickExtractFromTheFieldMenu) {
    f_->lvFiles.SetSelectedItem(f_->lvFiles.ListItems(1));
    f_->CurrentField = 0;
    f_->UpdateFieldMenu();
    Expect({{"User Defined Field List", "Add", "R&B"}, {"User Defined Field List", "Close", nullptr}});
    f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(f_->m_FieldPopupMenu.IndexForKey("mnuAddMore")));
    EXPECT_TRUE(AllDone());
    std::vector<std::string> names;
    EXPECT_EQ(GetAllSettings(store_, names, kCustomFieldsSection), 1);
    EXPECT_EQ(f_->m_FieldPopupMenu.Caption(f_->m_FieldPopupMenu.IndexForKey("mnuAddMore") - 2), "R&&B")
        << "the menu built again shows the new field as typed";

    f_->txtField(0).SetText("kept");
    const int32_t parse = f_->m_FieldPopupMenu.IndexForKey("mnuParseFile");
    Expect({{"Parse", "&Cancel", nullptr}});
    f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(parse));
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(f_->txtField(0).Text(), "kept") << "Cancel writes nothing";
    Expect({{"Parse", "&OK", nullptr}});
    f_->m_FieldPopupMenu.DispatchCommand(platform::PopupMenu::CommandId(parse));
    EXPECT_TRUE(AllDone());
    EXPECT_EQ(f_->txtField(0).Text(), "01") << "the first piece of \"01 - Track 1\"";
}

}  // namespace
}  // namespace corvella
