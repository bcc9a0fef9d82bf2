#include "libs/common/storage/storage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

}  // namespace
