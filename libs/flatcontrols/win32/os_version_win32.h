// The version probe filled from the running system.
#pragma once

#include "libs/flatcontrols/os_version.h"

namespace corvella {

// Zeroed record, size 148, then GetVersionExA; a failed call leaves zeros
// and every answer False.
COSVersion ReadOSVersion();

}  // namespace corvella
