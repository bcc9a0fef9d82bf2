#include "app/cdrip/ripper/ripper_controls.h"

#include <commctrl.h>

namespace corvella {

TabStrip::TabStrip() { underSiblings_ = true; }

bool TabStrip::Create(forms::Container& parent) {
    if (!CreateWindowIn(parent, WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS, 0, "")) return false;
    HIMAGELIST pictures = imageList != nullptr ? imageList->hImageList() : nullptr;
    if (pictures != nullptr) SendMessageA(hWnd(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures));
    for (size_t i = 0; i < tabs.size(); ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(tabs[i].c_str());
        item.iImage = pictures != nullptr && i < images.size() ? images[i] - 1 : -1;
        SendMessageA(hWnd(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    return true;
}

int TabStrip::SelectedTab() const {
    return Created() ? static_cast<int>(SendMessageA(hWnd(), TCM_GETCURSEL, 0, 0)) + 1 : 1;
}

void TabStrip::SetSelectedTab(int tab) {
    if (!Created() || tab < 1 || tab > static_cast<int>(tabs.size()) || tab == SelectedTab()) return;
    SendMessageA(hWnd(), TCM_SETCURSEL, static_cast<WPARAM>(tab - 1), 0);
    if (Click) Click(index);
}

bool TabStrip::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    result = 0;
    if (Click) Click(index);
    return true;
}

bool MultiListBox::Create(forms::Container& parent) {
    const DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL;
    if (!CreateWindowIn(parent, "LISTBOX", style, WS_EX_CLIENTEDGE, "")) return false;
    FillList();
    return true;
}

bool MultiListBox::Selected(int at) const {
    return Created() && SendMessageA(hWnd(), LB_GETSEL, static_cast<WPARAM>(at), 0) > 0;
}

void MultiListBox::SetSelected(int at, bool on) {
    if (!Created()) return;
    SendMessageA(hWnd(), LB_SETSEL, on ? TRUE : FALSE, static_cast<LPARAM>(at));
    if (Click) Click(index);
}

int MultiListBox::SelCount() const {
    if (!Created()) return 0;
    const LRESULT n = SendMessageA(hWnd(), LB_GETSELCOUNT, 0, 0);
    return n < 0 ? 0 : static_cast<int>(n);
}

void MultiListBox::OnCommand(int code) {
    if (code == LBN_SELCHANGE && Click) Click(index);
}

}  // namespace corvella
