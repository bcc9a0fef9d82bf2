// The main window's settings under HKEY_CURRENT_USER\Software\Corvella\Layout\Main:
// one table of the values with the type each is stored as, the read of a
// start (defaults written for missing values, each value clamped
// to what the window can use) and the write of a close.
//
// A value that cannot be read, or that is out of range, never ends the
// read: it gives its default (or its nearest usable value) and the next
// value is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/foundation/settings_store.h"

namespace corvella::mainwindow {

extern const char kLayoutSection[];          // "Software\Corvella\Layout\Main"
extern const char kFieldsWidthSection[];     // ...\Fields Width
extern const char kFieldsPositionSection[];  // ...\Fields Position
extern const char kOptionsSection[];         // "Software\Corvella\Options"

// How a value is stored: Single and Integer as text, Long as REG_DWORD,
// Boolean as "True"/"False".
enum class StoredAs { kSingle, kLong, kInteger, kBoolean, kString };

struct LayoutValue {
    const char* name;
    StoredAs type;
};

// The values in the order a close writes them (position and size first).
const std::vector<LayoutValue>& LayoutValues();

struct MainLayout {
    int32_t width = 0, height = 0, left = 0, top = 0;  // twips
    int32_t splitterV = 0, splitterH = 0;
    std::string folder = "Desktop";
    bool recursive = false;
    int32_t tagVersion = 0;  // 0 ID3v1, 1 ID3v2
    int32_t viewMode = 3;    // 0..3
    bool showFolderBar = true, showStatusBar = true, showTipBar = false;
    int32_t sortColumn = 1, sortDirection = 0;
    bool showTagBar = true;
    int32_t ellipsis = 0, updateBoth = 0;  // check-box values 0..1
};

// What the window offers where nothing is stored, and the bounds it reads
// against.
struct LayoutLimits {
    MainLayout defaults;  // design size, centred position, design splitters
    int32_t workWidth = 0, workHeight = 0;  // twips of the screen's work area
    int32_t minWidth = 0, minHeight = 0;    // the window's least size in twips
    int32_t columnCount = 13;
};

// Reads the values in table order, writing defaults for missing ones.
MainLayout ReadMainLayout(SettingsStore& store, const LayoutLimits& limits);

// Writes the values; position and size only when `normalState`.
void SaveMainLayout(SettingsStore& store, const MainLayout& layout, bool normalState);

// Column widths and display order by header text. Reads give the default
// (1700 twips; the column's own position) for what is missing or unusable;
// an order that is no permutation of 0..n-1 gives the design order.
int32_t ReadColumnWidth(SettingsStore& store, const std::string& header);
std::vector<int32_t> ReadColumnOrder(SettingsStore& store, const std::vector<std::string>& headers);
void SaveColumns(SettingsStore& store, const std::vector<std::string>& headers,
                 const std::vector<int32_t>& widths, const std::vector<int32_t>& order);

// "Auto-Check" under Options (default 1): every listed row ticked.
bool ReadAutoCheck(SettingsStore& store);

}  // namespace corvella::mainwindow
