#include "app/foundation/playback_commands.h"

#include <limits>
#include <utility>

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace foundation {
namespace {

std::string Cmd(const char* verb, const char* rest = "") {
    return std::string(verb) + " " + kMciAlias + rest;
}

}  // namespace

std::string ScratchFilePath(const std::string& program_folder) {
    if (!program_folder.empty() && program_folder.back() == '\\') return program_folder + "temp.mp3";
    return program_folder + "\\temp.mp3";
}

std::string OpenCommand(const std::string& path) {
    const std::string target = path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
    return "open " + target + " type MPEGVideo Alias " + kMciAlias;
}

int64_t ReplyMillisecondsToSeconds(const std::string& reply) {
    size_t i = reply.find_first_not_of(' ');
    if (i == std::string::npos) return 0;
    int64_t ms = 0;
    bool any = false;
    for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
        if (ms > std::numeric_limits<int64_t>::max() / 20) break;  // far beyond any real length
        ms = ms * 10 + (reply[i] - '0');
        any = true;
    }
    if (!any) return 0;
    return WholeSeconds(static_cast<uint64_t>(ms), 1000);
}

clsMedia::clsMedia(MciPort& mci, PlaybackFiles& files, std::string scratch_path)
    : mci_(mci), files_(files), scratch_(std::move(scratch_path)) {}

PlayOutcome clsMedia::MP3Play(const std::string& file_name) {
    MP3Stop();
    // A missing file or a failed copy must not fall through to playing
    // whatever an earlier play left in the scratch file.
    if (!files_.Exists(file_name)) return PlayOutcome::Missing;
    if (!files_.CopyOver(file_name, scratch_)) {
        files_.ShowError(std::string(kScratchCopyFailedText) + "\r\n" + file_name);
        return PlayOutcome::CopyFailed;
    }
    files_.SetNormalAttributes(scratch_);
    std::string path = files_.ShortPath(scratch_);
    if (path.empty()) path = scratch_;  // no 8.3 name on this volume: quoted long path
    const uint32_t err = mci_.Send(OpenCommand(path), nullptr);
    if (err != 0) {
        files_.ShowError(mci_.ErrorText(err));
        return PlayOutcome::OpenFailed;
    }
    if (mci_.Send(Cmd("play"), nullptr) != 0) return PlayOutcome::PlayFailed;
    return PlayOutcome::Playing;
}

void clsMedia::MP3Pause() { mci_.Send(Cmd("pause"), nullptr); }

void clsMedia::MP3Stop() {
    mci_.Send(Cmd("stop"), nullptr);
    mci_.Send(Cmd("close"), nullptr);
}

bool clsMedia::IsPlaying() {
    std::string reply;
    mci_.Send(Cmd("status", " mode"), &reply);
    return reply.compare(0, 7, "playing") == 0;
}

int64_t clsMedia::StatusSeconds(const char* item) {
    mci_.Send(Cmd("set", " time format milliseconds"), nullptr);
    std::string reply;
    mci_.Send(Cmd("status", item), &reply);
    return ReplyMillisecondsToSeconds(reply);
}

int16_t clsMedia::PosInSec() {
    const int64_t s = StatusSeconds(" position");
    return static_cast<int16_t>(s > std::numeric_limits<int16_t>::max() ? std::numeric_limits<int16_t>::max() : s);
}

std::string clsMedia::Position() { return FormatMinutesSeconds(StatusSeconds(" position")); }

int32_t clsMedia::LenInSec() {
    const int64_t s = StatusSeconds(" length");
    return static_cast<int32_t>(s > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : s);
}

std::string clsMedia::FileLength() { return FormatMinutesSeconds(StatusSeconds(" length")); }

void clsMedia::MP3Seek(int32_t position_ms) {
    mci_.Send(Cmd("set", " time format milliseconds"), nullptr);
    const std::string pos = std::to_string(position_ms);
    if (IsPlaying())
        mci_.Send(Cmd("play", (" from " + pos).c_str()), nullptr);
    else
        mci_.Send(Cmd("seek", (" to " + pos).c_str()), nullptr);
}

}  // namespace foundation
}  // namespace corvella
