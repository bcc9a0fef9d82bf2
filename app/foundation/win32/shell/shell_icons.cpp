#include "app/foundation/win32/shell/shell_icons.h"

#include <shellapi.h>

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace shell {
namespace {

// Shell flags callers may pass; the procedures set the rest themselves.
// SHGFI_PIDL (8) is never taken over: the name is always a text.
constexpr UINT kExtensionFlagMask = 0x7AED & ~static_cast<UINT>(SHGFI_PIDL);
constexpr UINT kFileFlagMask = 0x7AFD & ~static_cast<UINT>(SHGFI_PIDL);

ShellFileInfo QueryShell(const std::string& name, DWORD attributes, UINT flags) {
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    ShellFileInfo out;
    if (SHGetFileInfoA(name.c_str(), attributes, &info, sizeof(info), flags) == 0) return out;
    out.icon = info.hIcon;
    out.icon_index = info.iIcon;
    out.type_name = TrimAtNull(info.szTypeName, sizeof(info.szTypeName));
    return out;
}

}  // namespace

ShellFileInfo QueryExtensionInfo(const std::string& extension, int32_t flags) {
    const std::string name = (!extension.empty() && extension[0] == '.') ? extension : "." + extension;
    const UINT f = (static_cast<UINT>(flags) & kExtensionFlagMask) | SHGFI_ICON | SHGFI_TYPENAME |
                   SHGFI_USEFILEATTRIBUTES;
    return QueryShell(name, 0, f);
}

ShellFileInfo QueryFileInfo(const std::string& path, int32_t flags) {
    const UINT f = (static_cast<UINT>(flags) & kFileFlagMask) | SHGFI_ICON | SHGFI_TYPENAME;
    return QueryShell(path, 0, f);
}

}  // namespace shell
}  // namespace corvella
