// The records the disc lookup hands to its host: a disc read by id, its
// tracks, and the discs a text search found. Plain structs of ANSI text; the
// COM face copies them into its automation records field by field.
#pragma once

#include <string>
#include <vector>

namespace corvella::disclookup {

struct TrackInfo {
    std::string Title;
    std::string Artist;  // the lookup leaves it empty

    bool operator==(const TrackInfo& o) const { return Title == o.Title && Artist == o.Artist; }
};

// Tracks[0] is track 1. A failed or empty read has no tracks at all, so the
// host's track count is 0.
struct DiscInfo {
    std::string Artist;
    std::string Title;
    std::string Genre;
    std::string Year;
    std::vector<TrackInfo> Tracks;

    bool operator==(const DiscInfo& o) const {
        return Artist == o.Artist && Title == o.Title && Genre == o.Genre && Year == o.Year &&
               Tracks == o.Tracks;
    }
};

// One result link of the web search. The field name keeps the spelling the
// host's list column and the automation record use.
struct DiscID {
    std::string DiscID;  // 8 hex digits
    std::string Album;   // empty when the link text had no separator
    std::string Artist;
    std::string Catagory;  // lower-case letters

    bool operator==(const struct DiscID& o) const {
        return DiscID == o.DiscID && Album == o.Album && Artist == o.Artist && Catagory == o.Catagory;
    }
};

}  // namespace corvella::disclookup
