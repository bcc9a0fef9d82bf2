// OleProbeControl: a small control over the framework. It paints itself in
// the colour `Level`, holds a "&Go" button, persists three properties and
// reports what it reads through its site.
#include "libs/common/com/ole_control.h"
#include "libs/common/tests/ole_probe/ole_probe.h"

namespace {

using namespace corvella::com;

enum { kCaption = 1, kLevel = 2, kFlag = 3 };
const PersistedProperty kProps[] = {
    {kCaption, "Caption", VT_BSTR},
    {kLevel, "Level", VT_I4},
    {kFlag, "Flag", VT_BOOL},
};
const int kGoId = 100;

class Probe : public corvella::com::Control<Probe, _OleProbe, &CLSID_OleProbeControl, &DIID___OleProbe> {
public:
    static InterfaceTable Interfaces() { return ControlInterfaces(); }

    PropertyTable Persisted() const override { return kProps; }
    Variant DefaultOf(int id) const override {
        switch (id) {
        case kCaption: return Variant(std::string("Probe"));
        case kLevel: return Variant(3L);
        default: return Variant(false);
        }
    }
    Variant GetPersisted(int id) const override {
        switch (id) {
        case kCaption: return Variant(caption_);
        case kLevel: return Variant(level_);
        default: return Variant(flag_);
        }
    }
    void SetPersisted(int id, const Variant& v) override {
        switch (id) {
        case kCaption: caption_ = v.Ansi(); break;
        case kLevel: level_ = std::atol(v.Ansi().c_str()); break;
        default: flag_ = v.Type() == VT_BOOL ? V_BOOL(v.Get()) != VARIANT_FALSE : v.Ansi() == "True";
        }
    }
    void OnInitNew() override { caption_ = "Probe", level_ = 3, flag_ = false; }

    void OnCreated() override {
        CreateWindowExA(0, "BUTTON", "&Go", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 2, 2,
                        60, 24, Window(), reinterpret_cast<HMENU>(kGoId), ThisModule(), nullptr);
    }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_COMMAND && LOWORD(wp) == kGoId && HIWORD(wp) == BN_CLICKED) {
            RaiseEvent(2);
            return 0;
        }
        return ControlBase::OnMessage(msg, wp, lp);
    }
    void Paint(HDC dc, const RECT& r) override {
        HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(level_));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }

    STDMETHODIMP get_Caption(BSTR* v) override {
        *v = AnsiToBstr(caption_);
        return S_OK;
    }
    STDMETHODIMP put_Caption(BSTR v) override {
        caption_ = BstrToAnsi(v);
        NotifyChanged(1);
        return S_OK;
    }
    STDMETHODIMP get_Level(long* v) override {
        *v = level_;
        return S_OK;
    }
    STDMETHODIMP put_Level(long v) override {
        level_ = v;
        if (Window()) InvalidateRect(Window(), nullptr, TRUE);
        NotifyChanged(2);
        return S_OK;
    }
    STDMETHODIMP get_Flag(VARIANT_BOOL* v) override { return BoolResult(flag_, v); }
    STDMETHODIMP put_Flag(VARIANT_BOOL v) override {
        flag_ = v != VARIANT_FALSE;
        NotifyChanged(3);
        return S_OK;
    }
    STDMETHODIMP Fire(long value, VARIANT_BOOL* cancelled) override {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        RaiseEvent(1, {Variant(value), Variant::ByRef(&cancel)});
        if (cancelled) *cancelled = cancel;
        return S_OK;
    }
    STDMETHODIMP ExtenderText(BSTR name, BSTR* value) override {
        Variant v;
        HRESULT hr = ExtenderGet(name, v);
        *value = AnsiToBstr(SUCCEEDED(hr) ? v.Ansi() : "<error>");
        return S_OK;
    }
    STDMETHODIMP AmbientText(long id, BSTR* value) override {
        *value = AnsiToBstr(Ambient(id).Ansi());
        return S_OK;
    }
    STDMETHODIMP ContainerCount(long* count) override {
        *count = static_cast<long>(ContainerObjects().size());
        return S_OK;
    }
    STDMETHODIMP MoveBy(long l, long t, long w, long h) override {
        return ExtenderCall(L"Move", {Variant(l), Variant(t), Variant(w), Variant(h)});
    }

private:
    std::string caption_ = "Probe";
    long level_ = 3;
    bool flag_ = false;
};

const ClassEntry kClasses[] = {
    {&CLSID_OleProbeControl, "OleProbeControl", "OleProbe.OleProbeControl", &CreateInstance<Probe>,
     &kStandardControl},
};
const ServerInfo kServer = {&LIBID_OleProbe, 1, 0, kClasses, 1};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
