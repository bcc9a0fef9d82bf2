#include "app/cdrip/albumlookup/core/album_fill.h"

#include <algorithm>

#include "libs/disclookup/core/text.h"

namespace corvella::cdrip {

namespace {

constexpr int kTitle = 0, kArtist = 1, kAlbum = 2, kYear = 3, kTrack = 6;

}  // namespace

std::string SearchText(const FileSet& files) {
    const FileRow* row = files.SelectedRow();
    if (!row) return std::string();
    auto cell = [&](size_t subItem) {
        return subItem - 1 < row->cells.size() ? disclookup::Trim(row->cells[subItem - 1]) : std::string();
    };
    return cell(2) + " " + cell(3);
}

std::vector<disclookup::DiscID> ListedResults(const std::vector<disclookup::DiscID>& found) {
    std::vector<disclookup::DiscID> listed;
    for (const auto& d : found)
        if (!d.Album.empty()) listed.push_back(d);
    return listed;
}

std::string MismatchQuestion(size_t tracks, size_t rows) {
    return "The Selected Disc contains " + std::to_string(tracks) + " tracks while the the main window contains " +
           std::to_string(rows) + " tracks.\r\n\r\nAre you sure that you would like to update these files ?";
}

std::string SearchFailedMessage(const std::string& words, const disclookup::QueryFailure& error) {
    return disclookup::FailureMessage("The search for '" + words + "' failed.", error);
}

std::string ReadFailedMessage(const std::string& discId, const disclookup::QueryFailure& error) {
    return disclookup::FailureMessage("The disc " + discId + " could not be read; no tags were changed.", error);
}

bool FillTag(tags::TagObject& tag, const std::string& path, const disclookup::DiscInfo& disc, size_t i) {
    if (i >= disc.Tracks.size() || !tag.ReadTag(path)) return false;
    tag.SetField(kTitle, disclookup::CleanText(disc.Tracks[i].Title));
    tag.SetField(kAlbum, disclookup::CleanText(disc.Title));
    tag.SetField(kArtist, disclookup::CleanText(disc.Artist));
    const std::string year = disclookup::CleanText(disc.Year);
    if (!year.empty()) tag.SetField(kYear, year);
    tag.SetField(kTrack, std::to_string(i + 1));
    return tag.WriteTag(path);
}

batch::BatchOutcome FillRows(batch::BatchView& view, const FileSet& files, const disclookup::DiscInfo& disc,
                             const tags::TagPair& tags, bool version1, bool version2) {
    const size_t count = std::min(files.rows.size(), disc.Tracks.size());
    std::vector<std::string> paths;
    for (size_t i = 0; i < count; ++i) paths.push_back(files.rows[i].path);
    return batch::RunItems(view, "Updating Tag Information...", paths, [&](size_t i) {
        bool ok = true;
        if (version1 && tags.id3v1) ok = FillTag(*tags.id3v1, paths[i], disc, i) && ok;
        if (version2 && tags.id3v2) ok = FillTag(*tags.id3v2, paths[i], disc, i) && ok;
        return ok;
    });
}

}  // namespace corvella::cdrip
