// The rip as the ripper dialog's "&Convert" starts it: the encoding window
// shown modal over the dialog, the run started from a one-shot 10 ms timer
// of the dialog, over cdaudio.dll's open drive, lame_enc.dll from the
// program's folder and the shared tag objects.
#pragma once

#include <functional>
#include <string>

#include "app/cdrip/core/rip_run.h"
#include "platform/forms/forms.h"

namespace corvella::cdrip {

struct RipRules {
    // The folder rule, run once before the first track.
    std::function<bool(std::string* why)> prepareFolders;
    // The file-name rule for track n and its two-digit text.
    std::function<std::string(int n, const std::string& trackNo)> fileName;
};

// Returns how the run ended; Cancelled also when the window was closed
// before the timer ticked or `owner` is not loaded.
RunEnd RunRip(forms::Form& owner, const RunInput& input, const RipRules& rules, const tags::TagPair& tags);

}  // namespace corvella::cdrip
