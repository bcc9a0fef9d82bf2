// The intrinsic controls of the forms, timers and control arrays. Every
// event handler gets the control's index first (-1 for a control that is not
// in an array), so one handler serves a whole array.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "libs/common/com/com_ptr.h"
#include "platform/forms/form.h"

namespace corvella::forms {

// Mouse pointers by number: 0 default, 1 arrow, 2 cross, 3 I-beam,
// 7 size north-south, 9 size west-east, 11 hourglass.
HCURSOR CursorFor(int mousePointer);


class TextBox : public Control {
public:
    std::string text;
    bool multiLine = false;
    ScrollBars scrollBars = kScrollNone;  // multi-line only
    bool locked = false;
    BorderStyle borderStyle = kFixedSingle;  // or kBorderNone

    ClickHandler Change;
    KeyPressHandler KeyPress;

    bool Create(Container& parent) override;
    // Change fires when the text differs.
    void SetText(const std::string& value) override;
    int SelStart() const;
    int SelLength() const;
    std::string SelText() const;
    void SetSelStart(int start);  // collapses the selection there
    void SetSelLength(int length);
    void SetSelText(const std::string& value);

protected:
    std::string* DesignText() override { return &text; }
    void OnCommand(int code) override;
    void OnKeyPress(int& keyAscii) override;

private:
    bool settingText_ = false;
};

// What list boxes and combo boxes share: a list of text items, one of them
// selected. The two system classes differ only in their message numbers.
class ListControl : public Control {
public:
    std::vector<std::string> items;  // the design-time list
    bool sorted = false;

    // Fires when ListIndex changes, by the user or by code; not when the same
    // index is set again.
    ClickHandler Click;

    // At `at` (appended when negative); Error 5 past the end.
    void AddItem(const std::string& item, int at = -1);
    // Error 381 outside the list.
    void RemoveItem(int at);
    void Clear();
    int ListCount() const;
    std::string List(int at) const;
    int ListIndex() const;
    // -1 clears the selection (and the text of an editable combo). Error 380
    // for an index outside the list.
    void SetListIndex(int at);

    // The message numbers of the system class.
    struct Messages {
        UINT add, insert, remove, reset, count, textLength, text, getSelection, setSelection;
    };

protected:
    explicit ListControl(const Messages& messages) : messages_(messages) {}
    // Puts the design list into the new window.
    void FillList();
    void NoteIndex();
    // The selection changed: Click, unless it is the one Click saw last.
    void SelectionChanged();
    int lastIndex_ = -1;

private:
    const Messages& messages_;
};

class ComboBox : public ListControl {
public:
    int style = kDropDownCombo;  // a ComboStyle
    std::string text;  // editable styles only
    int dropItems = 8;  // rows of the dropped list

    ClickHandler Change;  // the edit text changed (editable styles)
    KeyPressHandler KeyPress;

    ComboBox();
    bool Create(Container& parent) override;
    std::string Text() const override;
    // Editable: sets the edit text (Change fires when it differs). List
    // style: selects the item with that exact text, else Error 383.
    void SetText(const std::string& value) override;
    int SelStart() const;
    int SelLength() const;
    std::string SelText() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    void SetSelText(const std::string& value);
    // A number kept with each item (0 for a new one); Error 381 outside the list.
    long ItemData(int at) const;
    void SetItemData(int at, long value);

protected:
    void OnCommand(int code) override;
    void OnKeyPress(int& keyAscii) override;

private:
    HWND EditWindow() const;
    bool inSelChange_ = false;
    bool settingText_ = false;
};

class CheckBox : public Control {
public:
    std::string caption;
    int value = 0;  // 0 unchecked, 1 checked, 2 grayed

    // Fires on the user's click and whenever code changes Value.
    ClickHandler Click;

    bool Create(Container& parent) override;
    int Value() const;
    void SetValue(int v);  // Error 380 outside 0..2
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

protected:
    std::string* DesignText() override { return &caption; }
    void OnCommand(int code) override;
};

// Option buttons in one container form one group: setting one clears the others.
class OptionButton : public Control {
public:
    std::string caption;
    bool value = false;

    ClickHandler Click;  // fires when the button becomes selected

    bool Create(Container& parent) override;
    bool Value() const;
    void SetValue(bool v);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

protected:
    std::string* DesignText() override { return &caption; }
    void OnCommand(int code) override;
};

class CommandButton : public Control {
public:
    std::string caption;
    bool isDefault = false;  // Enter on the form clicks it
    bool cancel = false;     // Esc on the form clicks it

    ClickHandler Click;

    bool Create(Container& parent) override;
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }
    // The click as the user makes it.
    void DoClick();

protected:
    std::string* DesignText() override { return &caption; }
    void OnCommand(int code) override;
};

class Label : public Control {
public:
    std::string caption;
    Alignment alignment = kLeftJustify;
    bool useMnemonic = true;

    ClickHandler Click;

    bool Create(Container& parent) override;
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

protected:
    std::string* DesignText() override { return &caption; }
    void OnCommand(int code) override;
};

// The shared window of the run-time's own control classes: mouse events in
// twips with capture while a button is held, a mouse pointer, a back colour.
class MouseControl : public Control {
public:
    MousePointer mousePointer = kPointerDefault;
    COLORREF backColor = CLR_INVALID;  // CLR_INVALID: the button face colour

    ClickHandler Click;  // a left press and release on the control

    COLORREF BackColor() const;
    void SetBackColor(COLORREF colour);

protected:
    // Mouse, cursor and background messages; true when handled.
    bool HandleMouse(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    void OnDetach() override;
    HBRUSH brush_ = nullptr;  // of the back colour, made on first use
    COLORREF backNow_ = CLR_INVALID;

private:
    bool pressed_ = false;
};

// A container with its own Resize and Paint events.
class PictureBox : public MouseControl, public Container {
public:
    BorderStyle borderStyle = kFixedSingle;  // or kBorderNone

    ClickHandler Resize;
    std::function<void(int index, HDC dc)> Paint;

    bool Create(Container& parent) override;
    HWND hWnd() const override { return Control::hWnd(); }
    Form* ParentForm() override { return Control::ParentForm(); }

protected:
    void OnDetach() override;

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int lastCx_ = -1, lastCy_ = -1;
};

// A captioned group box that holds controls.
class Frame : public Control, public Container {
public:
    std::string caption;

    bool Create(Container& parent) override;
    HWND hWnd() const override { return Control::hWnd(); }
    Form* ParentForm() override { return Control::ParentForm(); }
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& text) { SetText(text); }

protected:
    std::string* DesignText() override { return &caption; }
    void OnDetach() override;

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HFONT font_ = nullptr;
};

// An area with mouse events that shows its picture, if it has one, in the
// picture's own size at its top left; the splitter grips have none.
class Image : public MouseControl {
public:
    com::ComPtr<IPictureDisp> picture;  // the design's

    bool Create(Container& parent) override;
    IPictureDisp* Picture() const { return picture.Get(); }
    void SetPicture(IPictureDisp* shown);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A list of text items with one selected item; DblClick (of every control)
// serves the double-click.
class ListBox : public ListControl {
public:
    ListBox();
    bool Create(Container& parent) override;
    // The selected item's text, "" without one.
    std::string Text() const override;
    // A number kept with each item (0 for a new one); Error 381 outside the list.
    long ItemData(int at) const;
    void SetItemData(int at, long value);
    int TopIndex() const;
    void SetTopIndex(int at);

protected:
    void OnCommand(int code) override;
};

// A timer of a form; it ticks on the form's window. Created at design time
// (in CreateControls) or later, at run time. While its handler runs it can be
// entered again whenever the handler yields (DoEvents, a modal show): a
// handler that must not run twice guards itself.
class Timer {
public:
    std::string name;
    int index = -1;
    int interval = 0;  // milliseconds; 0 does not tick
    bool enabled = true;

    ClickHandler Tick;  // the timer's event

    Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    // False when the form is not loaded.
    bool Create(Form& form);
    void Destroy();
    bool Created() const { return form_ != nullptr; }
    int Interval() const;
    // Restarts the count.
    void SetInterval(int ms);
    bool Enabled() const;
    void SetEnabled(bool on);

private:
    friend class Form;
    void Apply();
    void Fired();
    void Detach();
    Form* form_ = nullptr;
    UINT_PTR id_ = 0;
    int intervalNow_ = 0;
    bool enabledNow_ = false;
};

// Controls that share one name and are told apart by index. Elements are
// added and removed at run time; indices need not be contiguous.
template <class T>
class ControlArray {
public:
    std::string name;

    explicit ControlArray(std::string arrayName = "") : name(std::move(arrayName)) {}

    // A new element with the array's name and this index; Error 360 when the
    // index is taken.
    T& Add(int at) {
        if (items_.count(at) != 0) throw Error("Object already loaded", 360);
        auto item = std::make_unique<T>();
        item->name = name;
        item->index = at;
        T& ref = *item;
        items_[at] = std::move(item);
        return ref;
    }
    // Error 340 when there is no such element.
    T& operator()(int at) const {
        auto it = items_.find(at);
        if (it == items_.end())
            throw Error("Control array element '" + std::to_string(at) + "' doesn't exist", 340);
        return *it->second;
    }
    bool Exists(int at) const { return items_.count(at) != 0; }
    // An element removed inside one of its own events leaves the array at
    // once and is deleted when the handler has returned.
    void Remove(int at) {
        auto it = items_.find(at);
        if (it == items_.end()) return;
        std::unique_ptr<T> item = std::move(it->second);
        items_.erase(it);
        Dispose(std::move(item));
    }
    void Clear() {
        auto items = std::move(items_);
        items_.clear();
        for (auto& entry : items) Dispose(std::move(entry.second));
    }
    int Count() const { return static_cast<int>(items_.size()); }
    int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    // Every element in index order.
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& entry : items_) f(*entry.second);
    }

private:
    static void Dispose(std::unique_ptr<T> item) {
        if (!item->InEvent()) return;
        T* raw = item.release();
        raw->WhenIdle([raw] { delete raw; });
    }
    std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace corvella::forms
