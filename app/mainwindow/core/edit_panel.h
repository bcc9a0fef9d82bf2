// The edit panel's rules that need no window: the field menu's tree and
// what each of its keys writes, the genre box's type-ahead, the column
// header's rules and the command keys that open a tool window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvella::mainwindow {

// One menu line: depth 0 is the top level, 1 under the last depth-0 line.
struct MenuEntry {
    int depth;
    std::string caption;
    std::string key;
};

constexpr int kTrackField = 6;
constexpr int kGenreField = 5;

// The order item the Track field's menu offers; keyed apart from the
// pre-defined "Track" item so that the key operations meet only it.
inline const char kTrackOrderKey[] = "mnuTrackOrder";
inline const char kTrackOrderCaption[] = "Add Based on Order in Main Window";
inline const char kTrackOrderSeparatorKey[] = "sep";

// The field menu as built: the pre-defined tokens, the user-defined fields,
// the pieces of the selected file's name (none without a selected row) and
// the extract items. The Track field's extra items are not in it.
std::vector<MenuEntry> FieldMenuEntries(const std::vector<std::string>& userFields,
                                        const std::vector<std::string>& namePieces);

// A user's text (a custom field, a piece of a file name) as a menu caption
// that shows it as typed: "&" doubled, so it makes no mnemonic, and a lone
// "-" kept from becoming a separator. LiteralCaptionText gives the text back.
std::string LiteralCaption(const std::string& text);
std::string LiteralCaptionText(const std::string& caption);

// The token a key of the field menu writes; "" for keys that write no
// token (extract, parse, customise, user fields and name pieces).
std::string FieldMenuToken(const std::string& key);

// The genre box's type-ahead takes printable characters and backspace; any
// other character (Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Enter, Escape...) keeps
// its usual meaning and never reaches the text.
bool GenreTypeAheadTakes(int keyAscii);

// The header rule for a column being resized (1-based; 1 the check-box
// column): true cancels. A hidden column (width 0) cannot be dragged open,
// except the Title column (2), which no menu item brings back.
bool CancelColumnTrack(long column, int32_t widthTwips);

// The width a column of the column menu gets when shown again.
constexpr int32_t kShownColumnWidth = 1400;

}  // namespace corvella::mainwindow
