// A scripted TCP peer on 127.0.0.1 for the tests of the TCP client and of
// the controls built on it: it listens on a free port and serves each
// connection on a Win32 thread of its own (the shipped compilers have no
// std::thread).
#pragma once

#include <winsock.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "libs/common/tcpclient/tcp_client.h"

namespace corvella::tcp::testing {

// Listens on a free port and runs `serve` on its own thread for each of
// `connections` clients; records what `serve` reports for the test.
class Peer {
public:
    using Serve = std::function<void(Peer&, SOCKET)>;
    explicit Peer(Serve serve, int connections = 1) {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = inet_addr("127.0.0.1");
        int size = sizeof at;
        bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at);
        listen(listener_, 5);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &size);
        port = ntohs(at.sin_port);
        serve_ = std::move(serve);
        connections_ = connections;
        InitializeCriticalSection(&lock_);
        thread_ = CreateThread(nullptr, 0, &Peer::Run, this, 0, nullptr);
    }
    ~Peer() {
        InterlockedExchange(&stopping_, 1);
        TcpClient wake;  // ends an accept that still waits
        wake.Connect("127.0.0.1", port);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        DeleteCriticalSection(&lock_);
        closesocket(listener_);
        WSACleanup();
    }
    // Waits until every connection has been served.
    void Join() { WaitForSingleObject(thread_, INFINITE); }
    static void Send(SOCKET s, const std::string& bytes) { send(s, bytes.data(), int(bytes.size()), 0); }
    // Up to `count` bytes, fewer when the client closes first.
    static std::string Receive(SOCKET s, size_t count) {
        std::string got(count, '\0');
        size_t n = 0;
        for (int r; n < count && (r = recv(s, &got[n], int(count - n), 0)) > 0;) n += size_t(r);
        return got.substr(0, n);
    }
    // One line without its CR LF; empty when the client closes first.
    static std::string ReceiveLine(SOCKET s) {
        std::string line;
        char c;
        while (recv(s, &c, 1, 0) == 1) {
            if (c == '\n') break;
            if (c != '\r') line += c;
        }
        return line;
    }
    // Waits until the client closes its side.
    static void UntilClosed(SOCKET s) {
        char c;
        while (recv(s, &c, 1, 0) > 0) {
        }
    }
    void Record(const std::string& what) {
        EnterCriticalSection(&lock_);
        recorded_ += what;
        LeaveCriticalSection(&lock_);
    }
    std::string Recorded() {
        EnterCriticalSection(&lock_);
        std::string copy = recorded_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    uint16_t port = 0;

private:
    static DWORD WINAPI Run(void* self) {
        Peer& peer = *static_cast<Peer*>(self);
        for (int i = 0; i < peer.connections_ && !peer.stopping_; ++i) {
            const SOCKET c = accept(peer.listener_, nullptr, nullptr);
            if (!peer.stopping_) peer.serve_(peer, c);
            closesocket(c);
        }
        return 0;
    }

    SOCKET listener_;
    Serve serve_;
    int connections_ = 1;
    volatile LONG stopping_ = 0;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::string recorded_;
};


}  // namespace corvella::tcp::testing
