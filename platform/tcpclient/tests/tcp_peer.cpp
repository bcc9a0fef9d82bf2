#include "platform/tcpclient/tests/tcp_peer.h"

#include <algorithm>

namespace corvella::tcp::testing {

namespace {

SOCKET ListenOnLoopback(uint16_t& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = inet_addr("127.0.0.1");
    int size = sizeof at;
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(s, 5) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&at), &size) != 0) {
        if (s != INVALID_SOCKET) closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(at.sin_port);
    return s;
}

}  // namespace

TcpPeer::TcpPeer(Serve serve, int connections) : serve_(std::move(serve)) {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    listener_ = ListenOnLoopback(port_);
    if (listener_ == INVALID_SOCKET) return;
    thread_ = std::thread([this, connections] {
        for (int i = 0; i < connections; ++i) {
            const SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            if (stopping_) {
                closesocket(c);
                return;
            }
            serve_(*this, c);
            closesocket(c);
        }
    });
}

TcpPeer::~TcpPeer() {
    if (thread_.joinable()) {
        // A connection of its own ends an accept that still waits.
        stopping_ = true;
        const SOCKET wake = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port_);
        to.sin_addr.s_addr = inet_addr("127.0.0.1");
        connect(wake, reinterpret_cast<sockaddr*>(&to), sizeof to);
        thread_.join();
        closesocket(wake);
    }
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

bool TcpPeer::SendAll(SOCKET s, const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        const int n = send(s, bytes.data() + at, int(bytes.size() - at), 0);
        if (n <= 0) return false;
        at += size_t(n);
    }
    return true;
}

std::string TcpPeer::Receive(SOCKET s, size_t count) {
    std::string got;
    char buffer[4096];
    while (got.size() < count) {
        const int n = recv(s, buffer, int(std::min(sizeof buffer, count - got.size())), 0);
        if (n <= 0) break;
        got.append(buffer, size_t(n));
    }
    return got;
}

std::string TcpPeer::ReceiveUntil(SOCKET s, const std::string& end) {
    std::string got;
    char c;
    while (got.size() < end.size() || got.compare(got.size() - end.size(), end.size(), end) != 0) {
        if (recv(s, &c, 1, 0) != 1) break;
        got += c;
    }
    return got;
}

void TcpPeer::Record(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    recorded_ += what;
}

std::string TcpPeer::Recorded() {
    std::lock_guard<std::mutex> lock(mutex_);
    return recorded_;
}

uint16_t UnusedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    uint16_t port = 0;
    const SOCKET s = ListenOnLoopback(port);
    if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
    return port;
}

}  // namespace corvella::tcp::testing
