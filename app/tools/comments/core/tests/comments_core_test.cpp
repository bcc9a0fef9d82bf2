// The comments mail's rules: the address table, the message as it goes on
// the wire, and the SMTP dialogue on scripted transcripts cut at every byte.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/tools/comments/core/address_check.h"
#include "app/tools/comments/core/mail_message.h"
#include "app/tools/comments/core/smtp_dialogue.h"

namespace corvella::comments {
namespace {

// An address of exactly kMaxAddress bytes that passes every other check.
const std::string kLongest = std::string(64, 'a') + "@" + std::string(185, 'b') + ".com";

TEST(Address, ChecksRunInOrderAndTheFirstFailureNamesTheReason) {
    const struct {
        std::string in, reason;  // "" passes
    } cases[] = {
        {"   a@b.com   ", "Too short"},        {"abcdefgh", "Missing the @"},
        {"ab@cd@ef.com", "Too many @"},        {"abcd@efgh", "Missing the period"},
        {"@abcdef.com", "Invalid format"},     {"abc@def.com.", "Invalid format"},
        {"ab..c@def.com", "Invalid format"},   {"abc.@def.com", "Invalid format"},
        {"abc@def-.com", "Invalid format"},    {"a.bc@localhost", "Invalid format"},
        {"ab c@def.com", "Invalid character"}, {"abc@de+f.com", "Invalid character"},
        {"abc@def.c0m", "Invalid format"},     {"abcd@efgh.c", "Suffix too short"},
        {"abc@def." + std::string(64, 'x'), "Suffix too long"},
        {"abc@def." + std::string(63, 'x'), ""},
        {"  Jo_hn-S@Mail.Example.CO.UK ", ""}, {"o'brien+tags@example.info", ""},
        {" " + kLongest + " ", ""},            {"a" + kLongest, "Too long"},
        {kLongest + "@", "Too long"},
    };
    for (const auto& c : cases) {
        std::string address = c.in, reason = "stale";
        EXPECT_EQ(IsEMailAddress(address, reason), c.reason.empty()) << c.in;
        EXPECT_EQ(reason, c.reason) << c.in;
        EXPECT_TRUE(address.front() != ' ' && address.back() != ' ') << "trimmed in place: " << c.in;
    }
}

TEST(Message, HeaderTextsCannotBreakTheHeader) {
    const struct {
        std::string name, shown;
    } names[] = {
        {"  John Smith ", "John Smith"},
        {"J. \"Jo\" Smith\\", "\"J. \\\"Jo\\\" Smith\\\\\""},
        {"Bcc: x\r\nSubject: y", "\"Bcc: x  Subject: y\""},
        {"Ren\xe9 M\xfcller", "=?windows-1252?Q?Ren=E9_M=FCller?="},
    };
    for (const auto& n : names) EXPECT_EQ(DisplayName(n.name), n.shown) << n.name;
    EXPECT_EQ(HeaderText("Support (9 d\xe9" "c.)"), "=?windows-1252?Q?Support_=289_d=E9c=2E=29?=");
    // A long encoded text folds into words of at most 75 characters.
    const std::string folded = DisplayName(std::string(200, '\xe9'));
    size_t start = 0;
    for (size_t end; (end = folded.find("\r\n ", start)) != std::string::npos; start = end + 3)
        EXPECT_LE(end - start, 75u);
    EXPECT_LE(folded.size() - start, 75u);
    EXPECT_EQ(MailDate({2026, 12, 9, 3, 19, 29, 3, -330}), "Wed, 09 Dec 2026 19:29:03 -0530");
}

TEST(Message, EveryHeaderLineFitsAtAndAroundTheLimits) {
    for (size_t size : {kMaxPlainName - 1, kMaxPlainName, kMaxPlainName + 1}) {
        for (const std::string unit : {"\"", "\\", "a\"", "a.", "\\\""}) {
            std::string name;
            while (name.size() < size) name += unit;
            name.resize(size);
            // Quoted, the name stays within its limit, closed after whole pairs.
            const std::string shown = DisplayName(name);
            if (shown[0] == '"') {
                EXPECT_LE(shown.size(), kMaxPlainName) << unit << size;
                const size_t backslashes = shown.size() - 1 - shown.find_last_not_of('\\', shown.size() - 2) - 1;
                EXPECT_EQ(backslashes % 2, 0u) << unit << size;
            }
            for (const std::string& address : {kLongest, kLongest + "x", std::string(3000, 'c')}) {
                const std::string built = BuildMessage({name, address, "Velmora Support", "support@velmora.com",
                                                        "Subject", "Wed, 09 Dec 2026 19:29:03 +0000", "x"});
                const std::string header = built.substr(0, built.find("\r\n\r\n") + 2);
                for (size_t start = 0, end; (end = header.find("\r\n", start)) != std::string::npos; start = end + 2)
                    EXPECT_LE(end - start, kMaxLine) << unit << size << " " << address.size();
                if (address == kLongest) {
                    EXPECT_NE(header.find("<" + kLongest + ">\r\n"), std::string::npos);
                }
            }
        }
    }
}

TEST(Message, BodyLinesEndInCrLfStayShortAndCannotEndTheData) {
    const std::string w998(998, 'w');
    const struct {
        std::string in, out;
    } cases[] = {
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"\n\r", "\r\n\r\n\r\n"},
        {".\r\n..x\r\n.", "..\r\n...x\r\n..\r\n"},
        {w998, w998 + "\r\n"},
        {w998 + "x", w998 + "\r\nx\r\n"},
        {"." + w998, ".." + std::string(996, 'w') + "\r\nww\r\n"},
        {"ab " + w998, "ab \r\n" + w998 + "\r\n"},  // at the blank, which stays
        {std::string(997, 'x') + "\n.y", std::string(997, 'x') + "\r\n..y\r\n"},
    };
    for (const auto& c : cases) {
        const std::string got = BodyLines(c.in);
        EXPECT_EQ(got, c.out) << c.in.substr(0, 40);
        for (size_t start = 0, end; (end = got.find("\r\n", start)) != std::string::npos; start = end + 2)
            EXPECT_LE(end - start, kMaxLine);
    }
    MailMessage m{"Ann Lee", "ann@example.com", "Velmora Support", "support@velmora.com",
                  SupportSubject("Corvella", "Wednesday, December 09, 2026"), "Wed, 09 Dec 2026 19:29:03 +0000",
                  CommentBody("Hello\n.\nBye", "1.2.0")};
    EXPECT_EQ(BuildMessage(m),
              "FROM: Ann Lee <ann@example.com>\r\nTO: Velmora Support <support@velmora.com>\r\n"
              "SUBJECT: Corvella Support (Wednesday, December 09, 2026)\r\n"
              "Date: Wed, 09 Dec 2026 19:29:03 +0000\r\nMIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=windows-1252\r\nContent-Transfer-Encoding: 8bit\r\n\r\n"
              "Hello\r\n..\r\nBye\r\n\r\n\r\n\r\nSoftware Versioning Details ---------------------------\r\n\r\n"
              "  Software Version :\t1.2.0\r\n\r\n\r\n\r\n.\r\n");
}

const char kMessage[] = "Subject: x\r\n\r\nbody\r\n.\r\n";

struct Played {
    std::string sent;
    SmtpDialogue::Step step;
    bool sent250;
    int refusal;
};

// Feeds `server` cut at `cuts`, then the close when asked.
Played Play(const std::string& server, std::vector<size_t> cuts = {}, bool close = false) {
    SmtpDialogue d({HelloName("DEN PC"), "ann@example.com", "support@velmora.com", kMessage});
    Played p;
    size_t from = 0;
    cuts.push_back(server.size());
    for (size_t to : cuts) {
        p.sent += d.Receive(std::string_view(server).substr(from, to - from));
        from = to;
    }
    if (close) d.Closed();
    return {p.sent, d.CurrentStep(), d.Sent(), d.Refusal().code};
}

// Each step's command and the server's acceptance of it.
const std::vector<std::pair<std::string, std::string>> kSteps = {
    {"", "220-mail.example.com ESMTP\r\n220-second greeting line\r\n220 ready\r\n"},
    {"EHLO DEN-PC\r\n", "250-mail.example.com\r\n250-PIPELINING\r\n250 8BITMIME\r\n"},
    {"MAIL FROM:<ann@example.com>\r\n", "250 2.1.0 OK\r\n"},
    {"RCPT TO:<support@velmora.com>\r\n", "251 will forward\r\n"},
    {"DATA\r\n", "354 End data with <CR><LF>.<CR><LF>\r\n"},
    {kMessage, "250 2.0.0 queued as 4711\r\n"},
    {"QUIT\r\n", "221 2.0.0 Bye\r\n"},
};

TEST(SmtpDialogue, SameCommandsOnceEachWhereverTheRepliesAreCut) {
    std::string server, client;
    for (const auto& s : kSteps) client += s.first, server += s.second;
    std::vector<size_t> everyByte;
    for (size_t cut = 0; cut <= server.size(); ++cut) {
        everyByte.push_back(cut);
        const Played p = Play(server, {cut});
        ASSERT_EQ(p.sent, client) << cut;
        ASSERT_TRUE(p.step == SmtpDialogue::Step::kDone && p.sent250) << cut;
    }
    EXPECT_EQ(Play(server, everyByte).sent, client);
    // A close, or nothing, in place of the goodbye: sent all the same.
    const std::string noBye = server.substr(0, server.size() - kSteps.back().second.size());
    EXPECT_EQ(Play(noBye, {}, true).step, SmtpDialogue::Step::kDone);
    EXPECT_TRUE(Play(noBye).sent250);
    EXPECT_EQ(Play("220 x\r\n502 no EHLO\r\n250 hi\r\n").sent, "EHLO DEN-PC\r\nHELO DEN-PC\r\nMAIL FROM:<ann@example.com>\r\n");
}

TEST(SmtpDialogue, EachRefusalInEachStepSendsQuitAndEnds) {
    // A refusal of step k: the commands up to it, then QUIT (none after a
    // goodbye); never a later command, and never sent before the last 250.
    const std::string refusals[] = {"421 4.3.2 shutting down", "450 busy", "550 5.1.1 no such user",
                                    "554 5.7.1 relay denied", "221 bye", "hello there", "250 OK"};
    for (size_t k = 0; k + 1 < kSteps.size(); ++k) {
        std::string server, client;
        for (size_t i = 0; i < k; ++i) server += kSteps[i].second;
        for (size_t i = 0; i <= k; ++i) client += kSteps[i].first;
        for (const std::string& line : refusals) {
            const bool taken = (k == 1 && line[0] == '5') || (line == "250 OK" && k != 0 && k != 4);
            if (taken) continue;  // a HELO, or the step's own acceptance
            const Played p = Play(server + line + "\r\n250 late\r\n");
            EXPECT_EQ(p.step, SmtpDialogue::Step::kFailed) << k << " " << line;
            EXPECT_EQ(p.sent, client + (line.compare(0, 3, "221") == 0 ? "" : "QUIT\r\n")) << k << " " << line;
            EXPECT_FALSE(p.sent250);
            EXPECT_EQ(p.refusal, line[0] == 'h' ? -1 : std::stoi(line.substr(0, 3))) << k << " " << line;
        }
        const Played closed = Play(server, {}, true);
        EXPECT_TRUE(closed.step == SmtpDialogue::Step::kFailed && !closed.sent250) << k;
    }
    EXPECT_EQ(HelloName(""), "localhost");
    EXPECT_EQ(HelloName("a\r\nb\xe9"), "a--b-");
}

TEST(SmtpDialogue, EachFailureSaysWhatTheServerDidAndNamesIt) {
    // What the server sent (cut into pieces at "|"), whether it then
    // closed; the wizard's two texts.
    const std::string greeting = "220 ready\r\n", q = " What would you like to do?";
    const std::string overlong(5000, 'x');
    const struct {
        std::string server;
        bool close;
        Failure failure;
        const char* status;
        std::string explanation;  // after "The mail server mail.example.com on port 2525 "
    } cases[] = {
        {"451 4.7.1 try again later\r\n", false, Failure::kForNow, "Refused for Now",
         "refused your comments for now, answering \"451 4.7.1 try again later\". It may take them if you try "
         "again later." + q},
        {greeting + "250 hi\r\n554 5.7.1 relay\tdenied \r\n", false, Failure::kForGood, "Refused for Good",
         "refused your comments for good, answering \"554 5.7.1 relay denied\"." + q},
        {greeting + "250 hi\r\n250 OK\r\n550 5.1.1 no such user\r\n", false, Failure::kAddressRejected,
         "E-Mail Address Rejected", "answered \"550 5.1.1 no such user\"." + q},
        {greeting + "hello there\r\n", false, Failure::kBroken, "Broken Reply",
         "sent a broken reply: \"hello there\"." + q},
        {greeting + overlong + "|" + overlong, false, Failure::kBroken, "Broken Reply",
         "sent a broken reply: a reply line without an end." + q},
        {greeting + "250 hi\r\n221 bye\r\n", false, Failure::kUnexpected, "Unexpected Reply",
         "sent a reply that does not belong at this point: \"221 bye\"." + q},
        {greeting + "250 hi\r\n", true, Failure::kClosed, "Connection Closed",
         "closed the connection before your comments were sent." + q},
    };
    const std::string server = "The mail server mail.example.com on port 2525 ";
    for (const auto& c : cases) {
        SmtpDialogue d({HelloName("DEN"), "ann@example.com", "support@velmora.com", kMessage});
        std::stringstream pieces(c.server);
        for (std::string piece; std::getline(pieces, piece, '|');) d.Receive(piece);
        if (c.close) d.Closed();
        ASSERT_EQ(d.HowFailed(), c.failure) << c.server.substr(0, 60);
        const FailureText text = DescribeFailure(d.HowFailed(), d.Refusal(), "mail.example.com", 2525);
        EXPECT_EQ(text.status, c.status);
        const std::string head = c.failure == Failure::kAddressRejected
                                     ? "The e-mail address that you specified has been rejected. " + server
                                     : server;
        EXPECT_EQ(text.explanation, head + c.explanation);
        EXPECT_EQ(text.explanation.find("  "), std::string::npos) << "one blank between sentences";
    }
    // The wizard's own failures, without a reply.
    EXPECT_EQ(DescribeFailure(Failure::kUnreachable, {}, "mail.example.com", 25).explanation,
              "The mail server mail.example.com on port 25 could not be reached." + q);
    EXPECT_EQ(DescribeFailure(Failure::kTimedOut, {}, "mail.example.com", 25).explanation,
              "The operation timed-out whilst waiting for a response. The mail server is mail.example.com on port "
              "25." + q);
    EXPECT_EQ(DescribeFailure(Failure::kTimedOut, {}, "h", 25).status, "Operation Timed-Out");
}

}  // namespace
}  // namespace corvella::comments
