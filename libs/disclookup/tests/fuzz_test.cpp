// Replies and pages of any bytes: mutations of real ones, fed in random
// pieces from exact-size buffers, so the sanitizers see any read past them.
// Every query must end once the server closes, and nothing unchecked may
// come out. Seeded, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    static const char* const kPieces[] = {"\r\n", "\n", ".\r\n", "200 ", "210 ", "<a ", "</a>", "&id=",
                                          "cat=", "&#", "&amp;", "TTITLE98=", "\\", " / ", "<", "="};
    const size_t at = pick(s.size() + 1);
    switch (pick(5)) {
    case 0:  // random bytes
        for (size_t k = pick(8) + 1; k > 0 && !s.empty(); --k) s[pick(s.size())] = char(rng());
        break;
    case 1:  // a piece of the protocols put anywhere
        s.insert(at, kPieces[pick(std::size(kPieces))]);
        break;
    case 2:  // a stretch dropped
        s.erase(at, pick(64) + 1);
        break;
    case 3:  // a stretch repeated
        s.insert(at, s.substr(at, pick(64) + 1));
        break;
    default:  // cut short
        s.resize(at);
    }
    return s;
}

// Hands `in` over in random pieces, each in a buffer of its own size.
template <typename Feed>
void InPieces(const std::string& in, std::mt19937& rng, Feed feed) {
    for (size_t at = 0; at < in.size();) {
        const size_t n = std::min(in.size() - at, size_t(rng() % 97) + 1);
        std::unique_ptr<char[]> piece(new char[n]);
        std::copy_n(in.data() + at, n, piece.get());
        feed(std::string_view(piece.get(), n));
        at += n;
    }
}

template <typename Check>
void Fuzz(const std::string& seed, unsigned rngSeed, Check check) {
    std::mt19937 rng(rngSeed);
    for (int i = 0; i < 3000; ++i) {
        std::string s = seed;
        if (i % 20 == 0) {  // bytes with nothing of the protocol in them
            s.assign(rng() % 600, '\0');
            for (char& c : s) c = char(rng());
        }
        for (int k = int(rng() % 4); k >= 0; --k) s = Mutate(s, rng);
        SCOPED_TRACE(i);
        check(s, rng);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(DiscLookupFuzz, CddbRepliesOfAnyBytes) {
    Fuzz(CddbSession(), 16, [](const std::string& server, std::mt19937& rng) {
        CddbDialogue d(Request());
        std::string sent;
        InPieces(server, rng, [&](std::string_view piece) { sent += d.Receive(piece); });
        d.Closed();
        ASSERT_NE(Outcome::kRunning, d.Result());
        ASSERT_EQ(0u, CddbCommands().find(sent));  // only its own commands, whole, in order
        ASSERT_LE(d.Disc().Tracks.size(), 99u);
        ASSERT_TRUE(d.Result() == Outcome::kComplete || d.Disc() == DiscInfo());
    });
}

TEST(DiscLookupFuzz, SearchRepliesOfAnyBytes) {
    Fuzz(SearchReply(), 1602, [](const std::string& reply, std::mt19937& rng) {
        WebSearch w;
        InPieces(reply, rng, [&](std::string_view piece) { w.Receive(piece); });
        w.Closed();
        ASSERT_NE(Outcome::kRunning, w.Result());
        for (const DiscID& disc : w.Discs()) ASSERT_TRUE(IsDiscId(disc.DiscID) && IsCategory(disc.Catagory));
        // The page alone, in a buffer of its exact size.
        const size_t n = reply.size();
        std::unique_ptr<char[]> page(new char[n]);
        std::copy_n(reply.data(), n, page.get());
        for (const DiscID& disc : ParseSearchPage(std::string_view(page.get(), n)))
            ASSERT_TRUE(IsDiscId(disc.DiscID) && IsCategory(disc.Catagory));
    });
}

}  // namespace
