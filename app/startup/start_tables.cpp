#include "app/startup/start_tables.h"

#include "app/foundation/tags/field_table.h"
#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {

std::vector<std::string> BuildV1FieldNames() {
    std::vector<std::string> names;
    for (const tags::FieldInfo& f : tags::Fields())
        if (f.v1Slot >= 0) names.push_back(f.caption);
    return names;
}

// By column: Original Artist has none.
std::vector<std::string> BuildV2FieldNames() {
    std::vector<std::string> names;
    for (int column = 1; column <= 11; ++column) names.push_back(tags::FieldOfColumn(column)->caption);
    return names;
}

// One table for the program and the tag library, so the two cannot drift.
std::vector<std::string> BuildGenreList() { return GenreTable(); }

}  // namespace corvella
