// The file-sorting wizard's rules without windows: the folder name a tag
// field gives, the new path of a file, the plan of a run (one tag read a
// file), the move of one planned file and the removal of the source folders
// a run emptied. The form and the benchmark drive these; the file system is
// reached through files::FileService and FolderOps.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/foundation/files/file_service.h"
#include "app/foundation/tags/tag_port.h"

namespace corvella {
namespace sorting {

// The folder of files whose field gives no usable name.
inline constexpr char kUnknown[] = "Unknown";
// Folder names from tags are cut to this many characters.
inline constexpr size_t kFolderNameMax = 64;

// The words of the results list.
inline constexpr char kSucsess[] = "Sucsess";
inline constexpr char kFailed[] = "Failed";

// The choices of the two folder-level lists: caption and tag field (0 for
// "no second level").
struct FieldChoice {
    const char* caption;
    int field;
};
const std::vector<FieldChoice>& FolderChoices();     // three items
const std::vector<FieldChoice>& SubFolderChoices();  // the same three and "Do Not Use Sub Folders"
inline constexpr int kNoSubFolderIndex = 3;
// The field of a list index; 0 outside the list.
int FieldOf(const std::vector<FieldChoice>& choices, int listIndex);

// The folder a field's value names: the genre field by its name (GenreText),
// then made safe (files::CleanName, at most kFolderNameMax characters,
// "CLOCK$" a device too); "Unknown" when nothing is left.
std::string FolderName(const std::string& value, int field);

struct SortOptions {
    std::string destination;  // full path; a backslash is added when missing
    int folderField = 1;      // tag field of the first level
    int subFolderField = 0;   // tag field of the second level; 0: none
    int version = 1;          // 0 ID3v1, 1 ID3v2
};

// The folder names of one file. `second` is empty without a second level.
struct FolderNames {
    std::string first;
    std::string second;
};

// Reads the file's tag once and names its folders. A failed read gives
// "Unknown" (never the field of the file read before). The second level is
// left out when the first is exactly "Unknown".
FolderNames ReadFolderNames(tags::TagObject& tag, const std::string& path, const SortOptions& options);

// destination\first\[second\]name, name being the file's own name.
std::string NewPath(const SortOptions& options, const FolderNames& names, const std::string& path);

struct PlanItem {
    std::string from;  // the file's full path
    std::string to;    // its new full path
};

// The plan of a run: every file in the order given. `progress` (may be
// empty) hears each file before it is read, so the caller can show it and
// let its window run.
std::vector<PlanItem> BuildPlan(const std::vector<std::string>& files, tags::TagObject& tag,
                                const SortOptions& options,
                                const std::function<void(const std::string&)>& progress = {});

// What became of one planned file.
struct MoveReport {
    files::MoveResult result = files::MoveResult::Failed;
    bool ok = false;     // at its new place, or already there
    std::string word;    // "Sucsess" or "Failed"
    std::string reason;  // why it failed; "" when ok
};

// Moves the planned files one at a time, making the missing folders of
// each new path; never replaces a file. A file already at its new path
// stays and counts as done. A folder once made or found is not looked for
// again: a run puts many files into each folder.
class Mover {
public:
    explicit Mover(files::FileService& service) : service_(service) {}
    MoveReport Move(const PlanItem& item);

private:
    files::FileService& service_;
    std::set<std::string> folders_;  // lower-cased
};

// What the removal of emptied folders needs of the file system.
class FolderOps {
public:
    virtual ~FolderOps() = default;
    // Attributes as GetFileAttributesA gives them; 0xFFFFFFFF when missing.
    virtual uint32_t Attributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    // True when the folder holds any entry (hidden and system ones, files
    // and folders alike), and when it cannot be listed.
    virtual bool HasEntries(const std::string& folder) = 0;
    virtual bool RemoveFolder(const std::string& folder) = 0;
};

inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;
inline constexpr uint32_t kAttributeReadOnly = 0x1;
inline constexpr uint32_t kAttributeHidden = 0x2;
inline constexpr uint32_t kAttributeSystem = 0x4;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeNormal = 0x80;

// A folder path without its final backslash ("C:\" keeps its own).
std::string WithoutBackslash(const std::string& path);
// True when `folder` is `top` or lies beneath it; compared as Windows does,
// ignoring ASCII case and a final backslash.
bool InsideOrSame(const std::string& folder, const std::string& top);

// Removes the folders a run left empty: from each start folder (the old
// folders of the moved files) up towards `source`, a folder goes only when
// it has no entry at all; its attributes are cleared for the removal alone
// and put back when the removal fails. Each climb stops at the first folder
// that stays and never goes above `source` (which may itself go). Deeper
// folders are tried first. Returns the folders removed, in order.
std::vector<std::string> RemoveEmptiedFolders(FolderOps& ops, const std::vector<std::string>& startFolders,
                                              const std::string& source);

}  // namespace sorting
}  // namespace corvella
