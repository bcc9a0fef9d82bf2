// The one way the program reads and writes tags: one tag version's shared
// object as a TagObject, and the pair start-up hands to the main window and
// every tool. The program backs them with the shared CID3v1 and CID3v2
// objects; portable code and its tests with fakes.
#pragma once

#include <string>

#include "app/foundation/masks.h"

namespace corvella {
namespace tags {

// Field indices: EFrames 0 to 11; the first seven are also ID3v1's EFields.
constexpr int kFieldCount = 12;
constexpr int kV1FieldCount = 7;
constexpr int kGenreField = 5;
constexpr int kTrackField = 6;

// One tag version's object: the mask expansion's view (FieldText, ReadTag)
// plus setting a field and writing or removing the tag.
class TagObject : public foundation::TagFieldSource {
public:
    // False when the object refuses the value.
    virtual bool SetField(int index, const std::string& value) = 0;
    // False when the file could not be written; the file is then unchanged.
    virtual bool WriteTag(const std::string& path) = 0;
    virtual bool RemoveTag(const std::string& path) = 0;
};

// The shared objects of both versions.
struct TagPair {
    TagObject* id3v1 = nullptr;
    TagObject* id3v2 = nullptr;
    // 0 ID3v1, anything else ID3v2.
    TagObject& ForVersion(int version) const { return version == 0 ? *id3v1 : *id3v2; }
};

}  // namespace tags
}  // namespace corvella
