#include "platform/forms/activex/ole_site.h"

#include <olectl.h>

#include <algorithm>
#include <cwctype>

#include "libs/common/com/com_object.h"
#include "platform/forms/controls.h"

namespace corvella::forms {

using com::ComPtr;
using com::Variant;

namespace {

const char kSiteClass[] = "Corvella.OleSite";

// The container's COM objects: their count alone decides their life.
using com::Counted;

HRESULT Answer(void* itf, IUnknown* as, void** ppv) {
    *ppv = itf;
    as->AddRef();
    return S_OK;
}

bool SameName(LPCOLESTR a, const wchar_t* b) {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(*a) != std::towlower(*b)) return false;
    return *a == *b;
}

// An IDispatch of a few named members of the container's own.
class NamedDispatch : public Counted<IDispatch> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

// Parent and Container of a control that sits on a form or a plain
// container: its inner size.
class ScaleObject : public NamedDispatch {
public:
    explicit ScaleObject(Container& c) : hwnd_(c.hWnd()) {}
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (count == 0) return S_OK;
        if (SameName(names[0], L"ScaleWidth")) ids[0] = 1;
        else if (SameName(names[0], L"ScaleHeight")) ids[0] = 2;
        else if (SameName(names[0], L"hWnd")) ids[0] = 3;
        return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || id < 1 || id > 3) return DISP_E_MEMBERNOTFOUND;
        RECT r = {};
        if (IsWindow(hwnd_)) GetClientRect(hwnd_, &r);
        const long value = id == 1 ? Screen.ToTwipsX(r.right) : id == 2 ? Screen.ToTwipsY(r.bottom)
                                                                         : static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd_));
        if (result) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = value;
        }
        return S_OK;
    }

private:
    HWND hwnd_;
};

// The frame of in-place activation: the form. It hands the active object
// to the message loop's accelerator hook.
class FrameObject : public Counted<IOleInPlaceFrame> {
public:
    explicit FrameObject(HWND form) : form_(form) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
            riid == IID_IOleInPlaceFrame)
            return Answer(static_cast<IOleInPlaceFrame*>(this), this, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetWindow(HWND* out) override {
        *out = form_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
        forms::SetActiveObject(object);
        return S_OK;
    }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    HWND form_;
};

// IOleContainer of a form: the form's hosted controls, snapshot at the call.
class FormObjects : public Counted<IOleContainer, IEnumUnknown> {
public:
    explicit FormObjects(std::vector<ComPtr<IUnknown>> items) : items_(std::move(items)) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IParseDisplayName || riid == IID_IOleContainer)
            return Answer(static_cast<IOleContainer*>(this), static_cast<IOleContainer*>(this), ppv);
        if (riid == IID_IEnumUnknown) return Answer(static_cast<IEnumUnknown*>(this), static_cast<IOleContainer*>(this), ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP EnumObjects(DWORD, IEnumUnknown** out) override {
        if (!out) return E_POINTER;
        auto* copy = new FormObjects(items_);
        *out = copy;
        return S_OK;
    }
    STDMETHODIMP LockContainer(BOOL) override { return S_OK; }
    STDMETHODIMP Next(ULONG count, IUnknown** out, ULONG* fetched) override {
        ULONG n = 0;
        for (; n < count && pos_ < items_.size(); ++n, ++pos_) {
            out[n] = items_[pos_].Get();
            out[n]->AddRef();
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        pos_ = std::min<size_t>(items_.size(), pos_ + count);
        return pos_ < items_.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumUnknown** out) override {
        auto* copy = new FormObjects(items_);
        copy->pos_ = pos_;
        *out = copy;
        return S_OK;
    }

private:
    std::vector<ComPtr<IUnknown>> items_;
    size_t pos_ = 0;
};

void Collect(const Container& c, std::vector<OleControlSite*>& out) {
    for (Control* child : c.Children()) {
        if (auto* site = dynamic_cast<OleControlSite*>(child)) {
            out.push_back(site);
            Collect(site->Inside(), out);
        } else if (auto* inner = dynamic_cast<Container*>(child)) {
            Collect(*inner, out);
        }
    }
}

// Ambient properties: the form's look and the run mode.
enum : DISPID { kExtName = 0x50000001, kExtVisible, kExtLeft, kExtTop, kExtWidth, kExtHeight, kExtMove,
                kExtParent, kExtContainer, kExtObject, kExtEnabled };
struct ExtenderMember {
    const wchar_t* name;
    DISPID id;
};
const ExtenderMember kExtenderMembers[] = {
    {L"Name", kExtName},     {L"Visible", kExtVisible},     {L"Left", kExtLeft},
    {L"Top", kExtTop},       {L"Width", kExtWidth},         {L"Height", kExtHeight},
    {L"Move", kExtMove},     {L"Parent", kExtParent},       {L"Container", kExtContainer},
    {L"Object", kExtObject}, {L"Enabled", kExtEnabled},
};

// The form's resizes reach its hosted controls as the frame's border
// change (IOleInPlaceActiveObject::ResizeBorder): a control that lays itself
// out against its form hears of it. One relay per form window, removed with
// the window.
const char kRelayProp[] = "Corvella.OleSite.Relay";
struct ResizeRelay {
    WNDPROC previous;
    std::vector<OleControlSite*> sites;
};

LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* relay = static_cast<ResizeRelay*>(GetPropA(hwnd, kRelayProp));
    if (!relay) return DefWindowProcA(hwnd, msg, wp, lp);
    const WNDPROC previous = relay->previous;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, kRelayProp);
        delete relay;
        return CallWindowProcA(previous, hwnd, msg, wp, lp);
    }
    const LRESULT result = CallWindowProcA(previous, hwnd, msg, wp, lp);
    if (msg == WM_SIZE) {
        const std::vector<OleControlSite*> sites = relay->sites;
        for (OleControlSite* site : sites) {
            // One may have gone in an earlier one's layout.
            auto* now = static_cast<ResizeRelay*>(GetPropA(hwnd, kRelayProp));
            if (now && std::find(now->sites.begin(), now->sites.end(), site) != now->sites.end())
                site->FormResized();
        }
    }
    return result;
}

void JoinRelay(HWND form, OleControlSite* site) {
    auto* relay = static_cast<ResizeRelay*>(GetPropA(form, kRelayProp));
    if (!relay) {
        relay = new ResizeRelay{reinterpret_cast<WNDPROC>(GetWindowLongPtrA(form, GWLP_WNDPROC)), {}};
        SetPropA(form, kRelayProp, relay);
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc));
    }
    relay->sites.push_back(site);
}

void LeaveRelay(HWND form, OleControlSite* site) {
    if (!form || !IsWindow(form)) return;
    auto* relay = static_cast<ResizeRelay*>(GetPropA(form, kRelayProp));
    if (relay) relay->sites.erase(std::remove(relay->sites.begin(), relay->sites.end(), site), relay->sites.end());
}

}  // namespace

// The site of one hosted control: client site, in-place site, control site,
// ambient properties and the extender. It outlives its OleControlSite when
// the control holds on to it; then it answers as a site without a form.
class OleSiteObject : public Counted<IOleClientSite, IOleInPlaceSite, IOleControlSite, IDispatch> {
public:
    explicit OleSiteObject(OleControlSite* owner) : owner_(owner) {}
    void Forget() {
        owner_ = nullptr;
        extender_.Reset();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        IUnknown* self = static_cast<IOleClientSite*>(this);
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) return Answer(static_cast<IOleClientSite*>(this), self, ppv);
        if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            return Answer(static_cast<IOleInPlaceSite*>(this), self, ppv);
        if (riid == IID_IOleControlSite) return Answer(static_cast<IOleControlSite*>(this), self, ppv);
        if (riid == IID_IDispatch) return Answer(static_cast<IDispatch*>(this), self, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }

    // ---- IOleClientSite ----
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        Form* form = owner_ ? owner_->ParentForm() : nullptr;
        if (!form) return E_NOINTERFACE;
        std::vector<ComPtr<IUnknown>> items;
        for (OleControlSite* site : HostedControls(*form))
            if (site->Unknown()) items.emplace_back(site->Unknown());
        *out = new FormObjects(std::move(items));
        return S_OK;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // ---- IOleInPlaceSite ----
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = owner_ ? owner_->hWnd() : nullptr;
        return *out ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return owner_ && owner_->hWnd() ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !doc || !pos || !clip) return E_POINTER;
        *doc = nullptr;
        *frame = nullptr;
        if (!owner_ || !owner_->hWnd()) return E_FAIL;
        HWND form = owner_->ParentForm() ? owner_->ParentForm()->hWnd() : nullptr;
        *frame = new FrameObject(form);
        GetClientRect(owner_->hWnd(), pos);
        *clip = *pos;
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = form;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    // A control that asks for another size or place gets it.
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override {
        if (!pos || !owner_ || !owner_->hWnd()) return E_FAIL;
        HWND site = owner_->hWnd();
        RECT now;
        GetWindowRect(site, &now);
        POINT origin = {now.left, now.top};
        ScreenToClient(GetParent(site), &origin);
        MoveWindow(site, origin.x + pos->left, origin.y + pos->top, pos->right - pos->left,
                   pos->bottom - pos->top, TRUE);
        return S_OK;
    }

    // ---- IOleControlSite ----
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = owner_ ? owner_->Extender() : nullptr;
        if (!*out) return E_NOTIMPL;
        (*out)->AddRef();
        return S_OK;
    }
    STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

    // ---- IDispatch: the ambient properties ----
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
        VariantInit(result);
        Form* form = owner_ ? owner_->ParentForm() : nullptr;
        switch (id) {
        case DISPID_AMBIENT_USERMODE: *result = *Variant(!owner_ || owner_->userMode).Get(); break;
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_MESSAGEREFLECT: *result = *Variant(false).Get(); break;
        case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        case DISPID_AMBIENT_AUTOCLIP: *result = *Variant(true).Get(); break;
        case DISPID_AMBIENT_DISPLAYNAME:
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = com::AnsiToBstr(owner_ ? owner_->name : std::string());
            break;
        case DISPID_AMBIENT_BACKCOLOR: V_VT(result) = VT_I4, V_I4(result) = 0x8000000F; break;
        case DISPID_AMBIENT_FORECOLOR: V_VT(result) = VT_I4, V_I4(result) = 0x80000012; break;
        case DISPID_AMBIENT_LOCALEID: V_VT(result) = VT_I4, V_I4(result) = static_cast<LONG>(GetUserDefaultLCID()); break;
        case DISPID_AMBIENT_SCALEUNITS:
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(L"Twip");
            break;
        case DISPID_AMBIENT_FONT: {
            if (!form) return DISP_E_MEMBERNOTFOUND;
            com::Bstr face(form->fontName);
            FONTDESC fd = {sizeof(FONTDESC), face.Get(), {}, static_cast<SHORT>(form->fontBold ? FW_BOLD : FW_NORMAL),
                           ANSI_CHARSET, FALSE, FALSE, FALSE};
            fd.cySize.int64 = static_cast<LONGLONG>(form->fontSize) * 10000;
            IDispatch* font = nullptr;
            if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font))))
                return DISP_E_MEMBERNOTFOUND;
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = font;
            break;
        }
        default: return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }

    ComPtr<IDispatch> extender_;

private:
    OleControlSite* owner_;
};

// The extender: the container's own members of a hosted control, the rest
// passed on to the control.
class ExtenderObject : public NamedDispatch {
public:
    explicit ExtenderObject(OleControlSite* owner) : owner_(owner) {}
    void Forget() { owner_ = nullptr; }

    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        if (count == 0) return S_OK;
        for (const ExtenderMember& m : kExtenderMembers)
            if (SameName(names[0], m.name)) {
                ids[0] = m.id;
                for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
                return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        if (!owner_ || !owner_->Object()) return DISP_E_UNKNOWNNAME;
        return owner_->Object()->GetIDsOfNames(riid, names, count, lcid, ids);
    }

    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argerr) override {
        if (!owner_) return E_UNEXPECTED;
        if (id < kExtName || id > kExtEnabled) {
            if (!owner_->Object()) return DISP_E_MEMBERNOTFOUND;
            return owner_->Object()->Invoke(id, riid, lcid, flags, params, result, excep, argerr);
        }
        const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        const UINT n = params ? params->cArgs : 0;
        auto arg = [&](UINT i, long& out) {  // i: first declared first
            Variant v;
            if (i >= n || FAILED(VariantChangeType(v.Put(), &params->rgvarg[n - 1 - i], 0, VT_I4))) return false;
            out = V_I4(v.Get());
            return true;
        };
        Variant value;
        try {
            switch (id) {
            case kExtName: value = Variant(owner_->name); break;
            case kExtObject: value = Variant(owner_->Object()); break;
            case kExtParent:
            case kExtContainer:
                value = Variant(Holder(id == kExtParent).Get());
                break;
            case kExtMove: {
                long l = 0, t = 0, w = owner_->Width(), h = owner_->Height();
                if (!arg(0, l)) return DISP_E_PARAMNOTOPTIONAL;
                t = owner_->Top();
                arg(1, t);
                arg(2, w);
                arg(3, h);
                owner_->Move(l, t, w, h);
                break;
            }
            case kExtVisible:
            case kExtEnabled: {
                if (put) {
                    Variant v;
                    if (n < 1 || FAILED(VariantChangeType(v.Put(), &params->rgvarg[0], 0, VT_BOOL)))
                        return DISP_E_TYPEMISMATCH;
                    const bool on = V_BOOL(v.Get()) != VARIANT_FALSE;
                    if (id == kExtVisible) owner_->SetVisible(on);
                    else owner_->SetEnabled(on);
                } else {
                    value = Variant(id == kExtVisible ? owner_->Visible() : owner_->Enabled());
                }
                break;
            }
            default: {  // Left, Top, Width, Height
                if (put) {
                    long v = 0;
                    if (n < 1) return DISP_E_PARAMNOTOPTIONAL;
                    Variant conv;
                    if (FAILED(VariantChangeType(conv.Put(), &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
                    v = V_I4(conv.Get());
                    if (id == kExtLeft) owner_->SetLeft(v);
                    else if (id == kExtTop) owner_->SetTop(v);
                    else if (id == kExtWidth) owner_->SetWidth(v);
                    else owner_->SetHeight(v);
                } else {
                    value = Variant(static_cast<long>(id == kExtLeft ? owner_->Left()
                                                      : id == kExtTop ? owner_->Top()
                                                      : id == kExtWidth ? owner_->Width()
                                                                        : owner_->Height()));
                }
            }
            }
        } catch (const std::exception& e) {
            if (excep) {
                *excep = EXCEPINFO{};
                excep->scode = E_FAIL;
                excep->bstrDescription = com::AnsiToBstr(e.what());
            }
            return DISP_E_EXCEPTION;
        }
        if (result) *result = *value.Get(), VariantInit(value.Get());
        return S_OK;
    }

private:
    // Parent: the form; Container: the hosted control it sits in, else the
    // form or control that holds it. A new reference, or null.
    ComPtr<IDispatch> Holder(bool parent) const {
        Form* form = owner_->ParentForm();
        Container* where = parent && form ? form : owner_->Parent();
        if (!parent && form)
            for (OleControlSite* site : HostedControls(*form))
                if (where == &site->Inside()) return ComPtr<IDispatch>(site->Extender());
        if (!where) return {};
        return ComPtr<IDispatch>::Attach(new ScaleObject(*where));
    }

    OleControlSite* owner_;
};

std::vector<OleControlSite*> HostedControls(Form& form) {
    std::vector<OleControlSite*> out;
    Collect(form, out);
    return out;
}

OleControlSite::OleControlSite() : inside_(*this) {}

OleControlSite::~OleControlSite() { TearDown(); }

HWND OleControlSite::ControlWindow() const {
    ComPtr<IOleInPlaceObject> inplace;
    HWND hwnd = nullptr;
    if (object_ && SUCCEEDED(object_.As(inplace, IID_IOleInPlaceObject))) inplace->GetWindow(&hwnd);
    return hwnd;
}

IDispatch* OleControlSite::Extender() {
    if (!site_) return nullptr;
    if (!site_->extender_) site_->extender_ = ComPtr<IDispatch>::Attach(new ExtenderObject(this));
    return site_->extender_.Get();
}

bool OleControlSite::Create(Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kSiteClass, 0, nullptr)) return false;
    if (!CreateWindowIn(parent, kSiteClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, "")) return false;
    site_ = new OleSiteObject(this);
    auto fail = [&] {
        TearDown();
        Destroy();
        return false;
    };
    // Creation, site first when the control asks for it, then its state.
    if (FAILED(object_.Create(clsid, IID_IOleObject))) return fail();
    object_.As(unknown_, IID_IUnknown);
    object_.As(dispatch_, IID_IDispatch);
    DWORD misc = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc);
    IOleClientSite* client = static_cast<IOleClientSite*>(site_);
    if (misc & OLEMISC_SETCLIENTSITEFIRST) object_->SetClientSite(client);
    ComPtr<IPersistPropertyBag> bag_persist;
    ComPtr<IPersistStreamInit> stream_persist;
    if (!properties.empty() && SUCCEEDED(object_.As(bag_persist, IID_IPersistPropertyBag))) {
        class DesignBag : public IPropertyBag {
        public:
            explicit DesignBag(const std::vector<DesignProperty>& p) : props_(p) {}
            STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
                *ppv = (riid == IID_IUnknown || riid == IID_IPropertyBag) ? this : nullptr;
                return *ppv ? S_OK : E_NOINTERFACE;
            }
            STDMETHODIMP_(ULONG) AddRef() override { return 2; }
            STDMETHODIMP_(ULONG) Release() override { return 1; }
            STDMETHODIMP Read(LPCOLESTR name, VARIANT* out, IErrorLog*) override {
                for (const DesignProperty& p : props_) {
                    if (!SameName(name, com::Bstr(p.name).Get())) continue;
                    const VARTYPE want = V_VT(out);
                    VariantInit(out);
                    if (want == VT_EMPTY || want == V_VT(p.value.Get()))
                        return VariantCopy(out, const_cast<VARIANT*>(p.value.Get()));
                    return VariantChangeType(out, const_cast<VARIANT*>(p.value.Get()), 0, want);
                }
                return E_INVALIDARG;
            }
            STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

        private:
            const std::vector<DesignProperty>& props_;
        } bag(properties);
        if (FAILED(bag_persist->Load(&bag, nullptr))) return fail();
    } else if (SUCCEEDED(object_.As(stream_persist, IID_IPersistStreamInit))) {
        stream_persist->InitNew();
    } else if (SUCCEEDED(object_.As(bag_persist, IID_IPersistPropertyBag))) {
        bag_persist->InitNew();
    }
    if (!(misc & OLEMISC_SETCLIENTSITEFIRST)) object_->SetClientSite(client);
    SIZEL extent = {MulDiv(Width(), 2540, 1440), MulDiv(Height(), 2540, 1440)};
    object_->SetExtent(DVASPECT_CONTENT, &extent);

    // Events before activation: the control may raise while it starts.
    ComPtr<IProvideClassInfo2> info;
    IID events = GUID_NULL;
    if (SUCCEEDED(object_.As(info, IID_IProvideClassInfo2)) &&
        SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events))) {
        sink_ = com::EventSink::Create(events, [this](const char* event, const std::function<void()>& call) {
            Fire(event, call);
        });
        for (const Handler& h : handlers_) sink_->On(h.id, h.event.c_str(), h.handler);
        events_.Advise(unknown_.Get(), sink_.Get());
    }
    RECT pos;
    GetClientRect(hWnd(), &pos);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, hWnd(), &pos))) return fail();
    if (ParentForm() && ParentForm()->hWnd()) {
        relayWindow_ = ParentForm()->hWnd();
        JoinRelay(relayWindow_, this);
    }
    return true;
}

void OleControlSite::FormResized() {
    ComPtr<IOleInPlaceActiveObject> active;
    if (!object_ || FAILED(object_.As(active, IID_IOleInPlaceActiveObject))) return;
    RECT r = {};
    if (ParentForm()) GetClientRect(ParentForm()->hWnd(), &r);
    active->ResizeBorder(&r, nullptr, TRUE);
}

void OleControlSite::TearDown() {
    LeaveRelay(relayWindow_, this);
    relayWindow_ = nullptr;
    // Unadvise, deactivate, close, let go of the site. The library stays
    // loaded for the next form that hosts one of its controls: freeing it at
    // every close and loading it again at the next opening kept memory at
    // each load (under Wine some 50 KB of the loader's for every library),
    // so a form opened again and again grew the program without end.
    events_.Unadvise();
    sink_.Reset();
    if (object_) {
        ComPtr<IOleInPlaceObject> inplace;
        if (SUCCEEDED(object_.As(inplace, IID_IOleInPlaceObject))) inplace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    if (site_) {
        if (site_->extender_) static_cast<ExtenderObject*>(site_->extender_.Get())->Forget();
        site_->Forget();
        site_->Release();
        site_ = nullptr;
    }
    if (forms::ActiveObject()) {
        ComPtr<IUnknown> active;
        forms::ActiveObject()->QueryInterface(IID_IUnknown, active.PutVoid());
        if (active.Get() == unknown_.Get()) forms::SetActiveObject(nullptr);
    }
    dispatch_.Reset();
    unknown_.Reset();
    object_.Reset();
}

void OleControlSite::OnDetach() {
    TearDown();
    Control::OnDetach();
}

void OleControlSite::FitControl() {
    ComPtr<IOleInPlaceObject> inplace;
    if (!object_ || FAILED(object_.As(inplace, IID_IOleInPlaceObject))) return;
    RECT r;
    GetClientRect(hWnd(), &r);
    SIZEL extent = {MulDiv(Screen.ToTwipsX(r.right), 2540, 1440), MulDiv(Screen.ToTwipsY(r.bottom), 2540, 1440)};
    object_->SetExtent(DVASPECT_CONTENT, &extent);
    inplace->SetObjectRects(&r, &r);
}

LRESULT OleControlSite::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_SIZE) {
        FitControl();
        return 0;
    }
    // The form's controls inside the hosted control send through it.
    if (inside_.Route(hWnd(), msg, wp, lp, result)) return result;
    if (msg == WM_COMMAND || msg == WM_NOTIFY || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC))
        if (HWND parent = GetParent(hWnd())) return SendMessageA(parent, msg, wp, lp);
    return Control::OnMessage(msg, wp, lp);
}

bool OleControlSite::TakeDialogKey(int keyCode) {
    ComPtr<IOleControl> control;
    if (!object_ || FAILED(object_.As(control, IID_IOleControl))) return false;
    CONTROLINFO info = {};
    info.cb = sizeof info;
    if (FAILED(control->GetControlInfo(&info)) || info.hAccel == nullptr || info.cAccel == 0) return false;
    std::vector<ACCEL> keys(info.cAccel);
    keys.resize(static_cast<size_t>(CopyAcceleratorTableA(info.hAccel, keys.data(), info.cAccel)));
    for (const ACCEL& key : keys) {
        // The plain key only: no Shift, Ctrl or Alt with it.
        if ((key.fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT)) != FVIRTKEY || key.key != keyCode) continue;
        MSG typed = {ControlWindow(), WM_KEYDOWN, static_cast<WPARAM>(keyCode), 0, 0, {}};
        control->OnMnemonic(&typed);
        return true;
    }
    return false;
}

bool OleControlSite::Visible() const { return WindowBase::Visible(); }

void OleControlSite::SetVisible(bool on) {
    if (!Created()) {
        visible = on;
        return;
    }
    HWND inner = ControlWindow();
    // Hidden from the inside out and shown from the outside in, so the
    // control sees its change while its site matches it.
    if (!on && inner) ShowWindow(inner, SW_HIDE);
    WindowBase::SetVisible(on);
    if (on && inner) ShowWindow(inner, SW_SHOW);
}

com::Variant OleControlSite::Invoke(DISPID id, WORD flags, const std::vector<Variant>& args,
                                    const Variant* value) {
    if (!dispatch_) throw Error("Object variable or With block variable not set", 91);
    std::vector<VARIANT> reversed;
    if (value) reversed.push_back(*value->Get());
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), value ? &put : nullptr,
                         static_cast<UINT>(reversed.size()), value ? 1u : 0u};
    Variant result;
    EXCEPINFO excep = {};
    UINT argerr = 0;
    // Held across the call: a handler of an event it raises may unload the form.
    ComPtr<IDispatch> keep = dispatch_;
    const HRESULT hr = keep->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    value ? nullptr : result.Put(), &excep, &argerr);
    if (FAILED(hr)) {
        std::string text = excep.bstrDescription ? com::BstrToAnsi(excep.bstrDescription) : std::string();
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
        if (text.empty()) text = "Automation error";
        throw Error(text, hr == DISP_E_EXCEPTION && excep.scode ? excep.scode : hr);
    }
    return result;
}

com::Variant OleControlSite::Get(DISPID id, const std::vector<Variant>& args) {
    return Invoke(id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr);
}

void OleControlSite::Put(DISPID id, const std::vector<Variant>& args, const Variant& value) {
    Invoke(id, DISPATCH_PROPERTYPUT, args, &value);
}

void OleControlSite::PutRef(DISPID id, const Variant& value) { Invoke(id, DISPATCH_PROPERTYPUTREF, {}, &value); }

com::Variant OleControlSite::Call(DISPID id, const std::vector<Variant>& args) {
    return Invoke(id, DISPATCH_METHOD, args, nullptr);
}

void OleControlSite::On(DISPID id, const char* event, com::EventSink::Handler handler) {
    handlers_.push_back({id, event, handler});
    if (sink_) sink_->On(id, event, std::move(handler));
}

HRESULT OleControlSite::SaveProperties(std::vector<DesignProperty>& out) const {
    class Collector : public IPropertyBag {
    public:
        explicit Collector(std::vector<DesignProperty>& o) : out_(o) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
            *ppv = (riid == IID_IUnknown || riid == IID_IPropertyBag) ? this : nullptr;
            return *ppv ? S_OK : E_NOINTERFACE;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return E_NOTIMPL; }
        STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
            DesignProperty p;
            p.name = com::BstrToAnsi(const_cast<BSTR>(name));
            VariantCopy(p.value.Put(), value);
            out_.push_back(std::move(p));
            return S_OK;
        }

    private:
        std::vector<DesignProperty>& out_;
    } bag(out);
    ComPtr<IPersistPropertyBag> persist;
    if (!object_ || FAILED(object_.As(persist, IID_IPersistPropertyBag))) return E_NOINTERFACE;
    return persist->Save(&bag, FALSE, FALSE);
}

}  // namespace corvella::forms
