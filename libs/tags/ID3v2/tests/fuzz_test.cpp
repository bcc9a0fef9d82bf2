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
    const std::string v4coded = Frame("TPE1", Syncsafe(3) + std::string("\0\xFF\0B", 4), true, 0x0003) +
                                Frame("TDRC", std::string("\0" "2003-10-20", 11), true) +
                                Frame("TYER", std::string("\0" "1999", 5), true);
    const std::string v22 = std::string("TT2\0\0\3\0ab", 9) + std::string("COM\0\0\7\0eng\0hi", 13) +
                            std::string("PIC\0\0\x08\0PNG\3\0\xFF\xD8", 14) + std::string("CRM\0\0\2xy", 8) +
                            std::string("LNK\0\0\5TT2u\0", 11);
    const std::string title = std::string("\x01\xFF\xFE" "C\0o\0m\0p\0r\0e\0s\0s\0e\0d\0", 23);
    const std::string packed = Frame("TIT2", Be32(uint32_t(title.size())) + Deflated(title), false, 0x0080) +
                               Frame("TALB", Be32(40) + Deflated(std::string(40, 'A')), false, 0x0080);
    const std::string packed24 =
        Frame("TIT2", Syncsafe(uint32_t(title.size())) + Unsynchronised(Deflated(title)), true, 0x000B) +
        Frame("TPE1", Deflated(std::string("\0Band", 5)), true, 0x0008);
    return {
        Tag(3, 0, packed + v3, 8),
        Tag(4, 0, packed24, 8),
        Tag(3, 0, v3, 40),
        Tag(3, 0, legacy, 8),
        Tag(4, 0x10, v4) + std::string("3DI\4\0\x10", 6) + Syncsafe(uint32_t(v4.size())),
        Tag(4, 0x40, std::string("\0\0\0\x0C\1\0", 6) + std::string(6, '\0') + v4, 4),
        Tag(3, 0xC0, ext + v3 + std::string("\xFF\0\xE0", 3)),
        Tag(4, 0x80, v4 + std::string("\xFF\0", 2), 3),
        Tag(2, 0, std::string("TT2\0\0\3\0ab", 9)),
        Tag(4, 0, v4coded, 6),
        Tag(2, 0x80, v22 + std::string("\xFF\0", 2), 5),
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

// After any write or removal the bytes that followed the tag are there as
// they were, or the call said False and changed nothing; a write reads back
// as set.
TEST(Id3v2Fuzz, WritesAndRemovalsKeepWhatFollowsTheTag) {
    std::mt19937 rng(77);
    const std::vector<std::string> seeds = Seeds();
    TempDir dir;
    TestFs fs;
    fs.cluster = 16;
    const std::string audios[] = {Audio(200), "\xFF\xFB\x90\x64" + Audio(196)};
    auto layout = [](const std::string& file) {
        return LayoutOf(reinterpret_cast<const uint8_t*>(file.data()), file.size(), file.size());
    };
    for (int i = 0; i < 300; ++i) {
        std::string s = seeds[size_t(i) % seeds.size()];
        for (int k = 0; i >= int(seeds.size()) && k < 2 && s.size() > 10; ++k) s = Mutate(s, rng);
        const std::string& audio = audios[i % 2];
        const std::string original = s + audio;
        const TagLayout old = layout(original);
        const std::string after = original.substr(old.known ? size_t(old.end) : 0);
        SCOPED_TRACE(i);
        // A tag that claims no more than it holds has the audio behind it.
        if (s.size() >= 10 && s.compare(0, 3, "ID3") == 0 && old.known) {
            const uint64_t claimed = 10 + uint64_t(FromSyncsafe(reinterpret_cast<const uint8_t*>(s.data()) + 6)) +
                                     (s[3] == 4 && (s[5] & 0x10) ? 10 : 0);
            if (claimed <= s.size()) {
                EXPECT_TRUE(after.size() >= audio.size() && after.compare(after.size() - audio.size(), audio.size(), audio) == 0);
            }
        }

        const std::string path = dir.File("w" + std::to_string(i) + ".mp3", original);
        const std::string copy = dir.File("r" + std::to_string(i) + ".mp3", original);
        CID3v2Tag tag, again, remover;
        ASSERT_TRUE(tag.ReadTag(fs, path));
        const std::string title = i % 3 ? std::string(40, 'T') : "t";
        tag.SetFrameValue(Title, title);
        const bool wrote = tag.WriteTag(fs, path);
        // No FF after the tag: no audio, so no tag goes in and none comes off.
        const bool audible = after.find('\xFF') != std::string::npos;
        EXPECT_EQ(old.known && audible, wrote);
        const std::string written = Slurp(path);
        if (wrote) {
            const TagLayout now = layout(written);
            EXPECT_TRUE(now.known);
            EXPECT_TRUE(after == written.substr(size_t(now.end)));
            ASSERT_TRUE(again.ReadTag(fs, path));
            EXPECT_EQ(title, again.GetFrameValue(Title));
            EXPECT_EQ(Values(tag), Values(again));
            ASSERT_TRUE(remover.RemoveTag(fs, path));
            EXPECT_TRUE(after == Slurp(path));
        } else {
            EXPECT_TRUE(original == written);
        }
        const bool removes = old.known && (audible || !old.present);
        EXPECT_EQ(removes, remover.RemoveTag(fs, copy));
        EXPECT_TRUE((removes ? after : original) == Slurp(copy));
    }
}
