#include "app/mainwindow/playlist/playlist.h"

#include <cctype>

namespace corvella {
namespace playlist {
namespace {

// The text up to and including the last backslash ("" without one).
std::string FolderOf(const std::string& path) {
    const size_t at = path.rfind('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

bool EndsWithM3u(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".m3u";
}

}  // namespace

std::string OfferedName(const std::string& currentFolder) {
    std::string folder = currentFolder;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    // "C:\Music\Live\" cuts into "C:", "Music", "Live", "": the name is the
    // piece before the last; a root gives fewer than three pieces.
    std::vector<std::string> pieces(1);
    for (char c : folder) {
        if (c == '\\') pieces.emplace_back();
        else pieces.back().push_back(c);
    }
    return pieces.size() < 3 ? std::string() : pieces[pieces.size() - 2];
}

std::string PlaylistPath(const std::string& chosen) {
    if (chosen.empty() || chosen == ".m3u") return "";
    return EndsWithM3u(chosen) ? chosen : chosen + ".m3u";
}

std::string PlaylistText(const std::vector<std::string>& keys, const std::string& path) {
    const std::string folder = FolderOf(path);
    std::string text;
    for (const std::string& key : keys) {
        text += FolderOf(key) == folder ? key.substr(folder.size()) : key;
        text += "\r\n";
    }
    return text;
}

bool WritePlaylist(FileSystem& fs, const std::string& path, const std::vector<std::string>& keys,
                   std::string& error) {
    // An old playlist is replaced even when read-only; its attributes come
    // back only when it stays.
    const uint32_t attributes = fs.get_attributes(path);
    if (attributes != kAttrInvalid) fs.set_attributes(path, kAttrNormal);
    const bool ok = write_whole_file(fs, path, PlaylistText(keys, path));
    if (!ok && attributes != kAttrInvalid) fs.set_attributes(path, attributes);
    if (!ok) error = "The playlist \"" + path + "\" could not be written.";
    return ok;
}

}  // namespace playlist
}  // namespace corvella
