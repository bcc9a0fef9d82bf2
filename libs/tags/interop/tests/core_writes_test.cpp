// Tags written by the cores, read back by the peer.
#include <gtest/gtest.h>

#include <array>

#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/tags/interop/tests/peer.h"

using namespace interop;
using corvella::id3v1::CID3v1Tag;
using corvella::id3v1::FieldValue;
using corvella::id3v2::CID3v2Tag;
namespace v1 = corvella::id3v1;
namespace v2 = corvella::id3v2;

namespace {

class CoreWritesPeerReads : public InteropTest {};
INTEROP_INSTANTIATE(CoreWritesPeerReads);

// Text of exactly n bytes, with Windows-1252 letters in it.
std::string Filler(size_t n, const std::string& words = "Caf\xE9 cr\xE8me br\xFBl\xE9" "e, na\xEFve ") {
    std::string s;
    while (s.size() < n) s += words;
    return s.substr(0, n);
}

// The frame ID each field of the ID3v2 core is stored under, as the peer keys it.
const std::array<const char*, v2::kFrameCount> kIds = {
    "TIT2", "TPE1", "TALB", "TYER", "COMM", "TCON", "TRCK", "TCOM", "TOPE", "TCOP", "WXXX", "TENC"};

void ExpectPeerHas(const PeerView& peer, const std::array<std::string, v2::kFrameCount>& values) {
    for (int i = 0; i < v2::kFrameCount; ++i) EXPECT_EQ(values[i], peer.Text(kIds[i])) << kIds[i];
}

TEST_P(CoreWritesPeerReads, Id3v1AllSevenFields) {
    const std::string path = NewFile("v1.mp3", audio_);
    const std::string title = "Caf\xE9 au lait et cr\xE8me br\xFBl\xE9" "es!";  // all 30 bytes
    const std::string comment = Filler(28);                                       // all 28 bytes
    ASSERT_EQ(30u, title.size());

    CID3v1Tag tag;
    tag.SetFieldValue(v1::Title, FieldValue::Str(title));
    tag.SetFieldValue(v1::Artist, FieldValue::Str("Bj\xF6rk Gu\xF0mundsd\xF3ttir"));
    tag.SetFieldValue(v1::Album, FieldValue::Str("Homog\xE9nic"));
    tag.SetFieldValue(v1::ReleaseYear, FieldValue::Num(1997));
    tag.SetFieldValue(v1::Comment, FieldValue::Str(comment));
    tag.SetFieldValue(v1::Genre, FieldValue::Str("Jazz"));
    tag.SetFieldValue(v1::Track, FieldValue::Num(5));
    ASSERT_TRUE(tag.WriteTag(fs_, path));

    std::string file = ReadAll(path);
    ASSERT_EQ(audio_.size() + 128, file.size());
    EXPECT_TRUE(file.compare(0, audio_.size(), audio_) == 0) << "audio changed by the first write";
    PeerView peer = PeerDump(path);
    EXPECT_EQ(0, peer.v2);
    ASSERT_TRUE(peer.v1);
    EXPECT_EQ(title, peer.V1("title"));
    EXPECT_EQ("Bj\xF6rk Gu\xF0mundsd\xF3ttir", peer.V1("artist"));
    EXPECT_EQ("Homog\xE9nic", peer.V1("album"));
    EXPECT_EQ("1997", peer.V1("year"));
    EXPECT_EQ(comment, peer.V1("comment"));
    EXPECT_EQ("5", peer.V1("track"));
    EXPECT_EQ("Jazz", peer.V1("genre"));

    // Rewritten in place with shorter text: no old letters may show through.
    tag.SetFieldValue(v1::Title, FieldValue::Str("J\xF3ga"));
    tag.SetFieldValue(v1::Comment, FieldValue::Str("short"));
    tag.SetFieldValue(v1::Genre, FieldValue::Num(17));
    tag.SetFieldValue(v1::Track, FieldValue::Str("12"));
    ASSERT_TRUE(tag.WriteTag(fs_, path));
    file = ReadAll(path);
    ASSERT_EQ(audio_.size() + 128, file.size());
    EXPECT_TRUE(file.compare(0, audio_.size(), audio_) == 0) << "audio changed by the rewrite";
    peer = PeerDump(path);
    EXPECT_EQ("J\xF3ga", peer.V1("title"));
    EXPECT_EQ("short", peer.V1("comment"));
    EXPECT_EQ("12", peer.V1("track"));
    EXPECT_EQ("Rock", peer.V1("genre"));

    ASSERT_TRUE(tag.RemoveTag(fs_, path));
    EXPECT_TRUE(ReadAll(path) == audio_) << "RemoveTag left more or less than the audio";
    EXPECT_FALSE(PeerDump(path).v1);
}

TEST_P(CoreWritesPeerReads, Id3v2AllTwelveFrames) {
    const std::string path = NewFile("v2.mp3", audio_);
    std::array<std::string, v2::kFrameCount> values = {
        "Caf\xE9 de Flore", "Fran\xE7oise Hardy", "Mon amie la rose", "1964", Filler(200),
        "Chanson", "5/12", "Jacques Dutronc", "C\xE9" "cile Caulier", "\xA9 1964 Disques Vogue",
        "http://corvella.example/hardy", "Corvella"};

    CID3v2Tag tag;
    for (int i = 0; i < v2::kFrameCount; ++i) tag.SetFrameValue(i, values[i]);
    ASSERT_TRUE(tag.WriteTag(fs_, path));
    EXPECT_TRUE(TagThenExactly(ReadAll(path), audio_)) << "after the first write";
    PeerView peer = PeerDump(path);
    EXPECT_EQ(3, peer.v2);
    EXPECT_EQ(12u, peer.frames.size());
    ExpectPeerHas(peer, values);
    EXPECT_FALSE(peer.v1);

    values[v2::Comment] = Filler(300);
    tag.SetFrameValue(v2::Comment, values[v2::Comment]);
    ASSERT_TRUE(tag.WriteTag(fs_, path));
    EXPECT_TRUE(TagThenExactly(ReadAll(path), audio_)) << "after the 300-byte comment";
    peer = PeerDump(path);
    EXPECT_EQ(12u, peer.frames.size());
    ExpectPeerHas(peer, values);

    ASSERT_TRUE(tag.RemoveTag(fs_, path));
    EXPECT_TRUE(ReadAll(path) == audio_) << "RemoveTag left more or less than the audio";
    EXPECT_EQ(0, PeerDump(path).v2);
}

// The ID3v2 tag grows and shrinks in front of the audio while an ID3v1 tag
// sits behind it; every step leaves both the audio and that block as they were.
TEST_P(CoreWritesPeerReads, BothTagsOnOneFile) {
    const std::string path = NewFile("both.mp3", audio_);
    CID3v1Tag old_tag;
    old_tag.SetFieldValue(v1::Title, FieldValue::Str("Caf\xE9"));
    old_tag.SetFieldValue(v1::Track, FieldValue::Num(7));
    ASSERT_TRUE(old_tag.WriteTag(fs_, path));
    const std::string tail = ReadAll(path);  // audio and the ID3v1 block
    ASSERT_EQ(audio_.size() + 128, tail.size());

    CID3v2Tag tag;
    const std::vector<std::pair<int, std::string>> steps = {
        {v2::Title, "Caf\xE9 noir"},          // new tag
        {v2::Comment, Filler(6000)},            // grows past any padding
        {v2::Comment, "short again"},           // fits in place
        {v2::Artist, Filler(300)},              // fits
        {v2::Track, "5/12"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("field " + std::to_string(step.first) + ", " + std::to_string(step.second.size()) +
                     " bytes");
        tag.SetFrameValue(step.first, step.second);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        EXPECT_TRUE(TagThenExactly(ReadAll(path), tail));
        const PeerView peer = PeerDump(path);
        EXPECT_EQ(3, peer.v2);
        EXPECT_EQ(step.second, peer.Text(kIds[step.first]));
        EXPECT_TRUE(peer.v1);
        EXPECT_EQ("Caf\xE9", peer.V1("title"));
        EXPECT_EQ("7", peer.V1("track"));
    }

    ASSERT_TRUE(tag.RemoveTag(fs_, path));
    EXPECT_TRUE(ReadAll(path) == tail) << "RemoveTag of the ID3v2 tag touched what follows it";
    CID3v1Tag v1tag;
    ASSERT_TRUE(v1tag.RemoveTag(fs_, path));
    EXPECT_TRUE(ReadAll(path) == audio_);
    const PeerView peer = PeerDump(path);
    EXPECT_EQ(0, peer.v2);
    EXPECT_FALSE(peer.v1);
}

// Windows-1252 has letters at 80..9F (the euro sign, curly quotes, dashes)
// where ISO-8859-1, the format's single-byte encoding, has control codes.
// Text holding them must reach another reader as the same letters, in a new
// frame and in one the peer wrote as ISO-8859-1.
TEST_P(CoreWritesPeerReads, TextBeyondLatin1) {
    const std::string title = "\x80 5 \x96 \x93\x8C" "uvre\x94";  // € 5 – “Œuvre”
    const std::string artist = "Caf\xE9";                         // within ISO-8859-1
    for (const bool peer_first : {false, true}) {
        SCOPED_TRACE(peer_first ? "over the peer's ISO-8859-1 frames" : "new frames");
        const std::string path = NewFile("euro.mp3", audio_);
        if (peer_first) {
            ASSERT_TRUE(PeerWrite(path, {"--encoding=0", "TIT2=" + Cp("old"), "TPE1=" + Cp("x")}));
        }
        const std::string start = ReadAll(path);
        const std::string tail = start.substr(TagEnd(start));

        CID3v2Tag tag;
        ASSERT_TRUE(tag.ReadTag(fs_, path));
        tag.SetFrameValue(v2::Title, title);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        tag.SetFrameValue(v2::Artist, artist);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        EXPECT_TRUE(TagThenExactly(ReadAll(path), tail));

        const PeerView peer = PeerDump(path);
        EXPECT_EQ(artist, peer.Text("TPE1"));
        const PeerFrame* f = peer.First("TIT2");
        ASSERT_NE(nullptr, f);
        EXPECT_EQ(title, f->text) << "another reader sees " << f->repr;
        if (peer_first) {
            EXPECT_EQ("TIT2", peer.frames[0].key) << "the frame moved";
        }

        CID3v2Tag again;  // and here it still reads as written
        ASSERT_TRUE(again.ReadTag(fs_, path));
        EXPECT_EQ(title, again.GetFrameValue(v2::Title));
        EXPECT_EQ(artist, again.GetFrameValue(v2::Artist));
    }
}

}  // namespace
