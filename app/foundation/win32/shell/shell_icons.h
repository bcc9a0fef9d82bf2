// The shell's icons and type names of files and file types.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvella {
namespace shell {

// Large icon (0) or small (1, SHGFI_SMALLICON).
constexpr int32_t kLargeIcon = 0;
constexpr int32_t kSmallIcon = 1;

// What the shell tells of a file type or a file.
struct ShellFileInfo {
    HICON icon = nullptr;  // owned by the caller
    int icon_index = -1;   // in the system image list
    std::string type_name;
};

// The shell's icon and type name for files of `extension` ("mp3" or
// ".mp3"); the file need not exist.
ShellFileInfo QueryExtensionInfo(const std::string& extension, int32_t flags);
// The same for an existing file or folder.
ShellFileInfo QueryFileInfo(const std::string& path, int32_t flags);

}  // namespace shell
}  // namespace corvella
