// Cue sheets of any text: mutations of a real one, each in a buffer of its
// own size so the sanitizers see a read past it. A sheet that parses must lay
// out or be refused, and every read of the image must stay in its buffer and
// say truly what it delivered. Seeded, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "platform/cdaudio/core/disc_image.h"
#include "platform/cdaudio/tests/image_files_fake.h"

namespace corvella::cdaudio {
namespace {

const char kSeed[] =
    "REM FAULT READ 40 2\r\nREM FAULT SHORT 70\r\nFILE \"a.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n"
    "    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    INDEX 00 00:00:40\r\n    INDEX 01 00:00:50\r\n"
    "FILE b.wav WAVE\r\n  TRACK 03 MODE1/2352\r\n    PREGAP 00:00:05\r\n    INDEX 01 00:00:01\r\n";

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    static const char* const kPieces[] = {"\r\n", "\"", " ", ":", "99", "00:00:74", "INDEX 01 ", "INDEX 00 ",
                                          "TRACK 04 AUDIO\n", "PREGAP 99:59:74\n", "REM FAULT ", "FILE ",
                                          "MODE2/2352", "\xEF\xBB\xBF", "4294967295", "\0"};
    const size_t at = pick(s.size() + 1);
    switch (pick(4)) {
    case 0:
        for (size_t k = pick(6) + 1; k > 0 && !s.empty(); --k) s[pick(s.size())] = char(rng());
        break;
    case 1:
        s.insert(at, kPieces[pick(std::size(kPieces))]);
        break;
    case 2:
        s.erase(at, pick(32) + 1);
        break;
    default:
        s.insert(at, s.substr(at, pick(48) + 1));
    }
    return s;
}

TEST(CueFuzz, AnyTextIsReadOrRefusedSafely) {
    std::mt19937 rng(24);
    MemoryFiles files;
    files.files["/d/a.bin"] = Frames(1, 90, 7);
    files.files["/d/b.wav"] = Wav(Frames(2, 40));
    std::vector<uint8_t> out(kFrameBytes * 26);
    int opened = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string text = kSeed;
        for (int m = int(rng() % 4); m >= 0; --m) text = Mutate(text, rng);
        std::unique_ptr<char[]> exact(new char[text.size() + 1]);
        std::copy(text.begin(), text.end(), exact.get());
        ParseCueSheet(std::string_view(exact.get(), text.size()), nullptr);
        files.files["/d/x.cue"] = text;
        auto image = DiscImage::Open("/d/x.cue", files, nullptr);
        if (!image) continue;
        ++opened;
        const uint32_t leadOut = image->Layout().leadOut;
        for (uint32_t start = 0; start <= leadOut + 1; start += 13) {
            const uint32_t count = uint32_t(rng() % 27);
            uint32_t got = 99;
            const int code = image->Read(start, count, out.data(), &got);
            ASSERT_TRUE(code == kOk || code == kErrAspi);
            ASSERT_LE(got, count);
            if (code != kOk) {
                ASSERT_EQ(got, 0u);
            } else {
                ASSERT_LE(start + count, leadOut);
            }
        }
    }
    EXPECT_GT(opened, 100);  // the mutations leave enough sheets whole to matter
}

}  // namespace
}  // namespace corvella::cdaudio
