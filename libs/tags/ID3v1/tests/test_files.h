// Scratch files for the tag tests: a fresh folder per test, removed (after
// clearing read-only marks) when the test ends. std::filesystem so the same
// tests run natively and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "libs/common/storage/storage.h"

namespace corvella {
namespace testing_files {

class TempDir {
public:
    TempDir() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = std::filesystem::temp_directory_path() /
               ("corvella_id3v1_" + std::string(info ? info->name() : "t") + "_" + std::to_string(stamp));
        std::filesystem::create_directories(dir_);
    }
    ~TempDir() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ec))
            platform_filesystem().set_attributes(entry.path().string(), kAttrNormal);
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Stand-in audio: n bytes that are not all alike, so a shifted copy shows.
inline std::string Audio(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return bytes;
}

}  // namespace testing_files
}  // namespace corvella
