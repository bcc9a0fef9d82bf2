// Frames stored as zlib data: read as their text, kept byte for byte while
// unedited, written plain once edited; data that does not inflate within its
// declared size is kept as read and never shown.
#include <gtest/gtest.h>

#include "libs/tags/ID3v2/tests/test_support.h"

using namespace corvella::id3v2;
using namespace testing_id3v2;

namespace {

const std::string kText = "Compressed Title";
const std::string kBody = std::string(1, '\0') + kText;

// A stream with an FF in it, so unsynchronisation has something to undo.
std::string DeflatedWithFF(std::string& body) {
    for (int i = 0;; ++i) {
        body = kBody + std::string(size_t(i), char('a' + i % 26));
        const std::string z = Deflated(body);
        if (z.find('\xFF') != std::string::npos) return z;
    }
}

std::string FramesOf(const CID3v2Tag& tag) {
    std::string out;
    EXPECT_TRUE(tag.RenderTag(0, out));
    return out.substr(10);
}

}  // namespace

TEST(CompressedFrames, ReadKeptWhileUneditedWrittenPlainOnceEdited) {
    const uint32_t n = uint32_t(kBody.size());
    std::string ff_body;
    const std::string ff_z = DeflatedWithFF(ff_body);
    const std::string z = Deflated(kBody);
    const std::string bomb = Deflated(std::string(20u << 20, '\0'));
    const struct {
        const char* name;
        int version;
        std::string title;  // the TIT2 frame as stored
        std::string shown;
    } cases[] = {
        {"2.3", 3, Frame("TIT2", Be32(n) + z, false, 0x0080), kText},
        {"2.3 with a status flag", 3, Frame("TIT2", Be32(n) + z, false, 0x4080), kText},
        {"2.4 with its data length", 4, Frame("TIT2", Syncsafe(n) + z, true, 0x0009), kText},
        {"2.4 unsynchronised after compression", 4,
         Frame("TIT2", Syncsafe(uint32_t(ff_body.size())) + Unsynchronised(ff_z), true, 0x000B), ff_body.substr(1)},
        {"2.4 without its data length", 4, Frame("TIT2", z, true, 0x0008), kText},
        {"2.3 declaring less than it holds", 3, Frame("TIT2", Be32(n - 1) + z, false, 0x0080), ""},
        {"2.3 stream cut short", 3, Frame("TIT2", Be32(n) + z.substr(0, z.size() - 3), false, 0x0080), ""},
        {"2.3 not zlib at all", 3, Frame("TIT2", Be32(n) + "zz", false, 0x0080), ""},
        {"2.3 without room for its size", 3, Frame("TIT2", "zz", false, 0x0080), ""},
        {"2.3 inflating past any sane size", 3, Frame("TIT2", Be32(0xFFFFFFFF) + bomb, false, 0x0080), ""},
        {"2.4 declaring less than it holds", 4, Frame("TIT2", Syncsafe(n - 1) + z, true, 0x0009), ""},
        {"2.4 compressed and encrypted", 4, Frame("TIT2", Syncsafe(n) + z, true, 0x000D), ""},
        {"2.3 compressed and grouped", 3, Frame("TIT2", Be32(n) + "\x01" + z, false, 0x00A0), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool v4 = c.version == 4;
        const std::string artist = Frame("TPE1", std::string("\0B", 2), v4);
        const std::string bytes = Tag(c.version, 0, c.title + artist);
        CID3v2Tag tag;
        ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(c.shown, tag.GetFrameValue(Title));
        tag.SetFrameValue(Artist, "C");
        const std::string new_artist = Frame("TPE1", std::string("\0C", 2), v4);
        EXPECT_TRUE(c.title + new_artist == FramesOf(tag)) << "the title frame is not as read";
        tag.SetFrameValue(Title, "D");
        EXPECT_EQ(Frame("TIT2", std::string("\0D", 2), v4) + new_artist, FramesOf(tag));
    }
}
