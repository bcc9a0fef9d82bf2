// The arithmetic of the main window's client area: where the rebar leaves
// the pane container, how the vertical and horizontal splitters place the
// folder, list, tip and side-bar panes, where a dragged splitter bar may go,
// and the side bar's two widths. Portable; all lengths are twips unless
// said.
#pragma once

#include <cstdint>

namespace corvella::mainwindow {

struct Box {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

constexpr int32_t kSplitLimit = 2000;         // folder pane's least width, and from the right edge
constexpr int32_t kHorizontalLimit = 1500;    // tip splitter's distance from top and bottom
constexpr int32_t kFolderGap = 70;            // folder pane to list pane
constexpr int32_t kSideBarOpen = 4635;
constexpr int32_t kSideBarClosed = 435;
constexpr int32_t kMinTrackWidthPx = 550;
constexpr int32_t kMinTrackHeightPx = 400;

// The pane container below a rebar `rebarPx` pixels high and above the
// status bar when it shows: two pixels under the rebar, the height not
// taking them off.
Box ContainerBox(int32_t rebarPx, int32_t twipsPerPixelY, int32_t formScaleWidth,
                 int32_t formScaleHeight, bool statusVisible, int32_t statusHeight);

struct VerticalSplit {
    int32_t x = 0;  // the splitter position used, after the limits
    Box folder;     // meaningful when the folder pane shows
    Box splitter;   // the grip, likewise
    Box list;       // left, width (top and height come from the horizontal split)
    Box tip;        // left, width
    Box sideBar;
};

// Places the panes for the vertical splitter at `x` in a container
// `width` x `height`. The position is kept between the split limit and the
// container's width less the side bar and the limit, so a position saved
// in a wider window cannot push the list out of sight.
VerticalSplit ArrangeVertical(int32_t x, bool folderVisible, int32_t width, int32_t height,
                              int32_t sideBarWidth, int32_t twipsPerPixelY);

struct HorizontalSplit {
    int32_t y = 0;  // the grip's top after the limits
    Box list;       // top, height
    Box tip;        // top, height
};

// Places list and tip panes for the horizontal splitter at `y`;
// `barHeight` is the drag bar's height.
HorizontalSplit ArrangeHorizontal(int32_t y, bool tipVisible, int32_t height, int32_t barHeight,
                                  int32_t twipsPerPixelY);

// Where a dragged bar may stand, for the pointer at `p`.
int32_t DragVerticalTo(int32_t p, int32_t formWidth);
int32_t DragHorizontalTo(int32_t p, int32_t containerHeight);

int32_t SideBarWidth(bool open);

}  // namespace corvella::mainwindow
