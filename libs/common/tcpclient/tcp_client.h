// A TCP client for the user-interface thread: Winsock 1.1 (wsock32, on every
// system from Windows 95 on) with WSAAsyncSelect on a hidden window, so the
// host name lookup, the connection, arrivals and the server's close come in
// as window messages and raise the handlers below from the message loop.
// Nothing blocks. Text goes out and comes in as 8-bit characters, unchanged.
//
// The port fields are remote-port defaults for Connect(); the client never
// binds a local port, so any number of clients may share them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvella::tcp {

// The connection states, numbered as the hosts read them.
enum TcpState : int {
    kStateClosed = 0,
    kStateResolvingHost = 4,
    kStateHostResolved = 5,
    kStateConnecting = 6,
    kStateConnected = 7,
    kStateClosing = 8,  // the server has closed; Close() ends it
    kStateError = 9,
};

// Error numbers of the Error handler: Winsock's own (10061 refused, 11001
// host not found, ...), and this one for a call in the wrong state.
constexpr int kErrBadState = 40006;

struct TcpClient {
    // Design: set before Create() (or the first Connect()).
    std::string remoteHost;
    uint16_t remotePort = 0;

    // Handlers, raised from the message loop. Each may call Close(), start a
    // new Connect() or even destroy the client.
    std::function<void()> onConnect;
    std::function<void(long bytesTotal)> onDataArrival;  // bytes waiting for GetData()
    std::function<void()> onClose;                        // the server closed
    std::function<void(int number, const std::string& description)> onError;

    TcpClient();
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // The hidden window and Winsock; false when either is missing.
    bool Create();
    HWND hWnd() const { return hwnd_; }

    // Closes what is open and starts a connection to remoteHost:remotePort
    // (the two-argument form sets them first); returns at once. False, with
    // the Error handler raised, when it cannot even start.
    bool Connect();
    bool Connect(const std::string& host, uint16_t port);
    // Queues the text; it goes out as the connection takes it. False (and
    // the Error handler with kErrBadState) unless connected.
    bool SendData(const std::string& text);
    // Hands over what has arrived and empties the buffer.
    std::string GetData();
    long BytesReceived() const { return long(received_.size()); }
    // Ends the connection or the lookup, whatever the state; harmless when
    // nothing is open, also inside a handler.
    void Close();
    int State() const { return state_; }

    // The window procedure's share: the socket and lookup messages.
    void OnSocketEvent(UINT message, WPARAM socket, LPARAM event);
    void OnHostFound(WPARAM task, LPARAM result);

private:
    void StartConnect(unsigned long address);
    void Fail(int number);
    void Flush();
    bool ReadSome();  // one recv into received_; false when nothing came

    HWND hwnd_ = nullptr;
    bool winsock_ = false;
    UINT_PTR socket_;  // INVALID_SOCKET when none
    UINT message_ = 0;  // the message of the current socket's events
    unsigned connections_ = 0;
    HANDLE lookup_ = nullptr;
    std::vector<char> hostEntry_;  // filled by the asynchronous lookup
    int state_ = kStateClosed;
    std::string received_;
    std::string outgoing_;
    // Cleared when the client is destroyed, so a handler may delete it.
    std::shared_ptr<bool> alive_;
};

}  // namespace corvella::tcp
