// Replies of any bytes, fed in random pieces from exact-size buffers so the
// sanitizers see any read past them: mutations of a real session and bytes
// with nothing of SMTP in them. Whatever comes, each command goes out at
// most once and in order, the mail counts as sent only after the message,
// and a close ends the dialogue. Seeded: every run tries the same inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

#include "app/tools/comments/core/smtp_dialogue.h"

namespace corvella::comments {
namespace {

const char kMessage[] = "Subject: x\r\n\r\nbody\r\n.\r\n";
const char* const kCommands[] = {"EHLO pc\r\n", "HELO pc\r\n", "MAIL FROM:<a@b.cd>\r\n", "RCPT TO:<s@v.com>\r\n",
                                 "DATA\r\n",    kMessage,      "QUIT\r\n"};
const char kSession[] =
    "220-mail.example.com ESMTP\r\n220 ready\r\n250-mail.example.com\r\n250 8BITMIME\r\n"
    "250 2.1.0 OK\r\n250 2.1.5 OK\r\n354 go ahead\r\n250 2.0.0 queued\r\n221 bye\r\n";

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    static const char* const kPieces[] = {"\r\n", "\n", "\r", "250 ", "250-", "354 ", "221 ", "550 ", "5", " "};
    const size_t at = pick(s.size() + 1);
    switch (pick(5)) {
    case 0: for (size_t k = pick(8) + 1; k > 0 && !s.empty(); --k) s[pick(s.size())] = char(rng()); break;
    case 1: s.insert(at, kPieces[pick(std::size(kPieces))]); break;
    case 2: s.erase(at, pick(64) + 1); break;
    case 3: s.insert(at, s.substr(at, pick(64) + 1)); break;
    default: s.resize(at);
    }
    return s;
}

TEST(SmtpFuzz, AnyRepliesKeepTheDialogueSound) {
    std::mt19937 rng(20261209);
    for (int i = 0; i < 20000; ++i) {
        std::string in = kSession;
        if (i % 20 == 0) {
            in.assign(rng() % 600, '\0');
            for (char& c : in) c = char(rng());
        } else {
            for (int m = int(rng() % 4) + 1; m > 0; --m) in = Mutate(in, rng);
        }
        SmtpDialogue d({"pc", "a@b.cd", "s@v.com", kMessage});
        std::string sent;
        for (size_t at = 0; at < in.size();) {
            const size_t n = std::min(in.size() - at, size_t(rng() % 37) + 1);
            std::unique_ptr<char[]> piece(new char[n]);
            std::copy_n(in.data() + at, n, piece.get());
            sent += d.Receive(std::string_view(piece.get(), n));
            ASSERT_TRUE(!d.Sent() || sent.find(kMessage) != std::string::npos) << i;
            at += n;
        }
        // The text sent is whole commands, each after the ones before it.
        for (int last = -1; !sent.empty();) {
            int found = -1;
            for (int k = 0; k < int(std::size(kCommands)); ++k)
                if (sent.compare(0, std::strlen(kCommands[k]), kCommands[k]) == 0) found = k;
            ASSERT_GT(found, last) << i;
            sent.erase(0, std::strlen(kCommands[found]));
            last = found;
        }
        d.Closed();
        ASSERT_TRUE(d.Ended()) << i;
    }
}

}  // namespace
}  // namespace corvella::comments
