// The file service's FileOps over kernel32: MoveFileA, which never replaces
// and is the same call on Windows 9x and NT (MoveFileExA is a failing stub
// on 9x), the attribute calls, CreateDirectoryA, DeleteFileA and
// FindFirstFileA for the name as stored.
#pragma once

#include "app/foundation/files/file_service.h"

namespace corvella {
namespace files {

class Win32FileOps : public FileOps {
public:
    uint32_t Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    MoveResult MoveNoReplace(const std::string& from, const std::string& to) override;
    bool MakeFolder(const std::string& path) override;
    bool Remove(const std::string& path) override;
    // The stored name of the file or folder itself, without its folder.
    std::string StoredName(const std::string& path) override;
};

// The one service over the real file system.
FileService& SystemFiles();

}  // namespace files
}  // namespace corvella
