// Panes, splitters and bars of the main window. Sizes are twips; the
// arithmetic is mainwindow::ArrangeVertical / ArrangeHorizontal.
#include "app/mainwindow/frm_main.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "app/mainwindow/core/main_layout.h"

namespace corvella {

namespace {

int TwipsY() { return static_cast<int>(std::lround(forms::Screen.TwipsPerPixelY())); }
int TwipsX() { return static_cast<int>(std::lround(forms::Screen.TwipsPerPixelX())); }

// Pixels the check column needs to show its pictures whole: a row's box
// (the state image after the list's edge) and the header's box (its image
// between the header's margins).
int CheckColumnPixels(HWND list) {
    int stateCx = 0, headerCx = 0, unused = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_STATE, 0)),
                          &stateCx, &unused);
    const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0)), &headerCx,
                          &unused);
    const int margin = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    return std::max(stateCx + 2 * GetSystemMetrics(SM_CXEDGE), headerCx + 2 * margin);
}

}  // namespace

void FrmMain::Form_Resize_() {
    if (WindowState() == forms::kMinimized) return;
    forms::ResumeNext skip;
    skip([&] { ReBar1.Layout(); });
    skip([&] { ReBar1_HeightChanged(ReBar1.BarHeight()); });
}

void FrmMain::ReBar1_HeightChanged(long height) {
    if (WindowState() == forms::kMinimized) return;
    const mainwindow::Box b = mainwindow::ContainerBox(static_cast<int32_t>(height), TwipsY(), ScaleWidth(),
                                                       ScaleHeight(), SB1.Visible(), SB1.Height());
    forms::ResumeNext skip;
    skip([&] { picContainer.Move(b.left, b.top, b.width, std::max<int32_t>(0, b.height)); });
}

void FrmMain::picContainer_Resize(int) {
    forms::ResumeNext skip;
    skip([&] { ArrangeVerticalSplit(imgSplitter.Left()); });
    skip([&] {
        ArrangeHorizontalSplit(picContainer.ScaleHeight() -
                               (picQEditContainer.ScaleHeight() + imgSplitterH.Height()));
    });
}

void FrmMain::ArrangeVerticalSplit(int32_t x) {
    const int32_t w = picContainer.ScaleWidth();
    const int32_t h = picContainer.ScaleHeight();
    const bool folders = picFolderContainer.Visible();
    const mainwindow::VerticalSplit s = mainwindow::ArrangeVertical(x, folders, w, h, picSideBar.Width(), TwipsY());
    forms::ResumeNext skip;
    if (folders) {
        skip([&] { picFolderContainer.Move(0, 0, s.folder.width, s.folder.height); });
        skip([&] { imgSplitter.Move(s.x, 0, mainwindow::kFolderGap, s.folder.height); });
        skip([&] { picSplitter.SetHeight(s.folder.height); });
    }
    imgSplitter.SetVisible(folders);
    skip([&] { picLVContainer.Move(s.list.left, picLVContainer.Top(), std::max(0, s.list.width), picLVContainer.Height()); });
    skip([&] { picQEditContainer.Move(s.tip.left, picQEditContainer.Top(), std::max(0, s.tip.width), picQEditContainer.Height()); });
    skip([&] { imgSplitterH.Move(s.list.left, imgSplitterH.Top(), std::max(0, s.list.width), imgSplitterH.Height()); });
    skip([&] { picSplitterH.SetWidth(std::max(0, s.list.width)); });
    skip([&] { picSideBar.Move(s.sideBar.left, 0, s.sideBar.width, std::max(0, s.sideBar.height)); });
}

void FrmMain::ArrangeHorizontalSplit(int32_t y) {
    const int32_t h = picContainer.ScaleHeight();
    const bool tips = picQEditContainer.Visible();
    const mainwindow::HorizontalSplit s = mainwindow::ArrangeHorizontal(y, tips, h, picSplitterH.Height(), TwipsY());
    forms::ResumeNext skip;
    if (!tips) {
        skip([&] { picLVContainer.Move(picLVContainer.Left(), s.list.top, picLVContainer.Width(), std::max(0, s.list.height)); });
        imgSplitterH.SetVisible(false);
        return;
    }
    imgSplitterH.SetVisible(true);
    skip([&] { imgSplitterH.SetTop(s.y); });
    skip([&] { picLVContainer.Move(picLVContainer.Left(), 0, picLVContainer.Width(), s.list.height); });
    skip([&] { picQEditContainer.Move(picQEditContainer.Left(), s.tip.top, picQEditContainer.Width(), std::max(0, s.tip.height)); });
    skip([&] { TipBarHeader.SetHeight(picQEditContainer.ScaleHeight()); });
    skip([&] { ToolbarHost1.Move(15, 30); });
}

void FrmMain::picFolderContainer_Resize(int) {
    const int w = picFolderContainer.ScaleWidth();
    FolderHeader.SetWidth(std::max(0, w - 5 * TwipsX()));
    ToolbarHost2.SetLeft(std::max(0, w - ToolbarHost2.Width() - 3 * TwipsX()));
    FTVWFiles.SetWidth(w);
    FTVWFiles.SetHeight(std::max(0, picFolderContainer.ScaleHeight() - FTVWFiles.Top()));
}

void FrmMain::picLVContainer_Resize(int) {
    forms::ResumeNext skip;
    skip([&] { lvFiles.Move(0, 0, picLVContainer.ScaleWidth(), picLVContainer.ScaleHeight()); });
}

void FrmMain::picQEditContainer_Resize(int) {
    const int w = picQEditContainer.ScaleWidth();
    forms::ResumeNext skip;
    skip([&] { lblMoreTips.SetLeft(w - 1000); });
    skip([&] { HTMLLabel.SetWidth(std::max(0, w - HTMLLabel.Left() - 25 * TwipsX())); });
    skip([&] { HTMLLabel.SetHeight(std::max(0, picQEditContainer.ScaleHeight() - HTMLLabel.Top())); });
    skip([&] { HTMLLabel.Refresh(false); });
}

void FrmMain::picSideBar_Resize(int) {
    forms::ResumeNext skip;
    skip([&] { FlatBoxContainer1.Move(0, 0, picSideBar.ScaleWidth(), picSideBar.ScaleHeight()); });
}

// ---- splitter drags ----

void FrmMain::imgSplitter_MouseDown(int, int button, int, int, int) {
    if (button != forms::kLeftButton) return;
    picSplitter.Move(imgSplitter.Left(), imgSplitter.Top(), imgSplitter.Width() / 2, imgSplitter.Height() - 20);
    picSplitter.SetVisible(true);
    draggingV_ = true;
}

void FrmMain::imgSplitter_MouseMove(int, int, int, int x, int) {
    if (!draggingV_) return;
    picSplitter.SetLeft(mainwindow::DragVerticalTo(imgSplitter.Left() + x, picContainer.ScaleWidth()));
}

void FrmMain::imgSplitter_MouseUp(int, int, int, int, int) {
    if (!draggingV_) return;
    draggingV_ = false;
    ArrangeVerticalSplit(picSplitter.Left());
    picSplitter.SetVisible(false);
}

void FrmMain::imgSplitterH_MouseDown(int, int button, int, int, int) {
    if (button != forms::kLeftButton) return;
    picSplitterH.Move(picLVContainer.Left(), imgSplitterH.Top(), imgSplitterH.Width(), picSplitterH.Height());
    picSplitterH.SetVisible(true);
    draggingH_ = true;
}

void FrmMain::imgSplitterH_MouseMove(int, int, int, int, int y) {
    if (!draggingH_) return;
    picSplitterH.SetTop(mainwindow::DragHorizontalTo(imgSplitterH.Top() + y, picContainer.ScaleHeight()));
}

void FrmMain::imgSplitterH_MouseUp(int, int, int, int, int) {
    if (!draggingH_) return;
    draggingH_ = false;
    ArrangeHorizontalSplit(picSplitterH.Top());
    picSplitterH.SetVisible(false);
}

// ---- bars ----

void FrmMain::ShowFolderBar(bool visible) {
    picFolderContainer.SetVisible(visible);
    SetMenuChecked("mnuFolders", visible);
    Toolbar1.SetPressed("btnFolders", visible);
    picContainer_Resize(-1);
}

void FrmMain::ShowTipBar(bool visible) {
    picQEditContainer.SetVisible(visible);
    SetMenuChecked("mnuTipOfDay", visible);
    picContainer_Resize(-1);
}

void FrmMain::ShowStatusBar(bool visible) {
    SB1.SetVisible(visible);
    SetMenuChecked("mnuStatusBar", visible);
    Form_Resize_();
}

void FrmMain::Toolbar2_ButtonClick(int&) { ShowTipBar(false); }
void FrmMain::Toolbar3_ButtonClick(int&) { ShowFolderBar(false); }

// The bar toolbar's check button (style 2) leaves its state to the click:
// the handler turns it over once and the bar follows that state.
void FrmMain::Toolbar5_ButtonClick(int& button) {
    Toolbar5.SetPressed(button, !Toolbar5.Pressed(button));
    UpdateTagBar();
}

void FrmMain::UpdateTagBar() {
    const bool open = Toolbar5.Pressed(0);
    picSideBar.SetWidth(mainwindow::SideBarWidth(open));
    Picture3.SetVisible(open);
    // The splitter's own position, not the drag bar's design place: the
    // restored folder pane keeps its width.
    ArrangeVerticalSplit(imgSplitter.Left());
}

void FrmMain::Toolbar4_ButtonClick(int, platform::ToolbarButton&) { SetCheckColumnWidth(); }

// Hidden while no field is toggled; else as wide as its boxes need.
void FrmMain::SetCheckColumnWidth() {
    if (lvFiles.ColumnHeaders.Count() < 1) return;
    lvFiles.ColumnHeaders(1).SetWidth(NoFieldSelected() ? 0 : CheckColumnPixels(lvFiles.hWnd()) * TwipsX());
}

}  // namespace corvella
