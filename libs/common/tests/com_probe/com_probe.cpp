// CProbe: one object of every kind the plumbing offers (several interfaces,
// events, class information), registered as a control.
#include "libs/common/com/com_server.h"
#include "libs/common/com/connection_points.h"
#include "libs/common/tests/com_probe/com_probe.h"

namespace {

using namespace corvella::com;

class Probe : public Object<Probe, TypeLibDispatch<_CProbe>, Events<&DIID___CProbe>,
                           ClassInfo<&CLSID_CProbe, &DIID___CProbe>> {
public:
    // Tells the tests, through the process, of an object freed under a
    // raise that was still running.
    ~Probe() override {
        if (Raising()) SetEnvironmentVariableA("COM_PROBE_FREED_WHILE_RAISING", "1");
    }

    static InterfaceTable Interfaces() {
        static const InterfaceEntry table[] = {
            Entry<Probe, _CProbe>(),
            Entry<Probe, _CProbe>(IID_IDispatch),
            Entry<Probe, IConnectionPointContainer>(),
            Entry<Probe, IProvideClassInfo2>(),
            Entry<Probe, IProvideClassInfo2>(IID_IProvideClassInfo),
        };
        return table;
    }

    STDMETHODIMP Fire(long value, VARIANT_BOOL* cancelled) override {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        Raise(1, {Variant(value), Variant::ByRef(&cancel)});
        // Only locals from here: a handler may have let the last reference go.
        if (cancelled) *cancelled = cancel;
        return S_OK;
    }
    STDMETHODIMP FireNamed(BSTR text) override {
        return Raise(2, {Variant(BstrToAnsi(text))});
    }
    STDMETHODIMP SinkCount(long* count) override {
        if (!count) return E_POINTER;
        *count = static_cast<long>(EventSource::SinkCount(DIID___CProbe));
        return S_OK;
    }
};

const GUID kCategoryControl = {0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}};
const ControlInfo kControl = {OLEMISC_RECOMPOSEONRESIZE | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST,
                              1, {&kCategoryControl}};

const ClassEntry kClasses[] = {
    {&CLSID_CProbe, "CProbe", "ComProbe.CProbe", &CreateInstance<Probe>, &kControl},
};
const ServerInfo kServer = {&LIBID_ComProbe, 1, 0, kClasses, 1};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
