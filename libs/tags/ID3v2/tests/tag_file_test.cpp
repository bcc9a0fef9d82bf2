// The tag object on real files in a scratch folder.
#include <gtest/gtest.h>

#include "libs/tags/ID3v2/tests/test_support.h"

using namespace corvella;
using namespace corvella::id3v2;
using namespace testing_id3v2;

namespace {

class Id3v2File : public ::testing::Test {
protected:
    // Frames area of a written file (between header and padding/audio).
    static std::string FramesOf(const std::string& file, size_t frames_len) {
        return file.substr(10, frames_len);
    }
    static uint32_t TagSize(const std::string& file) {
        return FromSyncsafe(reinterpret_cast<const uint8_t*>(file.data()) + 6);
    }
    TempDir dir;
    TestFs fs;
    CID3v2Tag tag;
};

}  // namespace

TEST_F(Id3v2File, NewTagThenInPlaceThenGrowth) {
    const std::string audio = Audio();
    const std::string path = dir.File("a.mp3", audio);
    fs.cluster = 512;
    tag.SetFrameValue(Title, "Song");
    tag.SetFrameValue(Comment, "Nice");
    ASSERT_TRUE(tag.WriteTag(fs, path));
    std::string f = Slurp(path);
    const size_t s = (10 + 5) + (10 + 9);
    ASSERT_EQ(audio.size() + 10 + s + 512, f.size());
    EXPECT_EQ(std::string("ID3\3\0\0", 6), f.substr(0, 6));
    EXPECT_EQ(s + 512, TagSize(f));
    EXPECT_TRUE(audio == f.substr(10 + s + 512));  // every byte kept, though none is FF

    tag.SetFrameValue(Title, "Tune");  // fits: only the tag bytes change
    ASSERT_TRUE(tag.WriteTag(fs, path));
    std::string g = Slurp(path);
    ASSERT_EQ(f.size(), g.size());
    EXPECT_EQ(TagSize(f), TagSize(g));
    EXPECT_EQ(f.substr(10 + s), g.substr(10 + s));

    tag.SetFrameValue(Comment, std::string(2000, 'x'));  // no longer fits
    fs.cluster = 64;
    ASSERT_TRUE(tag.WriteTag(fs, path));
    std::string h = Slurp(path);
    const size_t s2 = (10 + 5) + (10 + 2005);
    ASSERT_EQ(10 + s2 + 64 + audio.size(), h.size());
    EXPECT_TRUE(audio == h.substr(10 + s2 + 64));

    CID3v2Tag again;
    ASSERT_TRUE(again.ReadTag(fs, path));
    EXPECT_EQ("Tune", again.GetFrameValue(Title));
    EXPECT_EQ(std::string(2000, 'x'), again.GetFrameValue(Comment));
    tag.SetFrameValue(Title, "");
    tag.SetFrameValue(Comment, "");
    ASSERT_TRUE(tag.WriteTag(fs, path));  // header and padding only
    EXPECT_TRUE(again.ReadTag(fs, path));
    EXPECT_EQ(0u, again.Frames().Count());
    EXPECT_TRUE(audio == Slurp(path).substr(Slurp(path).size() - audio.size()));
}

TEST_F(Id3v2File, FramesNotEditedAreKeptInOrder) {
    const std::string pic = Frame("APIC", std::string("\0image/png\0\3\0\xFF\xD8\xFF\xE0", 17));
    const std::string txxx = Frame("TXXX", std::string("\0k\0v", 4), false, 0x4000);
    const std::string comm2 = Frame("COMM", std::string("\0eng" "iTunNORM\0" "0 1", 16));
    const std::string title2 = Frame("TIT2", std::string("\0Second", 7));
    const std::string packed = Frame("TALB", std::string("\0\0\0\x10xyz", 7), false, 0x0080);
    const std::string frames = pic + Frame("TIT2", std::string("\0First", 6)) + txxx +
                               Frame("COMM", std::string("\0eng\0hi", 7)) + comm2 + title2 + packed +
                               Frame("ZZZ9", "?");
    const std::string audio = Audio();
    const std::string path = dir.File("b.mp3", Tag(3, 0, frames, 100) + audio);
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ("First", tag.GetFrameValue(Title));  // read past the picture; first one wins
    EXPECT_EQ("hi", tag.GetFrameValue(Comment));
    EXPECT_EQ("", tag.GetFrameValue(Album));  // compressed: not edited
    tag.SetFrameValue(Title, "New");
    tag.SetFrameValue(Artist, "Band");
    ASSERT_TRUE(tag.WriteTag(fs, path));
    // The set title is the only one: its duplicate went with the set.
    const std::string expected = pic + Frame("TIT2", std::string("\0New", 4)) + txxx +
                                 Frame("COMM", std::string("\0eng\0hi", 7)) + comm2 + packed +
                                 Frame("ZZZ9", "?") + Frame("TPE1", std::string("\0Band", 5));
    const std::string f = Slurp(path);
    EXPECT_EQ(expected, FramesOf(f, expected.size()));
    EXPECT_TRUE(audio == f.substr(f.size() - audio.size()));
}

TEST_F(Id3v2File, FrameSizeForms) {
    const std::string big(300, 'p');
    const std::string title = Frame("TIT2", std::string("\0T", 2));
    // Plain 2.3 sizes of 256 and more.
    ASSERT_TRUE(tag.ReadTag(fs, dir.File("p.mp3", Tag(3, 0, Frame("APIC", big) + title, 20))));
    EXPECT_EQ("T", tag.GetFrameValue(Title));
    // Syncsafe sizes under 2.3, as earlier versions wrote them; rewritten plain.
    const std::string legacy = dir.File("s.mp3", Tag(3, 0, Frame("APIC", big, true) + title, 20) + Audio());
    ASSERT_TRUE(tag.ReadTag(fs, legacy));
    EXPECT_EQ("T", tag.GetFrameValue(Title));
    ASSERT_TRUE(tag.WriteTag(fs, legacy));
    EXPECT_EQ(Frame("APIC", big) + title, FramesOf(Slurp(legacy), 322));
    // Plain sizes under 2.4 from other writers.
    ASSERT_TRUE(tag.ReadTag(fs, dir.File("q.mp3", Tag(4, 0, Frame("APIC", big) + title))));
    EXPECT_EQ("T", tag.GetFrameValue(Title));
}

TEST_F(Id3v2File, Version4StaysVersion4) {
    const std::string dlen = Frame("TALB", std::string("\0\0\0\4\0abc", 8), true, 0x0001);
    const std::string artist = Frame("TPE1", "\x03" "Bj\xC3\xB6rk", true);
    const std::string frames = Frame("TIT2", "\x03" "Caf\xC3\xA9", true) + artist + dlen;
    const std::string footer = std::string("3DI\4\0\x10", 6) + Syncsafe(uint32_t(frames.size()));
    const std::string audio = Audio();
    const std::string path = dir.File("v4.mp3", Tag(4, 0x10, frames) + footer + audio);
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ(4, tag.Version());
    EXPECT_EQ("Caf\xE9", tag.GetFrameValue(Title));
    EXPECT_EQ("Bj\xF6rk", tag.GetFrameValue(Artist));
    EXPECT_EQ("abc", tag.GetFrameValue(Album));  // behind its data-length indicator
    tag.SetFrameValue(Title, "\xE9t\xE9");
    fs.cluster = 0;
    ASSERT_TRUE(tag.WriteTag(fs, path));  // fits the old room, the footer's included
    const std::string f = Slurp(path);
    const std::string expected = Frame("TIT2", "\x03\xC3\xA9t\xC3\xA9", true) + artist + dlen;
    EXPECT_EQ(std::string("ID3\4\0\0", 6), f.substr(0, 6));
    EXPECT_EQ(expected, FramesOf(f, expected.size()));
    EXPECT_TRUE(audio == f.substr(f.size() - audio.size()));
    EXPECT_EQ(f.size() - audio.size(), 10 + TagSize(f));  // the footer's bytes became padding
}

TEST_F(Id3v2File, TagFlagsAndOtherVersions) {
    // 2.3 with an extended header and unsynchronisation.
    const std::string pic = std::string("\0\xFF\xE0\xFF", 4);
    std::string frames = std::string("\0\0\0\6", 4) + std::string(6, '\0') + Frame("APIC", pic) +
                         Frame("TIT2", std::string("\0X", 2));
    const std::string unsynced = Unsynchronised(frames);
    const std::string audio = Audio();
    const std::string path = dir.File("u.mp3", Tag(3, 0xC0, unsynced) + audio);
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ("X", tag.GetFrameValue(Title));
    ASSERT_TRUE(tag.WriteTag(fs, path));
    std::string f = Slurp(path);
    EXPECT_EQ('\0', f[5]);
    EXPECT_EQ(Frame("APIC", pic) + Frame("TIT2", std::string("\0X", 2)), FramesOf(f, 26));
    EXPECT_TRUE(audio == f.substr(f.size() - audio.size()));

    // 2.4 unsynchronised as a whole: its frames are read and carried along,
    // each now saying it is unsynchronised itself.
    const std::string v4u = dir.File("v4u.mp3", Tag(4, 0x80, Frame("TIT2", std::string("\0\xFF\0A", 4), true)) + audio);
    ASSERT_TRUE(tag.ReadTag(fs, v4u));
    EXPECT_EQ("\xFF" "A", tag.GetFrameValue(Title));
    ASSERT_TRUE(tag.WriteTag(fs, v4u));
    EXPECT_EQ(Frame("TIT2", std::string("\0\xFF\0A", 4), true, 0x0002), FramesOf(Slurp(v4u), 14));

    // 2.2: read, and written back as 2.3.
    const std::string v22 = dir.File("v22.mp3", Tag(2, 0, std::string("TT2\0\0\3\0ab", 9), 5) + audio);
    ASSERT_TRUE(tag.ReadTag(fs, v22));
    EXPECT_EQ("ab", tag.GetFrameValue(Title));
    tag.SetFrameValue(Title, "Y");
    fs.cluster = 0;
    ASSERT_TRUE(tag.WriteTag(fs, v22));
    f = Slurp(v22);
    EXPECT_EQ(std::string("ID3\3", 4), f.substr(0, 4));
    EXPECT_TRUE(audio == f.substr(f.size() - audio.size()));
    EXPECT_EQ(10 + TagSize(f) + audio.size(), f.size());

    // A tag longer than its file: what is there is read, nothing past it.
    std::string cut = Tag(3, 0, Frame("TIT2", std::string("\0Z", 2)), 5000).substr(0, 40);
    ASSERT_TRUE(tag.ReadTag(fs, dir.File("cut.mp3", cut)));
    EXPECT_EQ("Z", tag.GetFrameValue(Title));
}

TEST_F(Id3v2File, MissingReadOnlyAndFailingFiles) {
    tag.SetFrameValue(Title, "Keep?");
    const std::string none = dir.Path("none.mp3");
    EXPECT_FALSE(tag.ReadTag(fs, none));
    EXPECT_EQ(0u, tag.Frames().Count());  // emptied
    tag.SetFrameValue(Title, "T");
    EXPECT_FALSE(tag.WriteTag(fs, none));
    EXPECT_FALSE(tag.RemoveTag(fs, none));
    EXPECT_FALSE(fs.exists(none));
    EXPECT_EQ("T", tag.GetFrameValue(Title));

    const std::string audio = Audio();
    const std::string original = Tag(3, 0, Frame("TIT2", std::string("\0Old", 4)), 4) + audio;
    const std::string path = dir.File("ro.mp3", original);
    ASSERT_TRUE(fs.set_attributes(path, kAttrReadOnly));
    tag.SetFrameValue(Title, "Ne");  // fits in place
    EXPECT_TRUE(tag.WriteTag(fs, path));
    EXPECT_EQ(kAttrReadOnly, fs.get_attributes(path) & kAttrReadOnly);
    tag.SetFrameValue(Title, std::string(50, 'L'));  // grows
    EXPECT_TRUE(tag.WriteTag(fs, path));
    EXPECT_EQ(kAttrReadOnly, fs.get_attributes(path) & kAttrReadOnly);
    const std::string written = Slurp(path);
    EXPECT_FALSE(tag.RemoveTag(fs, path));  // read-only: refused, intact
    EXPECT_EQ(written, Slurp(path));

    fs.fail_replace = true;
    tag.SetFrameValue(Title, std::string(5000, 'G'));
    EXPECT_FALSE(tag.WriteTag(fs, path));  // failed growth: intact, still read-only
    EXPECT_EQ(kAttrReadOnly, fs.get_attributes(path) & kAttrReadOnly);
    fs.set_attributes(path, kAttrNormal);
    EXPECT_FALSE(tag.RemoveTag(fs, path));
    EXPECT_EQ(written, Slurp(path));
    fs.fail_replace = false;

    EXPECT_TRUE(tag.RemoveTag(fs, path));
    EXPECT_TRUE(audio == Slurp(path));
    EXPECT_EQ(0u, tag.Frames().Count());
    EXPECT_TRUE(tag.RemoveTag(fs, path));  // no tag: nothing to do
    EXPECT_TRUE(audio == Slurp(path));
}

// A file in which no FF byte, where MPEG frames begin, follows the tag holds
// no audio: it gets no tag and keeps the one it has. An FF inside the tag
// does not count; one anywhere after it does.
TEST_F(Id3v2File, FilesWithoutAudioAreLeftAlone) {
    const std::string tagged = Tag(3, 0, Frame("TIT2", std::string("\0\xFF", 2)), 8);
    const std::string mpeg = "\xFF\xFB\x90\x64" + std::string(20, 'a');
    const struct {
        const char* name;
        std::string bytes;
        size_t tag;  // bytes a removal strips
        bool writes, removes;
    } cases[] = {
        {"empty", "", 0, false, true},
        {"text", "Not music at all.\r\n", 0, false, true},
        {"a tag alone, an FF in its frame", tagged, tagged.size(), false, false},
        {"a tag and text", tagged + "Not music", tagged.size(), false, false},
        {"a tag and an MPEG frame", tagged + mpeg, tagged.size(), true, true},
        {"a tag, text and an MPEG frame", tagged + "Not music" + mpeg, tagged.size(), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("w.mp3", c.bytes);
        tag.SetFrameValue(Title, "New");
        EXPECT_EQ(c.writes, tag.WriteTag(fs, path));
        if (!c.writes) EXPECT_TRUE(c.bytes == Slurp(path));
        const std::string copy = dir.File("r.mp3", c.bytes);
        EXPECT_EQ(c.removes, tag.RemoveTag(fs, copy));
        EXPECT_TRUE(Slurp(copy) == (c.removes ? c.bytes.substr(c.tag) : c.bytes));
    }
}
