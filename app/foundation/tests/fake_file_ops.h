// A folder in memory for the file service, for tests of what renames.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

#include "app/foundation/files/file_service.h"

namespace corvella {
namespace files {

// A folder in memory with Windows' rules: names match ignoring case, a
// move never replaces, and - as measured under Wine - a move to the same
// name in another case reports success and keeps the old name.
class FakeOps : public FileOps {
public:
    std::map<std::string, std::string> files;  // lower-case path -> stored path
    std::set<std::string> locked;              // lower-case paths that refuse to move
    std::string refusedTarget;                 // a move to exactly this path fails

    static std::string Low(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    }
    void Add(const std::string& p) { files[Low(p)] = p; }
    bool Has(const std::string& p) const {
        auto it = files.find(Low(p));
        return it != files.end() && it->second == p;
    }
    uint32_t Attributes(const std::string& p) override { return files.count(Low(p)) ? 0x20 : 0xFFFFFFFFu; }
    bool SetAttributes(const std::string&, uint32_t) override { return true; }
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override {
        if (!files.count(Low(from))) return MoveResult::Gone;
        if (locked.count(Low(from))) return MoveResult::InUse;
        if (Low(from) == Low(to)) return MoveResult::Done;  // the old name stays
        if (files.count(Low(to))) return MoveResult::NameTaken;
        if (to == refusedTarget) return MoveResult::Failed;
        files.erase(Low(from));
        Add(to);
        return MoveResult::Done;
    }
    bool MakeFolder(const std::string&) override { return true; }
    std::string StoredName(const std::string& p) override {
        auto it = files.find(Low(p));
        return it == files.end() ? "" : it->second.substr(it->second.rfind('\\') + 1);
    }
};

}  // namespace files
}  // namespace corvella
