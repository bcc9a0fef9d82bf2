// The case tool through its opener, on copies of LAME-encoded files tagged
// by id3v2 and mutagen, with the real tag libraries: results read back by
// mutagen and by bytes, untouched files and the audio byte for byte, a
// locked file named, and the choices in the registry on a fresh profile.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "app/foundation/win32/progress/progress_update.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/tools/case/win32/frm_case.h"
#include "app/tools/tests/window_test_util.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using namespace tooltest;

const char kCaseKey[] = "Software\\Corvella\\Options\\Case";

// The bytes between the ID3v2 tag and the ID3v1 tag.
std::string Audio(const std::string& b) {
    size_t start = 0;
    if (b.compare(0, 3, "ID3") == 0) {
        start = 10;
        for (int i = 6; i < 10; ++i) start += static_cast<size_t>(static_cast<unsigned char>(b[i])) << (7 * (9 - i));
    }
    const size_t end = b.size() >= start + 128 && b.compare(b.size() - 128, 3, "TAG") == 0 ? b.size() - 128 : b.size();
    return b.substr(start, end - start);
}

// Each frame's text as mutagen shows it (characters beyond the code page
// escaped), and "v1": "present" or "none".
std::map<std::string, std::string> Mutagen(const std::string& file, const std::string& scratch) {
    const std::string text =
        RunUnix("/usr/bin/python3 '" CORVELLA_MUTAGEN_PEER "' dump '" + UnixPath(file) + "'", scratch);
    std::map<std::string, std::string> out;
    for (size_t at = 0, eol; at < text.size(); at = eol + 1) {
        eol = text.find('\n', at);
        if (eol == std::string::npos) eol = text.size();
        const std::string line = text.substr(at, eol - at);
        const size_t tab = line.find('\t'), open = line.find("text=['"), close = line.rfind("'])");
        if (line.compare(0, 3, "v1\t") == 0) out["v1"] = line.substr(3);
        if (line.compare(0, 6, "frame\t") == 0 && open != std::string::npos && close != std::string::npos)
            out[line.substr(tab + 1, 4)] = line.substr(open + 7, close - open - 7);
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
    return (type == REG_SZ ? "SZ:" : "type " + std::to_string(type) + ":") + std::string(data);
}

TEST(CaseTool, InitialCaseOfBothVersionsWritesOnlyChangedTagsKeepsForeignTextAndNamesTheLockedFile) {
    std::vector<std::string> boxes;
    forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string&) {
        boxes.push_back(prompt);
        return IDOK;
    });
    OleInitialize(nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, kCaseKey);
    const std::string data = WinPath(std::getenv("CORVELLA_CASE_DATA"));
    const std::string folder = data + "_work_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    auto file = [&](const char* name) { return folder + "\\" + name + ".mp3"; };
    std::map<std::string, std::string> before;
    FileSet files;
    for (const char* name : {"caps", "greek", "cjk", "plain", "locked"}) {
        const std::string from = data + "\\" + (std::string(name) == "locked" ? "caps" : name) + ".mp3";
        ASSERT_TRUE(CopyFileA(from.c_str(), file(name).c_str(), FALSE)) << from;
        before[name] = Bytes(file(name));
        files.rows.push_back({file(name), false, {}});
    }
    tags::testing::TagObjects objects;
    ASSERT_HRESULT_SUCCEEDED(objects.Create());
    forms::testing::TestForm owner;
    owner.Show();

    bool defaults = false, updateWasDisabled = false, yearOutside = false, progressGone = false;
    Later([&] {
        FrmCase& f = frmCase();
        defaults = f.Caption() == "Tag Case" && f.Combo1.ListIndex() == 0 && f.Combo2.ListIndex() == 2 &&
                   f.Combo3.ListIndex() == 1;
        updateWasDisabled = !IsWindowEnabled(f.cmdMain[0].hWnd());
        RECT client, year;
        GetClientRect(f.hWnd(), &client);
        GetWindowRect(f.Check1[3].hWnd(), &year);
        MapWindowPoints(nullptr, f.hWnd(), reinterpret_cast<POINT*>(&year), 2);
        yearOutside = year.left >= client.right;
        SendMessageA(f.Check1[0].hWnd(), BM_CLICK, 0, 0);  // Title
        SendMessageA(f.Check1[1].hWnd(), BM_CLICK, 0, 0);  // Artist
        HANDLE lock = CreateFileA(file("locked").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SendMessageA(f.cmdMain[0].hWnd(), BM_CLICK, 0, 0);
        CloseHandle(lock);
        progressGone = !frmProgressUpdate().Loaded();
        f.cmdMain[1].DoClick();
    });
    const ToolResult result = OpenCaseTool(owner, files, objects.Pair());
    EXPECT_TRUE(defaults && updateWasDisabled && yearOutside && progressGone);
    EXPECT_TRUE(result.tagsRewritten) << "the main list reads its files again";

    // Only the locked file is named; it, the untagged one and the Greek-only
    // title's file are left byte for byte.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("locked.mp3"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[0].find("caps.mp3"), std::string::npos) << boxes[0];
    for (const char* name : {"locked", "plain"}) EXPECT_EQ(Bytes(file(name)), before[name]) << name;
    for (const char* name : {"caps", "greek", "cjk"}) EXPECT_EQ(Audio(Bytes(file(name))), Audio(before[name])) << name;

    const std::string scratch = folder + "\\dump.txt";
    auto caps = Mutagen(file("caps"), scratch);
    EXPECT_EQ(caps["TIT2"] + "|" + caps["TPE1"] + "|" + caps["TALB"], "Morning Hush|The Quiet Ones|SILENT EVENINGS");
    std::string block = before["caps"].substr(before["caps"].size() - 128);
    block.replace(3, 60, "Morning Hush                  The Quiet Ones                ");
    EXPECT_EQ(Bytes(file("caps")).substr(Bytes(file("caps")).size() - 128), block) << "ID3v1 block exact";
    // Letters beside Greek and CJK ones change; those stay what they were.
    auto greek = Mutagen(file("greek"), scratch);
    EXPECT_EQ(greek["TIT2"], "\\u0395\\u03bb\\u03bb\\u03b7\\u03bd\\u03b9\\u03ba\\u03ac");
    EXPECT_EQ(greek["TPE1"], "\\u03a9mega Live");
    EXPECT_EQ(greek["v1"], "none") << "no ID3v1 tag added";
    EXPECT_EQ(Mutagen(file("cjk"), scratch)["TIT2"], "\\u6771\\u4eac Tokyo");

    // The choices kept on close, as Integers (text); Track is not kept.
    for (const auto& [name, value] : std::map<std::string, std::string>{
             {"New Case", "SZ:0"}, {"Apply Version", "SZ:2"}, {"Apply To", "SZ:1"}, {"0", "SZ:1"},
             {"1", "SZ:1"}, {"3", "SZ:0"}, {"11", "SZ:0"}, {"6", "<none>"}})
        EXPECT_EQ(Stored(name.c_str()), value) << name;

    // Opened as the main window opens it: the list is read again after each
    // run, with the form still open, also when no tag needed a change.
    int listedAgain = 0, listedBeforeClose = -1;
    Later([&] {
        FrmCase& f = frmCase();
        SendMessageA(f.cmdMain[0].hWnd(), BM_CLICK, 0, 0);
        SendMessageA(f.cmdMain[0].hWnd(), BM_CLICK, 0, 0);
        listedBeforeClose = listedAgain;
        f.cmdMain[1].DoClick();
    });
    const ToolResult again = OpenCaseTool(owner, files, objects.Pair(), [&] { ++listedAgain; });
    EXPECT_EQ(listedBeforeClose, 2) << "one reading per run";
    EXPECT_FALSE(again.tagsRewritten) << "already read";
    EXPECT_EQ(boxes.size(), 1u) << "the file locked before is free now";

    owner.Unload();
    for (const FileRow& row : files.rows) DeleteFileA(row.path.c_str());
    RemoveDirectoryA(folder.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kCaseKey);
    forms::SetMsgBoxHook(nullptr);
}

}  // namespace
}  // namespace corvella
