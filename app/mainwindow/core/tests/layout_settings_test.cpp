#include "app/mainwindow/core/layout_settings.h"

#include <gtest/gtest.h>

#include "app/foundation/memory_store.h"
#include "app/foundation/settings.h"

namespace corvella::mainwindow {
namespace {

constexpr int32_t kHkcu = static_cast<int32_t>(0x80000001u);

LayoutLimits Limits() {
    LayoutLimits l;
    l.defaults.width = 12000;
    l.defaults.height = 9000;
    l.defaults.left = 1000;
    l.defaults.top = 800;
    l.defaults.splitterV = 3000;
    l.defaults.splitterH = 4000;
    l.workWidth = 19200;
    l.workHeight = 14000;
    l.minWidth = 8250;
    l.minHeight = 6000;
    return l;
}

int32_t StoredType(MemoryStore& s, const char* section, const char* name) {
    int32_t type = 0;
    std::vector<uint8_t> data;
    EXPECT_TRUE(s.QueryValue(kHkcu, section, name, type, data)) << name;
    return type;
}

TEST(LayoutSettings, EmptyKeyGivesDefaultsAndWritesThemTyped) {
    MemoryStore store;
    MainLayout m = ReadMainLayout(store, Limits());
    EXPECT_EQ(m.width, 12000);
    EXPECT_EQ(m.left, 1000);
    EXPECT_EQ(m.folder, "Desktop");
    EXPECT_EQ(m.tagVersion, 0);
    EXPECT_EQ(m.viewMode, 3);
    EXPECT_TRUE(m.showFolderBar && m.showStatusBar && m.showTagBar);
    EXPECT_FALSE(m.showTipBar || m.recursive);
    EXPECT_EQ(m.sortColumn, 1);
    // Singles and Integers as text, Longs as DWORD, flags as text.
    EXPECT_EQ(StoredType(store, kLayoutSection, "Width"), 1);
    EXPECT_EQ(StoredType(store, kLayoutSection, "Left"), 4);
    EXPECT_EQ(StoredType(store, kLayoutSection, "Sort Column"), 1);
    EXPECT_EQ(StoredType(store, kLayoutSection, "Show Tag Bar"), 1);
}

TEST(LayoutSettings, OutOfRangeValuesAreClampedAndTheRestIsRead) {
    struct Case { const char* name; Variant stored; };
    const Case bad[] = {
        {"Tag Version", Variant::Long(2)},     {"View Mode", Variant::Long(9)},
        {"Sort Column", Variant::Long(40)},    {"Height", Variant::Double(-1200)},
        {"Width", Variant::String("wide")},    {"Sort Direction", Variant::Long(-3)},
        {"Ellipsis", Variant::Long(7)},
    };
    MemoryStore store;
    cRegistry reg(store);
    for (const Case& c : bad) reg.SaveSetting(kHkcu, kLayoutSection, c.name, c.stored);
    reg.SaveSetting(kHkcu, kLayoutSection, "Folder", Variant::String("C:\\Music"));
    reg.SaveSetting(kHkcu, kLayoutSection, "Show Tip Bar", Variant::Boolean(true));
    reg.SaveSetting(kHkcu, kLayoutSection, "Left", Variant::Long(900000));
    MainLayout m = ReadMainLayout(store, Limits());
    EXPECT_EQ(m.tagVersion, 0);
    EXPECT_EQ(m.viewMode, 3);
    EXPECT_EQ(m.sortColumn, 1);
    EXPECT_EQ(m.sortDirection, 0);
    EXPECT_EQ(m.height, 9000);
    EXPECT_EQ(m.width, 12000);
    EXPECT_EQ(m.ellipsis, 1);
    EXPECT_LE(m.left, 19200);
    EXPECT_EQ(m.folder, "C:\\Music");
    EXPECT_TRUE(m.showTipBar);
}

TEST(LayoutSettings, SaveThenReadRoundTripsAndMaximisedKeepsPosition) {
    MemoryStore store;
    MainLayout first = ReadMainLayout(store, Limits());
    MainLayout m = first;
    m.width = 10000; m.height = 7000; m.left = 300; m.top = 200;
    m.splitterV = 3300; m.splitterH = 2500; m.folder = "C:\\Music\\";
    m.recursive = true; m.tagVersion = 1; m.viewMode = 1; m.showFolderBar = false;
    m.showTipBar = true; m.sortColumn = 4; m.sortDirection = 1; m.showTagBar = false;
    m.ellipsis = 1; m.updateBoth = 1;
    SaveMainLayout(store, m, true);
    MainLayout back = ReadMainLayout(store, Limits());
    EXPECT_EQ(back.width, 10000); EXPECT_EQ(back.top, 200);
    EXPECT_EQ(back.splitterV, 3300); EXPECT_EQ(back.folder, "C:\\Music\\");
    EXPECT_TRUE(back.recursive); EXPECT_EQ(back.tagVersion, 1); EXPECT_EQ(back.viewMode, 1);
    EXPECT_FALSE(back.showFolderBar); EXPECT_TRUE(back.showTipBar);
    EXPECT_EQ(back.sortColumn, 4); EXPECT_EQ(back.sortDirection, 1);
    EXPECT_FALSE(back.showTagBar); EXPECT_EQ(back.ellipsis, 1); EXPECT_EQ(back.updateBoth, 1);
    // Every value of the table is written by a close, as its type says.
    for (const LayoutValue& v : LayoutValues())
        EXPECT_EQ(StoredType(store, kLayoutSection, v.name), v.type == StoredAs::kLong ? 4 : 1) << v.name;

    MainLayout maximised = m;
    maximised.width = 30000;
    maximised.left = -60;
    SaveMainLayout(store, maximised, false);
    MainLayout again = ReadMainLayout(store, Limits());
    EXPECT_EQ(again.width, 10000);
    EXPECT_EQ(again.left, 300);
}

TEST(LayoutSettings, ColumnsRoundTripAndABrokenOrderFallsBack) {
    MemoryStore store;
    const std::vector<std::string> headers = {"", "Title", "Artist", "Full Path"};
    EXPECT_EQ(ReadColumnWidth(store, "Title"), 1700);
    EXPECT_EQ(ReadColumnOrder(store, headers), (std::vector<int32_t>{0, 1, 2, 3}));
    SaveColumns(store, headers, {0, 2000, 1500, 3000}, {0, 2, 1, 3});
    EXPECT_EQ(ReadColumnWidth(store, "Artist"), 1500);
    EXPECT_EQ(ReadColumnOrder(store, headers), (std::vector<int32_t>{0, 2, 1, 3}));
    cRegistry(store).SaveSetting(kHkcu, kFieldsPositionSection, "Artist", Variant::Long(2));
    EXPECT_EQ(ReadColumnOrder(store, headers), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_TRUE(ReadAutoCheck(store));
    cRegistry(store).SaveSetting(kHkcu, kOptionsSection, "Auto-Check", Variant::Long(0));
    EXPECT_FALSE(ReadAutoCheck(store));
}

}  // namespace
}  // namespace corvella::mainwindow
