// Where the ripper writes each track: the output folder (up to two levels
// named after the disc) and the file name of a track, from the dialog's
// "Output" options and the disc data of the last lookup.
//
// Every name made from disc data is cleaned as the file system needs it
// (files::CleanName): characters Windows refuses and control codes dropped,
// blanks and trailing dots trimmed, "_" after a device name; a folder level
// whose name cleans to nothing is not made, a file name that cleans to
// nothing is the track's two-digit number, and a name that would take the
// path past MAX_PATH is cut before ".mp3".
#pragma once

#include <string>
#include <vector>

#include "app/cdrip/core/rip_run.h"
#include "app/foundation/files/file_service.h"

namespace corvella::cdrip {

// The "Output" tab: ticks and list indexes as the controls hold them.
struct NamingOptions {
    bool folderScheme = false;         // Check4
    int folders[2] = {0, 2};           // cboFolders(0): Artist/Album; (1): Do Not Use/Artist/Album
    bool fileScheme = false;           // Check3
    int filename[4] = {2, 4, 0, 0};    // cboFilename(0) from "Artist"; (1)-(3) from "Do Not Use"
    bool changeCase = false;           // Check2
    int fileCase = 0;                  // cboFileCase: initial caps, upper, lower
};

// Selector 1 artist (the track's own on a compilation), 2 album, 3 track
// number without a leading zero, 4 title; "" for any other selector and for
// a track the lookup gave no entry.
std::string GetFileNamePart(const DiscData& disc, int selector, int trackNumber);

// The cleaned names of the folder levels below the output folder (none,
// one or two), in order.
std::vector<std::string> FolderLevels(const NamingOptions& options, const DiscData& disc);

// The cleaned, cased file name of a track without its folder and ".mp3".
std::string FileStem(const NamingOptions& options, const DiscData& disc, int trackNumber);

// The output folder with its final "\": `outputPath` plus the levels, each
// made when nothing exists there yet (an existing folder is reused). ""
// when a level cannot be made; `failed` then names it.
std::string MakeOutputFolder(const std::string& outputPath, const NamingOptions& options,
                             const DiscData& disc, files::FileOps& ops, std::string* failed = nullptr);

// The full path of track n's file in `folder`; "" when not even a one-letter
// name fits within MAX_PATH.
std::string OutputFile(const std::string& folder, const NamingOptions& options, const DiscData& disc,
                       int trackNumber);

}  // namespace corvella::cdrip
