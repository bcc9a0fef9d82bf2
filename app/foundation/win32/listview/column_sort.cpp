#include "app/foundation/win32/listview/column_sort.h"
#include "app/foundation/win32/listview/mod_list_view.h"

#include <vector>

#include "app/foundation/listview_sort.h"

namespace corvella {
namespace foundation {

CColumnSort::~CColumnSort() { Release(); }

void CColumnSort::Release() {
    // The header must not draw with images that are gone.
    if (header_ != nullptr && IsWindow(header_) &&
        reinterpret_cast<HIMAGELIST>(SendMessageA(header_, HDM_GETIMAGELIST, 0, 0)) == images_)
        SendMessageA(header_, HDM_SETIMAGELIST, 0, 0);
    if (images_ != nullptr) ImageList_Destroy(images_);
    images_ = nullptr;
    header_ = nullptr;
    list_view_ = nullptr;
}

bool CColumnSort::InitializeListView(HWND list_view, HIMAGELIST arrows) {
    Release();
    list_view_ = list_view;
    images_ = arrows != nullptr ? CopyImageList(arrows) : nullptr;
    return images_ != nullptr;
}

void CColumnSort::SetHeaderIcons(int32_t sort_column, int32_t descending) {
    if (list_view_ == nullptr || images_ == nullptr || !IsWindow(list_view_)) return;
    if ((GetWindowLongA(list_view_, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) return;
    if (header_ == nullptr || !IsWindow(header_)) {
        header_ = reinterpret_cast<HWND>(SendMessageA(list_view_, LVM_GETHEADER, 0, 0));
        if (header_ == nullptr) return;
        SendMessageA(header_, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    }
    const int count = static_cast<int>(SendMessageA(header_, HDM_GETITEMCOUNT, 0, 0));
    std::vector<bool> right_aligned;
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT;
        SendMessageA(list_view_, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        right_aligned.push_back((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT);
    }
    for (const HeaderItemFormat& f : SortHeaderFormats(right_aligned, sort_column, descending)) {
        HDITEMA item = {};
        item.mask = f.mask;
        item.fmt = f.format;
        item.iImage = f.image;
        SendMessageA(header_, HDM_SETITEMA, static_cast<WPARAM>(f.column), reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace foundation
}  // namespace corvella
