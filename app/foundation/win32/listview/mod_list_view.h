// List-view helpers for the file list: extended styles, check boxes driven
// by state images, column order and header images, sent as ANSI list-view
// and header messages to the control's window.
//
// The helpers with a `show_errors` argument return false on any failure
// and, when asked, tell the user in a message box titled
// "Error in Function : <helper>" whose text is "Error", the error number, a
// tab and the description. Tests replace that box through SetErrorBoxHook.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvella {
namespace foundation {

// Error boxes are shown through the forms' MsgBox (and captured by its hook).

// Adds LVS_EX_FULLROWSELECT / LVS_EX_CHECKBOXES to the extended style,
// keeping the others. False when the list view did not take it.
bool EnhListView_Add_FullRowSelect(HWND list_view, bool show_errors);
bool EnhListView_Add_CheckBoxes(HWND list_view, bool show_errors);

// Adds LVS_EX_SUBITEMIMAGES when `enable` and then gives sub-item
// `sub_item` of row `item` (1-based) the image `image`; removes the style
// otherwise. False when a message failed.
bool EnhListView_SubItemImages(HWND list_view, int32_t item, int32_t sub_item, int32_t image,
                               bool enable);

// Ticks (state image 2) or unticks (state image 1) every row. An empty list
// is left as it is and gives true.
bool EnhLitView_CheckAllItems(HWND list_view, bool show_errors);
bool EnhLitView_UnCheckAllItems(HWND list_view, bool show_errors);

// The display position of each column: order[i] is the column shown i-th.
// False, silently, when the list view cannot tell; `order` is then empty.
bool EnhListView_GetColumnOrder(HWND list_view, std::vector<int32_t>& order);

// Shows the columns in `order`. An order that is not a permutation of the
// list's columns (wrong length, repeated or unknown columns: a damaged
// saved layout) is refused: the columns go back to their natural order and
// the result is false. True when the given order was applied.
bool EnhListView_SetColumnOrder(HWND list_view, const std::vector<int32_t>& order);

// Gives the list view its check-box images. The list view gets its own copy
// of `images` unless it shares its image lists (LVS_SHAREIMAGELISTS), so the
// caller keeps and frees `images` either way; a copy this helper put there
// earlier is freed when it is replaced, and the current one by the list view
// when it is destroyed. False when the list view kept none.
bool EnhListView_SetStateImageList(HWND list_view, HIMAGELIST images);

// A new list with the images of `images` (the caller destroys it); null
// when none could be made. ImageList_Duplicate comes with the common
// controls of Internet Explorer 5, so it is looked up; without it the
// images are copied one by one.
HIMAGELIST CopyImageList(HIMAGELIST images);

// Header item `column` (0-based) shows image `image` alone when
// `show_image`, else its text. False when the header refused.
bool EnhListView_SetHeaderImage(HWND list_view, int32_t column, int32_t image, bool show_image);

// checked[i] tells whether row i is ticked (state image 2).
void EnhListView_ShowCheckedItems(HWND list_view, std::vector<bool>& checked);

}  // namespace foundation
}  // namespace corvella
