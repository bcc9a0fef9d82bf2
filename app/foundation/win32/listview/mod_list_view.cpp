#include "app/foundation/win32/listview/mod_list_view.h"

#include <algorithm>
#include <utility>

#include "app/foundation/listview_sort.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace foundation {
namespace {

struct Failure {
    DWORD number;
    std::string description;
};

std::string SystemText(DWORD number) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, number, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = n != 0 && buffer != nullptr ? std::string(buffer, n) : std::string();
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

Failure BadWindow() {
    std::string text = SystemText(ERROR_INVALID_WINDOW_HANDLE);
    if (text.empty()) text = "Invalid window handle.";
    return {ERROR_INVALID_WINDOW_HANDLE, text};
}

Failure Refused(const std::string& what) { return {ERROR_INVALID_PARAMETER, "The list view refused " + what + "."}; }

// Returns false after telling the user, when asked.
bool Report(HWND list_view, const char* helper, bool show_errors, const Failure& failure) {
    if (!show_errors) return false;
    const std::string text = "Error" + std::to_string(failure.number) + "\t" + failure.description;
    const std::string title = std::string("Error in Function : ") + helper;
    HWND owner = GetActiveWindow();
    if (IsWindow(list_view)) {
        // Up to the top-level window (GetAncestor is missing on Windows 95).
        owner = list_view;
        while ((GetWindowLongA(owner, GWL_STYLE) & WS_CHILD) && GetParent(owner) != nullptr)
            owner = GetParent(owner);
    }
    forms::MsgBox(owner, text, MB_OK | MB_ICONINFORMATION, title);
    return false;
}

DWORD ExtendedStyle(HWND list_view) {
    return static_cast<DWORD>(SendMessageA(list_view, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

bool AddExtendedStyle(HWND list_view, DWORD flag, const char* helper, bool show_errors) {
    if (!IsWindow(list_view)) return Report(list_view, helper, show_errors, BadWindow());
    SendMessageA(list_view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ExtendedStyle(list_view) | flag);
    // Read back: a window that is no list view answers 0 and takes nothing.
    if ((ExtendedStyle(list_view) & flag) != flag)
        return Report(list_view, helper, show_errors, Refused("the extended style"));
    return true;
}

bool SetAllStates(HWND list_view, UINT state, const char* helper, bool show_errors) {
    if (!IsWindow(list_view)) return Report(list_view, helper, show_errors, BadWindow());
    const int count = static_cast<int>(SendMessageA(list_view, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.stateMask = kStateImageMask;
        item.state = state;
        if (!SendMessageA(list_view, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            return Report(list_view, helper, show_errors,
                          Refused("the check state of row " + std::to_string(i + 1)));
    }
    return true;
}

int ColumnCount(HWND list_view) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_view, LVM_GETHEADER, 0, 0));
    if (header == nullptr) return -1;
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

bool IsPermutation(const std::vector<int32_t>& order, int count) {
    if (static_cast<int>(order.size()) != count) return false;
    std::vector<bool> seen(static_cast<size_t>(count), false);
    for (int32_t column : order) {
        if (column < 0 || column >= count || seen[static_cast<size_t>(column)]) return false;
        seen[static_cast<size_t>(column)] = true;
    }
    return true;
}

bool SendColumnOrder(HWND list_view, std::vector<int> order) {
    if (order.empty()) return true;
    return SendMessageA(list_view, LVM_SETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())) != 0;
}

}  // namespace

bool EnhListView_Add_FullRowSelect(HWND list_view, bool show_errors) {
    return AddExtendedStyle(list_view, LVS_EX_FULLROWSELECT, "EnhListView_Add_FullRowSelect", show_errors);
}

bool EnhListView_Add_CheckBoxes(HWND list_view, bool show_errors) {
    return AddExtendedStyle(list_view, LVS_EX_CHECKBOXES, "EnhListView_Add_CheckBoxes", show_errors);
}

bool EnhListView_SubItemImages(HWND list_view, int32_t item, int32_t sub_item, int32_t image, bool enable) {
    if (!IsWindow(list_view)) return false;
    const DWORD style = ExtendedStyle(list_view);
    SendMessageA(list_view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 enable ? (style | LVS_EX_SUBITEMIMAGES) : (style & ~static_cast<DWORD>(LVS_EX_SUBITEMIMAGES)));
    if (!enable) return true;
    LVITEMA lv = {};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item - 1;
    lv.iSubItem = sub_item;
    lv.iImage = image;
    return SendMessageA(list_view, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv)) != 0;
}

bool EnhLitView_CheckAllItems(HWND list_view, bool show_errors) {
    return SetAllStates(list_view, kStateChecked, "EnhLitView_CheckAllItems", show_errors);
}

bool EnhLitView_UnCheckAllItems(HWND list_view, bool show_errors) {
    return SetAllStates(list_view, kStateUnchecked, "EnhLitView_UnCheckAllItems", show_errors);
}

bool EnhListView_GetColumnOrder(HWND list_view, std::vector<int32_t>& order) {
    order.clear();
    if (!IsWindow(list_view)) return false;
    const int count = ColumnCount(list_view);
    if (count < 0) return false;
    if (count == 0) return true;
    std::vector<int> raw(static_cast<size_t>(count), 0);
    if (!SendMessageA(list_view, LVM_GETCOLUMNORDERARRAY, raw.size(), reinterpret_cast<LPARAM>(raw.data())))
        return false;
    order.assign(raw.begin(), raw.end());
    return true;
}

bool EnhListView_SetColumnOrder(HWND list_view, const std::vector<int32_t>& order) {
    if (!IsWindow(list_view)) return false;
    const int count = ColumnCount(list_view);
    if (count < 0) return false;
    if (!IsPermutation(order, count)) {
        std::vector<int> natural(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) natural[static_cast<size_t>(i)] = i;
        SendColumnOrder(list_view, natural);
        return false;
    }
    return SendColumnOrder(list_view, std::vector<int>(order.begin(), order.end()));
}

bool EnhListView_SetStateImageList(HWND list_view, HIMAGELIST images) {
    if (!IsWindow(list_view)) return false;
    const bool shared = (GetWindowLongA(list_view, GWL_STYLE) & LVS_SHAREIMAGELISTS) != 0;
    HIMAGELIST given = images;
    if (!shared && images != nullptr) {
        // The list view destroys its state images with itself; the caller's
        // list must not be destroyed twice, so the list view gets a copy.
        given = CopyImageList(images);
        if (given == nullptr) return false;
    }
    HIMAGELIST previous = reinterpret_cast<HIMAGELIST>(
        SendMessageA(list_view, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(given)));
    // A replaced list is no longer the list view's to free: without shared
    // lists it was a copy of ours or the list view's own check-box images.
    if (!shared && previous != nullptr && previous != given) ImageList_Destroy(previous);
    const HIMAGELIST now = reinterpret_cast<HIMAGELIST>(SendMessageA(list_view, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    return now == given && given != nullptr;
}

HIMAGELIST CopyImageList(HIMAGELIST images) {
    if (images == nullptr) return nullptr;
    using Duplicate = HIMAGELIST(WINAPI*)(HIMAGELIST);
    static const Duplicate duplicate = [] {
        HMODULE comctl = GetModuleHandleA("comctl32.dll");
        return comctl != nullptr ? reinterpret_cast<Duplicate>(GetProcAddress(comctl, "ImageList_Duplicate"))
                                 : nullptr;
    }();
    if (duplicate != nullptr) return duplicate(images);
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy)) return nullptr;
    const int count = ImageList_GetImageCount(images);
    HIMAGELIST copy = ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, count, 4);
    if (copy == nullptr) return nullptr;
    for (int i = 0; i < count; ++i) {
        HICON icon = ImageList_GetIcon(images, i, ILD_NORMAL);
        const int at = icon != nullptr ? ImageList_ReplaceIcon(copy, -1, icon) : -1;
        if (icon != nullptr) DestroyIcon(icon);
        if (at < 0) {
            ImageList_Destroy(copy);
            return nullptr;
        }
    }
    return copy;
}

bool EnhListView_SetHeaderImage(HWND list_view, int32_t column, int32_t image, bool show_image) {
    if (!IsWindow(list_view)) return false;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_view, LVM_GETHEADER, 0, 0));
    if (header == nullptr) return false;
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = show_image ? HDF_IMAGE : HDF_STRING;
    item.iImage = image;
    return SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)) != 0;
}

void EnhListView_ShowCheckedItems(HWND list_view, std::vector<bool>& checked) {
    checked.clear();
    if (!IsWindow(list_view)) return;
    const int count = static_cast<int>(SendMessageA(list_view, LVM_GETITEMCOUNT, 0, 0));
    checked.resize(static_cast<size_t>(std::max(count, 0)), false);
    for (int i = 0; i < count; ++i) {
        const UINT state = static_cast<UINT>(
            SendMessageA(list_view, LVM_GETITEMSTATE, static_cast<WPARAM>(i), kStateImageMask));
        checked[static_cast<size_t>(i)] = (state & kStateChecked) != 0;
    }
}

}  // namespace foundation
}  // namespace corvella
