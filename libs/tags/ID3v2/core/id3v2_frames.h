// The frames of one ID3v2 tag: the supported frame kinds, the number forms
// of the tag layout, one small class per frame kind and the keyed collection
// that keeps them in tag order.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvella {
namespace id3v2 {

// The twelve frames the tag object edits, by index.
enum EFrames : int {
    Title = 0,
    Artist = 1,
    Album = 2,
    ReleaseYear = 3,
    Comment = 4,
    Genre = 5,
    Track = 6,
    Composser = 7,
    OriginalArtist = 8,
    CopyrightInformation = 9,
    WebLink = 10,
    EncodedBy = 11,
};
constexpr int kFrameCount = 12;

// "TIT2" for Title and so on; "" outside 0..11.
std::string FrameIdOf(int frame);
// The inverse, exact and case-sensitive; -1 for any other text.
int FrameIndexOf(const std::string& id);

// Four 7-bit groups, most significant first; bits above 27 are lost.
std::array<uint8_t, 4> ToSyncsafe(uint32_t value);
// Sum of b[i] * 2^(21 - 7i), unmasked: a byte of 0x80 or more counts whole.
uint32_t FromSyncsafe(const uint8_t* b);
// Direction 1: value * 2^bits; 2: value / 2^bits; anything else 0.
uint64_t ShiftBits(uint64_t value, unsigned bits, int direction);

// Interface identities of the frame classes. They stay inside the library
// (nothing registers them), they are the frames' identities
// for anyone inspecting the library.
constexpr const char kIID_IFrame[] = "{6020E8DC-DA22-4F79-9337-FE32F1971B61}";
constexpr const char kIID_CFrames[] = "{686B1CC7-B53F-4558-B455-D2398B29F465}";
constexpr const char kIID_CFrameComment[] = "{E773673A-CAD9-49B1-9CCA-34106A130FDA}";
constexpr const char kIID_CFrameWeb[] = "{7A3ED69B-47FD-41C6-AA49-13F114BA3B58}";
constexpr const char kIID_CFrameGeneric[] = "{4B765893-4A0D-4DC9-8570-8B0F58A44D25}";

// One frame of a tag. `Data` is the frame's text in the ANSI code page;
// `AdditionalInfo` set with a raw body splits it into the fields, and read
// gives the stored bytes that precede the text. A frame read from a file and
// not changed since gives back its body and header flags exactly as read.
class IFrame {
public:
    virtual ~IFrame() = default;

    int ID() const { return id_; }
    void ID(int id) { id_ = id; }
    // Length in bytes of the body as it would be written.
    int32_t Size() const { return static_cast<int32_t>(Body().size()); }
    void Size(int32_t) {}  // the size follows from the fields
    uint8_t Encoding() const { return encoding_; }
    void Encoding(uint8_t encoding);
    const std::string& Data() const { return data_; }
    // A "?" of `text` where Data() shows one for a character the code page
    // lacks keeps that character (KeepUnshown gives the rule).
    void Data(const std::string& text);
    // The text as UTF-16, with the characters the code page lacks.
    const std::u16string& Wide() const { return wide_; }

    std::string AdditionalInfo() const { return Prefix(); }
    // False when the body cannot hold this kind of frame; nothing is kept then.
    bool AdditionalInfo(const std::string& body);
    // The body as the file stores it, when that differs from the one split
    // (unsynchronised, compressed, or behind a data-length indicator): an
    // unchanged frame is written back so, an edited one plain.
    void Stored(const std::string& body) { if (has_raw_) raw_ = body; }

    // The four characters written in the frame header: the field's own ID
    // unless the frame was read or made under another one.
    std::string FrameID() const { return frame_id_.empty() ? FrameIdOf(id_) : frame_id_; }
    void FrameID(const std::string& frame_id) { frame_id_ = frame_id; }
    // Header flags as read; a changed frame is rebuilt and has none.
    uint16_t Flags() const { return changed_ ? 0 : flags_; }
    void Flags(uint16_t flags) { flags_ = flags; }
    // The whole body to write.
    std::string Body() const;

protected:
    virtual bool Parse(const std::string& body) = 0;
    virtual std::string Prefix() const = 0;
    virtual std::string RenderData() const;
    // Takes the text of a stored string as read.
    void ReadText(const std::string& bytes, uint8_t encoding);

    int id_ = -1;
    uint8_t encoding_ = 0;
    std::string data_;
    std::u16string wide_;

private:
    std::string frame_id_;
    std::string raw_;      // the body as read
    bool has_raw_ = false;
    bool changed_ = false;
    uint16_t flags_ = 0;
};

// "COMM": encoding, language (3 bytes), description, terminator, text.
class CFrameComment : public IFrame {
public:
    const std::string& Language() const { return language_; }
    std::string Description() const;

protected:
    bool Parse(const std::string& body) override;
    std::string Prefix() const override;

private:
    std::string language_ = std::string(3, '\0');
    std::string description_;  // stored bytes, in the encoding read
    uint8_t description_encoding_ = 0;
};

// "WXXX": encoding, description, terminator, link. The link is single-byte
// text whatever the encoding says, as the format has it.
class CFrameWeb : public IFrame {
public:
    std::string Description() const;

protected:
    bool Parse(const std::string& body) override;
    std::string Prefix() const override;
    std::string RenderData() const override { return data_; }

private:
    std::string description_;
    uint8_t description_encoding_ = 0;
};

// Text frames: encoding, text.
class CFrameGeneric : public IFrame {
protected:
    bool Parse(const std::string& body) override;
    std::string Prefix() const override;
};

// A frame the tag object does not edit (unknown ID, picture, a duplicate,
// a comment other than the field's, encrypted or grouped, or zlib data that
// does not inflate within its declared size): kept whole and written back
// as read.
// Its ID is -1, so no field lookup ever finds it.
class CFrameOpaque : public IFrame {
public:
    explicit CFrameOpaque(const std::string& frame_id) { FrameID(frame_id); }

protected:
    bool Parse(const std::string&) override { return true; }
    std::string Prefix() const override { return std::string(); }
    std::string RenderData() const override { return std::string(); }
};

// A new frame object of the class that edits `frame` (0..11).
std::unique_ptr<IFrame> CreateFrame(int frame);

// Frames in the order they were added, most under a 4-character key; frames
// added with an empty key are reachable by position only.
class CFrames {
    struct Entry {
        std::string key;
        std::unique_ptr<IFrame> frame;
    };

public:
    class const_iterator {
    public:
        explicit const_iterator(std::vector<Entry>::const_iterator it) : it_(it) {}
        const IFrame& operator*() const { return *it_->frame; }
        const IFrame* operator->() const { return it_->frame.get(); }
        const_iterator& operator++() { ++it_; return *this; }
        bool operator!=(const const_iterator& o) const { return it_ != o.it_; }
        bool operator==(const const_iterator& o) const { return it_ == o.it_; }

    private:
        std::vector<Entry>::const_iterator it_;
    };

    // False (and the frame is dropped) when the key is already present.
    bool Add(std::unique_ptr<IFrame> frame, const std::string& key);
    // The same, placed at a 1-based position (Count() + 1 appends).
    bool Insert(size_t position, std::unique_ptr<IFrame> frame, const std::string& key);
    // By key or by 1-based position; false when absent.
    bool Remove(const std::string& key);
    bool Remove(size_t position);
    // nullptr when absent.
    IFrame* item(const std::string& key) const;
    IFrame* item(size_t position) const;
    // 1-based position of the frame under `key`; 0 when absent.
    size_t Position(const std::string& key) const;
    bool Exists(const std::string& key) const { return item(key) != nullptr; }
    size_t Count() const { return entries_.size(); }
    void Clear() { entries_.clear(); }

    const_iterator begin() const { return const_iterator(entries_.begin()); }
    const_iterator end() const { return const_iterator(entries_.end()); }

private:
    size_t Find(const std::string& key) const;
    std::vector<Entry> entries_;
};

}  // namespace id3v2
}  // namespace corvella
