// The tag apply of the main window: the edit panel's masks written into the
// selected file (single mode) or, for the pressed fields, into every ticked
// file (batch mode); every mask empty removes the tag instead.
//
// Portable: the two tag versions are reached through TagObject, which the
// program backs with its shared CID3v1 and CID3v2 objects; the progress
// window, the message loop and the message boxes through ApplyProgress.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/foundation/batch.h"
#include "app/foundation/masks.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/text_helpers.h"

namespace corvella {
namespace apply {

using tags::kFieldCount;
using tags::kGenreField;
using tags::kV1FieldCount;
using tags::TagObject;

inline const char kCaptionUpdating[] = "Updating Tag Information...";
inline const char kCaptionRemoving[] = "Removing Tag...";

// What the panel and the list hold when the user applies.
struct ApplyRequest {
    int tagVersion = 0;  // the shown version: 0 ID3v1, 1 ID3v2
    std::array<std::string, kFieldCount> masks;  // index 5 is the genre box's text
    std::array<bool, kFieldCount> pressed{};     // the field toggles
    std::vector<std::string> rowKeys;            // every row's full path, in list order
    std::vector<bool> ticked;                    // per row; missing entries are unticked
    int selectedRow = -1;                        // 0-based; -1 when no row is selected
    bool updateBoth = false;                     // the setting "Update Both"
    bool ellipsis = false;                       // the setting "Ellipsis" is 1
};

// The apply's window on the user: the progress window and the message loop
// as every batch sees them, and the parser's message.
class ApplyProgress : public batch::BatchView {
public:
    // A "#Map#" mask did not fit a file's name; called once per apply, on
    // the first such file (foundation::kParserErrorText).
    virtual void ParserError() {}
};

struct ApplyOutcome {
    bool ran = false;        // false: no row was selected, nothing was touched
    bool batch = false;
    bool removing = false;
    bool cancelled = false;  // the user cancelled; the files done stay done
    int filesDone = 0;
    // Full paths of the files that could not be read, written or stripped,
    // each once, in list order; every other file was written.
    std::vector<std::string> unwritten;
    // Full paths of the files whose tags were written, in list order.
    std::vector<std::string> written;
    // Files the Auto-Rename after the apply renamed: old path, new path.
    std::vector<std::pair<std::string, std::string>> renamed;
};

// Runs one apply. Writes both versions with updateBoth (ID3v1 first, so a
// "#Sync#" of the ID3v2 pass reads the ID3v1 tag just written). A field
// whose mask cannot be expanded keeps the file's own value. From the ID3v1
// view only the seven ID3v1 fields are taken from the panel: an "Update
// Both" leaves the ID3v2-only frames of each file as they are, and a panel
// text that only stands for a file's own ID3v2 value (StandsForID3v2Value)
// keeps that value in the file; a typed text or what a mask made is written.
// Each file is compared with its own value: the panel shows the selected
// file's fields, and a pressed field reaches other files whose values differ.
ApplyOutcome ApplyID3Update(const ApplyRequest& request, TagObject& id3v1, TagObject& id3v2,
                            ApplyProgress& progress);

// Reads the settings the apply follows, under Software\Corvella\Options:
// "Update Both" (a flag, default False) and "Ellipsis" (1 = on, default 0;
// the options dialog stores it as text, the side bar as a number).
void ReadApplySettings(SettingsStore& store, ApplyRequest& request);

// True when every mask (the genre box's text at 5) is exactly "".
bool AllFieldsEmpty(const std::array<std::string, kFieldCount>& masks);
// True when no toggle of the shown version (0 to 6 for ID3v1, 0 to 11 for
// ID3v2) is pressed.
bool NoFieldSelected(int tagVersion, const std::array<bool, kFieldCount>& pressed);

// The ID3v1 shortening: with `on`, a value of 30 characters or more gets
// "..." as its characters 28 to 30 (its length stays; the tag library cuts
// it to the field). The genre is never shortened.
std::string ShortenForID3v1(int field, const std::string& value, bool on);

// Whether `shown`, a field's text in the ID3v1 view (0 to 6), only stands
// for `v2`, the file's own ID3v2 value: it is what the ID3v1 tag holds for
// that value. A text cut to the field, with or without the Ellipsis ending
// (and a double-byte character split by the cut); a track n for "n/m"
// ("1" or "01"); a genre number or its name for "(17)Rock", "(17)" or "17";
// "" where the ID3v1 tag cannot hold the value at all (track "A1", genre
// "Chillwave"). Any other text, a typed one, does not.
bool StandsForID3v2Value(int field, const std::string& shown, const std::string& v2);

// The message shown once a batch has ended with files left unwritten: one
// line per file, as many as a message box holds (FitMessage); "" when
// there are none. The parts, for a message that names more than these.
std::vector<MessagePart> UnwrittenFilesParts(const std::vector<std::string>& paths);
std::string UnwrittenFilesMessage(const std::vector<std::string>& paths);

}  // namespace apply
}  // namespace corvella
