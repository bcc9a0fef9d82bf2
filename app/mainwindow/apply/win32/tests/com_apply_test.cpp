// The apply over the real tag libraries on real files, read back by an
// independent ID3 reader (mutagen, a Linux program that Wine starts), with
// the audio bytes of every file compared before and after.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/mainwindow/apply/win32/com_tag_objects.h"
#include "libs/common/tests/com_test_util.h"

using namespace corvella::testing;

namespace corvella {
namespace apply {
namespace {

// Wine's own name of a file for its Unix side.
std::string ToUnix(const std::string& winPath) {
    using Fn = char*(CDECL*)(LPCWSTR);
    static const Fn get = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (get == nullptr) return "";
    std::wstring w(MAX_PATH, L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, winPath.c_str(), -1, &w[0], MAX_PATH));
    char* unixName = get(w.c_str());
    if (unixName == nullptr) return "";
    std::string out = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return out;
}

// What the reader says of one file: "v1" and "v2" (none / present / 3),
// "v1:title", ... and "v2:TIT2", ... with their texts.
using Dump = std::map<std::string, std::string>;

class Silent : public ApplyProgress {
public:
    void Show(const std::string& count, const std::string&, int, const std::string&) override {
        counts.push_back(count);
    }
    std::vector<std::string> counts;
};

class ComApply : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(ToUnix(folder_.path()).empty()) << "the reader runs on Wine's Unix side";
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
    }
    void TearDown() override {
        for (const std::string& f : files_) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
        tags_.Release();
    }

    // A file of audio with both tags: every ID3v2 frame and ID3v1 field set.
    std::string MakeFile(const std::string& name, unsigned seed) {
        const std::string path = folder_.File(name);
        files_.push_back(path);
        audio_[path] = FakeAudio(3000 + seed * 7, seed);
        WriteBytes(path, audio_[path]);
        const char* values[kFieldCount] = {"Title", "Artist", "Album", "1999", "Note", "Rock", "4",
                                           "Composer", "Orig Artist", "(C) Owner", "http://example.org/",
                                           "Encoder"};
        tags_->id3v2.ReadTag(path);
        for (int i = 0; i < kFieldCount; ++i) tags_->id3v2.SetField(i, std::string(values[i]) + " " + name);
        tags_->id3v2.SetField(3, "1999");
        tags_->id3v2.SetField(6, std::to_string(seed));
        EXPECT_TRUE(tags_->id3v2.WriteTag(path));
        tags_->id3v1.ReadTag(path);
        for (int i = 0; i < kV1FieldCount; ++i) tags_->id3v1.SetField(i, values[i]);
        EXPECT_TRUE(tags_->id3v1.WriteTag(path));
        return path;
    }

    // The audio between the tags as they lie in the file now.
    static std::string AudioOf(const std::string& path) {
        std::string bytes = ReadBytes(path);
        size_t start = 0;
        if (bytes.compare(0, 3, "ID3") == 0 && bytes.size() >= 10) {
            start = 10;
            for (int i = 6; i < 10; ++i) start += static_cast<size_t>(static_cast<unsigned char>(bytes[i])) << (7 * (9 - i));
        }
        size_t end = bytes.size();
        if (end >= start + 128 && bytes.compare(end - 128, 3, "TAG") == 0) end -= 128;
        return bytes.substr(start, end - start);
    }

    // Runs the reader on the file through Wine's Unix side.
    Dump Read(const std::string& winPath) {
        // Wine does not wait for a Unix process to end: the dump is renamed
        // into place when complete, and the test waits for it to be there.
        const std::string out = folder_.File("dump.txt");
        const std::string part = ToUnix(out) + ".part";
        std::string cmd = "Z:\\bin\\sh -c \"/usr/bin/python3 '" CORVELLA_MUTAGEN_PEER "' dump '" + ToUnix(winPath) +
                          "' > '" + part + "'; mv '" + part + "' '" + ToUnix(out) + "'\"";
        STARTUPINFOA si;
        ZeroMemory(&si, sizeof si);
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        EXPECT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        const DWORD start = GetTickCount();
        while (GetFileAttributesA(out.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 60000)
            Sleep(20);
        std::string text = ReadBytes(out);
        DeleteFileA(out.c_str());
        EXPECT_FALSE(text.empty()) << "the reader printed nothing for " << winPath;
        Dump dump;
        size_t at = 0;
        while (at < text.size()) {
            size_t eol = text.find('\n', at);
            if (eol == std::string::npos) eol = text.size();
            std::vector<std::string> parts(1);
            for (size_t i = at; i < eol; ++i) {
                if (text[i] == '\t') parts.emplace_back();
                else parts.back().push_back(text[i]);
            }
            at = eol + 1;
            if (parts[0] == "v1" || parts[0] == "v2") dump[parts[0]] = parts.size() > 1 ? parts[1] : "";
            if (parts[0] == "frame" && parts.size() > 2) dump["v2:" + parts[1]] = Unhex(parts[2]);
            if (parts[0] == "v1field" && parts.size() > 2) dump["v1:" + parts[1]] = Unhex(parts[2]);
        }
        return dump;
    }
    static std::string Unhex(const std::string& hex) {
        std::string out;
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        return out;
    }

    void ExpectAudioKept() {
        for (const std::string& f : files_) EXPECT_EQ(AudioOf(f), audio_[f]) << f;
    }

    // The panel as UpdateDisplay fills it from the file's tag of `version`.
    std::array<std::string, kFieldCount> PanelOf(const std::string& path, int version) {
        std::array<std::string, kFieldCount> masks;
        TagObject& tag = version == 0 ? static_cast<TagObject&>(tags_->id3v1) : tags_->id3v2;
        tag.ReadTag(path);
        for (int i = 0; i < (version == 0 ? kV1FieldCount : kFieldCount); ++i) masks[i] = tag.FieldText(i).value_or("");
        return masks;
    }

    ComApartment com_;
    TempFolder folder_;
    std::vector<std::string> files_;
    std::map<std::string, std::string> audio_;
    tags::testing::TagObjects tags_;
    Silent progress_;
};

TEST_F(ComApply, OneFieldInTheID3v1ViewUpdateBothAndRemoval) {
    const std::string a = MakeFile("a.mp3", 1);
    const size_t before = ReadBytes(a).size();
    const Dump was = Read(a);
    ASSERT_EQ(was.at("v1"), "present") << "the reader must see the file's tags";

    ApplyRequest req;
    req.rowKeys = {a};
    req.selectedRow = 0;
    req.tagVersion = 0;
    req.masks = PanelOf(a, 0);
    req.masks[1] = "New Artist";
    ApplyOutcome out = ApplyID3Update(req, tags_->id3v1, tags_->id3v2, progress_);
    ASSERT_TRUE(out.unwritten.empty());
    EXPECT_EQ(ReadBytes(a).size(), before) << "the 128-byte ID3v1 tag is rewritten in place";
    EXPECT_EQ(ReadBytes(a).substr(before - 128, 3), "TAG");
    Dump now = Read(a);
    EXPECT_EQ(now.at("v1:artist"), "New Artist");
    EXPECT_EQ(now.at("v1:title"), "Title");
    EXPECT_EQ(now.at("v2:TPE1"), "Artist a.mp3") << "the ID3v2 tag is not the shown version";

    // "Update Both" from the ID3v1 view: the ID3v2-only frames survive.
    req.updateBoth = true;
    req.masks[0] = "Both Title";
    out = ApplyID3Update(req, tags_->id3v1, tags_->id3v2, progress_);
    ASSERT_TRUE(out.unwritten.empty());
    now = Read(a);
    EXPECT_EQ(now.at("v1:title"), "Both Title");
    EXPECT_EQ(now.at("v2:TIT2"), "Both Title");
    EXPECT_EQ(now.at("v2:TPE1"), "New Artist");
    for (const char* kept : {"v2:TCOM", "v2:TOPE", "v2:TCOP", "v2:TENC"})
        EXPECT_EQ(now.count(kept) ? now.at(kept) : "<gone>", was.at(kept)) << kept;

    // Every field empty with "Update Both": both tags go, the audio stays.
    req.masks = {};
    out = ApplyID3Update(req, tags_->id3v1, tags_->id3v2, progress_);
    EXPECT_TRUE(out.removing && out.unwritten.empty());
    now = Read(a);
    EXPECT_EQ(now.at("v1"), "none");
    EXPECT_EQ(now.at("v2"), "none");
    EXPECT_TRUE(ReadBytes(a) == audio_[a]);
}

TEST_F(ComApply, BatchOrderOfTotalWithAReadOnlyAndALockedFile) {
    const std::string a = MakeFile("a.mp3", 1), b = MakeFile("b.mp3", 2), c = MakeFile("c.mp3", 3),
                      d = MakeFile("d.mp3", 4), e = MakeFile("e.mp3", 5);
    SetFileAttributesA(c.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string bBefore = ReadBytes(b), eBefore = ReadBytes(e);
    // Another program holds e open with no sharing.
    HANDLE lock = CreateFileA(e.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    ApplyRequest req;
    req.rowKeys = {a, b, c, d, e};
    req.ticked = {true, false, true, true, true};
    req.selectedRow = 0;
    req.tagVersion = 1;
    req.updateBoth = true;
    req.masks = PanelOf(a, 1);
    req.masks[2] = "#Order# of #Total#";
    req.pressed[2] = true;
    const ApplyOutcome out = ApplyID3Update(req, tags_->id3v1, tags_->id3v2, progress_);
    CloseHandle(lock);
    EXPECT_EQ(progress_.counts, (std::vector<std::string>{"1 of 4", "2 of 4", "3 of 4", "4 of 4"}));
    EXPECT_EQ(out.unwritten, std::vector<std::string>{e});
    EXPECT_TRUE(ReadBytes(e) == eBefore) << "locked: reported, left as it was";
    EXPECT_TRUE(ReadBytes(b) == bBefore) << "unticked";
    const Dump da = Read(a), dd = Read(d), dc = Read(c);
    EXPECT_EQ(da.at("v2:TALB"), "1 of 4");
    EXPECT_EQ(da.at("v1:album"), "1 of 4");
    EXPECT_EQ(dd.at("v2:TALB"), "4 of 4");
    EXPECT_EQ(dd.at("v2:TIT2"), "Title d.mp3") << "an unpressed frame keeps the file's value";
    EXPECT_EQ(dd.at("v2:TCOM"), "Composer d.mp3");
    // The tag libraries write a read-only file and give it back its attribute.
    EXPECT_EQ(dc.at("v2:TALB"), "3 of 4");
    EXPECT_EQ(GetFileAttributesA(c.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    ExpectAudioKept();
}

}  // namespace
}  // namespace apply
}  // namespace corvella
