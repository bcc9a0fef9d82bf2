// The path helpers' file-system calls on kernel32.
#pragma once

#include "app/foundation/paths.h"

namespace corvella {

class Win32PathSystem : public PathSystem {
public:
    // MoveFileA never replaces an existing file, so a rename onto one fails
    // and leaves both files as they were.
    bool Move(const std::string& from, const std::string& to) override;
};

}  // namespace corvella
