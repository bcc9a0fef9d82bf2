// The shell's icons and type names of files and file types, and pictures
// that own an icon.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>

namespace corvella {
namespace shell {

// A picture that owns its icon (the icon is destroyed with the picture).
class Picture {
public:
    Picture() = default;
    explicit Picture(IPicture* adopted) : pic_(adopted) {}
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture(Picture&& o) noexcept : pic_(o.pic_) { o.pic_ = nullptr; }
    Picture& operator=(Picture&& o) noexcept;
    ~Picture();

    explicit operator bool() const { return pic_ != nullptr; }
    IPicture* get() const { return pic_; }
    // Hands the reference to the caller, who releases it.
    IPicture* detach();
    // The icon the picture holds; nullptr for none.
    HICON icon() const;

private:
    IPicture* pic_ = nullptr;
};

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

// As above, the icon as a picture; `type_name` receives the type's name.
Picture GetExtensionIcon(const std::string& extension, int32_t flags, std::string& type_name);
Picture GetFileIcon(const std::string& path, int32_t flags, std::string& type_name);

// A picture that takes over `icon`; empty for nullptr (and when the
// picture cannot be made, in which case the icon is destroyed).
Picture IconToPicture(HICON icon);

}  // namespace shell
}  // namespace corvella
