// The ripper's lookup fed mutated server replies in random pieces: it never
// reads out of bounds, sends only its own commands, and a close ends it.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "app/cdrip/lookup/core/tests/lookup_transcripts.h"

namespace corvella::cdrip {
namespace {

using namespace lookup_testing;

std::string Mutate(std::string s, std::mt19937& rng) {
    if (s.empty()) return std::string(1, char(rng()));
    const size_t at = rng() % s.size();
    switch (rng() % 5) {
    case 0: s[at] = char(rng()); break;
    case 1: s.erase(at, rng() % 16); break;
    case 2: s.insert(at, s.substr(rng() % s.size(), rng() % 64)); break;
    case 3: s.insert(at, "\r\n.\r\n"); break;
    default: s.insert(at, rng() % 2 ? "211 x\r\n" : "200 rock 06019002 y\r\n"); break;
    }
    return s;
}

TEST(RipperLookupFuzz, RepliesOfAnyBytes) {
    const std::string commands = std::string(kHello) + kProto + kQuery;
    std::mt19937 rng(2510);
    for (int i = 0; i < 4000; ++i) {
        std::string server = ExactSession();
        if (i % 20 == 0) {
            server.assign(rng() % 600, '\0');
            for (char& c : server) c = char(rng());
        }
        for (int k = int(rng() % 4); k >= 0; --k) server = Mutate(server, rng);
        RipperLookup lookup(Query(), "user", "pc");
        std::string sent;
        for (size_t at = 0; at < server.size();) {
            const size_t n = std::min(server.size() - at, size_t(rng() % 97) + 1);
            std::unique_ptr<char[]> piece(new char[n]);  // exact size, so ASan sees overreads
            std::copy_n(server.data() + at, n, piece.get());
            sent += lookup.Receive(std::string_view(piece.get(), n));
            at += n;
        }
        lookup.Closed();
        SCOPED_TRACE(i);
        ASSERT_TRUE(lookup.Ended());
        // The hello, proto and query in order, then at most one read.
        ASSERT_EQ(sent.compare(0, std::min(sent.size(), commands.size()), commands, 0,
                               std::min(sent.size(), commands.size())), 0);
        if (sent.size() > commands.size()) {
            const std::string rest = sent.substr(commands.size());
            ASSERT_EQ(rest.rfind("cddb read ", 0), 0u) << rest;
            ASSERT_EQ(rest.find("\r\n"), rest.size() - 2) << rest;
        }
        const DiscData d = ParseEntry(lookup.EntryLines(), i % 2 == 0);
        ASSERT_LE(d.Titles.size(), 99u);
        ASSERT_TRUE(!d.Mixed || d.Artists.size() == d.Titles.size());
    }
}

}  // namespace
}  // namespace corvella::cdrip
