#include "platform/popupmenu/popup_menu.h"

#include "platform/forms/runtime.h"

#include <utility>

namespace corvella {
namespace platform {

MenuHandle::~MenuHandle() { Reset(); }

MenuHandle::MenuHandle(MenuHandle&& other) noexcept
    : menu_(std::exchange(other.menu_, nullptr)), bitmaps_(std::move(other.bitmaps_)) {
    other.bitmaps_.clear();
}

MenuHandle& MenuHandle::operator=(MenuHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        menu_ = std::exchange(other.menu_, nullptr);
        bitmaps_ = std::move(other.bitmaps_);
        other.bitmaps_.clear();
    }
    return *this;
}

void MenuHandle::Reset() {
    // DestroyMenu frees the sub-menus but not the item bitmaps.
    if (menu_ != nullptr) DestroyMenu(menu_);
    menu_ = nullptr;
    for (HBITMAP b : bitmaps_) DeleteObject(b);
    bitmaps_.clear();
}

void PopupMenu::Clear() { items_.clear(); }

int32_t PopupMenu::AddItem(const std::string& caption, const std::string& help_text, int32_t item_data,
                           int32_t parent, int32_t icon, bool checked, bool enabled, const std::string& key) {
    if (Count() >= kMaxItems) return 0;
    if (parent != 0 && (!Valid(parent) || IsSeparator(parent))) return 0;
    Item item;
    item.caption = caption;
    item.help_text = help_text;
    item.key = key;
    item.item_data = item_data;
    item.parent = parent;
    item.icon = icon;
    item.checked = checked;
    item.enabled = enabled;
    items_.push_back(std::move(item));
    return Count();
}

int32_t PopupMenu::InsertItem(const std::string& caption, int32_t before, const std::string& help_text,
                              int32_t item_data, int32_t icon, bool checked, bool enabled, const std::string& key) {
    if (Count() >= kMaxItems || before < 1 || before > Count() + 1) return 0;
    Item item;
    item.caption = caption;
    item.help_text = help_text;
    item.key = key;
    item.item_data = item_data;
    item.icon = icon;
    item.checked = checked;
    item.enabled = enabled;
    if (before <= Count()) {
        const Item& next = At(before);
        item.parent = next.parent;  // < before, so the shift below leaves it
        item.filed = next.filed;
        item.stored_name = next.stored_name;
    }
    for (Item& other : items_)
        if (other.parent >= before) ++other.parent;
    items_.insert(items_.begin() + (before - 1), std::move(item));
    return before;
}

void PopupMenu::RemoveItem(const std::string& key) {
    const int32_t index = IndexForKey(key);
    if (index == 0) return;
    std::vector<bool> doomed(items_.size(), false);
    doomed[static_cast<size_t>(index - 1)] = true;
    RemoveIndexes(std::move(doomed));
}

void PopupMenu::RemoveIndexes(std::vector<bool> doomed) {
    // A parent comes before its children, so one pass takes whole sub-trees.
    for (size_t i = 0; i < items_.size(); ++i) {
        const int32_t p = items_[i].parent;
        if (p != 0 && doomed[static_cast<size_t>(p - 1)]) doomed[i] = true;
    }
    std::vector<int32_t> renumbered(items_.size() + 1, 0);
    int32_t next = 0;
    for (size_t i = 0; i < items_.size(); ++i)
        if (!doomed[i]) renumbered[i + 1] = ++next;
    std::vector<Item> kept;
    kept.reserve(static_cast<size_t>(next));
    for (size_t i = 0; i < items_.size(); ++i) {
        if (doomed[i]) continue;
        Item item = std::move(items_[i]);
        item.parent = renumbered[static_cast<size_t>(item.parent)];
        kept.push_back(std::move(item));
    }
    items_ = std::move(kept);
}

int32_t PopupMenu::IndexForKey(const std::string& key) const {
    if (key.empty()) return 0;  // keyless items are not addressed by key
    for (int32_t i = 1; i <= Count(); ++i)
        if (At(i).key == key) return i;
    return 0;
}

std::string PopupMenu::ItemKey(int32_t index) const { return Valid(index) ? At(index).key : std::string(); }
std::string PopupMenu::Caption(int32_t index) const { return Valid(index) ? At(index).caption : std::string(); }
std::string PopupMenu::HelpText(int32_t index) const { return Valid(index) ? At(index).help_text : std::string(); }
int32_t PopupMenu::ItemData(int32_t index) const { return Valid(index) ? At(index).item_data : 0; }
int32_t PopupMenu::Parent(int32_t index) const { return Valid(index) ? At(index).parent : 0; }
bool PopupMenu::Checked(int32_t index) const { return Valid(index) && At(index).checked; }
bool PopupMenu::Enabled(int32_t index) const { return Valid(index) && At(index).enabled; }
bool PopupMenu::OptionGroupStart(int32_t index) const { return Valid(index) && At(index).group_start; }

void PopupMenu::SetChecked(int32_t index, bool checked) {
    if (Valid(index)) At(index).checked = checked;
}

void PopupMenu::SetEnabled(int32_t index, bool enabled) {
    if (Valid(index)) At(index).enabled = enabled;
}

void PopupMenu::SetOptionGroupStart(int32_t index, bool start) {
    if (Valid(index)) At(index).group_start = start;
}

bool PopupMenu::HasChildren(int32_t index) const {
    for (const Item& item : items_)
        if (item.parent == index) return true;
    return false;
}

std::vector<int32_t> PopupMenu::Siblings(int32_t index) const {
    std::vector<int32_t> out;
    const int32_t parent = At(index).parent;
    for (int32_t i = 1; i <= Count(); ++i)
        if (At(i).parent == parent) out.push_back(i);
    return out;
}

std::vector<int32_t> PopupMenu::OptionGroup(int32_t index) const {
    if (!Valid(index) || IsSeparator(index)) return {};
    const std::vector<int32_t> siblings = Siblings(index);
    size_t pos = 0;
    while (siblings[pos] != index) ++pos;
    size_t start = pos;
    for (;;) {
        const int32_t i = siblings[start];
        if (IsSeparator(i)) return {};
        if (At(i).group_start) break;
        if (start == 0) return {};
        --start;
    }
    std::vector<int32_t> group{siblings[start]};
    for (size_t k = start + 1; k < siblings.size(); ++k) {
        const int32_t i = siblings[k];
        if (IsSeparator(i) || At(i).group_start) break;
        group.push_back(i);
    }
    return group;
}

void PopupMenu::SetOptionChoice(int32_t index) {
    if (!Valid(index) || IsSeparator(index)) return;
    for (int32_t member : OptionGroup(index)) At(member).checked = false;
    At(index).checked = true;
}

void PopupMenu::Store(const std::string& name) {
    if (name.empty()) return;
    bool fresh = false;
    std::vector<bool> doomed(items_.size(), false);
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].filed)
            fresh = true;
        else if (items_[i].stored_name == name)
            doomed[i] = true;
    }
    if (!fresh) return;  // nothing built since the last store: keep what is filed
    RemoveIndexes(std::move(doomed));
    for (Item& item : items_) {
        if (item.filed) continue;
        item.filed = true;
        item.stored_name = name;
    }
}

std::vector<std::string> PopupMenu::StoredNames() const {
    std::vector<std::string> names;
    for (const Item& item : items_) {
        if (!item.filed) continue;
        bool known = false;
        for (const std::string& n : names) known = known || n == item.stored_name;
        if (!known) names.push_back(item.stored_name);
    }
    return names;
}

HBITMAP PopupMenu::IconBitmap(int32_t icon) const {
    if (images_ == nullptr || icon < 0 || icon >= ImageList_GetImageCount(images_)) return nullptr;
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images_, &cx, &cy)) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, cx, cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    ImageList_Draw(images_, icon, dc, 0, 0, ILD_TRANSPARENT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

void PopupMenu::AppendChildren(HMENU menu, int32_t parent, const std::vector<bool>& shown, MenuHandle& out) const {
    for (int32_t i = 1; i <= Count(); ++i) {
        if (!shown[static_cast<size_t>(i)]) continue;
        const Item& item = At(i);
        // Roots of a filed part are its items whose parent lies outside it.
        const bool root = item.parent == 0 || !shown[static_cast<size_t>(item.parent)];
        if (parent == 0 ? !root : item.parent != parent) continue;

        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID;
        mii.wID = CommandId(i);
        if (IsSeparator(i)) {
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fMask |= MIIM_STRING | MIIM_STATE | MIIM_DATA;
            mii.fType = MFT_STRING | (OptionGroup(i).empty() ? 0 : MFT_RADIOCHECK);
            mii.fState = (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled ? MFS_ENABLED : MFS_GRAYED);
            mii.dwTypeData = const_cast<char*>(item.caption.c_str());
            mii.dwItemData = static_cast<ULONG_PTR>(item.item_data);
            if (HBITMAP icon = IconBitmap(item.icon)) {
                out.bitmaps_.push_back(icon);
                mii.fMask |= MIIM_BITMAP;
                mii.hbmpItem = icon;
            }
            if (HasChildren(i)) {
                HMENU sub = CreatePopupMenu();
                AppendChildren(sub, i, shown, out);
                mii.fMask |= MIIM_SUBMENU;
                mii.hSubMenu = sub;
            }
        }
        InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mii);
    }
}

MenuHandle PopupMenu::BuildMenu(const std::string& stored_name) const {
    MenuHandle out;
    std::vector<bool> shown(items_.size() + 1, false);
    for (int32_t i = 1; i <= Count(); ++i)
        shown[static_cast<size_t>(i)] = stored_name.empty() || (At(i).filed && At(i).stored_name == stored_name);
    out.menu_ = CreatePopupMenu();
    if (out.menu_ != nullptr) AppendChildren(out.menu_, 0, shown, out);
    return out;
}

int32_t PopupMenu::IndexOfCommand(UINT id) const {
    if (id <= kCommandBase) return 0;
    const UINT index = id - kCommandBase;
    return index <= static_cast<UINT>(Count()) ? static_cast<int32_t>(index) : 0;
}

bool PopupMenu::DispatchCommand(UINT id) {
    const int32_t index = IndexOfCommand(id);
    if (index == 0 || IsSeparator(index) || HasChildren(index) || !At(index).enabled) return false;
    RaiseClick(index);
    return true;
}

void PopupMenu::RaiseClick(int32_t index) {
    ClickHandler handler = on_click_;  // the handler may replace itself
    if (handler) forms::RunHandler(owner_name_, member_name_, "Click", [&] { handler(index); });
}

int32_t PopupMenu::Show(int32_t x, int32_t y, int32_t exclude_left, int32_t exclude_top, int32_t exclude_right,
                        int32_t exclude_bottom, bool raise_click) {
    if (owner_ == nullptr || !IsWindow(owner_) || items_.empty()) return 0;
    auto to_screen = [&](int32_t tx, int32_t ty) {
        POINT p = {forms::Screen.ToPixelsX(tx), forms::Screen.ToPixelsY(ty)};
        ClientToScreen(owner_, &p);
        return p;
    };
    const POINT at = to_screen(x, y);
    TPMPARAMS params = {};
    params.cbSize = sizeof(params);
    const bool exclude = exclude_right > exclude_left && exclude_bottom > exclude_top;
    if (exclude) {
        const POINT a = to_screen(exclude_left, exclude_top);
        const POINT b = to_screen(exclude_right, exclude_bottom);
        params.rcExclude = {a.x, a.y, b.x, b.y};
    }
    UINT id = 0;
    {
        MenuHandle menu = BuildMenu();
        id = static_cast<UINT>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                at.x, at.y, owner_, exclude ? &params : nullptr));
    }
    const int32_t index = IndexOfCommand(id);
    if (index != 0 && raise_click) RaiseClick(index);
    return index;
}

}  // namespace platform
}  // namespace corvella
