// What forms and controls have in common: a window with a name, a
// geometry in twips, visibility, enabled state, a text, a repaint, a raw
// message hook, and the rule by which its events run. Control sites and
// layout code are written against this one base.
//
// The public fields are the design: before the window exists the accessors
// read and write them; afterwards they read and change the window only, so
// a window that is created again starts from its design.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/forms/design_enums.h"
#include "platform/forms/runtime.h"

namespace corvella::forms {

// Event handlers get the object's index first (-1 for one that is not in an
// array), so one handler serves a whole array.
using ClickHandler = std::function<void(int index)>;
using KeyPressHandler = std::function<void(int index, int& keyAscii)>;
// keyCode: a virtual-key code, set to 0 to swallow the key; shift: kShiftMask...
using KeyHandler = std::function<void(int index, int& keyCode, int shift)>;
// Button: kLeftButton... (held buttons for a move); shift: kShiftMask...;
// x, y: twips in the control.
using MouseHandler = std::function<void(int index, int button, int shift, int x, int y)>;

// Mouse buttons and shift keys as the mouse and key events pass them.
enum : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Raw messages of a window, offered before the run-time's own handling;
// true when handled, with the result in `result`. It runs inside the error
// boundary: what it throws is reported as the object's "WindowProc" event and
// the message then takes its normal course.
using WindowProcHook =
    std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;

template <class T>
class ControlArray;

class WindowBase {
public:
    std::string name;
    int index = -1;  // the index in a control array; -1 alone
    // Twips. A negative size set at run time is Error 380 and leaves the
    // window as it was.
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;

    WindowProcHook WindowProc;

    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase() = default;

    HWND hWnd() const { return hwnd_; }
    bool Created() const { return hwnd_ != nullptr; }

    // Positions are in the parent's client area for a child window and on
    // the screen for a top-level one.
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
    virtual bool Visible() const;
    virtual void SetVisible(bool on);
    bool Enabled() const;
    void SetEnabled(bool on);
    // The caption or text: the design field until the window exists.
    virtual std::string Text() const;
    virtual void SetText(const std::string& value);
    // Repaints the window and its children now.
    void Refresh();

    // "frmName.ctlName" for a control, the form's name for a form: the
    // object part of an error report.
    virtual std::string ObjectName() const = 0;

    // True while one of the object's own events runs (or one of its
    // controls', for a form). Destruction asked for meanwhile waits for the
    // handler to return.
    bool InEvent() const { return busy_ > 0; }

protected:
    template <class T>
    friend class ControlArray;

    // The design field that holds the text, or null when there is none.
    virtual std::string* DesignText() { return nullptr; }
    const std::string* DesignText() const { return const_cast<WindowBase*>(this)->DesignText(); }

    // Runs an event handler under the run-time's error rule, named after
    // the object and the event ("frmMain.cmdApply_Click").
    template <class F>
    void Fire(const char* event, F&& handler);
    // The owner and object parts of an event's name.
    virtual std::string EventOwner() const = 0;
    virtual std::string EventObject() const = 0;

    // Offers a message to the WindowProc hook, inside the error boundary.
    bool HookMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // Counts the object busy for the lifetime of the scope; when the count
    // drops to zero, what was deferred meanwhile runs (it may delete the
    // object, so nothing touches it afterwards).
    class BusyScope {
    public:
        explicit BusyScope(WindowBase& object) : object_(object) { ++object_.busy_; }
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        WindowBase& object_;
    };
    // Runs `action` now when the object is not in an event, else once the
    // outermost event handler has returned, after what was asked before.
    void WhenIdle(std::function<void()> action);

    HWND hwnd_ = nullptr;

private:
    int busy_ = 0;
    std::function<void()> whenIdle_;
};

template <class F>
void WindowBase::Fire(const char* event, F&& handler) {
    BusyScope busy(*this);
    RunHandler(EventOwner(), EventObject(), event, handler);
}

}  // namespace corvella::forms
