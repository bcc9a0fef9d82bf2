// The whole run under Wine: a disc image through cdaudio.dll, the encoding
// window over a dialog, lame_enc.dll, the temporary files and the real tag
// libraries. check_mp3s.py reads the files from outside afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/encoder/rip_runner.h"
#include "app/cdrip/progress/frm_mp3_encoding_info.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "platform/cdaudio/tests/test_paths.h"

namespace corvella::cdrip {
namespace {

using cdaudio::testing::WinPath;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The tag objects, the tones image as the open drive, a dialog to run over
// and the message boxes captured.
class RipRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
        ASSERT_HRESULT_SUCCEEDED(tags_.Create());
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", cdaudio::testing::ImagePath("tones.cue").c_str());
        ASSERT_TRUE(OpenCDDrive(0));
        forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string& title) {
            boxes.push_back(title + ": " + prompt);
            return IDOK;
        });
        dialog.name = "frmMP3";
        dialog.caption = "Encode Audio CD-Rom";
        dialog.Show();
    }
    void TearDown() override {
        EXPECT_EQ(CloseCDDrive(), 1);
        forms::SetMsgBoxHook(nullptr);
        dialog.Unload();
        // The last form's unload posts the quit, as the program ends then;
        // the next test's modal loop must not see it.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
        tags_.Release();
        CoUninitialize();
    }
    // A folder of the output root with none of `names` in it.
    static std::string Folder(const std::string& name, std::initializer_list<const char*> names) {
        const std::string out = WinPath("CORVELLA_LAME_OUT", "/tmp", name);
        // A fresh build has not made the output root yet.
        CreateDirectoryA(WinPath("CORVELLA_LAME_OUT", "/tmp").c_str(), nullptr);
        CreateDirectoryA(out.c_str(), nullptr);
        for (const char* n : names) DeleteFileA((out + "\\" + n).c_str());
        return out;
    }
    // Into `out`, the files named "01 title.mp3" ..., or "01.mp3" ... as
    // without a lookup.
    RunEnd Run(const RunInput& in, const std::string& out, bool titled) {
        RipRules rules;
        rules.prepareFolders = [](std::string*) { return true; };
        rules.fileName = [&](int n, const std::string& no) {
            if (onName) onName(n);
            return out + "\\" + no + (titled ? " " + in.disc.Titles[size_t(n - 1)] : "") + ".mp3";
        };
        return RunRip(dialog, in, rules, tags_.Pair());
    }

    std::vector<std::string> boxes;
    forms::Form dialog;
    std::function<void(int n)> onName;  // as the run names track n, before its rip

private:
    tags::testing::TagObjects tags_;
};

TEST_F(RipRun, ADiscImageBecomesTaggedFiles) {
    RunInput in;
    in.choices.variable = true;
    in.choices.vbrLevel = 2;
    in.choices.mode = 1;
    in.disc = {"the band", "first album", "Rock", "2001", {"one tone", "two tone", "data"}, {}, false};
    in.selected = {true, true, true};  // the third is the data track
    in.toc = TOC;
    in.tagCase = true;
    in.tagCaseMode = 0;
    const std::string out = Folder("run", {"01 one tone.mp3", "02 two tone.mp3"});
    EXPECT_EQ(Run(in, out, true), RunEnd::Completed);
    // The closing box names the files, and the data track that gave none.
    EXPECT_EQ(boxes, std::vector<std::string>{"Encoding Complete: " + forms::App.Title() +
                                              " has finished the encoding process\n\nFiles made:\n" + out +
                                              "\\01 one tone.mp3\n" + out + "\\02 two tone.mp3\n\nNot encoded:\n"
                                              "Track 03: a data track cannot be encoded"});
    EXPECT_TRUE(Exists(out + "\\01 one tone.mp3"));
    EXPECT_TRUE(Exists(out + "\\02 two tone.mp3"));
    EXPECT_FALSE(Exists(out + "\\03 data.mp3"));
    EXPECT_FALSE(frmMP3EncodingInfo().Loaded());
}

// A second disc ripped without a lookup into the same folder names its
// tracks "01.mp3" ... again: the first disc's files stay as they were.
TEST_F(RipRun, ATakenNameKeepsTheFileThereAndTheTrackTakesTheNextFreeName) {
    const std::string out = Folder("keep", {"01.mp3", "01 (2).mp3", "02.mp3", "02 (2).mp3"});
    const std::string mine = "the first disc's track, tagged by hand\n";
    std::ofstream(out + "\\01.mp3", std::ios::binary) << mine;
    RunInput in;
    in.choices.variable = false;
    // Disc data, so the run tags what it wrote: the tags must not go to 01.mp3.
    in.disc = {"the band", "first album", "Rock", "2001", {"one tone", "two tone", "data"}, {}, false};
    in.selected = {true, true, false};
    in.toc = TOC;
    EXPECT_EQ(Run(in, out, false), RunEnd::Completed);
    EXPECT_EQ(boxes, std::vector<std::string>{"Encoding Complete: " + forms::App.Title() +
                                              " has finished the encoding process\n\nFiles made:\n" + out +
                                              "\\01 (2).mp3 (01.mp3 was taken)\n" + out + "\\02.mp3"});
    EXPECT_EQ(Bytes(out + "\\01.mp3"), mine);
    EXPECT_EQ(Bytes(out + "\\01 (2).mp3").substr(0, 3), "ID3");  // check_mp3s.py decodes it
    EXPECT_TRUE(Exists(out + "\\02.mp3"));
    EXPECT_FALSE(Exists(out + "\\02 (2).mp3"));
}

// A Cancel during the second track, the first written beside a file of its
// name: the finished file keeps its tags and the closing box names it.
TEST_F(RipRun, ACancelNamesTheFileMadeUnderAFreeName) {
    const std::string out = Folder("cancel", {"01.mp3", "01 (2).mp3", "02.mp3"});
    std::ofstream(out + "\\01.mp3", std::ios::binary) << "another disc's track\n";
    onName = [](int n) {
        if (n == 2) PostMessageA(frmMP3EncodingInfo().cmdMain.hWnd(), BM_CLICK, 0, 0);
    };
    RunInput in;
    in.choices.variable = false;
    in.disc = {"the band", "first album", "Rock", "2001", {"one tone", "two tone", "data"}, {}, false};
    in.selected = {true, true, false};
    in.toc = TOC;
    EXPECT_EQ(Run(in, out, false), RunEnd::Cancelled);
    EXPECT_EQ(boxes, std::vector<std::string>{"Encoding Cancelled: The encoding was cancelled.\n\nFiles made:\n" +
                                              out + "\\01 (2).mp3 (01.mp3 was taken)"});
    EXPECT_FALSE(Exists(out + "\\02.mp3"));  // check_mp3s.py reads the tags of 01 (2).mp3
}

}  // namespace
}  // namespace corvella::cdrip
