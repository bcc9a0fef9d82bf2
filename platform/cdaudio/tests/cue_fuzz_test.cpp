// Cue sheets of any text: mutations of a real one, each in a buffer of its
// own size so the sanitizers see a read past it. A sheet that parses must lay
// out or be refused, and every read of the image must stay in its buffer and
// say truly what it delivered. Seeded, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "platform/cdaudio/core/disc_image.h"
#include "platform/cdaudio/core/scsi.h"
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

// The other outside input: WAV headers of any bytes, and drive replies to
// READ TOC, each in a buffer of its exact size.
TEST(CueFuzz, WavHeadersAndTocRepliesOfAnyBytes) {
    std::mt19937 rng(2352);
    const std::string wav = Wav(Frames(3, 2, 10));
    const uint8_t toc[] = {0, 26, 1, 2, 0, 0x10, 1, 0, 0, 0, 2, 0, 0, 0x14, 2, 0, 0, 2, 43, 57,
                           0, 0x10, 0xAA, 0, 0, 6, 42, 0};
    for (int i = 0; i < 20000; ++i) {
        std::string w = wav.substr(0, rng() % (wav.size() + 1));
        for (int k = int(rng() % 4); k > 0 && !w.empty(); --k) w[rng() % w.size()] = char(rng());
        std::unique_ptr<uint8_t[]> exact(new uint8_t[w.size() + 1]);
        std::copy(w.begin(), w.end(), exact.get());
        const size_t size = w.size();
        auto read = [&](uint64_t at, size_t n, uint8_t* out) {
            if (at > size || n > size - at) return false;
            std::copy_n(exact.get() + at, n, out);
            return true;
        };
        const auto span = ParseWavHeader(read, size);
        if (span) {
            ASSERT_LE(span->offset + span->bytes, size);
        }

        std::string r(reinterpret_cast<const char*>(toc), sizeof toc);
        r = r.substr(0, rng() % (r.size() + 1));
        for (int k = int(rng() % 3); k > 0 && !r.empty(); --k) r[rng() % r.size()] = char(rng());
        std::unique_ptr<uint8_t[]> reply(new uint8_t[r.size() + 1]);
        std::copy(r.begin(), r.end(), reply.get());
        TOC out;
        if (TocFromReply(reply.get(), r.size(), true, i % 2 == 0, &out)) {
            const size_t entries = ((size_t(out.tocLen[0]) << 8 | out.tocLen[1]) - 2) / 8;
            ASSERT_LE(4 + 8 * entries, r.size());
            ASSERT_EQ(out.tracks[entries - 1].trackNumber, kLeadOutTrack);
        }
    }
}

}  // namespace
}  // namespace corvella::cdaudio
