#include "platform/cdaudio/core/disc_image.h"

#include "libs/common/text/text_primitives.h"
#include "platform/cdaudio/core/scsi.h"

#include <algorithm>
#include <cstring>

namespace corvella::cdaudio {
namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && LowerAscii(s.substr(s.size() - n)) == tail;
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// The last part of a path, trailing separators ignored.
std::string LastPart(std::string path) {
    while (path.size() > 1 && IsSlash(path.back())) path.pop_back();
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool IsAbsolute(const std::string& p) {
    return (!p.empty() && IsSlash(p[0])) || (p.size() > 1 && p[1] == ':');
}

constexpr uint64_t kMaxSheetBytes = 1 << 20;

}  // namespace

std::optional<AudioSpan> ParseWavHeader(const ReadAt& read, uint64_t size) {
    uint8_t head[12];
    if (size < 12 || !read(0, 12, head)) return std::nullopt;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return std::nullopt;
    bool formatOk = false;
    for (uint64_t at = 12; at + 8 <= size;) {
        uint8_t chunk[8];
        if (!read(at, 8, chunk)) return std::nullopt;
        const uint64_t len = Le32(chunk + 4);
        const uint64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t fmt[16];
            if (len < 16 || body + 16 > size || !read(body, 16, fmt)) return std::nullopt;
            formatOk = Le16(fmt) == 1 && Le16(fmt + 2) == 2 && Le32(fmt + 4) == 44100 &&
                       Le16(fmt + 14) == 16;
            if (!formatOk) return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!formatOk) return std::nullopt;
            return AudioSpan{body, std::min(len, size - body)};
        }
        at = body + len + (len & 1);  // chunks are word-aligned
    }
    return std::nullopt;
}

std::optional<DiscLayout> LayOut(const CueSheet& sheet, const std::vector<uint32_t>& fileFrames,
                                 std::string* why) {
    auto fail = [why](const std::string& what) -> std::optional<DiscLayout> {
        if (why) *why = what;
        return std::nullopt;
    };
    if (sheet.tracks.size() > 99 || sheet.tracks.empty()) return fail("a disc holds 1 to 99 tracks");
    if (fileFrames.size() != sheet.files.size()) return fail("file count");
    DiscLayout out;
    uint64_t pos = 0;
    auto emit = [&](int file, uint64_t from, uint64_t frames) {
        if (frames == 0) return;
        out.segments.push_back({uint32_t(pos), uint32_t(frames), file, uint32_t(from)});
        pos += frames;
    };
    size_t next = 0;
    for (size_t f = 0; f < sheet.files.size(); ++f) {
        uint64_t cursor = 0;
        for (; next < sheet.tracks.size() && sheet.tracks[next].file == int(f); ++next) {
            const CueTrack& t = sheet.tracks[next];
            const uint64_t cut = t.index0 >= 0 ? uint64_t(t.index0) : uint64_t(t.index1);
            if (cut < cursor) return fail("track " + std::to_string(t.number) + " starts before the one before it");
            if (uint64_t(t.index1) > fileFrames[f])
                return fail("track " + std::to_string(t.number) + " starts past the end of its file");
            emit(int(f), cursor, cut - cursor);  // the end of the track before
            emit(-1, 0, t.pregap);
            if (t.index0 >= 0) emit(int(f), uint64_t(t.index0), uint64_t(t.index1 - t.index0));
            out.tracks.push_back({uint8_t(t.number), t.mode != CueTrackMode::Audio, uint32_t(pos)});
            cursor = uint64_t(t.index1);
        }
        emit(int(f), cursor, fileFrames[f] - cursor);
        // Frame addresses must stay within what 0:M:S:F can say.
        if (pos + 150 > 99u * 4500 + 59 * 75 + 74) return fail("the disc is longer than 99 minutes");
    }
    out.leadOut = uint32_t(pos);
    return out;
}

void FillToc(const DiscLayout& layout, bool msf, TOC* toc) {
    std::memset(toc, 0, sizeof *toc);
    const size_t entries = layout.tracks.size() + 1;
    const uint16_t len = uint16_t(2 + 8 * entries);
    toc->tocLen[0] = uint8_t(len >> 8);
    toc->tocLen[1] = uint8_t(len);
    toc->firstTrack = layout.tracks.front().number;
    toc->lastTrack = layout.tracks.back().number;
    auto put = [msf](TOCTRACK& e, uint8_t number, bool data, uint32_t frame) {
        e.ADR = uint8_t(0x10 | (data ? kDataTrackBit : 0));
        e.trackNumber = number;
        if (msf) {
            FrameToMsf(frame, e.addr);
        } else {
            e.addr[0] = uint8_t(frame >> 24);
            e.addr[1] = uint8_t(frame >> 16);
            e.addr[2] = uint8_t(frame >> 8);
            e.addr[3] = uint8_t(frame);
        }
    };
    size_t k = 0;
    for (const LaidTrack& t : layout.tracks) put(toc->tracks[k++], t.number, t.data, t.start);
    put(toc->tracks[k], kLeadOutTrack, false, layout.leadOut);
}

std::unique_ptr<DiscImage> DiscImage::Open(const std::string& path, ImageFiles& files,
                                           std::string* why) {
    auto fail = [why](const std::string& what) -> std::unique_ptr<DiscImage> {
        if (why) *why = what;
        return nullptr;
    };
    std::unique_ptr<DiscImage> image(new DiscImage(files));
    image->name_ = LastPart(path);
    CueSheet sheet;
    if (EndsWith(path, ".cue")) {
        const auto size = files.Size(path);
        if (!size) return fail("cannot open " + path);
        if (*size > kMaxSheetBytes) return fail("cue sheet too long");
        std::string text(size_t(*size), '\0');
        if (!files.Read(path, 0, text.size(), reinterpret_cast<uint8_t*>(&text[0])))
            return fail("cannot read " + path);
        std::string reason;
        auto parsed = ParseCueSheet(text, &reason);
        if (!parsed) return fail(reason);
        sheet = std::move(*parsed);
        const std::string folder = FolderOf(path);
        for (CueFile& f : sheet.files)
            if (!IsAbsolute(f.name)) f.name = folder + f.name;
    } else {
        auto names = files.List(path);
        if (!names) return fail("no such image " + path);
        std::vector<std::string> wavs;
        for (const std::string& n : *names)
            if (EndsWith(n, ".wav")) wavs.push_back(n);
        std::sort(wavs.begin(), wavs.end(), [](const std::string& a, const std::string& b) {
            return LowerAscii(LastPart(a)) < LowerAscii(LastPart(b));
        });
        if (wavs.empty()) return fail("no WAV files in " + path);
        for (size_t i = 0; i < wavs.size(); ++i) {
            sheet.files.push_back({wavs[i], CueFileType::Wave});
            CueTrack t;
            t.number = int(i + 1);
            t.file = int(i);
            t.index1 = 0;
            sheet.tracks.push_back(t);
        }
    }
    std::vector<uint32_t> frames;
    for (const CueFile& f : sheet.files) {
        const auto size = files.Size(f.name);
        if (!size) return fail("cannot open " + f.name);
        AudioSpan span{0, *size};
        if (f.type == CueFileType::Wave) {
            const std::string name = f.name;
            auto read = [&files, name](uint64_t at, size_t n, uint8_t* out) {
                return files.Read(name, at, n, out);
            };
            const auto wav = ParseWavHeader(read, *size);
            if (!wav) return fail(f.name + " is no 44.1 kHz 16-bit stereo WAV file");
            span = *wav;
        }
        if (span.bytes > uint64_t(100) * 4500 * kFrameBytes) return fail(f.name + " is too long");
        image->sources_.push_back({f.name, span});
        frames.push_back(span.Frames());
    }
    std::string reason;
    auto layout = LayOut(sheet, frames, &reason);
    if (!layout) return fail(reason);
    image->layout_ = std::move(*layout);
    image->faults_ = sheet.faults;
    for (CueFault& f : image->faults_)
        if (f.kind == CueFault::Short) f.times = 1;
    return image;
}

bool DiscImage::FailsOpen() const {
    return std::any_of(faults_.begin(), faults_.end(), [](const CueFault& f) { return f.kind == CueFault::Open; });
}

bool DiscImage::FailsToc() const {
    return std::any_of(faults_.begin(), faults_.end(), [](const CueFault& f) { return f.kind == CueFault::Toc; });
}

int DiscImage::Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got) {
    *got = 0;
    const uint64_t end = uint64_t(start) + count;
    if (end > layout_.leadOut) return kErrAspi;  // past the lead-out, as a drive answers
    const auto& tracks = layout_.tracks;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const uint64_t from = tracks[i].start;
        const uint64_t to = i + 1 < tracks.size() ? tracks[i + 1].start : layout_.leadOut;
        if (tracks[i].data && start < to && end > from) return kErrAspi;  // no audio there
    }
    for (CueFault& f : faults_)
        if (f.kind == CueFault::Read && f.times > 0 && f.frame >= start && f.frame < end) {
            --f.times;
            return kErrAspi;
        }
    uint32_t deliver = count;
    for (CueFault& f : faults_)
        if (f.kind == CueFault::Short && f.times > 0 && f.frame >= start && f.frame < end) {
            f.times = 0;
            deliver = std::min(deliver, f.frame - start);
        }
    for (uint32_t done = 0; done < deliver;) {
        const uint32_t frame = start + done;
        const auto seg = std::upper_bound(layout_.segments.begin(), layout_.segments.end(), frame,
                                          [](uint32_t v, const Segment& s) { return v < s.start; }) - 1;
        const uint32_t within = frame - seg->start;
        const uint32_t n = std::min(deliver - done, seg->frames - within);
        uint8_t* dst = out + uint64_t(done) * kFrameBytes;
        const uint64_t want = uint64_t(n) * kFrameBytes;
        std::memset(dst, 0, size_t(want));
        if (seg->file >= 0) {
            const Source& src = sources_[size_t(seg->file)];
            const uint64_t skip = uint64_t(seg->fileFrame + within) * kFrameBytes;
            const uint64_t have = src.span.bytes > skip ? std::min(want, src.span.bytes - skip) : 0;
            if (have && !files_.Read(src.path, src.span.offset + skip, size_t(have), dst)) return kErrAspi;
        }
        done += n;
    }
    *got = deliver;
    return kOk;
}

}  // namespace corvella::cdaudio
