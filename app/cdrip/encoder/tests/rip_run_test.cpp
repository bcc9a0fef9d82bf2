// The whole run under Wine: a disc image through cdaudio.dll, the encoding
// window over a dialog, lame_enc.dll, the temporary files and the real tag
// libraries. check_mp3s.py reads the files from outside afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/encoder/rip_runner.h"
#include "app/cdrip/progress/frm_mp3_encoding_info.h"
#include "app/foundation/tags/win32/com_tag.h"
#include "libs/tags/ID3v1/com/lumbrel.h"
#include "libs/tags/ID3v2/com/tesselor.h"
#include "platform/cdaudio/tests/test_paths.h"

namespace corvella::cdrip {
namespace {

using cdaudio::testing::WinPath;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(RipRun, ADiscImageBecomesTaggedFiles) {
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    _CID3v1* raw1 = nullptr;
    _CID3v2* raw2 = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(lumbrel::CLSID_CID3v1, nullptr, CLSCTX_INPROC_SERVER,
                                              __uuidof(_CID3v1), reinterpret_cast<void**>(&raw1)));
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(tesselor::CLSID_CID3v2, nullptr, CLSCTX_INPROC_SERVER,
                                              __uuidof(_CID3v2), reinterpret_cast<void**>(&raw2)));
    {
        tags::ComID3v1 v1(raw1);
        tags::ComID3v2 v2(raw2);
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", cdaudio::testing::ImagePath("tones.cue").c_str());
        ASSERT_TRUE(OpenCDDrive(0));

        std::vector<std::string> boxes;
        forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string& title) {
            boxes.push_back(title + ": " + prompt);
            return IDOK;
        });
        forms::Form dialog;
        dialog.name = "frmMP3";
        dialog.caption = "Encode Audio CD-Rom";
        dialog.Show();

        RunInput in;
        in.choices.variable = true;
        in.choices.vbrLevel = 2;
        in.choices.mode = 1;
        in.disc = {"the band", "first album", "Rock", "2001", {"one tone", "two tone", "data"}, {}, false};
        in.selected = {true, true, true};  // the third is the data track
        in.toc = TOC;
        in.tagCase = true;
        in.tagCaseMode = 0;
        const std::string out = WinPath("CORVELLA_LAME_OUT", "/tmp", "run");
        RipRules rules;
        rules.prepareFolders = [&](std::string*) {
            // A fresh build has not made the output root yet.
            CreateDirectoryA(WinPath("CORVELLA_LAME_OUT", "/tmp").c_str(), nullptr);
            CreateDirectoryA(out.c_str(), nullptr);
            return true;
        };
        rules.fileName = [&](int n, const std::string& no) { return out + "\\" + no + " " + in.disc.Titles[n - 1] + ".mp3"; };
        const tags::TagPair tags{&v1, &v2};
        EXPECT_EQ(RunRip(dialog, in, rules, tags), RunEnd::Completed);
        // The data track gives no file, and the closing box says so.
        EXPECT_EQ(boxes, std::vector<std::string>{"Encoding Complete: " + forms::App.Title() +
                                                  " has finished the encoding process\n\nNo file was made for:\n" +
                                                  out + "\\03 data.mp3"});
        EXPECT_TRUE(Exists(out + "\\01 one tone.mp3"));
        EXPECT_TRUE(Exists(out + "\\02 two tone.mp3"));
        EXPECT_FALSE(Exists(out + "\\03 data.mp3"));
        EXPECT_FALSE(frmMP3EncodingInfo().Loaded());

        EXPECT_EQ(CloseCDDrive(), 1);
        forms::SetMsgBoxHook(nullptr);
        dialog.Unload();
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
    }
    raw1->Release();
    raw2->Release();
    CoUninitialize();
}

}  // namespace
}  // namespace corvella::cdrip
