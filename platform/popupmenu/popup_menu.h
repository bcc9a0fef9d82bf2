// Popup menus of the main window: items are built in order, addressed by a
// 1-based index (separators count) or by a text key, filed under a name and
// shown at a point of the owner window. The chosen item's index is reported
// through the click handler.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/ids.h"

namespace corvella {
namespace platform {

// A menu made for showing; destroys the menu and the item bitmaps with it.
class MenuHandle {
public:
    MenuHandle() = default;
    ~MenuHandle();
    MenuHandle(MenuHandle&& other) noexcept;
    MenuHandle& operator=(MenuHandle&& other) noexcept;
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;

    HMENU get() const { return menu_; }

private:
    friend class PopupMenu;
    void Reset();
    HMENU menu_ = nullptr;
    std::vector<HBITMAP> bitmaps_;
};

class PopupMenu {
public:
    using ClickHandler = std::function<void(int32_t index)>;

    // Menu command ids are this base plus the item's index, inside the range
    // the forms' id table keeps for them.
    static constexpr UINT kCommandBase = forms::kPopupMenuIdFirst;
    static constexpr int32_t kMaxItems = forms::kPopupMenuIdLast - forms::kPopupMenuIdFirst + 1;

    PopupMenu() = default;
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // The window the menu belongs to; show positions are relative to its
    // client area.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }

    // Images for the items' icons. The caller keeps the list and frees it
    // after the menu's last show.
    void SetImageList(HIMAGELIST images) { images_ = images; }

    // Empties the menu and forgets the stored names.
    void Clear();

    // Adds an item below `parent` (0 = top level; an item with children is
    // a sub-menu) and returns its index, or 0 when the parent is no item or
    // a separator. The caption "-" makes a separator; icon -1 is none.
    int32_t AddItem(const std::string& caption, const std::string& help_text = std::string(),
                    int32_t item_data = 0, int32_t parent = 0, int32_t icon = -1, bool checked = false,
                    bool enabled = true, const std::string& key = std::string());

    // Inserts an item in front of item `before`, under the same parent, and
    // returns its index (= before); the items from there on move up by one.
    // `before` = Count() + 1 appends at the top level. 0 when out of range.
    int32_t InsertItem(const std::string& caption, int32_t before, const std::string& help_text = std::string(),
                       int32_t item_data = 0, int32_t icon = -1, bool checked = false, bool enabled = true,
                       const std::string& key = std::string());

    // Removes the first item with that key, with its sub-menu; the items
    // after it move down. No effect when no item has the key.
    void RemoveItem(const std::string& key);

    // The first item with that key, 0 when none (or the key is empty).
    int32_t IndexForKey(const std::string& key) const;

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }

    // Item properties; an index out of range gives empty values and is
    // ignored by the setters.
    std::string ItemKey(int32_t index) const;
    std::string Caption(int32_t index) const;
    std::string HelpText(int32_t index) const;
    int32_t ItemData(int32_t index) const;
    int32_t Parent(int32_t index) const;
    bool Checked(int32_t index) const;
    void SetChecked(int32_t index, bool checked);
    bool Enabled(int32_t index) const;
    void SetEnabled(int32_t index, bool enabled);

    // Makes the item the first of a group of mutually exclusive choices: it
    // and the items after it under the same parent, up to a separator or the
    // next group's first item. Group items show a round mark.
    void SetOptionGroupStart(int32_t index, bool start);
    bool OptionGroupStart(int32_t index) const;
    // Marks the item as its group's choice and clears the others' marks.
    void SetOptionChoice(int32_t index);

    // Ends a build: files the items added since the last store under `name`.
    // A later build stored under the same name replaces the earlier one's
    // items (those before it then move down), so a menu may be built again
    // without clearing it. Items inserted in front of a filed item belong to
    // its name.
    void Store(const std::string& name);
    std::vector<std::string> StoredNames() const;

    // Shows the menu at (x, y), twips in the owner's client area, and returns
    // after the user chose or dismissed it: the chosen index or 0. A non-empty
    // rectangle (twips, same origin) is kept free of the menu. When
    // `raise_click`, a choice also reaches the click handler before Show
    // returns. 0 at once without an owner window.
    int32_t Show(int32_t x, int32_t y, int32_t exclude_left = 0, int32_t exclude_top = 0, int32_t exclude_right = 0,
                 int32_t exclude_bottom = 0, bool raise_click = true);

    void SetClickHandler(ClickHandler handler) { on_click_ = std::move(handler); }
    // The names an error of the click handler is reported under: the
    // owner's form and the member that holds the menu ("frmMain",
    // "m_popup" give "frmMain.m_popup_Click"). The handler runs inside the
    // forms' error boundary, so nothing it throws crosses a window procedure.
    void SetEventNames(const std::string& owner, const std::string& member) {
        owner_name_ = owner;
        member_name_ = member;
    }

    // The Win32 menu of the items filed under `stored_name`, or of all items
    // when it is empty. Command ids are CommandId(index).
    MenuHandle BuildMenu(const std::string& stored_name = std::string()) const;

    static UINT CommandId(int32_t index) { return kCommandBase + static_cast<UINT>(index); }
    // The index of a command id of this menu, 0 when it is not one.
    int32_t IndexOfCommand(UINT id) const;

    // A WM_COMMAND id from a menu made by BuildMenu: raises Click for an
    // enabled command item and returns true; false for anything else.
    bool DispatchCommand(UINT id);

private:
    struct Item {
        std::string caption, help_text, key;
        int32_t item_data = 0;
        int32_t parent = 0;  // index, 0 = top level
        int32_t icon = -1;
        bool checked = false;
        bool enabled = true;
        bool group_start = false;
        bool filed = false;
        std::string stored_name;
    };

    bool Valid(int32_t index) const { return index >= 1 && index <= Count(); }
    const Item& At(int32_t index) const { return items_[static_cast<size_t>(index - 1)]; }
    Item& At(int32_t index) { return items_[static_cast<size_t>(index - 1)]; }
    bool IsSeparator(int32_t index) const { return At(index).caption == "-"; }
    bool HasChildren(int32_t index) const;
    std::vector<int32_t> Siblings(int32_t index) const;
    std::vector<int32_t> OptionGroup(int32_t index) const;  // empty when none
    void RemoveIndexes(std::vector<bool> doomed);            // by position, with descendants
    void AppendChildren(HMENU menu, int32_t parent, const std::vector<bool>& shown, MenuHandle& out) const;
    HBITMAP IconBitmap(int32_t icon) const;

    std::vector<Item> items_;
    HWND owner_ = nullptr;
    HIMAGELIST images_ = nullptr;
    void RaiseClick(int32_t index);

    ClickHandler on_click_;
    std::string owner_name_ = "PopupMenu";
    std::string member_name_;
};

}  // namespace platform
}  // namespace corvella
