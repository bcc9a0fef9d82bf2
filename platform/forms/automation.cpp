#include "platform/forms/automation.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "libs/common/com/com_object.h"
#include "platform/forms/controls.h"
#include "platform/forms/internal.h"

namespace corvella::forms {
namespace {

// ---- control kinds -----------------------------------------------------------

template <class T>
bool Is(const Control& c) {
    return dynamic_cast<const T*>(&c) != nullptr;
}

// The intrinsic controls draw a border (BorderStyle 1) or the 3-D look
// (Appearance 1) as the client edge; `P` is the property that names it.
template <FaceProperty P>
bool EdgeGet(Control& c, FaceProperty p, long& value) {
    if (p != P) return false;
    value = (GetWindowLongA(c.hWnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0 ? 1 : 0;
    return true;
}

template <FaceProperty P>
bool EdgeSet(Control& c, FaceProperty p, long value) {
    if (p != P) return false;
    if (value != 0 && value != 1) throw Error("Invalid property value", 380);
    HWND h = c.hWnd();
    LONG ex = GetWindowLongA(h, GWL_EXSTYLE);
    ex = value != 0 ? (ex | WS_EX_CLIENTEDGE) : (ex & ~WS_EX_CLIENTEDGE);
    SetWindowLongA(h, GWL_EXSTYLE, ex);
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~WS_BORDER);
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

constexpr auto kBorder = FaceProperty::BorderStyle;
constexpr auto kLook = FaceProperty::Appearance;

// Most specific first: the first match names the control.
const AutomationType kIntrinsic[] = {
    {"TextBox", Is<TextBox>, nullptr, EdgeGet<kBorder>, EdgeSet<kBorder>},
    {"ListBox", Is<ListBox>, nullptr, EdgeGet<kLook>, EdgeSet<kLook>},
    {"ComboBox", Is<ComboBox>},
    {"CheckBox", Is<CheckBox>},
    {"OptionButton", Is<OptionButton>},
    {"CommandButton", Is<CommandButton>},
    {"Label", Is<Label>},
    {"PictureBox", Is<PictureBox>, nullptr, EdgeGet<kBorder>, EdgeSet<kBorder>},
    {"Frame", Is<Frame>},
    {"Image", Is<Image>},
};

std::vector<AutomationType>& Registered() {
    static std::vector<AutomationType> types;
    return types;
}

const AutomationType* TypeOf(const Control& c) {
    const auto& reg = Registered();
    for (auto it = reg.rbegin(); it != reg.rend(); ++it)
        if (it->matches(c)) return &*it;
    for (const auto& t : kIntrinsic)
        if (t.matches(c)) return &t;
    return nullptr;
}

// ---- type information: only the name is asked for -------------------------

std::wstring Wide(const std::string& s) {
    std::wstring w(s.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], static_cast<int>(w.size()));
    w.resize(n > 0 ? n - 1 : 0);
    return w;
}

// The system's type library builder: the second one where the system has
// it (Windows 95 has it only with a newer OLE automation), else the first.
HRESULT NewTypeLib(ICreateTypeLib** out) {
    using Create2 = HRESULT(WINAPI*)(SYSKIND, LPCOLESTR, ICreateTypeLib2**);
    static const auto create2 =
        reinterpret_cast<Create2>(GetProcAddress(GetModuleHandleA("oleaut32.dll"), "CreateTypeLib2"));
    if (!create2) return CreateTypeLib(SYS_WIN32, L"", out);
    ICreateTypeLib2* lib = nullptr;
    HRESULT hr = create2(SYS_WIN32, L"", &lib);
    *out = lib;
    return hr;
}

// One type info per name for the whole process, made by the system's type
// library builder so that every ITypeInfo member behaves.
HRESULT TypeInfoNamed(const char* name, ITypeInfo** out) {
    static std::map<std::string, ITypeInfo*> cache;
    *out = nullptr;
    auto it = cache.find(name);
    if (it == cache.end()) {
        ICreateTypeLib* lib = nullptr;
        HRESULT hr = NewTypeLib(&lib);
        if (FAILED(hr)) return hr;
        ICreateTypeInfo* cti = nullptr;
        std::wstring wname = Wide(name);
        hr = lib->CreateTypeInfo(&wname[0], TKIND_DISPATCH, &cti);
        ITypeInfo* ti = nullptr;
        if (SUCCEEDED(hr)) {
            cti->LayOut();
            hr = cti->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&ti));
            cti->Release();
        }
        lib->Release();
        if (FAILED(hr)) return hr;
        it = cache.emplace(name, ti).first;
    }
    it->second->AddRef();
    *out = it->second;
    return S_OK;
}

// ---- the shared dispatch plumbing -------------------------------------------

struct Member {
    const wchar_t* name;
    DISPID id;
};

enum : DISPID {
    kIdHwnd = 1,
    kIdName,
    kIdControls,
    kIdHeight,
    kIdBorderStyle,
    kIdAppearance,
    kIdCount,
};

const Member kFormMembers[] = {{L"hWnd", kIdHwnd}, {L"Name", kIdName}, {L"Controls", kIdControls}};
const Member kControlMembers[] = {{L"hWnd", kIdHwnd},
                                  {L"Name", kIdName},
                                  {L"Height", kIdHeight},
                                  {L"BorderStyle", kIdBorderStyle},
                                  {L"Appearance", kIdAppearance}};
const Member kCollectionMembers[] = {{L"Count", kIdCount}, {L"Item", DISPID_VALUE}};

struct Members {
    const Member* first;
    size_t count;
};

template <size_t N>
constexpr Members MembersOf(const Member (&members)[N]) {
    return {members, N};
}

HRESULT IdsOf(Members members, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const Member* m = members.first; m != members.first + members.count; ++m) {
        if (_wcsicmp(m->name, names[0]) == 0) {
            ids[0] = m->id;
            break;
        }
    }
    if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
}

void SetLong(VARIANT* result, long value) {
    if (!result) return;
    VariantInit(result);
    V_VT(result) = VT_I4;
    V_I4(result) = value;
}

HRESULT SetText(VARIANT* result, const std::string& text) {
    if (!result) return S_OK;
    VariantInit(result);
    std::wstring w = Wide(text);
    V_BSTR(result) = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    if (!V_BSTR(result)) return E_OUTOFMEMORY;
    V_VT(result) = VT_BSTR;
    return S_OK;
}

void SetObject(VARIANT* result, IDispatch* object) {
    if (!result) {
        if (object) object->Release();
        return;
    }
    VariantInit(result);
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
}

// The one argument of a property put (or of Item) as a Long.
HRESULT ArgAsLong(DISPPARAMS* params, long& out) {
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT v;
    VariantInit(&v);
    HRESULT hr = VariantChangeType(&v, &params->rgvarg[0], 0, VT_I4);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    out = V_I4(&v);
    return S_OK;
}

HRESULT Raise(EXCEPINFO* excep, long number, const char* description) {
    if (excep) {
        std::memset(excep, 0, sizeof *excep);
        excep->bstrSource = SysAllocString(L"Corvella");
        std::wstring w = Wide(description);
        excep->bstrDescription = SysAllocString(w.c_str());
        excep->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number & 0xFFFF);
    }
    return DISP_E_EXCEPTION;
}

class Face : public com::Counted<IDispatch> {
public:
    explicit Face(Members members) : members_(members) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** ti) override {
        if (!ti) return E_POINTER;
        *ti = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return TypeInfoNamed(TypeName(), ti);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return IdsOf(members_, names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT*) override {
        try {
            if (!Alive()) return RPC_E_DISCONNECTED;
            if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
                long value = 0;
                HRESULT hr = ArgAsLong(params, value);
                return FAILED(hr) ? hr : Put(id, value);
            }
            return Get(id, params, result);
        } catch (const Error& e) {
            return Raise(excep, e.Number(), e.what());
        } catch (const std::exception& e) {
            return Raise(excep, 0, e.what());
        }
    }

protected:
    virtual const char* TypeName() const = 0;
    virtual bool Alive() const = 0;
    virtual HRESULT Get(DISPID id, DISPPARAMS* params, VARIANT* result) = 0;
    virtual HRESULT Put(DISPID, long) { return DISP_E_MEMBERNOTFOUND; }

private:
    Members members_;
};

bool ControlAlive(const Control* c, HWND h) {
    return h && IsWindow(h) && detail::ControlFromWindow(h) == c;
}

class ControlFace : public Face {
public:
    explicit ControlFace(Control& c) : Face(MembersOf(kControlMembers)), control_(&c), hwnd_(c.hWnd()) {}

protected:
    const char* TypeName() const override {
        const AutomationType* t = ControlAlive(control_, hwnd_) ? TypeOf(*control_) : nullptr;
        return t ? t->typeName : "Control";
    }
    bool Alive() const override { return ControlAlive(control_, hwnd_); }
    HRESULT Get(DISPID id, DISPPARAMS*, VARIANT* result) override {
        const AutomationType* type = TypeOf(*control_);
        long value = 0;
        switch (id) {
        case kIdHwnd: {
            HWND h = type && type->window ? type->window(*control_) : control_->hWnd();
            SetLong(result, static_cast<long>(reinterpret_cast<INT_PTR>(h)));
            return S_OK;
        }
        case kIdName: return SetText(result, control_->name);
        case kIdHeight: SetLong(result, control_->Height()); return S_OK;
        case kIdBorderStyle:
        case kIdAppearance:
            if (!type || !type->get || !type->get(*control_, Property(id), value)) return DISP_E_MEMBERNOTFOUND;
            SetLong(result, value);
            return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
    HRESULT Put(DISPID id, long value) override {
        const AutomationType* type = TypeOf(*control_);
        switch (id) {
        case kIdHeight: control_->SetHeight(static_cast<int>(value)); return S_OK;
        case kIdBorderStyle:
        case kIdAppearance:
            if (!type || !type->set || !type->set(*control_, Property(id), value)) return DISP_E_MEMBERNOTFOUND;
            return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    static FaceProperty Property(DISPID id) {
        return id == kIdBorderStyle ? FaceProperty::BorderStyle : FaceProperty::Appearance;
    }
    Control* control_;
    HWND hwnd_;
};

bool FormAlive(const Form* f, HWND h) { return h && IsWindow(h) && detail::FormFromWindow(h) == f; }

void Collect(const Container& container, std::vector<Control*>& out) {
    for (Control* c : container.Children()) {
        out.push_back(c);
        if (auto* inner = dynamic_cast<const Container*>(c)) Collect(*inner, out);
    }
}

// The form's controls as they were when Controls was read.
class CollectionFace : public Face {
public:
    CollectionFace(Form& form, std::vector<Control*> controls)
        : Face(MembersOf(kCollectionMembers)), form_(&form), hwnd_(form.hWnd()), controls_(std::move(controls)) {}

protected:
    const char* TypeName() const override { return "Object"; }
    bool Alive() const override { return FormAlive(form_, hwnd_); }
    HRESULT Get(DISPID id, DISPPARAMS* params, VARIANT* result) override {
        if (id == kIdCount) {
            SetLong(result, static_cast<long>(controls_.size()));
            return S_OK;
        }
        if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
        long at = 0;
        HRESULT hr = ArgAsLong(params, at);
        if (FAILED(hr)) return hr;
        if (at < 0 || at >= static_cast<long>(controls_.size())) return DISP_E_BADINDEX;
        IDispatch* face = AutomationFace(*controls_[at]);
        if (!face) return E_OUTOFMEMORY;
        SetObject(result, face);
        return S_OK;
    }

private:
    Form* form_;
    HWND hwnd_;
    std::vector<Control*> controls_;
};

class FormFace : public Face {
public:
    explicit FormFace(Form& f) : Face(MembersOf(kFormMembers)), form_(&f), hwnd_(f.hWnd()) {}

protected:
    const char* TypeName() const override { return "Form"; }
    bool Alive() const override { return FormAlive(form_, hwnd_); }
    HRESULT Get(DISPID id, DISPPARAMS*, VARIANT* result) override {
        switch (id) {
        case kIdHwnd: SetLong(result, static_cast<long>(reinterpret_cast<INT_PTR>(hwnd_))); return S_OK;
        case kIdName: return SetText(result, form_->name);
        case kIdControls: {
            std::vector<Control*> all;
            Collect(*form_, all);
            auto* c = new (std::nothrow) CollectionFace(*form_, std::move(all));
            if (!c) return E_OUTOFMEMORY;
            SetObject(result, c);
            return S_OK;
        }
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    Form* form_;
    HWND hwnd_;
};

}  // namespace

void RegisterAutomationType(const AutomationType& type) { Registered().push_back(type); }

const char* AutomationTypeName(const Control& control) {
    const AutomationType* t = TypeOf(control);
    return t ? t->typeName : "Control";
}

IDispatch* AutomationFace(Form& form) { return new (std::nothrow) FormFace(form); }

IDispatch* AutomationFace(Control& control) { return new (std::nothrow) ControlFace(control); }

}  // namespace corvella::forms
