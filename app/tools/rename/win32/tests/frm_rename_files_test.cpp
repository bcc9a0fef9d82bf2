// The rename window on real files (LAME-encoded, tagged by id3v2) and the
// real registry: the preview, the names the folder lists afterwards, the
// bytes unchanged, one message naming the files left (locked, an unlisted
// file holding the name, no name), a case-only and a read-only rename.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/tools/rename/core/rename_choices.h"
#include "app/tools/rename/win32/frm_rename_files.h"
#include "app/tools/tests/window_test_util.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using tooltest::Bytes;

std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "*.mp3").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.insert(d.cFileName);
    while (FindNextFileA(h, &d));
    FindClose(h);
    return names;
}

class RenameFiles : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "corvella_rename_test\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        RegDeleteKeyA(HKEY_CURRENT_USER, rename::kRenameSection);
    }
    void TearDown() override {
        for (const std::string& n : Listing(folder)) {
            SetFileAttributesA((folder + n).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + n).c_str());
        }
        RemoveDirectoryA(folder.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, rename::kRenameSection);
        FormsTest::TearDown();
    }
    void AddRow(const std::string& name, const std::string& title, const std::string& track) {
        std::string music = std::getenv("CORVELLA_MAIN_DATA");
        std::replace(music.begin(), music.end(), '/', '\\');
        ASSERT_TRUE(CopyFileA(("Z:" + music + "\\three\\01 - Track 1.mp3").c_str(), (folder + name).c_str(), TRUE));
        set.rows.push_back({folder + name, false, {title, "The Quiet Ones", "", "", "", "", track, "", "", "", ""}});
    }
    std::vector<std::string> Preview(FrmRenameFiles& f) {
        std::vector<std::string> out;
        for (int i = 1; i <= f.lvFiles.ListItems.Count(); ++i) out.push_back(f.lvFiles.ListItems(i)->Text());
        return out;
    }
    std::string folder;
    FileSet set;
};

TEST_F(RenameFiles, RenamesWhatItCanAndNamesTheRest) {
    AddRow("a.mp3", "Morning Hush", "01/12");
    AddRow("b.mp3", "Aurora: Live?", "07");
    AddRow("locked.mp3", "Locked", "04");
    AddRow("readonly.mp3", "Read Only", "05");
    AddRow("taken.mp3", "Taken", "06");
    AddRow("08 - intro.mp3", "Intro", "08");
    AddRow("empty.mp3", "", "");
    ASSERT_TRUE(CopyFileA((folder + "a.mp3").c_str(), (folder + "06 - Taken.mp3").c_str(), TRUE));
    SetFileAttributesA((folder + "readonly.mp3").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string bytes = Bytes(folder + "a.mp3");
    HANDLE lock = CreateFileA((folder + "locked.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    FrmRenameFiles f;
    f.Prepare(set, nullptr);
    f.Load();
    EXPECT_EQ(Preview(f), (std::vector<std::string>{"01 - Morning Hush.mp3", "07 - Aurora Live.mp3", "04 - Locked.mp3",
                                                    "05 - Read Only.mp3", "06 - Taken.mp3", "08 - Intro.mp3", ""}));
    f.cmdMain[0].DoClick();
    EXPECT_FALSE(f.cmdMain[0].Enabled());
    ASSERT_EQ(boxes.size(), 1u);
    for (const char* name : {"locked.mp3", "taken.mp3", "empty.mp3"})
        EXPECT_NE(boxes[0].prompt.find(name), std::string::npos) << name << " in " << boxes[0].prompt;
    EXPECT_EQ(boxes[0].prompt.find("Hush"), std::string::npos);
    CloseHandle(lock);
    EXPECT_EQ(Listing(folder), (std::set<std::string>{"01 - Morning Hush.mp3", "07 - Aurora Live.mp3", "locked.mp3",
                                                      "05 - Read Only.mp3", "taken.mp3", "06 - Taken.mp3",
                                                      "08 - Intro.mp3", "empty.mp3"}));
    EXPECT_EQ(Bytes(folder + "01 - Morning Hush.mp3"), bytes);
    EXPECT_TRUE(GetFileAttributesA((folder + "05 - Read Only.mp3").c_str()) & FILE_ATTRIBUTE_READONLY);
    const ToolResult& r = f.Result();
    ASSERT_EQ(r.renamed.size(), 4u);
    EXPECT_EQ(r.renamed[3], std::make_pair(folder + "08 - intro.mp3", folder + "08 - Intro.mp3"));
    f.Unload();
}

// The message box this thread shows, as the screen shows it: its window
// rectangle and its text, read once it is up; then OK is pressed.
struct RealBox {
    RECT rect{};
    std::string text;
    static RealBox* seen;
    static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &Read, 0); }
    static BOOL CALLBACK Read(HWND w, LPARAM) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(w) || !seen->text.empty()) return TRUE;
        GetWindowRect(w, &seen->rect);
        for (HWND c = GetWindow(w, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
            char text[8192] = {};
            GetClassNameA(c, cls, sizeof cls);
            if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(c, text, sizeof text) > 0) seen->text = text;
        }
        PostMessageA(w, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
};
RealBox* RealBox::seen = nullptr;

TEST_F(RenameFiles, AClosingMessageOfManyFilesFitsASmallScreenAndGivesTheTotal) {
    // 120 files that are gone, two of them under names too long for a line.
    for (int i = 1; i <= 120; ++i) {
        const std::string name = i == 1   ? std::string(180, 'n')
                                 : i == 2 ? "a name of many words " + std::string(150, 'w')
                                          : "gone " + std::to_string(i);
        set.rows.push_back({folder + name + ".mp3", false, {"Song", "", "", "", "", "", std::to_string(i)}});
    }
    FrmRenameFiles f;
    f.Prepare(set, nullptr);
    f.Load();
    forms::SetMsgBoxHook(nullptr);
    RealBox box;
    RealBox::seen = &box;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &RealBox::Look);
    f.cmdMain[0].DoClick();
    KillTimer(nullptr, timer);
    f.Unload();
    // The box fits 640 x 480 wherever it stands, and lies on the screen.
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_LE(box.rect.right - box.rect.left, 640);
    EXPECT_LE(box.rect.bottom - box.rect.top, 480);
    EXPECT_TRUE(box.rect.left >= screen.left && box.rect.top >= screen.top && box.rect.right <= screen.right &&
                box.rect.bottom <= screen.bottom);
    // Its text names the first files and counts the others: 120 in all.
    ASSERT_NE(box.text.find(std::string(20, 'n') + "..."), std::string::npos) << box.text;
    int named = 0;
    for (int i = 3; i <= 120; ++i) named += box.text.find("gone " + std::to_string(i) + ".mp3:") != std::string::npos;
    const size_t more = box.text.find("... and ");
    ASSERT_NE(more, std::string::npos) << box.text;
    EXPECT_EQ(2 + named + std::atoi(box.text.c_str() + more + 8), 120) << box.text;
}

}  // namespace
}  // namespace corvella
