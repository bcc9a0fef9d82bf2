// Tags written by the peer, read and edited by the cores.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "libs/common/text/codec.h"
#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/tags/interop/tests/peer.h"

using namespace interop;
using corvella::id3v1::CID3v1Tag;
using corvella::id3v2::CID3v2Tag;
namespace v1 = corvella::id3v1;
namespace v2 = corvella::id3v2;

namespace {

using Values = std::array<std::string, v2::kFrameCount>;

// How the peer lays out its tag.
struct Layout {
    const char* name;
    std::vector<std::string> options;
    int version;
    bool unicode;   // text may hold letters Windows-1252 lacks
    bool v1;        // an ID3v1 tag follows the audio
    bool extended;  // a 2.3 extended header precedes the frames
};

const std::vector<Layout>& Layouts() {
    static const std::vector<Layout> layouts = {
        {"2.3 UTF-16", {"--version=3", "--encoding=1"}, 3, true, false, false},
        // A status flag on a frame the core edits: kept while another changes.
        {"2.4 UTF-8", {"--version=4", "--encoding=3", "--flags=TENC:2000"}, 4, true, false, false},
        {"2.3 UTF-16 and ID3v1", {"--version=3", "--encoding=1", "--v1"}, 3, true, true, false},
        {"2.4 UTF-8 and ID3v1", {"--version=4", "--encoding=3", "--v1"}, 4, true, true, false},
        {"2.3 Latin-1, extended header",
         {"--version=3", "--encoding=0", "--extended-header=plain"}, 3, false, false, true},
        {"2.3 UTF-16, extended header with CRC",
         {"--version=3", "--encoding=1", "--flags=TENC:4000", "--extended-header=crc"}, 3, true, false,
         true},
    };
    return layouts;
}

// A picture whose frame is too big for one 7-bit size byte, so a size in the
// wrong form cannot go unnoticed.
std::string Picture() {
    std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + ArbitraryAudio(3000, 42);
    png[100] = '\xFF';
    png[101] = '\0';
    return png;
}

// The peer's arguments for a tag with every field the core edits and more:
// two comments, a user text, a picture (and the 2.4 date). `core` gets what
// the core is to read from it.
std::vector<std::string> RichTag(const Layout& layout, Values& core) {
    const std::string original_artist = layout.unicode ? U8("\xCE\xA9mega \xC3\x98rkester")  // Ωmega Ørkester
                                                       : Cp("\xD8rkester");
    // Windows-1252 letters outside ISO-8859-1 (en dash, euro) need a Unicode frame.
    core = {"Caf\xE9 del Mar", "Jos\xE9 Gonz\xE1lez", layout.unicode ? "Veneer \x96 \x80" "5" : "Veneer",
            "2003", "Erster Kommentar, caf\xE9", "Folk", "05/12", "Jos\xE9 Gonz\xE1lez",
            layout.unicode ? "?mega \xD8rkester" : "\xD8rkester",  // '?' for what the code page lacks
            "\xA9 2003 Peacefrog", "http://corvella.example/jose", "mutagen peer"};
    std::vector<std::string> args = layout.options;
    const std::vector<std::string> frames = {
        "TIT2=" + Cp(core[v2::Title]),
        "TPE1=" + Cp(core[v2::Artist]),
        "TALB=" + Cp(core[v2::Album]),
        "TYER=" + Cp(core[v2::ReleaseYear]),
        "COMM=eng::" + Cp(core[v2::Comment]),  // no description, as most comments are
        // The peer puts smaller frames first: this one is the larger.
        "COMM=deu:" + Cp("zweiter") + ":" + Cp("Zweiter Kommentar, der l\xE4ngere"),
        "TCON=" + Cp(core[v2::Genre]),
        "TRCK=" + Cp("5/12"),
        "TCOM=" + Cp(core[v2::Composser]),
        "TOPE=" + original_artist,
        "TCOP=" + Cp(core[v2::CopyrightInformation]),
        "WXXX=" + Cp("Homepage") + ":" + Cp(core[v2::WebLink]),
        "TENC=" + Cp(core[v2::EncodedBy]),
        "TXXX=" + Cp("MOOD") + ":" + Cp("calm"),
        "APIC=image/png:" + Cp("cover") + ":" + Hex(Picture()),
    };
    args.insert(args.end(), frames.begin(), frames.end());
    if (layout.version == 4) args.push_back("TDRC=" + Cp("2003-10-20"));
    return args;
}

class PeerWritesCoreReads : public InteropTest {
protected:
    // Has the peer tag a fresh copy of the audio; returns the bytes that
    // follow its ID3v2 tag (the audio, and the ID3v1 block if any).
    std::string PeerTagged(const std::string& path, const Layout& layout,
                           const std::vector<std::string>& args) {
        WriteAll(path, audio_);
        EXPECT_TRUE(PeerWrite(path, args));
        const std::string file = ReadAll(path);
        const std::string tail = file.substr(std::min(TagEnd(file), file.size()));
        EXPECT_EQ(audio_.size() + (layout.v1 ? 128 : 0), tail.size());
        EXPECT_TRUE(tail.compare(0, audio_.size(), audio_) == 0) << "the peer changed the audio";
        if (layout.v1) {
            EXPECT_EQ("TAG", tail.substr(audio_.size(), 3));
        }
        if (layout.extended) {
            EXPECT_EQ(0x40, file[5] & 0x40) << "no extended header flag";
            const bool crc = std::find(layout.options.begin(), layout.options.end(),
                                       "--extended-header=crc") != layout.options.end();
            EXPECT_EQ(crc ? 10 : 6, file[13]) << "extended header size";
        }
        return tail;
    }
};
INTEROP_INSTANTIATE(PeerWritesCoreReads);

class CoreEditsPeerTags : public PeerWritesCoreReads {};
INTEROP_INSTANTIATE(CoreEditsPeerTags);

TEST_P(PeerWritesCoreReads, SupportedFramesComeOutRight) {
    const std::string path = dir_.Path("peer.mp3");
    for (const Layout& layout : Layouts()) {
        SCOPED_TRACE(layout.name);
        Values expected;
        PeerTagged(path, layout, RichTag(layout, expected));
        const PeerView peer = PeerDump(path);
        ASSERT_EQ(layout.version, peer.v2);
        // Both comments are there; the one first in the file is the one read.
        ASSERT_NE(nullptr, peer.Find("COMM:zweiter:deu"));
        ASSERT_NE(nullptr, peer.Find("COMM::eng"));
        ASSERT_EQ("COMM::eng", peer.First("COMM")->key);
        ASSERT_NE(nullptr, peer.Find("APIC:cover"));

        CID3v2Tag tag;
        ASSERT_TRUE(tag.ReadTag(fs_, path));
        EXPECT_EQ(layout.version, tag.Version());
        for (int i = 0; i < v2::kFrameCount; ++i)
            EXPECT_EQ(expected[i], tag.GetFrameValue(i)) << "field " << i;

        if (!layout.v1) continue;
        // The peer's ID3v1 tag, made from its ID3v2 frames, reads here as it does there.
        CID3v1Tag old_tag;
        ASSERT_TRUE(old_tag.ReadTag(fs_, path));
        EXPECT_EQ(peer.V1("title"), old_tag.GetFieldValue(v1::Title));
        EXPECT_EQ(peer.V1("artist"), old_tag.GetFieldValue(v1::Artist));
        EXPECT_EQ(peer.V1("album"), old_tag.GetFieldValue(v1::Album));
        EXPECT_EQ(peer.V1("year"), old_tag.GetFieldValue(v1::ReleaseYear));
        EXPECT_EQ(peer.V1("comment"), old_tag.GetFieldValue(v1::Comment));
        EXPECT_EQ("Folk", old_tag.GetFieldValue(v1::Genre));
        EXPECT_EQ("Folk", peer.V1("genre"));
        EXPECT_EQ("5", peer.V1("track"));
        EXPECT_EQ("05", old_tag.GetFieldValue(v1::Track));
        EXPECT_EQ(expected[v2::Title], peer.V1("title"));
    }
}

// One field changed here, in the room the peer's padding leaves and in a
// value far too long for it: the peer then finds every other frame it wrote
// as it wrote it, the changed one with the new text, and the audio (and
// ID3v1 block) untouched; RemoveTag then leaves exactly those.
TEST_P(CoreEditsPeerTags, OneFieldChangedEverythingElseKept) {
    const std::string path = dir_.Path("edit.mp3");
    struct Edit {
        int field;
        std::string value;  // as set, and as the core shows it
        std::string peer;   // as stored
        bool grows;
    };
    const std::string long_title = std::string(4000, 'T') + "itre caf\xE9";
    const std::string long_comment = std::string(4000, 'K') + "ommentar";
    const std::vector<Edit> edits = {
        {v2::Title, "Nouveau titre, caf\xE9", "Nouveau titre, caf\xE9", false},
        {v2::Title, long_title, long_title, true},
        {v2::Comment, "Neuer Kommentar, caf\xE9", "Neuer Kommentar, caf\xE9", false},
        {v2::Comment, long_comment, long_comment, true},
        // The link stays single-byte behind a description in the frame's encoding.
        {v2::WebLink, "http://corvella.example/neu", "http://corvella.example/neu", false},
        {v2::Track, "07/09", "7/9", false},
    };
    for (const Layout& layout : Layouts()) {
        for (const Edit& edit : edits) {
            SCOPED_TRACE(std::string(layout.name) + ", field " + std::to_string(edit.field) +
                         (edit.grows ? ", grown" : ", in place"));
            Values expected;
            const std::string tail = PeerTagged(path, layout, RichTag(layout, expected));
            const PeerView before = PeerDump(path);
            const uint64_t size_before = ReadAll(path).size();
            const PeerFrame* old_frame = before.First(v2::FrameIdOf(edit.field));
            ASSERT_NE(nullptr, old_frame);
            const std::string key = old_frame->key;  // "COMM::eng" for the first comment

            CID3v2Tag tag;
            ASSERT_TRUE(tag.ReadTag(fs_, path));
            tag.SetFrameValue(edit.field, edit.value);
            ASSERT_TRUE(tag.WriteTag(fs_, path));

            const std::string file = ReadAll(path);
            EXPECT_TRUE(TagThenExactly(file, tail));
            if (edit.grows) {
                EXPECT_LT(size_before, file.size());
            } else {
                EXPECT_EQ(size_before, file.size()) << "not written in place";
            }
            const PeerView after = PeerDump(path);
            EXPECT_TRUE(OnlyChanged(before, after, key, edit.peer));
            EXPECT_EQ(layout.v1, after.v1);
            EXPECT_EQ(before.v1fields, after.v1fields);

            CID3v2Tag again;
            ASSERT_TRUE(again.ReadTag(fs_, path));
            expected[edit.field] = edit.value;
            for (int i = 0; i < v2::kFrameCount; ++i)
                EXPECT_EQ(expected[i], again.GetFrameValue(i)) << "field " << i;

            ASSERT_TRUE(again.RemoveTag(fs_, path));
            EXPECT_TRUE(ReadAll(path) == tail) << "RemoveTag left more or less than the audio";
            const PeerView removed = PeerDump(path);
            EXPECT_EQ(0, removed.v2);
            EXPECT_EQ(layout.v1, removed.v1);
        }
    }
}

// Frames the core adds go after the peer's; one it drops leaves the rest.
TEST_P(CoreEditsPeerTags, FramesAddedAndDropped) {
    const std::string path = dir_.Path("add.mp3");
    const std::vector<std::pair<int, std::string>> steps = {
        {v2::Artist, "Fran\xE7oise Hardy"},
        {v2::EncodedBy, "Corvella"},
        {v2::Title, ""},  // "" drops the frame
        {v2::Comment, "Kommentar"},
    };
    for (const Layout& layout : Layouts()) {
        SCOPED_TRACE(layout.name);
        std::vector<std::string> args;  // the layout's flags are for frames this tag lacks
        for (const std::string& option : layout.options)
            if (option.compare(0, 8, "--flags=") != 0) args.push_back(option);
        args.push_back("TIT2=" + Cp("Caf\xE9"));
        args.push_back("TXXX=" + Cp("MOOD") + ":" + Cp("calm"));
        args.push_back("APIC=image/png:" + Cp("cover") + ":" + Hex(Picture()));
        const std::string tail = PeerTagged(path, layout, args);

        for (const auto& step : steps) {
            SCOPED_TRACE("field " + std::to_string(step.first));
            const PeerView before = PeerDump(path);
            CID3v2Tag tag;
            ASSERT_TRUE(tag.ReadTag(fs_, path));
            tag.SetFrameValue(step.first, step.second);
            ASSERT_TRUE(tag.WriteTag(fs_, path));
            EXPECT_TRUE(TagThenExactly(ReadAll(path), tail));
            const PeerView after = PeerDump(path);
            // A comment made here has no description and no language.
            const std::string key = step.first == v2::Comment ? std::string("COMM::\\x00\\x00\\x00")
                                    : step.first == v2::Artist ? "TPE1"
                                    : step.first == v2::EncodedBy ? "TENC"
                                                                 : "TIT2";
            EXPECT_TRUE(OnlyChanged(before, after, key, step.second));
        }
    }
}

// Python's ascii() of UTF-8 text: what the peer's frame dump shows of it.
std::string Escaped(const std::string& utf8) {
    std::string out;
    for (char16_t c : corvella::utf8_to_utf16(utf8)) {
        char buf[8];
        if (c < 0x80) out.push_back(char(c));
        else out += (std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c)), buf);
    }
    return out;
}

// A title stored compressed, or in letters the code page lacks, or both:
// read as the peer reads it; an edit of another field leaves the frame as it
// was stored, and a case change of the title keeps the letters shown as "?"
// and writes the frame plain.
TEST_P(CoreEditsPeerTags, CompressedAndForeignTitlesSurviveEdits) {
    const std::string path = dir_.Path("packed.mp3");
    const std::string greek_cjk = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xE6\x9D\xB1\xE4\xBA\xAC";  // Ελλάδα 東京
    const struct {
        int version;
        bool compressed;
        std::string title;  // UTF-8
        std::string shown, set, stored;
    } cases[] = {
        {3, true, "Compressed Title", "Compressed Title", "COMPRESSED TITLE", "COMPRESSED TITLE"},
        {4, true, "Compressed Title", "Compressed Title", "COMPRESSED TITLE", "COMPRESSED TITLE"},
        {3, false, greek_cjk + " live", "?????? ?? live", "?????? ?? LIVE", greek_cjk + " LIVE"},
        {4, false, greek_cjk + " live", "?????? ?? live", "?????? ?? Live (Remix)", greek_cjk + " Live (Remix)"},
        {3, true, greek_cjk + " live", "?????? ?? live", "?????? ?? LIVE", greek_cjk + " LIVE"},
        {4, true, greek_cjk + " live", "?????? ?? live", "Live: ?????? ?? live", "Live: " + greek_cjk + " live"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + (c.compressed ? " compressed " : " plain ") + c.title);
        std::vector<std::string> args = {"--version=" + std::to_string(c.version), "--encoding=1",
                                         "TIT2=" + U8(c.title), "TPE1=" + Cp("Band")};
        if (c.compressed) args.push_back("--compress=TIT2");
        WriteAll(path, audio_);
        ASSERT_TRUE(PeerWrite(path, args));
        const PeerView before = PeerDump(path);
        ASSERT_EQ(c.compressed ? (c.version == 4 ? "0009" : "0080") : "0000", before.raw.at(0).flags);
        ASSERT_EQ(c.shown, before.Text("TIT2"));

        CID3v2Tag tag;
        ASSERT_TRUE(tag.ReadTag(fs_, path));
        EXPECT_EQ(c.shown, tag.GetFrameValue(v2::Title));
        tag.SetFrameValue(v2::Artist, "Band 2");
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        const PeerView artist_edited = PeerDump(path);
        EXPECT_TRUE(OnlyChanged(before, artist_edited, "TPE1", "Band 2"));

        ASSERT_TRUE(tag.ReadTag(fs_, path));
        tag.SetFrameValue(v2::Title, c.set);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        const PeerView title_edited = PeerDump(path);
        EXPECT_TRUE(OnlyChanged(artist_edited, title_edited, "TIT2", c.set));
        EXPECT_EQ("0000", title_edited.raw.at(0).flags);
        EXPECT_NE(std::string::npos, title_edited.First("TIT2")->repr.find("'" + Escaped(c.stored) + "'"))
            << title_edited.First("TIT2")->repr;
    }
}

}  // namespace
