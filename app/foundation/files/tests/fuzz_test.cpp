// Tag texts of any bytes: whatever comes in, the name that comes out is
// one Windows takes and fits its limits. Seeded, so every run tries the
// same inputs.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/foundation/files/name_cleaner.h"

namespace corvella {
namespace files {
namespace {

std::string RandomText(std::mt19937& rng) {
    static const char* const kPieces[] = {"CON", "nul", "Com7", "LPT1", "clock$", ".", " ", "..", "\t", "\\",
                                          "/",   ":",   "?",    "\"",   "é",      "AC", "x"};
    std::string s;
    for (size_t n = rng() % 40; n > 0; --n) {
        if (rng() % 3 == 0) {
            s += static_cast<char>(rng());
        } else {
            s += kPieces[rng() % (sizeof kPieces / sizeof *kPieces)];
        }
    }
    return s;
}

void ExpectWindowsTakes(const std::string& name, const std::string& from, bool clock) {
    if (name.empty()) return;
    for (char c : name) {
        ASSERT_FALSE(static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr) << from;
    }
    EXPECT_NE(name.front(), ' ') << from;
    EXPECT_NE(name.back(), ' ') << from;
    EXPECT_NE(name.back(), '.') << from;
    EXPECT_FALSE(IsDeviceName(name.substr(0, name.find('.')), clock)) << from;
}

TEST(NameFuzz, EveryTextGivesANameWindowsTakes) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomText(rng);
        const NameRules rules{rng() % 2 == 0 ? 0 : rng() % 12 + 1, rng() % 2 == 0};
        const std::string name = CleanName(text, rules);
        ExpectWindowsTakes(name, text, rules.clockDevice);
        if (rules.maxLength > 0) EXPECT_LE(name.size(), rules.maxLength) << text;
        const std::string folder = "C:\\" + std::string(rng() % 30, 'f') + "\\";
        const size_t limit = rng() % 40 + 1;
        const std::string fitted = FitName(folder, name, ".mp3", limit);
        if (!fitted.empty()) {
            EXPECT_LE(folder.size() + fitted.size(), limit) << text;
            ExpectWindowsTakes(fitted.substr(0, fitted.size() - 4), text, false);
        }
    }
}

}  // namespace
}  // namespace files
}  // namespace corvella
