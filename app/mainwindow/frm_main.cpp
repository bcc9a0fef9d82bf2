#include "app/mainwindow/frm_main.h"

#include <algorithm>
#include <exception>

#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/pictures/pictures.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/win32/shell/playback_win32.h"
#include "app/foundation/win32/shell/shell_icons.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/mainwindow/frm_loading.h"
#include "app/mainwindow/hand_over.h"

namespace corvella {

using mainwindow::MainLayout;
using namespace foundation;

FrmMain::FrmMain() {
    Design();
    Wire();
}

FrmMain::~FrmMain() = default;

void FrmMain::Wire() {
    Form_Load = On(&FrmMain::Form_Load_);
    Form_QueryUnload = On(&FrmMain::Form_QueryUnload_);
    Form_Unload = On(&FrmMain::Form_Unload_);
    Form_Resize = On(&FrmMain::Form_Resize_);
    WindowProc = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        return Form_WindowProc(msg, wp, lp, result);
    };
    ReBar1.HeightChanged = On(&FrmMain::ReBar1_HeightChanged);
    cboVersion.Click = On(&FrmMain::cboVersion_Click);
    FTVWFiles.FolderSelected = On(&FrmMain::FTVWFiles_FolderSelected);
    lvFiles.ItemClick = On(&FrmMain::lvFiles_ItemClick);
    picContainer.Resize = On(&FrmMain::picContainer_Resize);
    picFolderContainer.Resize = On(&FrmMain::picFolderContainer_Resize);
    picLVContainer.Resize = On(&FrmMain::picLVContainer_Resize);
    picQEditContainer.Resize = On(&FrmMain::picQEditContainer_Resize);
    picSideBar.Resize = On(&FrmMain::picSideBar_Resize);
    imgSplitter.MouseDown = On(&FrmMain::imgSplitter_MouseDown);
    imgSplitter.MouseMove = On(&FrmMain::imgSplitter_MouseMove);
    imgSplitter.MouseUp = On(&FrmMain::imgSplitter_MouseUp);
    imgSplitterH.MouseDown = On(&FrmMain::imgSplitterH_MouseDown);
    imgSplitterH.MouseMove = On(&FrmMain::imgSplitterH_MouseMove);
    imgSplitterH.MouseUp = On(&FrmMain::imgSplitterH_MouseUp);
    Toolbar1.ButtonClick = On(&FrmMain::Toolbar1_ButtonClick);
    Toolbar2.ButtonClick = On(&FrmMain::Toolbar2_ButtonClick);
    Toolbar3.ButtonClick = On(&FrmMain::Toolbar3_ButtonClick);
    Toolbar5.ButtonClick = On(&FrmMain::Toolbar5_ButtonClick);
    Toolbar4.ForEach([this](platform::CommonToolbar& t) { t.ButtonClick = On(&FrmMain::Toolbar4_ButtonClick); });
    lblMoreTips.Click = On(&FrmMain::lblMoreTips_Click);
    m_popup.SetClickHandler([this](int32_t index) { m_popup_Click(index); });
    m_PopupViewMenu.SetClickHandler([this](int32_t index) { m_PopupViewMenu_Click(index); });
    WirePart2();
}

SettingsStore& FrmMain::Store() {
    if (store_ != nullptr) return *store_;
    if (!ownStore_) ownStore_ = std::make_unique<Win32SettingsStore>();
    return *ownStore_;
}

void FrmMain::Form_Load_() {
    LogHandOver("frmMain.Form_Load " + SplashValue());
    flat_.Create(*this);
    LoadTips(forms::App.Path() + "\\tips.tip");

    // The header's arrows and boxes, and the rows' check boxes.
    if (imlHeader.Count() == 0) LoadPictures(imlHeader, PictureSet::kHeader);
    if (imlCheck.Count() == 0) LoadPictures(imlCheck, PictureSet::kCheckBoxes);
    // The sorter draws with a copy of the header pictures that it frees
    // itself, after taking it back from the header.
    columnSorter_.InitializeListView(lvFiles.hWnd(), imlHeader.hImageList());

    // The MP3 files' shell icons for the list's views.
    iml32Temp.imageWidth = iml32Temp.imageHeight = 32;
    iml16Temp.imageWidth = iml16Temp.imageHeight = 16;
    for (auto [list, size] : {std::pair{&iml32Temp, shell::kLargeIcon}, std::pair{&iml16Temp, shell::kSmallIcon}}) {
        shell::ShellFileInfo info = shell::QueryExtensionInfo("MP3", size);
        if (info.icon != nullptr) {
            list->AddIcon(info.icon);
            DestroyIcon(info.icon);
        }
    }
    lvFiles.SetIcons(&iml32Temp);
    lvFiles.SetSmallIcons(&iml16Temp);

    if (shared_.genres != nullptr)
        for (const std::string& genre : *shared_.genres) cboGenre.AddItem(genre);

    BuildMenus();
    BuildToolbars();
    settingVersion_ = true;
    cboVersion.SetListIndex(0);
    settingVersion_ = false;
    BuildColumns();
    LoadPart2();
    RestoreLayout();
    const int32_t splitterH = imgSplitterH.Top();

    // From here on a failing step is skipped and the load goes on.
    forms::ResumeNext skip;
    skip([&] { RestoreColumns(); });
    skip([&] { EnhListView_Add_FullRowSelect(lvFiles.hWnd(), false); });
    for (forms::Control* pane : std::initializer_list<forms::Control*>{&picQEditContainer, &picFolderContainer, &picLVContainer, &picSideBar})
        skip([&] { flat_.SoftBorder(*pane); });
    skip([&] { lblMoreTips_Click(-1); });
    Toolbar4.ForEach([&](platform::CommonToolbar& t) { skip([&] { shell::MakeToolbarFlat(t.hWnd()); }); });
    skip([&] { EnhListView_Add_CheckBoxes(lvFiles.hWnd(), false); });
    // The list shares imlCheck's handle (it never frees shared lists), and
    // the check column's header shows the box from the sorter's pictures.
    skip([&] { EnhListView_SetStateImageList(lvFiles.hWnd(), imlCheck.hImageList()); });
    skip([&] {
        CheckHeaderImage = 2;
        EnhListView_SetHeaderImage(lvFiles.hWnd(), 0, CheckHeaderImage, true);
    });
    skip([&] { UpdateMenus(); });
    skip([&] { Form_Resize_(); });
    // The panes for the restored bars and grips. The container may keep its
    // size through the load, so that no resize of its own places them; and
    // its resize keeps the tip pane's height, which would move the stored
    // grip by the difference between design and restored sizes at every
    // start.
    skip([&] { ArrangeVerticalSplit(imgSplitter.Left()); });
    skip([&] { ArrangeHorizontalSplit(splitterH); });
    skip([&] { SetCheckColumnWidth(); });
    skip([&] { UpdateDisplay(cboVersion.ListIndex()); });
    FormLoaded = true;
}

mainwindow::LayoutLimits FrmMain::Limits() const {
    mainwindow::LayoutLimits l;
    MainLayout& d = l.defaults;
    d.width = width;
    d.height = height;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    l.workWidth = forms::Screen.ToTwipsX(work.right - work.left);
    l.workHeight = forms::Screen.ToTwipsY(work.bottom - work.top);
    d.left = forms::Screen.ToTwipsX(work.left) + std::max(0, (l.workWidth - d.width) / 2);
    d.top = forms::Screen.ToTwipsY(work.top) + std::max(0, (l.workHeight - d.height) / 2);
    d.splitterV = imgSplitter.Left();
    d.splitterH = imgSplitterH.Top();
    l.minWidth = forms::Screen.ToTwipsX(mainwindow::kMinTrackWidthPx);
    l.minHeight = forms::Screen.ToTwipsY(mainwindow::kMinTrackHeightPx);
    l.columnCount = lvFiles.ColumnHeaders.Count();
    return l;
}

// The stored layout: every value is read (and clamped) before any is
// applied, so one unusable value cannot leave the window half restored.
void FrmMain::RestoreLayout() {
    const MainLayout m = mainwindow::ReadMainLayout(Store(), Limits());
    forms::ResumeNext skip;
    skip([&] { Move(m.left, m.top, m.width, m.height); });
    skip([&] { imgSplitter.SetLeft(m.splitterV); });
    skip([&] { imgSplitterH.SetTop(m.splitterH); });
    RecursiveSearch = m.recursive;
    skip([&] { SetMenuChecked("mnuRecursive", m.recursive); });
    skip([&] { ToggleTagVersion(m.tagVersion); });
    skip([&] { SetViewMode(m.viewMode); });
    skip([&] {
        picFolderContainer.SetVisible(m.showFolderBar);
        SetMenuChecked("mnuFolders", m.showFolderBar);
        Toolbar1.SetPressed("btnFolders", m.showFolderBar);
    });
    skip([&] {
        SB1.SetVisible(m.showStatusBar);
        SetMenuChecked("mnuStatusBar", m.showStatusBar);
    });
    skip([&] {
        picQEditContainer.SetVisible(m.showTipBar);
        SetMenuChecked("mnuTipOfDay", m.showTipBar);
    });
    sortColumn_ = m.sortColumn;
    sortDirection_ = m.sortDirection;
    skip([&] {
        lvFiles.SetSortKey(m.sortColumn);
        lvFiles.SetSortOrder(m.sortDirection);
        // Every listing and re-read then keeps the order the header's arrow
        // shows; the check column (0) has no arrow and no order.
        lvFiles.SetSorted(m.sortColumn > 0);
    });
    skip([&] { columnSorter_.SetHeaderIcons(sortColumn_, sortDirection_); });
    skip([&] { Toolbar5.SetPressed(0, m.showTagBar); });
    skip([&] { UpdateTagBar(); });
    skip([&] { chkEllipsis.SetValue(m.ellipsis); });
    skip([&] { chkUpdateBoth.SetValue(m.updateBoth); });
    // Last: the tree reports the folder at once and arms the first listing.
    skip([&] { FTVWFiles.SetPath(m.folder); });
    if (FTVWFiles.Path().empty() || CurrentFolder.empty()) skip([&] { FTVWFiles.SetPath("Desktop"); });
}

void FrmMain::RestoreColumns() {
    const int n = lvFiles.ColumnHeaders.Count();
    std::vector<std::string> headers;
    for (int i = 1; i <= n; ++i) headers.push_back(lvFiles.ColumnHeaders(i).Text());
    forms::ResumeNext skip;
    for (int i = 2; i <= n; ++i) {
        const int32_t w = mainwindow::ReadColumnWidth(Store(), headers[i - 1]);
        skip([&] { lvFiles.ColumnHeaders(i).SetWidth(w); });
        if (i >= 3) skip([&] { m_PopupColMenu.SetChecked(i - 2, w >= 16); });
    }
    const std::vector<int32_t> order = mainwindow::ReadColumnOrder(Store(), headers);
    skip([&] { EnhListView_SetColumnOrder(lvFiles.hWnd(), order); });
}

void FrmMain::SaveLayout() {
    MainLayout m;
    m.left = Left();
    m.top = Top();
    m.width = Width();
    m.height = Height();
    m.splitterV = imgSplitter.Left();
    m.splitterH = imgSplitterH.Top();
    m.folder = FTVWFiles.Path();
    m.viewMode = lvFiles.View();
    m.showTipBar = picQEditContainer.Visible();
    m.showStatusBar = SB1.Visible();
    m.showFolderBar = picFolderContainer.Visible();
    m.showTagBar = Toolbar5.Pressed(0);
    m.recursive = RecursiveSearch;
    m.tagVersion = TagVersion;
    m.sortDirection = sortDirection_;
    m.sortColumn = sortColumn_;
    m.ellipsis = chkEllipsis.Value();
    m.updateBoth = chkUpdateBoth.Value();
    mainwindow::SaveMainLayout(Store(), m, WindowState() == forms::kNormal);
    if (lvFiles.View() != 3) return;
    std::vector<std::string> headers;
    std::vector<int32_t> widths, order;
    for (int i = 1; i <= lvFiles.ColumnHeaders.Count(); ++i) {
        headers.push_back(lvFiles.ColumnHeaders(i).Text());
        widths.push_back(lvFiles.ColumnHeaders(i).Width());
    }
    EnhListView_GetColumnOrder(lvFiles.hWnd(), order);
    mainwindow::SaveColumns(Store(), headers, widths, order);
}

// A close asked for while a listing runs waits for the listing: the listing
// uses the tag objects and the list that the close releases.
void FrmMain::Form_QueryUnload_(int& cancel, int) {
    if (!trigger_.RequestClose()) {
        cancel = 1;
        return;
    }
    closing_ = true;
    flat_.Destroy();
    try {
        SaveLayout();
    } catch (const std::exception& e) {
        forms::MsgBox(forms::ErrorText(e.what(), "frmMain.Form_QueryUnload", 0), MB_OK);
    }
    // No playback outlives the window, and no copy of the last played file
    // stays beside the program.
    shell::gMedia().StopAndDeleteScratch();
    if (m_Timer) m_Timer->Destroy();
    ReBar1.RemoveAllBands();
    for (platform::ToolbarHost* host : {&ToolbarHost1, &ToolbarHost2, &ToolbarHost4}) host->Detach();
    frmLoading().Unload();
}

void FrmMain::Form_Unload_(int&) { LogHandOver("frmMain.Form_Unload"); }

bool FrmMain::Form_WindowProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_SHOWWINDOW && wp != 0 && lp == 0) LogHandOver("frmMain shown " + SplashValue());
    if (msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize.x = mainwindow::kMinTrackWidthPx;
        info->ptMinTrackSize.y = mainwindow::kMinTrackHeightPx;
        info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXSCREEN);
        info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYSCREEN);
        result = 0;
        return true;
    }
    return false;
}

FrmMain& frmMain() { return forms::DefaultInstance<FrmMain>(); }

}  // namespace corvella
