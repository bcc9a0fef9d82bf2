// The header reader against independent tools: lame encodes small files,
// mediainfo and mpg123 describe them. Skipped where the tools are missing
// (and under Windows, where they are not run).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

#include "app/foundation/mpeg_header.h"

namespace corvella {
namespace foundation {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
bool HaveTool(const char* path) { return fs::exists(path); }

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    ::pclose(pipe);
    return out;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

void Put16(std::ofstream& out, uint16_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(b, 2);
}
void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// A 16-bit PCM WAV of two tones, `seconds` long.
void WriteWav(const fs::path& path, int rate, int channels, int seconds) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t frames = static_cast<uint32_t>(rate * seconds);
    const uint32_t data = frames * static_cast<uint32_t>(channels) * 2;
    out.write("RIFF", 4);
    Put32(out, 36 + data);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels * 2));
    Put16(out, static_cast<uint16_t>(channels * 2));
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, data);
    const double pi = 3.14159265358979;
    for (uint32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const double f = c == 0 ? 440.0 : 660.0;
            Put16(out, static_cast<uint16_t>(static_cast<int16_t>(9000 * std::sin(2 * pi * f * i / rate))));
        }
    }
}

int PlaySeconds(const std::string& play_time) {
    const size_t colon = play_time.find(':');
    if (colon == std::string::npos) return -1;
    return std::atoi(play_time.substr(0, colon).c_str()) * 60 + std::atoi(play_time.substr(colon + 1).c_str());
}

struct Case {
    const char* name;
    int wav_rate, wav_channels;
    const char* lame_args;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name << " (" << c.lame_args << ")"; }

class Mp3Tools : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        if (!HaveTool("/usr/bin/lame")) GTEST_SKIP() << "lame is not installed";
        if (!HaveTool("/usr/bin/mediainfo") && !HaveTool("/usr/bin/mpg123"))
            GTEST_SKIP() << "neither mediainfo nor mpg123 is installed";
        dir_ = fs::temp_directory_path() /
               ("corvella_mp3tools_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty()) fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

TEST_P(Mp3Tools, HeaderAgreesWithTheTools) {
    const Case& c = GetParam();
    const fs::path wav = dir_ / "in.wav";
    const fs::path mp3 = dir_ / (std::string(c.name) + ".mp3");
    WriteWav(wav, c.wav_rate, c.wav_channels, 4);
    const std::string encode = "/usr/bin/lame --quiet " + std::string(c.lame_args) + " " + Quote(wav.string()) +
                               " " + Quote(mp3.string()) + " 2>&1";
    const std::string encoder_says = Capture(encode);
    ASSERT_TRUE(fs::exists(mp3)) << encode << "\n" << encoder_says;
    ASSERT_LT(fs::file_size(mp3), 200000u);

    CMP3Header header;
    ASSERT_TRUE(header.ReadMP3Header(platform_filesystem(), mp3.string()));
    const int our_kbps = std::atoi(header.BitRate().c_str());

    if (HaveTool("/usr/bin/mediainfo")) {
        const std::string info = Capture(
            "/usr/bin/mediainfo '--Inform=Audio;%BitRate%|%SamplingRate%|%Channel(s)%|%Duration%|"
            "%Format_Version%|%Format_Profile%' " + Quote(mp3.string()));
        std::vector<std::string> f;
        std::stringstream ss(info.substr(0, info.find('\n')));
        for (std::string part; std::getline(ss, part, '|');) f.push_back(part);
        ASSERT_EQ(f.size(), 6u) << info;
        EXPECT_EQ(our_kbps * 1000, std::atoi(f[0].c_str())) << info;
        EXPECT_EQ(header.SampleRate(), f[1]) << info;
        EXPECT_EQ(header.ChannelMode() == "Mono" ? "1" : "2", f[2]) << info;
        const std::map<std::string, std::string> versions = {
            {"Version 1", "1.0"}, {"Version 2", "2.0"}, {"Version 2.5", "2.5"}};
        ASSERT_TRUE(versions.count(f[4])) << info;
        EXPECT_EQ(header.MPEGVersion(), versions.at(f[4])) << info;
        EXPECT_EQ("Layer " + header.Layer(), f[5]) << info;
        // The estimate counts the tags and the encoder's lead-in as audio.
        const double tool_seconds = std::atof(f[3].c_str()) / 1000.0;
        EXPECT_NEAR(PlaySeconds(header.playTime()), tool_seconds, 1.0) << header.playTime() << " vs " << info;
    }

    if (HaveTool("/usr/bin/mpg123")) {
        const std::string out = Capture("/usr/bin/mpg123 -t -v -n 1 " + Quote(mp3.string()) + " 2>&1");
        const size_t at = out.find("\nMPEG ");
        ASSERT_NE(at, std::string::npos) << out;
        std::stringstream line(out.substr(at + 1, out.find('\n', at + 1) - at - 1));
        std::string mpeg, version, l, layer, rate_text, sample_rate, mode;
        line >> mpeg >> version >> l >> layer >> rate_text >> sample_rate >> mode;
        const std::map<std::string, std::string> modes = {
            {"stereo", "Stereo"}, {"j-s", "Joint Stereo"}, {"dual", "Dual Channel"}, {"mono", "Mono"}};
        const std::map<std::string, std::string> layers = {{"I", "1"}, {"II", "2"}, {"III", "3"}};
        EXPECT_EQ(header.MPEGVersion(), version) << out;
        EXPECT_EQ(header.Layer(), layers.count(layer) ? layers.at(layer) : "?") << out;
        EXPECT_EQ("cbr" + header.BitRate(), rate_text) << out;
        EXPECT_EQ(header.SampleRate(), sample_rate) << out;
        EXPECT_EQ(header.ChannelMode(), modes.count(mode) ? modes.at(mode) : "?") << out;
    }

    // The frame length follows from the decoded fields alone.
    const int sr = std::atoi(header.SampleRate().c_str());
    const int per = header.MPEGVersion() == "1.0" ? 144000 : 72000;
    EXPECT_EQ(header.FrameLength(), per * our_kbps / sr + header.Padding());
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, Mp3Tools,
    ::testing::Values(Case{"v1_128_joint", 44100, 2, "-b 128 --cbr -m j"},
                      Case{"v1_320_stereo_id3", 44100, 2, "-b 320 --cbr -m s --add-id3v2 --tt Title --ta Artist"},
                      Case{"v1_64_mono_v2only", 44100, 2, "-b 64 --cbr -m m --id3v2-only --tt Mono"},
                      Case{"v1_160_dual", 44100, 2, "-b 160 --cbr -m d"},
                      Case{"v2_64_mono_id3", 22050, 1, "-b 64 --cbr -m m --add-id3v2 --tt Half"},
                      Case{"v2_32_joint", 22050, 2, "-b 32 --cbr -m j"},
                      Case{"v2_32_stereo_16k_v2only", 16000, 2, "-b 32 --cbr -m s --id3v2-only --tl Album"},
                      Case{"v2_24_mono_16k", 16000, 1, "-b 24 --cbr -m m"},
                      Case{"v25_16_mono_11k", 22050, 1, "-b 16 --cbr -m m --resample 11.025"},
                      Case{"v25_8_mono_8k_id3", 16000, 1, "-b 8 --cbr -m m --resample 8 --add-id3v2 --tt Low"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

#else
TEST(Mp3Tools, NotRunUnderWindows) { GTEST_SKIP() << "the reference tools run natively only"; }
#endif

}  // namespace
}  // namespace foundation
}  // namespace corvella
