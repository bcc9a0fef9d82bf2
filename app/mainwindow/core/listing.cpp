#include "app/mainwindow/core/listing.h"

#include "libs/tags/ID3v1/core/genres.h"

namespace corvella::mainwindow {

std::string ShownFieldText(int index, const std::string& value) {
    return index == tags::kGenreField ? GenreText(value) : value;
}

bool ListingTrigger::Begin() {
    if (running_ || closePending_) return false;
    running_ = true;
    // Disarmed before the work: a choice made while it runs arms again.
    armed_ = false;
    return true;
}

bool ListingTrigger::End() {
    running_ = false;
    return armed_ && !closePending_;
}

bool ListingTrigger::RequestClose() {
    if (!running_) return true;
    closePending_ = true;
    return false;
}

bool ListingTrigger::TakeDueClose() {
    if (running_ || !closePending_) return false;
    closePending_ = false;
    return true;
}

const char kSearchingForFiles[] = "Searching for Files...";
const char kNoFilesFound[] = "0 Files Found";
const char kLoadingFiles[] = "Loading and Reading Files...";

std::string FilesFoundText(int32_t count) { return std::to_string(count) + " Files found"; }

std::string ReadingFileText(int32_t number, const std::string& fileTitle) {
    return "Reading File Number: " + std::to_string(number) + "  Filename: \"" + fileTitle + "\"";
}

std::string SearchingFolderText(const std::string& folder) { return "Searching Folder: " + folder; }

std::vector<std::string> SplitTipLines(const std::string& content) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string WrapTipHtml(const std::string& tip) {
    return "<html><head></head><body bgcolor=\"#FFFFFF\" text=\"#494949\">"
           "<font face=\"Tahoma\" size=\"2.5\">" +
           tip + "</font></body></html>";
}

}  // namespace corvella::mainwindow
