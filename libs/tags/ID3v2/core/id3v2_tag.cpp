#include "libs/tags/ID3v2/core/id3v2_tag.h"

#include "libs/tags/ID3v2/core/id3v2_text.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace corvella {
namespace id3v2 {
namespace {

constexpr uint8_t kTagUnsync = 0x80;
constexpr uint8_t kTagExtended = 0x40;
constexpr uint8_t kTagFooter = 0x10;
constexpr uint16_t kFrameUnsync = 0x0002;  // 2.4 format flag
constexpr uint64_t kMaxSyncsafe = 1u << 28;
constexpr uint64_t kFirstRead = 4096;
constexpr size_t kHeaderSize = 10;

const uint8_t* Bytes(const std::string& s, size_t pos) {
    return reinterpret_cast<const uint8_t*>(s.data()) + pos;
}

uint32_t Be32(const uint8_t* b) {
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}

void AppendBe32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

bool ValidId(const std::string& area, size_t pos) {
    for (size_t i = pos; i < pos + 4; ++i) {
        char c = area[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

uint32_t FrameSize(const std::string& area, size_t pos, bool syncsafe) {
    return syncsafe ? FromSyncsafe(Bytes(area, pos)) : Be32(Bytes(area, pos));
}

// Whether walking the frames with one size form lands exactly on padding or
// the end of the tag, every frame header on the way valid.
bool LinesUp(const std::string& area, size_t pos, bool syncsafe) {
    while (pos < area.size() && area[pos] != 0) {
        if (area.size() - pos < kHeaderSize || !ValidId(area, pos)) return false;
        if (syncsafe && (Be32(Bytes(area, pos + 4)) & 0x80808080u)) return false;
        uint32_t size = FrameSize(area, pos + 4, syncsafe);
        if (size > area.size() - pos - kHeaderSize) return false;
        pos += kHeaderSize + size;
    }
    return true;
}

// Drops the 00 that unsynchronisation put after every FF.
std::string Deunsync(const std::string& in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        out.push_back(in[i]);
        if (static_cast<uint8_t>(in[i]) == 0xFF && i + 1 < in.size() && in[i + 1] == 0) ++i;
    }
    return out;
}

// Bytes to skip for the extended header at the start of the frames area.
size_t ExtendedHeaderSize(const std::string& area, int version) {
    if (area.size() < 4) return area.size();
    // 2.3 counts the bytes after the size field, 2.4 the whole header.
    uint64_t n = version == 3 ? 4 + uint64_t(Be32(Bytes(area, 0))) : FromSyncsafe(Bytes(area, 0));
    return static_cast<size_t>(std::min<uint64_t>(std::max<uint64_t>(n, 4), area.size()));
}

std::string TagHeader(int version, uint32_t size) {
    std::string h = "ID3";
    h.push_back(static_cast<char>(version));
    h.push_back('\0');  // revision
    h.push_back('\0');  // flags: no unsynchronisation, extended header or footer
    for (uint8_t b : ToSyncsafe(size)) h.push_back(static_cast<char>(b));
    return h;
}

bool ReadSpan(File& f, uint64_t file_size, TagSpan& span) {
    span = TagSpan();
    if (file_size < kHeaderSize) return true;
    uint8_t header[kHeaderSize];
    if (!f.read_at(0, header, kHeaderSize)) return false;
    span = TagSpanOf(header, kHeaderSize, file_size);
    return true;
}

bool WriteZeros(File& f, uint64_t off, uint64_t n) {
    const std::vector<char> zeros(std::min<uint64_t>(n, 1 << 16), 0);
    for (uint64_t done = 0; done < n;) {
        size_t k = static_cast<size_t>(std::min<uint64_t>(zeros.size(), n - done));
        if (!f.write_at(off + done, zeros.data(), k)) return false;
        done += k;
    }
    return true;
}

// Track text

std::string StripZeros(const std::string& digits) {
    size_t i = digits.find_first_not_of('0');
    return i == std::string::npos ? std::string() : digits.substr(i);
}

std::string Number(const std::string& digits) {
    std::string n = StripZeros(digits);
    return n.empty() ? "0" : n;
}

std::string TrackText(const std::string& text, bool pad) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '/') parts.emplace_back();
        else if (c >= '0' && c <= '9') parts.back().push_back(c);
    }
    if (StripZeros(parts[0]).empty()) return std::string();
    auto number = [pad](const std::string& s) { return pad ? PadTwoDigits(s) : Number(s); };
    std::string out = number(parts[0]);
    if (parts.size() > 1) out += "/" + number(parts[1]);
    return out;
}

}  // namespace

std::string NormalizeTrack(const std::string& text) { return TrackText(text, false); }
std::string FormatTrack(const std::string& text) { return TrackText(text, true); }

std::string PadTwoDigits(const std::string& number) {
    std::string n = Number(number);
    return n.size() == 1 ? "0" + n : n;
}

TagSpan TagSpanOf(const uint8_t* data, size_t n, uint64_t file_size) {
    TagSpan span;
    if (n < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return span;
    span.present = true;
    uint64_t end = kHeaderSize + uint64_t(FromSyncsafe(data + 6));
    if (data[3] == 4 && (data[5] & kTagFooter)) end += kHeaderSize;
    span.end = std::min(end, file_size);
    return span;
}

// Field access

std::string CID3v2Tag::GetFrameValue(int frame) const {
    if (FrameIdOf(frame).empty()) return std::string();
    for (const IFrame& f : frames_)
        if (f.ID() == frame) return frame == Track ? FormatTrack(f.Data()) : f.Data();
    return std::string();
}

void CID3v2Tag::SetFrameValue(int frame, const std::string& value) {
    const std::string id = FrameIdOf(frame);
    if (id.empty()) return;
    const std::string text = frame == Track ? NormalizeTrack(value) : value;
    IFrame* target = nullptr;
    if (text.empty()) {
        frames_.Remove(id);
    } else if (IFrame* existing = frames_.item(id)) {
        target = existing;
        existing->Data(text);
    } else {
        std::unique_ptr<IFrame> f = CreateFrame(frame);
        f->ID(frame);
        f->Data(text);
        target = f.get();
        frames_.Add(std::move(f), id);
    }
    // Encoding 0 is ISO-8859-1 to every other reader: text beyond it goes
    // out as UTF-16 rather than as code-page bytes others would misread.
    // Links stay single-byte, as the format defines them.
    if (target && frame != WebLink && target->Encoding() == kEncAnsi && !FitsLatin1(text))
        target->Encoding(kEncUtf16);
}

// Parsing

bool CID3v2Tag::ParseTag(const uint8_t* data, size_t n) {
    frames_.Clear();
    version_ = 3;
    if (n < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return false;
    const int version = data[3];
    const uint8_t flags = data[5];
    if (version == 4) version_ = 4;
    // 2.2 (three-character IDs) and unknown versions: no frames read.
    if (version != 3 && version != 4) return true;

    size_t end = kHeaderSize + static_cast<size_t>(std::min<uint64_t>(FromSyncsafe(data + 6), n - kHeaderSize));
    std::string area(reinterpret_cast<const char*>(data) + kHeaderSize, end - kHeaderSize);
    const bool unsync = (flags & kTagUnsync) != 0;
    // 2.3 unsynchronises the tag as a whole; 2.4 says so per frame, and the
    // frame sizes count the unsynchronised bytes.
    if (unsync && version == 3) area = Deunsync(area);
    size_t pos = (flags & kTagExtended) ? ExtendedHeaderSize(area, version) : 0;

    // Earlier writers put syncsafe sizes under 2.3 (and some plain ones under
    // 2.4): take the version's form unless only the other one lines up.
    const bool native = version == 4;
    const bool syncsafe =
        (LinesUp(area, pos, native) || !LinesUp(area, pos, !native)) ? native : !native;

    while (area.size() - pos >= kHeaderSize && ValidId(area, pos)) {
        uint32_t size = FrameSize(area, pos + 4, syncsafe);
        if (size > area.size() - pos - kHeaderSize) break;
        uint16_t fflags = static_cast<uint16_t>((uint8_t(area[pos + 8]) << 8) | uint8_t(area[pos + 9]));
        // The tag loses its flag on writing; the frames keep saying it.
        if (unsync && version == 4) fflags |= kFrameUnsync;
        AddReadFrame(area.substr(pos, 4), fflags, area.substr(pos + kHeaderSize, size));
        pos += kHeaderSize + size;
    }
    return true;
}

void CID3v2Tag::AddReadFrame(const std::string& id, uint16_t flags, const std::string& body) {
    const int index = FrameIndexOf(id);
    // Edited only when its body is plain (no format flags) and it is the
    // first of its ID; everything else is carried along as read.
    if (index >= 0 && (flags & 0xFF) == 0 && !frames_.Exists(id)) {
        std::unique_ptr<IFrame> f = CreateFrame(index);
        f->ID(index);
        f->Size(static_cast<int32_t>(body.size()));
        if (f->AdditionalInfo(body)) {
            f->Flags(flags);
            frames_.Add(std::move(f), id);
            return;
        }
    }
    std::unique_ptr<IFrame> opaque(new CFrameOpaque(id));
    opaque->AdditionalInfo(body);
    opaque->Flags(flags);
    frames_.Add(std::move(opaque), std::string());
}

// Rendering

bool CID3v2Tag::RenderFrames(std::string& out) const {
    out.clear();
    for (const IFrame& f : frames_) {
        const std::string body = f.Body();
        if (body.size() >= kMaxSyncsafe) return false;
        out += f.FrameID();
        if (version_ == 4) {
            for (uint8_t b : ToSyncsafe(static_cast<uint32_t>(body.size()))) out.push_back(static_cast<char>(b));
        } else {
            AppendBe32(out, static_cast<uint32_t>(body.size()));
        }
        out.push_back(static_cast<char>(f.Flags() >> 8));
        out.push_back(static_cast<char>(f.Flags() & 0xFF));
        out += body;
    }
    return true;
}

bool CID3v2Tag::RenderTag(uint32_t padding, std::string& out) const {
    std::string frames;
    if (!RenderFrames(frames) || frames.size() + uint64_t(padding) >= kMaxSyncsafe) return false;
    out = TagHeader(version_, static_cast<uint32_t>(frames.size() + padding)) + frames +
          std::string(padding, '\0');
    return true;
}

// Files

bool CID3v2Tag::ReadTag(FileSystem& fs, const std::string& path) {
    frames_.Clear();
    version_ = 3;
    try {
        // A missing file fails to open; no separate existence check needed.
        std::unique_ptr<File> f = fs.open(path, false);
        uint64_t size = 0;
        if (!f || !f->size(size)) return false;
        if (size < kHeaderSize) return true;
        // One read covers the header and a typical tag; a larger tag takes a
        // second read for the rest.
        std::vector<uint8_t> tag(static_cast<size_t>(std::min<uint64_t>(kFirstRead, size)));
        if (!f->read_at(0, tag.data(), tag.size())) return false;
        if (!TagSpanOf(tag.data(), kHeaderSize, size).present) return true;
        // The frames area only; a footer adds nothing to read.
        const size_t want = static_cast<size_t>(
            std::min<uint64_t>(kHeaderSize + uint64_t(FromSyncsafe(tag.data() + 6)), size));
        if (want > tag.size()) {
            const size_t have = tag.size();
            tag.resize(want);
            if (!f->read_at(have, tag.data() + have, want - have)) return false;
        } else {
            tag.resize(want);
        }
        ParseTag(tag.data(), tag.size());
        return true;
    } catch (const std::exception&) {
        frames_.Clear();
        return false;
    }
}

bool CID3v2Tag::WriteTag(FileSystem& fs, const std::string& path) {
    WritableGuard attributes(fs, path);
    if (!attributes.found()) return false;
    try {
        return Write(fs, path);
    } catch (const std::exception&) {
        return false;
    }
}

bool CID3v2Tag::Write(FileSystem& fs, const std::string& path) {
    std::string frames;
    if (!RenderFrames(frames)) return false;
    uint64_t size = 0;
    TagSpan old;
    {
        std::unique_ptr<File> f = fs.open(path, true);
        if (!f || !f->size(size) || !ReadSpan(*f, size, old)) return false;
        const uint64_t room = old.present ? old.end - kHeaderSize : 0;
        if (old.present && frames.size() <= room && room < kMaxSyncsafe) {
            // Fits the old tag: only its bytes change, padding up to the audio.
            const std::string head = TagHeader(version_, static_cast<uint32_t>(room)) + frames;
            return f->write_at(0, head.data(), head.size()) &&
                   WriteZeros(*f, head.size(), old.end - head.size());
        }
    }  // closed before the file is replaced
    std::string head;
    if (!RenderTag(fs.cluster_size(path.substr(0, 3)), head)) return false;
    return replace_contents(fs, path, head, old.end, size - old.end);
}

bool CID3v2Tag::RemoveTag(FileSystem& fs, const std::string& path) {
    if (!fs.exists(path)) return false;
    frames_.Clear();
    version_ = 3;
    try {
        uint64_t size = 0;
        TagSpan old;
        {
            // Opened for writing, so a read-only file fails as it would be changed.
            std::unique_ptr<File> f = fs.open(path, true);
            if (!f || !f->size(size) || !ReadSpan(*f, size, old)) return false;
        }
        if (!old.present) return true;
        return replace_contents(fs, path, std::string(), old.end, size - old.end);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace id3v2
}  // namespace corvella
