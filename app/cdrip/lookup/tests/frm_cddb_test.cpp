// frmCDDB under Wine: a disc image in the ripper's open drive, a scripted
// CDDB server on 127.0.0.1 reached through the Options\CDDB values, and what
// the window shows and hands over. Waits for the window's states, never for
// a time.
#include <windows.h>

#include <cstdlib>

#include "app/cdrip/core/disc_id.h"
#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/lookup/frm_cddb.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "platform/forms/tests/forms_test_util.h"
#include "libs/common/tcpclient/tests/peer.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;
using tcp::testing::Peer;

std::string Image(const std::string& name) {
    const char* unix = std::getenv("CORVELLA_CD_IMAGES");
    std::string path = std::string("Z:") + (unix ? unix : "/tmp") + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Points the lookup at 127.0.0.1:port for the test's time.
class LocalServer {
public:
    explicit LocalServer(DWORD port) {
        using namespace disclookup;
        RegCreateKeyExA(HKEY_CURRENT_USER, kLookupSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExA(key_, kCddbHostValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("127.0.0.1"), 10);
        RegSetValueExA(key_, kCddbPortValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port), sizeof port);
    }
    ~LocalServer() {
        RegDeleteValueA(key_, disclookup::kCddbHostValue);
        RegDeleteValueA(key_, disclookup::kCddbPortValue);
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

// Speaks the dialogue; `queryReply` answers the query.
Peer::Serve Server(const std::string& queryReply, const std::string& id) {
    return [=](Peer& p, SOCKET s) {
        Peer::Send(s, "200 test CDDBP server v1.5 ready, posting allowed\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            p.Record(line + "|");
            if (line.rfind("cddb hello ", 0) == 0) Peer::Send(s, "200 Hello and welcome\r\n");
            else if (line == "proto 5") Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
            else if (line.rfind("cddb query ", 0) == 0) Peer::Send(s, queryReply);
            else if (line.rfind("cddb read ", 0) == 0) {
                // The entry in pieces; one begins with "200".
                Peer::Send(s, "210 misc " + id + " CD database entry follows\r\n# xmcd\r\nDTITLE=Test Tones / Sine");
                Peer::Send(s, "s\r\nDYEAR=");
                Peer::Send(s, "2001\r\nDGENRE=Test\r\nTTITLE0=Low / One\r\nTTITLE1=Mid\r\nTTITLE2=Hi");
                Peer::Send(s, "gh\r\n.\r\n");
            }
        }
    };
}

class FrmCDDBTest : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        const std::string list = Image("tones.cue");
        SetEnvironmentVariableA("CORVELLA_DISC_IMAGES", list.c_str());
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
    Peer cddb(Server("200 misc " + disc.hex + " Test Tones / Sines\r\n", disc.hex));
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
    EXPECT_EQ(d.Artist, "Test Tones");
    EXPECT_EQ(d.Album, "Sines");
    EXPECT_EQ(d.Year, "2001");
    EXPECT_EQ(d.Genre, "Test");
    EXPECT_TRUE(d.Mixed);
    EXPECT_EQ(d.Titles, (std::vector<std::string>{"One", "Mid", "High"}));
    EXPECT_EQ(d.Artists, (std::vector<std::string>{"Low", "Test Tones", "Test Tones"}));
}

TEST_F(FrmCDDBTest, EndsEverySearchThatCannotSucceedWithItsReason) {
    {
        Peer cddb(Server("202 No match for disc ID " + disc.hex + ".\r\n", disc.hex));
        LocalServer local(cddb.port);
        Search();
        EXPECT_EQ(form.Caption(), "No Matches Found");
        EXPECT_EQ(form.Label1.Caption(), forms::App.Title() +
                                             " was unable to find any records of an album that matches the "
                                             "inserted CD-Rom's criteria.");
        EXPECT_FALSE(form.cmdMain[0].Enabled());
        form.Unload();
    }
    {
        // A port nobody listens on: the refusal ends the search.
        DWORD port;
        {
            Peer gone([](Peer&, SOCKET) {});
            port = gone.port;
        }
        LocalServer local(port);
        Search();
        EXPECT_EQ(form.Caption(), "Searching for Titles");
        EXPECT_NE(form.Label1.Caption().find("ended: "), std::string::npos) << form.Label1.Caption();
        EXPECT_FALSE(form.cmdMain[0].Enabled());
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
