#include "app/mainwindow/core/main_layout.h"

#include <algorithm>

namespace corvella::mainwindow {

Box ContainerBox(int32_t rebarPx, int32_t ty, int32_t formScaleWidth, int32_t formScaleHeight,
                 bool statusVisible, int32_t statusHeight) {
    Box b;
    b.left = 0;
    b.top = rebarPx * ty + 2 * ty;
    b.width = formScaleWidth;
    b.height = formScaleHeight - rebarPx * ty - (statusVisible ? statusHeight : 0);
    return b;
}

VerticalSplit ArrangeVertical(int32_t x, bool folderVisible, int32_t width, int32_t height,
                              int32_t sideBarWidth, int32_t ty) {
    VerticalSplit s;
    if (x > width - sideBarWidth - kSplitLimit) x = width - sideBarWidth - kSplitLimit;
    if (x < kSplitLimit) x = kSplitLimit;
    s.x = x;
    s.sideBar.left = width - sideBarWidth;
    s.sideBar.width = sideBarWidth;
    if (folderVisible) {
        s.folder = {0, 0, x, height - 3 * ty};
        s.splitter = {x, 0, 0, s.folder.height};
        s.list.left = s.tip.left = x + kFolderGap;
        s.sideBar.height = s.folder.height;
    } else {
        s.list.left = s.tip.left = 0;
        s.sideBar.height = height - 45;
    }
    s.list.width = s.tip.width = width - sideBarWidth - s.list.left;
    return s;
}

HorizontalSplit ArrangeHorizontal(int32_t y, bool tipVisible, int32_t height, int32_t barHeight,
                                  int32_t ty) {
    HorizontalSplit s;
    if (!tipVisible) {
        s.y = y;
        s.list.top = 15;
        s.list.height = height - 3 * ty;
        return s;
    }
    if (y > height - kHorizontalLimit) {
        y = height - kHorizontalLimit;
    } else if (y < kHorizontalLimit) {
        y = kHorizontalLimit;
    }
    s.y = y;
    const int32_t b = barHeight + y + 30;
    s.list.top = 0;
    s.list.height = y + 30;
    s.tip.top = b;
    s.tip.height = height - b - 2 * ty;
    return s;
}

int32_t DragVerticalTo(int32_t p, int32_t formWidth) {
    if (p < kSplitLimit) return kSplitLimit;
    if (p > formWidth - kSplitLimit) return formWidth - kSplitLimit;
    return p;
}

int32_t DragHorizontalTo(int32_t p, int32_t containerHeight) {
    if (p < kHorizontalLimit) return kHorizontalLimit;
    return std::min(p, containerHeight - kHorizontalLimit);
}

int32_t SideBarWidth(bool open) { return open ? kSideBarOpen : kSideBarClosed; }

}  // namespace corvella::mainwindow
