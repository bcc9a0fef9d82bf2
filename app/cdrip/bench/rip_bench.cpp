// `make bench`: a disc image ripped by the whole run (cdaudio.dll, the
// encoding window over a dialog, lame_enc.dll, the temporary file), against
// a bare beEncodeChunk loop over the same PCM with the same record into one
// file, in the same process. Prints both times; the ratio last.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/encoder/rip_io.h"
#include "app/cdrip/encoder/rip_runner.h"

using namespace corvella;
using namespace corvella::cdrip;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// The bare loop: the bin's PCM read in blocks, each CD frame to the encoder,
// its output to one file, the VBR header at the end; with flushEachBlock the
// file is flushed after every 26 frames, as the run does.
double BareLoop(const std::string& bin, const std::string& out, const BE_CONFIG& record, bool flushEachBlock) {
    LameStream lame;
    std::string why;
    if (!lame.Load(&why)) {
        std::printf("%s\n", why.c_str());
        return 0;
    }
    const auto start = Clock::now();
    BE_CONFIG config = record;
    uint32_t size = 0;
    if (lame.Init(&config, &size) != 0) return 0;
    std::vector<uint8_t> buffer(size), block(kBlockFrames * cdaudio::kFrameBytes);
    FILE* in = std::fopen(bin.c_str(), "rb");
    DeleteFileA(out.c_str());
    clsFileIo f;
    f.OpenFile(out);
    size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), in)) > 0) {
        for (size_t at = 0; at + cdaudio::kFrameBytes <= got; at += cdaudio::kFrameBytes) {
            uint32_t produced = 0;
            lame.Encode(kFrameSamples, reinterpret_cast<int16_t*>(block.data() + at), buffer.data(), &produced);
            if (produced) f.WriteBytes(buffer.data(), produced);
        }
        if (flushEachBlock) f.FlushBuffers();
    }
    uint32_t produced = 0;
    lame.Deinit(buffer.data(), &produced);
    f.WriteBytes(buffer.data(), produced);
    f.CloseFile();
    std::fclose(in);
    lame.Close();
    if (record.bEnableVBR) lame.WriteVbrHeader(out);
    return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: rip_bench IMAGE-FOLDER OUT-FOLDER\n");
        return 2;
    }
    const std::string images = argv[1], out = argv[2];
    CreateDirectoryA(out.c_str(), nullptr);
    SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", (images + "\\long.cue").c_str());
    if (!OpenCDDrive(0)) {
        std::printf("the image does not open: %s\n", AKRipErrorText().c_str());
        return 1;
    }
    const auto frames = TrackFrames(TOC, 0);
    RunInput in;  // the dialog's first settings: VBR 4, stereo, "Normal"
    in.toc = TOC;
    in.selected = {true};
    RipRules rules;
    rules.prepareFolders = [](std::string*) { return true; };
    rules.fileName = [&](int, const std::string& no) { return out + "\\" + no + ".mp3"; };
    forms::SetMsgBoxHook([](const std::string&, unsigned, const std::string&) { return IDOK; });
    forms::Form dialog;
    dialog.name = "frmMP3";
    dialog.Show();

    double best_run = 1e9, best_bare = 1e9, best_flushed = 1e9;
    for (int round = 0; round < 2; ++round) {
        // A rip never replaces a file: the last round's would send this one to "01 (2).mp3".
        DeleteFileA((out + "\\01.mp3").c_str());
        auto start = Clock::now();
        const RunEnd end = RunRip(dialog, in, rules, {});
        const double run = Seconds(start);
        if (end != RunEnd::Completed) {
            std::printf("the run did not complete\n");
            return 1;
        }
        const BE_CONFIG record = MakeEncoderConfig(in.choices);
        const double bare = BareLoop(images + "\\long.bin", out + "\\bare.mp3", record, false);
        const double flushed = BareLoop(images + "\\long.bin", out + "\\flushed.mp3", record, true);
        best_run = run < best_run ? run : best_run;
        best_bare = bare < best_bare ? bare : best_bare;
        best_flushed = flushed < best_flushed ? flushed : best_flushed;
    }
    std::printf("%u frames (%.0f s of audio), VBR 4 stereo; best of two each\n", frames->second,
                frames->second / 75.0);
    std::printf("bare loop with the run's flush after every 26 frames: %.2f s (%.2fx of the bare loop)\n",
                best_flushed, best_flushed / best_bare);
    std::printf("whole run: %.2f s (%.2fx of the flushed loop)\nbare beEncodeChunk loop: %.2f s\nratio %.2fx\n",
                best_run, best_run / best_flushed, best_bare, best_run / best_bare);
    CloseCDDrive();
    return 0;
}
