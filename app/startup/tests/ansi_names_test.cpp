// File and folder names with characters of the Western ANSI code page
// outside ASCII, made on the Unix side in UTF-8, through every file
// operation of the program: folder search and listing, attributes, tag
// read, write and removal, a new file beside them. Names with characters
// the code page lacks are found under names that open them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/foundation/folder_search.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "app/foundation/win32/shell/tests/test_support.h"
#include "libs/common/storage/storage.h"
#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"

namespace {

using corvella::platform_filesystem;

// In code page 1252: e acute, u umlaut, OE ligature, euro sign.
const std::string kFolder = "Musique \xE9 \xFC \x8C \x80";
const std::string kFile = "Caf\xE9 \xFC \x8C \x80.mp3";

class AnsiNames : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "the locale gives no Western ANSI code page; set-up must "
                                      "provide en_US.UTF-8 (tools/setup-deps.sh)";
        root_ = corvella::shell::testing_support::DataFolder();
        ASSERT_FALSE(root_.empty()) << "CORVELLA_SHELL_DATA is not set";
        folder_ = root_ + kFolder + "\\";
        file_ = folder_ + kFile;
    }
    std::string root_, folder_, file_;
};

TEST_F(AnsiNames, FolderSearchAndListingFindThem) {
    for (auto method : {corvella::shell::ListingMethod::Automatic,
                        corvella::shell::ListingMethod::FindFunctions}) {
        corvella::shell::Win32DirectoryLister lister(method);
        std::vector<corvella::foundation::DirEntry> entries;
        ASSERT_TRUE(lister.List(root_, entries));
        EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [](const auto& e) {
            return e.name == kFolder && e.is_directory;
        }));
        EXPECT_TRUE(lister.Exists(file_));

        corvella::foundation::CFileSystem search(lister);
        search.SetSearchPaths(root_);
        search.SetFileExtenstions("*.mp3");
        std::vector<std::string> files;
        search.Search(files);
        EXPECT_NE(std::find(files.begin(), files.end(), file_), files.end());
        // Names the code page cannot hold (a file and a folder) are found
        // under their short names, which open the very files.
        std::vector<uint64_t> sizes;
        for (const std::string& found : files) {
            auto opened = platform_filesystem().open(found, false);
            ASSERT_TRUE(opened) << found;
            ASSERT_TRUE(opened->size(sizes.emplace_back()));
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, (std::vector<uint64_t>{4096, 5000, 6000}));
        EXPECT_TRUE(search.Unreachable().empty());
    }
}

TEST_F(AnsiNames, AttributesTagsAndNewFiles) {
    corvella::FileSystem& fs = platform_filesystem();
    ASSERT_NE(fs.get_attributes(file_), corvella::kAttrInvalid) << file_;
    ASSERT_TRUE(fs.set_attributes(file_, corvella::kAttrReadOnly));
    EXPECT_EQ(fs.get_attributes(file_) & corvella::kAttrReadOnly, corvella::kAttrReadOnly);

    // Each tag library writes (through the read-only attribute, which
    // comes back), reads and removes its tag; a replace included.
    corvella::id3v2::CID3v2Tag v2;
    v2.SetFrameValue(corvella::id3v2::Title, "Caf\xE9");
    v2.SetFrameValue(corvella::id3v2::Comment, std::string(8000, 'x'));  // outgrows: replace
    {
        corvella::WritableGuard writable(fs, file_);
        ASSERT_TRUE(v2.WriteTag(fs, file_));
    }
    EXPECT_NE(fs.get_attributes(file_) & corvella::kAttrReadOnly, 0u);
    ASSERT_TRUE(fs.set_attributes(file_, corvella::kAttrNormal));
    corvella::id3v2::CID3v2Tag v2_back;
    ASSERT_TRUE(v2_back.ReadTag(fs, file_));
    EXPECT_EQ(v2_back.GetFrameValue(corvella::id3v2::Title), "Caf\xE9");

    corvella::id3v1::CID3v1Tag v1;
    v1.SetFieldValue(corvella::id3v1::Title, corvella::id3v1::FieldValue::Str("\x8C" "uvre"));
    ASSERT_TRUE(v1.WriteTag(fs, file_));
    corvella::id3v1::CID3v1Tag v1_back;
    ASSERT_TRUE(v1_back.ReadTag(fs, file_));
    EXPECT_EQ(v1_back.GetFieldValue(corvella::id3v1::Title).value_or(""), "\x8C" "uvre");

    EXPECT_TRUE(v1_back.RemoveTag(fs, file_));
    EXPECT_TRUE(v2_back.RemoveTag(fs, file_));
    uint64_t size = 0;
    auto opened = fs.open(file_, false);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->size(size));
    EXPECT_EQ(size, 4096u) << "the audio alone is left";
    opened.reset();

    // A new file with such a name, beside the old one, and gone again.
    const std::string added = folder_ + "\x8C" "uvre \x80.mp3";
    ASSERT_TRUE(fs.create_new(added));
    EXPECT_TRUE(fs.exists(added));
    EXPECT_TRUE(fs.remove(added));
    EXPECT_FALSE(fs.exists(added));
}

}  // namespace
