// The path helpers' file-system calls on kernel32.
#pragma once

#include "app/foundation/paths.h"

namespace corvella {

class Win32PathSystem : public PathSystem {
public:
    // Through the file service: a rename onto an existing file fails and
    // leaves both files as they were.
    bool Move(const std::string& from, const std::string& to) override;
};

}  // namespace corvella
