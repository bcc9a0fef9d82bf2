// A scripted TCP server on 127.0.0.1 for tests under Wine: it listens on a
// free port, runs `serve` on its own thread for each accepted connection,
// and stops (closing the listener, joining the thread) when destroyed.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace corvella::tcp::testing {

class TcpPeer {
public:
    using Serve = std::function<void(TcpPeer& peer, SOCKET connection)>;

    TcpPeer(Serve serve, int connections = 1);
    ~TcpPeer();

    uint16_t port() const { return port_; }

    // Blocking helpers for the serving thread.
    static bool SendAll(SOCKET s, const std::string& bytes);
    // Reads until `count` bytes came or the client closed.
    static std::string Receive(SOCKET s, size_t count);
    // Reads until the bytes end with `end` or the client closed.
    static std::string ReceiveUntil(SOCKET s, const std::string& end);

    // What the serving thread records, read by the test under the lock.
    void Record(const std::string& what);
    std::string Recorded();

private:
    Serve serve_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::string recorded_;
};

// A port nothing listens on (bound for a moment, then released).
uint16_t UnusedPort();

}  // namespace corvella::tcp::testing
