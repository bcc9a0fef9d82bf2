#include "app/tools/quickextract/core/quick_extract.h"

#include <gtest/gtest.h>

#include <optional>

#include "app/foundation/masks.h"

namespace corvella {
namespace quickextract {
namespace {

struct NoTags : foundation::TagFieldSource {
    std::optional<std::string> FieldText(int) override { return std::string(); }
    bool ReadTag(const std::string&) override { return true; }
};

// Each piece the list shows is what the token for it gives a file of that
// name: the list and the mask expansion cut the name by one rule.
TEST(QuickExtract, PiecesAreWhatTheTokenGives) {
    struct Case {
        int choice, predefined;
        std::string custom, text;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {0, 0, "", "Artist - Album - 01 - Title", {"Artist", "Album", "01", "Title"}},
        {0, 1, "", "a _ b", {"a", "b"}},
        {0, 2, "", "a . b . c", {"a", "b", "c"}},
        {0, 3, "", "a - b", {"a", "b"}},
        {0, 3, "", "a--b", {"a", "", "b"}},
        {0, 4, "", "x_y", {"x", "y"}},
        {0, 5, "", "x.y", {"x", "y"}},
        {1, 0, " ", "one two", {"one", "two"}},
        // Letters in the separator match in any case, as in the expansion.
        {1, 0, "feat", "Artist FEAT Guest", {"Artist", "Guest"}},
        {1, 0, "", "whole name", {"whole name"}},
    };
    for (const Case& c : cases) {
        const std::string sep = Separator(c.choice, c.predefined, c.custom);
        const std::vector<std::string> pieces = Pieces(c.text, sep);
        EXPECT_EQ(pieces, c.pieces) << c.text;
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_TRUE(CanMap(static_cast<int>(i), sep)) << sep;
            NoTags v1, v2;
            const foundation::MaskExpansion e = foundation::ExpandTagMask(
                "C:\\Music\\" + c.text + ".mp3", 1, 0, MapToken(static_cast<int>(i), sep), 1, 1, v1, v2);
            ASSERT_TRUE(e.ok()) << c.text << " piece " << i;
            EXPECT_EQ(e.value, pieces[i]) << c.text << " piece " << i;
        }
    }
}

TEST(QuickExtract, TokensThatCannotWorkAreRefused) {
    struct Case {
        int selected;
        std::string separator;
        bool can;
    } const cases[] = {
        {-1, " - ", false}, {0, "a#b", false}, {2, ":", false}, {0, " : ", false}, {0, " - ", true}, {3, "", true},
    };
    for (const auto& c : cases) EXPECT_EQ(CanMap(c.selected, c.separator), c.can) << c.selected << c.separator;
    EXPECT_EQ(MapToken(2, " - "), "#Map#2: - #");
    EXPECT_EQ(Separator(2, 9, "x"), "") << "a stored index outside the list";
    EXPECT_EQ(Separator(5, 0, "x"), "");
    EXPECT_TRUE(Pieces("", " - ").empty());
}

}  // namespace
}  // namespace quickextract
}  // namespace corvella
