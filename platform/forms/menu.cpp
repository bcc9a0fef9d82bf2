#include "platform/forms/menu.h"

#include <algorithm>

#include "platform/forms/form.h"
#include "platform/forms/internal.h"

namespace corvella::forms {

namespace {

struct KeyName {
    int key;
    const char* text;
};

const KeyName kKeyNames[] = {
    {VK_DELETE, "Del"},   {VK_INSERT, "Ins"},      {VK_BACK, "Bksp"},     {VK_RETURN, "Enter"},
    {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},     {VK_TAB, "Tab"},       {VK_HOME, "Home"},
    {VK_END, "End"},      {VK_PRIOR, "PgUp"},      {VK_NEXT, "PgDn"},     {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},  {VK_UP, "Up"},           {VK_DOWN, "Down"},
};

const KeyName kShiftNames[] = {{kCtrlMask, "Ctrl+"}, {kShiftMask, "Shift+"}, {kAltMask, "Alt+"}};

std::string KeyText(int key) {
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    for (const KeyName& name : kKeyNames)
        if (name.key == key) return name.text;
    return "#" + std::to_string(key);
}

// Appends the visible items to a Win32 menu; sub-menus become popups.
void AppendItems(HMENU menu, const std::vector<Menu*>& items) {
    for (const Menu* item : items) {
        if (!item->Visible()) continue;
        if (item->Caption() == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string text = item->Caption();
        if (item->ShortcutKey().key != 0) text += "\t" + ShortcutText(item->ShortcutKey());
        const UINT state = (item->Enabled() ? MF_ENABLED : MF_GRAYED) |
                           (item->Checked() ? MF_CHECKED : MF_UNCHECKED);
        const bool hasItems = std::any_of(item->Items().begin(), item->Items().end(),
                                          [](const Menu* m) { return m->Visible(); });
        if (hasItems) {
            HMENU sub = CreatePopupMenu();
            AppendItems(sub, item->Items());
            AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                        text.c_str());
        } else {
            AppendMenuA(menu, MF_STRING | state, static_cast<UINT_PTR>(item->CommandId()),
                        text.c_str());
        }
    }
}

template <class F>
void ForEachMenu(const std::vector<Menu*>& items, F&& f) {
    for (Menu* item : items) {
        f(*item);
        ForEachMenu(item->Items(), f);
    }
}

}  // namespace

std::string ShortcutText(const Shortcut& shortcut) {
    if (shortcut.key == 0) return std::string();
    std::string text;
    for (const KeyName& name : kShiftNames)
        if ((shortcut.shift & name.key) != 0) text += name.text;
    return text + KeyText(shortcut.key);
}

// ---- Menu ----------------------------------------------------------------------

Menu::~Menu() {
    // Gone from its parent, or from the bar of the form it is on, so that
    // the form never reaches a menu that has been destroyed.
    if (parent_ != nullptr) {
        parent_->Remove(*this);
    } else if (form_ != nullptr) {
        auto& bar = form_->menus;
        bar.erase(std::remove(bar.begin(), bar.end(), this), bar.end());
        form_->RebuildMenuBar();
    }
    for (Menu* item : items_) {
        item->parent_ = nullptr;
        item->form_ = nullptr;
    }
}

void Menu::Add(Menu& item, Menu* before) {
    if (item.parent_ != nullptr) item.parent_->Remove(item);
    auto at = std::find(items_.begin(), items_.end(), before);
    items_.insert(at, &item);
    item.parent_ = this;
    if (form_ != nullptr) form_->AttachMenu(item);
    Changed();
}

void Menu::Remove(Menu& item) {
    auto at = std::find(items_.begin(), items_.end(), &item);
    if (at == items_.end()) return;
    items_.erase(at);
    item.parent_ = nullptr;
    ForEachMenu(std::vector<Menu*>{&item}, [](Menu& m) {
        m.form_ = nullptr;
        m.id_ = 0;
    });
    Changed();
}

Form* Menu::ParentForm() const { return form_; }

std::string Menu::ObjectName() const {
    return (form_ != nullptr ? form_->name + "." : std::string()) + name;
}

std::string Menu::EventOwner() const { return form_ != nullptr ? form_->name : name; }

void Menu::Changed() {
    if (form_ != nullptr) form_->RebuildMenuBar();
}

void Menu::SetCaption(const std::string& text) {
    if (caption == text) return;
    caption = text;
    Changed();
}

void Menu::SetChecked(bool on) {
    if (checked == on) return;
    checked = on;
    Changed();
}

void Menu::SetEnabled(bool on) {
    if (enabled == on) return;
    enabled = on;
    Changed();
}

void Menu::SetVisible(bool on) {
    if (visible == on) return;
    visible = on;
    Changed();
}

void Menu::SetShortcut(const Shortcut& key) {
    if (shortcut == key) return;
    shortcut = key;
    Changed();
}

bool Menu::Usable() const {
    for (const Menu* m = this; m != nullptr; m = m->parent_) {
        if (!m->enabled) return false;
        // A hidden top-level menu is a popup menu: its items still work.
        if (!m->visible && m->parent_ != nullptr) return false;
    }
    return true;
}

void Menu::DoClick() {
    if (!Usable() || IsSeparator()) return;
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

// ---- the form's menus ------------------------------------------------------------

void Form::AttachMenu(Menu& menu) {
    ForEachMenu(std::vector<Menu*>{&menu}, [&](Menu& m) {
        m.form_ = this;
        if (m.id_ != 0) return;
        // Ids come round inside their range; one in use is skipped.
        for (int tries = 0; tries <= kMenuIdLast - kMenuIdFirst; ++tries) {
            if (nextMenuId_ < kMenuIdFirst || nextMenuId_ > kMenuIdLast) nextMenuId_ = kMenuIdFirst;
            const int id = nextMenuId_++;
            if (FindMenu(id) == nullptr) {
                m.id_ = id;
                break;
            }
        }
    });
}

void Form::AttachMenus() {
    for (Menu* menu : menus) {
        menu->parent_ = nullptr;
        AttachMenu(*menu);
    }
    RebuildMenuBar();
}

void Form::DetachMenus() {
    ForEachMenu(menus, [](Menu& m) {
        m.form_ = nullptr;
        m.id_ = 0;
    });
    if (menuBar_ != nullptr) {
        if (hwnd_ != nullptr && IsWindow(hwnd_)) SetMenu(hwnd_, nullptr);
        DestroyMenu(menuBar_);
    }
    menuBar_ = nullptr;
}

void Form::RebuildMenuBar() {
    if (hwnd_ == nullptr) return;
    // Only windows with a caption carry a menu bar.
    const bool anyShown = std::any_of(menus.begin(), menus.end(), [](const Menu* m) { return m->Visible(); });
    HMENU bar = nullptr;
    if (anyShown) {
        bar = CreateMenu();
        AppendItems(bar, menus);
    }
    HMENU old = menuBar_;
    SetMenu(hwnd_, bar);
    menuBar_ = bar;
    if (old != nullptr) DestroyMenu(old);
    DrawMenuBar(hwnd_);
}

Menu* Form::FindMenu(int id) const {
    if (id == 0) return nullptr;
    Menu* found = nullptr;
    ForEachMenu(menus, [&](Menu& m) {
        if (m.id_ == id && m.form_ == this) found = &m;
    });
    return found;
}

bool Form::MenuShortcut(int key, int shift) {
    if (key == 0) return false;
    const Shortcut pressed{key, shift};
    Menu* hit = nullptr;
    ForEachMenu(menus, [&](Menu& m) {
        if (hit == nullptr && m.shortcut == pressed && m.Usable() && !m.IsSeparator()) hit = &m;
    });
    if (hit == nullptr) return false;
    hit->DoClick();
    return true;
}

void Form::PopupMenu(Menu& menu, int x, int y) {
    if (hwnd_ == nullptr) return;
    if (menu.form_ != this) AttachMenu(menu);
    POINT at{};
    if (x < 0 || y < 0) {
        GetCursorPos(&at);
    } else {
        at.x = Screen.ToPixelsX(x);
        at.y = Screen.ToPixelsY(y);
        ClientToScreen(hwnd_, &at);
    }
    HMENU popup = CreatePopupMenu();
    AppendItems(popup, menu.Items());
    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    const int chosen = static_cast<int>(TrackPopupMenu(
        popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
        at.y, 0, hwnd_, nullptr));
    DestroyMenu(popup);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    Menu* item = nullptr;
    if (chosen != 0)
        ForEachMenu(menu.Items(), [&](Menu& m) {
            if (m.id_ == chosen) item = &m;
        });
    if (item != nullptr) item->DoClick();
}

}  // namespace corvella::forms
