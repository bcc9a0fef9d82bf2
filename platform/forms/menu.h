// Menus as the forms' own objects. A form's `menus` are its menu bar, in
// order; each menu holds its items, an item with items of its own is a
// sub-menu, the caption "-" is a separator. A top-level menu that is not
// visible stays out of the bar and serves as a popup menu (Form::PopupMenu).
// Menu arrays are ControlArray<Menu>: their elements share a name and the
// Click handler gets the index.
//
// A menu's properties are its state: the form shows them as they are, also
// when it is loaded again. Every change shows at once; Click runs inside the
// error boundary ("frmMain.mnuOpen_Click").
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/forms/window.h"

namespace corvella::forms {

class Form;

// A shortcut key of a menu item: a virtual-key code with kShiftMask,
// kCtrlMask and kAltMask; key 0 is none.
struct Shortcut {
    int key = 0;
    int shift = 0;
    bool operator==(const Shortcut& o) const { return key == o.key && shift == o.shift; }
};

// The text a menu shows for a shortcut: "Ctrl+S", "F5", "Shift+Del".
std::string ShortcutText(const Shortcut& shortcut);

class Menu : public WindowBase {
public:
    std::string caption;
    bool checked = false;
    Shortcut shortcut;

    ClickHandler Click;

    Menu() = default;
    ~Menu() override;

    // Adds an item at the end (or in front of `before`); a menu belongs to
    // one parent at a time.
    void Add(Menu& item, Menu* before = nullptr);
    void Remove(Menu& item);
    const std::vector<Menu*>& Items() const { return items_; }
    Menu* ParentMenu() const { return parent_; }
    Form* ParentForm() const;

    std::string Caption() const { return caption; }
    void SetCaption(const std::string& text);
    bool Checked() const { return checked; }
    void SetChecked(bool on);
    bool Enabled() const { return enabled; }
    void SetEnabled(bool on);
    bool Visible() const override { return visible; }
    void SetVisible(bool on) override;
    Shortcut ShortcutKey() const { return shortcut; }
    void SetShortcut(const Shortcut& key);
    std::string Text() const override { return caption; }
    void SetText(const std::string& value) override { SetCaption(value); }

    // Clicks the item as the user does: Click runs when it is enabled.
    void DoClick();

    std::string ObjectName() const override;
    // The command id the item has on its form; 0 before the form is loaded.
    int CommandId() const { return id_; }

protected:
    std::string* DesignText() override { return &caption; }
    std::string EventOwner() const override;
    std::string EventObject() const override { return name; }

private:
    friend class Form;
    void Changed();
    bool IsSeparator() const { return caption == "-"; }
    // Enabled itself and under enabled menus, and visible likewise.
    bool Usable() const;

    std::vector<Menu*> items_;
    Menu* parent_ = nullptr;
    Form* form_ = nullptr;  // set while its form is loaded
    int id_ = 0;
};

}  // namespace corvella::forms
