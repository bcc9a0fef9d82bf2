// The tag port in the program: the tag libraries' shared CID3v1 and CID3v2
// COM objects as TagObjects, and the pair of them that start-up hands to
// the main window and every tool.
#pragma once

#include "app/foundation/tags/tag_port.h"

struct _CID3v1;
struct _CID3v2;

namespace corvella {
namespace tags {

// One of the tag libraries' objects as a TagObject; holds a reference to
// the object for its own life.
template <class Tag>
class ComTag : public TagObject {
public:
    explicit ComTag(Tag* tag);
    ~ComTag() override;
    ComTag(const ComTag&) = delete;
    ComTag& operator=(const ComTag&) = delete;

    std::optional<std::string> FieldText(int index) override;
    bool ReadTag(const std::string& path) override;
    bool SetField(int index, const std::string& value) override;
    bool WriteTag(const std::string& path) override;
    bool RemoveTag(const std::string& path) override;

private:
    Tag* tag_;
};

using ComID3v1 = ComTag<_CID3v1>;
using ComID3v2 = ComTag<_CID3v2>;

// Both shared objects, kept together; Pair() is the view every window gets.
struct ComTagPair {
    ComTagPair(_CID3v1* v1, _CID3v2* v2) : id3v1(v1), id3v2(v2) {}
    TagPair Pair() { return TagPair{&id3v1, &id3v2}; }
    ComID3v1 id3v1;
    ComID3v2 id3v2;
};

}  // namespace tags
}  // namespace corvella
