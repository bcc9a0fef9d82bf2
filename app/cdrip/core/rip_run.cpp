#include "app/cdrip/core/rip_run.h"

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

}  // namespace

RunEnd EncodeSelectedTracks(const RunInput& in, RunServices& s) {
    const BE_CONFIG config = MakeEncoderConfig(in.choices);
    // Tracks written beside a file that had their name, named in the run's
    // one closing box: the user looks for the new files under their names.
    std::string taken;
    // Every error ends the run the same way: one box, the window unloaded.
    auto fail = [&s, &taken](const std::string& why) {
        s.message(why + (taken.empty() ? "" : "\n" + taken), MessageKind::Critical, kCritical);
        s.unloadProgress();
        return RunEnd::Failed;
    };
    std::string why;
    if (!s.loadEncoder(&why)) return fail(why);
    if (!s.prepareFolders(&why)) return fail(why);
    int selectedCount = 0;
    for (bool on : in.selected) selectedCount += on;
    int started = 0;
    std::vector<std::string> missed;  // files not made, for the closing message
    const int n = int(in.selected.size());
    for (int i = 1; i <= n; ++i) {
        if (!in.selected[size_t(i - 1)]) continue;
        ++started;
        if (!s.progress->Visible()) return RunEnd::Cancelled;
        const std::string trackNo = TwoDigits(i);
        const std::string file = s.fileName(i, trackNo);
        // Rows beyond the disc and data tracks have no audio to give.
        const auto frames = TrackFrames(in.toc, i - 1);
        if (!frames) {
            missed.push_back(file);
            continue;
        }
        const TrackJob job{file, frames->first, frames->second,
                           std::to_string(started) + " of " + std::to_string(selectedCount)};
        const TrackOutcome o = s.ripTrack(job, config);
        switch (o.end) {
        case TrackEnd::Cancelled:
            return RunEnd::Cancelled;
        case TrackEnd::Failed:
            return fail(o.message);
        case TrackEnd::ReadFailed:
            s.message("Track " + trackNo + ": " + o.message, MessageKind::Plain, s.appTitle);
            missed.push_back(file);
            continue;  // no file, no tags; the next track
        case TrackEnd::Written:
            break;
        }
        // The tags go to the new file, never to the one whose name it missed.
        const std::string& written = o.written;
        if (written != file)
            taken += "\n" + GetFileTitle(file, true) + " was taken: written as " + GetFileTitle(written, true);
        if (!s.progress->Visible()) return RunEnd::Cancelled;
        if (!in.disc.Album.empty() && !WriteTags(in, s, written, i, trackNo, &why)) return fail(why);
    }
    std::string done = s.appTitle + " has finished the encoding process";
    if (!missed.empty()) done += "\n\nNo file was made for:";
    for (const std::string& f : missed) done += "\n" + f;
    if (!taken.empty()) done += "\n" + taken;
    s.message(done, MessageKind::Information, "Encoding Complete");
    s.hideProgress();
    return RunEnd::Completed;
}

}  // namespace corvella::cdrip
