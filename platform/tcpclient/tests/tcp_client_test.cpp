// The TCP client under Wine against a scripted server on 127.0.0.1. The
// tests wait for states, pumping messages; the time limit only catches a
// client that never gets there.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/tcpclient/tcp_client.h"
#include "platform/tcpclient/tests/tcp_peer.h"

using namespace corvella::tcp;
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

// Every byte value, many times over: larger than the socket takes at once.
std::string AllBytes() {
    std::string one;
    for (int b = 0; b < 256; ++b) one += char(b);
    std::string all;
    for (int i = 0; i < 4096; ++i) all += one;
    return all;
}

// What a client saw, through its handlers.
struct Seen {
    int connects = 0, closes = 0, arrivals = 0;
    std::vector<int> errors;
    std::string data;
    bool countsMatch = true;  // each arrival's byte count was what GetData gave

    void Watch(TcpClient& c) {
        c.onConnect = [this] { ++connects; };
        c.onDataArrival = [this, &c](long bytes) {
            ++arrivals;
            const std::string got = c.GetData();
            countsMatch = countsMatch && long(got.size()) == bytes;
            data += got;
        };
        c.onClose = [this] { ++closes; };
        c.onError = [this](int number, const std::string& text) {
            EXPECT_FALSE(text.empty());
            errors.push_back(number);
        };
    }
};

TEST(TcpClient, TextGoesBothWaysUnchangedByNameAndByAddress) {
    const std::string payload = AllBytes();
    const std::string reply = "200 " + std::string(payload.rbegin(), payload.rend());
    for (const char* host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        TcpPeer peer([&](TcpPeer& p, SOCKET s) {
            TcpPeer::SendAll(s, "201 ready\r\n");
            p.Record(TcpPeer::Receive(s, payload.size()));
            TcpPeer::SendAll(s, reply);
        });
        TcpClient client;
        Seen seen;
        seen.Watch(client);
        ASSERT_TRUE(client.Connect(host, peer.port()));
        EXPECT_EQ(host[0] == 'l' ? kStateResolvingHost : kStateConnecting, client.State());
        ASSERT_TRUE(PumpUntil([&] { return seen.data == "201 ready\r\n"; }));
        EXPECT_EQ(kStateConnected, client.State());
        EXPECT_EQ(1, seen.connects);

        seen.data.clear();
        ASSERT_TRUE(client.SendData(payload));
        ASSERT_TRUE(PumpUntil([&] { return seen.closes == 1; }));
        EXPECT_TRUE(payload == peer.Recorded());
        EXPECT_TRUE(reply == seen.data);
        EXPECT_TRUE(seen.countsMatch);
        EXPECT_EQ(kStateClosing, client.State());
        EXPECT_TRUE(seen.errors.empty());
        client.Close();
        EXPECT_EQ(kStateClosed, client.State());
        EXPECT_EQ(1, seen.connects);
    }
}

TEST(TcpClient, FailuresRaiseErrorsAndCloseIsAlwaysHarmless) {
    TcpClient idle;
    idle.Close();
    idle.Close();
    EXPECT_EQ(kStateClosed, idle.State());

    const struct {
        const char* host;
        uint16_t port;
        int error;  // 0: any lookup failure
    } cases[] = {
        {"127.0.0.1", corvella::tcp::testing::UnusedPort(), 10061},
        {"no-such-host.invalid", 80, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        TcpClient client;
        Seen seen;
        seen.Watch(client);
        client.Connect(c.host, c.port);
        ASSERT_TRUE(PumpUntil([&] { return !seen.errors.empty(); }));
        EXPECT_EQ(kStateError, client.State());
        if (c.error != 0) EXPECT_EQ(c.error, seen.errors[0]);
        EXPECT_EQ(0, seen.connects);
        EXPECT_FALSE(client.SendData("x"));
        EXPECT_EQ(kErrBadState, seen.errors.back());
        client.Close();
        client.Close();
        EXPECT_EQ(kStateClosed, client.State());
    }
}

TEST(TcpClient, HandlersMayCloseReconnectOrDestroyTheClient) {
    TcpPeer peer(
        [](TcpPeer& p, SOCKET s) {
            TcpPeer::SendAll(s, "hello\r\n");
            p.Record(TcpPeer::Receive(s, 1));  // "" once the client has closed
            p.Record("|");
        },
        3);
    auto client = std::make_unique<TcpClient>();
    client->remoteHost = "127.0.0.1";
    client->remotePort = peer.port();
    Seen seen;
    seen.Watch(*client);
    // First connection: closed from the arrival handler, then a second one
    // started from there too; the second's arrival destroys the client.
    int arrivals = 0;
    client->onDataArrival = [&](long) {
        ++arrivals;
        if (arrivals == 1) {
            client->Close();
            EXPECT_EQ(kStateClosed, client->State());
            client->Connect();
        } else {
            client.reset();
        }
    };
    ASSERT_TRUE(client->Connect());
    ASSERT_TRUE(PumpUntil([&] { return client == nullptr; }));
    ASSERT_TRUE(PumpUntil([&] { return peer.Recorded() == "||"; }));
    EXPECT_EQ(2, seen.connects);
    EXPECT_EQ(0, seen.closes);
    EXPECT_TRUE(seen.errors.empty());
}

TEST(TcpClient, PortDefaultsNeverBindALocalPort) {
    TcpPeer peer([](TcpPeer& p, SOCKET s) { p.Record(TcpPeer::Receive(s, 1)); }, 2);
    TcpClient a, b;
    Seen seenA, seenB;
    seenA.Watch(a);
    seenB.Watch(b);
    for (TcpClient* c : {&a, &b}) {
        c->remoteHost = "127.0.0.1";
        c->remotePort = peer.port();
        ASSERT_TRUE(c->Connect());
    }
    ASSERT_TRUE(PumpUntil([&] { return seenA.connects == 1 && seenB.connects == 1; }));
    EXPECT_TRUE(seenA.errors.empty() && seenB.errors.empty());
    a.SendData("a");
    b.SendData("b");
    ASSERT_TRUE(PumpUntil([&] { return peer.Recorded().size() == 2; }));
}

}  // namespace
