// The sort arrow in the file list's header: the sorted column shows an
// ascending (image 0) or descending (image 1) arrow beside its text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace corvella {
namespace foundation {

class CColumnSort {
public:
    CColumnSort() = default;
    ~CColumnSort();
    CColumnSort(const CColumnSort&) = delete;
    CColumnSort& operator=(const CColumnSort&) = delete;

    // Keeps the list view and its own copy of `arrows`, so the caller keeps
    // and frees its list as it likes. A second call drops the first copy.
    // False when no copy could be made (SetHeaderIcons then does nothing).
    bool InitializeListView(HWND list_view, HIMAGELIST arrows);

    // Puts the arrow (descending when `descending` is not 0) into header
    // item `sort_column` and resets every other item but column 0 to text.
    // Only in report view, and only after InitializeListView.
    void SetHeaderIcons(int32_t sort_column, int32_t descending);

    HIMAGELIST image_list() const { return images_; }

private:
    void Release();

    HWND list_view_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HWND header_ = nullptr;  // found on the first SetHeaderIcons
};

}  // namespace foundation
}  // namespace corvella
