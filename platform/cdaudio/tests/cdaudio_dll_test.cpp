// cdaudio.dll as the program calls it, over disc images of generated tones:
// lists, opens, gives the table of contents and reads the images' bytes
// exactly, and shows each fault a cue sheet asks for.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/cdaudio/cdaudio.h"
#include "platform/cdaudio/tests/test_paths.h"
#include "platform/cdaudio/win32/component.h"

namespace corvella::cdaudio {
namespace {

const char kOptions[] = "Software\\Corvella\\Options\\CD Audio";

using testing::ImagePath;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void SetRegistryList(const char* value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kOptions, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value)
        RegSetValueExA(key, "Disc Images", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(strlen(value) + 1));
    else
        RegDeleteValueA(key, "Disc Images");
    RegCloseKey(key);
}

struct Listed {
    int adapters;
    std::vector<std::string> ids;
    CDLIST list;
};

Listed List(const char* env, const char* registry) {
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", env);
    SetRegistryList(registry);
    Listed l;
    l.adapters = GetNumAdapters();
    std::memset(&l.list, 0, sizeof l.list);
    EXPECT_EQ(GetCDList(&l.list), 1);
    for (int i = 0; i < 8 && l.list.cd[i].id[0]; ++i) l.ids.push_back(l.list.cd[i].id);
    return l;
}

uint8_t Open(const CDREC& rec) {
    GETCDHAND req{};
    req.size = 12;
    req.ver = 1;
    req.ha = rec.ha;
    req.tgt = rec.tgt;
    req.lun = rec.lun;
    return GetCDHandle(&req);
}

uint32_t Addr(const TOCTRACK& t) { return uint32_t(t.addr[0]) << 24 | t.addr[1] << 16 | t.addr[2] << 8 | t.addr[3]; }

// A read buffer: header and room for 26 frames.
struct Buffer {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(sizeof(TRACKBUF) + 26 * kFrameBytes);
    TRACKBUF* head() { return reinterpret_cast<TRACKBUF*>(bytes.data()); }
    int Read(uint8_t h, uint32_t start, uint32_t n) {
        *head() = TRACKBUF{start, n, 26 * kFrameBytes, 0, 0, 0};
        return ReadCDAudioLBA(h, head());
    }
    std::string Audio() { return std::string(bytes.begin() + sizeof(TRACKBUF), bytes.begin() + sizeof(TRACKBUF) + head()->len); }
};

// Reads frames 0 to `frames` in blocks of 26 and a short last one: each
// block is `audio`'s bytes, its length said.
void ExpectReadsBack(uint8_t h, const std::string& audio, uint32_t frames) {
    Buffer buf;
    for (uint32_t at = 0; at < frames; at += 26) {
        const uint32_t n = std::min<uint32_t>(26, frames - at);
        ASSERT_EQ(buf.Read(h, at, n), 1) << at;
        ASSERT_EQ(buf.head()->len, n * kFrameBytes) << at;
        ASSERT_EQ(buf.Audio(), audio.substr(at * kFrameBytes, n * kFrameBytes)) << at;
    }
}

class CdAudio : public ::testing::Test {
protected:
    void TearDown() override {
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
        SetRegistryList(nullptr);
    }
};

TEST_F(CdAudio, ListsImagesAfterTheDrivesFromEitherPlace) {
    const std::string env = ImagePath("tones.cue") + ";" + ImagePath("missing.cue") + "; " + ImagePath("wavs") + ";;";
    const std::string wavs = ImagePath("wavs");
    const struct {
        const char* env;
        std::string registry;
        std::vector<std::string> ids;
    } cases[] = {
        {nullptr, "", {}},  // no drive lists none
        {env.c_str(), "", {"Image: tones.cue", "Image: wavs"}},
        {nullptr, ImagePath("open.cue"), {"Image: open.cue"}},
        {wavs.c_str(), ImagePath("open.cue"), {"Image: wavs"}},  // the environment wins
    };
    for (const auto& c : cases) {
        const Listed l = List(c.env, c.registry.empty() ? nullptr : c.registry.c_str());
        EXPECT_EQ(l.ids, c.ids) << (c.env ? c.env : "") << " | " << c.registry;
        EXPECT_EQ(l.adapters, int(c.ids.size()));
        EXPECT_EQ(l.list.num, c.ids.size());
        for (size_t i = 0; i < c.ids.size(); ++i) EXPECT_EQ(l.list.cd[i].ha, i);
        if (c.ids.empty()) {
            EXPECT_EQ(Open(l.list.cd[0]), 0);
            EXPECT_EQ(GetAspiLibError(), kErrNotCdrom);
        }
    }
}

TEST_F(CdAudio, ReadsTheCueSheetsBytesExactly) {
    const Listed l = List(ImagePath("tones.cue").c_str(), nullptr);
    ASSERT_EQ(l.ids.size(), 1u);
    const uint8_t h = Open(l.list.cd[0]);
    ASSERT_NE(h, 0);
    EXPECT_EQ(Open(l.list.cd[0]), 0);
    EXPECT_EQ(GetAspiLibError(), kErrInUse);

    TOC toc;
    ASSERT_EQ(ReadTOC(h, &toc), 1);  // MSF until told otherwise
    EXPECT_EQ(toc.tracks[1].addr[1] * 4500 + toc.tracks[1].addr[2] * 75 + toc.tracks[1].addr[3], 173 + 150);
    ModifyCDParms(h, kParmAddressMsf, 0);
    ASSERT_EQ(ReadTOC(h, &toc), 1);
    EXPECT_EQ(toc.tocLen[0] << 8 | toc.tocLen[1], 2 + 8 * 4);
    EXPECT_EQ(toc.firstTrack, 1);
    EXPECT_EQ(toc.lastTrack, 3);
    const uint32_t starts[] = {0, 173, 273, 323};
    const uint8_t adr[] = {0x10, 0x10, 0x14, 0x10};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(Addr(toc.tracks[k]), starts[k]);
        EXPECT_EQ(toc.tracks[k].ADR, adr[k]);
    }
    EXPECT_EQ(toc.tracks[3].trackNumber, kLeadOutTrack);

    ExpectReadsBack(h, FileBytes(ImagePath("tones.bin")), 273);
    Buffer buf;
    const struct {
        uint32_t start, n, maxLen;
        int error;
    } refused[] = {{270, 4, 26 * kFrameBytes, kErrAspi}, {300, 1, 26 * kFrameBytes, kErrAspi},
                   {320, 10, 26 * kFrameBytes, kErrAspi}, {0, 26, 26 * kFrameBytes - 1, kErrBufferTooSmall}};
    for (const auto& r : refused) {
        *buf.head() = TRACKBUF{r.start, r.n, r.maxLen, 0, 0, 0};
        EXPECT_EQ(ReadCDAudioLBA(h, buf.head()), 0) << r.start;
        EXPECT_EQ(GetAspiLibError(), r.error) << r.start;
        EXPECT_EQ(buf.head()->len, 0u);
    }
    EXPECT_EQ(CloseCDHandle(h), 1);
    EXPECT_EQ(CloseCDHandle(h), 0);
    EXPECT_EQ(GetAspiLibError(), kErrInvalidHandle);
    EXPECT_EQ(ReadTOC(h, &toc), 0);
    EXPECT_EQ(GetAspiLibError(), kErrInvalidHandle);

    GETCDHAND bad{};
    bad.size = 11;
    bad.ver = 1;
    EXPECT_EQ(GetCDHandle(&bad), 0);
    EXPECT_EQ(GetAspiLibError(), kErrBadVersion);
    EXPECT_EQ(GetCDHandle(nullptr), 0);
    EXPECT_EQ(GetAspiLibError(), kErrBadRequest);
}

TEST_F(CdAudio, WavFolderReadsItsSamplesAndPadsTheLastFrame) {
    const Listed l = List(ImagePath("wavs").c_str(), nullptr);
    ASSERT_EQ(l.ids.size(), 1u);
    const uint8_t h = Open(l.list.cd[0]);
    ASSERT_NE(h, 0);
    ModifyCDParms(h, kParmAddressMsf, 0);
    TOC toc;
    ASSERT_EQ(ReadTOC(h, &toc), 1);
    EXPECT_EQ(Addr(toc.tracks[1]), 81u);   // 80 frames and 300 bytes take 81
    EXPECT_EQ(Addr(toc.tracks[2]), 133u);
    std::string first = FileBytes(ImagePath("wavs/01 first.wav")).substr(44);
    first.resize(81 * kFrameBytes, '\0');
    const std::string audio = first + FileBytes(ImagePath("wavs/02 second.wav")).substr(44);
    ExpectReadsBack(h, audio, 133);
    EXPECT_EQ(CloseCDHandle(h), 1);
}

TEST_F(CdAudio, FaultsAsTheSheetAsks) {
    const std::string env = ImagePath("faults.cue") + ";" + ImagePath("open.cue") + ";" + ImagePath("toc.cue");
    const Listed l = List(env.c_str(), nullptr);
    ASSERT_EQ(l.ids.size(), 3u);

    EXPECT_EQ(Open(l.list.cd[1]), 0);
    EXPECT_EQ(GetAspiLibError(), kErrNoLock);

    const uint8_t t = Open(l.list.cd[2]);
    ASSERT_NE(t, 0);
    TOC toc;
    std::memset(&toc, 0xEE, sizeof toc);
    EXPECT_EQ(ReadTOC(t, &toc), 0);
    EXPECT_EQ(GetAspiLibError(), kErrAspi);
    EXPECT_EQ(toc.lastTrack, 0);
    EXPECT_EQ(CloseCDHandle(t), 1);

    const uint8_t h = Open(l.list.cd[0]);
    ASSERT_NE(h, 0);
    const std::string bin = FileBytes(ImagePath("tones.bin"));
    Buffer buf;
    EXPECT_EQ(buf.Read(h, 26, 26), 0);  // READ 30 2: twice
    EXPECT_EQ(GetAspiLibError(), kErrAspi);
    EXPECT_EQ(buf.Read(h, 26, 26), 0);
    ASSERT_EQ(buf.Read(h, 26, 26), 1);
    EXPECT_EQ(buf.Audio(), bin.substr(26 * kFrameBytes, 26 * kFrameBytes));
    ASSERT_EQ(buf.Read(h, 90, 26), 1);  // SHORT 100: once, len says so
    EXPECT_EQ(buf.head()->len, 10 * kFrameBytes);
    EXPECT_EQ(buf.Audio(), bin.substr(90 * kFrameBytes, 10 * kFrameBytes));
    ASSERT_EQ(buf.Read(h, 90, 26), 1);
    EXPECT_EQ(buf.head()->len, 26 * kFrameBytes);
    EXPECT_EQ(CloseCDHandle(h), 1);
}

TEST(CdAudioAspi, AMissingManagerIsCodeMinusOne) {
    int error = 0;
    EXPECT_TRUE(AspiDrives("NOASPI32.DLL", &error).empty());
    EXPECT_EQ(error, kErrNoAspi);
    // A system without one: no handle, and the reason is the manager.
    Component c([](int* e) { return AspiDrives("NOASPI32.DLL", e); }, [] { return Drives(); });
    EXPECT_EQ(c.NumAdapters(), 0);
    GETCDHAND req{};
    req.size = 12;
    req.ver = 1;
    EXPECT_EQ(c.Open(&req), 0);
    EXPECT_EQ(c.LastError(), kErrNoAspi);
}

}  // namespace
}  // namespace corvella::cdaudio
