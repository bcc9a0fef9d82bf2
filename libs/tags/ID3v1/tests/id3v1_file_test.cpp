#include <gtest/gtest.h>

#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v1/tests/test_files.h"

namespace corvella {
namespace id3v1 {
namespace {

using testing_files::Audio;
using testing_files::ReadBytes;
using testing_files::TempDir;
using testing_files::WriteBytes;
using V = FieldValue;

std::string Pad(const std::string& text, size_t length, char pad = ' ') {
    std::string field = text.substr(0, length);
    field.resize(length, pad);
    return field;
}

std::string Byte(int b) { return std::string(1, static_cast<char>(b)); }

// A tag block as other writers leave it: ID3v1.1 with a track ...
std::string TagV11(const std::string& title, const std::string& comment, int track, int genre,
                   char pad = ' ') {
    return "TAG" + Pad(title, 30, pad) + Pad("Artist", 30, pad) + Pad("Album", 30, pad) +
           Pad("1999", 4, pad) + Pad(comment, 28, pad) + Byte(0) + Byte(track) + Byte(genre);
}
// ... or ID3v1.0, whose comment runs to 30 characters.
std::string TagV10(const std::string& comment, int genre) {
    return "TAG" + Pad("Title", 30) + Pad("Artist", 30) + Pad("Album", 30) + Pad("1999", 4) +
           Pad(comment, 30) + Byte(genre);
}

bool IsReadOnly(const std::string& path) {
    return (platform_filesystem().get_attributes(path) & kAttrReadOnly) != 0;
}

std::string Get(const CID3v1Tag& tag, int field) { return tag.GetFieldValue(field).value_or("<none>"); }

// What the program does with every row it applies: read, put each field
// back as it was shown, write.
void ReadEditWrite(FileSystem& fs, const std::string& path) {
    CID3v1Tag tag;
    ASSERT_TRUE(tag.ReadTag(fs, path));
    for (int f = Title; f <= Track; ++f) tag.SetFieldValue(f, V::Str(Get(tag, f)));
    ASSERT_TRUE(tag.WriteTag(fs, path));
}

class TagFile : public ::testing::Test {
protected:
    FileSystem& fs = platform_filesystem();
    TempDir dir;
    std::string path = dir.Path("song.mp3");
    CID3v1Tag tag;
};

TEST_F(TagFile, UntaggedFileReadsEmpty) {
    WriteBytes(path, Audio(1000));
    tag.SetFieldValue(Title, V::Str("stale"));
    ASSERT_TRUE(tag.ReadTag(fs, path));
    for (int f = Title; f <= Track; ++f) EXPECT_EQ(Get(tag, f), "") << f;
    EXPECT_EQ(tag.RawRecord()[124], 255);
    EXPECT_EQ(tag.RawRecord()[123], 0);
}

TEST_F(TagFile, WriteAppendsOnceThenOverwritesInPlace) {
    const std::string audio = Audio(1000);
    WriteBytes(path, audio);
    tag.ReadTag(fs, path);
    tag.SetFieldValue(Title, V::Str("abc"));
    tag.SetFieldValue(Track, V::Str("7"));
    tag.SetFieldValue(Genre, V::Str("rock"));
    ASSERT_TRUE(tag.WriteTag(fs, path));
    std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 1128u);
    EXPECT_EQ(bytes.substr(0, 1000), audio);
    EXPECT_EQ(bytes.substr(1000, 33), "TAG" + Pad("abc", 30));
    EXPECT_EQ(bytes.substr(1125), Byte(0) + Byte(7) + Byte(17));

    tag.SetFieldValue(Title, V::Str("second"));
    ASSERT_TRUE(tag.WriteTag(fs, path));
    bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 1128u);
    EXPECT_EQ(bytes.substr(0, 1000), audio);

    CID3v1Tag again;
    ASSERT_TRUE(again.ReadTag(fs, path));
    EXPECT_EQ(Get(again, Title), "second");
    EXPECT_EQ(Get(again, Track), "07");
    EXPECT_EQ(Get(again, Genre), "Rock");
}

TEST_F(TagFile, OtherWritersPaddingAndGenreBytes) {
    WriteBytes(path, Audio(200) + TagV11("  Nul padded ", "c", 3, 130, '\0'));
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ(Get(tag, Title), "Nul padded");
    EXPECT_EQ(Get(tag, ReleaseYear), "1999");
    EXPECT_EQ(Get(tag, Comment), "c");
    EXPECT_EQ(Get(tag, Track), "03");
    EXPECT_EQ(Get(tag, Genre), "Terror");

    const struct { int byte; const char* reads; } genres[] = {
        {0, "Blues"}, {125, "Dance Hall"}, {147, "Synth Pop"}, {148, ""}, {254, ""}, {255, ""}};
    for (const auto& g : genres) {
        WriteBytes(path, Audio(10) + TagV11("t", "c", 1, g.byte));
        ASSERT_TRUE(tag.ReadTag(fs, path));
        EXPECT_EQ(Get(tag, Genre), g.reads) << g.byte;
    }
}

TEST_F(TagFile, RewritingWhatWasReadKeepsEveryByte) {
    const std::string tags[] = {
        TagV11("Blues tune", "note", 7, 0),
        TagV11("Late genre", "", 200, 140),
        TagV11("No genre", "x", 0, 255),
        TagV10("A comment thirty chars long!!", 133),
        TagV10(std::string(30, 'z'), 17),
    };
    for (const std::string& t : tags) {
        const std::string original = Audio(300) + t;
        WriteBytes(path, original);
        ReadEditWrite(fs, path);
        EXPECT_EQ(ReadBytes(path), original) << t.substr(3, 30);
    }
}

TEST_F(TagFile, Version10CommentUsesTheTrackBytes) {
    const std::string comment30 = "0123456789012345678901234567AB";
    WriteBytes(path, Audio(50) + TagV10(comment30, 12));
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ(Get(tag, Comment), comment30);
    EXPECT_EQ(Get(tag, Track), "");

    // No valid track: the last two comment characters stay.
    for (const V& none : {V::Num(0), V::Num(201), V::Str("x"), V::Str(""), V::Nil()}) {
        EXPECT_TRUE(tag.SetFieldValue(Track, none));
        EXPECT_EQ(Get(tag, Comment), comment30);
    }
    const std::string other30 = "zyxwvutsrqponmlkjihgfedcbaZYXW";
    tag.SetFieldValue(Comment, V::Str(other30 + "cut"));
    EXPECT_EQ(Get(tag, Comment), other30);
    tag.SetFieldValue(Comment, V::Str("short"));
    EXPECT_EQ(Get(tag, Comment), "short");
    EXPECT_EQ(tag.RawRecord()[122], ' ') << "still ID3v1.0";

    tag.SetFieldValue(Comment, V::Str(comment30));
    ASSERT_TRUE(tag.SetFieldValue(Track, V::Num(5)));
    EXPECT_EQ(Get(tag, Track), "05");
    EXPECT_EQ(Get(tag, Comment), comment30.substr(0, 28));
    ASSERT_TRUE(tag.WriteTag(fs, path));
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), Byte(0) + Byte(5) + Byte(12));
}

TEST_F(TagFile, MarkerIsCaseSensitive) {
    const std::string untagged = Audio(100) + "tag" + std::string(125, 'q');
    WriteBytes(path, untagged);
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ(Get(tag, Title), "");
    ASSERT_TRUE(tag.WriteTag(fs, path));
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), untagged.size() + 128);
    EXPECT_EQ(bytes.substr(0, untagged.size()), untagged);
}

TEST_F(TagFile, FileThatIsOnlyATag) {
    WriteBytes(path, TagV11("Only", "", 1, 1));
    ASSERT_TRUE(tag.ReadTag(fs, path));
    EXPECT_EQ(Get(tag, Title), "Only");
    ASSERT_TRUE(tag.RemoveTag(fs, path));
    EXPECT_EQ(ReadBytes(path), "");
}

TEST_F(TagFile, TooShortFileFailsEverything) {
    const std::string short_file = Audio(127);
    WriteBytes(path, short_file);
    tag.SetFieldValue(Title, V::Str("kept?"));
    EXPECT_FALSE(tag.ReadTag(fs, path));
    EXPECT_EQ(Get(tag, Title), "") << "read clears first";
    tag.SetFieldValue(Title, V::Str("kept"));
    EXPECT_FALSE(tag.WriteTag(fs, path));
    EXPECT_EQ(Get(tag, Title), "kept");
    EXPECT_FALSE(tag.RemoveTag(fs, path));
    EXPECT_EQ(ReadBytes(path), short_file);
}

TEST_F(TagFile, MissingFileOrFolder) {
    const std::string missing = dir.Path("absent.mp3");
    tag.SetFieldValue(Title, V::Str("held"));
    EXPECT_FALSE(tag.WriteTag(fs, missing));
    EXPECT_FALSE(fs.exists(missing)) << "write must not create the file";
    EXPECT_FALSE(tag.RemoveTag(fs, missing));
    EXPECT_EQ(Get(tag, Title), "held") << "remove of a missing file keeps the record";
    EXPECT_FALSE(tag.ReadTag(fs, missing));
    EXPECT_EQ(Get(tag, Title), "");
    EXPECT_EQ(tag.RawRecord()[124], 255);

    const std::string folder = dir.Path("");
    EXPECT_FALSE(tag.ReadTag(fs, folder));
    EXPECT_FALSE(tag.WriteTag(fs, folder));
    EXPECT_FALSE(tag.RemoveTag(fs, folder));
}

TEST_F(TagFile, RemoveCutsTheTagAndKeepsReadOnly) {
    const std::string audio = Audio(1000);
    WriteBytes(path, audio + TagV11("gone", "", 1, 1));
    ASSERT_TRUE(fs.set_attributes(path, kAttrReadOnly));
    ASSERT_TRUE(tag.RemoveTag(fs, path));
    EXPECT_EQ(ReadBytes(path), audio);
    EXPECT_TRUE(IsReadOnly(path));
    EXPECT_EQ(Get(tag, Title), "");

    tag.SetFieldValue(Title, V::Str("held"));
    ASSERT_TRUE(tag.RemoveTag(fs, path)) << "no tag is still success";
    EXPECT_EQ(ReadBytes(path), audio);
    EXPECT_EQ(Get(tag, Title), "");
    EXPECT_TRUE(IsReadOnly(path));
}

TEST_F(TagFile, WriteToReadOnlyFileKeepsItReadOnly) {
    WriteBytes(path, Audio(500));
    ASSERT_TRUE(fs.set_attributes(path, kAttrReadOnly));
    tag.SetFieldValue(Title, V::Str("ro"));
    ASSERT_TRUE(tag.WriteTag(fs, path));
    EXPECT_EQ(ReadBytes(path).size(), 628u);
    EXPECT_TRUE(IsReadOnly(path));
}

// Wraps the real file system and makes chosen file operations fail.
class FailingFs : public FileSystem {
public:
    explicit FailingFs(FileSystem& real) : real_(real) {}
    bool fail_open = false, fail_write = false, fail_truncate = false;

    bool exists(const std::string& p) override { return real_.exists(p); }
    std::unique_ptr<File> open(const std::string& p, bool writable) override {
        if (fail_open) return nullptr;
        std::unique_ptr<File> f = real_.open(p, writable);
        return f ? std::unique_ptr<File>(new Failing(std::move(f), *this)) : nullptr;
    }
    std::unique_ptr<File> create_new(const std::string& p) override { return real_.create_new(p); }
    uint32_t get_attributes(const std::string& p) override { return real_.get_attributes(p); }
    bool set_attributes(const std::string& p, uint32_t a) override { return real_.set_attributes(p, a); }
    bool replace(const std::string& f, const std::string& t) override { return real_.replace(f, t); }
    bool remove(const std::string& p) override { return real_.remove(p); }
    uint32_t cluster_size(const std::string& r) override { return real_.cluster_size(r); }

private:
    class Failing : public File {
    public:
        Failing(std::unique_ptr<File> f, FailingFs& owner) : f_(std::move(f)), owner_(owner) {}
        bool read_at(uint64_t o, void* b, size_t n) override { return f_->read_at(o, b, n); }
        bool write_at(uint64_t o, const void* b, size_t n) override {
            if (!owner_.fail_write) return f_->write_at(o, b, n);
            f_->write_at(o, b, n / 2);  // a disk that fills up half-way
            return false;
        }
        bool size(uint64_t& out) override { return f_->size(out); }
        bool truncate(uint64_t n) override { return !owner_.fail_truncate && f_->truncate(n); }
        bool flush() override { return f_->flush(); }

    private:
        std::unique_ptr<File> f_;
        FailingFs& owner_;
    };
    FileSystem& real_;
};

TEST_F(TagFile, FailuresReportFalseRestoreAttributesAndLeaveNoHalfTag) {
    const std::string audio = Audio(400);
    WriteBytes(path, audio);
    ASSERT_TRUE(fs.set_attributes(path, kAttrReadOnly));
    FailingFs failing(fs);

    failing.fail_write = true;
    EXPECT_FALSE(tag.WriteTag(failing, path));
    EXPECT_EQ(ReadBytes(path), audio);
    EXPECT_TRUE(IsReadOnly(path));
    failing.fail_write = false;

    failing.fail_open = true;
    EXPECT_FALSE(tag.WriteTag(failing, path));
    EXPECT_FALSE(tag.RemoveTag(failing, path));
    EXPECT_FALSE(tag.ReadTag(failing, path));
    EXPECT_TRUE(IsReadOnly(path));
    failing.fail_open = false;

    ASSERT_TRUE(tag.WriteTag(failing, path));
    failing.fail_truncate = true;
    EXPECT_FALSE(tag.RemoveTag(failing, path));
    EXPECT_EQ(ReadBytes(path).size(), 528u);
    EXPECT_TRUE(IsReadOnly(path));
}

}  // namespace
}  // namespace id3v1
}  // namespace corvella
