// The album lookup's fill over files held in memory: which rows get which
// track, what stays as read, what a failing file and a Cancel do.
#include "app/cdrip/albumlookup/core/album_fill.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

namespace corvella::cdrip {
namespace {

using Fields = std::array<std::string, 12>;

// Tags of files in memory: a read loads a file's fields, a write stores them.
struct MemoryTag : tags::TagObject {
    std::map<std::string, Fields> files;
    std::set<std::string> readOnly;
    Fields now{};
    std::optional<std::string> FieldText(int i) override { return now[size_t(i)]; }
    bool ReadTag(const std::string& p) override {
        if (!files.count(p)) return false;
        now = files[p];
        return true;
    }
    bool SetField(int i, const std::string& v) override {
        now[size_t(i)] = v;
        return true;
    }
    bool WriteTag(const std::string& p) override {
        if (readOnly.count(p) || !files.count(p)) return false;
        files[p] = now;
        return true;
    }
    bool RemoveTag(const std::string&) override { return false; }
};

struct CancelAfter : batch::BatchView {
    int left;
    explicit CancelAfter(int n) : left(n) {}
    void Show(const std::string&, const std::string&, int, const std::string&) override {}
    bool Cancelled() override { return --left == 0; }
};

// Values as an entry may hold them: blanks at the ends, control bytes, a
// NUL with more behind it; the tags get them cut, blanked and trimmed.
disclookup::DiscInfo Disc(size_t tracks, std::string year = "1980") {
    using namespace std::string_literals;
    disclookup::DiscInfo d{" AC/DC \0 junk"s, " Back in\x01" "Black ", "Rock", year + "\t", {}};
    for (size_t i = 0; i < tracks; ++i) d.Tracks.push_back({" Song " + std::to_string(i + 1) + "\r\x1b", ""});
    return d;
}

FileSet Rows(size_t n) {
    FileSet files;
    for (size_t i = 0; i < n; ++i) files.rows.push_back({"C:\\m\\" + std::to_string(i + 1) + ".mp3", false, {}});
    return files;
}

Fields Old() { return {"old", "old artist", "old album", "1999", "note", "Blues", "9", "c", "o", "(c)", "w", "e"}; }

TEST(FillRows, RowIGetsTrackIAndKeepsTheRest) {
    const struct {
        const char* what;
        size_t rows, tracks;
        std::string year;
        bool v1, v2;
        int cancelAfter;  // 0: never
        std::set<std::string> readOnly, missing;
        size_t written;   // rows written (in each chosen version)
        std::vector<std::string> failed;
    } cases[] = {
        {"same count, both versions", 3, 3, "1980", true, true, 0, {}, {}, 3, {}},
        {"more rows than tracks", 12, 10, "1980", true, false, 0, {}, {}, 10, {}},
        {"more tracks than rows", 10, 12, "", false, true, 0, {}, {}, 10, {}},
        {"Cancel stops after the current row", 5, 5, "1980", true, true, 2, {}, {}, 2, {}},
        {"failing files are named, the others written", 3, 3, "1980", true, true, 0, {"C:\\m\\2.mp3"},
         {"C:\\m\\3.mp3"}, 3, {"C:\\m\\2.mp3", "C:\\m\\3.mp3"}},
        {"neither version: nothing written", 2, 2, "1980", false, false, 0, {}, {}, 0, {}},
    };
    for (const auto& c : cases) {
        MemoryTag v1, v2;
        const FileSet files = Rows(c.rows);
        for (const auto& r : files.rows)
            if (!c.missing.count(r.path)) v1.files[r.path] = v2.files[r.path] = Old();
        v1.readOnly = v2.readOnly = c.readOnly;
        CancelAfter view(c.cancelAfter);
        const auto out = FillRows(view, files, Disc(c.tracks, c.year), {&v1, &v2}, c.v1, c.v2);
        EXPECT_EQ(out.cancelled, c.cancelAfter != 0) << c.what;
        EXPECT_EQ(out.failed, c.v1 || c.v2 ? c.failed : std::vector<std::string>{}) << c.what;
        for (MemoryTag* tag : {&v1, &v2}) {
            const bool chosen = tag == &v1 ? c.v1 : c.v2;
            for (size_t i = 0; i < c.rows; ++i) {
                const std::string& p = files.rows[i].path;
                if (!tag->files.count(p)) continue;
                const Fields& f = tag->files[p];
                const bool written = chosen && i < c.written && !c.readOnly.count(p);
                if (!written) {
                    EXPECT_EQ(f, Old()) << c.what << " row " << i;
                    continue;
                }
                Fields want = Old();
                want[0] = "Song " + std::to_string(i + 1);
                want[1] = "AC/DC";
                want[2] = "Back in Black";
                if (!c.year.empty()) want[3] = c.year;
                want[6] = std::to_string(i + 1);
                EXPECT_EQ(f, want) << c.what << " row " << i;  // genre and the rest as read
            }
        }
    }
}

TEST(AlbumLookup, SearchTextResultsAndQuestion) {
    FileSet files = Rows(2);
    EXPECT_EQ(SearchText(files), "");  // no selected row
    files.rows[1].cells = {" Hells Bells ", " AC/DC ", " Back in Black ", "1980"};
    files.selected = 1;
    EXPECT_EQ(SearchText(files), "AC/DC Back in Black");
    files.rows[1].cells.resize(1);
    EXPECT_EQ(SearchText(files), " ");

    const std::vector<disclookup::DiscID> found = {
        {"0a0b0c0d", "Back in Black", "AC/DC", "rock"}, {"0a0b0c0e", "", "No separator", "misc"},
        {"0a0b0c0f", "Live", "AC/DC", "rock"}};
    const auto listed = ListedResults(found);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].DiscID, "0a0b0c0f");
    EXPECT_EQ(MismatchQuestion(10, 12),
              "The Selected Disc contains 10 tracks while the the main window contains 12 tracks.\r\n\r\n"
              "Are you sure that you would like to update these files ?");
}

}  // namespace
}  // namespace corvella::cdrip
