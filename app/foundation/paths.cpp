#include "app/foundation/paths.h"

#include <cstring>

namespace corvella {

std::string GetFileTitle(const std::string& path, bool withExtension) {
    size_t slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (withExtension) return name;
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string GetFolderPath(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetParentFolderName(const std::string& path) {
    size_t last = path.rfind('\\');
    if (last == std::string::npos || last == 0) return "";
    size_t before = path.rfind('\\', last - 1);
    // Fewer than two backslashes means n <= 1.
    if (before == std::string::npos) return "";
    return path.substr(before + 1, last - before - 1);
}

std::string AddBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + '\\';
}

std::string MakeValidFileName(const std::string& text) {
    static const char kForbidden[] = "\\/:*?\"<>|";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0' || std::strchr(kForbidden, c) == nullptr) out += c;
    }
    return out;
}

bool PathExists(const std::string& path, FileSystem& fs) { return fs.exists(path); }

}  // namespace corvella
