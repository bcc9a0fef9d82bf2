// Names made from real tag texts and what Windows would refuse in them.
#include "app/foundation/files/name_cleaner.h"

#include <gtest/gtest.h>

#include <set>

namespace corvella {
namespace files {
namespace {

TEST(CleanName, TagTextsBecomeNamesWindowsTakes) {
    const struct {
        std::string text;
        NameRules rules;
        std::string name;
    } cases[] = {
        {"AC/DC", {}, "ACDC"},
        {"R.E.M.", {}, "R.E.M"},
        {"Live: Vol. 2...", {}, "Live Vol. 2"},
        {"What? <Live> \"Best\" | *", {}, "What Live Best"},
        {"Con", {}, "Con_"},
        {"nul.x", {}, "nul_.x"},
        {"LPT9 .mp3", {}, "LPT9 _.mp3"},  // blanks before the dot still name the device
        {"com0", {}, "com0"},
        {"COM10", {}, "COM10"},
        {"Conquest", {}, "Conquest"},
        {"clock$", {}, "clock$"},
        {"Clock$", {0, true}, "Clock$_"},
        {" .. ", {}, ""},
        {"\t", {}, ""},
        {"A\tB\x1f" "C", {}, "ABC"},
        {std::string("Nul\0l", 5), {}, "Null"},
        {"   Intro   ", {}, "Intro"},
        {std::string(300, 'x'), {64}, std::string(64, 'x')},
        {std::string(300, 'x'), {}, std::string(300, 'x')},
        {std::string(62, 'x') + " . y", {64}, std::string(62, 'x')},  // cut, then trimmed
        {"aux." + std::string(70, 'e'), {64}, "aux_." + std::string(59, 'e')},
        {"Aux", {3}, "Au_"},
    };
    for (const auto& c : cases) EXPECT_EQ(CleanName(c.text, c.rules), c.name) << c.text;
}

TEST(FitName, LongStemsAreCutToThePathLimit) {
    const std::string folder = "C:\\Music\\";  // 9 characters
    const struct {
        std::string stem, ext;
        size_t limit;
        std::string name;
    } cases[] = {
        {"Intro", ".mp3", kMaxPath, "Intro.mp3"},
        {std::string(300, 'a'), ".mp3", kMaxPath, std::string(246, 'a') + ".mp3"},
        {"Track 1 . . .", ".mp3", 9 + 11 + 4, "Track 1.mp3"},
        {"Track", ".mp3", 9 + 4, ""},          // no room for one character
        {"Track", ".mp3", 9 + 2, ""},          // not even for the extension
        {"Conquest", ".mp3", 9 + 3 + 4, "Co_.mp3"},  // cut to a device name
        {"Conquest", ".mp3", 9 + 4 + 4, "Conq.mp3"},
    };
    for (const auto& c : cases) {
        const std::string name = FitName(folder, c.stem, c.ext, c.limit);
        EXPECT_EQ(name, c.name) << c.stem << " " << c.limit;
        EXPECT_LE(folder.size() + name.size(), c.limit);
    }
}

TEST(FreeName, ATakenNameGivesTheFirstFreeNumberWithinThePathLimit) {
    const std::string folder = "C:\\Music\\";  // 9 characters
    const struct {
        std::string stem;
        std::set<std::string> taken;  // names in the folder
        size_t limit;
        std::string name;
    } cases[] = {
        {"01", {}, kMaxPath, "01.mp3"},
        {"01", {"01.mp3", "01 (2).mp3", "01 (4).mp3"}, kMaxPath, "01 (3).mp3"},
        {std::string(300, 'a'), {std::string(246, 'a') + ".mp3"}, kMaxPath, std::string(242, 'a') + " (2).mp3"},
        {"Live. Vol", {"Live. Vol.mp3"}, 9 + 9 + 4, "Live (2).mp3"},  // cut, then trimmed
        {"Track", {"Trac.mp3"}, 9 + 8, ""},                             // no room for a number
    };
    for (const auto& c : cases) {
        const std::string name = FreeName(folder, c.stem, ".mp3", [&](const std::string& path) {
            return c.taken.count(path.substr(folder.size())) != 0;
        }, c.limit);
        EXPECT_EQ(name, c.name) << c.stem;
        EXPECT_LE(folder.size() + name.size(), c.limit) << c.stem;
    }
    int looks = 0;
    EXPECT_EQ(FreeName(folder, "01", ".mp3", [&](const std::string&) { return ++looks, true; }), "");
    EXPECT_EQ(looks, kMaxCopyNumber);  // a full folder ends the search
}

}  // namespace
}  // namespace files
}  // namespace corvella
