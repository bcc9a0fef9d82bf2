#include "app/foundation/win32/paths/win32_paths.h"

#include "app/foundation/files/win32/win32_file_ops.h"

namespace corvella {

bool Win32PathSystem::Move(const std::string& from, const std::string& to) {
    const files::MoveResult result = files::SystemFiles().Move(from, to);
    return result == files::MoveResult::Done || result == files::MoveResult::Unchanged;
}

}  // namespace corvella
