// A file system in memory that behaves as Windows does where it matters:
// names compare without case, a move never replaces, a read-only file does
// not move, a move to a name that differs only in case reports success and
// keeps the old name. A move to another drive copies and then deletes, as
// Wine does: onto a full drive it leaves the part copied and fails; from a
// read-only drive it keeps the source and reports success.
#pragma once

#include <map>
#include <set>
#include <string>

#include "app/foundation/files/file_service.h"

namespace corvella {
namespace files {
namespace testing {

constexpr uint32_t kMissing = 0xFFFFFFFFu, kReadOnly = 0x1, kHidden = 0x2, kFolder = 0x10;

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
}

class FakeOps : public FileOps {
public:
    std::map<std::string, std::pair<std::string, uint32_t>> entries;  // lower-case path: stored path, attributes
    int failMove = 0;  // the n-th move fails (1-based); -1: every file is in use
    int moves = 0;
    int refuseFolders = 0;  // how many folders are refused before one is made
    int folderCalls = 0;
    std::set<std::string> appear;  // lower-case paths another program makes just before a move to them
    std::string fullDrive, readOnlyDrive;  // drives such as "F:"; "" for none

    FakeOps() { Add("C:\\M", kFolder); }
    void Add(const std::string& path, uint32_t attributes = 0) { entries[Lower(path)] = {path, attributes}; }
    uint32_t Attributes(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? kMissing : it->second.second;
    }
    bool SetAttributes(const std::string& path, uint32_t attributes) override {
        if (OnDrive(path, readOnlyDrive)) return false;
        auto it = entries.find(Lower(path));
        if (it != entries.end()) it->second.second = attributes == 0x80 ? 0 : attributes;
        return it != entries.end();
    }
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
        auto it = entries.find(Lower(from));
        if (++moves == failMove) return MoveResult::Failed;
        if (appear.erase(Lower(to)) != 0) Add(to);
        if (it == entries.end() || Attributes(to.substr(0, to.rfind('\\'))) == kMissing) return MoveResult::Gone;
        if (failMove < 0 || (it->second.second & kReadOnly) != 0) return MoveResult::InUse;
        if (Lower(from) == Lower(to)) return MoveResult::Done;  // the old name stays
        if (entries.count(Lower(to)) != 0) return MoveResult::NameTaken;
        const uint32_t attributes = it->second.second;
        const bool copy = Lower(from.substr(0, 2)) != Lower(to.substr(0, 2));
        Add(to, attributes);
        if (copy && OnDrive(to, fullDrive)) return MoveResult::DiskFull;
        if (!copy || !OnDrive(from, readOnlyDrive)) entries.erase(Lower(from));
        return MoveResult::Done;
    }
    bool Remove(const std::string& path) override {
        if (OnDrive(path, readOnlyDrive) || (Attributes(path) & (kReadOnly | kFolder)) != 0) return false;
        return entries.erase(Lower(path)) != 0;
    }
    bool MakeFolder(const std::string& path) override {
        ++folderCalls;
        if (refuseFolders > 0 && refuseFolders-- > 0) return false;
        Add(path, kFolder);
        return true;
    }
    std::string StoredName(const std::string& path) override {
        auto it = entries.find(Lower(path));
        return it == entries.end() ? "" : it->second.first.substr(it->second.first.rfind('\\') + 1);
    }
    static bool OnDrive(const std::string& path, const std::string& drive) {
        return !drive.empty() && Lower(path.substr(0, 2)) == Lower(drive);
    }
    // The files as stored, with " ro h" for their attributes.
    std::set<std::string> Files() const {
        std::set<std::string> out;
        for (const auto& [k, e] : entries)
            if (!(e.second & kFolder))
                out.insert(e.first + (e.second & kReadOnly ? " ro" : "") + (e.second & kHidden ? " h" : ""));
        return out;
    }
};

}  // namespace testing
}  // namespace files
}  // namespace corvella
