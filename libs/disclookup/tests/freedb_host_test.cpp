// The FreeDB control on a form of the program's container under Wine,
// against a scripted CDDB server and a scripted web server on 127.0.0.1:
// what a read and a search return, the clock, its Timer event and the ways
// a query ends, and one query at a time. The control's clock is shortened
// through its setting; the tests wait for what the control reports, never
// for a time.
#include <string>
#include <vector>

#include "app/controls/hosted/disc_lookup_controls.h"
#include "libs/common/tcpclient/tests/peer.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "platform/forms/activex/tests/activex_test_util.h"

namespace corvella::forms::testing {
namespace {

using corvella::tcp::testing::Peer;
using Discs = std::vector<disclookup::DiscID>;
using Ticks = std::vector<int>;

// Points the lookup at the local peers and shortens its clock; the values
// go again afterwards (the next read writes the defaults).
class LocalServers {
public:
    LocalServers(uint16_t cddbPort, uint16_t searchPort, DWORD tickMs) {
        using namespace disclookup;
        RegCreateKeyExA(HKEY_CURRENT_USER, kLookupSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        for (const char* host : {kCddbHostValue, kSearchHostValue})
            RegSetValueExA(key_, host, 0, REG_SZ, reinterpret_cast<const BYTE*>("127.0.0.1"), 10);
        const std::pair<const char*, DWORD> numbers[] = {
            {kCddbPortValue, cddbPort}, {kSearchPortValue, searchPort}, {kTickIntervalValue, tickMs}};
        for (const auto& n : numbers)
            RegSetValueExA(key_, n.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n.second), sizeof n.second);
    }
    ~LocalServers() {
        using namespace disclookup;
        for (const char* name :
             {kCddbHostValue, kSearchHostValue, kCddbPortValue, kSearchPortValue, kTickIntervalValue})
            RegDeleteValueA(key_, name);
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

// The album lookup form's share: one control and its ticks.
struct LookupForm : Form {
    FreeDB FreeDB1;
    Ticks ticks;
    std::function<void(int time, bool& cancel)> onTick;

    LookupForm() {
        name = "frmLookupTest";
        width = 6000;
        height = 4000;
        FreeDB1.name = "FreeDB1";
        FreeDB1.Timer = [this](int, int time, bool& cancel) {
            ticks.push_back(time);
            if (onTick) onTick(time, cancel);
        };
        CreateControls = [this] { FreeDB1.Create(*this); };
    }
    ~LookupForm() override { Unload(); }
};

// The last form's unloading posts the quit message, as the program ends
// then; the next form of the test must not see it.
void ForgetQuit() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

Ticks OneTo(int n) {
    Ticks t;
    for (int i = 1; i <= n; ++i) t.push_back(i);
    return t;
}

// The read reply, in pieces as a server may send them: one ends inside a
// line, the next begins with "200" inside a title.
const char* const kReadReply[] = {
    "210 rock 0a0b0c0d CD database entry follows (until terminating `.')\r\n# xmcd\r\n#\r\nDISCID=0a0b0c0d\r\nDTI",
    "TLE=AC/DC / Back in Bla\r\nDTITLE=ck\r\nDYEAR=1980\r\nDGENRE=Hard Rock\r\nTTITLE0=Hells Bells\r\nTTITLE1=Shoot to Thrill\r\nTTITLE2=",
    "200 Years\\tLive\r\nEXTD=\r\nPLAYORDER=\r\n",
    ".\r\n",
};

// A CDDB server that speaks the dialogue and records the commands it got;
// `before` runs before its sign-on.
Peer::Serve CddbServer(std::function<void()> before = nullptr) {
    return [before](Peer& p, SOCKET s) {
        if (before) before();
        Peer::Send(s, "201 test CDDBP server v1.5 ready\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            p.Record(line + "|");
            if (line.rfind("cddb hello ", 0) == 0) {
                Peer::Send(s, "200 Hello and welcome\r\n");
            } else if (line == "proto 5") {
                Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
            } else if (line.rfind("cddb read ", 0) == 0) {
                for (const char* piece : kReadReply) Peer::Send(s, piece);
            } else if (line == "quit") {
                Peer::Send(s, "230 Goodbye\r\n");
                break;
            }
        }
    };
}

void ExpectTheDisc(const disclookup::DiscInfo& disc) {
    EXPECT_EQ(disc.Artist, "AC/DC");
    EXPECT_EQ(disc.Title, "Back in Black");
    EXPECT_EQ(disc.Year, "1980");
    EXPECT_EQ(disc.Genre, "Hard Rock");
    ASSERT_EQ(disc.Tracks.size(), 3u);
    EXPECT_EQ(disc.Tracks[0].Title, "Hells Bells");
    EXPECT_EQ(disc.Tracks[1].Title, "Shoot to Thrill");
    EXPECT_EQ(disc.Tracks[2].Title, "200 Years\tLive");
    for (const auto& t : disc.Tracks) EXPECT_EQ(t.Artist, "");
}

// The commands of one read, the hello's names aside.
void ExpectTheCommands(const std::string& recorded) {
    const std::string hello = recorded.substr(0, recorded.find('|'));
    EXPECT_EQ(recorded.substr(hello.size()), "|proto 5|cddb read rock 0a0b0c0d|quit|");
    ASSERT_EQ(hello.rfind("cddb hello ", 0), 0u) << hello;
    EXPECT_EQ(hello.substr(hello.size() - 15), " Corvella 1.2.0");
    int blanks = 0;
    for (char c : hello) blanks += c == ' ';
    EXPECT_EQ(blanks, 5) << "user and host are single words: " << hello;
}

using FreeDBHost = HostedControlTest;

TEST_F(FreeDBHost, ADiscReadWithASplitReplyGivesTheWholeEntry) {
    Peer cddb(CddbServer());
    LocalServers local(cddb.port, 1, 1000);
    LookupForm form;
    form.Show();
    RECT r;
    GetClientRect(form.FreeDB1.ControlWindow(), &r);
    EXPECT_EQ(r.right, 125);
    EXPECT_EQ(r.bottom, 25);
    SetWindowPos(form.FreeDB1.ControlWindow(), nullptr, 0, 0, 300, 90, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(form.FreeDB1.ControlWindow(), &r);
    EXPECT_EQ(r.right, 125) << "the control keeps its size";

    const disclookup::DiscInfo disc = form.FreeDB1.QueryDiscID("0a0b0c0d", "rock");
    cddb.Join();
    ExpectTheCommands(cddb.Recorded());
    ExpectTheDisc(disc);
}

TEST_F(FreeDBHost, AServerThatNeverAnswersEndsAfterThirtyTicksWithNothing) {
    Peer silent([](Peer&, SOCKET s) { Peer::UntilClosed(s); });
    LocalServers local(silent.port, silent.port, 10);
    LookupForm form;
    form.Show();
    const disclookup::DiscInfo disc = form.FreeDB1.QueryDiscID("0a0b0c0d", "rock");
    EXPECT_EQ(disc, disclookup::DiscInfo()) << "no fields and a track count of 0";
    EXPECT_EQ(form.ticks, OneTo(30));
}

TEST_F(FreeDBHost, CancelStopQueryOrAClosedFormEndTheQueryAtOnce) {
    Peer silent([](Peer&, SOCKET s) { Peer::UntilClosed(s); }, 6);
    LocalServers local(silent.port, silent.port, 10);
    enum How { kCancel, kStop, kUnload };
    for (const bool search : {false, true}) {
        for (const How how : {kCancel, kStop, kUnload}) {
            LookupForm form;
            form.Show();
            form.onTick = [&](int time, bool& cancel) {
                if (time < 3) return;
                if (how == kCancel) cancel = true;
                else if (how == kStop) form.FreeDB1.StopQuery();
                else form.Unload();
            };
            if (search) EXPECT_EQ(form.FreeDB1.QueryTextString("anything"), Discs());
            else EXPECT_EQ(form.FreeDB1.QueryDiscID("0a0b0c0d", "rock"), disclookup::DiscInfo());
            EXPECT_EQ(form.ticks, OneTo(3)) << how << search;
            form.Unload();
            ForgetQuit();
        }
    }
}

TEST_F(FreeDBHost, ATextSearchReturnsTheRecordsOfTheResultLinksOnly) {
    const std::string page =
        "<html><body><a href=\"/\">Home</a> <a href=\"/freedb_search.php?words=x&page=2\">2</a>\n"
        "<table><tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=rock&id=0a0b0c0d\">"
        "AC/DC / Back in <b>Black</b></a></td></tr>\n"
        "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=rock&id=zz\">Bad / Id</a></td></tr>\n"
        "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=folk&amp;id=1234abcd\">"
        "Simon &amp; Garfunkel / Bookends</a></td></tr>\n"
        "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=misc&id=89abcdef\">Untitled</a>"
        "</td></tr></table><a href=\"/about\">About</a></body></html>\n";
    Peer web([&](Peer& p, SOCKET s) {
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) p.Record(line + "|");
        Peer::Send(s, "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n");
        Peer::Send(s, page.substr(0, 200));
        Peer::Send(s, page.substr(200));
    });
    LocalServers local(1, web.port, 1000);
    LookupForm form;
    form.Show();
    const Discs found = form.FreeDB1.QueryTextString("AC/DC back & black");
    const Discs expected = {{"0a0b0c0d", "Back in Black", "AC/DC", "rock"},
                            {"1234abcd", "Bookends", "Simon & Garfunkel", "folk"},
                            {"89abcdef", "", "Untitled", "misc"}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(web.Recorded(),
              "GET /freedb_search.php?words=AC%2FDC+back+%26+black&allfields=NO&fields=artist&fields=title"
              "&allcats=YES&grouping=none HTTP/1.0|Host: 127.0.0.1:" +
                  std::to_string(web.port) + "|Accept: */*|");
}

TEST_F(FreeDBHost, AQueryStartedDuringAQueryReturnsEmptyAtOnceAndLeavesTheRunningOneAlone) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Peer cddb(CddbServer([go] { WaitForSingleObject(go, INFINITE); }));
    // Ticks long enough for the whole dialogue to fit in 30 of them.
    LocalServers local(cddb.port, cddb.port, 100);
    LookupForm form;
    form.Show();
    disclookup::DiscInfo inner;
    Discs innerSearch = {{"x", "x", "x", "x"}};
    Ticks innerTicks;
    form.onTick = [&](int time, bool&) {
        if (time != 1) return;
        inner = form.FreeDB1.QueryDiscID("0a0b0c0d", "rock");
        innerSearch = form.FreeDB1.QueryTextString("anything");
        innerTicks = form.ticks;
        SetEvent(go);  // the server signs on only now
    };
    ExpectTheDisc(form.FreeDB1.QueryDiscID("0a0b0c0d", "rock"));
    EXPECT_EQ(inner, disclookup::DiscInfo());
    EXPECT_EQ(innerSearch, Discs());
    EXPECT_EQ(innerTicks, OneTo(1)) << "the inner queries waited for nothing";
    cddb.Join();
    ExpectTheCommands(cddb.Recorded());
    CloseHandle(go);
}

// "quit" follows the entry: the call returns once the entry is in, before
// any goodbye, and the connection stays open until the server says goodbye,
// closes, or keeps silent for a second; the server reads "quit" last either
// way.
TEST_F(FreeDBHost, TheQuitAfterTheEntryLeavesWhileTheCallHasReturned) {
    enum Ending { kGoodbye, kServerCloses, kSilent };
    for (const Ending ending : {kGoodbye, kServerCloses, kSilent}) {
        SCOPED_TRACE(ending);
        HANDLE returned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        Peer cddb([returned, finished, ending](Peer& p, SOCKET s) {
            Peer::Send(s, "201 test CDDBP server v1.5 ready\r\n");
            for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
                p.Record(line + "|");
                if (line.rfind("cddb hello ", 0) == 0) Peer::Send(s, "200 Hello and welcome\r\n");
                else if (line == "proto 5") Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
                else if (line.rfind("cddb read ", 0) == 0)
                    for (const char* piece : kReadReply) Peer::Send(s, piece);
                else if (line == "quit") break;
            }
            WaitForSingleObject(returned, INFINITE);
            // Whether the client had gone before its goodbye could come.
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(s, &readable);
            timeval now = {0, 0};
            char c;
            if (select(0, &readable, nullptr, nullptr, &now) == 1 && recv(s, &c, 1, MSG_PEEK) <= 0)
                p.Record("closed before the goodbye|");
            if (ending == kGoodbye) Peer::Send(s, "230 Goodbye\r\n");
            if (ending != kServerCloses) Peer::UntilClosed(s);
            p.Record("closed|");
            SetEvent(finished);
        });
        LocalServers local(cddb.port, 1, 1000);
        LookupForm form;
        form.Show();
        ExpectTheDisc(form.FreeDB1.QueryDiscID("0a0b0c0d", "rock"));
        SetEvent(returned);
        // The control closes its side from the message loop.
        while (MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) DoEvents();
        cddb.Join();
        const std::string recorded = cddb.Recorded();
        EXPECT_EQ(recorded.substr(recorded.find('|')), "|proto 5|cddb read rock 0a0b0c0d|quit|closed|");
        CloseHandle(returned);
        CloseHandle(finished);
        form.Unload();
        ForgetQuit();
    }
}

}  // namespace
}  // namespace corvella::forms::testing
