// Start-up and the objects every window shares for the whole run.
#pragma once

#include "libs/common/com/com_ptr.h"
#include "libs/flatcontrols/os_version.h"

#include <windows.h>

#include <string>
#include <vector>

struct _CID3v1;
struct _CID3v2;

namespace corvella {

// One instance each for the whole run; released after the last window.
extern com::ComPtr<_CID3v1> gID3v1;
extern com::ComPtr<_CID3v2> gID3v2;
// The Windows version probe, read once at start-up.
extern COSVersion gOSVersion;
extern std::vector<std::string> gV1FieldNames;  // 7 names
extern std::vector<std::string> gV2FieldNames;  // 11 names
extern std::vector<std::string> gGenres;        // 148 names

// Builds the shared objects and tables, checks the settings' version and
// shows the splash. 0 when the program runs on; otherwise the exit code
// (a tag library that cannot be created ends the start).
int Main(HINSTANCE instance);

// Frees the shared objects; called once the message loop has ended.
void ReleaseShared();

}  // namespace corvella
