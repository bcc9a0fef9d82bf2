// Helpers of the tool windows' tests under Wine: file bytes, Unix programs
// run as peers, and a step run from inside a modal show.
#pragma once

#include <functional>
#include <string>

namespace corvella::tooltest {

std::string Bytes(const std::string& path);
// "Z:\a\b" -> "/a/b".
std::string UnixPath(const std::string& winPath);
// "/a/b" -> "Z:\a\b".
std::string WinPath(const std::string& unixPath);
// Runs `command` with /bin/sh on the Unix side and returns what it printed.
// Wine does not wait for a Unix process: the output goes to `scratch` (a
// Windows path) when complete, and the call waits for it to be there.
std::string RunUnix(const std::string& command, const std::string& scratch);
// Runs `step` once from the message loop running next: the modal loop of
// a window that is about to be shown.
void Later(std::function<void()> step);

}  // namespace corvella::tooltest
