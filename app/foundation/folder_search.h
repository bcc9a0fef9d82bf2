// The program's file finder: walks one or more folders breadth-first and
// collects the full paths of the files whose extension matches one of a
// list of patterns ("*.mp3", "*.mp3|*.wav", "*.*").
//
// Portable: folders are read through DirectoryLister, which the Win32 shell
// backs with the find functions. Each folder is scanned at most once per
// search, by its identity, so links or junctions that lead back up the tree
// cannot make the walk loop.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace corvella {
namespace foundation {

// What makes two paths the same folder (on Win32: the volume serial number
// and the file index of the opened directory).
struct FolderId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId& o) const { return volume == o.volume && index == o.index; }
    bool operator<(const FolderId& o) const { return volume < o.volume || (volume == o.volume && index < o.index); }
};

struct DirEntry {
    std::string name;  // as found, without folder
    bool is_directory = false;
    // Identity of a directory entry. A lister may leave it empty: the walk
    // then asks Identify for the folders it is about to enter, and tells
    // apart by path the ones that have no identity at all.
    std::optional<FolderId> folder_id;
    // False when the code page cannot hold the name: the name as found then
    // opens nothing, and the entry is reached by its short name.
    bool name_opens = true;
    std::string short_name;  // the file system's 8.3 name; "" for none
};

class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // True for an existing file or folder (GetFileAttributesA != invalid).
    virtual bool Exists(const std::string& path) = 0;
    // Identity of the folder `folder_path` (ends with "\"); nullopt when
    // unknown.
    virtual std::optional<FolderId> Identify(const std::string& folder_path) = 0;
    // The entries of the folder, "." and ".." included or not, in the order
    // the system gives them; false when the folder cannot be opened.
    virtual bool List(const std::string& folder_path, std::vector<DirEntry>& entries) = 0;
};

// Events of a search; every member has a do-nothing default.
class FileSearchEvents {
public:
    virtual ~FileSearchEvents() = default;
    // Before a folder is scanned; `folder_path` ends with "\". `cancel` is
    // not read back.
    virtual void SearchingDir(const std::string& folder_path, bool& cancel) {
        (void)folder_path;
        (void)cancel;
    }
    // For every matching file before it is stored. Leaving `skip` true keeps
    // the file out of the result; `skip` starts false for each folder and is
    // not reset between its files. `cancel` is not read back.
    virtual void FoundFile(const std::string& file_path, bool& skip, bool& cancel) {
        (void)file_path;
        (void)skip;
        (void)cancel;
    }
    // Once per directory entry and once per folder of the recursive pass,
    // so the caller can let its window repaint.
    virtual void YieldToMessages() {}
};

class CFileSystem {
public:
    explicit CFileSystem(DirectoryLister& lister);

    bool RecursiveSubDirs() const { return recursive_; }
    void SetRecursiveSubDirs(bool value) { recursive_ = value; }

    // Patterns separated by "|"; only the extension of a pattern counts.
    const std::string& FileExtenstions() const { return pattern_text_; }
    void SetFileExtenstions(const std::string& patterns);

    // Folders separated by "|"; Get returns the text as set.
    const std::string& SearchPaths() const { return path_text_; }
    void SetSearchPaths(const std::string& paths);

    // The receiver of the events; nullptr for none. Not owned.
    void SetEvents(FileSearchEvents* events) { events_ = events; }

    // Runs the search; `files` gets the full paths in the order found
    // (empty when nothing matched).
    void Search(std::vector<std::string>& files);

    // The path list as the last search normalised it.
    const std::vector<std::string>& PathList() const { return paths_; }

    // Matching files (and, recursive, folders) of the last search whose
    // names hold characters the system cannot open and that have no short
    // name either: left out of the result, as the code page shows them.
    const std::vector<std::string>& Unreachable() const { return unreachable_; }

private:
    void ScanFolder(const std::string& folder, std::deque<std::string>& queue);
    // True the first time a folder is seen in this search.
    bool FirstVisit(const std::string& path, const std::optional<FolderId>& id);
    bool Matches(const std::string& file_name) const;

    DirectoryLister& lister_;
    FileSearchEvents* events_ = nullptr;
    bool recursive_ = true;
    std::string pattern_text_ = "*.*";
    std::vector<std::string> patterns_{"*.*"};
    std::string path_text_ = "C:\\";
    std::vector<std::string> paths_{"C:\\"};
    std::vector<std::string> results_;
    std::vector<std::string> unreachable_;
    std::set<FolderId> seen_ids_;
    std::set<std::string> seen_paths_;  // lower-cased, for folders without identity
};

// The extension the pattern test compares: text after the last ".",
// blanks trimmed, lower-cased; "" when the name has no ".".
std::string MatchExtension(const std::string& name);

// `text` split at every "|"; empty pieces stay, an empty text gives none.
std::vector<std::string> SplitBars(const std::string& text);

// The one message for the names a search had to leave out (Unreachable);
// "" for none.
std::string UnreachableNamesMessage(const std::vector<std::string>& paths);

}  // namespace foundation
}  // namespace corvella
