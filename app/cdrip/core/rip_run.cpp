#include "app/cdrip/core/rip_run.h"

#include <utility>

#include "app/cdrip/core/cd_toc.h"
#include "app/foundation/paths.h"
#include "app/foundation/text_helpers.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::cdrip {
namespace {

const char kCritical[] = "Critical error...";

std::string Entry(const std::vector<std::string>& list, size_t k) { return k < list.size() ? list[k] : ""; }

// The tags of track n from the disc data; the case option changes the texts
// written, not the disc data (the next tracks are named from it unchanged).
bool WriteTags(const RunInput& in, RunServices& s, const std::string& file, int n, const std::string& trackNo,
               std::string* why) {
    const DiscData& d = in.disc;
    std::string artist = d.Mixed ? Entry(d.Artists, size_t(n - 1)) : d.Artist;
    std::string title = Entry(d.Titles, size_t(n - 1));
    std::string album = d.Album;
    if (in.tagCase) {
        artist = ChangeCase(artist, in.tagCaseMode);
        title = ChangeCase(title, in.tagCaseMode);
        album = ChangeCase(album, in.tagCaseMode);
    }
    const struct {
        int field;
        const std::string& value;
    } fields[] = {{1, artist}, {0, title}, {2, album}, {6, trackNo}, {5, d.Genre}, {3, d.Year}};
    for (tags::TagObject* tag : {s.tags.id3v1, s.tags.id3v2}) {
        tag->ReadTag(file);
        for (const auto& f : fields) tag->SetField(f.field, f.value);
        if (!tag->WriteTag(file)) {
            *why = "The tags of " + file + " could not be written.";
            return false;
        }
    }
    return true;
}

// What the run made and did not, for its closing message: the user looks
// for the new files under their names, and learns why a track gave none.
struct Report {
    std::vector<std::string> made;     // full paths, a free name with the name it missed
    std::vector<std::string> skipped;  // "Track 03: the reason"

    void Made(const std::string& target, const std::string& written) {
        made.push_back(written == target ? written : written + " (" + GetFileTitle(target, true) + " was taken)");
    }
    void Skipped(const std::string& trackNo, const std::string& why) {
        skipped.push_back("Track " + trackNo + ": " + why);
    }
    bool Empty() const { return made.empty() && skipped.empty(); }

    // As many of the files and tracks as a message box holds.
    std::string Text(const std::string& head) const {
        std::vector<MessagePart> parts = {{head, {}}};
        if (!made.empty()) parts.push_back({"\n\nFiles made:", made});
        if (!skipped.empty()) parts.push_back({"\n\nNot encoded:", skipped});
        return FitMessage(parts, "\n");
    }
};

// Why row `row` has no audio to give: a data track, or no track of the disc.
std::string NoAudioReason(const cdaudio::TOC& toc, int row) {
    const bool data = row < TocTrackCount(toc) && row < 99 && (toc.tracks[row].ADR & cdaudio::kDataTrackBit);
    return data ? "a data track cannot be encoded" : "the disc holds no audio for it";
}

}  // namespace

RunEnd EncodeSelectedTracks(const RunInput& in, RunServices& s) {
    const BE_CONFIG config = MakeEncoderConfig(in.choices);
    Report report;
    // Every error ends the run the same way: one box, the window unloaded.
    auto fail = [&s, &report](const std::string& why) {
        s.message(report.Text(why), MessageKind::Critical, kCritical);
        s.unloadProgress();
        return RunEnd::Failed;
    };
    // A Cancel says what was made before it; one before anything, nothing.
    auto cancelled = [&s, &report] {
        if (!report.Empty())
            s.message(report.Text("The encoding was cancelled."), MessageKind::Information, "Encoding Cancelled");
        return RunEnd::Cancelled;
    };
    std::string why;
    if (!s.loadEncoder(&why)) return fail(why);
    if (!s.prepareFolders(&why)) return fail(why);
    int selectedCount = 0;
    for (bool on : in.selected) selectedCount += on;
    int started = 0;
    const int n = int(in.selected.size());
    for (int i = 1; i <= n; ++i) {
        if (!in.selected[size_t(i - 1)]) continue;
        ++started;
        if (!s.progress->Visible()) return cancelled();
        const std::string trackNo = TwoDigits(i);
        const std::string file = s.fileName(i, trackNo);
        // Rows beyond the disc and data tracks have no audio to give.
        const auto frames = TrackFrames(in.toc, i - 1);
        if (!frames) {
            report.Skipped(trackNo, NoAudioReason(in.toc, i - 1));
            continue;
        }
        const TrackJob job{file, frames->first, frames->second,
                           std::to_string(started) + " of " + std::to_string(selectedCount)};
        const TrackOutcome o = s.ripTrack(job, config);
        switch (o.end) {
        case TrackEnd::Cancelled:
            return cancelled();
        case TrackEnd::Failed:
            return fail(o.message);
        case TrackEnd::ReadFailed:
            s.message("Track " + trackNo + ": " + o.message, MessageKind::Plain, s.appTitle);
            report.Skipped(trackNo, "it could not be read");
            continue;  // no file, no tags; the next track
        case TrackEnd::Written:
            break;
        }
        // The tags go to the new file, never to the one whose name it missed,
        // and to a finished file even when the Cancel came meanwhile.
        report.Made(file, o.written);
        if (!in.disc.Album.empty() && !WriteTags(in, s, o.written, i, trackNo, &why)) return fail(why);
        if (!s.progress->Visible()) return cancelled();
    }
    // Nothing made: no claim of a finished encoding.
    const bool none = report.made.empty();
    if (none) s.message(report.Text("No file was made."), MessageKind::Exclamation, "Nothing Encoded");
    else
        s.message(report.Text(s.appTitle + " has finished the encoding process"), MessageKind::Information,
                  "Encoding Complete");
    s.hideProgress();
    return none ? RunEnd::NothingMade : RunEnd::Completed;
}

}  // namespace corvella::cdrip
