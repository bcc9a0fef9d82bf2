// The rip-and-encode run: every selected row of the track list becomes an
// MP3 file named by the naming rule, tagged from the disc data. Portable:
// the naming, the folders, the track encoder, the messages and the window
// come in as services; the program passes the ripper dialog's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/cdrip/core/encoder_config.h"
#include "app/cdrip/core/rip_track.h"
#include "app/foundation/tags/tag_port.h"

namespace corvella::cdrip {

// The ripper dialog's disc data of the last lookup.
struct DiscData {
    std::string Artist, Album, Genre, Year;
    std::vector<std::string> Titles, Artists;  // entry k: track k + 1
    bool Mixed = false;
};

struct RunInput {
    EncoderChoices choices;
    DiscData disc;
    std::vector<bool> selected;  // one per row of the track list
    cdaudio::TOC toc{};
    bool tagCase = false;        // Check1
    int tagCaseMode = 0;         // cboTagCase
};

enum class MessageKind { Plain, Information, Critical, Exclamation };

struct RunServices {
    RipProgress* progress = nullptr;
    tags::TagPair tags;
    std::string appTitle;
    // Loads the encoder; false with the reason.
    std::function<bool(std::string* why)> loadEncoder;
    // The folder rule: makes the folder levels; false with the reason.
    std::function<bool(std::string* why)> prepareFolders;
    // The file-name rule for track n (1-based) and its two-digit text.
    std::function<std::string(int n, const std::string& trackNo)> fileName;
    // One track's rip (RipAndEncodeTrack over the real drive and encoder).
    std::function<TrackOutcome(const TrackJob& job, const BE_CONFIG& config)> ripTrack;
    std::function<void(const std::string& text, MessageKind kind, const std::string& title)> message;
    std::function<void()> hideProgress;
    std::function<void()> unloadProgress;
};

// Completed: the loop ran to its end and made at least one file;
// NothingMade: it ran to its end without making one (only data tracks, or
// none, selected).
enum class RunEnd { Completed, NothingMade, Cancelled, Failed };

// Every way out but a Cancel before anything happened ends with one closing
// message that names each file the run made and each selected track it did
// not encode, with the reason. A finished file is tagged even when the
// Cancel comes right after it.
RunEnd EncodeSelectedTracks(const RunInput& input, RunServices& services);

}  // namespace corvella::cdrip
