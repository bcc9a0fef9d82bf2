// The album lookup's rules: the search text from the selected row, the
// search results worth listing, the mismatch question, and the tag fill
// that gives row i of the list track i of the chosen disc.
#pragma once

#include <string>
#include <vector>

#include "app/foundation/batch.h"
#include "app/foundation/file_set.h"
#include "app/foundation/tags/tag_port.h"
#include "libs/disclookup/core/query_failure.h"
#include "libs/disclookup/core/records.h"

namespace corvella::cdrip {

// Artist and album of the selected row, trimmed, with a blank between; ""
// when no row is selected.
std::string SearchText(const FileSet& files);

// The results the list shows: those whose link named an album, in order.
std::vector<disclookup::DiscID> ListedResults(const std::vector<disclookup::DiscID>& found);

// The question asked when the disc's track count and the list's row count
// differ.
std::string MismatchQuestion(size_t tracks, size_t rows);

// What a failed search and a failed disc read say: what was asked, the
// server (host and port) and the reason.
std::string SearchFailedMessage(const std::string& words, const disclookup::QueryFailure& error);
std::string ReadFailedMessage(const std::string& discId, const disclookup::QueryFailure& error);

// Track i + 1 of `disc` into one tag version of `path`: title, album and
// artist trimmed, the year when the disc has one (else the file's stays),
// the track number; the genre and every other field stay as read. False
// when the file could not be read or written.
bool FillTag(tags::TagObject& tag, const std::string& path, const disclookup::DiscInfo& disc, size_t i);

// The fill of the rows that have a track, under `view`: both versions as
// asked, one row after the other; stops after the current row on a Cancel.
batch::BatchOutcome FillRows(batch::BatchView& view, const FileSet& files, const disclookup::DiscInfo& disc,
                             const tags::TagPair& tags, bool version1, bool version2);

}  // namespace corvella::cdrip
