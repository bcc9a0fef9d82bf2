// Forms and the base of their controls. A form is a top-level ANSI window
// with the events and properties the program's windows are written against;
// positions and sizes are twips. A form's fields are its design: Load()
// creates the window from them, CreateControls builds its controls, then
// Form_Load runs. The run-time setters change the window only, so a form
// that is loaded again starts from its design.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/ids.h"
#include "platform/forms/runtime.h"
#include "platform/forms/window.h"

namespace corvella::forms {

class Control;
class Form;
class Timer;

// How a form is being unloaded (the QueryUnload argument).
enum UnloadMode : int {
    kUnloadControlMenu = 0,  // the user closed it (window menu, close box, Alt+F4)
    kUnloadCode = 1,         // the program called Unload()
    kUnloadAppWindows = 2,   // the Windows session ends
    kUnloadTaskManager = 3,  // closed from outside the program
    kUnloadOwner = 5,        // its owner form is being unloaded
};

enum ShowMode : int { kModeless = 0, kModal = 1 };

// A window that holds controls: a form, a picture box or a frame. Child
// positions are twips in its client area.
class Container {
public:
    virtual ~Container() = default;
    virtual HWND hWnd() const = 0;
    virtual Form* ParentForm() = 0;
    int ScaleWidth() const;   // client width in twips
    int ScaleHeight() const;  // client height in twips
    // The controls created directly in it, in creation order.
    const std::vector<Control*>& Children() const { return children_; }

protected:
    // The routing every container window shares: control notifications,
    // colours. True when the message was handled.
    bool RouteMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void DetachChildren();

private:
    friend class Control;
    std::vector<Control*> children_;
};

// The base of the control wrappers: a thin struct over the control's HWND.
// Fields are the design-time values read by Create(); before Create() the
// setters write them, afterwards the setters change the window only.
//
// Other libraries and the program's own controls derive from it in one of
// two ways. Over a system window class: Create() calls CreateWindowIn with
// the class name; the window is subclassed, so the common events (keys,
// mouse, focus, double-click) come as for the intrinsic controls and
// OnMessage sees every message first. With a window class of its own:
// RegisterControlClass once, then CreateWindowIn with that class; the
// class's messages reach OnMessage, inside the error boundary. Properties
// that keep a run-time value of their own use Get and Set.
class Control : public WindowBase {
public:
    // The control's font: what is left as it is comes from the form's font
    // (an empty name, the default size, not bold).
    static constexpr int kDefaultFontSize = 8;
    std::string fontName;
    int fontSize = kDefaultFontSize;
    bool fontBold = false;
    // Shown while the mouse rests on the control; empty: no tip.
    std::string toolTipText;

    // The events every control has. Key codes are virtual-key codes;
    // x, y are twips in the control.
    KeyHandler KeyDown;
    KeyHandler KeyUp;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    ClickHandler DblClick;
    ClickHandler GotFocus;
    ClickHandler LostFocus;

    Control();
    ~Control() override;

    // Makes the control's window in `parent` from the design fields.
    virtual bool Create(Container& parent) = 0;

    Container* Parent() const { return parent_; }
    Form* ParentForm() const;

    void SetFocus();
    // Removes the window; the wrapper may be created again. Inside one of
    // the control's own events the window goes once the handler returns.
    void Destroy();

    std::string ObjectName() const override;

    std::string ToolTipText() const { return Get(toolTipText, toolTipNow_); }
    void SetToolTipText(const std::string& text);

protected:
    // Creates the child window in `parent` from the geometry fields, with
    // the form's font, and registers it for notifications. `pixelHeight` >= 0
    // replaces the height field (combo boxes give their dropped height).
    bool CreateWindowIn(Container& parent, const char* windowClass, DWORD style, DWORD exStyle,
                        const std::string& text, int pixelHeight = -1);
    // Registers a window class whose windows send their messages to the
    // control's OnMessage. No effect when it is registered already.
    static bool RegisterControlClass(const char* className, UINT classStyle = 0,
                                     HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // Every message of the control's window after the WindowProc hook; the
    // default fires the common events and passes the message on.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // What the window does without the control: the system class's own
    // procedure, or DefWindowProc for a class of the control's own.
    LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Fires MouseDown/Move/Up, DblClick, GotFocus and LostFocus for a
    // message; false for any other message.
    bool FireCommonEvent(UINT msg, WPARAM wp, LPARAM lp);
    // Focus events come from the control's notifications instead of its
    // window's focus messages (a combo passes its focus on to its edit).
    bool focusByNotification_ = false;
    // The design lays other controls on this one (a tab strip's page): it
    // stays beneath every sibling, whenever they are made, so that they are
    // drawn and reached over it. Last in the tab order, as it lies lowest.
    bool underSiblings_ = false;

    // A property with a run-time value of its own: the design field before
    // Create(), the value after.
    template <class T>
    const T& Get(const T& design, const T& now) const {
        return Created() ? now : design;
    }
    // Sets the design field before Create(); afterwards stores the value
    // and, when it differs, calls apply() to tell the window.
    template <class T, class Apply>
    void Set(T& design, T& now, const T& value, Apply&& apply) {
        if (!Created()) {
            design = value;
            return;
        }
        if (now == value) return;
        now = value;
        apply();
    }

    // WM_COMMAND notification code sent by the control to its container.
    virtual void OnCommand(int code);
    // WM_NOTIFY from the control; true when handled.
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    // A WM_CHAR for the control or its inner window; set keyAscii to 0 to
    // swallow the key.
    virtual void OnKeyPress(int& keyAscii);
    // The window is gone (its form unloaded, or Destroy()).
    virtual void OnDetach();
    // A control of another library that stands for the form's default or
    // cancel button: Enter (VK_RETURN) or Esc (VK_ESCAPE) is for the form,
    // which has no button of its own for it. True when the control took it.
    virtual bool TakeDialogKey(int /*keyCode*/) { return false; }
    // A menu bar that a control of another library draws on the form: the
    // form's menu keys, whichever control has the focus (0 for Alt or F10
    // alone, else the character typed with Alt). True when it took the key.
    virtual bool TakeMenuKey(int /*character*/) { return false; }
    // Runs an event handler under the run-time's error rule; the control's
    // form counts as in an event too.
    template <class F>
    void Fire(const char* event, F&& handler);

    std::string EventOwner() const override;
    std::string EventObject() const override { return name; }

private:
    friend class Container;
    friend class Form;
    friend void ProcessMessage(MSG&);
    template <class T>
    friend class ControlArray;
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void Detach();
    void KeyEvent(bool down, int& keyCode, int shift);
    int id_ = 0;
    HWND messageWindow_ = nullptr;  // the window, also while its last messages come in
    WNDPROC systemProc_ = nullptr;  // of a subclassed system window
    Container* parent_ = nullptr;
    Form* form_ = nullptr;
    HFONT ownFont_ = nullptr;
    std::string toolTipNow_;
};

class CommandButton;

// A form. Derive one class per form, or use a Form as it is; set the fields
// and handlers before Load().
class Form : public WindowBase, public Container {
public:
    // ---- design ----  (name "Form", 4800 x 3600 twips, outer rectangle)
    std::string caption;
    BorderStyle borderStyle = kSizable;
    bool controlBox = true, minButton = true, maxButton = true;
    StartUpPosition startUpPosition = kStartManual;
    WindowStateValue windowState = kNormal;
    bool keyPreview = false;  // the form sees key presses of its controls first
    std::string fontName = "MS Sans Serif";
    int fontSize = 8;
    bool fontBold = false;

    // ---- events ----
    // Builds the controls (Create() each one) with their design values; runs
    // on every load, before Form_Load.
    std::function<void()> CreateControls;
    std::function<void()> Form_Load;
    std::function<void()> Form_Activate;
    std::function<void()> Form_Deactivate;
    std::function<void()> Form_Resize;
    // Set cancel non-zero to keep the form loaded.
    std::function<void(int& cancel, int unloadMode)> Form_QueryUnload;
    std::function<void(int& cancel)> Form_Unload;
    // Set keyCode to 0 to swallow the key.
    std::function<void(int& keyCode, int shift)> Form_KeyDown;
    std::function<void(int& keyCode, int shift)> Form_KeyUp;

    Form();
    // A form destroyed while loaded goes without events.
    ~Form() override;

    // Creates the window hidden, builds the controls and runs Form_Load. No
    // effect when loaded; false when the window cannot be created.
    bool Load();
    // Loads when needed and shows the form. Modal: disables the program's
    // other windows and returns only when the form is hidden or unloaded; the
    // owner's timers keep ticking meanwhile. Throws Error 400 for a modal
    // show of a form that is visible already.
    void Show(int mode = kModeless, Form* owner = nullptr);
    void Hide();
    // QueryUnload, then Unload, then the window goes. No effect on a form
    // that is not loaded. False when a handler cancelled.
    bool Unload(int unloadMode = kUnloadCode);
    bool Loaded() const { return hwnd_ != nullptr; }
    bool InModalLoop() const { return modal_; }

    bool Visible() const override;
    void SetVisible(bool visible) override;
    int WindowState() const;
    void SetWindowState(int state);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }
    Form* Owner() const { return owner_; }

    // The keys the message loop gives the form as a whole. Enter (VK_RETURN)
    // or Esc (VK_ESCAPE): its default or cancel button, else a control that
    // stands for one. Alt or F10 alone (0), or Alt with a character: its
    // menu bar. True when one took the key.
    bool PressDialogButton(int keyCode);
    bool MenuKey(int character);

    HWND hWnd() const override { return hwnd_; }
    Form* ParentForm() override { return this; }
    std::string ObjectName() const override { return name; }
    // The form's own device context, with the form's font selected.
    HDC hDC() const;
    HFONT Font() const { return font_; }

protected:
    std::string* DesignText() override { return &caption; }
    std::string EventOwner() const override { return name; }
    std::string EventObject() const override { return "Form"; }

    // ---- the form style (see form_style.h) ----
    // Puts a control on the design list under `controlName`: each load
    // creates the listed controls in list order, in `container` (the form
    // when null), before CreateControls runs. Returns the control for its
    // design properties.
    template <class C>
    C& Designed(C& control, const char* controlName, Container* container = nullptr) {
        control.name = controlName;
        designed_.push_back({&control, container});
        return control;
    }
    // A timer, created on the form after the controls.
    Timer& Designed(Timer& timer, const char* timerName, Container* = nullptr);
    // An event handler that calls a member function of the derived form:
    //     cmdOK.Click = On(&FrmOptions::cmdOK_Click);
    template <class T, class... A>
    std::function<void(A...)> On(void (T::*handler)(A...)) {
        T* self = static_cast<T*>(this);
        return [self, handler](A... args) { (self->*handler)(std::forward<A>(args)...); };
    }

private:
    friend class Control;
    friend class Timer;
    friend class CommandButton;
    friend class ScreenObject;
    friend void ProcessMessage(MSG&);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void FireResize();
    void OnActivated();
    void EndModal();
    // Forgets the window and its controls; destroys it when asked.
    void ReleaseWindow(bool destroyWindow);
    void KeyEvent(bool down, int& keyCode, int shift);
    CommandButton* FindButton(bool defaultButton) const;
    Control* FindControl(int id) const;
    void CreateDesigned();
    // A free id of the control range; 0 when every one is taken.
    int NextControlId();
    // Gives a control window its tip (empty: takes it away). One tip window
    // serves every control of the form.
    void SetToolTip(HWND control, const std::string& text);

    HFONT font_ = nullptr;
    Form* owner_ = nullptr;
    HWND focus_ = nullptr;
    bool loading_ = false;
    bool unloading_ = false;
    bool resizeReady_ = false;
    bool firstShowDone_ = false;
    bool shown_ = false;
    bool modal_ = false;
    int pendingState_ = kNormal;  // applied by the next Show
    std::vector<HWND> disabledByModal_;
    UINT lastSizeType_ = 0xFFFFFFFFu;
    int lastCx_ = -1, lastCy_ = -1;
    int nextId_ = kControlIdFirst;
    HWND doomedWindow_ = nullptr;
    HWND toolTip_ = nullptr;
    struct DesignedControl {
        Control* control;
        Container* container;
    };
    std::vector<DesignedControl> designed_;
    std::vector<Timer*> designedTimers_;
    std::vector<Control*> controls_;  // every control of the form, nested ones too
    std::vector<Timer*> timers_;
};

template <class F>
void Control::Fire(const char* event, F&& handler) {
    if (form_ == nullptr) {
        WindowBase::Fire(event, handler);
        return;
    }
    BusyScope formBusy(*form_);
    WindowBase::Fire(event, handler);
}

// The default instance of a form class: created on first use, kept for the
// whole run.
template <class F>
F& DefaultInstance() {
    static F* instance = new F();
    return *instance;
}

}  // namespace corvella::forms
