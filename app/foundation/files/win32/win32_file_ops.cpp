#include "app/foundation/files/win32/win32_file_ops.h"

#include <windows.h>

namespace corvella {
namespace files {
namespace {

struct ErrorReason {
    DWORD error;
    MoveResult result;
};

const ErrorReason kReasons[] = {
    {ERROR_FILE_NOT_FOUND, MoveResult::Gone},
    {ERROR_PATH_NOT_FOUND, MoveResult::Gone},
    {ERROR_ALREADY_EXISTS, MoveResult::NameTaken},
    {ERROR_FILE_EXISTS, MoveResult::NameTaken},
    {ERROR_ACCESS_DENIED, MoveResult::InUse},
    {ERROR_SHARING_VIOLATION, MoveResult::InUse},
    {ERROR_LOCK_VIOLATION, MoveResult::InUse},
    {ERROR_FILENAME_EXCED_RANGE, MoveResult::PathTooLong},
    {ERROR_BUFFER_OVERFLOW, MoveResult::PathTooLong},
};

MoveResult FromLastError() {
    const DWORD error = GetLastError();
    for (const ErrorReason& r : kReasons)
        if (r.error == error) return r.result;
    return MoveResult::Failed;
}

}  // namespace

uint32_t Win32FileOps::Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Win32FileOps::SetAttributes(const std::string& path, uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != 0;
}

MoveResult Win32FileOps::MoveNoReplace(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) ? MoveResult::Done : FromLastError();
}

bool Win32FileOps::MakeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

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
