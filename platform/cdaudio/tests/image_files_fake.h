// Files of a disc image held in memory, for the image tests.
#pragma once

#include <cstring>
#include <map>

#include "platform/cdaudio/core/disc_image.h"

namespace corvella::cdaudio {

struct MemoryFiles : ImageFiles {
    std::map<std::string, std::string> files;  // full path -> bytes
    std::optional<uint64_t> Size(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.size();
    }
    bool Read(const std::string& path, uint64_t at, size_t n, uint8_t* out) override {
        auto it = files.find(path);
        if (it == files.end() || at + n > it->second.size()) return false;
        std::memcpy(out, it->second.data() + at, n);
        return true;
    }
    std::optional<std::vector<std::string>> List(const std::string& folder) override {
        std::vector<std::string> out;
        for (const auto& f : files)
            if (f.first.compare(0, folder.size() + 1, folder + "/") == 0) out.push_back(f.first);
        if (out.empty()) return std::nullopt;
        return out;
    }
};

// Frames whose every byte tells where it came from: (file tag, frame).
inline std::string Frames(uint8_t tag, uint32_t count, uint32_t tailBytes = 0) {
    std::string s;
    for (uint32_t f = 0; f < count; ++f)
        for (uint32_t b = 0; b < kFrameBytes; ++b) s += char(b % 4 == 0 ? tag : b % 4 == 1 ? f : b % 4 == 2 ? f >> 8 : b >> 4);
    for (uint32_t b = 0; b < tailBytes; ++b) s += char(tag ^ 0x5A);
    return s;
}

inline std::string Wav(const std::string& data, uint32_t rate = 44100, uint16_t channels = 2, uint16_t bits = 16) {
    auto le = [](uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += char(v >> (8 * i));
        return s;
    };
    const uint16_t align = uint16_t(channels * bits / 8);
    return "RIFF" + le(uint32_t(data.size() + 36 + 12), 4) + "WAVE" + "LIST" + le(4, 4) + "INFO" + "fmt " +
           le(16, 4) + le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) +
           le(bits, 2) + "data" + le(uint32_t(data.size()), 4) + data;
}

}  // namespace corvella::cdaudio
