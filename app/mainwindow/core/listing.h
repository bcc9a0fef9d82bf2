// The folder listing's rules that need no window: the trigger that a folder
// choice arms and the listing tick consumes, the status texts, and the cells
// of a row for each tag version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/foundation/tags/field_table.h"

namespace corvella::mainwindow {

// The deferred listing. A folder choice arms it; a tick starts a listing
// unless one runs (the listing yields to the message loop, so ticks and
// further choices arrive while it runs). A choice made during a listing
// stays armed, so the next tick lists it; a close asked for during a
// listing waits until the listing has returned.
class ListingTrigger {
public:
    void Arm() { armed_ = true; }
    bool Armed() const { return armed_; }
    bool Running() const { return running_; }

    // A tick: true when a listing starts now (the caller then lists and
    // calls End, also when the listing fails).
    bool Begin();
    // The listing has returned; true when the timer must stay armed for a
    // folder chosen meanwhile.
    bool End();

    // The window is asked to close: true when it may close now; otherwise
    // the close is kept until the running listing ends.
    bool RequestClose();
    bool ClosePending() const { return closePending_; }
    // After End: true once when a kept close is due.
    bool TakeDueClose();

private:
    bool armed_ = false;
    bool running_ = false;
    bool closePending_ = false;
};

// Status bar texts.
extern const char kSearchingForFiles[];  // "Searching for Files..."
extern const char kNoFilesFound[];       // "0 Files Found"
extern const char kLoadingFiles[];       // "Loading and Reading Files..."
std::string FilesFoundText(int32_t count);                          // "12 Files found"
std::string ReadingFileText(int32_t number, const std::string& fileTitle);
std::string SearchingFolderText(const std::string& folder);

// A field's text as the list and the panel show it: a genre stored as a
// number ("(17)" or "17", as other tag writers store it) by its name.
std::string ShownFieldText(int index, const std::string& value);

// The twelve cells (sub-items 1 to 12) of a row. `field(i)` gives field or
// frame i of the tag just read; `read` is what ReadTag returned.
template <class FieldOf>
std::vector<std::string> RowCells(int32_t version, bool read, const std::string& path, FieldOf field) {
    std::vector<std::string> cells(12);
    cells[11] = path;
    if (!read) return cells;
    if (version != 0 && version != 1) return cells;
    for (const tags::FieldInfo& f : tags::Fields()) {
        if (f.column == 0 || (version == 0 && f.v2Only)) continue;
        cells[f.column - 1] = ShownFieldText(f.index, field(version == 0 ? f.v1Slot : f.index));
    }
    return cells;
}

// Tips: the file's lines (CR LF, LF or CR ended; a last line without an end
// still counts; every line is a tip, empty ones too) and the page one tip
// is shown in.
std::vector<std::string> SplitTipLines(const std::string& content);
std::string WrapTipHtml(const std::string& tip);

}  // namespace corvella::mainwindow
