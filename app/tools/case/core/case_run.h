// The letter-case change of chosen tag fields over the listed files: for
// each file, in the ID3v1 tag, the ID3v2 tag or both (ID3v1 first), every
// ticked field is read, put through ChangeCase and set back; the tag is
// written only when a value changed, so an untagged file gets no empty tag
// and an unchanged tag is not rewritten.
//
// Portable: the tags are reached through tags::TagObject, the progress
// window through the batch runner's view.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/foundation/batch.h"
#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"

namespace corvella {
namespace tagcase {

inline const char kCaption[] = "Updating Tag Information...";

// The field boxes the form offers and keeps; Track (6) is never converted.
inline constexpr int kKeptFields[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11};

// The form's choices, as list indexes and ticks.
struct CaseChoice {
    int newCase = 0;       // 0 "Initial Case", 1 "Upper Case", 2 "Lower Case": ChangeCase's mode
    int applyVersion = 2;  // 0 ID3v1, 1 ID3v2, 2 both
    int applyTo = 1;       // 0 "Selected File", 1 "All Files"
    std::array<bool, tags::kFieldCount> fields{};  // by field index
};

// The settings under Software\Corvella\Options\Case: "New Case",
// "Apply Version", "Apply To" (Integers, stored as text) and the boxes "0"
// to "11" but 6 (Longs). A missing value is written with its default; a
// stored list index outside its list gives the default, a check value
// other than 0 or 1 an empty box.
CaseChoice ReadCaseSettings(SettingsStore& store);
// Writes them back as Integers.
void SaveCaseSettings(SettingsStore& store, const CaseChoice& choice);

// "&Update" is offered when at least one field is ticked.
bool AnyFieldTicked(const std::array<bool, tags::kFieldCount>& fields);

// The files a run works on: the selected row's, or every row's in list
// order; none without a selected row, or without rows.
std::vector<std::string> FilesToConvert(const CaseChoice& choice, const FileSet& files);

// Converts the ticked fields of one file's tag of one version; writes only
// when a value changed. ID3v1 has fields 0 to 6 only. False when the file
// could not be read or its changed tag not written.
bool ConvertTag(tags::TagObject& tag, int fieldCount, const std::string& path, const CaseChoice& choice,
                bool& wrote);

// The run over `paths` under the batch view: ID3v1 before ID3v2 for each
// file. A file whose tag could not be read or written is a failed item.
// `tagsWritten` counts the tags written (a file with both versions twice).
batch::BatchOutcome ConvertFiles(const CaseChoice& choice, const std::vector<std::string>& paths,
                                 const tags::TagPair& tags, batch::BatchView& view, int* tagsWritten = nullptr);

}  // namespace tagcase
}  // namespace corvella
