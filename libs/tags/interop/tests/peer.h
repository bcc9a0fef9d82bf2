// The C++ side of the interoperability tests: runs mutagen_peer.py, parses
// what it prints, and makes the files both sides work on.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "libs/common/storage/storage.h"

namespace interop {

std::string Hex(const std::string& bytes);
std::string Unhex(const std::string& hex);

// Text for a peer `write` argument: Windows-1252 bytes, or UTF-8 (for
// characters the code page lacks).
inline std::string Cp(const std::string& cp1252) { return Hex(cp1252); }
inline std::string U8(const std::string& utf8) { return "u" + Hex(utf8); }

// One frame as the peer read it, in file order.
struct PeerFrame {
    std::string key;   // mutagen's key: "TIT2", "COMM:desc:lang", "WXXX:desc"
    std::string text;  // the frame's text as Windows-1252 bytes ('?' where it has none)
    std::string repr;  // every field of the frame, printable
};

// The same frame as stored: its header flags and a digest of its body.
struct RawFrame {
    std::string id;
    std::string flags;  // four hex digits
    std::string body_sha1;
    bool operator==(const RawFrame& o) const {
        return id == o.id && flags == o.flags && body_sha1 == o.body_sha1;
    }
};

struct PeerView {
    int v2 = 0;  // major version, 0 without an ID3v2 tag
    std::vector<PeerFrame> frames;
    std::vector<RawFrame> raw;  // frames[i] is raw[i]
    bool v1 = false;
    std::map<std::string, std::string> v1fields;  // title .. genre, as stored

    const PeerFrame* Find(const std::string& key) const;
    // The first frame with this four-character ID; nullptr when none.
    const PeerFrame* First(const std::string& id) const;
    // Text of First(id), "" when none.
    std::string Text(const std::string& id) const;
    std::string V1(const std::string& name) const;
};

// Whether /usr/bin/python3 and mutagen are there; `why` says what is not.
bool PeerAvailable(std::string& why);
// What the peer reads from the file. A failed run is a test failure, and so
// is a tag whose frames do not line up under its version's rules or that
// mutagen reads fewer frames from than are stored.
PeerView PeerDump(const std::string& path);
// Has the peer write the file's ID3v2 tag; see mutagen_peer.py for the args.
::testing::AssertionResult PeerWrite(const std::string& path, const std::vector<std::string>& args);

// Every frame of `before` is in `after`, unchanged (as mutagen reads it and
// byte for byte, flags too) and in its place, but the one under `key`, which
// now holds `text`; when `before` had no such frame it is expected last. An
// empty `text` expects the frame gone.
::testing::AssertionResult OnlyChanged(const PeerView& before, const PeerView& after,
                                       const std::string& key, const std::string& text);

// Files

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);

// MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz: 417 bytes each) with a
// random payload.
std::string MpegAudio(size_t frames, uint32_t seed);
// Random bytes whose first is not FF, so nothing looks like a frame sync.
std::string ArbitraryAudio(size_t n, uint32_t seed);

// Where the ID3v2 tag at the start of `file` ends, read from its header
// alone; 0 without one.
size_t TagEnd(const std::string& file);
// `file` is an ID3v2 tag (or none) followed by exactly `tail`.
::testing::AssertionResult TagThenExactly(const std::string& file, const std::string& tail);

enum class AudioKind { Mpeg, Arbitrary };

// Each case runs on both kinds of audio, in a scratch folder, and is
// skipped when the peer cannot run.
class InteropTest : public ::testing::TestWithParam<AudioKind> {
protected:
    void SetUp() override;
    // A file holding `contents` in the scratch folder.
    std::string NewFile(const std::string& name, const std::string& contents) const;

    ScratchDir dir_;
    std::string audio_;
    corvella::FileSystem& fs_ = corvella::platform_filesystem();
};

std::string AudioKindName(const ::testing::TestParamInfo<AudioKind>& info);

}  // namespace interop

#define INTEROP_INSTANTIATE(suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Audio, suite,                                                        \
                             ::testing::Values(::interop::AudioKind::Mpeg,                        \
                                               ::interop::AudioKind::Arbitrary),                  \
                             ::interop::AudioKindName)
