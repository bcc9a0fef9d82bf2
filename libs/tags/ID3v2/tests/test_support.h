// Helpers shared by the ID3v2 tests: tag byte builders, a scratch folder and
// a file system that can be told to fail.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <zlib.h>

#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/common/storage/storage.h"

namespace testing_id3v2 {

inline std::string Be32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string Syncsafe(uint32_t v) {
    std::string s;
    for (uint8_t b : corvella::id3v2::ToSyncsafe(v)) s.push_back(char(b));
    return s;
}

// One frame; `syncsafe` picks the size form.
inline std::string Frame(const std::string& id, const std::string& body, bool syncsafe = false,
                         uint16_t flags = 0) {
    return id + (syncsafe ? Syncsafe(uint32_t(body.size())) : Be32(uint32_t(body.size()))) +
           char(flags >> 8) + char(flags & 0xFF) + body;
}

// Tag header (syncsafe size of frames + padding), frames, padding.
inline std::string Tag(int version, uint8_t flags, const std::string& frames, size_t padding = 0) {
    return std::string("ID3") + char(version) + '\0' + char(flags) +
           Syncsafe(uint32_t(frames.size() + padding)) + frames + std::string(padding, '\0');
}

// A tag whose header declares `size`, whatever it holds.
inline std::string Declaring(std::string tag, uint32_t size) { return tag.replace(6, 4, Syncsafe(size)); }

// A 2.2 frame: three-character ID, three-byte size, no flags.
inline std::string Frame22(const std::string& id, const std::string& body) {
    return id + char(body.size() >> 16) + char(body.size() >> 8) + char(body.size()) + body;
}

// The bytes with a 00 put after every FF.
inline std::string Unsynchronised(const std::string& in) {
    std::string out;
    for (char c : in) {
        out.push_back(c);
        if (uint8_t(c) == 0xFF) out.push_back('\0');
    }
    return out;
}

// The bytes as a zlib stream.
inline std::string Deflated(const std::string& in) {
    uLongf n = compressBound(uLong(in.size()));
    std::string out(n, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &n, reinterpret_cast<const Bytef*>(in.data()), uLong(in.size()), 9);
    out.resize(n);
    return out;
}

// Audio-like bytes that do not begin with FF, so a scan for the first FF
// cannot pass for finding where they start; an FF comes at byte 36, as
// audio has one, else the file holds none.
inline std::string Audio(size_t n = 3000) {
    std::string a;
    for (size_t i = 0; i < n; ++i) a.push_back(char((i * 7 + 3) % 256));
    return a;
}

class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("id3v2test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name, const std::string& contents) const {
        std::string p = (path_ / name).string();
        std::ofstream(p, std::ios::binary) << contents;
        return p;
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The platform's file system with a settable cluster size and failures.
class TestFs : public corvella::FileSystem {
public:
    uint32_t cluster = 512;
    bool fail_replace = false;
    bool fail_writes = false;

    corvella::FileSystem& real = corvella::platform_filesystem();
    bool exists(const std::string& p) override { return real.exists(p); }
    std::unique_ptr<corvella::File> open(const std::string& p, bool w) override {
        if (w && fail_writes) return nullptr;
        return real.open(p, w);
    }
    std::unique_ptr<corvella::File> create_new(const std::string& p) override {
        return fail_writes ? nullptr : real.create_new(p);
    }
    uint32_t get_attributes(const std::string& p) override { return real.get_attributes(p); }
    bool set_attributes(const std::string& p, uint32_t a) override { return real.set_attributes(p, a); }
    bool replace(const std::string& f, const std::string& t) override {
        return !fail_replace && real.replace(f, t);
    }
    bool remove(const std::string& p) override { return real.remove(p); }
    uint32_t cluster_size(const std::string&) override { return cluster; }
};

}  // namespace testing_id3v2
