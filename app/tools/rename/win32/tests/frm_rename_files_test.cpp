// The rename window on its real window over real files (LAME-encoded,
// tagged by id3v2): the preview, the names the folder lists afterwards,
// file bytes unchanged, and the files it could not rename named in one
// message: locked, read-only, an unlisted file holding the name, a name in
// another case only. Its settings land in the registry as text.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/rename/core/rename_choices.h"
#include "app/tools/rename/win32/frm_rename_files.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

const char kKey[] = "Software\\CorvellaRenameTest";

// The program's key moved below the test's own.
class MovedStore : public Win32SettingsStore {
public:
    static std::string Move(const std::string& p) {
        const std::string from = kSettingsRoot;
        return p.compare(0, from.size(), from) == 0 ? kKey + p.substr(from.size()) : p;
    }
    bool QueryValue(int32_t r, const std::string& p, const std::string& n, int32_t& t,
                    std::vector<uint8_t>& d) override {
        return Win32SettingsStore::QueryValue(r, Move(p), n, t, d);
    }
    StoreResult SetValue(int32_t r, const std::string& p, const std::string& n, int32_t t,
                         const std::vector<uint8_t>& d) override {
        return Win32SettingsStore::SetValue(r, Move(p), n, t, d);
    }
    bool KeyExists(int32_t r, const std::string& p) override { return Win32SettingsStore::KeyExists(r, Move(p)); }
    bool CreateKey(int32_t r, const std::string& p) override { return Win32SettingsStore::CreateKey(r, Move(p)); }
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names the folder lists, as stored.
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

std::string Music() {
    const char* data = std::getenv("CORVELLA_MAIN_DATA");
    std::string path = data ? data : "";
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path + "\\three\\";
}

class RenameFiles : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "corvella_rename_test\\";
        Clear();
        CreateDirectoryA(folder.c_str(), nullptr);
        SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override {
        Clear();
        SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
        FormsTest::TearDown();
    }
    void Clear() {
        for (const std::string& n : Listing(folder)) {
            SetFileAttributesA((folder + n).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + n).c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }
    // A listed row: the file copied from the music folder under `name`.
    void AddRow(const std::string& source, const std::string& name, std::vector<std::string> cells) {
        ASSERT_TRUE(CopyFileA((Music() + source).c_str(), (folder + name).c_str(), TRUE)) << source;
        cells.resize(11);
        set.rows.push_back({folder + name, false, cells});
    }
    std::vector<std::string> Preview(FrmRenameFiles& f) {
        std::vector<std::string> out;
        for (int i = 1; i <= f.lvFiles.ListItems.Count(); ++i) out.push_back(f.lvFiles.ListItems(i)->Text());
        return out;
    }
    std::string folder;
    FileSet set;
    MovedStore store;
};

TEST_F(RenameFiles, RenamesEveryFileItCanAndNamesTheRest) {
    AddRow("01 - Track 1.mp3", "01 - Track 1.mp3", {"Morning Hush", "The Quiet Ones", "", "", "", "", "01"});
    AddRow("02 - Track 2.mp3", "02 - Track 2.mp3", {"Low Tide", "The Quiet Ones", "", "", "", "", "02/12"});
    AddRow("03 - Track 3.mp3", "03 - Track 3.mp3", {"Aurora: Live?", "Mara", "", "", "", "", "07"});
    AddRow("01 - Track 1.mp3", "locked.mp3", {"Locked Away", "", "", "", "", "", "04"});
    AddRow("01 - Track 1.mp3", "readonly.mp3", {"Read Only", "", "", "", "", "", "05"});
    AddRow("01 - Track 1.mp3", "taken.mp3", {"Taken", "", "", "", "", "", "06"});
    AddRow("01 - Track 1.mp3", "08 - intro.mp3", {"Intro", "", "", "", "", "", "08"});
    AddRow("01 - Track 1.mp3", "empty.mp3", {"", "", "", "", "", "", ""});
    ASSERT_TRUE(CopyFileA((Music() + "02 - Track 2.mp3").c_str(), (folder + "06 - Taken.mp3").c_str(), TRUE));
    SetFileAttributesA((folder + "readonly.mp3").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string one = Bytes(folder + "01 - Track 1.mp3"), two = Bytes(folder + "02 - Track 2.mp3");
    HANDLE lock = CreateFileA((folder + "locked.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    FrmRenameFiles f(&store);
    f.Prepare(set, nullptr);
    f.Load();
    EXPECT_EQ(f.Caption(), "Rename");
    EXPECT_EQ(f.lvFiles.ColumnHeaders(1).Text(), "Rename To");
    EXPECT_EQ(Preview(f), (std::vector<std::string>{"01 - Morning Hush.mp3", "02 - Low Tide.mp3", "07 - Aurora Live.mp3",
                                                    "04 - Locked Away.mp3", "05 - Read Only.mp3", "06 - Taken.mp3",
                                                    "08 - Intro.mp3", ""}));
    ASSERT_TRUE(f.cmdMain[0].Enabled());
    f.cmdMain[0].DoClick();

    EXPECT_EQ(Listing(folder), (std::set<std::string>{"01 - Morning Hush.mp3", "02 - Low Tide.mp3", "07 - Aurora Live.mp3",
                                                      "locked.mp3", "05 - Read Only.mp3", "taken.mp3", "06 - Taken.mp3",
                                                      "08 - Intro.mp3", "empty.mp3"}));
    EXPECT_EQ(Bytes(folder + "01 - Morning Hush.mp3"), one);
    EXPECT_EQ(Bytes(folder + "02 - Low Tide.mp3"), two);
    EXPECT_EQ(GetFileAttributesA((folder + "05 - Read Only.mp3").c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(f.cmdMain[0].Enabled());

    ASSERT_EQ(boxes.size(), 1u);
    for (const char* name : {"locked.mp3", "taken.mp3", "empty.mp3"})
        EXPECT_NE(boxes[0].prompt.find(name), std::string::npos) << name << " in " << boxes[0].prompt;
    EXPECT_EQ(boxes[0].prompt.find("Morning"), std::string::npos);

    // The rows that moved follow their files; a second run has nothing to do.
    const ToolResult& r = f.Result();
    ASSERT_EQ(r.renamed.size(), 5u);
    EXPECT_EQ(r.renamed[0], std::make_pair(folder + "01 - Track 1.mp3", folder + "01 - Morning Hush.mp3"));
    EXPECT_EQ(r.renamed[4], std::make_pair(folder + "08 - intro.mp3", folder + "08 - Intro.mp3"));
    f.cboSeperator.SetListIndex(0);
    f.Combo1.SetListIndex(0);
    f.cboName[1].SetListIndex(2);  // the artist, then back
    f.cboName[1].SetListIndex(1);
    boxes.clear();
    f.cmdMain[0].DoClick();
    EXPECT_EQ(f.Result().renamed.size(), 5u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt.find("Morning"), std::string::npos) << "a file with its name already is no failure";
    CloseHandle(lock);
    f.Unload();
}

TEST_F(RenameFiles, ChoicesAreStoredAsTextAndBadOnesGiveDefaults) {
    const std::string section = MovedStore::Move(rename::kRenameSection);
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, section.c_str(), &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Case", 0, REG_SZ, reinterpret_cast<const BYTE*>("-1"), 3);
    RegSetValueExA(key, "Seperator", 0, REG_SZ, reinterpret_cast<const BYTE*>("3"), 2);
    AddRow("01 - Track 1.mp3", "a.mp3", {"morning hush", "", "", "", "", "", "01"});
    {
        FrmRenameFiles f(&store);
        f.Prepare(set, nullptr);
        f.Load();
        EXPECT_EQ(Preview(f), std::vector<std::string>{"01-morning hush.mp3"});
        f.Combo1.SetListIndex(1);
        f.cboName[2].SetListIndex(7);
        EXPECT_EQ(Preview(f), std::vector<std::string>{"01-morning Hush-01.mp3"}) << "a hyphen starts no word";
        f.Unload();
    }
    const struct {
        const char* value;
        const char* text;
    } stored[] = {{"Seperator", "3"}, {"Case", "1"}, {"0", "6"}, {"1", "1"}, {"2", "7"}, {"3", "0"}};
    for (const auto& s : stored) {
        char data[16] = {0};
        DWORD type = 0, size = sizeof data;
        ASSERT_EQ(RegQueryValueExA(key, s.value, nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << s.value;
        EXPECT_STREQ(data, s.text) << s.value;
    }
    RegCloseKey(key);
}

}  // namespace
}  // namespace corvella
