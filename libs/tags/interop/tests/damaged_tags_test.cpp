// Damaged, older and newer tags edited by the core and read by the peer:
// after an edit the peer sees one frame for the field, holding the new
// value, and the audio behind the tag as it was.
#include <gtest/gtest.h>

#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/tags/ID3v2/tests/test_support.h"
#include "libs/tags/interop/tests/peer.h"

using namespace interop;
using corvella::id3v2::CID3v2Tag;
namespace v2 = corvella::id3v2;
namespace t = testing_id3v2;

namespace {

class DamagedTagsPeerReads : public InteropTest {};
INTEROP_INSTANTIATE(DamagedTagsPeerReads);

std::string Text(const std::string& s) { return std::string(1, '\0') + s; }
size_t FramesWithId(const PeerView& peer, const std::string& id) {
    size_t n = 0;
    for (const PeerFrame& f : peer.frames)
        if (f.key.compare(0, 4, id) == 0 && (f.key.size() == 4 || f.key[4] == ':')) ++n;
    return n;
}

TEST_P(DamagedTagsPeerReads, OneValueTheNewOne) {
    const std::string title = t::Frame("TIT2", Text("Old")), artist = t::Frame("TPE1", Text("B"));
    const std::string title4 = t::Frame("TIT2", Text("Old"), true), artist4 = t::Frame("TPE1", Text("B"), true);
    const std::string packed = t::Frame("TALB", std::string("\0\0\0\x10xyz", 7), false, 0x0080);
    const std::string cut = t::Frame("TIT2", Text("Cut off"));  // 3 body bytes inside the tag
    const std::string jpeg("\xFF\xD8\xFF\xE0jfif", 8);
    const struct {
        const char* name;
        std::string tag;
        std::string kept;  // bytes between the tag and the audio that are no part of the tag
        std::vector<std::pair<int, std::string>> edits;
        std::vector<std::pair<const char*, std::string>> seen;  // "" for no such frame
    } cases[] = {
        {"size past the end of the file", t::Declaring(t::Tag(3, 0, title + artist), 100000), "",
         {{v2::Title, "New"}}, {{"TIT2", "New"}, {"TPE1", "B"}}},
        {"2.4 TYER beside TDRC", t::Tag(4, 0, title4 + t::Frame("TYER", Text("1999"), true) +
                                                 t::Frame("TDRC", Text("2003-10-20"), true)),
         "", {{v2::ReleaseYear, "2004"}}, {{"TYER", ""}, {"TDRC", "2004"}, {"TIT2", "Old"}}},
        {"2.4 unsynchronised tag", t::Tag(4, 0x80, t::Frame("TIT2", std::string("\0\xFF\0A", 4), true) + artist4), "",
         {{v2::Artist, "C"}}, {{"TIT2", "\xFF" "A"}, {"TPE1", "C"}}},
        {"2.4 data-length indicator and unsynchronisation",
         t::Tag(4, 0, t::Frame("TIT2", t::Syncsafe(3) + std::string("\0\xFF\0A", 4), true, 0x0003) + artist4), "",
         {{v2::Title, "New"}}, {{"TIT2", "New"}, {"TPE1", "B"}}},
        {"2.3 unsynchronised tag", t::Tag(3, 0x80, t::Unsynchronised(t::Frame("TIT2", std::string("\0\xFF" "A", 3)) + artist)), "",
         {{v2::Title, "New"}}, {{"TIT2", "New"}, {"TPE1", "B"}}},
        {"duplicates and a compressed frame", t::Tag(3, 0, title + packed + artist + t::Frame("TIT2", Text("Z"))), "",
         {{v2::Title, "New"}, {v2::Album, "Alb"}}, {{"TIT2", "New"}, {"TALB", "Alb"}, {"TPE1", "B"}}},
        {"a cleared duplicate", t::Tag(3, 0, title + artist + t::Frame("TIT2", Text("Z"))), "",
         {{v2::Title, ""}}, {{"TIT2", ""}, {"TPE1", "B"}}},
        {"a frame cut by the end of the tag",
         t::Declaring(t::Tag(3, 0, artist + cut), uint32_t(artist.size() + 13)).substr(0, 10 + artist.size() + 13),
         cut.substr(13), {{v2::Artist, "C"}}, {{"TIT2", "Cu"}, {"TPE1", "C"}}},
        {"2.2", t::Tag(2, 0, t::Frame22("TT2", Text("Old")) + t::Frame22("TP1", Text("B")) + t::Frame22("TYE", Text("1999")) +
                                  t::Frame22("PIC", std::string("\0JPG\3\0", 6) + jpeg) + t::Frame22("CRM", std::string("o\0x", 3)) +
                                  t::Frame22("COM", std::string("\0eng\0hi", 7)), 30),
         "", {{v2::Title, "New"}}, {{"TIT2", "New"}, {"TPE1", "B"}, {"TYER", "1999"}, {"COMM", "hi"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = NewFile("damaged.mp3", c.tag + c.kept + audio_);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ReadTag(fs_, path));
        for (const auto& edit : c.edits) tag.SetFrameValue(edit.first, edit.second);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        EXPECT_TRUE(TagThenExactly(ReadAll(path), c.kept + audio_));

        const PeerView peer = PeerDump(path);
        EXPECT_EQ(c.tag[3] == 4 ? 4 : 3, peer.v2);
        for (const auto& s : c.seen) {
            EXPECT_EQ(s.second.empty() ? 0u : 1u, FramesWithId(peer, s.first)) << s.first;
            EXPECT_EQ(s.second, peer.Text(s.first)) << s.first;
        }
        if (c.tag[3] == 2) {
            const PeerFrame* pic = peer.First("APIC");
            ASSERT_NE(nullptr, pic);
            EXPECT_NE(std::string::npos, pic->repr.find("mime='image/jpeg'")) << pic->repr;
            EXPECT_EQ(0u, FramesWithId(peer, "CRM"));
        }
        ASSERT_TRUE(tag.RemoveTag(fs_, path));
        EXPECT_TRUE(ReadAll(path) == c.kept + audio_);
    }
}

// The peer's own 2.4 date: the year shown is its first four characters; the
// same year keeps the whole date, another replaces it, in TDRC only.
TEST_P(DamagedTagsPeerReads, Version24DateFromThePeer) {
    const std::string path = NewFile("date.mp3", audio_);
    ASSERT_TRUE(PeerWrite(path, {"--version=4", "--encoding=3", "TIT2=" + Cp("Caf\xE9"), "TDRC=" + Cp("2003-10-20")}));
    const std::string tail = ReadAll(path).substr(TagEnd(ReadAll(path)));
    const struct {
        const char* set;
        const char* seen;
    } steps[] = {{"2003", "2003-10-20"}, {"2004", "2004"}, {"", ""}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.set);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ReadTag(fs_, path));
        EXPECT_EQ(4, tag.Version());
        tag.SetFrameValue(v2::ReleaseYear, step.set);
        ASSERT_TRUE(tag.WriteTag(fs_, path));
        EXPECT_TRUE(TagThenExactly(ReadAll(path), tail));
        const PeerView peer = PeerDump(path);
        EXPECT_EQ(step.seen, peer.Text("TDRC"));
        EXPECT_EQ(*step.seen ? 1u : 0u, FramesWithId(peer, "TDRC"));
        EXPECT_EQ(0u, FramesWithId(peer, "TYER"));
        EXPECT_EQ("Caf\xE9", peer.Text("TIT2"));
        CID3v2Tag again;
        ASSERT_TRUE(again.ReadTag(fs_, path));
        EXPECT_EQ(step.set, again.GetFrameValue(v2::ReleaseYear));
    }
}

}  // namespace
