// Starting other programs through the shell: the web browser and the
// program associated with a file. ANSI entry points.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvella {
namespace shell {

// The user's temporary folder as GetTempPathA gives it (ending in "\").
std::string GetTempFolder();

// Full path of the program that opens ".html" files, found through an
// empty scratch file "dummy.html" in the temporary folder (removed again).
// `result_code` receives the FindExecutableA result (> 32 on success).
std::string GetBrowserPath(intptr_t& result_code);

// Starts the browser on `url`; true when a browser process was started.
// False, starting nothing, when no program opens ".html" files.
bool OpenInBrowser(const std::string& url);

// ShellExecuteA "Open" of `file_name`, working folder "C:\"; the shell's
// result (> 32 on success).
intptr_t OpenWithAssociatedApp(const std::string& file_name);

}  // namespace shell
}  // namespace corvella
