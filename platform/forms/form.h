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

#include "platform/forms/runtime.h"

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
enum WindowStateValue : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

// Mouse buttons and shift keys as the mouse and key events pass them.
enum : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Raw messages of a container window, offered before the run-time's own
// handling; true when handled, with the result in `result`.
using WindowProcHook =
    std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;

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

    WindowProcHook WindowProc;

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
class Control {
public:
    std::string name;
    int index = -1;  // the index in a control array; -1 alone
    // Twips in the container's client area. A negative size set at run time
    // is Error 380 and leaves the control as it was.
    int left = 0, top = 0, width = 1215, height = 375;
    bool visible = true;
    bool enabled = true;
    // Empty: the form's font.
    std::string fontName;
    int fontSize = 8;
    bool fontBold = false;

    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND hWnd() const { return hwnd_; }
    bool Created() const { return hwnd_ != nullptr; }
    Container* Parent() const { return parent_; }
    Form* ParentForm() const;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFocus();
    void Refresh();  // repaints now
    // Removes the window; the wrapper may be created again.
    void Destroy();

    // "frmName.ctlName", the object part of an error report.
    std::string ObjectName() const;

protected:
    // For the wrappers (also those of other libraries over system controls):
    // creates the child window in `parent` from the geometry fields, with the
    // form's font, and registers it for notifications. `pixelHeight` >= 0
    // replaces the height field (combo boxes give their dropped height).
    bool CreateWindowIn(Container& parent, const char* windowClass, DWORD style, DWORD exStyle,
                        const std::string& text, int pixelHeight = -1);
    // WM_COMMAND notification code sent by the control to its container.
    virtual void OnCommand(int code);
    // WM_NOTIFY from the control; true when handled.
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    // A WM_CHAR for the control or its inner window; set keyAscii to 0 to
    // swallow the key.
    virtual void OnKeyPress(int& keyAscii);
    // The window is gone (its form unloaded, or Destroy()).
    virtual void OnDetach();
    // Runs an event handler under the run-time's error rule.
    template <class F>
    void Fire(const char* event, F&& handler);

private:
    friend class Container;
    friend class Form;
    friend void ProcessMessage(MSG&);
    void Detach();
    int id_ = 0;
    HWND hwnd_ = nullptr;
    Container* parent_ = nullptr;
    Form* form_ = nullptr;
    HFONT ownFont_ = nullptr;
};

class CommandButton;

// A form. Derive one class per form, or use a Form as it is; set the fields
// and handlers before Load().
class Form : public Container {
public:
    // ---- design ----
    std::string name = "Form";
    std::string caption;
    int left = 0, top = 0, width = 4800, height = 3600;  // twips, outer rectangle
    // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool window,
    // 5 sizable tool window.
    int borderStyle = 2;
    bool controlBox = true, minButton = true, maxButton = true;
    // 0 at left/top, 1 centred on the owner, 2 centred on the screen,
    // 3 where the system puts it.
    int startUpPosition = 0;
    int windowState = kNormal;
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

    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
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

    bool Visible() const;
    void SetVisible(bool visible);
    int WindowState() const;
    void SetWindowState(int state);
    std::string Caption() const;
    void SetCaption(const std::string& text);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    void Refresh();  // repaints the form and its controls now
    Form* Owner() const { return owner_; }

    HWND hWnd() const override { return hwnd_; }
    Form* ParentForm() override { return this; }
    // The form's own device context, with the form's font selected.
    HDC hDC() const;
    HFONT Font() const { return font_; }

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

    HWND hwnd_ = nullptr;
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
    int nextId_ = 1000;
    std::vector<Control*> controls_;  // every control of the form, nested ones too
    std::vector<Timer*> timers_;
};

template <class F>
void Control::Fire(const char* event, F&& handler) {
    RunHandler(form_ != nullptr ? form_->name : name, name, event, handler);
}

// The default instance of a form class: created on first use, kept for the
// whole run.
template <class F>
F& DefaultInstance() {
    static F* instance = new F();
    return *instance;
}

}  // namespace corvella::forms
