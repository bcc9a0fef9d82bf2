// The file service on the real file system; names are read back as stored
// with FindFirstFileA. Moves onto a drive that fills up and from a
// read-only one run on small file systems that small_drives.sh mounts.
#include "app/foundation/files/win32/win32_file_ops.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "libs/common/storage/storage.h"

namespace corvella {
namespace files {
namespace {

class SystemFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "cvfiles_" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    }
    void TearDown() override {
        Clear(dir_);
        for (const char* p : {"Intro.mp3", "taken.mp3", "A\\B\\Intro.mp3", "A\\B", "A", "Moved.mp3", ""}) {
            SetFileAttributesA((dir_ + p).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA((dir_ + p).c_str())) RemoveDirectoryA((dir_ + p).c_str());
        }
    }
    // The folder's entries as the file system stores their names.
    static std::set<std::string> Listing(const std::string& folder) {
        std::set<std::string> out;
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &f);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &f))
            if (f.cFileName[0] != '.') out.insert(f.cFileName);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
        return out;
    }
    std::set<std::string> Listing() { return Listing(dir_); }
    // Deletes the files of a folder.
    static void Clear(const std::string& folder) {
        for (const std::string& name : Listing(folder)) {
            SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + name).c_str());
        }
    }
    std::string dir_;
};

TEST_F(SystemFilesTest, RenamesAndMovesWithoutReplacing) {
    const struct {
        const char *from, *to;
        bool makeFolders;
        MoveResult result;
        std::set<std::string> after;
    } cases[] = {
        {"intro.mp3", "Intro.mp3", false, MoveResult::Done, {"Intro.mp3", "taken.mp3"}},
        {"INTRO.mp3", "Intro.mp3", false, MoveResult::Unchanged, {"Intro.mp3", "taken.mp3"}},
        {"Intro.mp3", "TAKEN.MP3", false, MoveResult::NameTaken, {"Intro.mp3", "taken.mp3"}},
        {"missing.mp3", "other.mp3", false, MoveResult::Gone, {"Intro.mp3", "taken.mp3"}},
        {"Intro.mp3", "A\\B\\Intro.mp3", false, MoveResult::FolderNotMade, {"Intro.mp3", "taken.mp3"}},
        {"Intro.mp3", "A\\B\\Intro.mp3", true, MoveResult::Done, {"A", "taken.mp3"}},
    };
    std::ofstream(dir_ + "intro.mp3") << "intro";
    std::ofstream(dir_ + "taken.mp3") << "taken";
    for (const auto& c : cases) {
        EXPECT_EQ(SystemFiles().Move(dir_ + c.from, dir_ + c.to, c.makeFolders), c.result) << c.from << c.to;
        EXPECT_EQ(Listing(), c.after) << c.from << " " << c.to;
    }
    std::string text;
    std::ifstream(dir_ + "taken.mp3") >> text;
    EXPECT_EQ(text, "taken") << "never replaced";
}

TEST_F(SystemFilesTest, ReadOnlyFilesKeepTheirAttributesAndFilesInUseStay) {
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    std::ofstream(dir_ + "Intro.mp3") << "ro";
    ASSERT_TRUE(SetFileAttributesA((dir_ + "Intro.mp3").c_str(), kept));
    for (const char* to : {"moved.mp3", "Moved.mp3"}) {
        EXPECT_EQ(SystemFiles().Move(dir_ + *Listing().begin(), dir_ + to), MoveResult::Done) << to;
        EXPECT_EQ(Listing(), std::set<std::string>{to});
        EXPECT_EQ(GetFileAttributesA((dir_ + to).c_str()) & kept, kept) << to;
    }
    // Another program holds the file open without sharing.
    HANDLE held = CreateFileA((dir_ + "Moved.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(SystemFiles().Move(dir_ + "Moved.mp3", dir_ + "other.mp3"), MoveResult::InUse);
    CloseHandle(held);
    EXPECT_EQ(Listing(), std::set<std::string>{"Moved.mp3"});
    EXPECT_EQ(GetFileAttributesA((dir_ + "Moved.mp3").c_str()) & kept, kept) << "put back after a failure";
}

TEST_F(SystemFilesTest, ADriveThatFillsUpOrIsReadOnlyLeavesEachFileInOnePlace) {
    const char* unix = std::getenv("CORVELLA_SMALL_DRIVES");
    std::string drives = std::string("Z:") + (unix ? unix : "") + "\\";
    std::replace(drives.begin(), drives.end(), '/', '\\');
    const std::string full = drives + "full\\", readOnly = drives + "readonly\\";
    if (!unix || GetFileAttributesA((readOnly + "plain.mp3").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drives: mounting them needs root";
    Clear(full);

    // Five files of 60 KB onto 256 KB that already hold an old playlist.
    std::ofstream(full + "old.m3u", std::ios::binary) << "old.mp3\r\n";
    std::set<std::string> moved{"old.m3u"}, failed;
    for (char c = '1'; c <= '5'; ++c) {
        const std::string name = std::string("fill") + c + ".mp3";
        std::ofstream(dir_ + name, std::ios::binary) << std::string(60000, c);
        const MoveResult r = SystemFiles().Move(dir_ + name, full + name);
        ASSERT_TRUE(r == MoveResult::Done || r == MoveResult::DiskFull) << name << ": " << ReasonText(r);
        (r == MoveResult::Done ? moved : failed).insert(name);
    }
    ASSERT_FALSE(failed.empty()) << "the drive fills up";
    // A playlist or a list written over the old one on the full drive.
    EXPECT_FALSE(write_whole_file(platform_filesystem(), full + "old.m3u", std::string(100000, 'x')));
    EXPECT_EQ(std::ifstream(full + "old.m3u", std::ios::binary | std::ios::ate).tellg(), std::streamoff(9));
    EXPECT_EQ(Listing(full), moved) << "no cut-short copy, no scratch file";
    EXPECT_EQ(Listing(), failed) << "each file in one place";
    // Room made: a second run moves the rest.
    Clear(full);
    for (const std::string& name : failed) EXPECT_EQ(SystemFiles().Move(dir_ + name, full + name), MoveResult::Done);
    EXPECT_EQ(Listing(full), failed);
    Clear(full);

    // From the read-only drive (Wine copies, cannot delete, and says done),
    // a file read-only to Windows too; onto it.
    for (const char* name : {"plain.mp3", "marked.mp3"})
        EXPECT_EQ(SystemFiles().Move(readOnly + name, dir_ + name), MoveResult::ReadOnly) << name;
    EXPECT_EQ(Listing(), std::set<std::string>{}) << "no copy stays";
    std::ofstream(dir_ + "Intro.mp3") << "intro";
    EXPECT_EQ(SystemFiles().Move(dir_ + "Intro.mp3", readOnly + "Intro.mp3"), MoveResult::ReadOnly);
    EXPECT_EQ(Listing(readOnly), (std::set<std::string>{"marked.mp3", "plain.mp3"}));
}

}  // namespace
}  // namespace files
}  // namespace corvella
