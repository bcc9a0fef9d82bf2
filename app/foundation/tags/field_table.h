// The tag fields as the program shows and writes them: one row per field
// index (the ID3v2 library's EFrames 0 to 11), with its frame, its ID3v1
// slot, its names, its list column and whether only ID3v2 has it. The
// listing, the edit panel, the apply and the tools read field facts here.
#pragma once

#include <array>

#include "app/foundation/tags/tag_port.h"

namespace corvella {
namespace tags {

struct FieldInfo {
    int index;            // EFrames
    const char* frameId;  // the ID3v2.3 frame: "TIT2", ...
    int v1Slot;           // ID3v1's EFields; -1 when ID3v1 has no such field
    const char* caption;  // column and column-menu name: "Copyright Information"
    const char* label;    // the edit panel's label: "Copyright:"
    int column;           // the list's sub-item (1 to 11); 0: no column
    bool v2Only;
};

const std::array<FieldInfo, kFieldCount>& Fields();

// The field shown in list sub-item `column` (1 to 11); nullptr for others.
const FieldInfo* FieldOfColumn(int column);

// The fields a tag version has: 0 to 6 for ID3v1, 0 to 11 for ID3v2.
inline int FieldCountOf(int version) { return version == 0 ? kV1FieldCount : kFieldCount; }

}  // namespace tags
}  // namespace corvella
