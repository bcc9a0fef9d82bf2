// The CDDB read and the web search spoken over the TCP client under Wine,
// against scripted servers on 127.0.0.1 that hand out their replies in
// small pieces.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "libs/disclookup/tests/transcripts.h"
#include "platform/tcpclient/tcp_client.h"
#include "platform/tcpclient/tests/tcp_peer.h"

using namespace disclookup_testing;
using corvella::tcp::TcpClient;
using corvella::tcp::testing::TcpPeer;

namespace {

bool PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 20000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

void SendInPieces(SOCKET s, const std::string& bytes, size_t piece) {
    for (size_t at = 0; at < bytes.size(); at += piece) TcpPeer::SendAll(s, bytes.substr(at, piece));
}

// The session's replies, one per line up to the entry, which is one reply.
std::vector<std::string> Replies() {
    const std::string session = CddbSession();
    std::vector<std::string> replies;
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t end = session.find("\r\n", at) + 2;
        replies.push_back(session.substr(at, end - at));
        at = end;
    }
    const size_t entryEnd = session.find("\r\n.\r\n", at) + 5;
    replies.push_back(session.substr(at, entryEnd - at));
    replies.push_back(session.substr(entryEnd));
    return replies;
}

struct CddbRun {
    TcpClient client;
    CddbDialogue dialogue{Request()};
    bool closed = false;

    explicit CddbRun(uint16_t port) {
        client.onDataArrival = [this](long) {
            const std::string send = dialogue.Receive(client.GetData());
            if (!send.empty()) client.SendData(send);
        };
        client.onClose = [this] {
            dialogue.Closed();
            closed = true;
        };
        client.Connect("127.0.0.1", port);
    }
};

TEST(DialogueOverTcp, DiscReadWithRepliesInPieces) {
    const std::vector<std::string> replies = Replies();
    TcpPeer peer([&](TcpPeer& p, SOCKET s) {
        SendInPieces(s, replies[0], 9);  // the banner
        for (size_t i = 1; i < replies.size(); ++i) {
            p.Record(TcpPeer::ReceiveUntil(s, "\r\n"));
            SendInPieces(s, replies[i], 7);
        }
    });
    CddbRun run(peer.port());
    ASSERT_TRUE(PumpUntil([&] { return run.closed; }));
    EXPECT_EQ(Outcome::kComplete, run.dialogue.Result()) << run.dialogue.Error();
    EXPECT_EQ(CddbDisc(), run.dialogue.Disc());
    EXPECT_EQ(CddbCommands(), peer.Recorded());
}

TEST(DialogueOverTcp, RefusalEndsTheReadBeforeTheServerCloses) {
    TcpPeer peer([](TcpPeer& p, SOCKET s) {
        TcpPeer::SendAll(s, "433 No connections allowed: 50 users allowed, 50 currently active\r\n");
        p.Record(TcpPeer::Receive(s, 1) + "|");  // waits for the client to go
    });
    CddbRun run(peer.port());
    ASSERT_TRUE(PumpUntil([&] { return run.dialogue.Result() != Outcome::kRunning; }));
    EXPECT_EQ(Outcome::kFailed, run.dialogue.Result());
    EXPECT_FALSE(run.closed);
    run.client.Close();
    ASSERT_TRUE(PumpUntil([&] { return !peer.Recorded().empty(); }));
    EXPECT_EQ("|", peer.Recorded());  // no command was sent
}

TEST(DialogueOverTcp, WebSearch) {
    const struct {
        std::string reply;
        Outcome outcome;
        std::vector<DiscID> discs;
    } cases[] = {
        {SearchReply(), Outcome::kComplete, SearchDiscs()},
        {"HTTP/1.0 404 Not Found\r\n\r\n" + SearchPage(), Outcome::kFailed, {}},
    };
    for (const auto& c : cases) {
        TcpPeer peer([&](TcpPeer& p, SOCKET s) {
            p.Record(TcpPeer::ReceiveUntil(s, "\r\n\r\n"));
            SendInPieces(s, c.reply, 100);
        });
        TcpClient client;
        WebSearch search;
        bool closed = false;
        const std::string request = SearchRequest("127.0.0.1", peer.port(), "Tom & Jerry");
        client.onConnect = [&] { client.SendData(request); };
        client.onDataArrival = [&](long) { search.Receive(client.GetData()); };
        client.onClose = [&] {
            search.Closed();
            closed = true;
        };
        client.Connect("127.0.0.1", peer.port());
        ASSERT_TRUE(PumpUntil([&] { return closed; }));
        EXPECT_EQ(c.outcome, search.Result());
        EXPECT_EQ(c.discs, search.Discs());
        EXPECT_EQ(request, peer.Recorded());
    }
}

}  // namespace
