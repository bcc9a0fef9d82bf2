// The folder search's view of the disk on Win32: the directory listing for
// the entries, the volume serial number, file index and creation time of a
// folder for its identity, and a message pump for the yields.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/foundation/folder_search.h"

namespace corvella {
namespace shell {

// How a folder is listed.
enum class ListingMethod {
    // ntdll's listing with file ids (what FindFirstFileA is built on), so
    // sub-folders come with their identity and need not be opened; the
    // find functions where it is missing or refused.
    Automatic,
    // FindFirstFileA / FindNextFileA only; every sub-folder the search
    // enters is opened once to identify it.
    FindFunctions,
};

class Win32DirectoryLister : public foundation::DirectoryLister {
public:
    explicit Win32DirectoryLister(ListingMethod method = ListingMethod::Automatic);

    // The platform file system's exists (GetFileAttributesA does not fail).
    bool Exists(const std::string& path) override;
    // Volume serial number, file index and creation time of the opened
    // directory (a link gives its target's); nothing on Windows 9x, which
    // cannot open directories (the search then tells folders apart by
    // path).
    std::optional<foundation::FolderId> Identify(const std::string& folder_path) override;
    // The entries of `folder_path` & "*.*" in the system's order, "." and
    // ".." included, names cut at their first NUL. Sub-folders that are not
    // links carry their identity when the listing with ids was used. A name
    // the ANSI code page cannot hold is marked so and comes with the short
    // name that opens it.
    bool List(const std::string& folder_path, std::vector<foundation::DirEntry>& entries) override;

    bool CanIdentify() const { return can_identify_; }
    bool ListsWithIds() const { return query_ != nullptr; }

private:
    static constexpr size_t kMaxRemembered = 4096;

    bool ListWithFind(const std::string& folder_path, std::vector<foundation::DirEntry>& entries);
    // False when this folder cannot be listed that way.
    bool ListWithIds(const std::string& folder_path, std::vector<foundation::DirEntry>& entries);
    void Remember(const std::string& folder_path, DWORD serial);

    bool can_identify_;
    void* query_;  // NtQueryDirectoryFile, or nullptr
    // Volume serial numbers of folders met in a listing or identified and
    // not listed yet, so listing them needs no volume query.
    std::map<std::string, DWORD> volumes_;
    std::vector<LONGLONG> buffer_;
};

// Search events whose yields let the program's message loop run, so the
// caller's window repaints and takes input while a search runs: the program
// passes the forms' DoEvents as `yield` (one pump for the whole program, with
// its key handling, that returns even while messages keep coming). A yield
// calls it only when `interval_ms` have passed since the last one: asking
// the queue costs as much as listing a folder entry. Callers derive from it
// for SearchingDir and FoundFile.
class PumpingSearchEvents : public foundation::FileSearchEvents {
public:
    explicit PumpingSearchEvents(std::function<void()> yield, DWORD interval_ms = kDefaultIntervalMs);
    void YieldToMessages() override;

    static constexpr DWORD kDefaultIntervalMs = 15;

private:
    std::function<void()> yield_;
    DWORD interval_;
    DWORD last_;
};

}  // namespace shell
}  // namespace corvella
