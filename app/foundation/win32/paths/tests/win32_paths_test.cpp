// The path helpers and the file service's renames on the real file system,
// and the settings helpers' value types as the registry itself reports them
// (reg query).
#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/foundation/paths.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string TempName(const char* leaf) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "cvpaths_" + std::to_string(GetCurrentProcessId()) + "_" + leaf;
}

void Touch(const std::string& path, const char* text) { std::ofstream(path, std::ios::binary) << text; }

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Win32Paths, RenameMovesButNeverReplaces) {
    corvella::files::FileService& fs = corvella::files::SystemFiles();
    const std::string a = TempName("a.mp3"), b = TempName("b.mp3"), c = TempName("c.mp3");
    Touch(a, "first");
    Touch(b, "second");
    EXPECT_TRUE(corvella::PathExists(a));
    EXPECT_EQ(fs.Move(a, b), corvella::files::MoveResult::NameTaken) << "the target exists";
    EXPECT_EQ(Slurp(a), "first");
    EXPECT_EQ(Slurp(b), "second");
    EXPECT_EQ(fs.Move(a, c), corvella::files::MoveResult::Done);
    EXPECT_FALSE(corvella::PathExists(a));
    EXPECT_EQ(Slurp(c), "first");
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    EXPECT_TRUE(corvella::PathExists(folder)) << "folders exist too";
    DeleteFileA(b.c_str());
    DeleteFileA(c.c_str());
}

// Runs reg.exe and returns what it printed.
std::string RegQuery(const std::string& key) {
    const std::string out = TempName("reg.txt");
    std::string cmd = "cmd /c reg query \"HKCU\\" + key + "\" > \"" + out + "\"";
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return "";
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string text = Slurp(out);
    DeleteFileA(out.c_str());
    return text;
}

// The line reg.exe prints for one value: its name, type and data.
bool HasValueLine(const std::string& listing, const std::string& name, const std::string& type,
                  const std::string& data) {
    size_t at = 0;
    while ((at = listing.find(name, at)) != std::string::npos) {
        size_t eol = listing.find('\n', at);
        std::string line = listing.substr(at, eol == std::string::npos ? std::string::npos : eol - at);
        if (line.find(type) != std::string::npos && line.find(data) != std::string::npos) return true;
        at += name.size();
    }
    return false;
}

TEST(RegistryTypes, SettingsKeepTheirTypesInTheRegistry) {
    corvella::Win32SettingsStore store;
    const std::string section = "Software\\CorvellaTypesTest\\Options";
    corvella::SaveSettingLong(store, section, "Left", 1234);
    corvella::SaveSettingLong(store, section, "View", 0);
    corvella::SaveSettingBool(store, section, "Show Folder Bar", true);
    corvella::SaveSettingInteger(store, section, "Splitter", 2000);
    corvella::SaveSettingText(store, section, "Last Folder", "C:\\Music");
    // A stored DWORD 0 is kept, not replaced by the default.
    EXPECT_EQ(corvella::GetSettingLong(store, section, "View", 3), 0);
    // A missing value is written with its default on first read.
    EXPECT_EQ(corvella::GetSettingLong(store, section, "Top", 600), 600);

    const std::string listing = RegQuery(section);
    EXPECT_TRUE(HasValueLine(listing, "Left", "REG_DWORD", "0x4d2")) << listing;
    EXPECT_TRUE(HasValueLine(listing, "View", "REG_DWORD", "0x0")) << listing;
    EXPECT_TRUE(HasValueLine(listing, "Top", "REG_DWORD", "0x258")) << listing;
    EXPECT_TRUE(HasValueLine(listing, "Show Folder Bar", "REG_SZ", "True")) << listing;
    EXPECT_TRUE(HasValueLine(listing, "Splitter", "REG_SZ", "2000")) << listing;
    EXPECT_TRUE(HasValueLine(listing, "Last Folder", "REG_SZ", "C:\\Music")) << listing;

    corvella::DeleteRegistryTree(store, "HKEY_CURRENT_USER\\Software\\CorvellaTypesTest");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvellaTypesTest");
}

}  // namespace
