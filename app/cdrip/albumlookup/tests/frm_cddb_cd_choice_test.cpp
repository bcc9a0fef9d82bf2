// The album lookup under Wine: the FreeDB control against a local search
// page and CDDB server (reached through the Options\CDDB values), the real
// tag libraries on real files, the message boxes through the hook. The
// values go again afterwards; the suite holds the settings lock meanwhile.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/foundation/win32/progress/progress_update.h"
#include "libs/common/tests/com_test_util.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "platform/forms/tests/forms_test_util.h"
#include "libs/common/tcpclient/tests/peer.h"

namespace corvella {
namespace {

using tcp::testing::Peer;

class LocalServers {
public:
    LocalServers(DWORD cddbPort, DWORD searchPort, const std::string& cddbHost = "127.0.0.1",
                 const std::string& searchHost = "127.0.0.1") {
        using namespace disclookup;
        RegCreateKeyExA(HKEY_CURRENT_USER, kLookupSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        for (const auto& [name, host] : {std::pair{kCddbHostValue, cddbHost}, std::pair{kSearchHostValue, searchHost}})
            RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(host.c_str()), DWORD(host.size() + 1));
        const std::pair<const char*, DWORD> numbers[] = {{kCddbPortValue, cddbPort}, {kSearchPortValue, searchPort}};
        for (const auto& n : numbers)
            RegSetValueExA(key_, n.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n.second), sizeof n.second);
        SetTicks(100);
    }
    // The query's clock, read as each query starts: 30 ticks end it.
    void SetTicks(DWORD ms) {
        RegSetValueExA(key_, disclookup::kTickIntervalValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&ms),
                       sizeof ms);
    }
    ~LocalServers() {
        using namespace disclookup;
        for (const char* name : {kCddbHostValue, kSearchHostValue, kCddbPortValue, kSearchPortValue, kTickIntervalValue})
            RegDeleteValueA(key_, name);
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
};

// The search page: one disc with an album, one whose link names none.
const char kSearchPage[] =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body><table>\n"
    "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=rock&id=0a0b0c0d\">"
    "AC/DC / Back in Black</a></td></tr>\n"
    "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=misc&id=89abcdef\">Untitled"
    "</a></td></tr></table></body></html>\n";

// The reply waits for `go` (when given), so the test can act while the
// query waits; the connection closes after it.
Peer::Serve SearchServer(HANDLE go, std::string reply = kSearchPage) {
    return [go, reply](Peer& p, SOCKET s) {
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) p.Record(line.substr(0, 4) + "|");
        if (go) WaitForSingleObject(go, 20000);
        Peer::Send(s, reply);
    };
}

// Speaks the dialogue up to the read, answers it with `reply` and closes.
Peer::Serve CddbReply(std::string reply) {
    return [reply](Peer&, SOCKET s) {
        Peer::Send(s, "201 test CDDBP server v1.5 ready\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            if (line.rfind("cddb hello ", 0) == 0) Peer::Send(s, "200 Hello and welcome\r\n");
            else if (line == "proto 5") Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
            else if (line.rfind("cddb read ", 0) == 0) return Peer::Send(s, reply);
        }
    };
}

Peer::Serve Silent() {
    return [](Peer&, SOCKET s) { Peer::UntilClosed(s); };
}

// Four tracks, no year; the first read finds no entry.
Peer::Serve CddbServer() {
    auto reads = std::make_shared<int>(0);
    return [reads](Peer& p, SOCKET s) {
        Peer::Send(s, "201 test CDDBP server v1.5 ready\r\n");
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            if (line.rfind("cddb hello ", 0) == 0) Peer::Send(s, "200 Hello and welcome\r\n");
            else if (line == "proto 5") Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
            else if (line.rfind("cddb read ", 0) == 0) {
                p.Record(line + "|");
                if ((*reads)++ == 0) {
                    Peer::Send(s, "401 rock 0a0b0c0d No such CD entry in database.\r\n");
                    continue;
                }
                Peer::Send(s, "210 rock 0a0b0c0d entry follows\r\nDTITLE=AC/DC / Back in Black\r\nDGENRE=Hard Rock\r\n"
                              "TTITLE0=Hells Bells\r\nTTITLE1=Shoot to Thrill\r\nTTITLE2=What Do You Do\r\n"
                              "TTITLE3=Givin the Dog\r\n.\r\n");
            } else if (line == "quit") {
                Peer::Send(s, "230 Goodbye\r\n");
                break;
            }
        }
    };
}

class AlbumLookup : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);  // the FreeDB control and the tag objects
        ASSERT_HRESULT_SUCCEEDED(pair_.Create());
        for (int i = 1; i <= 3; ++i) {
            const std::string path = folder_.File("t" + std::to_string(i) + ".mp3");
            testing::WriteBytes(path, testing::FakeAudio(4000, unsigned(i)));
            for (tags::TagObject* t : {static_cast<tags::TagObject*>(&pair_->id3v1), static_cast<tags::TagObject*>(&pair_->id3v2)}) {
                t->ReadTag(path);
                t->SetField(0, "old");
                t->SetField(3, "1999");
                t->SetField(5, "Blues");
                ASSERT_TRUE(t->WriteTag(path));
            }
            files_.rows.push_back({path, false, {"old", " AC/DC ", "Back in Black "}});
        }
        files_.selected = 0;
    }
    void TearDown() override {
        pair_.Release();
        FormsTest::TearDown();
        OleUninitialize();
    }
    std::string Field(int version, const std::string& path, int field) {
        tags::TagObject& t = version == 1 ? static_cast<tags::TagObject&>(pair_->id3v1) : pair_->id3v2;
        t.ReadTag(path);
        return t.FieldText(field).value_or("?");
    }

    testing::TempFolder folder_;
    tags::testing::TagObjects pair_;
    FileSet files_;
};

TEST_F(AlbumLookup, SearchesOneQueryAtATimeAsksOnAMismatchAndFillsTheListedFiles) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Peer web(SearchServer(go));
    Peer cddb(CddbServer(), 3);
    LocalServers local(cddb.port, web.port);

    FrmCDDBCDChoice form;
    // The main list reads its files again once the fill is over: the files
    // hold the new tags, the progress window has gone, the form stays.
    std::vector<std::string> listed;
    form.Prepare(files_, pair_.Pair(), [&] {
        listed.push_back(form.Loaded() && !frmProgressUpdate().Loaded() ? Field(2, files_.rows[0].path, 0) : "?");
    });
    form.Show();
    EXPECT_EQ(form.Text1.Text(), "AC/DC Back in Black");
    // While the search waits: everything but Cancel refuses.
    bool sawWait = false;
    auto ownTick = form.FreeDB1.Timer;
    form.FreeDB1.Timer = [&](int index, int time, bool& cancel) {
        ownTick(index, time, cancel);
        if (sawWait) return;
        sawWait = true;
        EXPECT_TRUE(form.Querying());
        EXPECT_FALSE(form.Command2.Enabled());
        EXPECT_FALSE(form.Command1.Enabled());
        EXPECT_FALSE(form.ListView1.Enabled());
        EXPECT_TRUE(form.Command3.Enabled());
        form.Command2.DoClick();
        SetEvent(go);
    };
    form.Command2.DoClick();
    CloseHandle(go);
    EXPECT_TRUE(sawWait);
    EXPECT_EQ(web.Recorded().substr(0, 4), "GET ");
    ASSERT_EQ(form.ListView1.ListItems.Count(), 1);  // the link without an album is left out
    EXPECT_EQ(form.ListView1.ListItems(1)->Text(), "0a0b0c0d");
    EXPECT_TRUE(form.Command1.Enabled());

    // Four tracks for three files: No writes nothing, Yes the three.
    int answer = IDNO;
    std::vector<std::string> titles;
    forms::SetMsgBoxHook([&](const std::string&, unsigned, const std::string& title) {
        titles.push_back(title);
        return answer;
    });
    form.Command1.DoClick();  // the read fails: said, nothing written
    EXPECT_EQ(titles, std::vector<std::string>{"Disc Not Read"});
    form.Command1.DoClick();
    EXPECT_EQ(titles, (std::vector<std::string>{"Disc Not Read", "Track Mis-Match"}));
    EXPECT_EQ(Field(1, files_.rows[0].path, 0), "old");
    EXPECT_EQ(listed, std::vector<std::string>());
    answer = IDYES;
    form.Command1.DoClick();
    EXPECT_EQ(listed, std::vector<std::string>{"Hells Bells"});
    EXPECT_FALSE(form.Result().tagsRewritten) << "listed already";
    EXPECT_EQ(cddb.Recorded(), "cddb read rock 0a0b0c0d|cddb read rock 0a0b0c0d|cddb read rock 0a0b0c0d|");
    const char* names[3] = {"Hells Bells", "Shoot to Thrill", "What Do You Do"};
    for (int i = 0; i < 3; ++i) {
        // Title, artist, album, the year kept (the entry has none), the genre never the disc's, track.
        const std::vector<std::string> want = {names[i], "AC/DC",  "Back in Black",
                                               "1999",   "Blues", "0" + std::to_string(i + 1)};
        for (int v : {1, 2}) {
            std::vector<std::string> got;
            for (int field : {0, 1, 2, 3, 5, 6}) got.push_back(Field(v, files_.rows[size_t(i)].path, field));
            EXPECT_EQ(got, want) << "row " << i << " v" << v;
        }
    }
    form.Command3.DoClick();
    EXPECT_FALSE(form.Loaded());
}

// A search or a disc read that does not get its reply says so, naming the
// server and the reason, and a read then writes nothing; a whole reply that
// lists no disc is "Not Found".
TEST_F(AlbumLookup, AFailedQueryNamesItsServerAndReason) {
    const struct {
        bool read;  // the disc read fails, after a search that finds the disc
        const char* host;
        Peer::Serve serve;  // none: nothing listens at port 1
        DWORD ticks;
        const char* title;
        const char* says;
    } cases[] = {
        {false, "127.0.0.1", nullptr, 100, "Search Failed", "refused the connection"},
        {false, "nosuch.invalid", nullptr, 100, "Search Failed", "name could not be found"},
        {false, "127.0.0.1", SearchServer(nullptr, "HTTP/1.0 200 OK\r\n"), 100, "Search Failed",
         "closed the connection before its reply was complete"},
        {false, "127.0.0.1", Silent(), 10, "Search Failed", "did not reply in time"},
        {false, "127.0.0.1", SearchServer(nullptr, "HTTP/1.0 503 Service Unavailable\r\n\r\n"), 100,
         "Search Failed", "answered with an error: HTTP/1.0 503 Service Unavailable"},
        {false, "127.0.0.1", SearchServer(nullptr, std::string(1, '\0') + "HTTP/1.0 200 OK\r\n\r\n"), 100,
         "Search Failed", "answered with an error: an empty or unreadable reply."},
        {false, "127.0.0.1", SearchServer(nullptr, "\r\n\r\n"), 100, "Search Failed",
         "answered with an error: an empty or unreadable reply."},
        {false, "127.0.0.1", SearchServer(nullptr, "HTTP/1.0 200 OK\r\n\r\n<html>No matches</html>"), 100,
         "Not Found", "No Discs were found matching 'AC/DC Back in Black'"},
        {true, "127.0.0.1", nullptr, 100, "Disc Not Read", "refused the connection"},
        {true, "nosuch.invalid", nullptr, 100, "Disc Not Read", "name could not be found"},
        {true, "127.0.0.1", CddbReply("210 rock 0a0b0c0d entry follows\r\nDTITLE=AC/DC / Back in Black\r\n"), 100,
         "Disc Not Read", "closed the connection before its reply was complete"},
        {true, "127.0.0.1", Silent(), 10, "Disc Not Read", "did not reply in time"},
        {true, "127.0.0.1", CddbReply("402 Server error.\r\n"), 100, "Disc Not Read",
         "answered with an error: 402 Server error."},
        {true, "127.0.0.1", CddbReply("403 Database entry is corrupt.\r\n"), 100, "Disc Not Read",
         "answered with an error: 403 Database entry is corrupt."},
        {true, "127.0.0.1", CddbReply(std::string(1, '\0') + "\r\n"), 100, "Disc Not Read",
         "answered with an error: an empty or unreadable reply."},
    };
    int relisted = 0;
    FrmCDDBCDChoice form;
    form.Prepare(files_, pair_.Pair(), [&] { ++relisted; });
    form.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.title) + ": " + c.says);
        std::unique_ptr<Peer> failing = c.serve ? std::make_unique<Peer>(c.serve) : nullptr;
        const DWORD port = failing ? failing->port : 1;
        std::unique_ptr<Peer> web = c.read ? std::make_unique<Peer>(SearchServer(nullptr)) : nullptr;
        LocalServers local(c.read ? port : 1, c.read ? web->port : port, c.read ? c.host : "127.0.0.1",
                           c.read ? "127.0.0.1" : c.host);
        if (!c.read) local.SetTicks(c.ticks);
        form.Command2.DoClick();
        if (c.read) {
            ASSERT_EQ(boxes.size(), 0u) << boxes[0].prompt;
            local.SetTicks(c.ticks);
            form.Command1.DoClick();
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, c.title) << boxes[0].prompt;
        EXPECT_NE(boxes[0].prompt.find(c.says), std::string::npos) << boxes[0].prompt;
        EXPECT_EQ(boxes[0].prompt.find(".."), std::string::npos) << boxes[0].prompt;
        if (std::string(c.title) != "Not Found")
            EXPECT_NE(boxes[0].prompt.find(std::string(c.host) + ", port " + std::to_string(port)), std::string::npos)
                << boxes[0].prompt;
        EXPECT_EQ(Field(2, files_.rows[0].path, 0), "old");
        boxes.clear();
    }
    EXPECT_EQ(relisted, 0);
    form.Unload();
}

// A search page listing `count` discs, disc k named "Artist k / Album k".
std::string PageOf(int count) {
    std::string page = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body><table>\n";
    for (int k = 0; k < count; ++k) {
        char id[9];
        wsprintfA(id, "%08x", 0x0a000000 + k);
        page += std::string("<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=rock&id=") + id +
                "\">Artist " + std::to_string(k) + " / Album " + std::to_string(k) + "</a></td></tr>\n";
    }
    return page + "</table></body></html>\n";
}

// Every disc of the page is listed, in page order, and Search is ready
// again, however many discs the page lists.
TEST_F(AlbumLookup, ListsEveryDiscOfTheSearchPage) {
    FrmCDDBCDChoice form;
    form.Prepare(files_, pair_.Pair());
    form.Show();
    for (int count : {3, 4, 10, 200}) {
        SCOPED_TRACE(count);
        Peer web(SearchServer(nullptr, PageOf(count)));
        LocalServers local(1, web.port);
        form.Command2.DoClick();
        EXPECT_EQ(boxes.size(), 0u) << (boxes.empty() ? "" : boxes[0].prompt);
        EXPECT_TRUE(form.Command2.Enabled());
        ASSERT_EQ(form.ListView1.ListItems.Count(), count);
        for (int k : {0, count / 2, count - 1}) {
            platform::ListItem* item = form.ListView1.ListItems(k + 1);
            char id[9];
            wsprintfA(id, "%08x", 0x0a000000 + k);
            const std::string n = std::to_string(k);
            EXPECT_EQ(std::vector<std::string>({item->Text(), item->SubItem(1), item->SubItem(2), item->SubItem(3)}),
                      std::vector<std::string>({id, "Artist " + n, "Album " + n, "rock"}));
        }
        boxes.clear();
    }
    form.Unload();
}

// A search that ends in an error of the control (here its window went
// while the query waited) is reported, and Search is ready again.
TEST_F(AlbumLookup, SearchIsReadyAgainAfterAnError) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Peer web(SearchServer(go));
    LocalServers local(1, web.port);
    FrmCDDBCDChoice form;
    form.Prepare(files_, pair_.Pair());
    form.Show();
    form.FreeDB1.Timer = [&](int, int, bool&) { form.FreeDB1.Destroy(); };
    form.Command2.DoClick();
    SetEvent(go);
    CloseHandle(go);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].prompt.find("Command2_Click"), std::string::npos) << boxes[0].prompt;
    EXPECT_TRUE(form.Command2.Enabled());
    EXPECT_TRUE(form.ListView1.Enabled());
    form.Unload();
}

TEST_F(AlbumLookup, CancelDuringASearchEndsTheQueryAndCloses) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Peer web(SearchServer(go));
    LocalServers local(1, web.port);
    FrmCDDBCDChoice form;
    files_.selected = -1;
    form.Prepare(files_, pair_.Pair());
    form.Show();
    EXPECT_EQ(form.Text1.Text(), "");  // no selected row
    form.Text1.SetText("anything");
    auto ownTick = form.FreeDB1.Timer;
    int ticks = 0;
    form.FreeDB1.Timer = [&](int index, int time, bool& cancel) {
        ownTick(index, time, cancel);
        ++ticks;
        if (form.Loaded()) form.Command3.DoClick();
    };
    form.Command2.DoClick();
    EXPECT_LT(ticks, 30);  // the query ended at the Cancel, not at its time-out
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(boxes.size(), 0u);  // no "Not Found" after the window went
    SetEvent(go);
    CloseHandle(go);
}

// What the process holds: the bytes in use in all its heaps, and its
// private bytes (Wine's page-file usage).
struct Held {
    long heap = 0, privateBytes = 0;
};

Held Now() {
    Held held;
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    for (DWORD h = 0; h < count; ++h) {
        PROCESS_HEAP_ENTRY e{};
        HeapLock(heaps[h]);
        while (HeapWalk(heaps[h], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) held.heap += long(e.cbData);
        HeapUnlock(heaps[h]);
    }
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    held.privateBytes = long(pmc.PagefileUsage);
    return held;
}

// Opening and closing the window again and again keeps nothing: after a
// warm-up, two runs of openings must not both grow the heaps by more than
// a few bytes an opening, nor the private bytes by more than a few KB (Wine
// keeps about 2 KB for any form opened). A growth in one run only (a cache
// that filled) is no steady growth.
TEST_F(AlbumLookup, OpeningAndClosingAgainKeepsNothing) {
    constexpr int kWarmUp = 30, kRounds = 60;
    FrmCDDBCDChoice form;
    auto openAndClose = [&](int times) {
        for (int i = 0; i < times; ++i) {
            form.Prepare(files_, pair_.Pair());
            form.Show();
            form.Unload();
        }
    };
    openAndClose(kWarmUp);
    Held growth[2];
    for (Held& g : growth) {
        const Held before = Now();
        openAndClose(kRounds);
        const Held after = Now();
        g = {(after.heap - before.heap) / kRounds, (after.privateBytes - before.privateBytes) / kRounds};
    }
    EXPECT_FALSE(growth[0].heap > 64 && growth[1].heap > 64)
        << growth[0].heap << " and " << growth[1].heap << " heap bytes kept an opening";
    EXPECT_FALSE(growth[0].privateBytes > 8192 && growth[1].privateBytes > 8192)
        << growth[0].privateBytes << " and " << growth[1].privateBytes << " private bytes kept an opening";
}

}  // namespace
}  // namespace corvella
