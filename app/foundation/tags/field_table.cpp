#include "app/foundation/tags/field_table.h"

namespace corvella {
namespace tags {

const std::array<FieldInfo, kFieldCount>& Fields() {
    static const std::array<FieldInfo, kFieldCount> kFields = {{
        {0, "TIT2", 0, "Title", "Title:", 1, false},
        {1, "TPE1", 1, "Artist", "Artist:", 2, false},
        {2, "TALB", 2, "Album", "Album:", 3, false},
        {3, "TYER", 3, "Year", "Year:", 4, false},
        {4, "COMM", 4, "Comment", "Comment:", 5, false},
        {5, "TCON", 5, "Genre", "Genre:", 6, false},
        {6, "TRCK", 6, "Track", "Track:", 7, false},
        {7, "TCOM", -1, "Composer", "Composer:", 8, true},
        // Original Artist has a panel row but no column.
        {8, "TOPE", -1, "Original Artist", "Org. Artist:", 0, true},
        {9, "TCOP", -1, "Copyright Information", "Copyright:", 9, true},
        {10, "WXXX", -1, "Web Link", "Web Link:", 10, true},
        {11, "TENC", -1, "Encoded By", "Encoded By:", 11, true},
    }};
    return kFields;
}

const FieldInfo* FieldOfColumn(int column) {
    for (const FieldInfo& f : Fields())
        if (f.column == column && column != 0) return &f;
    return nullptr;
}

}  // namespace tags
}  // namespace corvella
