// Playlist export: the main list's files as an M3U playlist. One line per
// row in list order, each ended by CR LF, no header: the file's name alone
// when it lies in the playlist's own folder, else its full path.
//
// Portable: the bytes, the name rules and the write through the storage
// interface; the save dialog is the main window's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "libs/common/storage/storage.h"

namespace corvella {
namespace playlist {

// The save dialog. No "file must exist" flag: Windows 95 to XP enforce it in
// a save dialog too, which then refuses every new playlist name.
inline const char kDialogTitle[] = "Save Playlist As...";
inline const char kDialogFilter[] = "Music Playlist (*.M3U)|*.m3u|All Files (*.*)|*.*";
constexpr int32_t kDialogFilterIndex = 1;
// Overwrite prompt, hide read-only, path must exist.
constexpr uint32_t kDialogFlags = 0x0806;

// The name the dialog offers for the listed folder: its last folder's name
// ("" for a drive root and for "desktop").
std::string OfferedName(const std::string& currentFolder);

// The name to write from the dialog's answer: "" (write nothing) for a
// cancel or a bare ".m3u"; ".m3u" appended unless the name ends in it, in
// any letter case.
std::string PlaylistPath(const std::string& chosen);

// The playlist's bytes for rows whose keys are `keys`, saved as `path`.
// Folders are compared as the text up to the last backslash, exactly.
std::string PlaylistText(const std::vector<std::string>& keys, const std::string& path);

// Writes the playlist, replacing a file of that name (also a read-only one)
// only when the new one is whole (write_whole_file). False with `error` set
// when it cannot be written; an old file then stays as it was.
bool WritePlaylist(FileSystem& fs, const std::string& path, const std::vector<std::string>& keys,
                   std::string& error);

}  // namespace playlist
}  // namespace corvella
