// The one way the program renames and moves files. It never replaces an
// existing file, clears a file's attributes for the move and puts them back
// on the file at its new place, gets a name that differs only in letter
// case through a scratch name in the same folder (MoveFileA keeps the old
// name otherwise), and says for each file why it was not moved.
//
// Portable: the file system is reached through FileOps; the Win32 shell
// implements it over kernel32 (MoveFileA, so the Windows 9x path is the
// same as NT's), tests over a fake.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace corvella {
namespace files {

enum class MoveResult {
    Done,           // the file is at its new place
    Unchanged,      // the new path is the file's own: no work, no failure
    NameTaken,      // another file or folder has the new name
    InUse,          // the file is open in another program
    ReadOnly,       // the file, its folder or its drive may not be changed
    DiskFull,       // the new place's disk has no room for the file
    Gone,           // the file is no longer there
    PathTooLong,    // the new path is longer than the system takes
    FolderNotMade,  // the target folder is missing and could not be made
    Failed,         // any other failure of the system
};

// A short reason for messages: "name taken", "in use", "read-only", ...
const char* ReasonText(MoveResult result);

// The cause a Windows error code (GetLastError after a failed move) names;
// Failed for codes of no cause of their own.
MoveResult ResultOfError(uint32_t error);

// What the service needs of the file system.
class FileOps {
public:
    virtual ~FileOps() = default;
    // Attributes as GetFileAttributesA gives them; 0xFFFFFFFF when missing.
    virtual uint32_t Attributes(const std::string& path) = 0;
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
    // Moves without replacing; on failure the reason the system gave.
    virtual MoveResult MoveNoReplace(const std::string& from, const std::string& to) = 0;
    // Makes one folder (its parent exists).
    virtual bool MakeFolder(const std::string& path) = 0;
    // Deletes one file; a read-only one is refused, as by DeleteFileA.
    virtual bool Remove(const std::string& path) = 0;
    // The name as the file system stores it (case included), for `path`
    // when it exists; "" otherwise.
    virtual std::string StoredName(const std::string& path) = 0;
};

class FileService {
public:
    explicit FileService(FileOps& ops) : ops_(ops) {}

    // Moves one file; makes missing folders of the new path when asked.
    MoveResult Move(const std::string& from, const std::string& to, bool makeFolders = false);

    // Many moves at once (a rename of listed files): a move whose target is
    // another move's source is tried again after that one has moved, in
    // passes until a pass moves nothing; a swap or two files meeting on one
    // name leave the files as they were. Results in the order given.
    std::vector<MoveResult> MoveAll(const std::vector<std::pair<std::string, std::string>>& moves,
                                    bool makeFolders = false);

    // Moves `from` into `folder` (ending with "\") under the first free name
    // of `stem` + `ext`, `stem` + " (2)" + `ext` ... (FreeName). A name
    // taken between the look and the move is passed by for the next one, so
    // no file is ever replaced. *placed gets the new path when Done.
    MoveResult MoveToFreeName(const std::string& from, const std::string& folder, const std::string& stem,
                              const std::string& ext, std::string* placed);

private:
    FileOps& ops_;
};

// Paths compared as Windows compares them: ignoring case.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace files
}  // namespace corvella
