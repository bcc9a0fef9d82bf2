// The ID3v1 genre names, indexed by the tag's genre byte. Standalone so the
// program's genre lists and the tag library share one copy, and one reading
// of the genre numbers that ID3v2 tags hold.
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

// The genre number an ID3v2 genre text begins with: 17 for "(17)" and for
// "(17)Hard Rock"; -1 when it does not begin with one. Tag writers store
// the genre this way, so it must be read as a number, not as a name.
int GenreReference(const std::string& text);

// An ID3v2 genre as a name: "(13)" and the bare "13" give genre 13's name,
// "(13)Text" and "(13)(14)Text" give "Text", "((Text" gives "(Text"; other
// text ("2 Step", a number the table lacks) is kept.
std::string GenreText(const std::string& value);

}  // namespace corvella
