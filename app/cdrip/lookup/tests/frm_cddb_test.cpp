// frmCDDB under Wine: a disc image in the ripper's open drive, a scripted
// CDDB server on 127.0.0.1 reached through the Options\CDDB values, and what
// the window shows and hands over. Waits for the window's states, never for
// a time.
#include <windows.h>

#include <optional>
#include <tuple>

#include "app/cdrip/core/disc_id.h"
#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/lookup/frm_cddb.h"
#include "app/cdrip/lookup/tests/cddb_server.h"
#include "platform/cdaudio/tests/test_paths.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;
using tcp::testing::Peer;
using cdrip::testing::LocalServer;
using cdrip::testing::Server;

class FrmCDDBTest : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", cdaudio::testing::ImagePath("tones.cue").c_str());
        ASSERT_TRUE(cdrip::OpenCDDrive(0));
        disc = *cdrip::FreedbDiscId(cdrip::TOC);
    }
    void TearDown() override {
        form.Unload();
        cdrip::CloseCDDrive();
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", nullptr);
        FormsTest::TearDown();
    }
    // Shows the window and waits until the search has ended.
    void Search() {
        form.Show();
        ASSERT_TRUE(PumpUntil([&] { return form.Lookup() == nullptr || form.Lookup()->Ended(); }, 20000));
    }

    cdrip::FreedbDisc disc;
    FrmCDDB form;
};

TEST_F(FrmCDDBTest, FindsTheImagesDiscAndHandsItOver) {
    Peer cddb(Server());
    LocalServer local(cddb.port);
    std::vector<cdrip::DiscData> got;
    form.GetCDDBInfo = [&](const cdrip::DiscData& d) { got.push_back(d); };
    Search();
    EXPECT_EQ(form.Caption(), "Found Match");
    EXPECT_TRUE(form.cmdMain[0].Enabled());
    EXPECT_TRUE(form.chkMixed.Visible());
    EXPECT_EQ(form.lblTitle.Caption(), "Test Tones, Sines");

    const std::string recorded = cddb.Recorded();
    const std::string hello = recorded.substr(0, recorded.find('|'));
    EXPECT_EQ(hello.substr(hello.size() - 15), " Test_APP 1.0.0") << hello;
    int blanks = 0;
    for (char c : hello) blanks += c == ' ';
    EXPECT_EQ(blanks, 5) << "user and host are single words: " << hello;
    EXPECT_EQ(recorded.substr(hello.size()),
              "|proto 5|cddb query " + disc.query + "|cddb read misc " + disc.hex + "|");

    // The compilation box ticked after the reply still splits the tracks.
    form.chkMixed.SetValue(1);
    SendMessageA(form.cmdMain[0].hWnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_FALSE(form.Loaded());
    const cdrip::DiscData& d = got[0];
    EXPECT_EQ(std::tie(d.Artist, d.Album, d.Year, d.Genre, d.Mixed),
              std::make_tuple("Test Tones", "Sines", "2001", "Test", true));
    EXPECT_EQ(d.Titles, (std::vector<std::string>{"One", "Mid", "High"}));
    EXPECT_EQ(d.Artists, (std::vector<std::string>{"Low", "Test Tones", "Test Tones"}));
}

TEST_F(FrmCDDBTest, EndsEverySearchThatCannotSucceedWithItsReason) {
    {
        Peer cddb(Server("202 No match for disc ID " + disc.hex + ".\r\n"));
        LocalServer local(cddb.port);
        Search();
        EXPECT_EQ(form.Caption(), "No Matches Found");
        EXPECT_EQ(form.Label1.Caption(), forms::App.Title() +
                                             " was unable to find any records of an album that matches the "
                                             "inserted CD-Rom's criteria.");
        EXPECT_FALSE(form.cmdMain[0].Enabled());
        form.Unload();
    }
    // A search that cannot end in an entry names the server, its port and
    // why, as the album lookup does, in a label that holds the whole text.
    DWORD unused;
    {
        Peer gone([](Peer&, SOCKET) {});
        unused = gone.port;
    }
    const std::string kUnreadable = "an empty or unreadable reply.";
    const struct {
        std::string host;
        std::string reply;  // none: nothing listens at the port
        std::string reason;
    } failures[] = {
        {"127.0.0.1", "", "The server refused the connection: no lookup service answers at that address."},
        {"nosuch.invalid", "",
         "The server's name could not be found; check the name and the connection to the Internet."},
        {"127.0.0.1", std::string(1, '\0') + "\r\n", "The server answered with an error: " + kUnreadable},
        {"127.0.0.1", "\r\n", "The server answered with an error: " + kUnreadable},
        {"127.0.0.1", "403 Database entry is corrupt.\r\n",
         "The server answered with an error: 403 Database entry is corrupt."},
        {"127.0.0.1", "403 " + std::string(300, 'x') + "\r\n",
         "The server answered with an error: 403 " + std::string(196, 'x') + "..."},
    };
    for (const auto& f : failures) {
        std::optional<Peer> cddb;
        if (!f.reply.empty()) cddb.emplace(Server(f.reply));
        const DWORD port = cddb ? cddb->port : unused;
        LocalServer local(port, f.host);
        Search();
        EXPECT_EQ(form.Caption(), "Searching for Titles");
        EXPECT_EQ(form.Label1.Caption(), "The search for the CD-Rom's titles failed.\r\n\r\nServer: " + f.host +
                                             ", port " + std::to_string(port) + "\r\nReason: " + f.reason);
        EXPECT_FALSE(form.cmdMain[0].Enabled());
        RECT room{}, needs{};
        GetClientRect(form.Label1.hWnd(), &room);
        needs = room;
        HDC dc = GetDC(form.Label1.hWnd());
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(form.Label1.hWnd(), WM_GETFONT, 0, 0)));
        DrawTextA(dc, form.Label1.Caption().c_str(), -1, &needs, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(form.Label1.hWnd(), dc);
        EXPECT_LE(needs.bottom, room.bottom) << f.reason;
        form.Unload();
    }
    {
        cdrip::CloseCDDrive();  // no open drive: nothing is asked
        Search();
        EXPECT_EQ(form.Label1.Caption(), "No CD-Rom drive is open.");
        EXPECT_FALSE(form.cmdMain[0].Enabled());
    }
}

}  // namespace
}  // namespace corvella
