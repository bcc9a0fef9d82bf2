#include "libs/disclookup/core/xmcd.h"

#include "libs/disclookup/core/text.h"

namespace corvella::disclookup {

namespace {

constexpr size_t kMaxTracks = 99;  // the most a CD can hold

// The track index of "TTITLEn", or -1 when the key is not one.
int TrackIndex(std::string_view key) {
    constexpr std::string_view kPrefix = "TTITLE";
    if (key.substr(0, kPrefix.size()) != kPrefix) return -1;
    const std::string_view digits = key.substr(kPrefix.size());
    if (digits.empty() || digits.size() > 3) return -1;
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n < int(kMaxTracks) ? n : -1;
}

}  // namespace

std::string DecodeXmcdEscapes(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (c == '\\' && (next == 'n' || next == 't' || next == '\\')) {
            out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void XmcdParser::Line(std::string_view line) {
    if (line.empty() || line[0] == '#') return;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    if (key == "DTITLE") {
        dtitle_.append(value);
    } else if (key == "DYEAR") {
        dyear_.append(value);
    } else if (key == "DGENRE") {
        dgenre_.append(value);
    } else if (const int n = TrackIndex(key); n >= 0) {
        if (ttitles_.size() <= size_t(n)) ttitles_.resize(size_t(n) + 1);
        ttitles_[size_t(n)].append(value);
    }
}

DiscInfo XmcdParser::Disc() const {
    DiscInfo disc;
    const std::string title = DecodeXmcdEscapes(dtitle_);
    // An entry without a separator names the artist and the album alike.
    if (!SplitArtistTitle(title, disc.Artist, disc.Title)) disc.Artist = disc.Title = Trim(title);
    // Trimmed before decoding, so an escaped tab or line end stays.
    disc.Year = DecodeXmcdEscapes(Trim(dyear_));
    disc.Genre = DecodeXmcdEscapes(Trim(dgenre_));
    for (const std::string& t : ttitles_) disc.Tracks.push_back({DecodeXmcdEscapes(Trim(t)), std::string()});
    return disc;
}

DiscInfo ParseXmcd(const std::vector<std::string>& lines) {
    XmcdParser parser;
    for (const std::string& line : lines) parser.Line(line);
    return parser.Disc();
}

}  // namespace corvella::disclookup
