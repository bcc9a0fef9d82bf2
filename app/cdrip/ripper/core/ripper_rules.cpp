#include "app/cdrip/ripper/core/ripper_rules.h"

#include "app/cdrip/core/cd_toc.h"
#include "app/foundation/settings.h"
#include "libs/common/text/text_primitives.h"

namespace corvella::cdrip {

const char kMP3SettingsKey[] = "Software\\Corvella\\Options\\MP3";
const char kOutputPathValue[] = "MP3 Output Path";

namespace {

enum class Kind { kInteger, kLong };

// The values in the order they are read and written.
struct IntValue {
    const char* name;
    int MP3Settings::*field;
    Kind kind;
};

constexpr IntValue kIntValues[] = {
    {"Variable BR", &MP3Settings::variableBR, Kind::kInteger},
    {"Fixed BR", &MP3Settings::fixedBR, Kind::kInteger},
    {"Quality", &MP3Settings::quality, Kind::kInteger},
    {"Spacial", &MP3Settings::spacial, Kind::kInteger},
    {"Copyright", &MP3Settings::copyright, Kind::kLong},
    {"CRC", &MP3Settings::crc, Kind::kLong},
    {"Original", &MP3Settings::original, Kind::kLong},
    {"Private", &MP3Settings::isPrivate, Kind::kLong},
};
const char* const kFolderValues[2] = {"Foldername 1", "Foldername 2"};
const char* const kFileValues[4] = {"Filename 1", "Filename 2", "Filename 3", "Filename 4"};
constexpr char kModeValue[] = "Bit Rate Mode";

int ReadInt(cRegistry& reg, const char* name, int fallback, Kind kind) {
    const Variant def = kind == Kind::kLong ? Variant::Long(fallback) : Variant::Integer(int16_t(fallback));
    int32_t value = fallback;
    try {
        if (!VariantToLong(reg.GetSetting(kHkeyCurrentUser, kMP3SettingsKey, name, def), value)) value = fallback;
    } catch (const std::exception&) {
        value = fallback;
    }
    return value;
}

}  // namespace

MP3Settings ReadMP3Settings(SettingsStore& store) {
    cRegistry reg(store);
    MP3Settings s;
    for (const IntValue& v : kIntValues) s.*v.field = ReadInt(reg, v.name, s.*v.field, v.kind);
    try {
        bool mode = true;
        if (VariantToBool(reg.GetSetting(kHkeyCurrentUser, kMP3SettingsKey, kModeValue, Variant::Boolean(true)), mode))
            s.variableMode = mode;
    } catch (const std::exception&) {
    }
    for (int i = 0; i < 2; ++i) s.folders[i] = ReadInt(reg, kFolderValues[i], s.folders[i], Kind::kInteger);
    for (int i = 0; i < 4; ++i) s.filenames[i] = ReadInt(reg, kFileValues[i], s.filenames[i], Kind::kInteger);
    s.tagCase = ReadInt(reg, "Tag Case", s.tagCase, Kind::kInteger);
    s.fileCase = ReadInt(reg, "File Case", s.fileCase, Kind::kInteger);
    return s;
}

void WriteMP3Settings(SettingsStore& store, const MP3Settings& s) {
    cRegistry reg(store);
    auto save = [&](const char* name, int value) {
        reg.SaveSetting(kHkeyCurrentUser, kMP3SettingsKey, name, Variant::Integer(int16_t(value)));
    };
    for (const IntValue& v : kIntValues) save(v.name, s.*v.field);
    reg.SaveSetting(kHkeyCurrentUser, kMP3SettingsKey, kModeValue, Variant::Boolean(s.variableMode));
    for (int i = 0; i < 2; ++i) save(kFolderValues[i], s.folders[i]);
    for (int i = 0; i < 4; ++i) save(kFileValues[i], s.filenames[i]);
    save("Tag Case", s.tagCase);
    save("File Case", s.fileCase);
}

std::vector<DriveItem> DriveItems(int count, const std::function<std::string(int index)>& recordName) {
    std::vector<DriveItem> items;
    for (int i = 0; i < count && i < 8; ++i) {
        std::string name = recordName(i);
        if (!name.empty()) items.push_back({std::move(name), i});
    }
    return items;
}

std::vector<TrackRow> TrackRows(const cdaudio::TOC& toc, const std::vector<std::string>& titles) {
    std::vector<TrackRow> rows;
    const int count = std::min(TocTrackCount(toc), 99);
    for (int k = 0; k < count; ++k) {
        const int n = k + 1;
        TrackRow row;
        row.audio = !(toc.tracks[k].ADR & cdaudio::kDataTrackBit);
        row.text = "Track " + TwoDigits(n);
        if (!row.audio) row.text += " (data)";
        else if (size_t(k) < titles.size() && !titles[size_t(k)].empty()) row.text = titles[size_t(k)];
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace corvella::cdrip
