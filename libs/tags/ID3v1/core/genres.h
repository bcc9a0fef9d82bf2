// The ID3v1 genre names, indexed by the tag's genre byte. Standalone so the
// program's genre lists and the tag library share one copy.
#pragma once

#include <string>
#include <vector>

namespace corvella {

// The 148 names, "Blues" (0) to "Synth Pop" (147), spelled as other tag
// writers store them.
const std::vector<std::string>& GenreTable();

// Index of the first name equal to `name` ignoring ASCII letter case (no
// trimming); 255, the byte for "no genre", when none matches.
int GenreIndexOf(const std::string& name);

}  // namespace corvella
