#include "app/foundation/files/file_service.h"

#include <cstddef>
#include <unordered_map>
#include <unordered_set>

#include "app/foundation/files/name_cleaner.h"

namespace corvella {
namespace files {
namespace {

constexpr uint32_t kMissing = 0xFFFFFFFFu;
// Read-only, hidden and system: what may keep a file from being moved.
constexpr uint32_t kGuarding = 0x1 | 0x2 | 0x4;
constexpr uint32_t kNormal = 0x80;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A path as a key that compares as Windows compares names.
std::string Key(std::string path) {
    for (char& c : path) c = Lower(c);
    return path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file's attributes are cleared for the move and put back on the file
// wherever it is when the scope ends.
class AttributeGuard {
public:
    AttributeGuard(FileOps& ops, const std::string& path, uint32_t attributes)
        : ops_(ops), at_(path), attributes_(attributes), cleared_((attributes & kGuarding) != 0) {
        if (cleared_) cleared_ = ops_.SetAttributes(at_, kNormal);
    }
    ~AttributeGuard() {
        if (cleared_) ops_.SetAttributes(at_, attributes_);
    }
    AttributeGuard(const AttributeGuard&) = delete;
    AttributeGuard& operator=(const AttributeGuard&) = delete;
    void MovedTo(const std::string& path) { at_ = path; }

private:
    FileOps& ops_;
    std::string at_;
    uint32_t attributes_;
    bool cleared_;
};

}  // namespace

namespace {

// Each cause with its words and the Windows error codes that name it
// (0: none). Access denied is what a read-only drive or file gives; a file
// open in another program gives a sharing or lock violation.
struct Cause {
    MoveResult result;
    const char* text;
    uint32_t errors[2];
};

constexpr Cause kCauses[] = {
    {MoveResult::Done, "moved", {}},
    {MoveResult::Unchanged, "unchanged", {}},
    {MoveResult::NameTaken, "name taken", {183, 80}},        // ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS
    {MoveResult::InUse, "in use", {32, 33}},                // ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION
    {MoveResult::ReadOnly, "read-only", {5, 19}},           // ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT
    {MoveResult::DiskFull, "disk full", {112, 39}},         // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL
    {MoveResult::Gone, "gone", {2, 3}},                     // ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND
    {MoveResult::PathTooLong, "path too long", {206, 111}}, // ERROR_FILENAME_EXCED_RANGE, ERROR_BUFFER_OVERFLOW
    {MoveResult::FolderNotMade, "folder not made", {}},
    {MoveResult::Failed, "failed", {}},
};

}  // namespace

const char* ReasonText(MoveResult result) {
    for (const Cause& c : kCauses)
        if (c.result == result) return c.text;
    return "failed";
}

MoveResult ResultOfError(uint32_t error) {
    for (const Cause& c : kCauses)
        for (uint32_t e : c.errors)
            if (e != 0 && e == error) return c.result;
    return MoveResult::Failed;
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

MoveResult FileService::Move(const std::string& from, const std::string& to, bool makeFolders) {
    if (from == to) return MoveResult::Unchanged;
    const uint32_t attributes = ops_.Attributes(from);
    if (attributes == kMissing) return MoveResult::Gone;
    const bool caseOnly = SamePath(from, to);
    if (caseOnly && ops_.StoredName(from) == LeafOf(to)) return MoveResult::Unchanged;
    if (to.size() > kMaxPath) return MoveResult::PathTooLong;
    // In its own folder a move is a rename, which leaves nothing behind, and
    // a taken name is not looked up first: the move itself refuses it, and a
    // lookup of a missing name costs as much as the move (Wine searches the
    // folder for it in every case). A move elsewhere may be a copy: the new
    // name must be known free before it.
    const bool sameFolder = SamePath(FolderOf(from), FolderOf(to));
    if (!sameFolder && ops_.Attributes(to) != kMissing) return MoveResult::NameTaken;

    if (makeFolders) {
        // Made from the top down: each missing folder of the new path.
        std::vector<std::string> missing;
        for (std::string f = FolderOf(to); !f.empty() && ops_.Attributes(f) == kMissing; f = FolderOf(f))
            missing.push_back(f);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            if (!ops_.MakeFolder(*it)) return MoveResult::FolderNotMade;
    }

    AttributeGuard guard(ops_, from, attributes);
    // The file is there (checked above): "not found" means the new folder.
    auto step = [&](const std::string& a, const std::string& b) {
        const MoveResult r = ops_.MoveNoReplace(a, b);
        return r == MoveResult::Gone && ops_.Attributes(a) != kMissing ? MoveResult::FolderNotMade : r;
    };
    if (!caseOnly) {
        MoveResult r = step(from, to);
        if (sameFolder) {
            if (r == MoveResult::Done) guard.MovedTo(to);
            return r;
        }
        if (r == MoveResult::NameTaken) return r;  // made meanwhile: not ours
        // The file's places decide, whatever the move said.
        const bool left = ops_.Attributes(from) == kMissing;
        const bool arrived = (r == MoveResult::Done && left) || ops_.Attributes(to) != kMissing;
        if (left && arrived) {
            guard.MovedTo(to);
            return MoveResult::Done;
        }
        // A copy beside its source, whole or cut short, goes again: a
        // source that stayed after a copy lies on a read-only drive.
        if (!left && arrived) {
            ops_.SetAttributes(to, kNormal);
            ops_.Remove(to);
            if (r == MoveResult::Done) r = MoveResult::ReadOnly;
        }
        return r == MoveResult::Done ? MoveResult::Failed : r;
    }
    // A new letter case goes through a scratch name in the same folder.
    const std::string base = FolderOf(from) + "\\~" + LeafOf(from) + ".";
    std::string scratch;
    for (int n = 0; n < 1000 && scratch.empty(); ++n)
        if (ops_.Attributes(base + std::to_string(n)) == kMissing) scratch = base + std::to_string(n);
    if (scratch.empty()) return MoveResult::Failed;
    MoveResult r = step(from, scratch);
    if (r != MoveResult::Done) return r;
    guard.MovedTo(scratch);
    r = step(scratch, to);
    if (r == MoveResult::Done) {
        guard.MovedTo(to);
    } else if (ops_.MoveNoReplace(scratch, from) == MoveResult::Done) {
        guard.MovedTo(from);
    }
    return r;
}

std::vector<MoveResult> FileService::MoveAll(const std::vector<std::pair<std::string, std::string>>& moves,
                                             bool makeFolders) {
    const size_t n = moves.size();
    std::vector<MoveResult> results(n, MoveResult::Failed);
    std::vector<bool> pending(n, true);
    // Two files meeting on one name: neither moves. A move to its own path
    // meets nothing.
    std::unordered_map<std::string, int> targets;
    for (const auto& [from, to] : moves)
        if (!SamePath(from, to)) ++targets[Key(to)];
    for (size_t i = 0; i < n; ++i) {
        if (!SamePath(moves[i].first, moves[i].second) && targets[Key(moves[i].second)] > 1) {
            results[i] = MoveResult::NameTaken;
            pending[i] = false;
        }
    }
    // A move waits while its new name is still another pending move's file.
    std::unordered_map<std::string, int> sources;
    for (size_t i = 0; i < n; ++i)
        if (pending[i]) ++sources[Key(moves[i].first)];
    auto waits = [&](size_t i) {
        const int own = SamePath(moves[i].first, moves[i].second) ? 1 : 0;
        return sources[Key(moves[i].second)] > own;
    };
    for (bool moved = true; moved;) {
        moved = false;
        for (size_t i = 0; i < n; ++i) {
            if (!pending[i] || waits(i)) continue;
            results[i] = Move(moves[i].first, moves[i].second, makeFolders);
            pending[i] = false;
            --sources[Key(moves[i].first)];
            moved = true;
        }
    }
    // What is left waits on itself: a swap or a ring keeps its names.
    for (size_t i = 0; i < n; ++i)
        if (pending[i]) results[i] = MoveResult::NameTaken;
    return results;
}

MoveResult FileService::MoveToFreeName(const std::string& from, const std::string& folder, const std::string& stem,
                                       const std::string& ext, std::string* placed) {
    // Names the move itself found taken: another program made them after
    // the look. Each pass adds one, so the passes end.
    std::unordered_set<std::string> refused;
    for (;;) {
        const std::string name = FreeName(folder, stem, ext, [&](const std::string& path) {
            return refused.count(Key(path)) != 0 || ops_.Attributes(path) != kMissing;
        });
        if (name.empty()) return MoveResult::NameTaken;
        const MoveResult r = Move(from, folder + name);
        if (r == MoveResult::Done) *placed = folder + name;
        if (r != MoveResult::NameTaken) return r;
        refused.insert(Key(folder + name));
    }
}

}  // namespace files
}  // namespace corvella
