#include "libs/common/com/ole_control.h"

#include "libs/common/com/enumerator.h"

#include <cstring>
#include <map>
#include <new>
#include <utility>

namespace corvella::com {

const GUID kCategoryControl = {0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}};
const ControlInfo kStandardControl = {
    OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
        OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST,
    0, {&kCategoryControl}};

namespace {

const char kWindowClass[] = "CorvellaOleControl";
const char kSelfProp[] = "CorvellaOleControl.Self";

// HIMETRIC (0.01 mm) and pixels of the screen.
LONG PixelsToHimetric(int pixels, bool horizontal) {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return MulDiv(pixels, 2540, dpi);
}

bool RegisterClassOnce() {
    WNDCLASSA wc = {};
    if (GetClassInfoA(ThisModule(), kWindowClass, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;  // replaced per window
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return RegisterClassA(&wc) != 0;
}

// Two values of one property are the same: the save leaves such a value out.
bool SameValue(const Variant& a, const Variant& b) {
    const VARIANT* x = a.Get();
    const VARIANT* y = b.Get();
    if (V_VT(x) == VT_DISPATCH || V_VT(y) == VT_DISPATCH || V_VT(x) == VT_UNKNOWN ||
        V_VT(y) == VT_UNKNOWN)
        return V_VT(x) == V_VT(y) && V_UNKNOWN(x) == V_UNKNOWN(y);
    if (V_VT(x) == VT_EMPTY || V_VT(y) == VT_EMPTY) return V_VT(x) == V_VT(y);
    return a.Ansi() == b.Ansi();
}

// The property bag behind a stream: names and values in the order written.
class MemoryBag final : public IPropertyBag {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPropertyBag)) {
            *ppv = static_cast<IPropertyBag*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* out, IErrorLog*) override {
        for (auto& e : entries)
            if (e.first == name) {
                const VARTYPE want = V_VT(out);
                VariantInit(out);
                if (want == VT_EMPTY || want == VT_VARIANT || want == V_VT(e.second.Get()))
                    return VariantCopy(out, e.second.Get());
                return VariantChangeType(out, e.second.Get(), 0, want);
            }
        return E_INVALIDARG;
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
        Variant copy;
        VariantCopy(copy.Put(), value);
        entries.emplace_back(name, std::move(copy));
        return S_OK;
    }
    std::vector<std::pair<std::wstring, Variant>> entries;
};

// The stream form: "CVPB", a count, then per property its name and value.
HRESULT Put(IStream* s, const void* data, ULONG size) {
    ULONG done = 0;
    HRESULT hr = s->Write(data, size, &done);
    return FAILED(hr) ? hr : done == size ? S_OK : STG_E_WRITEFAULT;
}
HRESULT Take(IStream* s, void* data, ULONG size) {
    ULONG done = 0;
    HRESULT hr = s->Read(data, size, &done);
    return FAILED(hr) ? hr : done == size ? S_OK : STG_E_READFAULT;
}
HRESULT PutText(IStream* s, const wchar_t* text, UINT length) {
    const DWORD bytes = length * sizeof(wchar_t);
    HRESULT hr = Put(s, &bytes, sizeof bytes);
    return SUCCEEDED(hr) && bytes ? Put(s, text, bytes) : hr;
}
HRESULT TakeText(IStream* s, std::wstring& out) {
    DWORD bytes = 0;
    HRESULT hr = Take(s, &bytes, sizeof bytes);
    if (FAILED(hr)) return hr;
    if (bytes > (1u << 24) || bytes % sizeof(wchar_t)) return STG_E_READFAULT;
    out.assign(bytes / sizeof(wchar_t), L'\0');
    return bytes ? Take(s, &out[0], bytes) : S_OK;
}

HRESULT PutValue(IStream* s, const VARIANT& v) {
    const VARTYPE vt = V_VT(&v);
    HRESULT hr = Put(s, &vt, sizeof vt);
    if (FAILED(hr)) return hr;
    switch (vt) {
    case VT_EMPTY: return S_OK;
    case VT_BOOL: return Put(s, &V_BOOL(&v), sizeof(VARIANT_BOOL));
    case VT_I2: return Put(s, &V_I2(&v), sizeof(SHORT));
    case VT_I4: return Put(s, &V_I4(&v), sizeof(LONG));
    case VT_R8: return Put(s, &V_R8(&v), sizeof(double));
    case VT_BSTR: return PutText(s, V_BSTR(&v), SysStringLen(V_BSTR(&v)));
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        ComPtr<IPersistStream> persist;
        BYTE present = V_UNKNOWN(&v) && SUCCEEDED(V_UNKNOWN(&v)->QueryInterface(
                                             IID_IPersistStream, persist.PutVoid()));
        hr = Put(s, &present, 1);
        return SUCCEEDED(hr) && present ? OleSaveToStream(persist.Get(), s) : hr;
    }
    default: return DISP_E_BADVARTYPE;
    }
}

HRESULT TakeValue(IStream* s, Variant& out) {
    VARTYPE vt = VT_EMPTY;
    HRESULT hr = Take(s, &vt, sizeof vt);
    if (FAILED(hr)) return hr;
    VARIANT* v = out.Put();
    switch (vt) {
    case VT_EMPTY: return S_OK;
    case VT_BOOL: V_VT(v) = vt; return Take(s, &V_BOOL(v), sizeof(VARIANT_BOOL));
    case VT_I2: V_VT(v) = vt; return Take(s, &V_I2(v), sizeof(SHORT));
    case VT_I4: V_VT(v) = vt; return Take(s, &V_I4(v), sizeof(LONG));
    case VT_R8: V_VT(v) = vt; return Take(s, &V_R8(v), sizeof(double));
    case VT_BSTR: {
        std::wstring text;
        hr = TakeText(s, text);
        if (FAILED(hr)) return hr;
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return S_OK;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        BYTE present = 0;
        hr = Take(s, &present, 1);
        if (FAILED(hr) || !present) return hr;
        IUnknown* object = nullptr;
        hr = OleLoadFromStream(s, vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                               reinterpret_cast<void**>(&object));
        if (FAILED(hr)) return hr;
        V_VT(v) = vt;
        V_UNKNOWN(v) = object;
        return S_OK;
    }
    default: return STG_E_READFAULT;
    }
}

const DWORD kStreamMagic = 0x42505643;  // "CVPB"

// The control's verbs as a container lists them; each name handed out is
// the caller's to free (CoTaskMemFree).
void HandVerb(const ControlBase::Verb& verb, OLEVERB& out) {
    const Bstr name(verb.caption);
    const size_t bytes = (name.Length() + 1) * sizeof(wchar_t);
    auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (text) memcpy(text, name.Get(), bytes);
    out = {verb.id, text, 0, OLEVERBATTRIB_ONCONTAINERMENU};
}
using VerbEnum = Enumerator<IEnumOLEVERB, ControlBase::Verb, OLEVERB, &HandVerb>;

}  // namespace

ControlBase::ControlBase() {}

ControlBase::~ControlBase() {
    if (hwnd_) {
        RemovePropA(hwnd_, kSelfProp);
        DestroyWindow(hwnd_);
    }
    delete notify_;
    if (mnemonics_) DestroyAcceleratorTable(mnemonics_);
}

HRESULT ControlBase::FindPropertyNotifyPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IPropertyNotifySink)) return CONNECT_E_NOCONNECTION;
    // The property-change point: its references are the control's, like
    // the event points'.
    if (!notify_) notify_ = new ConnectionPoint(Self(), IID_IPropertyNotifySink, false);
    *out = notify_;
    notify_->AddRef();
    return S_OK;
}

void ControlBase::NotifyChanged(DISPID id) {
    dirty_ = true;
    if (!notify_) return;
    for (const ConnectionPoint::Sink& s : notify_->Snapshot())
        static_cast<IPropertyNotifySink*>(s.sink.Get())->OnChanged(id);
}

// ---- ambient properties and the extender ----------------------------------

Variant ControlBase::Ambient(DISPID id) const {
    Variant out;
    ComPtr<IDispatch> ambient;
    if (!site_ || FAILED(site_.As(ambient, IID_IDispatch))) return out;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (FAILED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               out.Put(), nullptr, nullptr)))
        out = Variant();
    return out;
}

bool ControlBase::UserMode() const {
    Variant v = Ambient(DISPID_AMBIENT_USERMODE);
    return v.Type() != VT_BOOL || V_BOOL(v.Get()) != VARIANT_FALSE;
}

std::string ControlBase::AmbientDisplayName() const { return Ambient(DISPID_AMBIENT_DISPLAYNAME).Ansi(); }

ComPtr<IFontDisp> ControlBase::AmbientFont() const {
    ComPtr<IFontDisp> font;
    Variant v = Ambient(DISPID_AMBIENT_FONT);
    if ((v.Type() == VT_DISPATCH || v.Type() == VT_UNKNOWN) && V_UNKNOWN(v.Get()))
        V_UNKNOWN(v.Get())->QueryInterface(IID_IFontDisp, font.PutVoid());
    return font;
}

ComPtr<IDispatch> ControlBase::Extender() const {
    ComPtr<IDispatch> ext;
    ComPtr<IOleControlSite> control_site;
    if (site_ && SUCCEEDED(site_.As(control_site, IID_IOleControlSite)))
        control_site->GetExtendedControl(ext.Put());
    return ext;
}

HRESULT ControlBase::ExtenderGet(const wchar_t* name, Variant& out) const {
    return GetByName(Extender().Get(), name, out);
}

HRESULT ControlBase::ExtenderPut(const wchar_t* name, const Variant& value) const {
    return PutByName(Extender().Get(), name, value);
}

HRESULT ControlBase::ExtenderCall(const wchar_t* name, const std::vector<Variant>& args) const {
    return CallByName(Extender().Get(), name, args);
}

std::vector<ComPtr<IUnknown>> ControlBase::ContainerObjects() const {
    std::vector<ComPtr<IUnknown>> out;
    ComPtr<IOleContainer> container;
    ComPtr<IEnumUnknown> items;
    if (!site_ || FAILED(site_->GetContainer(container.Put())) ||
        FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, items.Put())))
        return out;
    IUnknown* item = nullptr;
    ULONG got = 0;
    while (items->Next(1, &item, &got) == S_OK && got == 1) out.push_back(ComPtr<IUnknown>::Attach(item));
    return out;
}

// ---- the window ---------------------------------------------------------------

LRESULT CALLBACK ControlBase::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<ControlBase*>(GetPropA(hwnd, kSelfProp));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    // Held while the message runs: a handler may close the form around it.
    ComPtr<IUnknown> keep(self->Self());
    return self->OnMessage(msg, wp, lp);
}

LRESULT ControlBase::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT client;
        GetClientRect(hwnd_, &client);
        Paint(dc, client);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    // The container's own controls placed inside this one are the
    // container's: their notifications go on to it.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (HWND parent = GetParent(hwnd_)) return SendMessageA(parent, msg, wp, lp);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

// ---- IOleObject ------------------------------------------------------------------

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site) {
    site_ = ComPtr<IOleClientSite>(site);
    if (site) closed_ = false;
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = site_.Get();
    if (*site) (*site)->AddRef();
    return S_OK;
}

STDMETHODIMP ControlBase::Close(DWORD) {
    InPlaceDeactivate();
    closed_ = true;
    return S_OK;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                 LPCRECT pos) {
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(site, parent, pos, true);
    case OLEIVERB_INPLACEACTIVATE:
        return ActivateInPlace(site, parent, pos, false);
    case OLEIVERB_HIDE:
        if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
        return S_OK;
    default:
        return verb > 0 ? OnVerb(verb) : OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::vector<Verb> verbs = Verbs();
    if (verbs.empty()) return OLEOBJ_E_NOVERBS;
    return VerbEnum::Make(std::move(verbs), out);
}

HRESULT ControlBase::ActivateInPlace(IOleClientSite* site, HWND, LPCRECT, bool ui) {
    if (!site) site = site_.Get();
    if (!site) return E_UNEXPECTED;
    if (!active_) {
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inplace_site_.PutVoid())))
            return E_NOINTERFACE;
        if (inplace_site_->CanInPlaceActivate() != S_OK) return E_FAIL;
        inplace_site_->OnInPlaceActivate();
        ComPtr<IOleInPlaceUIWindow> doc;
        RECT pos = {}, clip = {};
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof info;
        inplace_site_->GetWindowContext(frame_.Put(), doc.Put(), &pos, &clip, &info);
        HWND parent = nullptr;
        inplace_site_->GetWindow(&parent);
        if (!RegisterClassOnce()) return E_FAIL;
        // Created as visible as its site: creation is no change of visibility.
        const DWORD visible = parent ? (GetWindowLongA(parent, GWL_STYLE) & WS_VISIBLE) : WS_VISIBLE;
        hwnd_ = CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, "",
                                WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | visible, pos.left, pos.top,
                                pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                                ThisModule(), nullptr);
        if (!hwnd_) return E_FAIL;
        SetPropA(hwnd_, kSelfProp, this);
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlBase::WndProc));
        OnCreated();
        active_ = true;
    }
    if (ui && !ui_active_) {
        ui_active_ = true;
        inplace_site_->OnUIActivate();
        if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
    }
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate() {
    if (!ui_active_) return S_OK;
    ui_active_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (inplace_site_) inplace_site_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::InPlaceDeactivate() {
    if (!active_) return S_OK;
    UIDeactivate();
    OnClosing();
    active_ = false;
    if (hwnd_) {
        HWND gone = hwnd_;
        RemovePropA(gone, kSelfProp);
        hwnd_ = nullptr;
        DestroyWindow(gone);
    }
    ComPtr<IOleInPlaceSite> site = std::move(inplace_site_);
    frame_.Reset();
    if (site) site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink*, DWORD* cookie) {
    if (cookie) *cookie = 0;
    return E_NOTIMPL;
}

DWORD ControlBase::MiscStatus() const { return kStandardControl.misc_status; }

STDMETHODIMP ControlBase::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? MiscStatus() : 0;
    return S_OK;
}

// ---- IOleWindow, IOleInPlaceObject ----------------------------------------------

STDMETHODIMP ControlBase::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = hwnd_;
    return hwnd_ ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    extent_.cx = PixelsToHimetric(pos->right - pos->left, true);
    extent_.cy = PixelsToHimetric(pos->bottom - pos->top, false);
    if (hwnd_)
        MoveWindow(hwnd_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

// ---- IOleControl ------------------------------------------------------------------

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    std::vector<ACCEL> keys = Mnemonics();
    // The table stays the control's, as long as the control lives.
    if (!mnemonics_ && !keys.empty()) mnemonics_ = CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size()));
    info->hAccel = mnemonics_;
    info->cAccel = mnemonics_ ? static_cast<USHORT>(keys.size()) : 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::OnMnemonic(MSG* key) {
    if (!key) return E_POINTER;
    OnMnemonicKey(*key);
    return S_OK;
}

STDMETHODIMP ControlBase::OnAmbientPropertyChange(DISPID id) {
    OnAmbientChanged(id);
    return S_OK;
}

STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze) {
    if (freeze) ++frozen_;
    else if (frozen_ > 0) --frozen_;
    return S_OK;
}

// ---- IViewObject2 -----------------------------------------------------------------

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                               LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                               ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    RECT r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, r.left, r.top, nullptr);
    RECT local = {0, 0, r.right - r.left, r.bottom - r.top};
    Paint(dc, local);
    RestoreDC(dc, saved);
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// ---- persistence ------------------------------------------------------------------

std::vector<int> ControlBase::LoadOrder() const {
    std::vector<int> order;
    const PropertyTable table = Persisted();
    for (size_t i = 0; i < table.count; ++i) order.push_back(table.entries[i].id);
    return order;
}

STDMETHODIMP ControlBase::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = ClassId();
    return S_OK;
}

STDMETHODIMP ControlBase::InitNew() {
    OnInitNew();
    dirty_ = false;
    return S_OK;
}

void ControlBase::ReadAll(IPropertyBag* bag, IErrorLog* log) {
    const PropertyTable table = Persisted();
    for (int id : LoadOrder()) {
        const PersistedProperty* p = nullptr;
        for (size_t i = 0; i < table.count; ++i)
            if (table.entries[i].id == id) p = &table.entries[i];
        if (!p) continue;
        Variant value;
        V_VT(value.Put()) = p->type == VT_VARIANT ? VT_EMPTY : p->type;
        const Bstr name(p->name);
        if (FAILED(bag->Read(name.Get(), value.Get(), log)) || value.Type() == VT_EMPTY)
            value = DefaultOf(id);
        SetPersisted(id, value);
    }
}

STDMETHODIMP ControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    ReadAll(bag, log);
    OnLoaded();
    dirty_ = false;
    return S_OK;
}

STDMETHODIMP ControlBase::Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) {
    if (!bag) return E_POINTER;
    const PropertyTable table = Persisted();
    for (size_t i = 0; i < table.count; ++i) {
        const PersistedProperty& p = table.entries[i];
        Variant value = GetPersisted(p.id);
        if (!save_all && SameValue(value, DefaultOf(p.id))) continue;
        const Bstr name(p.name);
        HRESULT hr = bag->Write(name.Get(), value.Get());
        if (FAILED(hr)) return hr;
    }
    if (clear_dirty) dirty_ = false;
    return S_OK;
}

STDMETHODIMP ControlBase::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    DWORD magic = 0, count = 0;
    HRESULT hr = Take(stream, &magic, sizeof magic);
    if (SUCCEEDED(hr) && magic != kStreamMagic) hr = STG_E_READFAULT;
    if (SUCCEEDED(hr)) hr = Take(stream, &count, sizeof count);
    if (FAILED(hr)) return hr;
    MemoryBag bag;
    for (DWORD i = 0; i < count; ++i) {
        std::wstring name;
        Variant value;
        hr = TakeText(stream, name);
        if (SUCCEEDED(hr)) hr = TakeValue(stream, value);
        if (FAILED(hr)) return hr;
        bag.entries.emplace_back(std::move(name), std::move(value));
    }
    return Load(&bag, nullptr);
}

STDMETHODIMP ControlBase::Save(LPSTREAM stream, BOOL clear_dirty) {
    if (!stream) return E_POINTER;
    MemoryBag bag;
    HRESULT hr = Save(&bag, clear_dirty, TRUE);
    if (FAILED(hr)) return hr;
    const DWORD count = static_cast<DWORD>(bag.entries.size());
    hr = Put(stream, &kStreamMagic, sizeof kStreamMagic);
    if (SUCCEEDED(hr)) hr = Put(stream, &count, sizeof count);
    for (auto& e : bag.entries) {
        if (SUCCEEDED(hr)) hr = PutText(stream, e.first.data(), static_cast<UINT>(e.first.size()));
        if (SUCCEEDED(hr)) hr = PutValue(stream, *e.second.Get());
    }
    return hr;
}

}  // namespace corvella::com
