// The CSV export of the main list: the columns the user can pick, the text
// written for the listed rows, the name of the file and its write.
//
// Every value stands between double quotes; a double quote inside a value
// is doubled, so commas, quotes and line breaks of tag text come back as
// they were in any CSV reader. Text is 8-bit, in the system code page, and
// every line ends with CR LF; the file ends with one empty line.
//
// Portable: files are reached through corvella::FileSystem; the audio
// columns come from the file's first MPEG audio frame header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/foundation/file_set.h"
#include "app/foundation/mpeg_header.h"
#include "libs/common/storage/storage.h"

namespace corvella {
namespace csv {

// The available columns, in the order the form offers them.
inline constexpr int kColumnCount = 12;
extern const char* const kColumns[kColumnCount];

// The save dialog. No "file must exist" flag: Windows 95 to XP enforce it
// in a save dialog too, which then refuses every new name.
inline const char kDialogTitle[] = "Save CSV As...";
inline const char kDialogFilter[] = "Comma Seperated Valus File (*.CSV)|*.CSV";
inline const char kDefaultExt[] = "csv";
// Overwrite prompt, hide read-only, path must exist.
constexpr uint32_t kDialogFlags = 0x0806;

// What the audio columns show for one file.
struct AudioFacts {
    std::string bitRate;   // "KBps"
    std::string sizeKB;    // "File Size (KB)": whole kilobytes
    std::string playTime;  // "Length"
};

// The audio facts of a file by its path.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual AudioFacts Read(const std::string& path) = 0;
};

// Over the file system: one open per file for its size and its first frame
// header. A file that cannot be opened (gone, locked) gives empty facts.
class FileAudioSource : public AudioSource {
public:
    explicit FileAudioSource(FileSystem& fs) : fs_(fs) {}
    AudioFacts Read(const std::string& path) override;

private:
    FileSystem& fs_;
    foundation::CMP3Header header_;
};

// The whole export: the header line of `columns` (in export order; "File
// Size (KB)" is labelled "File Size KB"), then one line per row in list order. Names that are no column give nothing. The
// audio source is asked once per row, and only when an audio column is
// exported.
std::string BuildCSVText(const std::vector<std::string>& columns, const std::vector<FileRow>& rows,
                         AudioSource& audio);

// The file's bytes for the text: blanks trimmed at both ends, then CR LF.
std::string FileBytes(const std::string& text);

// The path to write for the dialog's answer: ".csv" appended unless the name
// ends in it, in any case; "" for no answer. `appended` tells whether the
// name was changed (the dialog's overwrite prompt did not see it then).
std::string CsvPath(const std::string& chosen, bool& appended);

// Writes the bytes, replacing a file of that name only when the new one is
// whole (write_whole_file). False with `error` set when it cannot be
// written; an old file then stays as it was.
bool WriteCsv(FileSystem& fs, const std::string& path, const std::string& bytes, std::string& error);

}  // namespace csv
}  // namespace corvella
