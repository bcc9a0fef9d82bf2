#include "app/startup/start_tables.h"

#include "app/foundation/settings.h"
#include "libs/tags/ID3v1/core/genres.h"

#ifndef CORVELLA_VERSION_MAJOR
#define CORVELLA_VERSION_MAJOR 1
#endif
#ifndef CORVELLA_VERSION_MINOR
#define CORVELLA_VERSION_MINOR 0
#endif
#ifndef CORVELLA_VERSION_PATCH
#define CORVELLA_VERSION_PATCH 0
#endif

namespace corvella {

const char kV1FieldNamesText[] = "Title|Artist|Album|Year|Comment|Genre|Track";
const char kV2FieldNamesText[] =
    "Title|Artist|Album|Year|Comment|Genre|Track|Composer|Copyright Information|Web Link|"
    "Encoded By";

std::vector<std::string> SplitAt(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

std::vector<std::string> BuildV1FieldNames() { return SplitAt(kV1FieldNamesText, '|'); }

std::vector<std::string> BuildV2FieldNames() { return SplitAt(kV2FieldNamesText, '|'); }

// One table for the program and the tag library, so the two cannot drift.
std::vector<std::string> BuildGenreList() { return GenreTable(); }

std::string RunningVersion() {
    return FormatVersion(CORVELLA_VERSION_MAJOR, CORVELLA_VERSION_MINOR, CORVELLA_VERSION_PATCH);
}

}  // namespace corvella
