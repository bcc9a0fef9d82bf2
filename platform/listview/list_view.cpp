#include "platform/listview/list_view.h"

#include <algorithm>
#include <climits>

namespace corvella::platform {

using forms::Error;
using forms::Screen;

namespace {

// A private message the list posts to itself: sort once the caller's
// current run of changes is over.
constexpr UINT kSortMessage = WM_APP + 0x61;
// An image index no list has: the row shows no icon (-1 would ask the
// parent for one).
constexpr int kNoImage = -2;

constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

bool ValidView(int mode) { return mode >= 0 && mode <= 3; }

std::string Narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

HWND RequireWindow(HWND hwnd) {
    if (hwnd == nullptr) throw Error("The list view has no window", 91);
    return hwnd;
}

struct SortContext {
    const std::vector<std::string>* keys;  // sort keys, by the item's slot
    bool descending;
};

}  // namespace

// ---- ListItem ---------------------------------------------------------------------

int ListItem::Row() const {
    HWND list = owner_->hWnd();
    if (list == nullptr) return -1;
    if (rowVersion_ == owner_->rowVersion_ && row_ >= 0) return row_;
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(this);
    const int row = static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(&find)));
    row_ = row;
    rowVersion_ = owner_->rowVersion_;
    return row;
}

void ListItem::SetKey(const std::string& key) {
    owner_->keys_.Remove(key_, this);
    key_ = key;
    owner_->keys_.Add(key_, this);
}

bool ListItem::Store(int k, std::string text) {
    if (k < 0) return false;
    const auto at = static_cast<size_t>(k);
    if (at >= texts_.size()) {
        if (text.empty()) return false;
        texts_.resize(at + 1);
    }
    if (texts_[at] == text) return false;
    texts_[at] = std::move(text);
    return true;
}

std::string ListItem::SubItem(int k) const {
    if (k < 0 || Row() < 0) return std::string();
    // Raw text messages land in the store too: it holds what the list shows.
    const auto at = static_cast<size_t>(k);
    return at < texts_.size() ? texts_[at] : std::string();
}

void ListItem::SetSubItem(int k, const std::string& text) {
    if (k < 0 || (k > 0 && k >= owner_->ColumnHeaders.Count()))
        throw Error("Invalid property value", 380);
    const int row = Row();
    if (row < 0 || !Store(k, text)) return;
    owner_->Repaint(row);
    owner_->DataChanged(k);
}

bool ListItem::Checked() const {
    const int row = Row();
    if (row < 0) return false;
    const auto state = static_cast<UINT>(
        SendMessageA(owner_->hWnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void ListItem::SetChecked(bool on) {
    const int row = Row();
    if (row < 0) return;
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    SendMessageA(owner_->hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool ListItem::Selected() const {
    const int row = Row();
    if (row < 0) return false;
    return (SendMessageA(owner_->hWnd(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
            LVIS_SELECTED) != 0;
}

void ListItem::SetSelected(bool on) {
    const int row = Row();
    if (row < 0) return;
    ++owner_->selectingFromCode_;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = on ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageA(owner_->hWnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    --owner_->selectingFromCode_;
}

int ListItem::Index() const { return Row() + 1; }

// ---- ColumnHeader ---------------------------------------------------------------------

std::string ColumnHeader::Text() const {
    HWND list = owner_->hWnd();
    if (list == nullptr) return text_;
    char buffer[260] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = sizeof buffer;
    if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index_ - 1), reinterpret_cast<LPARAM>(&column)))
        return text_;
    return buffer;
}

void ColumnHeader::SetText(const std::string& text) {
    text_ = text;
    HWND list = owner_->hWnd();
    if (list == nullptr) return;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(index_ - 1), reinterpret_cast<LPARAM>(&column));
}

int ColumnHeader::Width() const {
    HWND list = owner_->hWnd();
    if (list == nullptr) return width_;
    return Screen.ToTwipsX(static_cast<double>(
        SendMessageA(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index_ - 1), 0)));
}

void ColumnHeader::SetWidth(int twips) {
    if (twips < 0) throw Error("Invalid property value", 380);
    HWND list = owner_->hWnd();
    if (list == nullptr) {
        width_ = twips;
        return;
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index_ - 1),
                 MAKELPARAM(Screen.ToPixelsX(twips), 0));
}

// ---- collections ----------------------------------------------------------------------

ListItem& ListView::Items::Add(const std::string& key, const std::string& text, int smallIcon, int stateImage) {
    HWND list = RequireWindow(owner_.hWnd());
    std::unique_ptr<ListItem> made(new ListItem(owner_));
    ListItem* item = made.get();
    item->slot_ = owner_.items_.size();
    owner_.items_.push_back(std::move(made));
    item->Store(0, text);
    LVITEMA row{};
    row.mask = LVIF_PARAM | LVIF_TEXT | LVIF_IMAGE;
    row.iItem = INT_MAX;  // at the end
    row.pszText = LPSTR_TEXTCALLBACKA;
    row.iImage = smallIcon > 0 ? smallIcon - 1 : kNoImage;
    row.lParam = reinterpret_cast<LPARAM>(item);
    // A tick given with the row costs no change notifications, as a later
    // one would.
    if (stateImage > 0) {
        row.mask |= LVIF_STATE;
        row.stateMask = LVIS_STATEIMAGEMASK;
        row.state = INDEXTOSTATEIMAGEMASK(stateImage);
    }
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (at < 0) {
        owner_.Forget(item);
        throw Error("Out of memory", 7);
    }
    item->row_ = at;
    item->rowVersion_ = owner_.rowVersion_;
    if (!key.empty()) item->SetKey(key);
    owner_.DataChanged(owner_.SortKey());
    return *item;
}

ListItem& ListView::Items::Add(const std::string& key, const std::string& text, int smallIcon,
                               std::vector<std::string> cells, int stateImage) {
    const size_t columns = owner_.columns_.empty() ? 0 : owner_.columns_.size() - 1;
    if (cells.size() > columns) throw Error("Invalid property value", 380);
    ListItem& item = Add(key, text, smallIcon, stateImage);
    // The row is new and drawn only once the list asks for its cells.
    item.texts_.resize(cells.size() + 1);
    for (size_t k = 0; k < cells.size(); ++k) item.texts_[k + 1] = std::move(cells[k]);
    if (owner_.SortKey() > 0) owner_.DataChanged(owner_.SortKey());
    return item;
}

int ListView::Items::Count() const {
    HWND list = owner_.hWnd();
    return list == nullptr ? 0 : static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

ListItem* ListView::Items::operator()(int index) const { return owner_.ItemAt(index - 1); }

ListItem* ListView::Items::operator()(const std::string& key) const {
    return const_cast<ListItem*>(static_cast<const ListItem*>(owner_.keys_.Find(key)));
}

void ListView::Items::Remove(int index) {
    ListItem* item = owner_.ItemAt(index - 1);
    if (item == nullptr) throw Error("Index out of bounds", 35600);
    SendMessageA(owner_.hWnd(), LVM_DELETEITEM, static_cast<WPARAM>(index - 1), 0);
    owner_.Forget(item);  // when the notification did not
}

void ListView::Items::Clear() {
    if (owner_.hWnd() != nullptr) SendMessageA(owner_.hWnd(), LVM_DELETEALLITEMS, 0, 0);
    owner_.ForgetAll();
}

ColumnHeader& ListView::Columns::Add(const std::string& key, const std::string& text, int width) {
    if (width < 0) width = 1440;
    const int index = Count() + 1;
    owner_.columns_.emplace_back(new ColumnHeader(owner_, key, text, width, index));
    ColumnHeader& column = *owner_.columns_.back();
    if (HWND list = owner_.hWnd()) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(text.c_str());
        c.cx = Screen.ToPixelsX(width);
        c.iSubItem = index - 1;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&c));
    }
    return column;
}

ColumnHeader& ListView::Columns::operator()(int index) const {
    if (index < 1 || index > Count()) throw Error("Index out of bounds", 35600);
    return *owner_.columns_[static_cast<size_t>(index - 1)];
}

ColumnHeader& ListView::Columns::operator()(const std::string& key) const {
    for (const auto& column : owner_.columns_)
        if (!key.empty() && column->key_ == key) return *column;
    throw Error("Element not found", 35601);
}

// ---- ListView ---------------------------------------------------------------------

ListView::~ListView() { Destroy(); }

bool ListView::Create(forms::Container& parent) {
    if (Created()) return true;
    InitCommonControls();
    viewNow_ = ValidView(view) ? view : 3;
    DWORD style = WS_TABSTOP | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | kViewStyles[viewNow_];
    if (!hideSelection) style |= LVS_SHOWSELALWAYS;
    if (hideColumnHeaders) style |= LVS_NOCOLUMNHEADER;
    if (!CreateWindowIn(parent, WC_LISTVIEWA, style, borderStyle != 0 ? WS_EX_CLIENTEDGE : 0, "")) return false;
    sortedNow_ = sorted;
    sortKeyNow_ = sortKey;
    sortOrderNow_ = sortOrder;
    // Columns added before the window existed go in now, in order.
    for (const auto& column : columns_) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(column->text_.c_str());
        c.cx = Screen.ToPixelsX(column->width_);
        c.iSubItem = column->index_ - 1;
        SendMessageA(hWnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column->index_ - 1),
                     reinterpret_cast<LPARAM>(&c));
    }
    ApplyImageList(LVSIL_NORMAL, icons_);
    ApplyImageList(LVSIL_SMALL, smallIcons_);
    return true;
}

void ListView::OnDetach() {
    // The window's rows go with it; so do their objects. Columns keep their
    // last text and width as the design of a new window.
    if (hWnd() != nullptr) {
        for (const auto& column : columns_) {
            column->text_ = column->Text();
            column->width_ = column->Width();
        }
    }
    ForgetAll();
}

ListItem* ListView::ItemAt(int row) const {
    HWND list = hWnd();
    if (list == nullptr || row < 0) return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    auto* found = reinterpret_cast<ListItem*>(item.lParam);
    if (found != nullptr) {
        found->row_ = row;
        found->rowVersion_ = rowVersion_;
    }
    return found;
}

void ListView::Forget(ListItem* item) {
    if (item == nullptr || item->slot_ >= items_.size() || items_[item->slot_].get() != item) return;
    ++rowVersion_;
    keys_.Remove(item->key_, item);
    const size_t slot = item->slot_;
    if (slot + 1 != items_.size()) {
        items_[slot] = std::move(items_.back());
        items_[slot]->slot_ = slot;
    }
    items_.pop_back();
}

void ListView::ForgetAll() {
    ++rowVersion_;
    keys_.Clear();
    items_.clear();
}

ListItem* ListView::SelectedItem() const {
    HWND list = hWnd();
    if (list == nullptr) return nullptr;
    const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return ItemAt(row);
}

void ListView::SetSelectedItem(ListItem* item) {
    HWND list = RequireWindow(hWnd());
    ++selectingFromCode_;
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    --selectingFromCode_;
    if (item == nullptr) return;
    item->SetSelected(true);
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item->Row()), FALSE);
}

ListItem* ListView::HitTest(int x, int y) const {
    HWND list = hWnd();
    if (list == nullptr) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt.x = Screen.ToPixelsX(x);
    hit.pt.y = Screen.ToPixelsY(y);
    // In the details view any column of a row counts, not only its first.
    const UINT message = viewNow_ == 3 ? LVM_SUBITEMHITTEST : LVM_HITTEST;
    SendMessageA(list, message, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem < 0 || (hit.flags & LVHT_ONITEM) == 0) return nullptr;
    return ItemAt(hit.iItem);
}

void ListView::SetView(int mode) {
    if (!ValidView(mode)) return;
    Set(view, viewNow_, mode, [&] {
        const LONG style = GetWindowLongA(hWnd(), GWL_STYLE);
        SetWindowLongA(hWnd(), GWL_STYLE,
                       (style & ~static_cast<LONG>(LVS_TYPEMASK)) | static_cast<LONG>(kViewStyles[mode]));
    });
}

void ListView::SetSorted(bool on) {
    Set(sorted, sortedNow_, on, [&] { SortNow(); });
}

void ListView::SetSortKey(int subItem) {
    Set(sortKey, sortKeyNow_, subItem, [&] { SortNow(); });
}

void ListView::SetSortOrder(int order) {
    Set(sortOrder, sortOrderNow_, order, [&] { SortNow(); });
}

void ListView::SetIcons(forms::ImageList* images) {
    icons_ = images;
    ApplyImageList(LVSIL_NORMAL, images);
}

void ListView::SetSmallIcons(forms::ImageList* images) {
    smallIcons_ = images;
    ApplyImageList(LVSIL_SMALL, images);
}

void ListView::ApplyImageList(int which, forms::ImageList* images) {
    if (hWnd() == nullptr) return;
    // The list shares its image lists: the form's image list stays their only owner.
    SendMessageA(hWnd(), LVM_SETIMAGELIST, static_cast<WPARAM>(which),
                 reinterpret_cast<LPARAM>(images != nullptr ? images->hImageList() : nullptr));
}

void ListView::SetArrange(int how) {
    if (hWnd() == nullptr || (how != LVA_ALIGNLEFT && how != LVA_ALIGNTOP)) return;
    SendMessageA(hWnd(), LVM_ARRANGE, static_cast<WPARAM>(how), 0);
}

void ListView::DataChanged(int subItem) {
    if (sortedNow_ && subItem == sortKeyNow_) SortLater();
}

const std::string* ListView::StoredText(int row, int subItem, LPARAM param) const {
    // The list hands over the row's item object; a row whose param was
    // changed by a raw message is looked up.
    const ListItem* item = param != 0 ? reinterpret_cast<const ListItem*>(param) : ItemAt(row);
    if (item == nullptr || item->owner_ != this || subItem < 0) return nullptr;
    const auto at = static_cast<size_t>(subItem);
    return at < item->texts_.size() ? &item->texts_[at] : nullptr;
}

void ListView::GiveText(int row, int subItem, LPARAM param, char* buffer, int size) const {
    if (buffer == nullptr || size <= 0 || buffer == LPSTR_TEXTCALLBACKA) return;
    const std::string* text = StoredText(row, subItem, param);
    const size_t n = text != nullptr ? std::min(text->size(), static_cast<size_t>(size - 1)) : 0;
    if (n > 0) std::copy_n(text->data(), n, buffer);
    buffer[n] = '\0';
}

void ListView::GiveText(int row, int subItem, LPARAM param, wchar_t* buffer, int size) const {
    if (buffer == nullptr || size <= 0 || buffer == LPSTR_TEXTCALLBACKW) return;
    buffer[0] = L'\0';
    const std::string* text = StoredText(row, subItem, param);
    if (text == nullptr || text->empty()) return;
    std::vector<wchar_t> wide(text->size() + 1);
    const int made = MultiByteToWideChar(CP_ACP, 0, text->c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    const size_t n = std::min(static_cast<size_t>(made > 0 ? made - 1 : 0), static_cast<size_t>(size - 1));
    std::copy_n(wide.data(), n, buffer);
    buffer[n] = L'\0';
}

bool ListView::TakeRawText(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const bool wide = msg == LVM_SETITEMTEXTW || msg == LVM_SETITEMW;
    const bool setItem = msg == LVM_SETITEMA || msg == LVM_SETITEMW;
    // LVITEMA and LVITEMW differ only in the type of pszText.
    auto* item = reinterpret_cast<LVITEMA*>(lp);
    if (item == nullptr || (setItem && (item->mask & LVIF_TEXT) == 0)) return false;
    if (item->pszText == LPSTR_TEXTCALLBACKA || item->iSubItem < 0) return false;
    const int row = setItem ? item->iItem : static_cast<int>(wp);
    ListItem* owner = ItemAt(row);
    if (owner == nullptr) return false;
    std::string text;
    if (item->pszText != nullptr)
        text = wide ? Narrow(reinterpret_cast<const wchar_t*>(item->pszText)) : std::string(item->pszText);
    // The list keeps the cell a callback; the sender's structure is as it was after.
    char* given = item->pszText;
    item->pszText = LPSTR_TEXTCALLBACKA;
    result = DefaultMessage(msg, wp, lp);
    item->pszText = given;
    if (result != 0 && owner->Store(item->iSubItem, std::move(text))) {
        Repaint(row);
        DataChanged(item->iSubItem);
    }
    return true;
}

void ListView::Repaint(int row) const {
    HWND list = hWnd();
    if (list == nullptr || redrawOff_ || !IsWindowVisible(list)) return;
    SendMessageA(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void ListView::SortLater() {
    // Rows are added and filled by index in one pass; sorting under that
    // pass would move them. The sort runs once the pass yields.
    if (sortPosted_ || hWnd() == nullptr) return;
    sortPosted_ = PostMessageA(hWnd(), kSortMessage, 0, 0) != FALSE;
}

void ListView::SortNow() {
    sortPosted_ = false;
    HWND list = hWnd();
    if (list == nullptr || !sortedNow_) return;
    // The texts compare as CompareString does in the user's locale without
    // regard to case; their sort keys give that same order byte by byte,
    // made once a row instead of once a comparison (10,000 paths: seconds).
    std::vector<std::string> keys(items_.size());
    for (size_t slot = 0; slot < items_.size(); ++slot) {
        const std::string text = items_[slot]->SubItem(sortKeyNow_);
        std::string& key = keys[slot];
        key.resize(static_cast<size_t>(std::max(
            0, LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, nullptr, 0))));
        if (!key.empty())
            LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.c_str(), -1, &key[0],
                         static_cast<int>(key.size()));
    }
    // The compare function gets the rows' item objects; their slots lead to the keys.
    SortContext context{&keys, sortOrderNow_ != 0};
    struct Adapter {
        static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM ctx) {
            const auto* c = reinterpret_cast<const SortContext*>(ctx);
            const std::string& ka = (*c->keys)[reinterpret_cast<const ListItem*>(a)->slot_];
            const std::string& kb = (*c->keys)[reinterpret_cast<const ListItem*>(b)->slot_];
            const int r = ka.compare(kb);
            const int sign = r < 0 ? -1 : r > 0 ? 1 : 0;
            return c->descending ? -sign : sign;
        }
    };
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                 reinterpret_cast<LPARAM>(&Adapter::Compare));
    ++rowVersion_;
    const int selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (selected >= 0) SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
}

bool ListView::OnNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        const bool nowSelected = (change->uChanged & LVIF_STATE) != 0 &&
                                 (change->uNewState & LVIS_SELECTED) != 0 &&
                                 (change->uOldState & LVIS_SELECTED) == 0;
        if (!nowSelected || change->iItem < 0 || selectingFromCode_ > 0) return false;
        ListItem* item = ItemAt(change->iItem);
        if (item != nullptr && ItemClick) Fire("ItemClick", [&] { ItemClick(*item); });
        return false;
    }
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        if (column < 0 || column >= ColumnHeaders.Count()) return false;
        ColumnHeader& clicked = *columns_[static_cast<size_t>(column)];
        if (ColumnClick) Fire("ColumnClick", [&] { ColumnClick(clicked); });
        return false;
    }
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if ((info->item.mask & LVIF_TEXT) != 0)
            GiveText(info->item.iItem, info->item.iSubItem, info->item.lParam, info->item.pszText,
                     info->item.cchTextMax);
        result = 0;
        return true;
    }
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if ((info->item.mask & LVIF_TEXT) != 0)
            GiveText(info->item.iItem, info->item.iSubItem, info->item.lParam, info->item.pszText,
                     info->item.cchTextMax);
        result = 0;
        return true;
    }
    case LVN_INSERTITEM:
        // A row put in front of others (not by this wrapper) moves them.
        if (reinterpret_cast<NMLISTVIEW*>(header)->iItem + 1 < ListItems.Count()) ++rowVersion_;
        return false;
    case LVN_DELETEITEM:
        Forget(reinterpret_cast<ListItem*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam));
        return false;
    case LVN_DELETEALLITEMS:
        ForgetAll();
        result = TRUE;  // no notification per row
        return true;
    default:
        return false;
    }
}

LRESULT ListView::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kSortMessage:
        // Not when a sort ran since the message was posted.
        if (sortPosted_) SortNow();
        return 0;
    case LVM_SETITEMTEXTA:
    case LVM_SETITEMTEXTW:
    case LVM_SETITEMA:
    case LVM_SETITEMW: {
        LRESULT result = 0;
        if (TakeRawText(msg, wp, lp, result)) return result;
        break;
    }
    case WM_SETREDRAW:
        redrawOff_ = wp == 0;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        buttonUpSeen_ = true;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // The list view tracks a press itself and takes the release out of
        // the queue; the release the program sees is made here, at the
        // press's point, once the button is up.
        buttonUpSeen_ = false;
        FireCommonEvent(msg, wp, lp);
        const LRESULT result = DefaultMessage(msg, wp, lp);
        if (!Created()) return result;
        const bool left = msg == WM_LBUTTONDOWN;
        const UINT up = left ? WM_LBUTTONUP : WM_RBUTTONUP;
        MSG pending;
        const bool stillDown = (GetKeyState(left ? VK_LBUTTON : VK_RBUTTON) & 0x8000) != 0;
        if (!buttonUpSeen_ && !stillDown && !PeekMessageA(&pending, hWnd(), up, up, PM_NOREMOVE))
            FireCommonEvent(up, wp & ~static_cast<WPARAM>(left ? MK_LBUTTON : MK_RBUTTON), lp);
        return result;
    }
    default:
        break;
    }
    return Control::OnMessage(msg, wp, lp);
}

}  // namespace corvella::platform
