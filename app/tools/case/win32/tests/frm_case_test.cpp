// The case tool through its opener, on copies of LAME-encoded files tagged
// by id3v2 and mutagen, with the real tag libraries: the results read back
// by mutagen and by bytes, the audio and untouched files byte for byte, a
// locked file named, and the settings in the registry on a fresh profile.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "app/foundation/win32/progress/progress_update.h"
#include "app/mainwindow/apply/win32/com_tag_objects.h"
#include "app/tools/case/win32/frm_case.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

const char kCaseKey[] = "Software\\Corvella\\Options\\Case";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Unix(const std::string& win) {
    std::string out = win.substr(2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

// The bytes between the ID3v2 tag and the ID3v1 tag.
std::string Audio(const std::string& b) {
    size_t start = 0;
    if (b.compare(0, 3, "ID3") == 0) {
        start = 10;
        for (int i = 6; i < 10; ++i) start += static_cast<size_t>(static_cast<unsigned char>(b[i])) << (7 * (9 - i));
    }
    size_t end = b.size();
    if (end >= start + 128 && b.compare(end - 128, 3, "TAG") == 0) end -= 128;
    return b.substr(start, end - start);
}

// What mutagen reads of a file: "FRAME" -> its text as mutagen shows it
// (escaped, so characters beyond the code page stay visible), "v1" -> the
// ID3v1 state.
std::map<std::string, std::string> Mutagen(const std::string& winPath, const std::string& scratch) {
    const std::string part = Unix(scratch) + ".part";
    std::string cmd = "Z:\\bin\\sh -c \"/usr/bin/python3 '" CORVELLA_MUTAGEN_PEER "' dump '" + Unix(winPath) +
                      "' > '" + part + "'; mv '" + part + "' '" + Unix(scratch) + "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    // Wine does not wait for a Unix process: the dump appears when complete.
    EXPECT_TRUE(forms::testing::PumpUntil(
        [&] { return GetFileAttributesA(scratch.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000));
    const std::string text = Bytes(scratch);
    DeleteFileA(scratch.c_str());
    std::map<std::string, std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t eol = text.find('\n', at);
        if (eol == std::string::npos) eol = text.size();
        std::vector<std::string> parts(1);
        for (size_t i = at; i < eol; ++i) {
            if (text[i] == '\t') parts.emplace_back();
            else parts.back().push_back(text[i]);
        }
        at = eol + 1;
        if (parts[0] == "v1" && parts.size() > 1) out["v1"] = parts[1];
        if (parts[0] == "frame" && parts.size() > 3) {
            const size_t open = parts[3].find("text=['"), close = parts[3].rfind("'])");
            if (open != std::string::npos && close != std::string::npos)
                out[parts[1]] = parts[3].substr(open + 7, close - open - 7);
        }
    }
    return out;
}

std::string Stored(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCaseKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[64] = {0};
    DWORD type = 0, size = sizeof data;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "<none>";
    if (type == REG_DWORD) return "DWORD:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    return (type == REG_SZ ? "SZ:" : "?:") + std::string(data);
}

// Runs `step` once from the message loop that is running then (a modal show).
std::function<void()>& Pending() {
    static std::function<void()> step;
    return step;
}
void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(Pending());
    Pending() = nullptr;
    if (step) step();
}
void Later(std::function<void()> step) {
    Pending() = std::move(step);
    SetTimer(nullptr, 0, 1, &RunPending);
}

class CaseTool : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        RegDeleteKeyA(HKEY_CURRENT_USER, kCaseKey);
        std::string data = std::string("Z:") + std::getenv("CORVELLA_CASE_DATA");
        for (char& c : data)
            if (c == '/') c = '\\';
        // Beside the data, on the Unix side, where the reader reaches it too.
        folder_ = data + "_work_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (const char* name : {"caps", "greek", "cjk", "plain", "locked"}) {
            const std::string from = data + "\\" + (std::string(name) == "locked" ? "caps" : name) + ".mp3";
            const std::string to = folder_ + "\\" + name + ".mp3";
            ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
            before_[name] = before_[to] = Bytes(to);
            FileRow row;
            row.path = to;
            files_.rows.push_back(row);
        }
        files_.folder = folder_;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(lumbrel::CLSID_CID3v1, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v1), reinterpret_cast<void**>(&raw1_)));
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(tesselor::CLSID_CID3v2, nullptr, CLSCTX_INPROC_SERVER,
                                                  __uuidof(_CID3v2), reinterpret_cast<void**>(&raw2_)));
        v1_ = std::make_unique<apply::ComID3v1>(raw1_);
        v2_ = std::make_unique<apply::ComID3v2>(raw2_);
        owner_.Show();
    }
    void TearDown() override {
        frmCase().Unload();
        owner_.Unload();
        for (const FileRow& row : files_.rows) DeleteFileA(row.path.c_str());
        RemoveDirectoryA(folder_.c_str());
        v1_.reset();
        v2_.reset();
        if (raw1_) raw1_->Release();
        if (raw2_) raw2_->Release();
        RegDeleteKeyA(HKEY_CURRENT_USER, kCaseKey);
        OleUninitialize();
        FormsTest::TearDown();
    }
    std::string File(const char* name) const { return folder_ + "\\" + name + ".mp3"; }

    std::string folder_;
    FileSet files_;
    std::map<std::string, std::string> before_;
    forms::testing::TestForm owner_;
    _CID3v1* raw1_ = nullptr;
    _CID3v2* raw2_ = nullptr;
    std::unique_ptr<apply::ComID3v1> v1_;
    std::unique_ptr<apply::ComID3v2> v2_;
};

TEST_F(CaseTool, InitialCaseOfBothVersionsWritesOnlyChangedTagsAndNamesTheLockedFile) {
    bool updateStartedDisabled = false, yearOutside = false;
    HANDLE lock = INVALID_HANDLE_VALUE;
    Later([&] {
        FrmCase& f = frmCase();
        ASSERT_TRUE(f.Visible());
        EXPECT_EQ(f.Caption(), "Tag Case");
        // A fresh profile: the defaults, and no box ticked.
        EXPECT_EQ(f.Combo1.ListIndex(), 0);
        EXPECT_EQ(f.Combo2.ListIndex(), 2);
        EXPECT_EQ(f.Combo3.ListIndex(), 1);
        updateStartedDisabled = !IsWindowEnabled(f.cmdMain[0].hWnd());
        RECT client, year;
        GetClientRect(f.hWnd(), &client);
        GetWindowRect(f.Check1[3].hWnd(), &year);
        MapWindowPoints(nullptr, f.hWnd(), reinterpret_cast<POINT*>(&year), 2);
        yearOutside = year.left >= client.right;
        SendMessageA(f.Check1[0].hWnd(), BM_CLICK, 0, 0);  // Title
        SendMessageA(f.Check1[1].hWnd(), BM_CLICK, 0, 0);  // Artist
        EXPECT_TRUE(IsWindowEnabled(f.cmdMain[0].hWnd()));
        lock = CreateFileA(File("locked").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        f.cmdMain[0].DoClick();
        CloseHandle(lock);
        EXPECT_FALSE(frmProgressUpdate().Loaded()) << "the progress window goes at the end of the run";
        f.cmdMain[1].DoClick();
    });
    const ToolResult result = OpenCaseTool(owner_, files_, {v1_.get(), v2_.get()});
    EXPECT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(updateStartedDisabled);
    EXPECT_TRUE(yearOutside);
    EXPECT_TRUE(result.tagsRewritten) << "the main list reads its files again";
    EXPECT_FALSE(frmCase().Loaded());

    // The locked file is named, and only it.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("locked.mp3"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(boxes[0].prompt.find("caps.mp3"), std::string::npos);
    EXPECT_EQ(Bytes(File("locked")), before_["locked"]);

    // Untagged and unchanged files are not touched: no empty tag is added.
    EXPECT_EQ(Bytes(File("plain")), before_["plain"]);

    const std::string scratch = folder_ + "\\dump.txt";
    auto caps = Mutagen(File("caps"), scratch);
    EXPECT_EQ(caps["TIT2"], "Morning Hush");
    EXPECT_EQ(caps["TPE1"], "The Quiet Ones");
    EXPECT_EQ(caps["TALB"], "SILENT EVENINGS") << "an unticked field keeps its case";
    // The ID3v1 block exactly as before but for the two fields.
    std::string block = before_["caps"].substr(before_["caps"].size() - 128);
    block.replace(3, 30, std::string("Morning Hush") + std::string(18, ' '));
    block.replace(33, 30, std::string("The Quiet Ones") + std::string(16, ' '));
    const std::string caps_now = Bytes(File("caps"));
    EXPECT_EQ(caps_now.substr(caps_now.size() - 128), block);
    for (const char* name : {"caps", "greek", "cjk"}) EXPECT_EQ(Audio(Bytes(File(name))), Audio(before_[name])) << name;

    // Text the ANSI code page cannot carry keeps its characters: a Greek
    // title has no letter of its own to change; the Latin letters beside
    // Greek and CJK ones change, the others stay as they were.
    auto greek = Mutagen(File("greek"), scratch);
    EXPECT_EQ(greek["TIT2"], "\\u0395\\u03bb\\u03bb\\u03b7\\u03bd\\u03b9\\u03ba\\u03ac");
    EXPECT_EQ(greek["TPE1"], "\\u03a9mega Live");
    EXPECT_EQ(Mutagen(File("cjk"), scratch)["TIT2"], "\\u6771\\u4eac Tokyo");
    EXPECT_EQ(greek["v1"], "none") << "no ID3v1 tag was added";

    // The choices are kept on close: lists and boxes as Integers (text).
    const std::map<std::string, std::string> stored = {
        {"New Case", "SZ:0"}, {"Apply Version", "SZ:2"}, {"Apply To", "SZ:1"}, {"0", "SZ:1"}, {"1", "SZ:1"},
        {"3", "SZ:0"},        {"11", "SZ:0"},            {"6", "<none>"}};
    for (const auto& [name, value] : stored) EXPECT_EQ(Stored(name.c_str()), value) << name;
}

TEST_F(CaseTool, StoredIndexesOutsideTheirListsGiveTheDefaultsAndSelectedFileWithoutSelectionDoesNothing) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kCaseKey, &key), ERROR_SUCCESS);
    for (const auto& [name, value] : std::map<std::string, std::string>{{"New Case", "-1"}, {"Apply Version", "9"},
                                                                        {"Apply To", "0"}, {"0", "1"}}) {
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    RegCloseKey(key);
    bool progressShown = false;
    Later([&] {
        FrmCase& f = frmCase();
        EXPECT_EQ(f.Combo1.ListIndex(), 0);
        EXPECT_EQ(f.Combo2.ListIndex(), 2);
        EXPECT_EQ(f.Combo3.ListIndex(), 0);
        EXPECT_EQ(f.Check1[0].Value(), 1);
        EXPECT_TRUE(IsWindowEnabled(f.cmdMain[0].hWnd()));
        f.cmdMain[0].DoClick();  // "Selected File", and no row is selected
        progressShown = frmProgressUpdate().Loaded();
        f.cmdMain[1].DoClick();
    });
    const ToolResult result = OpenCaseTool(owner_, files_, {v1_.get(), v2_.get()});
    EXPECT_FALSE(progressShown);
    EXPECT_FALSE(result.tagsRewritten);
    EXPECT_TRUE(boxes.empty());
    for (const FileRow& row : files_.rows) EXPECT_EQ(Bytes(row.path), before_[row.path]) << row.path;
    EXPECT_EQ(Stored("New Case"), "SZ:0");
    EXPECT_EQ(Stored("Apply Version"), "SZ:2");
}

}  // namespace
}  // namespace corvella
