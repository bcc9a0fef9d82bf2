#include "app/cdrip/core/rip_track.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "app/cdrip/core/cd_toc.h"
#include "app/foundation/paths.h"
#include "libs/common/scope/scope_exit.h"

namespace corvella::cdrip {
namespace {

constexpr uint32_t kBlockBytes = kBlockFrames * cdaudio::kFrameBytes;

const char* const kLameErrors[] = {"No Error", "Invalid format", "Invalid format parameters",
                                   "No more handles", "Invalid handle", "Buffer too small"};

TrackOutcome Fail(TrackEnd end, std::string message) { return {end, std::move(message), ""}; }

}  // namespace

std::string LameErrorText(int code) {
    return code >= 0 && code < 6 ? kLameErrors[code] : "";
}

void DownmixFrame(int16_t* pcm) {
    for (uint32_t i = 0; i < kFrameSamples / 2; ++i) pcm[i] = int16_t((pcm[2 * i] + pcm[2 * i + 1]) / 2);
}

std::optional<std::pair<uint32_t, uint32_t>> TrackFrames(const cdaudio::TOC& toc, int row) {
    const int count = TocTrackCount(toc);
    if (row < 0 || row >= count || count > 99) return std::nullopt;
    const cdaudio::TOCTRACK& here = toc.tracks[row];
    const cdaudio::TOCTRACK& next = toc.tracks[row + 1];
    if (here.ADR & cdaudio::kDataTrackBit) return std::nullopt;
    try {
        const int64_t start = TocAddress(here.addr);
        int64_t end = TocAddress(next.addr);
        const int64_t leadOut = TocAddress(toc.tracks[count].addr);
        // Where the gap cannot lie between them, the data track is no second
        // session's (a disc image laid out without one): the track runs to it.
        if (row + 1 < count && (next.ADR & cdaudio::kDataTrackBit) && end - kSessionGap > start) end -= kSessionGap;
        if (end > leadOut) end = leadOut;
        if (start < 0 || start >= end) return std::nullopt;
        return std::make_pair(uint32_t(start), uint32_t(end));
    } catch (const std::overflow_error&) {
        return std::nullopt;
    }
}

TrackOutcome RipAndEncodeTrack(const TrackJob& job, const BE_CONFIG& config, AudioSource& cd,
                               EncoderStream& encoder, TrackFile& file, RipProgress& progress) {
    BE_CONFIG settings = config;
    uint32_t outSize = 0;
    const int init = encoder.Init(&settings, &outSize);
    if (init != 0) return Fail(TrackEnd::Failed, LameErrorText(init));
    const bool vbr = config.bEnableVBR != 0;
    // The stream goes on every way out. A VBR stream is freed by the DLL only
    // in its VBR header call, which a path that cannot be opened turns into a
    // bare release.
    bool streamDone = false;
    const auto releaseStream = OnScopeExit([&] {
        if (streamDone) return;
        encoder.Close();
        if (vbr) encoder.WriteVbrHeader("");
    });
    std::string why;
    if (!file.Create(job.target, &why)) return Fail(TrackEnd::Failed, why);
    // The temporary file is deleted on every way out but the finished one.
    bool kept = false;
    const auto dropFile = OnScopeExit([&] {
        if (!kept) file.Discard();
    });
    // A full disk or a lost folder: the box names the file and the reason.
    const auto writeFailed = [&] {
        const std::string reason = file.WriteError();
        return "Could not write " + job.target + (reason.empty() ? "" : ": " + reason);
    };

    std::vector<uint8_t> audio(kBlockBytes);
    std::vector<uint8_t> out(outSize > 0 ? outSize : 1);
    std::vector<int16_t> pcm(kFrameSamples);
    const bool mono = config.nMode == 3;
    const uint32_t total = job.end > job.start ? job.end - job.start : 0;
    uint32_t remaining = total, frame = job.start;
    while (remaining > 0) {
        const uint32_t block = remaining < kBlockFrames ? remaining : kBlockFrames;
        // A read that delivers fewer frames than asked is a failed read:
        // what lies in the buffer then is the block before.
        bool read = false;
        for (int tries = 0; tries < kReadTries && !read; ++tries) {
            uint32_t bytes = 0;
            read = cd.Read(frame, block, audio.data(), &bytes) && bytes == block * cdaudio::kFrameBytes;
        }
        if (!read) return Fail(TrackEnd::ReadFailed, cd.ErrorText());
        for (uint32_t j = 0; j < block; ++j) {
            std::copy_n(audio.data() + j * cdaudio::kFrameBytes, cdaudio::kFrameBytes,
                        reinterpret_cast<uint8_t*>(pcm.data()));
            if (mono) DownmixFrame(pcm.data());
            uint32_t produced = 0;
            const int code = encoder.Encode(mono ? kFrameSamples / 2 : kFrameSamples, pcm.data(), out.data(), &produced);
            if (code != 0) return Fail(TrackEnd::Failed, LameErrorText(code));
            if (produced > 0 && !file.Write(out.data(), produced)) return Fail(TrackEnd::Failed, writeFailed());
        }
        if (!file.Flush()) return Fail(TrackEnd::Failed, writeFailed());
        frame += block;
        remaining -= block;
        if (!progress.Visible()) return Fail(TrackEnd::Cancelled, "");
        progress.Update(GetFileTitle(job.target, true), double(total - remaining), double(total), job.status);
        progress.DoEvents();
        if (!progress.Visible()) return Fail(TrackEnd::Cancelled, "");
    }
    uint32_t produced = 0;
    const int code = encoder.Deinit(out.data(), &produced);
    if (code != 0) return Fail(TrackEnd::Failed, LameErrorText(code));
    if (produced > 0 && !file.Write(out.data(), produced)) return Fail(TrackEnd::Failed, writeFailed());
    if (!file.Flush() || !file.Close()) return Fail(TrackEnd::Failed, writeFailed());
    // The finished stream: closed, and its VBR header written into the file.
    streamDone = true;
    encoder.Close();
    if (vbr && encoder.WriteVbrHeader(file.TempPath()) != 0)
        return Fail(TrackEnd::Failed, "Could not write the VBR header of " + job.target);
    std::string placed;
    if (!file.Place(&placed, &why)) return Fail(TrackEnd::Failed, why);
    kept = true;
    return {TrackEnd::Written, "", placed};
}

}  // namespace corvella::cdrip
