#include "app/startup/start_tables.h"

#include "libs/common/text/text_primitives.h"
#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {

const char kV1FieldNamesText[] = "Title|Artist|Album|Year|Comment|Genre|Track";
const char kV2FieldNamesText[] =
    "Title|Artist|Album|Year|Comment|Genre|Track|Composer|Copyright Information|Web Link|"
    "Encoded By";

std::vector<std::string> BuildV1FieldNames() { return SplitText(kV1FieldNamesText, '|'); }

std::vector<std::string> BuildV2FieldNames() { return SplitText(kV2FieldNamesText, '|'); }

// One table for the program and the tag library, so the two cannot drift.
std::vector<std::string> BuildGenreList() { return GenreTable(); }

}  // namespace corvella
