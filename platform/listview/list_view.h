// The list view of the program's forms: rows with a key, a text and
// sub-items, check boxes, columns with widths in twips, four views and a
// text sort, over the common controls' SysListView32. hWnd() is the list
// view itself, so the list-view helpers, the flat header and raw LVM_/HDM_
// messages work on the same window the wrapper reads: check state,
// selection, texts, column widths and order are always read from it.
//
// The texts of rows added here are kept by the wrapper, not by the list view:
// each cell is LPSTR_TEXTCALLBACK and the list asks for it with
// LVN_GETDISPINFO when it draws or when anyone (the helpers, the sort, another
// program) reads it with LVM_GETITEMTEXT/LVM_GETITEM. A text set by a raw
// LVM_SETITEMTEXT/LVM_SETITEM lands in the same store, so either way reads
// back what was set last. Filling a row thus costs no message per cell.
//
// Rows and columns count from 1. A row is found by its key without regard to
// letter case, an exact match first (RowKeys); a key that is missing gives
// null, a key given twice is kept on both rows: neither stops a listing.
//
// Widths: twips become pixels with the screen's twips per pixel, a half
// going to the even neighbour, and a width reads back as its pixels times
// the twips per pixel; 1700 twips at 15 twips a pixel is 113 pixels and
// reads back as 1695 twips.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/listview/row_keys.h"

namespace corvella::platform {

class ListView;

// A row. The object lives as long as its row: removing the row (from code or
// by a raw LVM_DELETEITEM) deletes it.
class ListItem {
public:
    std::string Key() const { return key_; }
    void SetKey(const std::string& key);
    std::string Text() const { return SubItem(0); }
    void SetText(const std::string& text) { SetSubItem(0, text); }
    // Sub-item k is shown in column k + 1; 0 is the row's text.
    std::string SubItem(int k) const;
    void SetSubItem(int k, const std::string& text);
    // The check box: state image 2 ticked, 1 not.
    bool Checked() const;
    void SetChecked(bool on);
    // Selecting from code raises no ItemClick.
    bool Selected() const;
    void SetSelected(bool on);
    // The row's place in the list now, from 1.
    int Index() const;
    ListView& Owner() const { return *owner_; }

private:
    friend class ListView;
    explicit ListItem(ListView& owner) : owner_(&owner) {}
    int Row() const;  // 0-based, -1 when gone
    // Stores a cell's text; true when it changed.
    bool Store(int k, std::string text);
    ListView* owner_;
    std::string key_;
    std::vector<std::string> texts_;  // by sub-item; missing ones are empty
    size_t slot_ = 0;
    // The row last seen, good while the list's row version is unchanged.
    mutable int row_ = -1;
    mutable unsigned rowVersion_ = 0;
};

class ColumnHeader {
public:
    std::string Key() const { return key_; }
    std::string Text() const;
    void SetText(const std::string& text);
    int Width() const;  // twips
    void SetWidth(int twips);
    int Index() const { return index_; }
    int SubItemIndex() const { return index_ - 1; }
    // The caller's own value (the sort direction the program keeps there).
    std::string tag;

private:
    friend class ListView;
    ColumnHeader(ListView& owner, std::string key, std::string text, int width, int index)
        : owner_(&owner), key_(std::move(key)), text_(std::move(text)), width_(width), index_(index) {}
    ListView* owner_;
    std::string key_;
    std::string text_;  // the design text until the window exists
    int width_;         // twips, likewise
    int index_;
};

// How the list view shows its rows (ListView::view, SetView).
enum ListViewMode : int { kViewIcon = 0, kViewSmallIcon = 1, kViewList = 2, kViewReport = 3 };

class ListView : public forms::Control {
public:
    // ---- design ----
    int view = kViewReport;  // a ListViewMode
    bool sorted = false;
    int sortKey = 0;    // the sub-item the sort compares (0 = the text)
    int sortOrder = 0;  // 0 ascending, 1 descending
    bool hideSelection = false;
    bool hideColumnHeaders = false;
    int borderStyle = 1;  // 1 a sunken edge, 0 none

    // ---- events ----
    // Every change of the selected row, by mouse (either button) or keys;
    // not when code selects.
    std::function<void(ListItem& item)> ItemClick;
    std::function<void(ColumnHeader& column)> ColumnClick;
    // DblClick, MouseDown, MouseUp (twips; also the right button's, which
    // the list view's own tracking would swallow), KeyDown... as every control.

    // The rows: ListItems.Add(), ListItems(3), ListItems("C:\\a.mp3").
    class Items {
    public:
        // Appends a row; `smallIcon` is a 1-based image of the small-icon
        // list, 0 for none; `stateImage` a 1-based state image (with check
        // boxes 1 unticked, 2 ticked), 0 for the list's default.
        ListItem& Add(const std::string& key = std::string(), const std::string& text = std::string(),
                      int smallIcon = 0, int stateImage = 0);
        // Adds a row with its sub-item texts (cells[k] for sub-item k + 1)
        // in one go: one message for the row, none for its cells.
        ListItem& Add(const std::string& key, const std::string& text, int smallIcon,
                      std::vector<std::string> cells, int stateImage = 0);
        int Count() const;
        // Null outside 1..Count.
        ListItem* operator()(int index) const;
        // Null when no row carries the key.
        ListItem* operator()(const std::string& key) const;
        ListItem* operator()(const char* key) const { return (*this)(std::string(key)); }
        void Remove(int index);
        void Clear();

    private:
        friend class ListView;
        explicit Items(ListView& owner) : owner_(owner) {}
        ListView& owner_;
    } ListItems{*this};

    class Columns {
    public:
        // Width in twips; negative: the default (1440).
        ColumnHeader& Add(const std::string& key = std::string(), const std::string& text = std::string(),
                          int width = -1);
        int Count() const { return static_cast<int>(owner_.columns_.size()); }
        // Error 35600 outside 1..Count; Error 35601 for a missing key.
        ColumnHeader& operator()(int index) const;
        ColumnHeader& operator()(const std::string& key) const;

    private:
        friend class ListView;
        explicit Columns(ListView& owner) : owner_(owner) {}
        ListView& owner_;
    } ColumnHeaders{*this};

    ListView() = default;
    ~ListView() override;

    bool Create(forms::Container& parent) override;

    // The first selected row, null when none.
    ListItem* SelectedItem() const;
    // Selects that row only (null: none); no ItemClick.
    void SetSelectedItem(ListItem* item);
    // The row at (x, y), twips in the control; null when none.
    ListItem* HitTest(int x, int y) const;

    int View() const { return Get(view, viewNow_); }
    // 0 to 3; any other value is ignored (it may come from the registry).
    void SetView(int mode);
    bool Sorted() const { return Get(sorted, sortedNow_); }
    void SetSorted(bool on);
    int SortKey() const { return Get(sortKey, sortKeyNow_); }
    void SetSortKey(int subItem);
    int SortOrder() const { return Get(sortOrder, sortOrderNow_); }
    void SetSortOrder(int order);
    // Puts the rows in the sort's order now, when the list is sorted, for a
    // caller that has just filled them; the sort their changes asked for
    // later then does not run again. The selected row stays selected and
    // is scrolled into view.
    void SortNow();
    // The image lists of the views; they stay their owner's.
    void SetIcons(forms::ImageList* images);
    void SetSmallIcons(forms::ImageList* images);
    forms::ImageList* Icons() const { return icons_; }
    forms::ImageList* SmallIcons() const { return smallIcons_; }
    // The list's arrange property: 1 lines the icons up from the left, 2 from
    // the top; 0 leaves them.
    void SetArrange(int how);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;

private:
    friend class ListItem;
    friend class ColumnHeader;
    ListItem* ItemAt(int row) const;
    void Forget(ListItem* item);
    void ForgetAll();
    void ApplyImageList(int which, forms::ImageList* images);
    void SortLater();
    void DataChanged(int subItem);
    // LVN_GETDISPINFO: the cell's text from the store.
    void GiveText(int row, int subItem, LPARAM param, char* buffer, int size) const;
    void GiveText(int row, int subItem, LPARAM param, wchar_t* buffer, int size) const;
    const std::string* StoredText(int row, int subItem, LPARAM param) const;
    // A raw LVM_SETITEMTEXT/LVM_SETITEM: its text goes to the store and the
    // cell stays a callback. False when the message is not for a stored cell.
    bool TakeRawText(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // Redraws a row whose stored text changed, unless drawing is off.
    void Repaint(int row) const;

    std::vector<std::unique_ptr<ListItem>> items_;  // in no order; slot_ indexes it
    std::vector<std::unique_ptr<ColumnHeader>> columns_;
    RowKeys keys_;
    forms::ImageList* icons_ = nullptr;
    forms::ImageList* smallIcons_ = nullptr;
    int viewNow_ = 3;
    bool sortedNow_ = false;
    int sortKeyNow_ = 0;
    int sortOrderNow_ = 0;
    bool sortPosted_ = false;
    // Counts the changes that may move rows (removal, sort), so a row keeps
    // its place cached between them.
    unsigned rowVersion_ = 1;
    int selectingFromCode_ = 0;
    bool buttonUpSeen_ = false;
    bool redrawOff_ = false;  // WM_SETREDRAW FALSE seen last
};

}  // namespace corvella::platform
