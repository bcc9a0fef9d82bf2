// Frame objects, number forms, track text and the field interface, in memory.
#include <gtest/gtest.h>

#include "libs/tags/ID3v2/core/id3v2_frames.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/tags/ID3v2/core/id3v2_text.h"
#include "libs/tags/ID3v2/tests/test_support.h"

using namespace corvella::id3v2;

namespace {

template <class T>
std::unique_ptr<T> Parsed(const std::string& body) {
    std::unique_ptr<T> f(new T);
    EXPECT_TRUE(f->AdditionalInfo(body));
    return f;
}

}  // namespace

TEST(Id3v2Numbers, SyncsafeShiftAndIds) {
    auto s = ToSyncsafe(0x0FFFFFFF);
    EXPECT_EQ((std::array<uint8_t, 4>{0x7F, 0x7F, 0x7F, 0x7F}), s);
    EXPECT_EQ((std::array<uint8_t, 4>{0, 0, 2, 1}), ToSyncsafe(257));
    EXPECT_EQ((std::array<uint8_t, 4>{0, 0, 0, 0}), ToSyncsafe(1u << 28));  // top bits lost
    const uint8_t raw[4] = {0, 0, 2, 1}, high[4] = {0, 0, 0, 0x80};
    EXPECT_EQ(257u, FromSyncsafe(raw));
    EXPECT_EQ(128u, FromSyncsafe(high));  // unmasked
    EXPECT_EQ(40u, ShiftBits(5, 3, 1));
    EXPECT_EQ(5u, ShiftBits(40, 3, 2));
    EXPECT_EQ(0u, ShiftBits(40, 3, 0));
    EXPECT_EQ("COMM", FrameIdOf(Comment));
    EXPECT_EQ("WXXX", FrameIdOf(WebLink));
    EXPECT_EQ("", FrameIdOf(12));
    EXPECT_EQ(EncodedBy, FrameIndexOf("TENC"));
    EXPECT_EQ(-1, FrameIndexOf("tenc"));
    EXPECT_EQ(-1, FrameIndexOf("APIC"));
}

TEST(Id3v2Frames, AnsiBodiesSplitAndRebuild) {
    auto c = Parsed<CFrameComment>(std::string("\0eng" "d\0" "hello", 11));
    EXPECT_EQ(std::string("eng"), c->Language());
    EXPECT_EQ("d", c->Description());
    EXPECT_EQ("hello", c->Data());
    EXPECT_EQ(11, c->Size());
    c->Data("bye");  // rebuilt, language and description kept
    EXPECT_EQ(std::string("\0eng" "d\0" "bye", 9), c->Body());

    auto w = Parsed<CFrameWeb>(std::string("\0home\0http://x", 14));
    EXPECT_EQ("home", w->Description());
    EXPECT_EQ("http://x", w->Data());
    auto bare = Parsed<CFrameWeb>(std::string("\0\0http://y", 10));
    EXPECT_EQ("", bare->Description());
    EXPECT_EQ("http://y", bare->Data());
    auto unterminated = Parsed<CFrameWeb>(std::string("\0http://z", 9));
    EXPECT_EQ("http://z", unterminated->Data());  // the encoding byte is no part of the link

    auto g = Parsed<CFrameGeneric>(std::string("\0Word\0", 6));
    EXPECT_EQ("Word", g->Data());  // trailing NUL is no part of the value
    EXPECT_EQ(6, g->Size());       // but an unchanged body stays as read

    auto shortc = Parsed<CFrameComment>(std::string("\0en", 3));
    EXPECT_EQ("", shortc->Data());
    EXPECT_FALSE(CFrameWeb().AdditionalInfo(""));
    EXPECT_FALSE(CFrameGeneric().AdditionalInfo(""));
}

TEST(Id3v2Frames, UnicodeBodiesDecodeAndReencode) {
    // UTF-16 with BOM: description "d", text "Caf\xE9".
    const std::string utf16 = std::string("\x01" "eng" "\xFF\xFE" "d\0" "\0\0" "\xFF\xFE" "C\0a\0f\0\xE9\0", 20);
    auto c = Parsed<CFrameComment>(utf16);
    EXPECT_EQ("d", c->Description());
    EXPECT_EQ("Caf\xE9", c->Data());
    EXPECT_EQ(utf16, c->Body());
    c->Data("\xE9t\xE9");
    EXPECT_EQ(std::string("\x01" "eng" "\xFF\xFE" "d\0" "\0\0" "\xFF\xFE" "\xE9\0t\0\xE9\0", 18), c->Body());
    c->Encoding(kEncAnsi);  // the description follows the encoding
    EXPECT_EQ(std::string("\0eng" "d\0" "\xE9t\xE9", 9), c->Body());

    auto be = Parsed<CFrameGeneric>(std::string("\x02\0A\0\xE9", 5));
    EXPECT_EQ("A\xE9", be->Data());
    be->Data("B");
    EXPECT_EQ(std::string("\x02\0B", 3), be->Body());

    auto u8 = Parsed<CFrameGeneric>("\x03" "Caf\xC3\xA9");
    EXPECT_EQ("Caf\xE9", u8->Data());
    u8->Data("\xE9");
    EXPECT_EQ("\x03\xC3\xA9", u8->Body());

    // UTF-16 description terminators count on character boundaries only.
    auto w = Parsed<CFrameWeb>(std::string("\x01\xFF\xFE" "A\0\0B" "\0\0" "http://a", 17));
    EXPECT_EQ("A?", w->Description());  // U+4200 is not in the code page
    EXPECT_EQ("http://a", w->Data());
}

TEST(Id3v2Frames, CollectionKeepsOrderAndKeys) {
    auto make = [](int id) { auto f = CreateFrame(id); f->ID(id); return f; };
    CFrames frames;
    EXPECT_FALSE(frames.Exists("TIT2"));
    EXPECT_TRUE(frames.Add(make(Title), "TIT2"));
    EXPECT_TRUE(frames.Add(std::unique_ptr<IFrame>(new CFrameOpaque("APIC")), ""));
    EXPECT_TRUE(frames.Add(make(Artist), "TPE1"));
    EXPECT_FALSE(frames.Add(CreateFrame(Title), "TIT2"));
    EXPECT_FALSE(frames.Exists(""));
    EXPECT_EQ(3u, frames.Count());
    EXPECT_EQ("APIC", frames.item(2)->FrameID());
    EXPECT_EQ(nullptr, frames.item(4));
    EXPECT_TRUE(frames.Remove("TIT2"));
    EXPECT_FALSE(frames.Remove("TIT2"));
    EXPECT_TRUE(frames.Remove(size_t(1)));
    std::string order;
    for (const IFrame& f : frames) order += f.FrameID();
    EXPECT_EQ("TPE1", order);
    frames.Clear();
    EXPECT_EQ(0u, frames.Count());
}

TEST(Id3v2Fields, TrackTextForms) {
    const struct { const char* in; const char* stored; const char* shown; } cases[] = {
        {"05/12", "5/12", "05/12"}, {"7 of 9", "79", "79"}, {"3/", "3/0", "03/00"},
        {"123", "123", "123"},      {"1/2/3", "1/2", "01/02"}, {"0", "", ""},
        {"0/12", "", ""},           {"", "", ""},            {"/4", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stored, NormalizeTrack(c.in)) << c.in;
        EXPECT_EQ(c.shown, FormatTrack(c.stored[0] ? c.stored : c.in)) << c.in;
    }
    EXPECT_EQ("07", PadTwoDigits("007"));
}

TEST(Id3v2Fields, SetGetRemoveAndOrder) {
    CID3v2Tag tag;
    tag.SetFrameValue(Comment, "c");
    tag.SetFrameValue(Title, "t");
    tag.SetFrameValue(Track, "05/12");
    EXPECT_EQ("05/12", tag.GetFrameValue(Track));
    EXPECT_EQ("5/12", tag.Frames().item("TRCK")->Data());
    tag.SetFrameValue(Track, "0");
    EXPECT_FALSE(tag.Frames().Exists("TRCK"));
    tag.SetFrameValue(Title, "");
    EXPECT_EQ("", tag.GetFrameValue(Title));
    tag.SetFrameValue(Title, "t2");
    tag.SetFrameValue(99, "x");
    EXPECT_EQ("", tag.GetFrameValue(99));
    EXPECT_EQ("", tag.GetFrameValue(-1));
    std::string out;
    ASSERT_TRUE(tag.RenderTag(0, out));
    EXPECT_EQ(std::string("ID3\3\0\0\0\0\0\x1D" "COMM\0\0\0\6\0\0\0\0\0\0\0c" "TIT2\0\0\0\3\0\0\0t2", 39), out);
}

// Encoding 0 means ISO-8859-1 to other readers; code-page text outside it
// must not be stored as raw bytes there.
TEST(TextEncodingOnSet, BeyondLatin1GoesOutAsUtf16) {
    using corvella::id3v2::CID3v2Tag;
    CID3v2Tag tag;
    const std::string cp1252 = "\x80 5 \x96 \x93\x8Cuvre\x94";
    tag.SetFrameValue(corvella::id3v2::Title, cp1252);
    tag.SetFrameValue(corvella::id3v2::Artist, "Caf\xE9");
    tag.SetFrameValue(corvella::id3v2::Comment, "\x84quoted\x93");
    tag.SetFrameValue(corvella::id3v2::WebLink, "http://example.invalid/");
    EXPECT_EQ(tag.Frames().item("TIT2")->Encoding(), 1);
    EXPECT_EQ(tag.Frames().item("TPE1")->Encoding(), 0) << "Latin-1 text stays single-byte";
    EXPECT_EQ(tag.Frames().item("COMM")->Encoding(), 1);
    EXPECT_EQ(tag.Frames().item("WXXX")->Encoding(), 0);

    std::string bytes;
    ASSERT_TRUE(tag.RenderTag(0, bytes));
    CID3v2Tag back;
    ASSERT_TRUE(back.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(back.GetFrameValue(corvella::id3v2::Title), cp1252);
    EXPECT_EQ(back.GetFrameValue(corvella::id3v2::Artist), "Caf\xE9");
    EXPECT_EQ(back.GetFrameValue(corvella::id3v2::Comment), "\x84quoted\x93");
}

// Characters the code page lacks reach the caller as "?"; a value set back
// with those "?" where they were (a case change, words added at either end)
// must keep the stored characters, in every Unicode encoding. (These letters
// have no look-alike in the code page, natively or under Windows.)
TEST(TextBeyondCodePage, SetKeepsStoredCharactersBehindQuestionMarks) {
    const std::u16string stored = u"Ελλά 東京 live";
    const char* const shown = "???? ?? live";
    const struct { std::string set; std::u16string written; } cases[] = {
        {"???? ?? LIVE", u"Ελλά 東京 LIVE"},                      // case
        {"???? ?? live (remix)", u"Ελλά 東京 live (remix)"},      // appended
        {"Intro: ???? ?? live", u"Intro: Ελλά 東京 live"},        // prepended
        {"?? live", u"東京 live"},                                // start cut
        {"x??? ?? live", u"xλλά 東京 live"},                      // one replaced
        {"???? ?? Live Mix", u"Ελλά 東京 Live Mix"},              // end changed
        {"Was it live?", u"Was it live?"},                        // a typed "?" stays
        {"", u""},
    };
    const std::pair<uint8_t, std::string> encodings[] = {
        {kEncUtf16, std::string("\xFF\xFE", 2)}, {kEncUtf16Be, ""}, {kEncUtf8, ""}};
    for (const auto& enc : encodings) {
        for (const auto& c : cases) {
            CID3v2Tag tag;
            const std::string body = std::string(1, char(enc.first)) + EncodeWide(stored, enc.first);
            const std::string bytes = testing_id3v2::Tag(3, 0, testing_id3v2::Frame("TIT2", body));
            ASSERT_TRUE(tag.ParseTag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
            ASSERT_EQ(shown, tag.GetFrameValue(Title));
            tag.SetFrameValue(Title, c.set);
            std::string out;
            ASSERT_TRUE(tag.RenderTag(0, out));
            CID3v2Tag back;
            ASSERT_TRUE(back.ParseTag(reinterpret_cast<const uint8_t*>(out.data()), out.size()));
            const IFrame* f = back.Frames().item("TIT2");
            if (c.written.empty()) {
                EXPECT_EQ(nullptr, f);
                continue;
            }
            ASSERT_NE(nullptr, f) << c.set;
            EXPECT_EQ(c.written, f->Wide()) << c.set << " in encoding " << int(enc.first);
            EXPECT_EQ(c.set, back.GetFrameValue(Title));
        }
    }
    // A single-byte frame has nothing behind its "?": it stays a "?".
    CID3v2Tag plain;
    plain.SetFrameValue(Title, "why?");
    plain.SetFrameValue(Title, "WHY?");
    EXPECT_EQ(u"WHY?", plain.Frames().item("TIT2")->Wide());
    EXPECT_EQ(kEncAnsi, plain.Frames().item("TIT2")->Encoding());
}
