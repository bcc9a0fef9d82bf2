#include <discid/discid.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <stdexcept>

#include "app/cdrip/core/cd_toc.h"
#include "app/cdrip/core/disc_id.h"
#include "app/cdrip/core/tests/toc_builder.h"

namespace corvella::cdrip {
namespace {

using testing::MakeToc;

// What libdiscid makes of the same offsets: its freedb id and the query.
std::pair<std::string, std::string> Oracle(int first, const std::vector<uint32_t>& starts, uint32_t leadOut) {
    std::vector<int> offsets(100, 0);
    offsets[0] = int(leadOut + 150);
    for (size_t k = 0; k < starts.size(); ++k) offsets[size_t(first) + k] = int(starts[k] + 150);
    DiscId* d = discid_new();
    EXPECT_TRUE(discid_put(d, first, first + int(starts.size()) - 1, offsets.data())) << discid_get_error_msg(d);
    std::string id = discid_get_freedb_id(d);
    std::string query = id + " " + std::to_string(starts.size());
    for (int t = discid_get_first_track_num(d); t <= discid_get_last_track_num(d); ++t)
        query += " " + std::to_string(discid_get_track_offset(d, t));
    query += " " + std::to_string(discid_get_sectors(d) / 75);
    discid_free(d);
    return {id, query};
}

TEST(FreedbDiscId, AgreesWithLibdiscidOverGeneratedTocs) {
    std::mt19937 rng(2024);
    int compared = 0;
    for (int round = 0; round < 400; ++round) {
        const int count = round < 4 ? (round == 0 ? 1 : round == 1 ? 99 : 9) : int(rng() % 99) + 1;
        const int first = 1;  // as on audio CDs; libdiscid counts tracks by the last number
        // Track 1 at 150 (frame 0), or later as after a hidden pregap.
        uint32_t at = round % 2 ? 0 : uint32_t(rng() % 20000);
        std::vector<uint32_t> starts;
        for (int k = 0; k < count; ++k) {
            starts.push_back(at);
            at += uint32_t(rng() % (380000 / count)) + 1;
        }
        const int data = round % 5 == 0 ? count - 1 : round % 7 == 0 ? 0 : -1;
        if (at + 150 > 405000) continue;  // libdiscid takes 90 minutes at most
        const auto want = Oracle(first, starts, at);
        const auto got = FreedbDiscId(MakeToc(first, starts, at, data));
        ASSERT_TRUE(got);
        ASSERT_EQ(got->hex, want.first) << round;
        ASSERT_EQ(got->query, want.second) << round;
        ASSERT_EQ(got->id, std::stoul(want.first, nullptr, 16));
        ++compared;
    }
    EXPECT_GT(compared, 350);
}

TEST(FreedbDiscId, KnownDiscAndRefusals) {
    // A digit-sum remainder below 16: the id keeps its leading zero.
    const auto one = FreedbDiscId(MakeToc(1, {0}, 900));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->hex, "02000c01");
    EXPECT_EQ(one->query, "02000c01 1 150 14");
    cdaudio::TOC empty;
    std::memset(&empty, 0, sizeof empty);
    EXPECT_FALSE(FreedbDiscId(empty));
    cdaudio::TOC huge = MakeToc(1, {0}, 1000);
    huge.tracks[1].addr[0] = 0x80;
    EXPECT_FALSE(FreedbDiscId(huge));
}

TEST(CdRecords, AddressesErrorTextsAndNames) {
    const struct {
        uint8_t addr[4];
        int32_t frame;
    } addresses[] = {{{0, 0, 0x2F, 0x64}, 12132}, {{0x7F, 0xFF, 0xFF, 0xFF}, 0x7FFFFFFF}};
    for (const auto& a : addresses) EXPECT_EQ(TocAddress(a.addr), a.frame);
    const uint8_t overflow[4] = {0x80, 0, 0, 0};
    EXPECT_THROW(TocAddress(overflow), std::overflow_error);

    const struct {
        int code;
        const char* start;
    } texts[] = {{0, "No error..."},
                 {-1, "Unable to load WNASPI32.DLL (95/98/NT/2000) or use SCSI passthrough (NT/2000)"},
                 {-6, "The buffer passed to ReadCDAudioLBA"},
                 {-10, "The ha:tgt:lun values passed to GetCDHandle do not refer to a CD-ROM device."},
                 {-15, "An automatic jitter adjust failed during a call to ReadCDAudioLBAEx"},
                 {-16, ""}, {1, ""}, {-1000, ""}};
    for (const auto& t : texts) {
        const std::string text = AKRipErrorText(t.code);
        EXPECT_EQ(text.substr(0, std::strlen(t.start)), t.start) << t.code;
        EXPECT_EQ(text.empty(), *t.start == '\0') << t.code;
    }

    const struct {
        std::string bytes;
        std::string text;
    } names[] = {{std::string("D: VENDOR CDROM\0\0\0\0", 19), "D: VENDOR CDROM"},
                 {std::string("A\0B\0\0C", 6), "ABC"},
                 {std::string(65, '\0'), ""},
                 {"Image: caf\xE9.cue", "Image: caf\xE9.cue"}};
    for (const auto& n : names) EXPECT_EQ(ByteArrayToString(n.bytes.data(), n.bytes.size()), n.text);
}

}  // namespace
}  // namespace corvella::cdrip
