// The sorting wizard on real windows under Wine, driven through its page
// bar over copies of LAME-encoded files tagged by id3v2 and eyeD3: each run
// leaves every file at its new place or its old one with its bytes, none
// outside the destination, and only emptied folders removed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/tools/sorting/frm_wiz_file_sorting.h"

namespace corvella {
namespace {

using Bar = forms::WizardButtons;

std::string SeedFolder() {
    const char* unix = std::getenv("CORVELLA_SORT_DATA");
    std::string path = std::string("Z:") + (unix ? unix : "/tmp/sortseed");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return in ? s.str() : std::string("<missing>");
}

DWORD Attr(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// Every file beneath a folder, by full path; with `clear` the files and
// folders go as well.
void Walk(const std::string& folder, std::vector<std::string>& out, bool clear = false) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
    while (h != INVALID_HANDLE_VALUE) {
        const std::string name = d.cFileName, path = folder + "\\" + name;
        if (clear) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (name == "." || name == "..") {
        } else if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Walk(path, out, clear);
        } else {
            out.push_back(path);
            if (clear) DeleteFileA(path.c_str());
        }
        if (!FindNextFileA(h, &d)) break;
    }
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    if (clear) RemoveDirectoryA(folder.c_str());
}

// The source tree: seed file -> place beneath src.
const std::pair<const char*, const char*> kTree[] = {
    {"q1", "q1.mp3"},           {"q2", "q2.mp3"},       {"hostile", "hostile.mp3"}, {"evil", "evil.mp3"},
    {"untagged", "untagged.mp3"}, {"named", "named.mp3"}, {"same1", "x\\same.mp3"},  {"same2", "y\\same.mp3"},
    {"r", "rofolder\\r.mp3"},   {"h", "hid\\h.mp3"},    {"ro", "ro.mp3"},           {"held", "held.mp3"},
};

class SortingWizard : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
        root_ = SeedFolder() + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Walk(root_, gone_, true);
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA((root_ + "\\src").c_str(), nullptr);
        CreateDirectoryA((root_ + "\\out").c_str(), nullptr);
        for (const auto& [seed, place] : kTree) {
            const std::string to = root_ + "\\src\\" + place;
            CreateDirectoryA(to.substr(0, to.rfind('\\')).c_str(), nullptr);
            ASSERT_TRUE(CopyFileA((SeedFolder() + "\\" + seed + ".mp3").c_str(), to.c_str(), TRUE)) << to;
            bytes_[to] = Bytes(to);
        }
        const std::string hidden = root_ + "\\src\\hid\\desktop.ini";
        std::ofstream(hidden) << "[x]";
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((root_ + "\\src\\ro.mp3").c_str(), FILE_ATTRIBUTE_READONLY);
        // Wine keeps a folder's hidden mark, not its read-only one.
        SetFileAttributesA((root_ + "\\src\\rofolder").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        forms::SetMsgBoxHook([this](const std::string& prompt, unsigned, const std::string& title) {
            boxes_.push_back(title + ": " + prompt);
            if (form_ && title == "File Sorting Wizard") stayed_ = !form_->Unload();  // the run still goes
            return IDOK;
        });
    }
    void TearDown() override {
        forms::SetMsgBoxHook(forms::MsgBoxHook());
        if (form_) form_->Unload();
        form_.reset();
        tags_.Release();
        Walk(root_, gone_, true);
        CoUninitialize();
    }
    void Open() {
        FileSet files;
        files.folder = root_ + "\\src";
        form_ = std::make_unique<FrmWizFileSorting>(files, tags_.Pair());
        form_->Show();
    }
    void Click(int which) {
        SendMessageA(GetDlgItem(form_->WizardButtons1.ControlWindow(), 100 + which), BM_CLICK, 0, 0);
    }
    int Page() { return form_->WizardButtons1.PageNumber(); }

    // Drives one run through the bar: page 2 and 3 set, preview, run.
    void Run(const std::string& source, int first, int second, int version, bool recursive, bool remove,
             bool holdOne) {
        Click(Bar::ButtonNext);
        form_->Text1.SetText("  " + root_ + "\\out  ");
        form_->Text2.SetText(source);
        form_->chkRecursive.SetValue(recursive ? 1 : 0);
        Click(Bar::ButtonNext);
        ASSERT_EQ(Page(), 3) << (boxes_.empty() ? "" : boxes_.back());
        EXPECT_EQ(form_->Text1.Text(), root_ + "\\out\\") << "trimmed and made full";
        form_->cboFolder.SetListIndex(first);
        form_->cboSubFolder.SetListIndex(second);
        form_->cboTagVersion.SetListIndex(version);
        form_->Check1.SetValue(remove ? 1 : 0);
        Click(Bar::ButtonNext);
        ASSERT_EQ(Page(), 4);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (holdOne)
            held = CreateFileA((root_ + "\\src\\held.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        Click(Bar::ButtonNext);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        ASSERT_EQ(Page(), 5);
    }

    // Every source file is at its expected place (or its old one) with its
    // bytes, and no file lies outside the destination but at its old place.
    void ExpectFiles(const std::map<std::string, std::string>& expected) {
        std::vector<std::string> all;
        Walk(root_, all);
        size_t mp3 = 0;
        for (const std::string& f : all) {
            if (f.size() < 4 || f.compare(f.size() - 4, 4, ".mp3") != 0) continue;
            ++mp3;
            const bool inOut = f.compare(0, root_.size() + 5, root_ + "\\out\\") == 0;
            EXPECT_TRUE(inOut || bytes_.count(f)) << f << " outside the destination";
        }
        EXPECT_EQ(mp3, bytes_.size()) << "no file lost or doubled";
        for (const auto& [place, to] : expected) {
            const std::string from = root_ + "\\src\\" + place;
            const std::string at = to.empty() ? from : root_ + "\\out\\" + to;
            EXPECT_EQ(Bytes(at), bytes_[from]) << place << " at " << at;
            if (!to.empty()) EXPECT_EQ(Attr(from), INVALID_FILE_ATTRIBUTES) << place << " moved";
        }
    }
    std::vector<std::string> Results() {
        std::vector<std::string> out;
        platform::ListView& lv = form_->lvwResults;
        for (int i = 1; i <= lv.ListItems.Count(); ++i)
            out.push_back(lv.ListItems(i)->Text() + " " + lv.ListItems(i)->SubItem(1) + " " +
                          lv.ListItems(i)->SubItem(2));
        std::sort(out.begin(), out.end());
        return out;
    }

    tags::testing::TagObjects tags_;
    std::unique_ptr<FrmWizFileSorting> form_;
    std::string root_;
    std::map<std::string, std::string> bytes_;
    std::vector<std::string> boxes_, gone_;
    bool stayed_ = false;
};

TEST_F(SortingWizard, TwoLevelsOfVersion2FromASourceInOtherCase) {
    Open();
    std::string upper = root_ + "\\SRC";
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    Run(upper, 0, 1, 1, true, true, true);
    EXPECT_TRUE(stayed_) << "the window cannot close while the run goes";
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find("held.mp3 (in use)"), std::string::npos) << boxes_[0];
    EXPECT_NE(boxes_[0].find("same.mp3 (name taken)"), std::string::npos) << boxes_[0];
    const bool xMoved = Attr(root_ + "\\src\\x") == INVALID_FILE_ATTRIBUTES;
    ExpectFiles({{"q1.mp3", "The Quiet Ones\\Silent Evenings\\q1.mp3"},
                 {"q2.mp3", "The Quiet Ones\\Silent Evenings\\q2.mp3"},
                 {"hostile.mp3", "ACDC Live\\Con_\\hostile.mp3"},
                 {"evil.mp3", "....Escape\\nul_.x\\evil.mp3"},
                 {"untagged.mp3", "Unknown\\untagged.mp3"},
                 {"named.mp3", "Unknown\\named.mp3"},
                 {xMoved ? "x\\same.mp3" : "y\\same.mp3", "Meeting\\Point\\same.mp3"},
                 {xMoved ? "y\\same.mp3" : "x\\same.mp3", ""},
                 {"rofolder\\r.mp3", "Mara Lindqvist\\Northern Lights\\r.mp3"},
                 {"hid\\h.mp3", "Mara Lindqvist\\Northern Lights\\h.mp3"},
                 {"ro.mp3", "Mara Lindqvist\\Northern Lights\\ro.mp3"},
                 {"held.mp3", ""}});
    EXPECT_EQ(Attr(root_ + "\\out\\Mara Lindqvist\\Northern Lights\\ro.mp3") & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Attr(root_ + "\\src\\rofolder"), INVALID_FILE_ATTRIBUTES) << "emptied marked folder removed";
    EXPECT_NE(Attr(root_ + "\\src\\hid\\desktop.ini") & FILE_ATTRIBUTE_HIDDEN, 0u) << "hidden file's folder stays";
    EXPECT_NE(Attr(root_ + "\\src"), INVALID_FILE_ATTRIBUTES);
    const std::vector<std::string> rows = Results();
    EXPECT_EQ(rows.size(), bytes_.size());
    for (const char* row : {"held.mp3 Failed in use", "ro.mp3 Sucsess ", "same.mp3 Failed name taken"})
        EXPECT_EQ(std::count(rows.begin(), rows.end(), row), 1) << row;
    EXPECT_TRUE(form_->MovedAny());

    // Run again: back to page 2 with the settings kept.
    form_->Check2.SetValue(1);
    Click(Bar::ButtonNext);
    ASSERT_EQ(Page(), 6);
    Click(Bar::ButtonNext);
    EXPECT_EQ(Page(), 2);
}

TEST_F(SortingWizard, OneLevelOfVersion1KeepsEmptiedFoldersAndClosingStoresTheSettings) {
    // Stored values that are no choice of their controls open as the defaults.
    HKEY settings;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Corvella\\Options\\Sorting", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &settings, nullptr), 0);
    for (const auto& [name, value] : std::vector<std::pair<const char*, std::string>>{
             {"Folder 1", "7"}, {"Folder 2", "-1"}, {"Version", "x"}, {"Recursive", "5"}, {"Remove", "-1"}})
        RegSetValueExA(settings, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(settings);
    Open();
    EXPECT_EQ(form_->cboFolder.ListIndex(), 0);
    EXPECT_EQ(form_->cboSubFolder.ListIndex(), 3);
    EXPECT_EQ(form_->cboTagVersion.ListIndex(), 1);
    EXPECT_EQ(form_->chkRecursive.Value(), 1);
    EXPECT_EQ(form_->Check1.Value(), 1);
    // The combo windows carry each choice's tag field as its item data.
    const struct {
        forms::ComboBox* combo;
        std::vector<LRESULT> data;
    } combos[] = {{&form_->cboFolder, {1, 2, 5}}, {&form_->cboSubFolder, {1, 2, 5, 0}}, {&form_->cboTagVersion, {0, 1}}};
    for (const auto& c : combos) {
        std::vector<LRESULT> data;
        const auto count = SendMessageA(c.combo->hWnd(), CB_GETCOUNT, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i)
            data.push_back(SendMessageA(c.combo->hWnd(), CB_GETITEMDATA, i, 0));
        EXPECT_EQ(data, c.data) << c.combo->ObjectName();
    }
    // Page 2 holds the wizard until both folders exist as folders.
    Click(Bar::ButtonNext);
    for (const std::string& bad : {root_ + "\\none", root_ + "\\src\\q1.mp3"}) {
        form_->Text1.SetText(bad);
        Click(Bar::ButtonNext);
        EXPECT_EQ(Page(), 2) << bad;
    }
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0], "Path Error: You must supply valid, existing path names only.");
    Click(Bar::ButtonBack);
    Run(root_ + "\\src\\", 0, 3, 0, true, false, false);
    ExpectFiles({{"q1.mp3", "The Quiet Ones\\q1.mp3"},
                 {"hostile.mp3", "ACDC Live\\hostile.mp3"},
                 {"evil.mp3", "Unknown\\evil.mp3"},  // no ID3v1 tag
                 {"named.mp3", "Unknown\\named.mp3"},
                 {"held.mp3", "Mara Lindqvist\\held.mp3"},
                 {"rofolder\\r.mp3", "Mara Lindqvist\\r.mp3"}});
    for (const char* kept : {"rofolder", "x", "y"}) EXPECT_NE(Attr(root_ + "\\src\\" + kept), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(Attr(root_ + "\\src\\rofolder") & FILE_ATTRIBUTE_HIDDEN, 0u) << "attributes kept";

    Click(Bar::ButtonCancel);
    EXPECT_FALSE(form_->Loaded());
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvella\\Options\\Sorting", 0, KEY_READ, &key), 0);
    const std::pair<const char*, const char*> stored[] = {
        {"Folder 1", "0"}, {"Folder 2", "3"}, {"Version", "0"}, {"Recursive", "1"}, {"Remove", "0"}};
    for (const auto& [name, value] : stored) {
        char data[16] = {};
        DWORD type = 0, size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size), 0) << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_STREQ(data, value) << name;
    }
    RegCloseKey(key);
}

}  // namespace
}  // namespace corvella
