// The TCP client under Wine against a scripted server on 127.0.0.1. The
// tests wait for states, pumping messages; the time limit only catches a
// client that never gets there.
#include <gtest/gtest.h>
#include <winsock.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "libs/common/tcpclient/tcp_client.h"
#include "libs/common/tcpclient/tests/peer.h"

using namespace corvella::tcp;
using corvella::tcp::testing::Peer;

namespace {

bool PumpUntil(const std::function<bool()>& done) {
    for (const DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start > 20000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

// What a client saw through its handlers.
struct Seen {
    int connects = 0, closes = 0;
    std::vector<int> errors;
    std::string data;
    bool countsMatch = true;  // each arrival's byte count was what GetData gave

    explicit Seen(TcpClient& c) {
        c.onConnect = [this] { ++connects; };
        c.onDataArrival = [this, &c](long bytes) {
            const std::string got = c.GetData();
            countsMatch = countsMatch && long(got.size()) == bytes;
            data += got;
        };
        c.onClose = [this] { ++closes; };
        c.onError = [this](int number, const std::string& text) { errors.push_back(text.empty() ? 0 : number); };
    }
};

TEST(TcpClient, TextGoesBothWaysUnchangedByNameAndByAddress) {
    std::string payload;  // every byte value, more than a socket takes at once
    for (int i = 0; i < 256 * 4096; ++i) payload += char(i);
    const std::string reply = "200 " + std::string(payload.rbegin(), payload.rend());
    for (const char* host : {"127.0.0.1", "localhost"}) {
        Peer peer([&](Peer& p, SOCKET s) {
            Peer::Send(s, "201 ready\r\n");
            p.Record(Peer::Receive(s, payload.size()));
            Peer::Send(s, reply);
        });
        TcpClient client;
        Seen seen(client);
        ASSERT_TRUE(client.Connect(host, peer.port));
        EXPECT_EQ(host[0] == 'l' ? kStateResolvingHost : kStateConnecting, client.State());
        ASSERT_TRUE(PumpUntil([&] { return seen.data == "201 ready\r\n"; })) << host;
        EXPECT_EQ(kStateConnected, client.State());
        ASSERT_TRUE(client.SendData(payload));
        ASSERT_TRUE(PumpUntil([&] { return seen.closes == 1; })) << host;
        EXPECT_TRUE(payload == peer.Recorded());
        EXPECT_TRUE("201 ready\r\n" + reply == seen.data);
        EXPECT_TRUE(seen.countsMatch);
        EXPECT_EQ(kStateClosing, client.State());
        client.Close();
        EXPECT_EQ(kStateClosed, client.State());
        EXPECT_EQ(1, seen.connects);
        EXPECT_TRUE(seen.errors.empty());
    }
}

TEST(TcpClient, FailuresRaiseErrorsAndCloseIsAlwaysHarmless) {
    TcpClient idle;
    idle.Close();
    EXPECT_EQ(kStateClosed, idle.State());
    uint16_t unused;
    {
        Peer gone([](Peer&, SOCKET) {});
        unused = gone.port;
    }
    for (const auto& [host, port, error] : {std::make_tuple("127.0.0.1", unused, 10061),
                                            std::make_tuple("", uint16_t(80), 11001),
                                            std::make_tuple("no-such-host.invalid", uint16_t(80), -1)}) {
        TcpClient client;
        Seen seen(client);
        client.Connect(host, port);
        ASSERT_TRUE(PumpUntil([&] { return !seen.errors.empty(); })) << host;
        EXPECT_EQ(kStateError, client.State());
        EXPECT_TRUE(error == -1 ? seen.errors[0] > 0 : seen.errors[0] == error) << seen.errors[0];
        EXPECT_FALSE(client.SendData("x"));
        EXPECT_EQ(kErrBadState, seen.errors.back());
        client.Close();
        client.Close();
        EXPECT_EQ(0, seen.connects);
    }
}

TEST(TcpClient, HandlersMayCloseReconnectOrDestroyTheClient) {
    Peer peer(
        [](Peer& p, SOCKET s) {
            Peer::Send(s, "hello\r\n");
            p.Record(Peer::Receive(s, 1) + "|");  // once the client has gone
        },
        2);
    auto client = std::make_unique<TcpClient>();
    client->remoteHost = "127.0.0.1";
    client->remotePort = peer.port;
    Seen seen(*client);
    int arrivals = 0;
    client->onDataArrival = [&](long) {
        if (++arrivals == 1) {
            client->Close();
            client->Connect();  // the same port defaults again
        } else {
            client.reset();
        }
    };
    ASSERT_TRUE(client->Connect());
    ASSERT_TRUE(PumpUntil([&] { return client == nullptr && peer.Recorded() == "||"; }));
    EXPECT_EQ(2, seen.connects);
    EXPECT_EQ(0, seen.closes);
    EXPECT_TRUE(seen.errors.empty());
}

// The close of a connection ended by the client, still waiting in the
// queue, is not the next connection's when its socket gets the same handle.
TEST(TcpClient, ALateEventOfAClosedConnectionIsNotTheNextOnes) {
    Peer first([](Peer&, SOCKET s) { Peer::Send(s, "bye\r\n"); });  // and closes
    Peer second([](Peer&, SOCKET s) {
        Peer::Send(s, "hi\r\n");
        Peer::UntilClosed(s);
    });
    TcpClient client;
    Seen seen(client);
    std::vector<SOCKET> plugs;
    bool reused = false;
    client.onDataArrival = [&](long) {
        seen.data += client.GetData();
        if (seen.data != "bye\r\n") return;
        first.Join();
        // The server's close waits in the queue, naming the client's socket.
        MSG late{};
        for (const DWORD start = GetTickCount();
             !PeekMessageA(&late, client.hWnd(), 0, 0, PM_NOREMOVE) && GetTickCount() - start < 20000;)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        client.Close();
        // Every lower free handle plugged, the next socket gets that one.
        for (int i = 0; i < 512 && !reused; ++i) {
            plugs.push_back(socket(AF_INET, SOCK_STREAM, 0));
            reused = plugs.back() == late.wParam;
        }
        if (reused) {
            closesocket(plugs.back());
            plugs.pop_back();
        }
        client.Connect("127.0.0.1", second.port);
    };
    ASSERT_TRUE(client.Connect("127.0.0.1", first.port));
    ASSERT_TRUE(PumpUntil([&] { return seen.data == "bye\r\nhi\r\n"; })) << seen.data;
    EXPECT_TRUE(reused) << "the handle came again";
    EXPECT_EQ(0, seen.closes);
    EXPECT_EQ(kStateConnected, client.State());
    for (SOCKET p : plugs) closesocket(p);
}

TEST(TcpClient, PortDefaultsNeverBindALocalPort) {
    Peer peer([](Peer& p, SOCKET s) { p.Record(Peer::Receive(s, 1)); }, 2);
    TcpClient a, b;
    Seen seenA(a), seenB(b);
    for (TcpClient* c : {&a, &b}) {
        c->remoteHost = "127.0.0.1";
        c->remotePort = peer.port;
        ASSERT_TRUE(c->Connect());
    }
    ASSERT_TRUE(PumpUntil([&] { return seenA.connects == 1 && seenB.connects == 1; }));
    a.SendData("a");
    b.SendData("b");
    ASSERT_TRUE(PumpUntil([&] { return peer.Recorded().size() == 2; }));
    EXPECT_TRUE(seenA.errors.empty() && seenB.errors.empty());
}

}  // namespace
