// Encodes two seconds of generated tones (440 Hz left, 880 Hz right) through
// lame_enc.dll with the program's settings record, one file per record, CD
// frame by CD frame as the ripper feeds it. check_mp3s.py then reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/cdrip/core/encoder_config.h"
#include "platform/cdaudio/tests/test_paths.h"

namespace corvella::cdrip {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// The DLL's calls (cdecl).
using InitStream = DWORD (*)(BE_CONFIG*, DWORD* samples, DWORD* bufferSize, DWORD* stream);
using EncodeChunk = DWORD (*)(DWORD stream, DWORD samples, short* pcm, BYTE* out, DWORD* produced);
using DeinitStream = DWORD (*)(DWORD stream, BYTE* out, DWORD* produced);
using CloseStream = DWORD (*)(DWORD stream);
using WriteVbrHeader = DWORD (*)(const char* path);

std::string OutFolder() {
    const std::string path = cdaudio::testing::WinPath("CORVELLA_LAME_OUT", "/tmp/lame_out");
    CreateDirectoryA(path.c_str(), nullptr);
    return path + "\\";
}

struct Lame {
    HMODULE dll;
    InitStream init;
    EncodeChunk encode;
    DeinitStream deinit;
    CloseStream close;
    WriteVbrHeader vbrHeader;
    Lame() {
        // By full path, from the program's folder.
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path);
        folder.resize(folder.find_last_of('\\') + 1);
        dll = LoadLibraryA((folder + "lame_enc.dll").c_str());
        init = reinterpret_cast<InitStream>(GetProcAddress(dll, "beInitStream"));
        encode = reinterpret_cast<EncodeChunk>(GetProcAddress(dll, "beEncodeChunk"));
        deinit = reinterpret_cast<DeinitStream>(GetProcAddress(dll, "beDeinitStream"));
        close = reinterpret_cast<CloseStream>(GetProcAddress(dll, "beCloseStream"));
        vbrHeader = reinterpret_cast<WriteVbrHeader>(GetProcAddress(dll, "beWriteVBRHeader"));
    }
    ~Lame() { FreeLibrary(dll); }
};

void Encode(Lame& lame, const EncoderChoices& choices, const std::string& name) {
    BE_CONFIG config = MakeEncoderConfig(choices);
    DWORD samples = 0, size = 0, stream = 0;
    ASSERT_EQ(lame.init(&config, &samples, &size, &stream), 0u) << name;
    std::vector<BYTE> out(size);
    const std::string path = OutFolder() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    const bool mono = choices.mode == 3;
    for (int frame = 0; frame < 150; ++frame) {  // two seconds of CD frames
        std::vector<short> pcm(1176);
        for (int i = 0; i < 588; ++i) {
            const double t = double(frame * 588 + i) / 44100;
            pcm[2 * i] = short(12000 * std::sin(kTwoPi * 440 * t));
            pcm[2 * i + 1] = short(12000 * std::sin(kTwoPi * 880 * t));
        }
        if (mono)  // the DLL takes mono as one sample a pair: (L + R) / 2
            for (int i = 0; i < 588; ++i) pcm[i] = short((pcm[2 * i] + pcm[2 * i + 1]) / 2);
        DWORD produced = 0;
        ASSERT_EQ(lame.encode(stream, mono ? 588 : 1176, pcm.data(), out.data(), &produced), 0u);
        std::fwrite(out.data(), 1, produced, f);
    }
    DWORD produced = 0;
    ASSERT_EQ(lame.deinit(stream, out.data(), &produced), 0u);
    std::fwrite(out.data(), 1, produced, f);
    std::fclose(f);
    lame.close(stream);
    if (choices.variable) EXPECT_EQ(lame.vbrHeader(path.c_str()), 0u) << name;
}

TEST(LameEnc, EncodesWithTheProgramsRecord) {
    Lame lame;
    ASSERT_TRUE(lame.dll && lame.init && lame.encode && lame.deinit && lame.close && lame.vbrHeader);
    const struct {
        const char* name;
        bool variable;
        int level;
        uint32_t kbps;
        int32_t mode;
        bool flags;
    } files[] = {
        {"cbr128_stereo_flags.mp3", false, 0, 128, 0, true},
        {"cbr320_joint.mp3", false, 0, 320, 1, false},
        {"cbr192_dual.mp3", false, 0, 192, 2, false},
        {"cbr128_mono.mp3", false, 0, 128, 3, false},
        {"vbr0_joint.mp3", true, 0, 0, 1, false},
        {"vbr6_stereo.mp3", true, 6, 0, 0, false},
    };
    for (const auto& f : files) {
        EncoderChoices c;
        c.variable = f.variable;
        c.vbrLevel = f.level;
        c.fixedKbps = f.kbps;
        c.mode = f.mode;
        c.copyright = c.crc = c.original = c.isPrivate = f.flags;
        Encode(lame, c, f.name);
    }
}

}  // namespace
}  // namespace corvella::cdrip
