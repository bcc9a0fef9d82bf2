#include "app/tools/sorting/win32/folder_ops_win32.h"

#include <windows.h>

#include <cstring>

namespace corvella {
namespace sorting {

uint32_t Win32FolderOps::Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Win32FolderOps::SetAttributes(const std::string& path, uint32_t attributes) {
    return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool Win32FolderOps::HasEntries(const std::string& folder) {
    std::string pattern = folder;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_FILE_NOT_FOUND;
    bool any = false;
    do {
        any = std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0;
    } while (!any && FindNextFileA(find, &data));
    FindClose(find);
    return any;
}

bool Win32FolderOps::RemoveFolder(const std::string& folder) { return RemoveDirectoryA(folder.c_str()) != FALSE; }

}  // namespace sorting
}  // namespace corvella
