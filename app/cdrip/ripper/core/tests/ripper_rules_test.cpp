// The ripper's settings through the settings store, its drives and the
// track rows of tables of contents.
#include "app/cdrip/ripper/core/ripper_rules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/foundation/memory_store.h"

namespace corvella::cdrip {
namespace {

std::pair<int32_t, std::string> Stored(MemoryStore& store, const std::string& name) {
    int32_t type = 0;
    std::vector<uint8_t> data;
    if (!store.QueryValue(kHkeyCurrentUser, kMP3SettingsKey, name, type, data)) return {-1, ""};
    if (type == kRegDword && data.size() == 4) {
        uint32_t v;
        std::memcpy(&v, data.data(), 4);
        return {type, std::to_string(v)};
    }
    std::string text(data.begin(), data.end());
    return {type, text.substr(0, text.find('\0'))};
}

TEST(MP3Settings, DefaultsAtFirstReadTextAfterAClose) {
    MemoryStore store;
    const MP3Settings first = ReadMP3Settings(store);
    const struct {
        const char* name;
        int32_t type;
        std::string atFirst, afterClose;
    } values[] = {
        {"Variable BR", kRegSz, "4", "7"},  {"Fixed BR", kRegSz, "8", "8"},     {"Quality", kRegSz, "1", "1"},
        {"Spacial", kRegSz, "1", "1"},      {"Copyright", kRegDword, "0", "1"}, {"CRC", kRegDword, "0", "0"},
        {"Original", kRegDword, "0", "0"},  {"Private", kRegDword, "0", "0"},   {"Bit Rate Mode", kRegSz, "True", "False"},
        {"Foldername 1", kRegSz, "0", "0"}, {"Foldername 2", kRegSz, "2", "2"}, {"Filename 1", kRegSz, "2", "2"},
        {"Filename 2", kRegSz, "4", "4"},   {"Filename 3", kRegSz, "0", "0"},   {"Filename 4", kRegSz, "0", "0"},
        {"Tag Case", kRegSz, "0", "0"},     {"File Case", kRegSz, "0", "2"},
    };
    for (const auto& v : values) EXPECT_EQ(Stored(store, v.name), std::make_pair(v.type, v.atFirst)) << v.name;

    MP3Settings changed = first;
    changed.variableBR = 7;
    changed.copyright = 1;
    changed.variableMode = false;
    changed.fileCase = 2;
    WriteMP3Settings(store, changed);
    for (const auto& v : values) EXPECT_EQ(Stored(store, v.name), std::make_pair(kRegSz, v.afterClose)) << v.name;
    const MP3Settings again = ReadMP3Settings(store);
    EXPECT_EQ(again.variableBR, 7);
    EXPECT_EQ(again.copyright, 1);
    EXPECT_FALSE(again.variableMode);
    EXPECT_EQ(again.fileCase, 2);

    // A value that is no number keeps its default.
    const std::string junk = "many";
    store.SetValue(kHkeyCurrentUser, kMP3SettingsKey, "Quality", kRegSz, {junk.begin(), junk.end()});
    EXPECT_EQ(ReadMP3Settings(store).quality, 1);
}

TEST(DriveItems, TheComponentsRecordsAtMostEight) {
    auto name = [](int i) { return i == 1 ? std::string() : "Drive " + std::to_string(i); };
    const auto items = DriveItems(12, name);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].name, "Drive 0");
    EXPECT_EQ(items[1].index, 2);  // the nameless record is left out, the index kept
    EXPECT_EQ(items.back().index, 7);
    EXPECT_EQ(DriveItems(2, name).size(), 1u);
}

cdaudio::TOC Toc(int tracks, int dataTrack = 0) {
    cdaudio::TOC toc;
    std::memset(&toc, 0, sizeof toc);
    toc.firstTrack = 1;
    toc.lastTrack = uint8_t(tracks);
    for (int k = 0; k <= tracks; ++k) {
        toc.tracks[k].ADR = k + 1 == dataTrack ? 0x14 : 0x10;
        toc.tracks[k].addr[3] = uint8_t(k + 1);  // non-zero everywhere
    }
    return toc;
}

TEST(TrackRows, TheDiscsTracksWithTheTitlesItHas) {
    const struct {
        const char* what;
        cdaudio::TOC toc;
        std::vector<std::string> titles;
        std::vector<std::string> rows;
        std::vector<bool> audio;
    } cases[] = {
        {"numbered", Toc(3), {}, {"Track 01", "Track 02", "Track 03"}, {true, true, true}},
        {"shorter disc: no stale rows", Toc(2), {}, {"Track 01", "Track 02"}, {true, true}},
        {"data track", Toc(3, 3), {}, {"Track 01", "Track 02", "Track 03 (data)"}, {true, true, false}},
        {"more titles than tracks", Toc(2), {"A", "B", "C"}, {"A", "B"}, {true, true}},
        {"fewer titles, an empty one", Toc(3), {"A", ""}, {"A", "Track 02", "Track 03"}, {true, true, true}},
        {"data track keeps its name", Toc(2, 2), {"A", "B"}, {"A", "Track 02 (data)"}, {true, false}},
        {"no disc", Toc(0), {"A"}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto rows = TrackRows(c.toc, c.titles);
        std::vector<std::string> texts;
        std::vector<bool> audio;
        for (const auto& r : rows) {
            texts.push_back(r.text);
            audio.push_back(r.audio);
        }
        EXPECT_EQ(texts, c.rows) << c.what;
        EXPECT_EQ(audio, c.audio) << c.what;
    }
    cdaudio::TOC ninetyNine = Toc(99);
    EXPECT_EQ(TrackRows(ninetyNine).back().text, "Track 99");
}

}  // namespace
}  // namespace corvella::cdrip
