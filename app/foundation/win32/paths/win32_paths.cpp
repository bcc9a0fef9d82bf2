#include "app/foundation/win32/paths/win32_paths.h"

#include <windows.h>

namespace corvella {

bool Win32PathSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32PathSystem::Move(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

}  // namespace corvella
