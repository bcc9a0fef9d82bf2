// The file service on the real file system; names are read back as stored
// with FindFirstFileA.
#include "app/foundation/files/win32/win32_file_ops.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

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
        for (const char* p : {"Intro.mp3", "taken.mp3", "A\\B\\Intro.mp3", "A\\B", "A", "Moved.mp3", ""}) {
            SetFileAttributesA((dir_ + p).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileA((dir_ + p).c_str())) RemoveDirectoryA((dir_ + p).c_str());
        }
    }
    // The folder's entries as the file system stores their names.
    std::set<std::string> Listing() {
        std::set<std::string> out;
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((dir_ + "*").c_str(), &f);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &f))
            if (f.cFileName[0] != '.') out.insert(f.cFileName);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
        return out;
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

}  // namespace
}  // namespace files
}  // namespace corvella
