#include <gtest/gtest.h>

#include "libs/tags/ID3v1/core/genres.h"

namespace corvella {
namespace {

TEST(GenreTable, HoldsTheNamesInByteOrderWithTheirSpellings) {
    const std::vector<std::string>& table = GenreTable();
    ASSERT_EQ(table.size(), 148u);
    const struct { size_t index; const char* name; } expected[] = {
        {0, "Blues"}, {14, "R&B"}, {17, "Rock"}, {40, "Alt. Rock"}, {67, "Phychedelic"},
        {78, "Rock & Roll"}, {90, "Avantegarde"}, {117, "power Ballad"}, {125, "Dance Hall"},
        {126, "Goa"}, {131, "indie"}, {133, "Negerpunk"}, {140, "Comteporary Christian"},
        {147, "Synth Pop"},
    };
    for (const auto& e : expected) EXPECT_EQ(table[e.index], e.name) << e.index;
    for (const std::string& name : table) {
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find('|'), std::string::npos) << name;
    }
}

TEST(GenreTable, IndexOfIgnoresCaseButNotBlanks) {
    const struct { const char* text; int index; } cases[] = {
        {"rock", 17}, {"ROCK", 17}, {"Blues", 0}, {"synth pop", 147}, {"INDIE", 131},
        {"Power ballad", 117}, {"Rock ", 255}, {" Rock", 255}, {"", 255}, {"Rockabilly", 255},
    };
    for (const auto& c : cases) EXPECT_EQ(GenreIndexOf(c.text), c.index) << '"' << c.text << '"';
}

TEST(GenreTable, EveryNameFindsItsOwnByte) {
    // Also proves no two names differ only in case (the first would win).
    const std::vector<std::string>& table = GenreTable();
    for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(GenreIndexOf(table[i]), static_cast<int>(i));
}

// ID3v2 genres as shown: numbers, bare or in brackets, by their names.
TEST(GenreTable, TextShowsNumbersByName) {
    const struct { const char* stored; const char* shown; } cases[] = {
        {"17", "Rock"}, {"0", "Blues"}, {"147", "Synth Pop"}, {"017", "Rock"}, {"(17)", "Rock"},
        {"148", "148"}, {"99999999999", "99999999999"}, {"2 Step", "2 Step"}, {"17 ", "17 "}, {"-1", "-1"},
        {"Rock", "Rock"}, {"((17)", "(17)"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GenreText(c.stored), c.shown) << '"' << c.stored << '"';
}

}  // namespace
}  // namespace corvella
