// The TCP client control (Wirelet.TcpClient) on a form of the program's
// container under Wine, against a scripted peer on 127.0.0.1: the members
// and events the network forms use, by their dispatch ids.
#include <string>
#include <vector>

#include "app/controls/hosted/disc_lookup_controls.h"
#include "libs/common/tcpclient/tests/peer.h"
#include "platform/forms/activex/tests/activex_test_util.h"

namespace corvella::forms::testing {
namespace {

using corvella::tcp::testing::Peer;

struct SocketForm : Form {
    TcpClientControl Winsock1;
    std::vector<std::string> log;
    std::string data;
    std::string sendOnConnect;

    SocketForm() {
        name = "frmSocketTest";
        Winsock1.name = "Winsock1";
        Winsock1.ConnectEvent = [this](int) {
            log.push_back("Connect " + std::to_string(Winsock1.State()));
            Winsock1.SendData(sendOnConnect);
        };
        Winsock1.DataArrival = [this](int, long bytes) {
            const std::string got = Winsock1.GetData();
            if (long(got.size()) != bytes) log.push_back("count " + std::to_string(bytes));
            data += got;
        };
        Winsock1.CloseEvent = [this](int) { log.push_back("Close " + std::to_string(Winsock1.State())); };
        CreateControls = [this] { Winsock1.Create(*this); };
    }
    ~SocketForm() override { Unload(); }
};

using WireletHost = HostedControlTest;

TEST_F(WireletHost, TextGoesBothWaysUnchangedWithTheEventsTheFormsUse) {
    std::string bytes;  // the 8-bit characters a form sends, every one but NUL
    for (int c = 1; c < 256; ++c) bytes += char(c);
    Peer peer(
        [&](Peer& p, SOCKET s) {
            const std::string got = Peer::Receive(s, bytes.size());
            p.Record(got);
            Peer::Send(s, "220 " + std::string(got.rbegin(), got.rend()) + "\r\n");
        },
        2);
    // The port as a 16-bit number and as its text, as the forms pass it.
    for (const bool asText : {false, true}) {
        SocketForm form;
        form.sendOnConnect = bytes;
        form.Show();
        form.Winsock1.Close();  // harmless when nothing is open
        EXPECT_EQ(form.Winsock1.State(), TcpClientControl::StateClosed);
        form.Winsock1.SetPort(10247);
        EXPECT_EQ(form.Winsock1.RemotePort(), 10247) << "both ports are the remote default";
        com::Variant port(static_cast<long>(peer.port));
        if (asText) port = com::Variant(std::to_string(peer.port));
        else {
            V_VT(port.Put()) = VT_I2;
            V_I2(port.Get()) = static_cast<SHORT>(peer.port);
        }
        form.Winsock1.Connect("127.0.0.1", port);
        EXPECT_EQ(form.Winsock1.RemotePort(), peer.port);
        EXPECT_EQ(form.Winsock1.RemoteHost(), "127.0.0.1");
        ASSERT_TRUE(PumpUntil([&] { return form.log.size() == 2; })) << asText;
        EXPECT_EQ(form.log, (std::vector<std::string>{"Connect 7", "Close 8"}));
        EXPECT_TRUE(form.data == "220 " + std::string(bytes.rbegin(), bytes.rend()) + "\r\n");
        form.Winsock1.Close();
        form.Winsock1.Close();
        EXPECT_EQ(form.Winsock1.State(), TcpClientControl::StateClosed);
    }
    EXPECT_TRUE(peer.Recorded() == bytes + bytes);
}

}  // namespace
}  // namespace corvella::forms::testing
