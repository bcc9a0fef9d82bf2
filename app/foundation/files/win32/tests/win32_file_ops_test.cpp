// The file service on the real file system: the stored name is read back
// with FindFirstFileA, contents with the C run-time.
#include "app/foundation/files/win32/win32_file_ops.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvella {
namespace files {
namespace {

class SystemFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "cvfiles_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    }
    void TearDown() override { Wipe(dir_); }

    static void Wipe(const std::string& dir) {
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &f);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = f.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = dir + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    Wipe(path);
                } else {
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(h, &f));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string P(const std::string& leaf) const { return dir_ + "\\" + leaf; }
    void Write(const std::string& leaf, const std::string& text) { std::ofstream(P(leaf), std::ios::binary) << text; }
    std::string Read(const std::string& leaf) {
        std::ifstream in(P(leaf), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The folder's entries as stored, sorted by the file system.
    std::vector<std::string> Listing(const std::string& dir) {
        std::vector<std::string> out;
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &f);
        if (h == INVALID_HANDLE_VALUE) return out;
        do {
            const std::string name = f.cFileName;
            if (name != "." && name != "..") out.push_back(name);
        } while (FindNextFileA(h, &f));
        FindClose(h);
        std::sort(out.begin(), out.end());
        return out;
    }

    std::string dir_;
};

TEST_F(SystemFilesTest, RenamesAndMovesOnDisk) {
    const struct {
        const char* what;
        std::string from, to;
        bool makeFolders;
        MoveResult result;
        std::vector<std::string> after;  // the folder's entries afterwards
    } cases[] = {
        {"letter case only", "intro.mp3", "Intro.mp3", false, MoveResult::Done, {"Intro.mp3", "taken.mp3"}},
        {"letter case as stored", "INTRO.mp3", "Intro.mp3", false, MoveResult::Unchanged, {"Intro.mp3", "taken.mp3"}},
        {"a taken name", "Intro.mp3", "TAKEN.MP3", false, MoveResult::NameTaken, {"Intro.mp3", "taken.mp3"}},
        {"gone", "missing.mp3", "other.mp3", false, MoveResult::Gone, {"Intro.mp3", "taken.mp3"}},
        {"no folder", "Intro.mp3", "A\\B\\Intro.mp3", false, MoveResult::FolderNotMade, {"Intro.mp3", "taken.mp3"}},
        {"folders made", "Intro.mp3", "A\\B\\Intro.mp3", true, MoveResult::Done, {"A", "taken.mp3"}},
    };
    Write("intro.mp3", "intro");
    Write("taken.mp3", "taken");
    for (const auto& c : cases) {
        EXPECT_EQ(SystemFiles().Move(P(c.from), P(c.to), c.makeFolders), c.result) << c.what;
        EXPECT_EQ(Listing(dir_), c.after) << c.what;
    }
    EXPECT_EQ(Read("taken.mp3"), "taken") << "never replaced";
    EXPECT_EQ(Read("A\\B\\Intro.mp3"), "intro");
    EXPECT_EQ(SystemFiles().Move(P("A\\B\\Intro.mp3"), P(std::string(260, 'n'))), MoveResult::PathTooLong);
}

TEST_F(SystemFilesTest, ReadOnlyFilesKeepTheirAttributesAndFilesInUseStay) {
    Write("ro.mp3", "ro");
    ASSERT_TRUE(SetFileAttributesA(P("ro.mp3").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    for (const char* to : {"moved.mp3", "Moved.mp3"}) {
        const std::string from = Listing(dir_).at(0);
        EXPECT_EQ(SystemFiles().Move(P(from), P(to)), MoveResult::Done) << to;
        EXPECT_EQ(Listing(dir_), std::vector<std::string>{to});
        EXPECT_EQ(GetFileAttributesA(P(to).c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                  static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
            << to;
    }
    // Another program holds the file open without sharing.
    HANDLE held = CreateFileA(P("Moved.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SystemFiles().Move(P("Moved.mp3"), P("other.mp3")), MoveResult::InUse);
    CloseHandle(held);
    EXPECT_EQ(Listing(dir_), std::vector<std::string>{"Moved.mp3"});
    EXPECT_NE(GetFileAttributesA(P("Moved.mp3").c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "put back after a failure";
}

}  // namespace
}  // namespace files
}  // namespace corvella
