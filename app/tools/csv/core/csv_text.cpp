#include "app/tools/csv/core/csv_text.h"

#include "app/foundation/paths.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace csv {

const char* const kColumns[kColumnCount] = {"Filename", "Path",    "Title", "Artist",         "Album", "Year",
                                            "Track",    "Genre",   "Comment", "KBps", "File Size (KB)", "Length"};

namespace {

enum class Source { FileName, Folder, Cell, BitRate, SizeKB, PlayTime };

struct Column {
    const char* label;
    Source source;
    int cell;  // the row's sub-item for Source::Cell
};

// By kColumns' index; tag columns read the row's sub-items 1 to 7.
const Column kTable[kColumnCount] = {
    {"Filename", Source::FileName, 0},
    {"Path", Source::Folder, 0},
    {"Title", Source::Cell, 1},
    {"Artist", Source::Cell, 2},
    {"Album", Source::Cell, 3},
    {"Year", Source::Cell, 4},
    {"Track", Source::Cell, 7},
    {"Genre", Source::Cell, 6},
    {"Comment", Source::Cell, 5},
    {"KBps", Source::BitRate, 0},
    {"File Size KB", Source::SizeKB, 0},
    {"Length", Source::PlayTime, 0},
};

const Column* Find(const std::string& name) {
    for (int i = 0; i < kColumnCount; ++i)
        if (name == kColumns[i]) return &kTable[i];
    return nullptr;
}

// The value between double quotes, each double quote in it doubled.
std::string Quote(const std::string& value) {
    std::string out;
    out.reserve(value.size() + 2);
    out += '"';
    for (char ch : value) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
    return out;
}

bool IsAudio(Source s) { return s == Source::BitRate || s == Source::SizeKB || s == Source::PlayTime; }

std::string Value(const Column& c, const FileRow& row, const AudioFacts& audio) {
    switch (c.source) {
        case Source::FileName: return GetFileTitle(row.path, true);
        case Source::Folder: return GetFolderPath(row.path);
        case Source::Cell:
            return static_cast<size_t>(c.cell) <= row.cells.size() ? row.cells[static_cast<size_t>(c.cell - 1)]
                                                                   : std::string();
        case Source::BitRate: return audio.bitRate;
        case Source::SizeKB: return audio.sizeKB;
        case Source::PlayTime: return audio.playTime;
    }
    return std::string();
}

}  // namespace

AudioFacts FileAudioSource::Read(const std::string& path) {
    AudioFacts facts;
    std::unique_ptr<File> file = fs_.open(path, false);
    uint64_t size = 0;
    if (!file || !file->size(size)) return facts;
    facts.sizeKB = std::to_string(size / 1024);
    header_.ReadMP3Header(*file);
    facts.bitRate = header_.BitRate();
    facts.playTime = header_.playTime();
    return facts;
}

std::string BuildCSVText(const std::vector<std::string>& columns, const std::vector<FileRow>& rows,
                         AudioSource& audio) {
    std::vector<const Column*> chosen;
    bool needsAudio = false;
    for (const std::string& name : columns) {
        if (const Column* c = Find(name)) {
            chosen.push_back(c);
            needsAudio = needsAudio || IsAudio(c->source);
        }
    }
    std::string text;
    auto line = [&](auto&& valueOf) {
        for (size_t i = 0; i < chosen.size(); ++i) {
            if (i > 0) text += ',';
            text += Quote(valueOf(*chosen[i]));
        }
        text += "\r\n";
    };
    line([](const Column& c) { return std::string(c.label); });
    for (const FileRow& row : rows) {
        const AudioFacts facts = needsAudio ? audio.Read(row.path) : AudioFacts();
        line([&](const Column& c) { return Value(c, row, facts); });
    }
    return text;
}

std::string FileBytes(const std::string& text) { return TrimBlanks(text) + "\r\n"; }

std::string CsvPath(const std::string& chosen, bool& appended) {
    appended = false;
    if (chosen.empty()) return "";
    if (chosen.size() >= 4 && LowerAscii(chosen.substr(chosen.size() - 4)) == ".csv") return chosen;
    appended = true;
    return chosen + ".csv";
}

bool WriteCsv(FileSystem& fs, const std::string& path, const std::string& bytes, std::string& error) {
    const bool ok = write_whole_file(fs, path, bytes);
    if (!ok) error = "The file \"" + path + "\" could not be written.";
    return ok;
}

}  // namespace csv
}  // namespace corvella
