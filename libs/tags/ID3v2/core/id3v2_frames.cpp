#include "libs/tags/ID3v2/core/id3v2_frames.h"

#include "libs/tags/ID3v2/core/id3v2_text.h"

namespace corvella {
namespace id3v2 {
namespace {

enum class Kind { Generic, Comment, Web };

struct FrameSpec {
    const char* id;
    Kind kind;
};

// Indexed by EFrames.
const FrameSpec kFrames[kFrameCount] = {
    {"TIT2", Kind::Generic}, {"TPE1", Kind::Generic}, {"TALB", Kind::Generic},
    {"TYER", Kind::Generic}, {"COMM", Kind::Comment}, {"TCON", Kind::Generic},
    {"TRCK", Kind::Generic}, {"TCOM", Kind::Generic}, {"TOPE", Kind::Generic},
    {"TCOP", Kind::Generic}, {"WXXX", Kind::Web},     {"TENC", Kind::Generic},
};

// A stored description in the frame's present encoding, with its terminator;
// the bytes as read while the encoding is unchanged.
std::string DescriptionField(const std::string& stored, uint8_t stored_encoding, uint8_t encoding) {
    const std::string bytes =
        stored_encoding == encoding ? stored : EncodeWide(DecodeWide(stored, stored_encoding), encoding);
    return bytes + std::string(TerminatorSize(encoding), '\0');
}

}  // namespace

std::string FrameIdOf(int frame) {
    return frame >= 0 && frame < kFrameCount ? kFrames[frame].id : "";
}

int FrameIndexOf(const std::string& id) {
    for (int i = 0; i < kFrameCount; ++i)
        if (id == kFrames[i].id) return i;
    return -1;
}

uint64_t ShiftBits(uint64_t value, unsigned bits, int direction) {
    if (bits >= 64) return 0;
    if (direction == 1) return value << bits;
    if (direction == 2) return value >> bits;
    return 0;
}

std::array<uint8_t, 4> ToSyncsafe(uint32_t value) {
    std::array<uint8_t, 4> out;
    for (unsigned i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(ShiftBits(value, 21 - 7 * i, 2) & 0x7F);
    return out;
}

uint32_t FromSyncsafe(const uint8_t* b) {
    uint32_t v = 0;
    for (unsigned i = 0; i < 4; ++i) v += static_cast<uint32_t>(b[i]) << (21 - 7 * i);
    return v;
}

std::unique_ptr<IFrame> CreateFrame(int frame) {
    if (frame < 0 || frame >= kFrameCount) return nullptr;
    switch (kFrames[frame].kind) {
    case Kind::Comment: return std::unique_ptr<IFrame>(new CFrameComment);
    case Kind::Web: return std::unique_ptr<IFrame>(new CFrameWeb);
    default: return std::unique_ptr<IFrame>(new CFrameGeneric);
    }
}

// IFrame

void IFrame::Encoding(uint8_t encoding) {
    if (encoding == encoding_) return;
    encoding_ = encoding;
    changed_ = true;
}

void IFrame::Data(const std::string& text) {
    if (text == data_) return;
    wide_ = KeepUnshown(wide_, text);
    data_ = text;
    changed_ = true;
}

bool IFrame::AdditionalInfo(const std::string& body) {
    if (!Parse(body)) return false;
    raw_ = body;
    has_raw_ = true;
    changed_ = false;
    return true;
}

std::string IFrame::Body() const {
    if (has_raw_ && !changed_) return raw_;
    return Prefix() + RenderData();
}

std::string IFrame::RenderData() const {
    return encoding_ == kEncAnsi || encoding_ > kEncUtf8 ? data_ : EncodeWide(wide_, encoding_);
}

void IFrame::ReadText(const std::string& bytes, uint8_t encoding) {
    data_ = DecodeText(bytes, encoding);
    wide_ = DecodeWide(bytes, encoding);
}

// CFrameComment

bool CFrameComment::Parse(const std::string& body) {
    // A malformed comment is still a comment, only with an empty text.
    encoding_ = body.empty() ? 0 : static_cast<uint8_t>(body[0]);
    language_ = body.size() > 1 ? body.substr(1, 3) : std::string();
    language_.resize(3, '\0');
    description_.clear();
    description_encoding_ = encoding_;
    data_.clear();
    wide_.clear();
    size_t p = FindTerminator(body, 4, encoding_);
    if (p == std::string::npos) return true;
    description_ = body.substr(4, p - 4);
    ReadText(body.substr(p + TerminatorSize(encoding_)), encoding_);
    return true;
}

std::string CFrameComment::Prefix() const {
    return std::string(1, static_cast<char>(encoding_)) + language_ +
           DescriptionField(description_, description_encoding_, encoding_);
}

std::string CFrameComment::Description() const { return DecodeText(description_, description_encoding_); }

// CFrameWeb

bool CFrameWeb::Parse(const std::string& body) {
    if (body.empty()) return false;
    encoding_ = description_encoding_ = static_cast<uint8_t>(body[0]);
    size_t p = FindTerminator(body, 1, encoding_);
    if (p == std::string::npos) {
        // No description terminator: the rest is the link.
        description_.clear();
        ReadText(body.substr(1), kEncAnsi);
    } else {
        description_ = body.substr(1, p - 1);
        ReadText(body.substr(p + TerminatorSize(encoding_)), kEncAnsi);
    }
    return true;
}

std::string CFrameWeb::Prefix() const {
    return std::string(1, static_cast<char>(encoding_)) +
           DescriptionField(description_, description_encoding_, encoding_);
}

std::string CFrameWeb::Description() const { return DecodeText(description_, description_encoding_); }

// CFrameGeneric

bool CFrameGeneric::Parse(const std::string& body) {
    if (body.empty()) return false;
    encoding_ = static_cast<uint8_t>(body[0]);
    ReadText(body.substr(1), encoding_);
    return true;
}

std::string CFrameGeneric::Prefix() const { return std::string(1, static_cast<char>(encoding_)); }

// CFrames

size_t CFrames::Find(const std::string& key) const {
    if (key.empty()) return entries_.size();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].key == key) return i;
    return entries_.size();
}

bool CFrames::Add(std::unique_ptr<IFrame> frame, const std::string& key) {
    return Insert(entries_.size() + 1, std::move(frame), key);
}

bool CFrames::Insert(size_t position, std::unique_ptr<IFrame> frame, const std::string& key) {
    if (!frame || position < 1 || position > entries_.size() + 1 || Find(key) != entries_.size()) return false;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position - 1), Entry{key, std::move(frame)});
    return true;
}

bool CFrames::Remove(const std::string& key) {
    size_t i = Find(key);
    if (i == entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

bool CFrames::Remove(size_t position) {
    if (position < 1 || position > entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position - 1));
    return true;
}

IFrame* CFrames::item(const std::string& key) const {
    size_t i = Find(key);
    return i == entries_.size() ? nullptr : entries_[i].frame.get();
}

size_t CFrames::Position(const std::string& key) const {
    const size_t i = Find(key);
    return i == entries_.size() ? 0 : i + 1;
}

IFrame* CFrames::item(size_t position) const {
    if (position < 1 || position > entries_.size()) return nullptr;
    return entries_[position - 1].frame.get();
}

}  // namespace id3v2
}  // namespace corvella
