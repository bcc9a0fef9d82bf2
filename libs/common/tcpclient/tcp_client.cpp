#include "libs/common/tcpclient/tcp_client.h"

#include <winsock.h>

#include <algorithm>

namespace corvella::tcp {

namespace {

constexpr char kClassName[] = "CorvellaTcpClient";
// Each connection's events come with a message of its own: events of a
// closed socket may still wait in the queue when the next connect gets the
// same handle, and must not read as the new connection's (a stale close
// ended the new query before its reply).
constexpr UINT kSocketMessageFirst = WM_APP + 0x340;
constexpr UINT kSocketMessageCount = 0x80;
constexpr UINT kLookupMessage = WM_APP + 0x3C1;
constexpr long kEvents = FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE;

int g_clients = 0;  // the class is registered while a client lives

// The module this code is linked into, so the class belongs to the DLL that
// holds the window procedure and goes with it.
HINSTANCE ThisModule() {
    MEMORY_BASIC_INFORMATION mbi{};
    VirtualQuery(reinterpret_cast<const void*>(&ThisModule), &mbi, sizeof mbi);
    return static_cast<HINSTANCE>(mbi.AllocationBase);
}

LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    auto* client = reinterpret_cast<TcpClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (client != nullptr && msg >= kSocketMessageFirst && msg < kSocketMessageFirst + kSocketMessageCount) {
        client->OnSocketEvent(msg, wp, lp);
        return 0;
    }
    if (client != nullptr && msg == kLookupMessage) {
        client->OnHostFound(wp, lp);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

const struct {
    int number;
    const char* text;
} kErrorTexts[] = {
    {WSAECONNREFUSED, "Connection is forcefully rejected"},
    {WSAETIMEDOUT, "Connection timed out"},
    {WSAECONNRESET, "Connection reset by remote side"},
    {WSAECONNABORTED, "Connection aborted"},
    {WSAENETUNREACH, "Network is unreachable"},
    {WSAEHOSTUNREACH, "Host is unreachable"},
    {WSAHOST_NOT_FOUND, "Authoritative answer: Host not found"},
    {WSATRY_AGAIN, "Non-Authoritative answer: Host not found"},
    {WSANO_DATA, "Valid name, no data record of requested type"},
    {WSANOTINITIALISED, "Winsock is not available"},
    {kErrBadState, "Wrong protocol or connection state for the requested transaction or request"},
};

std::string Describe(int number) {
    for (const auto& e : kErrorTexts)
        if (e.number == number) return e.text;
    return "Winsock error " + std::to_string(number);
}

}  // namespace

TcpClient::TcpClient() : socket_(INVALID_SOCKET), alive_(std::make_shared<bool>(true)) {}

TcpClient::~TcpClient() {
    *alive_ = false;
    Close();
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
        if (--g_clients == 0) UnregisterClassA(kClassName, ThisModule());
    }
    if (winsock_) WSACleanup();
}

bool TcpClient::Create() {
    if (!winsock_) {
        WSADATA data;
        winsock_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
        if (!winsock_) return false;
    }
    if (hwnd_ != nullptr) return true;
    if (g_clients == 0) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ClientProc;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kClassName;
        if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    }
    // A hidden top-level window: message-only windows need Windows 2000.
    hwnd_ = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ThisModule(), this);
    if (hwnd_ == nullptr) {
        if (g_clients == 0) UnregisterClassA(kClassName, ThisModule());
        return false;
    }
    ++g_clients;
    return true;
}

bool TcpClient::Connect(const std::string& host, uint16_t port) {
    remoteHost = host;
    remotePort = port;
    return Connect();
}

bool TcpClient::Connect() {
    Close();
    if (!Create()) {
        Fail(WSANOTINITIALISED);
        return false;
    }
    // An empty name would be looked up as this machine's own.
    if (remoteHost.empty()) {
        Fail(WSAHOST_NOT_FOUND);
        return false;
    }
    const unsigned long address = inet_addr(remoteHost.c_str());
    if (address != INADDR_NONE) {
        StartConnect(address);
        return state_ != kStateError;
    }
    state_ = kStateResolvingHost;
    hostEntry_.assign(MAXGETHOSTSTRUCT, '\0');
    lookup_ = WSAAsyncGetHostByName(hwnd_, kLookupMessage, remoteHost.c_str(), hostEntry_.data(),
                                    int(hostEntry_.size()));
    if (lookup_ == nullptr) Fail(WSAGetLastError());
    return state_ != kStateError;
}

void TcpClient::StartConnect(unsigned long address) {
    socket_ = socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ == INVALID_SOCKET) return Fail(WSAGetLastError());
    // Also makes the socket non-blocking. No bind(): the system picks the
    // local port.
    message_ = kSocketMessageFirst + ++connections_ % kSocketMessageCount;
    if (WSAAsyncSelect(socket_, hwnd_, message_, kEvents) != 0) return Fail(WSAGetLastError());
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(remotePort);
    to.sin_addr.s_addr = address;
    state_ = kStateConnecting;
    if (connect(socket_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && WSAGetLastError() != WSAEWOULDBLOCK)
        Fail(WSAGetLastError());
}

void TcpClient::OnHostFound(WPARAM task, LPARAM result) {
    if (lookup_ == nullptr || reinterpret_cast<HANDLE>(task) != lookup_) return;  // cancelled
    lookup_ = nullptr;
    if (WSAGETASYNCERROR(result) != 0) return Fail(WSAGETASYNCERROR(result));
    const hostent* entry = reinterpret_cast<const hostent*>(hostEntry_.data());
    if (entry->h_length != 4 || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr)
        return Fail(WSANO_DATA);
    unsigned long address;
    std::copy(entry->h_addr_list[0], entry->h_addr_list[0] + sizeof address, reinterpret_cast<char*>(&address));
    state_ = kStateHostResolved;
    StartConnect(address);
}

void TcpClient::OnSocketEvent(UINT message, WPARAM socket, LPARAM event) {
    // Of a socket closed since.
    if (message != message_ || socket != socket_ || socket_ == INVALID_SOCKET) return;
    const std::shared_ptr<bool> alive = alive_;
    // Whether a handler closed, reconnected (maybe to the same handle) or
    // destroyed the client.
    auto gone = [&] { return !*alive || socket_ != socket || message_ != message; };
    const int error = WSAGETSELECTERROR(event);
    switch (WSAGETSELECTEVENT(event)) {
    case FD_CONNECT:
        if (error != 0) return Fail(error);
        state_ = kStateConnected;
        if (onConnect) onConnect();
        break;
    case FD_READ:
        if (ReadSome() && onDataArrival) onDataArrival(BytesReceived());
        break;
    case FD_WRITE:
        Flush();
        break;
    case FD_CLOSE: {
        bool any = false;
        while (ReadSome()) any = true;
        if (any && onDataArrival) onDataArrival(BytesReceived());
        if (gone()) return;
        state_ = kStateClosing;
        if (onClose) onClose();
        break;
    }
    default:
        break;
    }
}

bool TcpClient::ReadSome() {
    char buffer[8192];
    const int n = recv(socket_, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    received_.append(buffer, size_t(n));
    return true;
}

bool TcpClient::SendData(const std::string& text) {
    if (state_ != kStateConnected) {
        Fail(kErrBadState);
        return false;
    }
    outgoing_ += text;
    Flush();
    return true;
}

void TcpClient::Flush() {
    while (!outgoing_.empty() && state_ == kStateConnected) {
        const int n = send(socket_, outgoing_.data(), int(std::min<size_t>(outgoing_.size(), 65536)), 0);
        if (n == SOCKET_ERROR) {
            // The rest goes on the next FD_WRITE.
            if (WSAGetLastError() != WSAEWOULDBLOCK) Fail(WSAGetLastError());
            return;
        }
        outgoing_.erase(0, size_t(n));
    }
}

std::string TcpClient::GetData() {
    std::string data;
    data.swap(received_);
    return data;
}

void TcpClient::Close() {
    if (lookup_ != nullptr) {
        WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
    }
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    received_.clear();
    outgoing_.clear();
    state_ = kStateClosed;
}

void TcpClient::Fail(int number) {
    // A wrong call leaves the connection as it is; a network error ends it.
    if (number != kErrBadState) {
        if (lookup_ != nullptr) WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
        state_ = kStateError;
    }
    if (onError) onError(number, Describe(number));
}

}  // namespace corvella::tcp
