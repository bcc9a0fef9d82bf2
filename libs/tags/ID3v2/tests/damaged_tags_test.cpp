// Tags other writers left damaged, older or newer than 2.3: what is read
// from them, what a write makes of them, and that the audio after them
// survives every write and removal.
#include <gtest/gtest.h>

#include "libs/tags/ID3v2/tests/test_support.h"

using namespace corvella;
using namespace corvella::id3v2;
using namespace testing_id3v2;

namespace {

const std::string kTitle = Frame("TIT2", std::string("\0Old", 4));
const std::string kComment = Frame("COMM", std::string("\0eng\0c", 6));

std::string Mpeg() { return "\xFF\xFB\x90\x64" + Audio(2000); }
std::string Zeros(size_t n) { return std::string(n, '\0'); }

// The frames as a write lays them out.
std::string Rendered(const CID3v2Tag& tag) {
    std::string out;
    EXPECT_TRUE(tag.RenderTag(0, out));
    return out.substr(10);
}

class DamagedTags : public ::testing::Test {
protected:
    TempDir dir;
    TestFs fs;
    CID3v2Tag tag;
};

}  // namespace

// A declared size past the end of the file, or bytes that are not zero in
// the padding: the tag ends with its frames (or at the MPEG frame after its
// zeros) and everything after is kept; where that cannot be told, nothing
// is changed.
TEST_F(DamagedTags, WhereTheAudioStarts) {
    const std::string a = Audio(), m = Mpeg();
    const std::string pic = Frame("APIC", std::string("\0\xFF\xE0\xFF", 4));
    const std::string unsynced = Unsynchronised(pic + kTitle);
    const std::string inside = std::string("ID3\3\0\0", 6) + Syncsafe(uint32_t(kTitle.size() + 16 + 300)) + kTitle;
    const struct {
        const char* name;
        std::string file;
        std::string tail;  // the audio, kept; empty when the edit must be refused
    } cases[] = {
        {"size past the end, audio right after the frames", Declaring(Tag(3, 0, kTitle + kComment), 100000) + a, a},
        {"size past the end, padding, then an MPEG frame", Declaring(Tag(3, 0, kTitle, 64), 100000) + m, m},
        {"size past the end, padding, then other bytes", Declaring(Tag(3, 0, kTitle, 64), 100000) + a, Zeros(64) + a},
        {"the audio begins inside the declared padding", inside + Zeros(16) + m, m},
        {"other bytes in the padding", Tag(3, 0, kTitle + "junk\1\2" + Zeros(50)) + a, "junk\1\2" + Zeros(50) + a},
        {"2.3 unsynchronised, size past the end", Declaring(Tag(3, 0x80, unsynced), 100000) + a, a},
        {"2.2, size past the end", Declaring(Tag(2, 0, std::string("TT2\0\0\4\0Old", 10)), 100000) + a, a},
        {"unknown version, size past the end", Declaring(Tag(5, 0, kTitle), 100000) + a, ""},
        {"a frame and the tag cut by the end of the file",
         Declaring(Tag(3, 0, kTitle + "APIC" + Be32(100000) + Zeros(2)), 200000) + a, ""},
        {"an extended header larger than the tag", Tag(3, 0x40, Be32(5000) + kTitle) + a, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("a.mp3", c.file);
        const std::string copy = dir.File("b.mp3", c.file);
        ASSERT_TRUE(tag.ReadTag(fs, path));
        tag.SetFrameValue(Title, "New");
        if (c.tail.empty()) {
            EXPECT_FALSE(tag.WriteTag(fs, path));
            EXPECT_FALSE(tag.RemoveTag(fs, copy));
            EXPECT_TRUE(c.file == Slurp(path) && c.file == Slurp(copy)) << "changed though refused";
            continue;
        }
        ASSERT_TRUE(tag.WriteTag(fs, path));
        const std::string written = Slurp(path);
        const TagLayout now = LayoutOf(reinterpret_cast<const uint8_t*>(written.data()), written.size(),
                                       written.size());
        EXPECT_TRUE(c.tail == written.substr(size_t(now.end))) << "audio changed by the write";
        EXPECT_EQ(now.end, 10 + FromSyncsafe(reinterpret_cast<const uint8_t*>(written.data()) + 6))
            << "the new tag's size covers up to the audio, no further";
        CID3v2Tag again;
        ASSERT_TRUE(again.ReadTag(fs, path));
        EXPECT_EQ("New", again.GetFrameValue(Title));
        ASSERT_TRUE(again.RemoveTag(fs, path));
        EXPECT_TRUE(c.tail == Slurp(path)) << "audio changed by the removal after a write";
        ASSERT_TRUE(again.RemoveTag(fs, copy));
        EXPECT_TRUE(c.tail == Slurp(copy)) << "audio changed by the removal";
    }
}

// 2.4 keeps its date in TDRC: read as the year, written there by a year
// edit, with one date left; 2.3 keeps TYER.
TEST(Id3v2Dates, RecordingTimeIn24YearIn23) {
    auto text = [](const char* id, const std::string& t, bool v4) {
        return Frame(id, std::string(1, '\0') + t, v4);
    };
    const std::string title4 = text("TIT2", "T", true), title3 = text("TIT2", "T", false);
    const struct {
        const char* name;
        int version;
        std::string frames;
        const char* shown;
        const char* set;
        std::string written;
    } cases[] = {
        {"TDRC with a full date", 4, title4 + text("TDRC", "2003-10-20", true), "2003", "2004",
         title4 + text("TDRC", "2004", true)},
        {"the same year keeps the date", 4, text("TDRC", "2003-10-20", true) + title4, "2003", "2003",
         text("TDRC", "2003-10-20", true) + title4},
        {"TYER beside TDRC wins, both give way", 4, text("TYER", "1999", true) + title4 + text("TDRC", "2003", true),
         "1999", "2005", title4 + text("TDRC", "2005", true)},
        {"TYER alone becomes TDRC in its place", 4, text("TYER", "1999", true) + title4, "1999", "2000",
         text("TDRC", "2000", true) + title4},
        {"no date yet", 4, title4, "", "2001", title4 + text("TDRC", "2001", true)},
        {"a clear removes every date", 4, text("TYER", "1999", true) + text("TDRC", "2003", true) + title4, "1999",
         "", title4},
        {"2.3 edits TYER", 3, text("TYER", "1999", false) + title3, "1999", "2000", text("TYER", "2000", false) + title3},
        {"2.3 leaves a TDRC alone", 3, title3 + text("TDRC", "2003", false), "", "2000",
         title3 + text("TDRC", "2003", false) + text("TYER", "2000", false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = Tag(c.version, 0, c.frames);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(c.shown, tag.GetFrameValue(ReleaseYear));
        tag.SetFrameValue(ReleaseYear, c.set);
        EXPECT_EQ(c.written, Rendered(tag));
        EXPECT_EQ(std::string(c.set), tag.GetFrameValue(ReleaseYear));
    }
}

// Unsynchronised tags and frames, and frames behind a data-length
// indicator, read; an edited one is written plain, the rest as they were.
TEST(Id3v2Unsync, TagsAndFramesRead) {
    const std::string ff_a = std::string("\0\xFF\0A", 4);  // "\xFF" "A", unsynchronised
    const std::string artist = Frame("TPE1", std::string("\0B", 2), true);
    const struct {
        const char* name;
        std::string tag;
        const char* title;
        std::string kept;  // the title frame as written back when only the artist changes
    } cases[] = {
        {"2.4 tag flag", Tag(4, 0x80, Frame("TIT2", ff_a, true) + artist), "\xFF" "A",
         Frame("TIT2", ff_a, true, 0x0002)},
        {"2.4 frame flag", Tag(4, 0, Frame("TIT2", ff_a, true, 0x0002) + artist), "\xFF" "A",
         Frame("TIT2", ff_a, true, 0x0002)},
        {"2.4 data-length indicator", Tag(4, 0, Frame("TIT2", Syncsafe(2) + std::string("\0A", 2), true, 0x0001) + artist),
         "A", Frame("TIT2", Syncsafe(2) + std::string("\0A", 2), true, 0x0001)},
        {"2.4 both", Tag(4, 0, Frame("TIT2", Syncsafe(3) + ff_a, true, 0x0003) + artist), "\xFF" "A",
         Frame("TIT2", Syncsafe(3) + ff_a, true, 0x0003)},
        {"2.3 tag flag", Tag(3, 0x80, Unsynchronised(Frame("TIT2", std::string("\0\xFF" "A", 3)) +
                                                     Frame("TPE1", std::string("\0B", 2)))),
         "\xFF" "A", Frame("TIT2", std::string("\0\xFF" "A", 3))},
        {"2.4 compressed: not decoded", Tag(4, 0, Frame("TIT2", Syncsafe(2) + "zz", true, 0x0009) + artist), "",
         Frame("TIT2", Syncsafe(2) + "zz", true, 0x0009)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(c.tag.data()), c.tag.size()));
        EXPECT_EQ(c.title, tag.GetFrameValue(Title));
        EXPECT_EQ("B", tag.GetFrameValue(Artist));
        tag.SetFrameValue(Artist, "C");
        const bool v4 = c.tag[3] == 4;
        EXPECT_EQ(c.kept + Frame("TPE1", std::string("\0C", 2), v4), Rendered(tag));
        tag.SetFrameValue(Title, "D");
        EXPECT_EQ(Frame("TIT2", std::string("\0D", 2), v4) + Frame("TPE1", std::string("\0C", 2), v4), Rendered(tag));
    }
}

// A set gives a field one frame, in the place of the first it replaces; a
// clear leaves none to read back. Comments stay several.
TEST(Id3v2OneFrame, SetAndClearCoverEveryCopy) {
    const std::string packed = Frame("TALB", std::string("\0\0\0\x10xyz", 7), false, 0x0080);
    const std::string artist = Frame("TPE1", std::string("\0B", 2));
    const std::string t1 = Frame("TIT2", std::string("\0A", 2)), t2 = Frame("TIT2", std::string("\0Z", 2));
    const std::string coded = Frame("TIT2", std::string("\1\0\0k", 4), false, 0x0040);  // encrypted
    const std::string c1 = Frame("COMM", std::string("\0eng\0hi", 7));
    const std::string c2 = Frame("COMM", std::string("\0engiTunNORM\0" "0 1", 16));
    const std::string packed_comment = Frame("COMM", std::string("\0\0\0\x10" "abc", 7), false, 0x0080);
    const struct {
        const char* name;
        std::string frames;
        int field;
        const char* shown;
        const char* set;
        std::string written;
        const char* reread;  // after a write and a new read
    } cases[] = {
        {"a compressed album is replaced in its place", kTitle + packed + artist, Album, "", "New",
         kTitle + Frame("TALB", std::string("\0New", 4)) + artist, "New"},
        {"a duplicate title goes with a set", t1 + artist + t2, Title, "A", "N", Frame("TIT2", std::string("\0N", 2)) + artist, "N"},
        {"and with a clear", t1 + artist + t2, Title, "A", "", artist, ""},
        {"an encrypted title before a plain one", coded + artist + t1, Title, "A", "N",
         artist + Frame("TIT2", std::string("\0N", 2)), "N"},
        {"the first comment is edited, the other kept", c1 + c2, Comment, "hi", "yo",
         Frame("COMM", std::string("\0eng\0yo", 7)) + c2, "yo"},
        {"a comment clear keeps the other, not read next", c1 + c2, Comment, "hi", "",
         Frame("COMM", std::string("\0eng\0", 5)) + c2, ""},
        {"a compressed comment is replaced", packed_comment + artist, Comment, "", "new",
         Frame("COMM", std::string("\0\0\0\0\0new", 8)) + artist, "new"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = Tag(3, 0, c.frames);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(c.shown, tag.GetFrameValue(c.field));
        tag.SetFrameValue(c.field, c.set);
        EXPECT_EQ(c.written, Rendered(tag));
        const std::string out = Tag(3, 0, Rendered(tag));
        CID3v2Tag back;
        ASSERT_TRUE(back.ParseTag(reinterpret_cast<const uint8_t*>(out.data()), out.size()));
        EXPECT_EQ(c.reread, back.GetFrameValue(c.field));
    }
}

// The comment field is the first comment without a description, else the
// first one; every other comment stays as read, whatever the field becomes.
TEST(Id3v2Comments, TheFieldIsThePlainOneTheOthersStay) {
    const auto comm = [](const std::string& description, const std::string& text) {
        return Frame("COMM", std::string("\0eng", 4) + description + '\0' + text);
    };
    const std::string norm = comm("iTunNORM", " 0000044E 00000453");
    const std::string smpb = comm("iTunSMPB", " 00000000 00000210");
    const std::string plain = comm("", "Mine"), other = comm("", "Second");
    const struct {
        const char* name;
        std::string frames;
        const char* shown;
        const char* set;
        std::string written;
    } cases[] = {
        {"between the players'", norm + plain + smpb, "Mine", "New", norm + comm("", "New") + smpb},
        {"cleared there", norm + plain + smpb, "Mine", "", norm + comm("", "") + smpb},
        {"before them", plain + norm, "Mine", "New", comm("", "New") + norm},
        {"the first of two", smpb + plain + other, "Mine", "New", smpb + comm("", "New") + other},
        {"none without one: the first", norm + smpb, " 0000044E 00000453", "New", comm("iTunNORM", "New") + smpb},
        {"which a clear empties", norm + smpb, " 0000044E 00000453", "", comm("iTunNORM", "") + smpb},
        {"alone, a clear removes it", plain, "Mine", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = Tag(3, 0, c.frames);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(c.shown, tag.GetFrameValue(Comment));
        tag.SetFrameValue(Comment, c.set);
        EXPECT_EQ(c.written, Rendered(tag));
        const std::string out = Tag(3, 0, Rendered(tag));
        CID3v2Tag back;
        ASSERT_TRUE(back.ParseTag(reinterpret_cast<const uint8_t*>(out.data()), out.size()));
        EXPECT_EQ(c.set, back.GetFrameValue(Comment));
    }
}

// A frame whose size runs past the end of its tag keeps what lies inside
// the tag; the rest of it is after the tag and kept there.
TEST_F(DamagedTags, FrameCutByTheEndOfTheTag) {
    const std::string a = Audio();
    for (const int version : {3, 4}) {
        SCOPED_TRACE(version);
        const bool v4 = version == 4;
        const std::string artist = Frame("TPE1", std::string("\0B", 2), v4);
        const std::string cut = Frame("TIT2", std::string("\0Cut off", 8), v4);  // 3 body bytes inside
        const std::string tag_bytes = Declaring(Tag(version, 0, artist + cut), uint32_t(artist.size() + 10 + 3));
        const std::string path = dir.File("cut.mp3", tag_bytes + a);
        const std::string after = tag_bytes.substr(10 + artist.size() + 13) + a;
        ASSERT_TRUE(tag.ReadTag(fs, path));
        EXPECT_EQ("Cu", tag.GetFrameValue(Title));
        tag.SetFrameValue(Artist, "Changed");
        ASSERT_TRUE(tag.WriteTag(fs, path));
        const std::string written = Slurp(path);
        const std::string frames =
            Frame("TPE1", std::string("\0Changed", 8), v4) + Frame("TIT2", std::string("\0Cu", 3), v4);
        EXPECT_EQ(frames, written.substr(10, frames.size())) << "the cut frame kept, with its size as cut";
        EXPECT_TRUE(after == written.substr(written.size() - after.size()));
        CID3v2Tag again;
        ASSERT_TRUE(again.ReadTag(fs, path));
        EXPECT_EQ("Cu", again.GetFrameValue(Title));
        ASSERT_TRUE(again.RemoveTag(fs, path));
        EXPECT_TRUE(after == Slurp(path));
    }
}

// 2.2 frames read into the fields, and the tag written as 2.3 with every
// frame that has a 2.3 form.
TEST_F(DamagedTags, Version22BecomesVersion23) {
    auto t = [](const std::string& s) { return std::string(1, '\0') + s; };
    const std::string jpeg("\xFF\xD8\xFF\xE0jfif", 8);
    const std::string frames =
        Frame22("TT2", t("Title")) + Frame22("TP1", t("Artist")) + Frame22("TAL", t("Album")) + Frame22("TYE", t("1999")) +
        Frame22("COM", std::string("\0eng\0Comment", 12)) + Frame22("TCO", t("(17)")) + Frame22("TRK", t("5/12")) +
        Frame22("CRM", std::string("owner\0x\0data", 12)) + Frame22("TCM", t("Composer")) + Frame22("TOA", t("Orig")) +
        Frame22("TCR", t("Copy")) + Frame22("WXX", std::string("\0\0http://x", 10)) + Frame22("TEN", t("Enc")) +
        Frame22("PIC", std::string("\0JPG\3\0", 6) + jpeg) + Frame22("TXX", std::string("\0k\0v", 4)) +
        Frame22("TCP", t("1")) + Frame22("LNK", std::string("TT2http://l\0", 12));
    const char* const shown[kFrameCount] = {"Title", "Artist",   "Album", "1999", "Comment",  "(17)",
                                            "05/12", "Composer", "Orig",  "Copy", "http://x", "Enc"};
    const std::string expected =
        Frame("TIT2", t("Title")) + Frame("TPE1", t("Artist")) + Frame("TALB", t("Album")) +
        Frame("TYER", t("1999")) + Frame("COMM", std::string("\0eng\0Comment", 12)) + Frame("TCON", t("(17)")) +
        Frame("TRCK", t("5/12")) + Frame("TCOM", t("Composer")) + Frame("TOPE", t("Orig")) +
        Frame("TCOP", t("Copy")) + Frame("WXXX", std::string("\0\0http://x", 10)) + Frame("TENC", t("Enc")) +
        Frame("APIC", std::string("\0image/jpeg\0\3\0", 14) + jpeg) + Frame("TXXX", std::string("\0k\0v", 4)) +
        Frame("LINK", std::string("TIT2http://l\0", 13));
    const std::string a = Audio();
    for (const uint8_t flags : {0x00, 0x80}) {
        SCOPED_TRACE(flags ? "unsynchronised" : "plain");
        const std::string path =
            dir.File("v22.mp3", Tag(2, flags, flags ? Unsynchronised(frames) : frames, 20) + a);
        ASSERT_TRUE(tag.ReadTag(fs, path));
        for (int i = 0; i < kFrameCount; ++i) EXPECT_EQ(shown[i], tag.GetFrameValue(i)) << i;
        EXPECT_EQ((std::vector<std::string>{"CRM", "TCP"}), tag.Dropped());
        ASSERT_TRUE(tag.WriteTag(fs, path));
        const std::string written = Slurp(path);
        EXPECT_EQ(std::string("ID3\3\0\0", 6), written.substr(0, 6));
        EXPECT_EQ(expected, written.substr(10, expected.size()));
        EXPECT_TRUE(a == written.substr(written.size() - a.size()));
    }
    // A compressed 2.2 tag cannot be read; its declared size still holds.
    const std::string packed = dir.File("p22.mp3", Tag(2, 0x40, "\x78\x9C" + Zeros(30)) + a);
    ASSERT_TRUE(tag.ReadTag(fs, packed));
    EXPECT_EQ(0u, tag.Frames().Count());
    ASSERT_TRUE(tag.RemoveTag(fs, packed));
    EXPECT_TRUE(a == Slurp(packed));
}
