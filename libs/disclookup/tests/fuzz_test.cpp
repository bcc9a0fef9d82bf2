// Server replies and pages of any bytes: mutations of real ones, fed in
// random pieces from exact-size buffers, so the sanitizers see any read past
// them. Every query must end once the server closes, and nothing unchecked
// may come out. Seeded, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "libs/disclookup/tests/transcripts.h"

using namespace disclookup_testing;

namespace {

std::string Mutate(std::string s, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    static const char* const kPieces[] = {"\r\n",  "\n",      ".\r\n", "200 ", "210 ", "<a ", "</a>", "&id=",
                                          "cat=", "&#",      "&amp;", "=",    "TTITLE7=", "\\", " / ", "<"};
    switch (pick(5)) {
    case 0:  // random bytes
        for (size_t k = pick(8) + 1; k > 0 && !s.empty(); --k) s[pick(s.size())] = char(rng());
        break;
    case 1:  // a piece of the protocols put anywhere
        s.insert(pick(s.size() + 1), kPieces[pick(sizeof kPieces / sizeof *kPieces)]);
        break;
    case 2:  // a stretch dropped
        if (!s.empty()) {
            const size_t at = pick(s.size());
            s.erase(at, pick(s.size() - at) + 1);
        }
        break;
    case 3:  // a stretch repeated
        if (!s.empty()) {
            const size_t at = pick(s.size());
            s.insert(at, s.substr(at, pick(64) + 1));
        }
        break;
    default:  // cut short
        s.resize(pick(s.size() + 1));
    }
    return s;
}

// Hands `in` over in random pieces, each in a buffer of its own size.
template <typename Feed>
void InPieces(const std::string& in, std::mt19937& rng, Feed feed) {
    for (size_t at = 0; at < in.size();) {
        const size_t n = std::min(in.size() - at, size_t(rng() % 97) + 1);
        std::unique_ptr<char[]> piece(new char[n]);
        std::copy(in.begin() + long(at), in.begin() + long(at + n), piece.get());
        feed(std::string_view(piece.get(), n));
        at += n;
    }
}

void CheckDialogue(const std::string& server, std::mt19937& rng) {
    CddbDialogue d(Request());
    std::string sent;
    InPieces(server, rng, [&](std::string_view piece) { sent += d.Receive(piece); });
    d.Closed();
    ASSERT_NE(Outcome::kRunning, d.Result());
    // Only the dialogue's own commands, whole, in their order.
    ASSERT_EQ(0u, CddbCommands().find(sent));
    const DiscInfo disc = d.Disc();
    ASSERT_LE(disc.Tracks.size(), 99u);
    if (d.Result() == Outcome::kFailed) {
        ASSERT_EQ(DiscInfo(), disc);
    }
}

void CheckSearch(const std::string& reply, std::mt19937& rng) {
    WebSearch w;
    InPieces(reply, rng, [&](std::string_view piece) { w.Receive(piece); });
    w.Closed();
    ASSERT_NE(Outcome::kRunning, w.Result());
    for (const DiscID& disc : w.Discs()) {
        ASSERT_TRUE(IsDiscId(disc.DiscID)) << disc.DiscID;
        ASSERT_TRUE(IsCategory(disc.Catagory)) << disc.Catagory;
    }
}

TEST(DiscLookupFuzz, CddbRepliesOfAnyBytes) {
    std::mt19937 rng(16);
    const std::string seed = CddbSession();
    for (int i = 0; i < 3000; ++i) {
        std::string s = seed;
        for (int k = int(rng() % 4); k >= 0; --k) s = Mutate(s, rng);
        SCOPED_TRACE(i);
        CheckDialogue(s, rng);
        if (HasFatalFailure()) return;
    }
    for (int i = 0; i < 200; ++i) {
        std::string s(rng() % 600, '\0');
        for (char& c : s) c = char(rng());
        CheckDialogue(s, rng);
        if (HasFatalFailure()) return;
    }
}

TEST(DiscLookupFuzz, SearchRepliesOfAnyBytes) {
    std::mt19937 rng(1602);
    const std::string seed = SearchReply();
    for (int i = 0; i < 3000; ++i) {
        std::string s = seed;
        for (int k = int(rng() % 4); k >= 0; --k) s = Mutate(s, rng);
        SCOPED_TRACE(i);
        CheckSearch(s, rng);
        if (HasFatalFailure()) return;
        // The page alone, without the reply around it.
        const std::string page = Mutate(SearchPage(), rng);
        std::unique_ptr<char[]> exact(new char[page.size() + 1]);
        std::copy(page.begin(), page.end(), exact.get());
        for (const DiscID& disc : ParseSearchPage(std::string_view(exact.get(), page.size())))
            ASSERT_TRUE(IsDiscId(disc.DiscID) && IsCategory(disc.Catagory));
    }
}

TEST(DiscLookupFuzz, EntryLinesOfAnyBytes) {
    std::mt19937 rng(99);
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::string> lines;
        for (int k = int(rng() % 12); k >= 0; --k) {
            std::string line = k % 3 == 0 ? "TTITLE" + std::to_string(rng() % 120) + "=" : k % 3 == 1 ? "DTITLE=" : "";
            for (int n = int(rng() % 20); n > 0; --n) line += char(rng() % 4 == 0 ? '\\' : char(rng()));
            lines.push_back(line);
        }
        const DiscInfo disc = ParseXmcd(lines);
        ASSERT_LE(disc.Tracks.size(), 99u);
    }
}

}  // namespace
