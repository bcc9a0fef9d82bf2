#include "app/cdrip/naming/core/output_naming.h"

#include "app/foundation/files/name_cleaner.h"
#include "app/foundation/paths.h"
#include "app/foundation/text_helpers.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::cdrip {

namespace {

constexpr uint32_t kMissing = 0xFFFFFFFFu;
// CreateDirectoryA takes at most MAX_PATH - 12 characters, so a folder
// still has room for an 8.3 name below it.
constexpr size_t kMaxFolder = 247;

const std::string& Entry(const std::vector<std::string>& list, int trackNumber) {
    static const std::string kNone;
    return trackNumber >= 1 && size_t(trackNumber) <= list.size() ? list[size_t(trackNumber) - 1] : kNone;
}

// One part of a file name: refused characters and control codes dropped,
// blanks trimmed at both ends, dots at the end. Device names matter only for
// the whole name.
std::string PartText(const std::string& text) {
    std::string kept;
    for (char c : MakeValidFileName(text))
        if (static_cast<unsigned char>(c) >= 0x20) kept += c;
    const size_t last = kept.find_last_not_of(" .");
    if (last == std::string::npos) return std::string();
    const size_t first = kept.find_first_not_of(' ');
    return kept.substr(first, last + 1 - first);
}

}  // namespace

std::string GetFileNamePart(const DiscData& disc, int selector, int trackNumber) {
    switch (selector) {
    case 1: return disc.Mixed ? Entry(disc.Artists, trackNumber) : disc.Artist;
    case 2: return disc.Album;
    case 3: return std::to_string(trackNumber);
    case 4: return Entry(disc.Titles, trackNumber);
    default: return std::string();
    }
}

std::vector<std::string> FolderLevels(const NamingOptions& options, const DiscData& disc) {
    std::vector<std::string> levels;
    if (!options.folderScheme) return levels;
    // Level 1 lists "Artist", "Album"; level 2 "Do Not Use", "Artist", "Album".
    const std::string* names[2] = {options.folders[0] == 0 ? &disc.Artist : &disc.Album, nullptr};
    if (options.folders[1] == 1) names[1] = &disc.Artist;
    else if (options.folders[1] == 2) names[1] = &disc.Album;
    for (const std::string* name : names) {
        if (!name) continue;
        std::string clean = files::CleanName(*name);
        if (!clean.empty()) levels.push_back(std::move(clean));
    }
    return levels;
}

std::string FileStem(const NamingOptions& options, const DiscData& disc, int trackNumber) {
    if (!options.fileScheme || disc.Album.empty()) return TwoDigits(trackNumber);
    // Parts are cleaned one by one, so a part that is all refused
    // characters adds nothing, not even its " - ".
    std::string name = PartText(GetFileNamePart(disc, options.filename[0] + 1, trackNumber));
    for (int k = 1; k <= 3; ++k) {
        if (options.filename[k] == 0) continue;
        const std::string part = PartText(GetFileNamePart(disc, options.filename[k], trackNumber));
        if (part.empty()) continue;
        if (!name.empty()) name += " - ";
        name += part;
    }
    // Again as a whole: "Con" and "" are only known once joined.
    name = files::CleanName(name);
    if (name.empty()) return TwoDigits(trackNumber);
    if (options.changeCase) name = ChangeCase(name, options.fileCase);
    return name;
}

std::string MakeOutputFolder(const std::string& outputPath, const NamingOptions& options,
                             const DiscData& disc, files::FileOps& ops, std::string* failed) {
    std::string path = AddBackslash(outputPath);
    for (const std::string& level : FolderLevels(options, disc)) {
        const std::string name = files::FitName(path, level, "", kMaxFolder);
        if (name.empty()) break;  // no room for another level: the files go here
        const std::string folder = path + name;
        if (ops.Attributes(folder) == kMissing && !ops.MakeFolder(folder)) {
            if (failed) *failed = folder;
            return std::string();
        }
        path = folder + "\\";
    }
    return path;
}

std::string OutputFile(const std::string& folder, const NamingOptions& options, const DiscData& disc,
                       int trackNumber) {
    const std::string path = AddBackslash(folder);
    const std::string name = files::FitName(path, FileStem(options, disc, trackNumber), ".mp3");
    return name.empty() ? std::string() : path + name;
}

}  // namespace corvella::cdrip
