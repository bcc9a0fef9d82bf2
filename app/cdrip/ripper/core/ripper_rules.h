// The ripper dialog's rules apart from its window: the settings it keeps
// under Options\MP3, the drives it offers and the rows of its track list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/cdrip/core/rip_run.h"
#include "app/foundation/settings_store.h"
#include "platform/cdaudio/cdaudio.h"

namespace corvella::cdrip {

extern const char kMP3SettingsKey[];     // "Software\Corvella\Options\MP3"
extern const char kOutputPathValue[];    // "MP3 Output Path"

// The list indexes, ticks and mode the dialog restores and stores.
struct MP3Settings {
    int variableBR = 4, fixedBR = 8, quality = 1, spacial = 1;
    int copyright = 0, crc = 0, original = 0, isPrivate = 0;
    bool variableMode = true;
    int folders[2] = {0, 2};
    int filenames[4] = {2, 4, 0, 0};
    int tagCase = 0, fileCase = 0;
};

// Reads every value; a missing one is written first with its default in
// the default's type (flags as DWORD, "Bit Rate Mode" as "True", the rest
// as text). A value that cannot be read as a number keeps its default.
MP3Settings ReadMP3Settings(SettingsStore& store);
// Writes every value: "Bit Rate Mode" as "True"/"False", the rest as text.
void WriteMP3Settings(SettingsStore& store, const MP3Settings& settings);

// One drive of the list: its name and the component's record index.
struct DriveItem {
    std::string name;
    int index = 0;
};
// The drives the component counts (at most 8); records without a name are
// left out, so item k need not be record k.
std::vector<DriveItem> DriveItems(int count, const std::function<std::string(int index)>& recordName);

// One row of the track list; row n is track n of the disc.
struct TrackRow {
    std::string text;
    bool audio = true;  // a data track is listed but never ripped (the run says so)
};

// The TOC's first to last track: "Track NN", a data track "Track NN (data)";
// an audio track with a title from the lookup shows the title. Titles past
// the disc make no rows.
std::vector<TrackRow> TrackRows(const cdaudio::TOC& toc, const std::vector<std::string>& titles = {});

}  // namespace corvella::cdrip
