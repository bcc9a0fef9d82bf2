// The removal of emptied folders on kernel32.
#pragma once

#include "app/tools/sorting/core/sorting.h"

namespace corvella {
namespace sorting {

class Win32FolderOps : public FolderOps {
public:
    uint32_t Attributes(const std::string& path) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    // Any entry but "." and "..", hidden and system ones too; a folder that
    // cannot be listed counts as holding something.
    bool HasEntries(const std::string& folder) override;
    bool RemoveFolder(const std::string& folder) override;
};

}  // namespace sorting
}  // namespace corvella
