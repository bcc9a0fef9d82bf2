// A scripted CDDB server for the ripper's window tests, and the lookup
// settings pointing at it.
#pragma once

#include <windows.h>

#include <string>

#include "libs/common/tcpclient/tests/peer.h"
#include "libs/disclookup/core/lookup_settings.h"

namespace corvella::cdrip::testing {

// Points the lookup at host:port (127.0.0.1 unless given) for the test's time.
class LocalServer {
public:
    explicit LocalServer(DWORD port, const std::string& host = "127.0.0.1") {
        using namespace disclookup;
        RegCreateKeyExA(HKEY_CURRENT_USER, kLookupSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExA(key_, kCddbHostValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(host.c_str()),
                       DWORD(host.size() + 1));
        RegSetValueExA(key_, kCddbPortValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port), sizeof port);
    }
    ~LocalServer() {
        RegDeleteValueA(key_, disclookup::kCddbHostValue);
        RegDeleteValueA(key_, disclookup::kCddbPortValue);
        RegCloseKey(key_);
    }
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

private:
    HKEY key_ = nullptr;
};

// Speaks the dialogue, recording each line; `queryReply` answers the query
// (empty: a match of the asked id). The entry comes in pieces, one of them
// beginning with "200".
inline tcp::testing::Peer::Serve Server(const std::string& queryReply = "") {
    using tcp::testing::Peer;
    return [=](Peer& p, SOCKET s) {
        Peer::Send(s, "200 test CDDBP server v1.5 ready, posting allowed\r\n");
        std::string id;
        for (std::string line; !(line = Peer::ReceiveLine(s)).empty();) {
            p.Record(line + "|");
            if (line.rfind("cddb hello ", 0) == 0) {
                Peer::Send(s, "200 Hello and welcome\r\n");
            } else if (line == "proto 5") {
                Peer::Send(s, "201 OK, CDDB protocol level now: 5\r\n");
            } else if (line.rfind("cddb query ", 0) == 0) {
                id = line.substr(11, 8);
                Peer::Send(s, queryReply.empty() ? "200 misc " + id + " Test Tones / Sines\r\n" : queryReply);
            } else if (line.rfind("cddb read ", 0) == 0) {
                Peer::Send(s, "210 misc " + id + " CD database entry follows\r\n# xmcd\r\nDTITLE=Test Tones / Sine");
                Peer::Send(s, "s\r\nDYEAR=");
                Peer::Send(s, "2001\r\nDGENRE=Test\r\nTTITLE0=Low / One\r\nTTITLE1=Mid\r\nTTITLE2=Hi");
                Peer::Send(s, "gh\r\n.\r\n");
            }
        }
    };
}

}  // namespace corvella::cdrip::testing
