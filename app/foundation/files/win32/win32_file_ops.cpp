#include "app/foundation/files/win32/win32_file_ops.h"

#include <windows.h>

namespace corvella {
namespace files {

uint32_t Win32FileOps::Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Win32FileOps::SetAttributes(const std::string& path, uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}

MoveResult Win32FileOps::MoveNoReplace(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) ? MoveResult::Done : ResultOfError(GetLastError());
}

bool Win32FileOps::MakeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32FileOps::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string Win32FileOps::StoredName(const std::string& path) {
    // A wildcard would find some other file.
    if (path.find_first_of("*?") != std::string::npos) return std::string();
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return std::string();
    FindClose(find);
    return found.cFileName;
}

FileService& SystemFiles() {
    static Win32FileOps ops;
    static FileService service(ops);
    return service;
}

}  // namespace files
}  // namespace corvella
