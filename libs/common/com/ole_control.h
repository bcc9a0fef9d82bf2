// The control side of the libraries' ActiveX controls: one window in the
// container's window, the OLE embedding and in-place interfaces, ambient
// properties and the extender read through the client site, events fired
// with the control holding itself, property-change notification, and
// persistence to a property bag or a stream from one table of properties.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "libs/common/com/dispatch_call.h"
#include "libs/common/com/com_ptr.h"
#include "libs/common/com/com_server.h"
#include "libs/common/com/connection_points.h"

namespace corvella::com {

// One persisted property: its name in the store, its type, and the id the
// control's GetPersisted/SetPersisted/DefaultOf know it by. Objects (fonts,
// pictures) are VT_DISPATCH and go to a stream through their IPersistStream.
struct PersistedProperty {
    int id;
    const char* name;
    VARTYPE type;  // VT_BOOL, VT_I4, VT_BSTR, VT_DISPATCH or VT_VARIANT
};

struct PropertyTable {
    const PersistedProperty* entries;
    size_t count;
    template <size_t N>
    PropertyTable(const PersistedProperty (&e)[N]) : entries(e), count(N) {}
};

// Late-bound calls by name on any dispatch object (the extender, a parent,
// another control) are those of dispatch_call.h.

// The OLE interfaces of a control, for Control<...> below to combine with
// its dispatch interface, events and class information.
class ControlBase : public IOleObject,
                    public IOleInPlaceObject,
                    public IOleInPlaceActiveObject,
                    public IOleControl,
                    public IViewObject2,
                    public IPersistPropertyBag,
                    public IPersistStreamInit {
public:
    ControlBase();
    virtual ~ControlBase();
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    // ---- for the control ----
    HWND Window() const { return hwnd_; }
    bool Active() const { return active_; }
    // An ambient property of the container; empty when it has none.
    Variant Ambient(DISPID id) const;
    bool UserMode() const;  // True without a container that says otherwise
    std::string AmbientDisplayName() const;
    ComPtr<IFontDisp> AmbientFont() const;
    // The container's extender of this control: properties by name.
    ComPtr<IDispatch> Extender() const;
    HRESULT ExtenderGet(const wchar_t* name, Variant& out) const;
    HRESULT ExtenderPut(const wchar_t* name, const Variant& value) const;
    HRESULT ExtenderCall(const wchar_t* name, const std::vector<Variant>& args) const;
    // The container's objects (IOleContainer::EnumObjects), in its order.
    std::vector<ComPtr<IUnknown>> ContainerObjects() const;
    // Tells the sinks of the property-change point that property `id` changed.
    void NotifyChanged(DISPID id);
    // Counts of FreezeEvents: events are not raised while frozen.
    bool EventsFrozen() const { return frozen_ > 0; }
    // Closed by the container: no window, no site. A method that raised an
    // event asks this before touching its window again.
    bool Closed() const { return closed_; }

    // ---- what the control supplies ----
    virtual const CLSID& ClassId() const = 0;
    virtual PropertyTable Persisted() const = 0;
    // Load order when it differs from the table's (ids, repeats allowed).
    virtual std::vector<int> LoadOrder() const;
    virtual Variant DefaultOf(int id) const = 0;
    virtual Variant GetPersisted(int id) const = 0;
    virtual void SetPersisted(int id, const Variant& value) = 0;
    // A new control's state (InitNew), after loading (Load) and after saving.
    virtual void OnInitNew() {}
    virtual void OnLoaded() {}
    // The window exists; it is shown when the container shows it.
    virtual void OnCreated() {}
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual void Paint(HDC dc, const RECT& bounds) = 0;
    virtual void OnAmbientChanged(DISPID) {}
    // The window is about to go.
    virtual void OnClosing() {}
    virtual DWORD MiscStatus() const;
    // Verbs of the control's own (positive ids) that a container lists
    // through EnumVerbs and runs through DoVerb.
    struct Verb {
        LONG id;
        std::string caption;
    };
    virtual std::vector<Verb> Verbs() const { return {}; }
    virtual HRESULT OnVerb(LONG) { return OLEOBJ_S_INVALIDVERB; }
    // Keys the control takes from its container without having the focus
    // (a default button's Enter, a cancel button's Esc), listed through
    // GetControlInfo; the container hands each one to OnMnemonicKey.
    virtual std::vector<ACCEL> Mnemonics() const { return {}; }
    virtual void OnMnemonicKey(const MSG&) {}

    // ---- IOleObject ----
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD save_option) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                        LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink*, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject ----
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // The form's dialog keys serve Tab and the mnemonics of the buttons.
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // ---- IOleControl ----
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* key) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // ---- IViewObject2 ----
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                      LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // ---- IPersist, IPersistPropertyBag, IPersistStreamInit ----
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clear_dirty, BOOL save_all) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clear_dirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

protected:
    // The property-change connection point, for Control<...>.
    HRESULT FindPropertyNotifyPoint(REFIID iid, IConnectionPoint** out);
    IUnknown* Self() { return static_cast<IOleObject*>(this); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT pos, bool ui);
    void ReadAll(IPropertyBag* bag, IErrorLog* log);

    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inplace_site_;
    ComPtr<IOleInPlaceFrame> frame_;
    HWND hwnd_ = nullptr;
    bool active_ = false;
    bool ui_active_ = false;
    bool closed_ = false;
    bool dirty_ = false;
    int frozen_ = 0;
    SIZEL extent_ = {2540, 2540};  // HIMETRIC
    ConnectionPoint* notify_ = nullptr;
    HACCEL mnemonics_ = nullptr;  // made on the first GetControlInfo
};

// A control with the dual interface `Iface`, the default event interface
// `DefaultEvents` and the class `Clsid`. The derived class lists its
// interfaces with `ControlInterfaces<Derived>()`.
template <class Derived, class Iface, const CLSID* Clsid, const IID* DefaultEvents>
class Control : public Object<Derived, TypeLibDispatch<Iface>, ControlBase, Events<DefaultEvents>,
                              ClassInfo<Clsid, DefaultEvents>> {
public:
    const CLSID& ClassId() const override { return *Clsid; }
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
        if (SUCCEEDED(this->FindPropertyNotifyPoint(iid, out))) return S_OK;
        return EventSource::FindConnectionPoint(iid, out);
    }
    // Raises event `id` unless the container froze events; the control holds
    // itself meanwhile (a handler may close the form that hosts it).
    HRESULT RaiseEvent(DISPID id, const std::vector<Variant>& args = {}) {
        if (this->EventsFrozen()) return S_FALSE;
        return this->Raise(id, args);
    }

    static InterfaceTable ControlInterfaces() {
        static const InterfaceEntry table[] = {
            Entry<Derived, Iface>(),
            Entry<Derived, Iface>(IID_IDispatch),
            Entry<Derived, IOleObject>(),
            Entry<Derived, IOleInPlaceObject>(),
            Entry<Derived, IOleInPlaceObject>(IID_IOleWindow),
            Entry<Derived, IOleInPlaceActiveObject>(),
            Entry<Derived, IOleControl>(),
            Entry<Derived, IViewObject2>(),
            Entry<Derived, IViewObject2>(IID_IViewObject),
            Entry<Derived, IPersistPropertyBag>(),
            Entry<Derived, IPersistStreamInit>(),
            Entry<Derived, IPersistStreamInit>(IID_IPersist),
            Entry<Derived, IConnectionPointContainer>(),
            Entry<Derived, IProvideClassInfo2>(),
            Entry<Derived, IProvideClassInfo2>(IID_IProvideClassInfo),
        };
        return table;
    }
};

// The registry keys of a control class: "Control", "MiscStatus" with the
// usual flags, the insertable-control category, the toolbox bitmap (0: none).
extern const ControlInfo kStandardControl;

}  // namespace corvella::com
