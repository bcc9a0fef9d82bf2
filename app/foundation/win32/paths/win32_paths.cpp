#include "app/foundation/win32/paths/win32_paths.h"

#include <windows.h>

namespace corvella {

bool Win32PathSystem::Move(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

}  // namespace corvella
