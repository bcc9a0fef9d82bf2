// Taking Windows paths apart, legal file names and existence. Renames and
// moves go through the file service (app/foundation/files).
// Paths use the backslash as separator; nothing here normalises or quotes a
// path beyond what each function states.
#pragma once

#include <string>

#include "libs/common/storage/storage.h"

// commdlg.h maps this name to GetFileTitleA; a translation unit that needs
// both must include commdlg.h first and call the program's helper through
// this header only.
#ifdef GetFileTitle
#undef GetFileTitle
#endif

namespace corvella {

// The name after the last backslash (the whole path when it has none); without
// the extension, everything from the name's last "." on is cut, so a name
// that starts with its only "." gives "".
std::string GetFileTitle(const std::string& path, bool withExtension);

// Up to and including the last backslash; "" when there is none.
std::string GetFolderPath(const std::string& path);

// With the path cut at every backslash into parts 0..n: part n - 1 when n > 1,
// else "". A folder path ending in a backslash names its own last folder.
std::string GetParentFolderName(const std::string& path);

// The path with a backslash at its end (added only when missing); "" gives "\".
std::string AddBackslash(const std::string& path);

// The text without \ / : * ? " < > |; nothing else is changed.
std::string MakeValidFileName(const std::string& text);

// True for files and folders alike: the file system's one existence check.
bool PathExists(const std::string& path, FileSystem& fs = platform_filesystem());

}  // namespace corvella
