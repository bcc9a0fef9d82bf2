#include "libs/common/storage/storage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;
using corvella::FileSystem;
using corvella::platform_filesystem;

namespace {

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("corvella_storage_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& e : fs::directory_iterator(dir_, ec))
            platform_filesystem().set_attributes(e.path().string(), corvella::kAttrNormal);
        fs::remove_all(dir_, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string p = (dir_ / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    static std::string Read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    fs::path dir_;
};

TEST_F(StorageTest, ReplaceWritesHeadThenCopiedRange) {
    FileSystem& f = platform_filesystem();
    std::string p = Write("a.mp3", "0123456789");
    ASSERT_TRUE(corvella::replace_contents(f, p, "HEAD", 3, 5));
    EXPECT_EQ(Read(p), "HEAD34567");
    EXPECT_EQ(FileCount(), 1u) << "no scratch file may stay behind";

    // A large copied range crosses the chunk size.
    std::string big(3 << 20, 'x');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    p = Write("big.mp3", big);
    ASSERT_TRUE(corvella::replace_contents(f, p, "", 10, big.size() - 10));
    EXPECT_EQ(Read(p), big.substr(10));
}

TEST_F(StorageTest, ReplaceFailureLeavesOriginal) {
    FileSystem& f = platform_filesystem();
    std::string p = Write("a.mp3", "0123456789");
    EXPECT_FALSE(corvella::replace_contents(f, p, "X", 8, 5)) << "range beyond the file";
    EXPECT_FALSE(corvella::replace_contents(f, (dir_ / "missing.mp3").string(), "X", 0, 0));
    EXPECT_EQ(Read(p), "0123456789");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(StorageTest, ReplaceKeepsReadOnlyAttribute) {
    FileSystem& f = platform_filesystem();
    std::string p = Write("ro.mp3", "abcdef");
    ASSERT_TRUE(f.set_attributes(p, corvella::kAttrReadOnly));
    // The caller clears read-only first when it means to write; replacing a
    // read-only file is refused and leaves it whole.
    EXPECT_FALSE(corvella::replace_contents(f, p, "Z", 0, 6));
    EXPECT_EQ(Read(p), "abcdef");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(StorageTest, FileReadWriteTruncate) {
    FileSystem& f = platform_filesystem();
    std::string p = Write("t.bin", "hello world");
    EXPECT_TRUE(f.exists(p));
    EXPECT_TRUE(f.exists(dir_.string())) << "folders exist too";
    auto file = f.open(p, true);
    ASSERT_TRUE(file);
    char buf[5];
    EXPECT_TRUE(file->read_at(6, buf, 5));
    EXPECT_EQ(std::string(buf, 5), "world");
    EXPECT_FALSE(file->read_at(8, buf, 5)) << "short reads fail";
    EXPECT_TRUE(file->write_at(11, "!!", 2));
    EXPECT_TRUE(file->truncate(12));
    uint64_t n = 0;
    EXPECT_TRUE(file->size(n));
    EXPECT_EQ(n, 12u);
    file.reset();
    EXPECT_EQ(Read(p), "hello world!");
    EXPECT_FALSE(f.create_new(p)) << "create_new never overwrites";
}

TEST_F(StorageTest, OffsetsBeyondFourGigabytes) {
    // The high half of an offset must reach the system (a sparse file).
    FileSystem& f = platform_filesystem();
    std::string p = Write("large.bin", "");
    auto file = f.open(p, true);
    ASSERT_TRUE(file);
    const uint64_t far = (5ull << 30) + 3;
    ASSERT_TRUE(file->write_at(far, "tail", 4));
    uint64_t n = 0;
    EXPECT_TRUE(file->size(n));
    EXPECT_EQ(n, far + 4);
    char buf[4] = {};
    EXPECT_TRUE(file->read_at(far, buf, 4));
    EXPECT_EQ(std::string(buf, 4), "tail");
    EXPECT_TRUE(file->truncate(10));
    EXPECT_TRUE(file->size(n));
    EXPECT_EQ(n, 10u);
}

// The platform's rename steps, with chosen steps failing. After every step
// the folder must hold the old or the new file whole under some name: a
// rename never leaves half a file.
class FailingSteps : public corvella::RenameSteps {
public:
    explicit FailingSteps(std::function<void()> after_step) : after_(std::move(after_step)) {}
    int fail_move = -1;  // which move fails, counting from 0
    bool fail_remove = false;
    bool exists(const std::string& p) override { return real_.exists(p); }
    bool move(const std::string& from, const std::string& to) override {
        const bool ok = moves_++ != fail_move && real_.move(from, to);
        after_();
        return ok;
    }
    bool remove(const std::string& p) override {
        const bool ok = !fail_remove && real_.remove(p);
        after_();
        return ok;
    }

private:
    corvella::RenameSteps& real_ = corvella::platform_rename_steps();
    std::function<void()> after_;
    int moves_ = 0;
};

TEST_F(StorageTest, ReplaceByRenamesNeverLosesTheOldOrTheNewFile) {
    struct Case {
        const char* what;
        int fail_move;
        bool fail_remove;
        bool read_only;
        bool replaced;
        size_t files_after;  // the new file, and a backup that could not go
    };
    const Case cases[] = {
        {"every step succeeds", -1, false, false, true, 1},
        {"a read-only old file", -1, false, true, true, 1},
        {"the old file cannot be moved aside", 0, false, false, false, 2},
        {"the new file cannot take the name", 1, false, false, false, 2},
        {"the backup cannot be deleted", -1, true, false, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const std::string to = Write("song.mp3", "old"), from = Write("song.mp3.cvtmp0", "new");
        Write("song.mp3.cvold0", "someone else's");  // a taken backup name is skipped
        if (c.read_only) {
            ASSERT_TRUE(platform_filesystem().set_attributes(to, corvella::kAttrReadOnly));
        }
        bool old_whole = true, new_whole = true;
        FailingSteps steps([&] {
            bool saw_old = false, saw_new = false;
            for (auto& e : fs::directory_iterator(dir_)) {
                const std::string text = Read(e.path().string());
                saw_old = saw_old || text == "old";
                saw_new = saw_new || text == "new";
            }
            old_whole = old_whole && (saw_old || Read(to) == "new");
            new_whole = new_whole && saw_new;
        });
        steps.fail_move = c.fail_move;
        steps.fail_remove = c.fail_remove;
        EXPECT_EQ(corvella::replace_by_renames(steps, from, to), c.replaced);
        EXPECT_TRUE(old_whole && new_whole);
        EXPECT_EQ(Read(to), c.replaced ? "new" : "old");
        if (!c.replaced) {
            EXPECT_EQ(Read(from), "new") << "the caller deletes its scratch file";
        }
        EXPECT_EQ(Read((dir_ / "song.mp3.cvold0").string()), "someone else's");
        EXPECT_EQ(FileCount(), c.files_after + 1);
    }
    const std::string only = Write("only.mp3", "x");
    EXPECT_FALSE(corvella::replace_by_renames(corvella::platform_rename_steps(),
                                              (dir_ / "missing").string(), only));
    EXPECT_EQ(Read(only), "x");
}

}  // namespace
