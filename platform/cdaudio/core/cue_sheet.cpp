#include "platform/cdaudio/core/cue_sheet.h"

#include <cctype>

namespace corvella::cdaudio {
namespace {

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Splits a line into words; a double-quoted word keeps its blanks.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string w;
        if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            const size_t stop = end == std::string_view::npos ? line.size() : end;
            w.assign(line.substr(i + 1, stop - i - 1));
            i = stop == line.size() ? stop : stop + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') w += line[i++];
        }
        out.push_back(std::move(w));
    }
    return out;
}

std::optional<uint32_t> Number(std::string_view s, uint32_t max) {
    if (s.empty() || s.size() > 9) return std::nullopt;
    uint32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + uint32_t(c - '0');
    }
    if (v > max) return std::nullopt;
    return v;
}

struct Table {
    const char* word;
    int value;
};
const Table kFileTypes[] = {{"BINARY", int(CueFileType::Binary)}, {"WAVE", int(CueFileType::Wave)}};
const Table kModes[] = {{"AUDIO", int(CueTrackMode::Audio)},
                        {"MODE1/2352", int(CueTrackMode::Mode1)},
                        {"MODE2/2352", int(CueTrackMode::Mode2)}};
const Table kFaults[] = {{"READ", CueFault::Read}, {"SHORT", CueFault::Short},
                         {"OPEN", CueFault::Open}, {"TOC", CueFault::Toc}};

template <size_t N>
std::optional<int> Lookup(const Table (&table)[N], std::string_view word) {
    for (const Table& t : table)
        if (SameWord(word, t.word)) return t.value;
    return std::nullopt;
}

}  // namespace

std::optional<uint32_t> ParseMsf(std::string_view text) {
    const size_t a = text.find(':');
    const size_t b = a == std::string_view::npos ? a : text.find(':', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    const auto m = Number(text.substr(0, a), 99999);
    const auto s = Number(text.substr(a + 1, b - a - 1), 59);
    const auto f = Number(text.substr(b + 1), 74);
    if (!m || !s || !f) return std::nullopt;
    return (*m * 60 + *s) * 75 + *f;
}

std::optional<CueSheet> ParseCueSheet(std::string_view text, std::string* why) {
    CueSheet sheet;
    int lineNo = 0;
    auto fail = [&](const std::string& what) -> std::optional<CueSheet> {
        if (why) *why = "line " + std::to_string(lineNo) + ": " + what;
        return std::nullopt;
    };
    // A UTF-8 byte order mark some editors put first.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        const std::string& cmd = w[0];
        if (SameWord(cmd, "REM")) {
            if (w.size() < 3 || !SameWord(w[1], "FAULT")) continue;
            const auto kind = Lookup(kFaults, w[2]);
            if (!kind) return fail("unknown fault " + w[2]);
            CueFault f{CueFault::Kind(*kind)};
            if (f.kind == CueFault::Read || f.kind == CueFault::Short) {
                const auto frame = w.size() > 3 ? Number(w[3], 0xFFFFFF) : std::nullopt;
                if (!frame) return fail("fault without a frame");
                f.frame = *frame;
                if (f.kind == CueFault::Read) {
                    const auto times = w.size() > 4 ? Number(w[4], 1000000) : std::nullopt;
                    if (!times) return fail("read fault without a count");
                    f.times = int(*times);
                }
            }
            sheet.faults.push_back(f);
        } else if (SameWord(cmd, "FILE")) {
            if (w.size() < 3) return fail("FILE needs a name and a type");
            const auto type = Lookup(kFileTypes, w[2]);
            if (!type) return fail("file type " + w[2] + " not read");
            if (w[1].empty()) return fail("empty file name");
            sheet.files.push_back({w[1], CueFileType(*type)});
        } else if (SameWord(cmd, "TRACK")) {
            if (sheet.files.empty()) return fail("TRACK before FILE");
            if (w.size() < 3) return fail("TRACK needs a number and a mode");
            const auto number = Number(w[1], 99);
            const auto mode = Lookup(kModes, w[2]);
            if (!number || *number == 0) return fail("bad track number");
            if (!mode) return fail("track mode " + w[2] + " not read");
            const int expect = sheet.tracks.empty() ? int(*number) : sheet.tracks.back().number + 1;
            if (int(*number) != expect) return fail("track numbers must follow one another");
            if (!sheet.tracks.empty() && sheet.tracks.back().index1 < 0)
                return fail("track without INDEX 01");
            CueTrack t;
            t.number = int(*number);
            t.file = int(sheet.files.size()) - 1;
            t.mode = CueTrackMode(*mode);
            sheet.tracks.push_back(t);
        } else if (SameWord(cmd, "INDEX") || SameWord(cmd, "PREGAP")) {
            if (sheet.tracks.empty()) return fail(cmd + " before TRACK");
            CueTrack& t = sheet.tracks.back();
            const bool index = SameWord(cmd, "INDEX");
            const size_t need = index ? 3 : 2;
            if (w.size() < need) return fail(cmd + " needs a time");
            const auto when = ParseMsf(w[need - 1]);
            if (!when) return fail("bad time " + w[need - 1]);
            if (!index) {
                if (t.index0 >= 0 || t.index1 >= 0) return fail("PREGAP after INDEX");
                t.pregap = *when;
                continue;
            }
            const auto n = Number(w[1], 99);
            if (!n) return fail("bad index number");
            const int current = int(sheet.files.size()) - 1;
            if (t.file != current && *n <= 1) {
                // A file per track, with the gap at the end of the file before:
                // the track starts in the file of its INDEX 01, and an INDEX 00
                // left in the file before only ends the track before there.
                if (t.index1 >= 0) return fail("index in another file than its track");
                t.file = current;
                t.index0 = -1;
            }
            if (*n == 0) {
                if (t.index1 >= 0) return fail("INDEX 00 after INDEX 01");
                t.index0 = *when;
            } else if (*n == 1) {
                if (t.index1 >= 0) return fail("second INDEX 01");
                if (t.index0 >= 0 && *when < t.index0) return fail("INDEX 01 before INDEX 00");
                t.index1 = *when;
            }  // later indexes mark places inside the track: nothing to lay out
        }
        // Every other command describes the disc, not its layout.
    }
    if (sheet.tracks.empty()) {
        lineNo = 0;
        return fail("no tracks");
    }
    if (sheet.tracks.back().index1 < 0) return fail("track without INDEX 01");
    return sheet;
}

}  // namespace corvella::cdaudio
