// What a tool works on and what it gives back. The main window builds the
// FileSet from its list when it opens a tool (and for its own commands on
// the list); a tool answers with one ToolResult that the main window
// applies to its list. Tools never reach into the main window.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace corvella {

struct FileRow {
    std::string path;  // the row key: the file's full path
    bool ticked = false;
    // The row's sub-items 1 to 11 as the list shows them (the fields of the
    // shown version; the ID3v1 view leaves 8 to 11 empty).
    std::vector<std::string> cells;
};

struct FileSet {
    std::string folder;     // the folder listed (the folder tree's path)
    int tagVersion = 0;     // the shown version: 0 ID3v1, 1 ID3v2
    std::vector<FileRow> rows;  // in list order
    int selected = -1;      // 0-based row; -1 when none is selected

    const FileRow* SelectedRow() const {
        return selected >= 0 && selected < static_cast<int>(rows.size()) ? &rows[selected] : nullptr;
    }
};

struct ToolResult {
    // Files now under another name: old full path, new full path. Their rows
    // get the new key and sub-item 12.
    std::vector<std::pair<std::string, std::string>> renamed;
    bool tagsRewritten = false;  // every row is read again in the shown version
    bool listAgain = false;      // the folder is listed again (files moved away)
};

}  // namespace corvella
