// Hosted ActiveX controls: a control of a form that creates an in-process
// control by class id, loads it from the design's property bag, activates it
// in place in a window of its own, and gives it the form's ambient
// properties, an extender and the list of the form's other controls. Its
// events reach the form's handlers by dispatch id, inside the error rule of
// the form's events. The form's own controls may be placed inside it.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "libs/common/com/com_ptr.h"
#include "libs/common/com/event_sink.h"
#include "platform/forms/form.h"

namespace corvella::forms {

// One persisted design value of a hosted control.
struct DesignProperty {
    std::string name;
    com::Variant value;
};

class OleSiteObject;

class OleControlSite : public Control {
public:
    CLSID clsid = GUID_NULL;
    // The design's property bag; empty: the control starts new (InitNew).
    std::vector<DesignProperty> properties;
    // The ambient UserMode: false hosts the control as a designer would.
    bool userMode = true;

    OleControlSite();
    ~OleControlSite() override;

    // Creates and activates the control; false when it cannot be created
    // (not registered, refused to activate).
    bool Create(Container& parent) override;

    // The form's controls placed inside this control go here.
    Container& Inside() { return inside_; }

    // The control's default interface and its identity; null when not created.
    IDispatch* Object() const { return dispatch_.Get(); }
    IUnknown* Unknown() const { return unknown_.Get(); }
    HWND ControlWindow() const;

    // Late-bound calls by dispatch id, arguments first declared first. A
    // failure throws Error with the control's own description.
    com::Variant Get(DISPID id, const std::vector<com::Variant>& args = {});
    void Put(DISPID id, const std::vector<com::Variant>& args, const com::Variant& value);
    // Put by reference, for objects (Set).
    void PutRef(DISPID id, const com::Variant& value);
    com::Variant Call(DISPID id, const std::vector<com::Variant>& args = {});

    // The handler of event `id` of the control's default event interface;
    // it runs like the form's other event handlers ("frmX.ctl_Event").
    void On(DISPID id, const char* event, com::EventSink::Handler handler);

    // The control's persisted values, as its Save writes them.
    HRESULT SaveProperties(std::vector<DesignProperty>& out) const;

    // The extender's Visible: the control's window goes with the site's,
    // so the control sees the change.
    bool Visible() const override;
    void SetVisible(bool on) override;

    // The extender object a control reaches through its site.
    IDispatch* Extender();

    // The form changed its size: the control hears it as ResizeBorder.
    void FormResized();

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;
    // Enter or Esc for the form: the control takes it when it lists the key
    // among its mnemonics (IOleControl::GetControlInfo), through OnMnemonic.
    bool TakeDialogKey(int keyCode) override;

private:
    friend class OleSiteObject;
    class InsideContainer : public Container {
    public:
        explicit InsideContainer(OleControlSite& site) : site_(site) {}
        HWND hWnd() const override { return site_.ControlWindow(); }
        Form* ParentForm() override { return site_.ParentForm(); }
        bool Route(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            return RouteMessage(hwnd, msg, wp, lp, result);
        }

    private:
        OleControlSite& site_;
    };
    struct Handler {
        DISPID id;
        std::string event;
        com::EventSink::Handler handler;
    };
    void TearDown();
    void FitControl();
    com::Variant Invoke(DISPID id, WORD flags, const std::vector<com::Variant>& args,
                        const com::Variant* value);

    InsideContainer inside_;
    OleSiteObject* site_ = nullptr;  // the COM side; owns its own references
    com::ComPtr<IOleObject> object_;
    com::ComPtr<IDispatch> dispatch_;
    com::ComPtr<IUnknown> unknown_;
    com::ComPtr<com::EventSink> sink_;
    com::EventConnection events_;
    std::vector<Handler> handlers_;
    HWND relayWindow_ = nullptr;
};

// Every hosted control of a form, nested ones too, in creation order.
std::vector<OleControlSite*> HostedControls(Form& form);

}  // namespace corvella::forms
