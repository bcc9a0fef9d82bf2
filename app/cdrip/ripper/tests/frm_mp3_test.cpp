// frmMP3 under Wine: its settings in the real registry, a disc image as its
// drive, and "&Convert" writing files at the names the options give, with
// the real encoder and tag libraries.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/cdrip/core/disc_id.h"
#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/lookup/frm_cddb.h"
#include "app/cdrip/ripper/frm_mp3.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/cdrip/lookup/tests/cddb_server.h"
#include "platform/cdaudio/tests/test_paths.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

const char kKey[] = "Software\\Corvella\\Options\\MP3";

using cdaudio::testing::ImagePath;

// A value's type and its text (a DWORD as its number).
std::pair<DWORD, std::string> Value(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {0, "no key"};
    DWORD type = 0, size = 1024;
    char data[1024] = {};
    const LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return {0, "missing"};
    if (type == REG_DWORD) return {type, std::to_string(*reinterpret_cast<DWORD*>(data))};
    return {type, data};
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FrmMP3Test : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        ASSERT_HRESULT_SUCCEEDED(pair_.Create());
        const std::string images = ImagePath("tones.cue") + ";" + ImagePath("open.cue");
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", images.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        form.SetTags(pair_.Pair());
    }
    void TearDown() override {
        form.Unload();
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
        pair_.Release();
        FormsTest::TearDown();
        OleUninitialize();
    }
    std::vector<std::string> Tracks() {
        std::vector<std::string> t;
        for (int i = 0; i < form.lstTracks.ListCount(); ++i) t.push_back(form.lstTracks.List(i));
        return t;
    }

    tags::testing::TagObjects pair_;
    FrmMP3 form;
};

TEST_F(FrmMP3Test, FirstOpeningWritesTheDefaultsAndACloseRewritesThemAsText) {
    form.Show();
    // One value of each kind in the real registry; every name's default is checked natively.
    const struct {
        const char* name;
        DWORD type;
        std::string value;
    } defaults[] = {
        {"Variable BR", REG_SZ, "4"}, {"CRC", REG_DWORD, "0"}, {"Bit Rate Mode", REG_SZ, "True"},
        {"Filename 2", REG_SZ, "4"},
    };
    for (const auto& d : defaults) EXPECT_EQ(Value(d.name), std::make_pair(d.type, d.value)) << d.name;
    const auto path = Value("MP3 Output Path");
    EXPECT_EQ(path.first, DWORD(REG_SZ));
    EXPECT_EQ(path.second.back(), '\\');
    EXPECT_EQ(form.cboBR[0].Text(), "VBR 4");
    EXPECT_EQ(form.Combo1.Text(), "Stereo");

    // Each image is one drive; the first is open with its tracks.
    ASSERT_EQ(form.cboDriveList.ListCount(), 2);
    EXPECT_EQ(form.cboDriveList.List(0), "Image: tones.cue");
    EXPECT_EQ(Tracks(), (std::vector<std::string>{"Track 01", "Track 02", "Track 03 (data)"}));
    EXPECT_FALSE(form.cmdMain[0].Enabled());
    form.lstTracks.SetSelected(0, true);
    EXPECT_TRUE(form.cmdMain[0].Enabled());
    // A drive that does not open empties the list.
    forms::testing::UserSelects(form.cboDriveList, 1);
    EXPECT_EQ(Tracks(), std::vector<std::string>{});
    EXPECT_FALSE(form.cmdMain[0].Enabled());

    // The tabs switch the frames.
    form.TabStrip1.SetSelectedTab(3);
    EXPECT_TRUE(form.Frame3.Visible());
    EXPECT_FALSE(form.Frame2.Visible());
    EXPECT_TRUE(form.cmdMain[2].Visible());
    EXPECT_FALSE(form.cmdMain[3].Visible());

    form.chkCRC.SetValue(1);
    form.Option1[1].SetValue(true);
    form.Unload();
    EXPECT_EQ(Value("CRC"), std::make_pair(DWORD(REG_SZ), std::string("1")));
    EXPECT_EQ(Value("Copyright"), std::make_pair(DWORD(REG_SZ), std::string("0")));
    EXPECT_EQ(Value("Bit Rate Mode"), std::make_pair(DWORD(REG_SZ), std::string("False")));
    form.Show();
    EXPECT_TRUE(form.Option1[1].Value());
    EXPECT_TRUE(form.cboBR[1].Visible());
    EXPECT_EQ(form.chkCRC.Value(), 1);
}

// The pixels of a part of a window (its client coordinates) as its dialog
// shows it once every pending paint is done; nothing is painted anew.
std::vector<COLORREF> Shown(HWND window, RECT part) {
    HWND top = GetAncestor(window, GA_ROOT);
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MapWindowPoints(window, top, reinterpret_cast<POINT*>(&part), 2);
    HDC dc = GetDC(top);
    std::vector<COLORREF> pixels;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(top, dc);
    return pixels;
}

bool Chromatic(COLORREF c) { return GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c); }

TEST_F(FrmMP3Test, EachTabShowsItsPicture) {
    form.Show();
    const HWND strip = form.TabStrip1.hWnd();
    for (int i = 0; i < 3; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        ASSERT_TRUE(SendMessageA(strip, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.iImage, i);
        RECT tab{};
        SendMessageA(strip, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab));
        const std::vector<COLORREF> pixels = Shown(strip, tab);
        EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), Chromatic), 8) << "tab " << i + 1 << "'s picture";
    }
    // Whether each page shows over the tab strip, and its labels, the
    // every-form test looks at on the screen.
}

// The output folder the check from outside reads afterwards, emptied first.
class OutputFolder {
public:
    OutputFolder() {
        path_ = cdaudio::testing::WinPath("CORVELLA_RIPPER_OUT", "/tmp/ripper_out");
        for (const char* f : kFiles) DeleteFileA(File(f).c_str());
        RemoveDirectoryA(File("ACDC\\Live 1992").c_str());
        RemoveDirectoryA(File("ACDC").c_str());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    static constexpr const char* kFiles[] = {"01.mp3", "02.mp3", "ACDC\\Live 1992\\1 - Con.mp3",
                                             "ACDC\\Live 1992\\2 - UpDown.mp3"};

private:
    std::string path_;
};

TEST_F(FrmMP3Test, ConvertWritesTheFilesAtTheNamesTheOptionsGive) {
    OutputFolder out;
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "MP3 Output Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(out.path().c_str()),
                   DWORD(out.path().size() + 1));  // without its final "\"
    RegCloseKey(key);
    std::vector<std::string> boxes;
    forms::SetMsgBoxHook([&](const std::string&, unsigned, const std::string& title) {
        boxes.push_back(title);
        return IDOK;
    });
    form.Show();
    EXPECT_EQ(form.OutputPath(), out.path() + "\\");
    EXPECT_EQ(form.lblOutput.ToolTipText(), out.path() + "\\");  // the whole path, however it is cut

    // Without an album: numbered files, no folders.
    form.GetCDDBInfo({});
    for (int i = 0; i < 3; ++i) form.lstTracks.SetSelected(i, true);
    form.cmdMain[0].DoClick();
    EXPECT_TRUE(Exists(out.File("01.mp3")));
    EXPECT_TRUE(Exists(out.File("02.mp3")));
    EXPECT_FALSE(Exists(out.File("03.mp3")));  // the data track
    EXPECT_EQ(boxes, std::vector<std::string>{"Encoding Complete"});
    EXPECT_FALSE(form.Loaded());  // the finished run closes the dialog
    // The last form's unload posts the quit, as the program ends then; the
    // next modal loop of this test must not see it.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    form.Show();

    // With an album, both schemes ticked: artist\album\n - title.
    form.GetCDDBInfo({"AC/DC", "Live: 1992", "Rock", "1992", {"Con", "Up/Down?"}, {}, false});
    EXPECT_EQ(Tracks(), (std::vector<std::string>{"Con", "Up/Down?", "Track 03 (data)"}));
    for (forms::CheckBox* c : {&form.Check3, &form.Check4}) {
        c->SetEnabled(true);
        c->SetValue(1);
    }
    for (int i = 0; i < 3; ++i) form.lstTracks.SetSelected(i, true);
    EXPECT_TRUE(form.cmdMain[0].Enabled());
    form.cmdMain[0].DoClick();
    const std::string folder = out.File("ACDC\\Live 1992\\");
    EXPECT_TRUE(Exists(folder + "1 - Con.mp3"));
    EXPECT_TRUE(Exists(folder + "2 - UpDown.mp3"));
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(boxes, (std::vector<std::string>{"Encoding Complete", "Encoding Complete"}));
    EXPECT_EQ(Value("MP3 Output Path").second, out.path() + "\\");
    forms::SetMsgBoxHook(nullptr);
    // The files stay for the check from outside (tests/check_ripped.py).
}

// A data track alone makes no file; the closing box says why and claims no
// finished encoding, and the dialog stays for another choice.
TEST_F(FrmMP3Test, ADataTrackAloneMakesNoFileAndSaysWhy) {
    const std::string root = cdaudio::testing::WinPath("CORVELLA_RIPPER_OUT", "/tmp/ripper_out");
    const std::string out = root + "\\data only";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(out.c_str(), nullptr);
    DeleteFileA((out + "\\03.mp3").c_str());
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "MP3 Output Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(out.c_str()),
                   DWORD(out.size() + 1));
    RegCloseKey(key);
    std::vector<std::string> boxes;
    forms::SetMsgBoxHook([&](const std::string& prompt, unsigned, const std::string& title) {
        boxes.push_back(title + ": " + prompt);
        return IDOK;
    });
    form.Show();
    form.lstTracks.SetSelected(2, true);
    form.cmdMain[0].DoClick();
    forms::SetMsgBoxHook(nullptr);
    EXPECT_EQ(boxes, std::vector<std::string>{"Nothing Encoded: No file was made.\n\nNot encoded:\n"
                                              "Track 03: a data track cannot be encoded"});
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(Exists(out + "\\03.mp3"));
}

// Clicks "&OK" of the lookup window once its search has found the disc.
void CALLBACK OkWhenFound(HWND, UINT, UINT_PTR, DWORD) {
    FrmCDDB& lookup = frmCDDB();
    if (lookup.Loaded() && lookup.cmdMain[0].Enabled()) lookup.cmdMain[0].DoClick();
}

TEST_F(FrmMP3Test, TheLookupOfTheOpenDriveNamesItsTracks) {
    tcp::testing::Peer cddb(cdrip::testing::Server());
    cdrip::testing::LocalServer local(cddb.port);
    form.Show();
    const std::string imageQuery = cdrip::FreedbDiscId(cdrip::TOC)->query;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, OkWhenFound);
    form.TabStrip1.SetSelectedTab(3);
    form.cmdMain[2].DoClick();  // returns once the lookup window has gone
    KillTimer(nullptr, timer);
    EXPECT_NE(cddb.Recorded().find("|cddb query " + imageQuery + "|"), std::string::npos) << cddb.Recorded();
    EXPECT_EQ(form.Disc().Album, "Sines");
    EXPECT_EQ(Tracks(), (std::vector<std::string>{"Low / One", "Mid", "Track 03 (data)"}));
    EXPECT_TRUE(form.Check3.Enabled());
    form.Unload();
}

}  // namespace
}  // namespace corvella
