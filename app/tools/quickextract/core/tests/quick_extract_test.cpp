#include "app/tools/quickextract/core/quick_extract.h"

#include <gtest/gtest.h>

#include "app/foundation/masks.h"

namespace corvella {
namespace quickextract {
namespace {

struct NoTags : foundation::TagFieldSource {
    std::optional<std::string> FieldText(int) override { return std::string(); }
    bool ReadTag(const std::string&) override { return true; }
};

// Each listed piece is what its token gives a file of that name, for every
// separator kind; a separator the token cannot carry offers no token.
TEST(QuickExtract, PiecesAreWhatTheTokenGives) {
    const struct {
        int choice, predefined;
        std::string custom, text;
        std::vector<std::string> pieces;
        bool canMap;
    } cases[] = {
        {0, 0, "", "Artist - Album - 01 - Title", {"Artist", "Album", "01", "Title"}, true},
        {0, 1, "", "a _ b", {"a", "b"}, true},
        {0, 2, "", "a . b . c", {"a", "b", "c"}, true},
        {0, 3, "", "a--b", {"a", "", "b"}, true},
        {0, 4, "", "x_y", {"x", "y"}, true},
        {0, 5, "", "x.y", {"x", "y"}, true},
        {1, 0, " ", "one two", {"one", "two"}, true},
        {1, 0, "feat", "Artist FEAT Guest", {"Artist", "Guest"}, true},  // letters in any case
        {1, 0, "", "whole name", {"whole name"}, true},
        {1, 0, "#", "a#b", {"a", "b"}, false},
        {1, 0, " : ", "a : b", {"a", "b"}, false},
        {0, 9, "", "a - b", {"a - b"}, true},  // a stored index outside the list
    };
    for (const auto& c : cases) {
        const std::string sep = Separator(c.choice, c.predefined, c.custom);
        const std::vector<std::string> pieces = Pieces(c.text, sep);
        EXPECT_EQ(pieces, c.pieces) << c.text;
        EXPECT_FALSE(CanMap(-1, sep)) << "no piece selected";
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_EQ(CanMap(static_cast<int>(i), sep), c.canMap) << c.text;
            if (!c.canMap) continue;
            NoTags v1, v2;
            const foundation::MaskExpansion e = foundation::ExpandTagMask(
                "C:\\Music\\" + c.text + ".mp3", 1, 0, MapToken(static_cast<int>(i), sep), 1, 1, v1, v2);
            EXPECT_TRUE(e.ok() && e.value == pieces[i]) << c.text << " piece " << i << ": " << e.value;
        }
    }
    EXPECT_TRUE(Pieces("", " - ").empty());
}

}  // namespace
}  // namespace quickextract
}  // namespace corvella
