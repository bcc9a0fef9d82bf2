#include "libs/tags/ID3v2/core/id3v2_tag.h"

#include "libs/tags/ID3v2/core/id3v2_text.h"
#include "libs/tags/ID3v2/core/id3v2_v22.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <functional>
#include <vector>

#include <zlib.h>

namespace corvella {
namespace id3v2 {
namespace {

constexpr uint8_t kTagUnsync = 0x80;
constexpr uint8_t kTagExtended = 0x40;  // 2.2: the tag is compressed
constexpr uint8_t kTagFooter = 0x10;
constexpr uint16_t kFrameCompressed = 0x0008;  // 2.4 format flags
constexpr uint16_t kFrameUnsync = 0x0002;
constexpr uint16_t kFrameDataLength = 0x0001;
constexpr uint16_t kFrameCompressed23 = 0x0080;  // 2.3: a 4-byte size, then zlib data
// No field a tag edits comes near this; a bigger declared size is a lie.
constexpr uint32_t kMaxInflated = 1u << 24;
constexpr uint64_t kMaxSyncsafe = 1u << 28;
constexpr uint64_t kFirstRead = 4096;
constexpr size_t kHeaderSize = 10;
constexpr size_t kSyncLength = 3;  // bytes IsMpegFrame looks at
const char kRecordingTime[] = "TDRC";  // 2.4's date, its first four characters the year

const uint8_t* Bytes(const std::string& s, size_t pos) {
    return reinterpret_cast<const uint8_t*>(s.data()) + pos;
}

uint32_t Be32(const uint8_t* b) {
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}

void AppendBe32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

bool ValidId(const std::string& area, size_t pos, size_t length) {
    for (size_t i = pos; i < pos + length; ++i) {
        char c = area[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// Frame headers by major version: 2.2 has three-character IDs and
// three-byte sizes and no flags.
struct FrameForm {
    size_t id_length;
    size_t header;
};
FrameForm FormOf(int version) { return version == 2 ? FrameForm{3, 6} : FrameForm{4, kHeaderSize}; }

uint32_t FrameSize(const std::string& area, size_t pos, int version, bool syncsafe) {
    if (version == 2) return (uint32_t(uint8_t(area[pos + 3])) << 16) | (uint32_t(uint8_t(area[pos + 4])) << 8) |
                             uint8_t(area[pos + 5]);
    return syncsafe ? FromSyncsafe(Bytes(area, pos + 4)) : Be32(Bytes(area, pos + 4));
}

// Whether walking the frames with one size form lands exactly on padding or
// the end of the tag, every frame header on the way valid.
bool LinesUp(const std::string& area, size_t pos, bool syncsafe) {
    while (pos < area.size() && area[pos] != 0) {
        if (area.size() - pos < kHeaderSize || !ValidId(area, pos, 4)) return false;
        if (syncsafe && (Be32(Bytes(area, pos + 4)) & 0x80808080u)) return false;
        uint32_t size = FrameSize(area, pos, 3, syncsafe);
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

// How many bytes of `raw` Deunsync turns into its first n bytes.
size_t RawLength(const std::string& raw, size_t n) {
    size_t i = 0;
    for (size_t o = 0; o < n && i < raw.size(); ++o)
        i += (static_cast<uint8_t>(raw[i]) == 0xFF && i + 1 < raw.size() && raw[i + 1] == 0) ? 2 : 1;
    return i;
}

// Bytes to skip for the extended header at the start of the frames area;
// npos when it claims more than the area holds.
size_t ExtendedHeaderSize(const std::string& area, int version) {
    if (area.size() < 4) return std::string::npos;
    // 2.3 counts the bytes after the size field, 2.4 the whole header.
    uint64_t n = version == 3 ? 4 + uint64_t(Be32(Bytes(area, 0))) : FromSyncsafe(Bytes(area, 0));
    return n < 4 || n > area.size() ? std::string::npos : static_cast<size_t>(n);
}

// The first bytes of an MPEG audio frame: the sync, and a version, layer,
// bit rate and sample rate that are not reserved.
bool IsMpegFrame(const uint8_t* b) {
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && (b[1] & 0x18) != 0x08 && (b[1] & 0x06) != 0 &&
           (b[2] & 0xF0) != 0xF0 && (b[2] & 0x0C) != 0x0C;
}

// The zlib stream `in` inflated; false unless it is whole and gives at most
// `limit` bytes. The output grows as the data asks, so a size a frame lies
// about costs nothing.
bool Inflate(const std::string& in, uint32_t limit, std::string& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    out.clear();
    int status = Z_OK;
    while (status == Z_OK && out.size() < limit) {
        const size_t done = out.size();
        out.resize(std::min<size_t>(limit, std::max<size_t>(4096, done * 2)));
        z.next_out = reinterpret_cast<Bytef*>(&out[done]);
        z.avail_out = static_cast<uInt>(out.size() - done);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - z.avail_out);
        if (status == Z_BUF_ERROR && z.avail_in == 0) break;  // cut short
    }
    if (status == Z_OK && out.size() == limit && z.avail_in > 0) {
        // Full: it must end right here to fit.
        Bytef probe;
        z.next_out = &probe;
        z.avail_out = 1;
        status = inflate(&z, Z_NO_FLUSH);
        if (z.avail_out == 0) status = Z_BUF_ERROR;
    }
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

// The body a frame's format flags describe, with them undone; false for
// what this library cannot undo (encryption, grouping) and for data that
// does not inflate within its declared size.
bool PlainBody(const std::string& stored, uint16_t flags, int version, std::string& plain) {
    const uint16_t format = flags & 0xFF;
    plain = stored;
    uint32_t limit = kMaxInflated;
    if (version != 4) {
        if (format & ~kFrameCompressed23) return false;
        if (!format) return true;
        if (plain.size() < 4) return false;
        limit = std::min(limit, Be32(Bytes(plain, 0)));
        plain.erase(0, 4);
        return Inflate(std::string(plain), limit, plain);
    }
    if (format & ~(kFrameCompressed | kFrameUnsync | kFrameDataLength)) return false;
    if (format & kFrameDataLength) {
        if (plain.size() < 4) return false;
        limit = std::min(limit, FromSyncsafe(Bytes(plain, 0)));
        plain.erase(0, 4);
    }
    if (format & kFrameUnsync) plain = Deunsync(plain);
    // Compression is undone last: it was applied before unsynchronisation.
    return !(format & kFrameCompressed) || Inflate(std::string(plain), limit, plain);
}

using FrameSink = std::function<void(const std::string& id, uint16_t flags, const std::string& body)>;

// Walks the tag at the start of data[0, n), the first bytes of a file of
// file_size bytes, hands each frame to `sink` (when given) and tells where
// the tag ends.
TagLayout Walk(const uint8_t* data, size_t n, uint64_t file_size, const FrameSink& sink) {
    TagLayout layout;
    if (n < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return layout;
    layout.present = true;
    file_size = std::max<uint64_t>(file_size, n);
    const int version = data[3];
    const uint8_t flags = data[5];
    const uint64_t declared = kHeaderSize + uint64_t(FromSyncsafe(data + 6));
    const bool past_end = declared > file_size;
    const size_t data_end = static_cast<size_t>(std::min<uint64_t>(declared, n));
    // Frames that cannot be walked leave only the declared size to go by.
    const bool walkable = version == 3 || version == 4 || (version == 2 && !(flags & kTagExtended));
    const std::string raw(reinterpret_cast<const char*>(data) + kHeaderSize, data_end - kHeaderSize);
    // 2.2 and 2.3 unsynchronise the tag as a whole; 2.4 says so per frame,
    // and its frame sizes count the unsynchronised bytes.
    const bool unsync = walkable && (flags & kTagUnsync) && version != 4;
    const std::string area = unsync ? Deunsync(raw) : raw;
    size_t pos = 0;
    if (walkable && version != 2 && (flags & kTagExtended)) pos = ExtendedHeaderSize(area, version);
    if (!walkable || pos == std::string::npos) {
        layout.known = walkable ? false : !past_end;
        layout.end = std::min(declared, file_size);
        return layout;
    }

    // Earlier writers put syncsafe sizes under 2.3 (and some plain ones under
    // 2.4): take the version's form unless only the other one lines up.
    const bool native = version == 4;
    const bool syncsafe =
        version != 2 && ((LinesUp(area, pos, native) || !LinesUp(area, pos, !native)) ? native : !native);
    const FrameForm form = FormOf(version);
    // The tag loses its unsynchronisation flag on writing; its frames say it.
    const uint16_t inherited = version == 4 && (flags & kTagUnsync) ? kFrameUnsync : 0;
    bool cut = false;
    while (area.size() - pos >= form.header && ValidId(area, pos, form.id_length)) {
        // A frame cut by the end of the tag keeps what lies inside it.
        const uint64_t size = FrameSize(area, pos, version, syncsafe);
        cut = size > area.size() - pos - form.header;
        const size_t body = static_cast<size_t>(std::min<uint64_t>(size, area.size() - pos - form.header));
        const uint16_t fflags =
            version == 2 ? 0 : static_cast<uint16_t>((uint8_t(area[pos + 8]) << 8) | uint8_t(area[pos + 9]));
        if (sink) sink(area.substr(pos, form.id_length), fflags | inherited, area.substr(pos + form.header, body));
        pos += form.header + body;
    }

    // A tag and a frame both cut by the end of the file: the frame may be
    // the audio as well as a truncated picture.
    layout.known = !(past_end && cut);
    // Only zeros are padding: a byte that is not zero after the frames is
    // where the audio begins (at an MPEG frame, or right after the frames).
    const uint64_t frames_end = kHeaderSize + (unsync ? RawLength(raw, pos) : pos);
    uint64_t z = frames_end;
    while (z < data_end && data[z] == 0) ++z;
    if (z == data_end) {
        layout.end = past_end ? data_end : declared;
        if (!past_end && version == 4 && (flags & kTagFooter) && declared + kHeaderSize <= n &&
            std::memcmp(data + declared, "3DI", 3) == 0)
            layout.end = declared + kHeaderSize;
    } else {
        layout.end = z + kSyncLength <= n && IsMpegFrame(data + z) ? z : frames_end;
    }
    return layout;
}

// Reads from the start of an open file what Walk needs: one read for a
// typical tag, a second for the rest of a larger one.
bool ReadTagBytes(File& f, uint64_t file_size, std::vector<uint8_t>& out) {
    out.assign(static_cast<size_t>(std::min<uint64_t>(kFirstRead, file_size)), 0);
    if (out.size() < kHeaderSize) return true;
    if (!f.read_at(0, out.data(), out.size())) return false;
    const size_t want = static_cast<size_t>(TagBytesNeeded(out.data(), file_size));
    if (want <= out.size()) {
        out.resize(want);
        return true;
    }
    const size_t have = out.size();
    out.resize(want);
    return f.read_at(have, out.data() + have, want - have);
}

// Whether a 0xFF byte, where MPEG audio frames begin, comes anywhere after
// the tag: a file without one (empty, text, a tag alone) holds no audio, so
// it gets no tag and keeps the one it has.
bool AudioFollows(File& f, uint64_t tag_end, uint64_t file_size) {
    std::vector<char> chunk(static_cast<size_t>(std::min<uint64_t>(1 << 16, file_size)));
    for (uint64_t off = tag_end; off < file_size;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), file_size - off));
        if (!f.read_at(off, chunk.data(), n)) return false;
        if (std::memchr(chunk.data(), 0xFF, n)) return true;
        off += n;
    }
    return false;
}

bool ReadLayout(File& f, uint64_t file_size, TagLayout& layout) {
    std::vector<uint8_t> bytes;
    if (!ReadTagBytes(f, file_size, bytes)) return false;
    layout = LayoutOf(bytes.data(), bytes.size(), file_size);
    return true;
}

std::string TagHeader(int version, uint32_t size) {
    std::string h = "ID3";
    h.push_back(static_cast<char>(version));
    h.push_back('\0');  // revision
    h.push_back('\0');  // flags: no unsynchronisation, extended header or footer
    for (uint8_t b : ToSyncsafe(size)) h.push_back(static_cast<char>(b));
    return h;
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

bool HasId(const std::vector<std::string>& ids, const std::string& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// 1-based position of the first frame under one of `ids`; 0 for none.
size_t FirstOf(const CFrames& frames, const std::vector<std::string>& ids) {
    for (size_t i = 1; i <= frames.Count(); ++i)
        if (HasId(ids, frames.item(i)->FrameID())) return i;
    return 0;
}

void RemoveAllOf(CFrames& frames, const std::vector<std::string>& ids, const IFrame* keep) {
    for (size_t i = frames.Count(); i >= 1; --i)
        if (frames.item(i) != keep && HasId(ids, frames.item(i)->FrameID())) frames.Remove(i);
}

bool HasOtherOf(const CFrames& frames, const std::string& id, const IFrame* besides) {
    for (size_t i = 1; i <= frames.Count(); ++i)
        if (frames.item(i) != besides && frames.item(i)->FrameID() == id) return true;
    return false;
}

// A frame carried along untouched: its body and header flags as read.
std::unique_ptr<IFrame> Opaque(const std::string& id, const std::string& body, uint16_t flags) {
    std::unique_ptr<IFrame> f(new CFrameOpaque(id));
    f->AdditionalInfo(body);
    f->Flags(flags);
    return f;
}

// Players keep their own data in comments with a description ("iTunNORM",
// "iTunSMPB"), often before the user's; the comment field is the one
// without a description.
bool IsPlainComment(const IFrame& f) {
    const auto* comment = dynamic_cast<const CFrameComment*>(&f);
    return comment != nullptr && comment->Description().empty();
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

uint64_t TagBytesNeeded(const uint8_t header[10], uint64_t file_size) {
    if (std::memcmp(header, "ID3", 3) != 0) return std::min<uint64_t>(kHeaderSize, file_size);
    uint64_t end = kHeaderSize + uint64_t(FromSyncsafe(header + 6));
    if (header[3] == 4 && (header[5] & kTagFooter)) end += kHeaderSize;
    // A few more, to see whether an MPEG frame begins right at the end.
    return std::min(end + kSyncLength, file_size);
}

TagLayout LayoutOf(const uint8_t* data, size_t n, uint64_t file_size) {
    return Walk(data, n, file_size, FrameSink());
}

// Field access

int CID3v2Tag::FieldOf(const std::string& id) const {
    return version_ == 4 && id == kRecordingTime ? ReleaseYear : FrameIndexOf(id);
}

std::vector<std::string> CID3v2Tag::IdsOf(int frame) const {
    const std::string id = FrameIdOf(frame);
    if (id.empty()) return {};
    // 2.4 has no TYER; one a writer put there anyway still wins.
    if (frame == ReleaseYear && version_ == 4) return {id, kRecordingTime};
    return {id};
}

std::string CID3v2Tag::WriteIdOf(int frame) const {
    return frame == ReleaseYear && version_ == 4 ? kRecordingTime : FrameIdOf(frame);
}

std::string CID3v2Tag::GetFrameValue(int frame) const {
    for (const std::string& id : IdsOf(frame)) {
        const IFrame* f = frames_.item(id);
        if (!f) continue;
        if (frame == Track) return FormatTrack(f->Data());
        return id == kRecordingTime ? f->Data().substr(0, 4) : f->Data();
    }
    return std::string();
}

void CID3v2Tag::SetFrameValue(int frame, const std::string& value) {
    const std::vector<std::string> ids = IdsOf(frame);
    if (ids.empty()) return;
    const std::string id = WriteIdOf(frame);
    const std::string text = frame == Track ? NormalizeTrack(value) : value;
    // ID3 allows comments and links more than once (by description); any
    // other field is one frame, so a set or clear covers every frame of its
    // IDs: duplicates, ones not decoded, a 2.4 TYER beside TDRC.
    const bool several = frame == Comment || frame == WebLink;
    const std::vector<std::string> covered = several ? std::vector<std::string>{id} : ids;
    IFrame* target = nullptr;
    if (text.empty()) {
        // A cleared comment stays, empty, while other comments remain: gone,
        // the next read would take one of them for the comment.
        IFrame* comment = frame == Comment ? frames_.item(id) : nullptr;
        if (comment && HasOtherOf(frames_, id, comment))
            comment->Data(text);
        else if (several)
            frames_.Remove(id);
    } else if ((target = frames_.item(id)) != nullptr) {
        // The same year keeps the rest of a recording time.
        if (id != kRecordingTime || target->Data().substr(0, 4) != text) target->Data(text);
    } else {
        std::unique_ptr<IFrame> f = CreateFrame(frame);
        f->ID(frame);
        f->FrameID(id);
        f->Data(text);
        target = f.get();
        // In the place of the frame it replaces, if any.
        const size_t at = FirstOf(frames_, covered);
        if (at) {
            frames_.Remove(at);
            frames_.Insert(at, std::move(f), id);
        } else {
            frames_.Add(std::move(f), id);
        }
    }
    if (!several) RemoveAllOf(frames_, covered, target);
    // Encoding 0 is ISO-8859-1 to every other reader: text beyond it goes
    // out as UTF-16 rather than as code-page bytes others would misread.
    // Links stay single-byte, as the format defines them.
    if (target && frame != WebLink && target->Encoding() == kEncAnsi && !FitsLatin1(target->Wide()))
        target->Encoding(kEncUtf16);
}

// Parsing

void CID3v2Tag::Reset() {
    frames_.Clear();
    version_ = 3;
    dropped_.clear();
}

bool CID3v2Tag::ParseTag(const uint8_t* data, size_t n, uint64_t file_size) {
    Reset();
    if (n < kHeaderSize || std::memcmp(data, "ID3", 3) != 0) return false;
    const int version = data[3];
    if (version == 4) version_ = 4;
    Walk(data, n, file_size, [this, version](const std::string& id, uint16_t flags, const std::string& body) {
        AddReadFrame(id, flags, body, version);
    });
    return true;
}

void CID3v2Tag::AddReadFrame(const std::string& read_id, uint16_t flags, const std::string& read_body,
                             int version) {
    std::string id = read_id, body = read_body;
    if (version == 2 && !ConvertV22Frame(id, body)) {
        dropped_.push_back(read_id);
        return;
    }
    // Edited when its body can be undone to plain and it is the first of
    // its ID, or the first comment without a description after described
    // ones; everything else is carried along as read.
    const int index = FieldOf(id);
    IFrame* held = index >= 0 ? frames_.item(id) : nullptr;
    const bool may_take = index >= 0 && (!held || (index == Comment && !IsPlainComment(*held)));
    std::string plain;
    if (may_take && PlainBody(body, flags, version, plain)) {
        std::unique_ptr<IFrame> f = CreateFrame(index);
        f->ID(index);
        f->FrameID(id);
        f->Size(static_cast<int32_t>(plain.size()));
        if (f->AdditionalInfo(plain)) {
            f->Stored(body);
            f->Flags(flags);
            if (held && IsPlainComment(*f)) {
                // The described comment taken so far goes back to being carried along.
                const size_t at = frames_.Position(id);
                std::unique_ptr<IFrame> was = Opaque(id, held->Body(), held->Flags());
                frames_.Remove(at);
                frames_.Insert(at, std::move(was), std::string());
                held = nullptr;
            }
            if (!held) {
                frames_.Add(std::move(f), id);
                return;
            }
        }
    }
    frames_.Add(Opaque(id, body, flags), std::string());
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
    Reset();
    try {
        // A missing file fails to open; no separate existence check needed.
        std::unique_ptr<File> f = fs.open(path, false);
        uint64_t size = 0;
        std::vector<uint8_t> tag;
        if (!f || !f->size(size) || !ReadTagBytes(*f, size, tag)) return false;
        ParseTag(tag.data(), tag.size(), size);
        return true;
    } catch (const std::exception&) {
        Reset();
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
    TagLayout old;
    {
        std::unique_ptr<File> f = fs.open(path, true);
        // Where the audio starts cannot be told: better no edit than lost audio.
        if (!f || !f->size(size) || !ReadLayout(*f, size, old) || !old.known ||
            !AudioFollows(*f, old.end, size))
            return false;
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
    Reset();
    try {
        uint64_t size = 0;
        TagLayout old;
        {
            // Opened for writing, so a read-only file fails as it would be changed.
            std::unique_ptr<File> f = fs.open(path, true);
            if (!f || !f->size(size) || !ReadLayout(*f, size, old) || !old.known) return false;
            if (old.present && !AudioFollows(*f, old.end, size)) return false;
        }
        if (!old.present) return true;
        return replace_contents(fs, path, std::string(), old.end, size - old.end);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace id3v2
}  // namespace corvella
