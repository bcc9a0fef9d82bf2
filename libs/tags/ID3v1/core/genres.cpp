#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {
namespace {

// One literal keeps the table easy to compare with other lists; the odd
// spellings are deliberate (they are what existing files and tools use).
const char kGenreNames[] =
    "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|"
    "New Age|Oldies|Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|"
    "Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|"
    "Trip Hop|Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|"
    "House|Game|Sound Clip|Gospel|Noise|Alt. Rock|Bass|Soul|Punk|Space|"
    "Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
    "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|"
    "Comedy|Cult|Gangsta Rap|Top 40|Christian Rap|Pop/Punk|Jungle|"
    "Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|"
    "Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|"
    "Hard Rock|Folk|Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|Latin|"
    "Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
    "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|"
    "Easy Listening|Acoustic|Humour|Speech|Chanson|Opera|Chamber Music|"
    "Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|"
    "Tango|Samba|Folklore|Ballad|power Ballad|Rhythmic Soul|Freestyle|Duet|"
    "Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|Drum & Bass|"
    "Club-House|Hardcore|Terror|indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|"
    "Comteporary Christian|Christian Rock|Merengue|Salsa|Trash Metal|Anime|"
    "JPop|Synth Pop";

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = text.find(sep, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// Only ASCII letters change: the names are ASCII, and a locale-dependent
// conversion could make a foreign byte equal to one of them.
std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits from `at` on: the position after them, with n their number.
// A number too long for any table stays above it.
size_t ReadNumber(const std::string& text, size_t at, int& n) {
    n = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        if (n < 1000) n = n * 10 + (text[at] - '0');
    return at;
}

// The "(n)" at `at`: the position after its ")" with n set, or npos when
// there is none.
size_t ReadReference(const std::string& text, size_t at, int& n) {
    if (at + 1 >= text.size() || text[at] != '(' || !IsDigit(text[at + 1]))
        return std::string::npos;
    int value = 0;
    const size_t end = ReadNumber(text, at + 1, value);
    if (end >= text.size() || text[end] != ')') return std::string::npos;
    n = value;
    return end + 1;
}

// "((" stands for a literal "(".
std::string Unescaped(const std::string& text) { return text.compare(0, 2, "((") == 0 ? text.substr(1) : text; }

}  // namespace

const std::vector<std::string>& GenreTable() {
    static const std::vector<std::string> table = Split(kGenreNames, '|');
    return table;
}

int GenreIndexOf(const std::string& name) {
    const std::string wanted = AsciiLower(name);
    const std::vector<std::string>& table = GenreTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (AsciiLower(table[i]) == wanted) return static_cast<int>(i);
    return 255;
}

int GenreReference(const std::string& text) {
    int n = -1;
    return ReadReference(text, 0, n) == std::string::npos ? -1 : n;
}

std::string GenreText(const std::string& value) {
    size_t at = 0;
    int last = -1;
    // Leading "(n)" references; what follows them is the genre's own text.
    for (size_t next; (next = ReadReference(value, at, last)) != std::string::npos;) at = next;
    // ID3v2.4 and some 2.3 writers store the number bare: "17".
    if (at == 0 && !value.empty() && ReadNumber(value, 0, last) == value.size()) at = value.size();
    if (at < value.size()) return Unescaped(value.substr(at));
    const std::vector<std::string>& names = GenreTable();
    return last >= 0 && last < static_cast<int>(names.size()) ? names[static_cast<size_t>(last)] : value;
}

}  // namespace corvella
