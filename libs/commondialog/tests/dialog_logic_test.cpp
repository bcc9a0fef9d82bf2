#include "libs/commondialog/core/dialog_logic.h"

#include <gtest/gtest.h>

namespace {

using namespace corvella::commondialog;
using std::string;

string Nul(const string& s) {  // "a|b" with '|' standing for NUL
    string out = s;
    for (char& c : out)
        if (c == '|') c = '\0';
    return out;
}

TEST(DialogFlags, EachKindKeepsItsOwnHookBitsAndAddsTheHookLast) {
    struct Case {
        const char* name;
        uint32_t got, want;
    };
    const Case cases[] = {
        {"open &H1804 hooked: &H800 is not passed on",
         OpenFlags({false, true, true, false, 0x1804, false, true}), 0x1004 | 0x80020},
        {"open multi-select goes explorer",
         OpenFlags({true, false, false, true, 0, false, false}), 0x1 | 0x200 | 0x80000},
        {"open template only with a module",
         OpenFlags({false, false, false, false, 0x40, false, false}), 0},
        {"open template with a module",
         OpenFlags({false, false, false, false, 0x40, true, false}), 0x40},
        {"save &H1806 hides read-only, prompts", SaveFlags({true, 0x1806, false, true}), 0x6 | 0x80020},
        {"colour hooked keeps its hook", ColorFlags(false, true, false, true), 0x1 | 0x80 | 0x2 | 0x10},
        {"colour any colour, no hook", ColorFlags(true, false, true, false), 0x1 | 0x100 | 0x4},
        {"font caller's hook, template and apply bits go; ours stays",
         FontFlags(0x8 | 0x10 | 0x200, false, 0, 0, 0, true), 0x1 | 0x40 | 0x8},
        {"font colour 0 shows no effects", FontFlags(0, false, 0, 0, 0, false), 0x1 | 0x40},
        {"font colour and limits", FontFlags(0, false, 0xFF, 8, 0, false), 0x1 | 0x100 | 0x2000 | 0x40},
        {"font with a printer DC", FontFlags(0, true, 0, 0, 0, false), 0x2 | 0x40},
        {"print hooked: caller's hook/template bits gone, print hook set",
         PrintFlags({0x1000 | 0x4000 | 0x8000, true, false, false, false, true, false, false, 1, true}),
         0x8 | 0x40100 | 0x2 | 0x1000},
        {"print setup hooked uses the setup hook",
         PrintFlags({0x40, false, true, true, true, false, true, true, 2, true}),
         0x40 | 0x80000 | 0x4 | 0x20 | 0x100000 | 0x80 | 0x10 | 0x40100 | 0x1 | 0x2000},
        {"page setup inches", PageSetupFlags({true, false, true, false, 0, false}), 0x10 | 0x200 | 0x4},
        {"page setup millimetres hooked", PageSetupFlags({false, true, false, true, 1, true}),
         0x100 | 0x20 | 0x8 | 0x2000},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
    EXPECT_EQ(PrintRangeOf(0x2 | 0x1), 1);
    EXPECT_EQ(PrintRangeOf(0x1), 2);
    EXPECT_EQ(PrintRangeOf(0x100), 0);
}

TEST(DialogFilter, ConvertedAndTheChosenPair) {
    const string f = ConvertFilter("Music Playlist (*.M3U)|*.m3u|All Files (*.*)|*.*");
    EXPECT_EQ(f, Nul("Music Playlist (*.M3U)|*.m3u|All Files (*.*)|*.*||"));
    EXPECT_EQ(ConvertFilter("Drive C: files|*.*"), Nul("Drive C| files|*.*||"))
        << "a colon cuts like a bar";
    EXPECT_EQ(ConvertFilter(string(40000, 'x')).size(), 32767u + 2);
    struct Case {
        string filter;
        long index;
        string want;
    };
    const Case cases[] = {
        {f, 1, Nul("Music Playlist (*.M3U)|*.m3u")},
        {f, 2, Nul("All Files (*.*)|*.*")},
        {f, 3, ""},
        {f, 0, ""},
        {f, -1, ""},
        {ConvertFilter(""), 1, ""},
        {ConvertFilter("Only a description"), 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ChosenFilterPair(c.filter, c.index), c.want) << c.index;
}

TEST(DialogFileNames, ParseMultiFileName) {
    struct Case {
        const char* name;
        string filename;
        string dir_before;
        long count_before;
        string dir;
        std::vector<string> files;
    };
    const Case cases[] = {
        {"multi-selection", Nul("C:\\Music|a.mp3|b.mp3||"), "", 0, "C:\\Music", {"a.mp3", "b.mp3"}},
        {"multi-selection continues the caller's list", Nul("C:\\M|c.mp3||"), "", 1, "C:\\M", {"", "c.mp3"}},
        {"one file from a multi-select dialog", Nul("C:\\Music\\a.mp3|||"), "", 0, "", {"C:\\Music\\a.mp3"}},
        {"a caller's folder keeps every piece a file", Nul("X|a||"), "D", 0, "D", {"X", "a"}},
        {"single file", "C:\\Music\\a.mp3", "", 5, "C:\\Music", {"a.mp3"}},
        {"backslash first", "\\file.mp3", "old", 0, "", {"\\file.mp3"}},
        {"no folder", "file.mp3", "", 0, "", {"file.mp3"}},
    };
    for (const auto& c : cases) {
        string dir = c.dir_before;
        std::vector<string> files(static_cast<size_t>(c.count_before));
        long count = c.count_before;
        ParseMultiFileName(c.filename, dir, files, count);
        EXPECT_EQ(dir, c.dir) << c.name;
        EXPECT_EQ(files, c.files) << c.name;
        EXPECT_EQ(count, static_cast<long>(c.files.size())) << c.name;
    }
}

TEST(DialogFileNames, BuffersRefuseWhatLeavesNoTerminator) {
    EXPECT_EQ(PadToBuffer("abc", 5), string("abc\0\0", 5));
    EXPECT_FALSE(PadToBuffer(string(260, 'a'), kFileBuffer)) << "as long as the buffer";
    EXPECT_FALSE(PadToBuffer(string(300, 'a'), kFileBuffer));
    EXPECT_TRUE(PadToBuffer(string(259, 'a'), kFileBuffer));
    EXPECT_EQ(CutAtNul(string("a.mp3\0junk", 10)), "a.mp3");
}

TEST(DialogUnits, FontsAndMargins) {
    EXPECT_EQ(FontHeight(12, 15), -16);
    EXPECT_EQ(PointSizeTenths(12), 120);
    EXPECT_EQ(PointSizeTenths(8.25), 82) << "half to even";
    EXPECT_DOUBLE_EQ(PointsFromTenths(95), 9.5);
    EXPECT_EQ(MarginToDialog(25.4f, 1), 2540);
    EXPECT_EQ(MarginToDialog(1.0f, 0), 1000);
    EXPECT_FLOAT_EQ(MarginFromDialog(2540, 1), 25.4f);
    EXPECT_FLOAT_EQ(MarginFromDialog(750, 0), 0.75f);

    const auto face = FaceNameField(string(40, 'F'));
    EXPECT_EQ(face[30], 'F');
    EXPECT_EQ(face[31], '\0') << "a long face name is cut and terminated";
    EXPECT_EQ(string(FaceNameField("Arial").data()), "Arial");
}

TEST(DialogErrors, NumbersAndTheHelpRecord) {
    EXPECT_EQ(DialogErrorNumber(1, true), 13451);
    EXPECT_EQ(DialogErrorNumber(0x3003, false), 0x348A | 0x3003);
    EXPECT_EQ(DialogErrorNumber(0, true), 20001);
    EXPECT_EQ(DialogErrorNumber(0, false), 0);
    EXPECT_EQ(HelpErrorNumber(2), 2);
    EXPECT_EQ(HelpErrorNumber(0), kErrInvalidArgument) << "never 0, which reads as success";
    EXPECT_TRUE(IsRefusedHelpCommand(0x201));
    EXPECT_TRUE(IsRefusedHelpCommand(0x203));
    EXPECT_FALSE(IsRefusedHelpCommand(3));

    const auto r = HelpWinInfo(1, 2, 300, -1, 5);
    const unsigned char want[26] = {26, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0x2C, 1, 0, 0,
                                    0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(r.begin(), r.end(), want));
}

TEST(DialogCentre, OriginOverTheTarget) {
    const auto o = CentredOrigin({0, 0, 200, 100}, {100, 50, 501, 351});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->first, 100 + (401 - 200) / 2);
    EXPECT_EQ(o->second, 50 + (301 - 100) / 2);
    EXPECT_EQ(CentredOrigin({0, 0, 500, 500}, {0, 0, 100, 100})->first, -200) << "a larger dialog";
    EXPECT_FALSE(CentredOrigin({0, 0, 10, 10}, {0, 0, 0, 100}));
    EXPECT_FALSE(CentredOrigin({0, 0, 10, 10}, {0, 0, 100, 0}));
}

}  // namespace
