// The comments mail's rules: the address table, the message as it goes on
// the wire, and the SMTP dialogue on scripted transcripts cut at every byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tools/comments/core/address_check.h"
#include "app/tools/comments/core/mail_message.h"
#include "app/tools/comments/core/smtp_dialogue.h"

namespace corvella::comments {
namespace {

TEST(Address, ChecksRunInOrderAndTheFirstFailureNamesTheReason) {
    const struct {
        std::string in;
        std::string reason;  // "" passes
    } cases[] = {
        {"a@b.com", "Too short"},            // 7 characters
        {"   a@b.com   ", "Too short"},      // trimmed first
        {"abcdefgh", "Missing the @"},
        {"ab@cd@ef.com", "Too many @"},
        {"abcd@efgh", "Missing the period"},
        {"@abcdef.com", "Invalid format"},
        {"abcdef.com@", "Invalid format"},
        {".abc@def.com", "Invalid format"},
        {"abc@def.com.", "Invalid format"},
        {"ab..c@def.com", "Invalid format"},
        {"abc.@def.com", "Invalid format"},
        {"abc@.def.com", "Invalid format"},
        {"abc@def-.com", "Invalid format"},
        {"a.bc@localhost", "Invalid format"},  // no dot in the domain
        {"ab c@def.com", "Invalid character"},
        {"abc@de+f.com", "Invalid character"},  // "+" only before the "@"
        {"abc\"@def.com", "Invalid character"},
        {"abc@def.c0m", "Invalid format"},
        {"abcd@efgh.c", "Suffix too short"},
        {"abc@def." + std::string(64, 'x'), "Suffix too long"},
        {"john.smith@example.com", ""},
        {"  Jo_hn-S@Mail.Example.CO.UK ", ""},  // a two-part country suffix
        {"o'brien+tags@example.info", ""},
        {"abc@def." + std::string(63, 'x'), ""},
    };
    for (const auto& c : cases) {
        std::string address = c.in, reason = "stale";
        EXPECT_EQ(IsEMailAddress(address, reason), c.reason.empty()) << c.in;
        EXPECT_EQ(reason, c.reason) << c.in;
        EXPECT_EQ(address.front() != ' ' && address.back() != ' ', true) << "trimmed in place: " << c.in;
    }
}

TEST(Message, HeaderTextsCannotBreakTheHeader) {
    const struct {
        std::string name, shown;
    } names[] = {
        {"John Smith", "John Smith"},
        {"  Smith, John ", "\"Smith, John\""},
        {"J. \"Jo\" Smith\\", "\"J. \\\"Jo\\\" Smith\\\\\""},
        {"Bcc: x\r\nSubject: y", "\"Bcc: x  Subject: y\""},
        {"Ren\xe9 M\xfcller", "=?windows-1252?Q?Ren=E9_M=FCller?="},
        {"", ""},
    };
    for (const auto& n : names) EXPECT_EQ(DisplayName(n.name), n.shown) << n.name;
    EXPECT_EQ(HeaderText("Corvella Support (9 d\xe9" "cembre 2026)"),
              "=?windows-1252?Q?Corvella_Support_=289_d=E9cembre_2026=29?=");
    // A long encoded text folds into words of at most 75 characters.
    const std::string folded = DisplayName(std::string(200, '\xe9'));
    size_t start = 0;
    for (size_t end; (end = folded.find("\r\n ", start)) != std::string::npos; start = end + 3)
        EXPECT_LE(end - start, 75u);
    EXPECT_LE(folded.size() - start, 75u);
    EXPECT_EQ(MailDate({2026, 12, 9, 3, 19, 29, 3, -330}), "Wed, 09 Dec 2026 19:29:03 -0530");
}

TEST(Message, BodyLinesEndInCrLfStayShortAndCannotEndTheData) {
    const std::string word998(998, 'w');
    const struct {
        std::string in, out;
    } cases[] = {
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"\n\r", "\r\n\r\n\r\n"},
        {".\r\n..x\r\n.", "..\r\n...x\r\n..\r\n"},
        {word998, word998 + "\r\n"},
        {word998 + "x", word998 + "\r\nx\r\n"},
        {"." + word998, ".." + std::string(996, 'w') + "\r\nww\r\n"},
        {"ab " + word998, "ab \r\n" + word998 + "\r\n"},  // at the blank, kept
        {std::string(990, 'x') + " " + std::string(20, 'y'), std::string(990, 'x') + " \r\n" + std::string(20, 'y') + "\r\n"},
        {std::string(997, 'x') + "\n." + "y", std::string(997, 'x') + "\r\n..y\r\n"},
    };
    for (const auto& c : cases) {
        const std::string got = BodyLines(c.in);
        EXPECT_EQ(got, c.out) << c.in.substr(0, 40);
        for (size_t start = 0, end; (end = got.find("\r\n", start)) != std::string::npos; start = end + 2)
            EXPECT_LE(end - start, kMaxLine);
    }
}

TEST(Message, TheWholeMessageAsItGoesOut) {
    MailMessage m;
    m.fromName = "Ann Lee";
    m.fromAddress = "ann@example.com";
    m.toName = "Velmora Support";
    m.toAddress = "support@velmora.com";
    m.subject = SupportSubject("Corvella", "Wednesday, December 09, 2026");
    m.date = "Wed, 09 Dec 2026 19:29:03 +0000";
    m.body = CommentBody("Hello\n.\nBye", "1.2.0");
    EXPECT_EQ(BuildMessage(m),
              "FROM: Ann Lee <ann@example.com>\r\n"
              "TO: Velmora Support <support@velmora.com>\r\n"
              "SUBJECT: Corvella Support (Wednesday, December 09, 2026)\r\n"
              "Date: Wed, 09 Dec 2026 19:29:03 +0000\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=windows-1252\r\n"
              "Content-Transfer-Encoding: 8bit\r\n"
              "\r\n"
              "Hello\r\n..\r\nBye\r\n\r\n\r\n\r\n"
              "Software Versioning Details ---------------------------\r\n\r\n"
              "  Software Version :\t1.2.0\r\n\r\n\r\n"
              "\r\n.\r\n");
}

const char kMessage[] = "Subject: x\r\n\r\nbody\r\n.\r\n";

SmtpRequest Request() { return {"DEN-PC", "ann@example.com", "support@velmora.com", kMessage}; }

struct Played {
    std::string sent;
    SmtpDialogue::Step step;
    bool sent250;
    int refusal;
};

// Feeds `server` cut at `cuts`, then the close when asked.
Played Play(const std::string& server, std::vector<size_t> cuts = {}, bool close = false) {
    SmtpDialogue d(Request());
    Played p;
    size_t from = 0;
    cuts.push_back(server.size());
    for (size_t to : cuts) {
        p.sent += d.Receive(std::string_view(server).substr(from, to - from));
        from = to;
    }
    if (close) d.Closed();
    p.step = d.CurrentStep();
    p.sent250 = d.Sent();
    p.refusal = d.Refusal().code;
    return p;
}

// Each step's command and the server's acceptance of it.
const std::vector<std::pair<std::string, std::string>>& Steps() {
    static const std::vector<std::pair<std::string, std::string>> steps = {
        {"", "220-mail.example.com ESMTP\r\n220-second greeting line\r\n220 ready\r\n"},
        {"EHLO DEN-PC\r\n", "250-mail.example.com\r\n250-PIPELINING\r\n250 8BITMIME\r\n"},
        {"MAIL FROM:<ann@example.com>\r\n", "250 2.1.0 OK\r\n"},
        {"RCPT TO:<support@velmora.com>\r\n", "251 will forward\r\n"},
        {"DATA\r\n", "354 End data with <CR><LF>.<CR><LF>\r\n"},
        {kMessage, "250 2.0.0 queued as 4711\r\n"},
        {"QUIT\r\n", "221 2.0.0 Bye\r\n"},
    };
    return steps;
}

TEST(SmtpDialogue, SameCommandsOnceEachWhereverTheRepliesAreCut) {
    std::string server, client;
    for (const auto& s : Steps()) {
        client += s.first;
        server += s.second;
    }
    std::vector<size_t> everyByte;
    for (size_t cut = 0; cut <= server.size(); ++cut) {
        everyByte.push_back(cut);
        const Played p = Play(server, {cut});
        ASSERT_EQ(p.sent, client) << cut;
        ASSERT_EQ(p.step, SmtpDialogue::Step::kDone) << cut;
        ASSERT_TRUE(p.sent250) << cut;
    }
    EXPECT_EQ(Play(server, everyByte).sent, client);
    // Without the 221, a close or nothing at all after QUIT: sent all the same.
    const std::string noBye = server.substr(0, server.size() - Steps().back().second.size());
    EXPECT_EQ(Play(noBye, {}, true).step, SmtpDialogue::Step::kDone);
    EXPECT_TRUE(Play(noBye).sent250);
}

TEST(SmtpDialogue, EachRefusalInEachStepSendsQuitAndEnds) {
    // A refusal of step k: the commands up to it, then QUIT (none after a
    // goodbye); never a later command, and never sent before the last 250.
    const char* const refusals[] = {"421 4.3.2 shutting down", "450 mailbox busy", "550 5.1.1 no such user",
                                    "554 5.7.1 relay denied", "221 bye", "hello there", "250 OK"};
    for (size_t k = 0; k + 1 < Steps().size(); ++k) {
        for (const char* refusal : refusals) {
            std::string server, client;
            for (size_t i = 0; i < k; ++i) {
                client += Steps()[i].first;
                server += Steps()[i].second;
            }
            client += Steps()[k].first;
            const std::string line = refusal;
            const bool accepted = (k == 1 || k == 2 || k == 3 || k == 5) && line == "250 OK";
            const bool helo = k == 1 && line[0] == '5';
            if (accepted || helo) continue;
            const Played p = Play(server + line + "\r\n" + "250 late\r\n");
            EXPECT_EQ(p.step, SmtpDialogue::Step::kFailed) << k << " " << line;
            EXPECT_EQ(p.sent, client + (line.compare(0, 3, "221") == 0 ? "" : "QUIT\r\n")) << k << " " << line;
            EXPECT_FALSE(p.sent250);
            EXPECT_EQ(p.refusal, line[0] == 'h' ? -1 : std::stoi(line.substr(0, 3))) << k << " " << line;
        }
        // A close before the mail is sent fails as well.
        std::string server;
        for (size_t i = 0; i < k; ++i) server += Steps()[i].second;
        const Played closed = Play(server, {}, true);
        EXPECT_EQ(closed.step, SmtpDialogue::Step::kFailed) << k;
        EXPECT_FALSE(closed.sent250);
    }
    // EHLO refused: HELO, then on as before.
    const Played helo = Play("220 x\r\n502 5.5.1 EHLO not supported\r\n250 hi\r\n");
    EXPECT_EQ(helo.sent, "EHLO DEN-PC\r\nHELO DEN-PC\r\nMAIL FROM:<ann@example.com>\r\n");
}

TEST(SmtpDialogue, HelloNameIsOneWord) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"DEN-PC", "DEN-PC"}, {"my pc", "my-pc"}, {"", "localhost"}, {"a\r\nb\xe9", "a--b-"}};
    for (const auto& c : cases) EXPECT_EQ(HelloName(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace corvella::comments
