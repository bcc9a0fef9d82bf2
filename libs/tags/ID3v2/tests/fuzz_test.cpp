// Broken and hostile tags: mutations of valid ones fed to the parser (in
// exact-size buffers, so the sanitizers see any read past them) and to the
// file operations. Seeded, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "libs/tags/ID3v2/tests/test_support.h"

using namespace corvella::id3v2;
using namespace testing_id3v2;

namespace {

std::vector<std::string> Seeds() {
    const std::string utf16 = std::string("\x01" "eng" "\xFF\xFE" "d\0" "\0\0" "\xFF\xFE" "h\0i\0", 16);
    const std::string v3 = Frame("TIT2", std::string("\0Title", 6)) + Frame("APIC", std::string(300, '\xFF')) +
                           Frame("COMM", std::string("\0eng\0Comment", 12)) +
                           Frame("WXXX", std::string("\0d\0http://x", 11)) + Frame("TRCK", std::string("\0" "3/9", 4)) +
                           Frame("TIT2", std::string("\0Dup", 4)) + Frame("TALB", std::string("\0zz", 3), false, 0x0080);
    const std::string legacy = Frame("TPE1", std::string("\0A", 2), true) + Frame("APIC", std::string(200, 'x'), true) +
                               Frame("TCON", std::string("\0Rock", 5), true);
    const std::string v4 = Frame("TIT2", "\x03" "Caf\xC3\xA9", true) + Frame("COMM", utf16, true) +
                           Frame("TALB", std::string("\0\0\0\2\0a", 6), true, 0x0001) +
                           Frame("TENC", std::string("\x02\0e", 3), true);
    const std::string ext = std::string("\0\0\0\6", 4) + std::string(6, '\0');
    return {
        Tag(3, 0, v3, 40),
        Tag(3, 0, legacy, 8),
        Tag(4, 0x10, v4) + std::string("3DI\4\0\x10", 6) + Syncsafe(uint32_t(v4.size())),
        Tag(4, 0x40, std::string("\0\0\0\x0C\1\0", 6) + std::string(6, '\0') + v4, 4),
        Tag(3, 0xC0, ext + v3 + std::string("\xFF\0\xE0", 3)),
        Tag(4, 0x80, v4 + std::string("\xFF\0", 2), 3),
        Tag(2, 0, std::string("TT2\0\0\3\0ab", 9)),
    };
}

struct Parsed {
    CID3v2Tag tag;
    bool ok = false;
    std::string rendered;
};

// Parses a copy in a buffer of exactly n bytes and renders the frames back.
void ParseExact(const std::string& in, Parsed& p) {
    std::unique_ptr<uint8_t[]> buf(new uint8_t[in.size() ? in.size() : 1]);
    std::copy(in.begin(), in.end(), buf.get());
    p.tag.ParseTag(buf.get(), in.size());
    p.ok = p.tag.RenderTag(0, p.rendered);
}

std::vector<std::string> Values(const CID3v2Tag& tag) {
    std::vector<std::string> v;
    for (int i = 0; i < kFrameCount; ++i) v.push_back(tag.GetFrameValue(i));
    return v;
}

// Whatever the input, what was read renders to a tag that reads back the same.
void CheckParse(const std::string& in) {
    Parsed first, second;
    ParseExact(in, first);
    ASSERT_TRUE(first.ok);
    first.tag.SetFrameValue(Artist, "Edited");
    first.tag.SetFrameValue(Comment, "");
    first.tag.SetFrameValue(Track, "4/5");
    ASSERT_TRUE(first.tag.RenderTag(0, first.rendered));
    ParseExact(first.rendered, second);
    ASSERT_TRUE(second.ok);
    EXPECT_TRUE(first.rendered == second.rendered);
    EXPECT_EQ(Values(first.tag), Values(second.tag));
    EXPECT_EQ("Edited", second.tag.GetFrameValue(Artist));
}

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    static const char* const kHuge[] = {"\xFF\xFF\xFF\xFF", "\x7F\x7F\x7F\x7F", "\x10\0\0\0", "\0\0\0\0"};
    switch (pick(4)) {
    case 0:  // random bytes
        for (size_t k = pick(8) + 1; k > 0; --k) s[pick(s.size())] = char(rng());
        break;
    case 1:  // a size field, of the tag or of some frame, made huge or empty
        s.replace(pick(3) == 0 ? 6 : pick(s.size() - 4), 4, kHuge[pick(4)], 4);
        break;
    case 2:  // bogus version and flags
        s[3] = char(pick(3) == 0 ? rng() : 2 + pick(4));
        s[5] = char(rng());
        break;
    default:  // cut short
        s.resize(pick(s.size()));
    }
    return s;
}

}  // namespace

TEST(Id3v2Fuzz, TruncatedAtEveryOffset) {
    for (const std::string& seed : Seeds())
        for (size_t n = 0; n <= seed.size(); ++n) {
            SCOPED_TRACE(n);
            CheckParse(seed.substr(0, n));
            if (HasFatalFailure()) return;
        }
}

TEST(Id3v2Fuzz, RandomMutations) {
    std::mt19937 rng(20240601);
    const std::vector<std::string> seeds = Seeds();
    for (int i = 0; i < 4000; ++i) {
        std::string s = seeds[size_t(i) % seeds.size()];
        for (int k = int(rng() % 3); k >= 0 && s.size() > 10; --k) s = Mutate(s, rng);
        SCOPED_TRACE(i);
        CheckParse(s);
        if (HasFatalFailure()) return;
    }
}

TEST(Id3v2Fuzz, FilesKeepEveryByteAfterTheTag) {
    std::mt19937 rng(77);
    const std::vector<std::string> seeds = Seeds();
    TempDir dir;
    TestFs fs;
    fs.cluster = 16;
    const std::string audio = Audio(200);
    for (int i = 0; i < 150; ++i) {
        std::string s = seeds[size_t(i) % seeds.size()];
        if (i >= int(seeds.size())) s = Mutate(Mutate(s, rng), rng);
        const std::string original = s + audio;
        const std::string path = dir.File("f" + std::to_string(i) + ".mp3", original);
        const TagSpan old = TagSpanOf(reinterpret_cast<const uint8_t*>(original.data()), original.size(),
                                      original.size());
        const std::string after = original.substr(size_t(old.end));
        SCOPED_TRACE(i);

        CID3v2Tag tag, again;
        ASSERT_TRUE(tag.ReadTag(fs, path));
        tag.SetFrameValue(Title, i % 2 ? std::string(40, 'T') : "t");
        ASSERT_TRUE(tag.WriteTag(fs, path));
        const std::string written = Slurp(path);
        const TagSpan now = TagSpanOf(reinterpret_cast<const uint8_t*>(written.data()), written.size(),
                                      written.size());
        EXPECT_TRUE(after == written.substr(size_t(now.end)));
        ASSERT_TRUE(again.ReadTag(fs, path));
        EXPECT_EQ(Values(tag), Values(again));
        ASSERT_TRUE(again.RemoveTag(fs, path));
        EXPECT_TRUE(after == Slurp(path));
    }
}
