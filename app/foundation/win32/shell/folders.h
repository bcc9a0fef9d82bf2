// Folders of the shell: special folders and the folder picker.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvella {
namespace shell {

// The path of a special folder (CSIDL_...) with a trailing "\"; "" when the
// folder cannot be found, "\" for one without a file-system path.
std::string GetSpecialFolder(HWND owner, int32_t csidl);

// The folder picker, opening on `start_path` and showing the path of the
// selected folder, shortened in the middle, as its status text. The chosen
// folder, "" when cancelled.
std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& start_path);

// The picker's callback (BFFM_INITIALIZED selects the start folder,
// BFFM_SELCHANGED sets the status text); always 0.
int CALLBACK BrowseCallbackProc(HWND picker, UINT message, LPARAM lparam, LPARAM data);

}  // namespace shell
}  // namespace corvella
