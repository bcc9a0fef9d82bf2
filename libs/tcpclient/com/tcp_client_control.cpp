// Wirelet.TcpClient: the TCP client as an ActiveX control for the program's
// network forms, a thin face over TcpClient. It is invisible at run time;
// its events come from the message loop, the control holding itself while
// a handler runs, so a handler may close the form that hosts it.
#include <string>

#include "libs/common/com/ole_control.h"
#include "libs/common/tcpclient/tcp_client.h"
#include "libs/tcpclient/com/wirelet.h"

namespace corvella::tcp {
namespace {

using com::Variant;

constexpr char kSource[] = "Wirelet.TcpClient";
constexpr DISPID kEventDataArrival = 0;
constexpr DISPID kEventConnect = 1;
constexpr DISPID kEventClose = 5;

enum Prop { kRemoteHost, kRemotePort };
const com::PersistedProperty kProps[] = {
    {kRemoteHost, "RemoteHost", VT_BSTR},
    {kRemotePort, "RemotePort", VT_I4},
};

HRESULT Invalid(const char* what) { return com::RaiseError(E_INVALIDARG, kSource, what, IID__TcpClient); }

bool Given(const VARIANT& v) { return !(V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND); }

// A port as the forms pass it: a number or its text, 1 to 65535. A 16-bit
// number is taken as unsigned, so ports above 32767 pass as they do in the
// forms' Integer variables.
bool PortOf(const VARIANT& v, long& port) {
    if (V_VT(&v) == VT_I2) {
        port = static_cast<unsigned short>(V_I2(&v));
        return port > 0;
    }
    Variant n;
    if (FAILED(VariantChangeType(n.Put(), const_cast<VARIANT*>(&v), 0, VT_I4))) return false;
    port = V_I4(n.Get());
    return port > 0 && port <= 65535;
}

class TcpClientControl
    : public com::Control<TcpClientControl, _TcpClient, &CLSID_TcpClient, &DIID___TcpClient> {
public:
    static com::InterfaceTable Interfaces() { return ControlInterfaces(); }

    TcpClientControl() {
        client_.onConnect = [this] { RaiseEvent(kEventConnect); };
        client_.onDataArrival = [this](long bytes) { RaiseEvent(kEventDataArrival, {Variant(bytes)}); };
        client_.onClose = [this] { RaiseEvent(kEventClose); };
    }

    // ---- _TcpClient ----
    STDMETHODIMP get_RemotePort(long* value) override {
        if (!value) return E_POINTER;
        *value = client_.remotePort;
        return S_OK;
    }
    STDMETHODIMP put_RemotePort(long value) override {
        if (value < 0 || value > 65535) return Invalid("Invalid property value");
        client_.remotePort = static_cast<uint16_t>(value);
        return S_OK;
    }
    STDMETHODIMP get_Port(long* value) override { return get_RemotePort(value); }
    STDMETHODIMP put_Port(long value) override { return put_RemotePort(value); }
    STDMETHODIMP get_State(short* value) override {
        if (!value) return E_POINTER;
        *value = static_cast<short>(client_.State());
        return S_OK;
    }
    STDMETHODIMP get_RemoteHost(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = com::AnsiToBstr(client_.remoteHost);
        return S_OK;
    }
    STDMETHODIMP put_RemoteHost(BSTR value) override {
        client_.remoteHost = com::BstrToAnsi(value);
        return S_OK;
    }
    STDMETHODIMP Connect(VARIANT host, VARIANT port) override {
        if (Given(host)) {
            Variant text;
            if (FAILED(VariantChangeType(text.Put(), &host, 0, VT_BSTR))) return Invalid("Invalid argument");
            client_.remoteHost = text.Ansi();
        }
        if (Given(port)) {
            long n = 0;
            if (!PortOf(port, n)) return Invalid("Invalid argument");
            client_.remotePort = static_cast<uint16_t>(n);
        }
        // A failure to start shows in State (9), as a later one does.
        client_.Connect();
        return S_OK;
    }
    STDMETHODIMP SendData(VARIANT data) override {
        Variant text;
        if (FAILED(VariantChangeType(text.Put(), &data, 0, VT_BSTR))) return Invalid("Invalid argument");
        if (!client_.SendData(text.Ansi()))
            return com::RaiseError(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, kErrBadState), kSource,
                                   "Wrong protocol or connection state for the requested transaction or request",
                                   IID__TcpClient);
        return S_OK;
    }
    STDMETHODIMP GetData(BSTR* data, VARIANT) override {
        if (!data) return E_POINTER;
        SysFreeString(*data);
        *data = com::AnsiToBstr(client_.GetData());
        return S_OK;
    }
    STDMETHODIMP Close() override {
        client_.Close();
        return S_OK;
    }

    // ---- control ----
    com::PropertyTable Persisted() const override { return kProps; }
    Variant DefaultOf(int id) const override {
        return id == kRemoteHost ? Variant(std::string()) : Variant(0L);
    }
    Variant GetPersisted(int id) const override {
        return id == kRemoteHost ? Variant(client_.remoteHost) : Variant(static_cast<long>(client_.remotePort));
    }
    void SetPersisted(int id, const Variant& v) override {
        long port = 0;
        if (id == kRemoteHost) client_.remoteHost = v.Ansi();
        else if (PortOf(*v.Get(), port)) client_.remotePort = static_cast<uint16_t>(port);
    }
    DWORD MiscStatus() const override { return ControlBase::MiscStatus() | OLEMISC_INVISIBLEATRUNTIME; }
    void OnClosing() override { client_.Close(); }
    void Paint(HDC dc, const RECT& r) override {
        // Only a designer sees it: an etched tile with the control's name.
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge = r;
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, "TCP", 3, &edge, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

private:
    TcpClient client_;
};

const com::ControlInfo kInvisibleControl = {
    com::kStandardControl.misc_status | OLEMISC_INVISIBLEATRUNTIME, 0,
    {com::kStandardControl.categories[0], com::kStandardControl.categories[1],
     com::kStandardControl.categories[2], com::kStandardControl.categories[3]}};

const com::ClassEntry kClasses[] = {
    {&CLSID_TcpClient, "TcpClient", "Wirelet.TcpClient", &com::CreateInstance<TcpClientControl>,
     &kInvisibleControl},
};
const com::ServerInfo kServer = {&LIBID_Wirelet, 1, 0, kClasses, 1};

}  // namespace
}  // namespace corvella::tcp

const corvella::com::ServerInfo& corvella::com::Server() { return corvella::tcp::kServer; }
