// The comments wizard on real windows under Wine: page 1's checks, and
// sendings to scripted servers on 127.0.0.1 (replies cut inside lines,
// multi-line replies, refusals at each step, a close, silence, a closed
// port, Retry) and to a real aiosmtpd server, whose mail is compared byte
// for byte, the Date line aside. Host, port and tick come from the real
// registry, as the program reads them.
#include <winsock.h>

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/comments/core/smtp_dialogue.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "platform/forms/activex/tests/activex_test_util.h"
#include "libs/common/tcpclient/tests/peer.h"

namespace corvella {
namespace {

using forms::WizardButtons;
using tcp::testing::Peer;

const std::string kSection = std::string(kSettingsRoot) + "\\Options\\Support";

std::string ComputerHello() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    GetComputerNameA(name, &size);
    return comments::HelloName(name);
}

// One line as the client sent it, CR LF and all; the message up to its
// final "." when `data`.
std::string ReceiveCommand(SOCKET s, bool data) {
    std::string got;
    char c;
    while (recv(s, &c, 1, 0) == 1) {
        got += c;
        if (!data && got.size() >= 2 && got.compare(got.size() - 2, 2, "\r\n") == 0) break;
        if (data && got.size() >= 5 && got.compare(got.size() - 5, 5, "\r\n.\r\n") == 0) break;
    }
    return got;
}

// A server's turns: the first is the greeting, each next one answers the
// client's next command. "|" cuts a turn into separate sends; "<close>"
// closes the connection, "<silence>" waits for the client to close.
Peer::Serve Scripted(std::vector<std::string> turns) {
    return [turns](Peer& p, SOCKET s) {
        bool data = false;
        for (size_t i = 0; i < turns.size(); ++i) {
            if (i > 0) {
                const std::string command = ReceiveCommand(s, data);
                p.Record(command);
                if (command.empty()) return;
            }
            if (turns[i] == "<close>") return;
            if (turns[i] == "<silence>") break;
            std::stringstream pieces(turns[i]);
            for (std::string piece; std::getline(pieces, piece, '|');) Peer::Send(s, piece);
            data = turns[i].compare(0, 3, "354") == 0;
        }
        // What comes until the client closes (a QUIT after a refusal).
        for (std::string rest; !(rest = ReceiveCommand(s, false)).empty();) p.Record(rest);
        p.Record("<closed>");
    };
}

class CommentsWizard : public forms::testing::HostedControlTest {
protected:
    void UseServer(long port, long tick = 1000) {
        cRegistry reg(store);
        reg.SaveSetting(kHkeyCurrentUser, kSection, "Mail Host", Variant::String("127.0.0.1"));
        reg.SaveSetting(kHkeyCurrentUser, kSection, "Mail Port", Variant::Long(port));
        reg.SaveSetting(kHkeyCurrentUser, kSection, "Tick Interval", Variant::Long(tick));
    }
    static HWND Button(FrmWizComments& f, int which) {
        return GetDlgItem(f.WizardButtons1.ControlWindow(), 100 + which);
    }
    static bool Usable(FrmWizComments& f, int which) { return IsWindowEnabled(Button(f, which)) != 0; }
    static void Click(FrmWizComments& f, int which) { SendMessageA(Button(f, which), BM_CLICK, 0, 0); }
    static std::string Caption(FrmWizComments& f, int which) {
        char text[64] = {};
        GetWindowTextA(Button(f, which), text, sizeof text);
        return text;
    }
    // Page 1 filled in and Next pressed: the sending starts.
    static void Send(FrmWizComments& f, const std::string& address = "ann@example.com",
                     const std::string& comment = "Fine program.", const std::string& name = "Ann Lee") {
        f.Text1.SetText(name);
        f.txtEmail.SetText(address);
        f.txtSupport.SetText(comment);
        ASSERT_TRUE(Usable(f, WizardButtons::ButtonNext));
        Click(f, WizardButtons::ButtonNext);
    }
    // A fresh wizard sending to the server at `port`.
    void Start(FrmWizComments& f, long port, long tick = 1000) {
        UseServer(port, tick);
        DropQuit();
        f.Show();
        Send(f);
    }
    static bool Ended(FrmWizComments& f) { return !f.Sending(); }
    // The last form's unload posts the quit that ends a program; a test
    // that goes on drops it, or no timer would tick again.
    static void DropQuit() {
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    Win32SettingsStore store;
};

TEST_F(CommentsWizard, PageOneLetsOnlyAGoodAddressAndACommentThrough) {
    DeleteRegistryTree(store, std::string(kSettingsRootFullPath) + "\\Options\\Support");
    FrmWizComments f;
    f.Show();
    // The server's values are in the registry from the first opening on,
    // with their types and defaults.
    const struct {
        const char* name;
        int32_t type;
        std::string data;
    } stored[] = {{"Mail Host", kRegSz, std::string(CommentsDefaults::kMailHost) + '\0'},
                  {"Mail Port", kRegDword, std::string("\x19\0\0\0", 4)},
                  {"Tick Interval", kRegDword, std::string("\xe8\x03\0\0", 4)}};
    for (const auto& v : stored) {
        int32_t type = 0;
        std::vector<uint8_t> data;
        ASSERT_TRUE(store.QueryValue(kHkeyCurrentUser, kSection, v.name, type, data)) << v.name;
        EXPECT_EQ(type, v.type) << v.name;
        EXPECT_EQ(std::string(data.begin(), data.end()), v.data) << v.name;
    }
    char login[50] = {};
    DWORD size = sizeof login;
    GetUserNameA(login, &size);
    EXPECT_EQ(f.Text1.Text(), login) << "the login name fills an empty name";
    EXPECT_FALSE(IsWindowVisible(Button(f, WizardButtons::ButtonHelp)));
    EXPECT_FALSE(Usable(f, WizardButtons::ButtonBack));
    // The longest address a mail takes passes; one byte more is refused.
    const std::string longest = std::string(64, 'a') + "@" + std::string(185, 'b') + ".com";
    const struct {
        std::string address;
        const char* comment;
        bool next;
    } cases[] = {{"ann@example.com", "", false}, {"ann@example", "Hi", false}, {"  a+b@example.info ", "Hi", true},
                 {longest, "Hi", true},          {"a" + longest, "Hi", false}};
    for (const auto& c : cases) {
        f.txtEmail.SetText(c.address);
        f.txtSupport.SetText(c.comment);
        EXPECT_EQ(Usable(f, WizardButtons::ButtonNext), c.next) << c.address;
    }
    EXPECT_TRUE(f.txtSupport.multiLine);
    // A typed name survives Back.
    f.Text1.SetText("Ann Lee");
    UseServer(1);  // nothing listens: the sending fails at once
    Click(f, WizardButtons::ButtonNext);
    ASSERT_TRUE(forms::testing::PumpUntil([&] { return Ended(f); }, 15000));
    ASSERT_TRUE(Usable(f, WizardButtons::ButtonBack));
    Click(f, WizardButtons::ButtonBack);
    EXPECT_EQ(f.WizardButtons1.PageNumber(), 1);
    EXPECT_EQ(f.Text1.Text(), "Ann Lee");
    EXPECT_EQ(Caption(f, WizardButtons::ButtonNext), "&Next >");
    f.WizardButtons1.CancelClicked(0);
    EXPECT_FALSE(f.Loaded()) << "Cancel on page 1 closes";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CommentsWizard, TabAndShiftTabLeaveTheCommentBoxCtrlTabTypesATab) {
    FrmWizComments f;
    f.Show();
    SetForegroundWindow(f.hWnd());
    ASSERT_TRUE(forms::testing::PumpUntil([&] { return GetForegroundWindow() == f.hWnd(); }));
    f.txtSupport.SetText("ab");
    const HWND box = f.txtSupport.hWnd(), after = GetNextDlgTabItem(f.hWnd(), box, FALSE);
    ASSERT_TRUE(after != nullptr && after != box);
    const struct {
        const char* keys;
        HWND focus;
        const char* text;
    } cases[] = {{"Tab", after, "ab"}, {"Shift+Tab", f.txtEmail.hWnd(), "ab"}, {"Ctrl+Tab", box, "a\tb"}};
    for (const auto& c : cases) {
        f.txtSupport.SetFocus();
        SendMessageA(box, EM_SETSEL, 1, 1);
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return GetFocus() == box; }));
        forms::testing::Type(c.keys);
        EXPECT_TRUE(forms::testing::PumpUntil([&] { return GetFocus() == c.focus && f.txtSupport.Text() == c.text; },
                                              3000))
            << c.keys << ": " << f.txtSupport.Text();
    }
    f.Unload();
}

TEST_F(CommentsWizard, EachServerEndsTheSendingAsItShould) {
    const std::string hello = "EHLO " + ComputerHello() + "\r\n";
    const std::string mail = "MAIL FROM:<ann@example.com>\r\n";
    const std::string rcpt = "RCPT TO:<support@velmora.com>\r\n";
    const std::string data = "DATA\r\n";
    const std::string quit = "QUIT\r\n";
    const std::string greeting = "220-mail.test ESMTP|\r\n220-second li|ne\r\n22|0 ready\r\n";
    const struct {
        const char* what;
        std::vector<std::string> turns;
        std::vector<std::string> sent;  // the message counts as "<message>"
        int page;
        const char* status;
        const char* explanation;  // a part of Label2
    } cases[] = {
        {"accepted", {greeting, "250-mail.test|\r\n250 8BITMIME\r\n", "250 OK\r\n", "251 forwarded\r\n",
                      "354 go ahead\r\n", "250 queued\r\n", "221 bye\r\n"},
         {hello, mail, rcpt, data, "<message>", quit, "<closed>"}, 3, "Completed.", ""},
        {"accepted, then closed without goodbye",
         {greeting, "250 hi\r\n", "250 OK\r\n", "250 OK\r\n", "354 go\r\n", "250 queued\r\n", "<close>"},
         {hello, mail, rcpt, data, "<message>", quit}, 3, "Completed.", ""},
        {"550 to RCPT", {greeting, "250 hi\r\n", "250 OK\r\n", "550 5.1.1 no such user\r\n"},
         {hello, mail, rcpt, quit, "<closed>"}, 2, "E-Mail Address Rejected", "has been rejected"},
        {"451 to RCPT", {greeting, "250 hi\r\n", "250 OK\r\n", "451 4.7.1 try again later\r\n"},
         {hello, mail, rcpt, quit, "<closed>"}, 2, "Refused for Now", "server 127.0.0.1 on port "},
        {"554 to MAIL", {greeting, "250 hi\r\n", "554 5.7.1 relay denied\r\n"}, {hello, mail, quit, "<closed>"}, 2,
         "Refused for Good", "554 5.7.1 relay denied"},
        {"421 greeting", {"421 4.3.2 too busy\r\n"}, {quit, "<closed>"}, 2, "Refused for Now", "421 4.3.2"},
        {"goodbye before the mail", {greeting, "250 hi\r\n", "221 bye\r\n"}, {hello, mail, "<closed>"}, 2,
         "Unexpected Reply", "221 bye"},
        {"closed before the final 250", {greeting, "250 hi\r\n", "250 OK\r\n", "250 OK\r\n", "354 go\r\n", "<close>"},
         {hello, mail, rcpt, data, "<message>"}, 2, "Connection Closed", "closed the connection"},
    };
    for (const auto& c : cases) {
        Peer peer(Scripted(c.turns));
        FrmWizComments f;
        Start(f, peer.port);
        EXPECT_TRUE(f.Sending()) << c.what;
        EXPECT_FALSE(Usable(f, WizardButtons::ButtonBack)) << c.what;
        EXPECT_FALSE(Usable(f, WizardButtons::ButtonNext)) << c.what;
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return Ended(f); }, 20000)) << c.what;
        peer.Join();
        std::string expected;
        for (const std::string& s : c.sent) expected += s;
        std::string got = peer.Recorded();
        const size_t from = got.find("FROM: Ann Lee <ann@example.com>\r\n");
        const size_t end = got.find("\r\n.\r\n");
        if (from != std::string::npos && end != std::string::npos) got.replace(from, end + 5 - from, "<message>");
        EXPECT_EQ(got, expected) << c.what;
        EXPECT_EQ(f.WizardButtons1.PageNumber(), c.page) << c.what;
        EXPECT_EQ(f.Label1.Caption(), c.status) << c.what;
        EXPECT_NE(f.Label2.Caption().find(c.explanation), std::string::npos) << c.what << ": " << f.Label2.Caption();
        // Refused: Retry or Back; sent: only Finish.
        EXPECT_EQ(Caption(f, WizardButtons::ButtonNext), c.page == 2 ? "&Retry" : "&Finish") << c.what;
        EXPECT_TRUE(Usable(f, WizardButtons::ButtonNext)) << c.what;
        EXPECT_EQ(Usable(f, WizardButtons::ButtonBack), c.page == 2) << c.what;
        EXPECT_EQ(f.txtEmail.Enabled(), c.page == 2) << c.what;
        f.Unload();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CommentsWizard, SilenceAClosedPortRetryAndClosingMidSending) {
    // Silence ends at the clock (a short tick); a port nobody listens on
    // at the next tick.
    const struct {
        bool listening;
        long tick;
        const char* status;
    } ends[] = {{true, 20, "Operation Timed-Out"}, {false, 1000, "Connection Failed"}};
    for (const auto& e : ends) {
        auto peer = std::make_unique<Peer>(Scripted({"<silence>"}));
        const long port = peer->port;
        if (!e.listening) peer.reset();
        FrmWizComments f;
        Start(f, port, e.tick);
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return Ended(f); }, 20000)) << e.status;
        EXPECT_EQ(f.Label1.Caption(), e.status);
        EXPECT_EQ(Caption(f, WizardButtons::ButtonNext), "&Retry");
        f.Unload();
    }
    {  // refused, then Retry: a second sending that goes through
        const std::string greeting = "220 ready\r\n";
        int connection = 0;
        Peer peer(
            [&](Peer& p, SOCKET s) {
                ++connection;
                if (connection == 1) Scripted({greeting, "250 hi\r\n", "250 OK\r\n", "550 no\r\n"})(p, s);
                else Scripted({greeting, "250 hi\r\n", "250 OK\r\n", "250 OK\r\n", "354 go\r\n", "250 ok\r\n",
                               "221 bye\r\n"})(p, s);
            },
            2);
        FrmWizComments f;
        Start(f, peer.port);
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return Ended(f); }, 20000));
        EXPECT_EQ(Caption(f, WizardButtons::ButtonNext), "&Retry");
        f.WizardButtons1.CancelClicked(0);
        EXPECT_TRUE(f.Loaded()) << "Cancel does nothing on page 2";
        Click(f, WizardButtons::ButtonNext);
        EXPECT_TRUE(f.Sending());
        EXPECT_EQ(f.WizardButtons1.PageNumber(), 2);
        EXPECT_FALSE(Usable(f, WizardButtons::ButtonBack));
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return f.WizardButtons1.PageNumber() == 3; }, 20000));
        peer.Join();
        EXPECT_EQ(peer.Recorded().find("DATA"), peer.Recorded().rfind("DATA")) << "one mail";
        Click(f, WizardButtons::ButtonNext);
        EXPECT_FALSE(f.Loaded()) << "Finish closes";
    }
    {  // closing the window mid-sending closes the connection
        Peer peer(Scripted({"<silence>"}));
        FrmWizComments f;
        Start(f, peer.port);
        ASSERT_TRUE(forms::testing::PumpUntil([&] { return f.Label1.Caption() == "Connected to Server..."; }));
        f.Unload();
        peer.Join();
        EXPECT_EQ(peer.Recorded(), "<closed>");
    }
    EXPECT_TRUE(boxes.empty());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(CommentsWizard, ARealServerGetsTheMailByteForByte) {
    const char* dir = std::getenv("CORVELLA_MAIL_DIR");
    ASSERT_NE(dir, nullptr);
    const std::string folder = std::string("Z:") + dir + "\\";
    const long port = std::atol(ReadFile(folder + "port").c_str());
    ASSERT_GT(port, 0);
    UseServer(port);
    FrmWizComments f;
    f.Show();
    const std::string longLine(1500, 'x');
    Send(f, "  jo@example.com ", ".lead\nlone LF\rlone CR\r\n" + longLine + "\r\n.", "Smith, \"Jo\" \xe9");
    ASSERT_TRUE(forms::testing::PumpUntil([&] { return f.WizardButtons1.PageNumber() == 3; }, 20000))
        << f.Label1.Caption() << " " << f.Label2.Caption();
    std::string got;
    ASSERT_TRUE(forms::testing::PumpUntil([&] { return !(got = ReadFile(folder + "mail-1.txt")).empty(); }));
    // The Date line is the clock's.
    const size_t date = got.find("\r\nDate: ");
    ASSERT_NE(date, std::string::npos);
    got.erase(date + 8, got.find("\r\n", date + 2) - date - 8);
    char longDate[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, longDate, sizeof longDate);
    const std::string version = std::to_string(forms::App.Major()) + "." + std::to_string(forms::App.Minor()) +
                                "." + std::to_string(forms::App.Revision());
    const std::string expected =
        "EHLO " + ComputerHello() + "\r\n" + "MAIL FROM:jo@example.com\r\n" + "RCPT TO:support@velmora.com\r\n\r\n" +
        "FROM: =?windows-1252?Q?Smith=2C_=22Jo=22_=E9?= <jo@example.com>\r\n"
        "TO: Velmora Support <support@velmora.com>\r\n"
        "SUBJECT: " + forms::App.Title() + " Support (" + longDate + ")\r\n"
        "Date: \r\n"
        "MIME-Version: 1.0\r\n"
        "Content-Type: text/plain; charset=windows-1252\r\n"
        "Content-Transfer-Encoding: 8bit\r\n"
        "\r\n"
        ".lead\r\nlone LF\r\nlone CR\r\n" + longLine.substr(0, 998) + "\r\n" + longLine.substr(998) + "\r\n.\r\n\r\n\r\n\r\n" +
        "Software Versioning Details ---------------------------\r\n\r\n"
        "  Software Version :\t" + version + "\r\n\r\n\r\n\r\n";
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace corvella
