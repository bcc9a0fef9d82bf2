// A trace of the start-up hand-over for tests that follow the program from
// outside: when the environment variable CORVELLA_HANDOVER_LOG names a file,
// each event is appended to it as one line: "frmMain.Form_Load <bar value>",
// "frmMain shown <bar value>", "frmLoading.Form_Unload", "frmMain.Form_Unload".
#pragma once

#include <string>

namespace corvella {

void LogHandOver(const std::string& event);

// The splash's bar value for the trace ("-" when the splash is not loaded).
std::string SplashValue();

}  // namespace corvella
