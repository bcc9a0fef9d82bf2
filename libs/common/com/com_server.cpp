#include "libs/common/com/com_server.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>

namespace corvella::com {
namespace {

LONG g_count = 0;
ITypeLib* g_typelib = nullptr;

std::string GuidText(REFGUID g) {
    wchar_t w[64];
    StringFromGUID2(g, w, 64);
    char a[64];
    WideCharToMultiByte(CP_ACP, 0, w, -1, a, sizeof a, nullptr, nullptr);
    return a;
}

std::string ModulePath() {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(ThisModule(), path, MAX_PATH);
    return path;
}

bool SetValue(const std::string& key, const char* name, const std::string& value) {
    HKEY h;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool CreateKey(const std::string& key) {
    HKEY h;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

// RegDeleteTree is not on the older systems the program supports.
void DeleteTree(HKEY parent, const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(parent, key.c_str(), 0, KEY_READ | KEY_WRITE, &h) != ERROR_SUCCESS) return;
    for (;;) {
        char sub[256];
        DWORD len = sizeof sub;
        if (RegEnumKeyExA(h, 0, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DeleteTree(h, sub);
    }
    RegCloseKey(h);
    RegDeleteKeyA(parent, key.c_str());
}

// The keys a container reads to offer the class as a control; they sit under
// the class key, so unregistration removes them with it.
bool RegisterControl(const std::string& key, const ControlInfo& control, const std::string& path) {
    bool ok = CreateKey(key + "\\Control") && SetValue(key + "\\MiscStatus", nullptr, "0") &&
              SetValue(key + "\\MiscStatus\\1", nullptr, std::to_string(control.misc_status));
    if (control.toolbox_bitmap != 0)
        ok = ok && SetValue(key + "\\ToolboxBitmap32", nullptr,
                            path + ", " + std::to_string(control.toolbox_bitmap));
    for (const GUID* category : control.categories)
        if (category) ok = ok && CreateKey(key + "\\Implemented Categories\\" + GuidText(*category));
    return ok;
}

HRESULT LoadOwnTypeLib(ITypeLib** out) {
    std::string path = ModulePath();
    std::wstring wpath(path.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wpath[0], static_cast<int>(wpath.size()));
    return LoadTypeLibEx(wpath.c_str(), REGKIND_NONE, out);
}

class ClassFactory : public IClassFactory, public RefCounted {
public:
    explicit ClassFactory(CreateFn fn) : create_(fn) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return AddRefImpl(); }
    STDMETHODIMP_(ULONG) Release() override { return ReleaseImpl(); }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ModuleAddRef();
        else ModuleRelease();
        return S_OK;
    }

private:
    CreateFn create_;
};

}  // namespace

void ModuleAddRef() { InterlockedIncrement(&g_count); }
void ModuleRelease() { InterlockedDecrement(&g_count); }
LONG ModuleCount() { return g_count; }

HRESULT GetTypeInfoOf(REFGUID guid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!g_typelib) {
        ITypeLib* lib = nullptr;
        HRESULT hr = LoadOwnTypeLib(&lib);
        if (FAILED(hr)) return hr;
        if (InterlockedCompareExchangePointer(reinterpret_cast<void**>(&g_typelib), lib, nullptr))
            lib->Release();
    }
    return g_typelib->GetTypeInfoOfGuid(guid, out);
}

HRESULT QueryInterfaceFrom(void* object, InterfaceTable table, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (table.count == 0) return E_NOINTERFACE;
    for (size_t i = 0; i < table.count; ++i) {
        const InterfaceEntry& e = table.entries[i];
        if (i == 0 ? IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *e.iid)
                   : IsEqualIID(riid, *e.iid)) {
            IUnknown* found = e.cast(object);
            found->AddRef();
            *ppv = found;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    const ServerInfo& info = Server();
    for (size_t i = 0; i < info.class_count; ++i) {
        if (!IsEqualCLSID(clsid, *info.classes[i].clsid)) continue;
        ClassFactory* f = new (std::nothrow) ClassFactory(info.classes[i].create);
        if (!f) return E_OUTOFMEMORY;
        HRESULT hr = f->QueryInterface(riid, ppv);
        f->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterServer() {
    const ServerInfo& info = Server();
    std::string path = ModulePath();
    std::string libid = GuidText(*info.libid);
    char version[32];
    wsprintfA(version, "%u.%u", info.major, info.minor);
    for (size_t i = 0; i < info.class_count; ++i) {
        const ClassEntry& c = info.classes[i];
        std::string clsid = GuidText(*c.clsid);
        std::string key = "CLSID\\" + clsid;
        bool ok = SetValue(key, nullptr, c.progid) &&
                  SetValue(key + "\\InprocServer32", nullptr, path) &&
                  SetValue(key + "\\InprocServer32", "ThreadingModel", "Apartment") &&
                  SetValue(key + "\\ProgID", nullptr, c.progid) &&
                  SetValue(key + "\\VERSION", nullptr, version) &&
                  SetValue(key + "\\TypeLib", nullptr, libid) &&
                  CreateKey(key + "\\Programmable") &&
                  SetValue(c.progid, nullptr, c.progid) &&
                  SetValue(std::string(c.progid) + "\\CLSID", nullptr, clsid);
        if (!ok || (c.control && !RegisterControl(key, *c.control, path)))
            return SELFREG_E_CLASS;
    }
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadOwnTypeLib(&lib);
    if (FAILED(hr)) return SELFREG_E_TYPELIB;
    std::wstring wpath(path.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wpath[0], static_cast<int>(wpath.size()));
    hr = RegisterTypeLib(lib, &wpath[0], nullptr);
    lib->Release();
    return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

HRESULT UnregisterServer() {
    const ServerInfo& info = Server();
    for (size_t i = 0; i < info.class_count; ++i) {
        const ClassEntry& c = info.classes[i];
        DeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidText(*c.clsid));
        DeleteTree(HKEY_CLASSES_ROOT, c.progid);
    }
    UnRegisterTypeLib(*info.libid, info.major, info.minor, LOCALE_NEUTRAL, SYS_WIN32);
    // Whatever the type-library unregistration leaves of our own keys goes too.
    DeleteTree(HKEY_CLASSES_ROOT, "TypeLib\\" + GuidText(*info.libid));
    return S_OK;
}

HRESULT RaiseError(HRESULT hr, const char* source, const char* description, REFIID iid) {
    ICreateErrorInfo* cei = nullptr;
    if (SUCCEEDED(CreateErrorInfo(&cei))) {
        wchar_t wsrc[128], wdesc[512];
        MultiByteToWideChar(CP_ACP, 0, source, -1, wsrc, 128);
        MultiByteToWideChar(CP_ACP, 0, description, -1, wdesc, 512);
        cei->SetSource(wsrc);
        cei->SetDescription(wdesc);
        cei->SetGUID(iid);
        IErrorInfo* ei = nullptr;
        if (SUCCEEDED(cei->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&ei)))) {
            SetErrorInfo(0, ei);
            ei->Release();
        }
        cei->Release();
    }
    return hr;
}

namespace {

// The variant type a by-reference parameter points at (VT_DISPATCH for any
// object), or VT_EMPTY for a parameter that is not by reference.
VARTYPE ByRefTarget(const TYPEDESC& t) {
    if (t.vt != VT_PTR || t.lptdesc == nullptr) return VT_EMPTY;
    const TYPEDESC& target = *t.lptdesc;
    if (target.vt == VT_PTR) return VT_DISPATCH;  // an interface pointer by reference
    return target.vt;
}

}  // namespace

ScriptByRefArgs::ScriptByRefArgs(ITypeInfo* ti, DISPID id, WORD flags, DISPPARAMS* params)
    : params_(params) {
    if (ti == nullptr || params == nullptr || params->cArgs == 0 || params->rgvarg == nullptr) return;
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return;
    const WORD functions = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    for (WORD f = 0; f < functions; ++f) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(f, &fd))) continue;
        if (fd->memid == id && (fd->invkind & flags) != 0) {
            const UINT named = params->cNamedArgs;
            for (UINT i = named; i < params->cArgs; ++i) {
                // Positional arguments come last to first.
                const UINT position = params->cArgs - 1 - i;
                if (position >= UINT(fd->cParams)) continue;
                const VARTYPE want = ByRefTarget(fd->lprgelemdescParam[position].tdesc);
                const VARIANTARG& a = params->rgvarg[i];
                if (want == VT_EMPTY || want == VT_VARIANT || a.vt != (VT_BYREF | VT_VARIANT) ||
                    a.pvarVal == nullptr || a.pvarVal->vt != want)
                    continue;
                if (args_.empty()) args_.assign(params->rgvarg, params->rgvarg + params->cArgs);
                // Every member of the variant's value union starts at one address.
                args_[i].vt = VT_BYREF | want;
                args_[i].byref = &a.pvarVal->lVal;
            }
            ti->ReleaseFuncDesc(fd);
            break;
        }
        ti->ReleaseFuncDesc(fd);
    }
    if (args_.empty()) return;
    copy_ = *params;
    copy_.rgvarg = args_.data();
    params_ = &copy_;
}

}  // namespace corvella::com
