#include "app/foundation/folder_search.h"

#include "app/foundation/text_helpers.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace foundation {
namespace {

std::string NormaliseFolder(const std::string& path) {
    std::string p = TrimBlanks(path);
    if (p.empty() || p.back() != '\\') p += '\\';
    return p;
}

}  // namespace

std::string MatchExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return std::string();
    return LowerAscii(TrimBlanks(name.substr(dot + 1)));
}

std::vector<std::string> SplitBars(const std::string& text) {
    // No text is no pattern at all, where a split would give one empty one.
    if (text.empty()) return {};
    return SplitText(text, '|');
}

std::string UnreachableNamesMessage(const std::vector<std::string>& paths) {
    if (paths.empty()) return std::string();
    return FitMessage({{paths.size() == 1
                            ? "This name holds characters that this system cannot open, so it is left out:"
                            : "These names hold characters that this system cannot open, so they are left out:",
                        paths}});
}

CFileSystem::CFileSystem(DirectoryLister& lister) : lister_(lister) {}

void CFileSystem::SetFileExtenstions(const std::string& patterns) {
    pattern_text_ = patterns;
    patterns_ = SplitBars(patterns);
}

void CFileSystem::SetSearchPaths(const std::string& paths) {
    path_text_ = paths;
    paths_ = SplitBars(paths);
}

bool CFileSystem::FirstVisit(const std::string& path, const std::optional<FolderId>& id) {
    if (id) return seen_ids_.insert(*id).second;
    return seen_paths_.insert(LowerAscii(path)).second;
}

bool CFileSystem::Matches(const std::string& file_name) const {
    const std::string ext = MatchExtension(file_name);
    for (const std::string& pattern : patterns_) {
        const std::string want = MatchExtension(pattern);
        if (want == "*" || want == ext) return true;
    }
    return false;
}

void CFileSystem::ScanFolder(const std::string& folder, std::deque<std::string>& queue) {
    bool cancel = false;
    if (events_) events_->SearchingDir(folder, cancel);

    std::vector<DirEntry> entries;
    if (!lister_.List(folder, entries)) return;

    bool skip = false;  // one flag for the whole folder, as handlers expect
    for (const DirEntry& entry : entries) {
        if (events_) events_->YieldToMessages();
        if (entry.is_directory ? !recursive_ || entry.name == "." || entry.name == ".." || entry.name.empty()
                               : !Matches(entry.name))
            continue;
        const std::string& name = entry.name_opens ? entry.name : entry.short_name;
        if (name.empty()) {
            unreachable_.push_back(folder + entry.name);
            continue;
        }
        if (entry.is_directory) {
            const std::string child = folder + name + "\\";
            const std::optional<FolderId> id = entry.folder_id ? entry.folder_id : lister_.Identify(child);
            if (FirstVisit(child, id)) queue.push_back(child);
            continue;
        }
        const std::string file = folder + name;
        cancel = false;
        if (events_) events_->FoundFile(file, skip, cancel);
        if (!skip) results_.push_back(file);
    }
}

void CFileSystem::Search(std::vector<std::string>& files) {
    results_.clear();
    unreachable_.clear();
    seen_ids_.clear();
    seen_paths_.clear();

    std::deque<std::string> queue;
    for (std::string& path : paths_) {
        path = NormaliseFolder(path);
        if (!lister_.Exists(path)) continue;
        if (FirstVisit(path, lister_.Identify(path))) queue.push_back(path);
    }

    // First the search paths themselves, then (recursive) their sub-folders
    // level by level as the scans appended them.
    for (size_t roots = queue.size(); roots > 0 && !queue.empty(); --roots) {
        const std::string folder = queue.front();
        queue.pop_front();
        ScanFolder(folder, queue);
    }
    while (recursive_ && !queue.empty()) {
        const std::string folder = queue.front();
        queue.pop_front();
        ScanFolder(folder, queue);
        if (events_) events_->YieldToMessages();
    }

    files = results_;
}

}  // namespace foundation
}  // namespace corvella
