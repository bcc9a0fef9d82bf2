#include "platform/forms/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "libs/common/com/picture.h"
#include "platform/forms/internal.h"

namespace corvella::forms {

namespace {

const char kPictureClass[] = "CorvellaPicture";
const char kFrameClass[] = "CorvellaFrame";
const char kImageClass[] = "CorvellaImage";

void InvalidValue() { throw Error("Invalid property value", 380); }

// Start and end of the selection of an edit (or of a combo's edit).
void EditSelection(HWND hwnd, bool combo, int& start, int& end) {
    DWORD s = 0, e = 0;
    SendMessageA(hwnd, combo ? CB_GETEDITSEL : EM_GETSEL, reinterpret_cast<WPARAM>(&s),
                 reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void SetEditSelection(HWND hwnd, bool combo, int start, int end) {
    if (combo)
        SendMessageA(hwnd, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    else
        SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

}  // namespace

HCURSOR CursorFor(int mousePointer) {
    LPCSTR id = nullptr;
    switch (mousePointer) {
    case 1: id = reinterpret_cast<LPCSTR>(IDC_ARROW); break;
    case 2: id = reinterpret_cast<LPCSTR>(IDC_CROSS); break;
    case 3: id = reinterpret_cast<LPCSTR>(IDC_IBEAM); break;
    case 7: id = reinterpret_cast<LPCSTR>(IDC_SIZENS); break;
    case 9: id = reinterpret_cast<LPCSTR>(IDC_SIZEWE); break;
    case 11: id = reinterpret_cast<LPCSTR>(IDC_WAIT); break;
    default: return nullptr;
    }
    return LoadCursorA(nullptr, id);
}

// ---- TextBox -----------------------------------------------------------------

bool TextBox::Create(Container& parent) {
    DWORD style = WS_TABSTOP;
    if (multiLine) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (scrollBars & 1) style |= WS_HSCROLL | ES_AUTOHSCROLL;
        if (scrollBars & 2) style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    if (locked) style |= ES_READONLY;
    return CreateWindowIn(parent, "EDIT", style, borderStyle != kBorderNone ? WS_EX_CLIENTEDGE : 0,
                          text);
}

void TextBox::SetText(const std::string& value) {
    if (!Created()) {
        text = value;
        return;
    }
    if (Text() == value) return;
    settingText_ = true;
    SetWindowTextA(hWnd(), value.c_str());
    settingText_ = false;
    Fire("Change", [&] {
        if (Change) Change(index);
    });
}

int TextBox::SelStart() const {
    if (!Created()) return 0;
    int start = 0, end = 0;
    EditSelection(hWnd(), false, start, end);
    return start;
}

int TextBox::SelLength() const {
    if (!Created()) return 0;
    int start = 0, end = 0;
    EditSelection(hWnd(), false, start, end);
    return end - start;
}

std::string TextBox::SelText() const {
    const std::string all = Text();
    const int start = Clamp(SelStart(), 0, static_cast<int>(all.size()));
    return all.substr(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
}

void TextBox::SetSelStart(int start) {
    if (!Created()) return;
    if (start < 0) InvalidValue();
    start = std::min(start, GetWindowTextLengthA(hWnd()));
    SetEditSelection(hWnd(), false, start, start);
}

void TextBox::SetSelLength(int length) {
    if (!Created()) return;
    if (length < 0) InvalidValue();
    const int start = SelStart();
    SetEditSelection(hWnd(), false, start, std::min(start + length, GetWindowTextLengthA(hWnd())));
}

void TextBox::SetSelText(const std::string& value) {
    if (Created())
        SendMessageA(hWnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TextBox::OnCommand(int code) {
    if (code == EN_CHANGE && !settingText_)
        Fire("Change", [&] {
            if (Change) Change(index);
        });
}

void TextBox::OnKeyPress(int& keyAscii) {
    if (KeyPress) Fire("KeyPress", [&] { KeyPress(index, keyAscii); });
}

// ---- ListControl ---------------------------------------------------------------

void ListControl::FillList() {
    for (const auto& item : items)
        SendMessageA(hWnd(), messages_.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    lastIndex_ = -1;
}

void ListControl::NoteIndex() { lastIndex_ = ListIndex(); }

void ListControl::SelectionChanged() {
    const int now = ListIndex();
    if (now == lastIndex_) return;
    lastIndex_ = now;
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

void ListControl::AddItem(const std::string& item, int at) {
    if (!Created()) {
        if (at < 0 || at >= static_cast<int>(items.size()))
            items.push_back(item);
        else
            items.insert(items.begin() + at, item);
        return;
    }
    if (at > ListCount()) throw Error("Invalid argument", 5);
    if (at < 0)
        SendMessageA(hWnd(), messages_.add, 0, reinterpret_cast<LPARAM>(item.c_str()));
    else
        SendMessageA(hWnd(), messages_.insert, static_cast<WPARAM>(at),
                     reinterpret_cast<LPARAM>(item.c_str()));
    NoteIndex();
}

void ListControl::RemoveItem(int at) {
    if (at < 0 || at >= ListCount()) throw Error("Invalid property array index", 381);
    if (!Created()) {
        items.erase(items.begin() + at);
        return;
    }
    SendMessageA(hWnd(), messages_.remove, static_cast<WPARAM>(at), 0);
    NoteIndex();
}

void ListControl::Clear() {
    if (!Created()) {
        items.clear();
        return;
    }
    SendMessageA(hWnd(), messages_.reset, 0, 0);
    lastIndex_ = -1;
}

int ListControl::ListCount() const {
    if (!Created()) return static_cast<int>(items.size());
    const LRESULT count = SendMessageA(hWnd(), messages_.count, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);  // CB_ERR and LB_ERR are -1
}

std::string ListControl::List(int at) const {
    if (at < 0 || at >= ListCount()) return std::string();
    if (!Created()) return items[static_cast<size_t>(at)];
    const LRESULT length = SendMessageA(hWnd(), messages_.textLength, static_cast<WPARAM>(at), 0);
    if (length < 0) return std::string();
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(hWnd(), messages_.text, static_cast<WPARAM>(at),
                                     reinterpret_cast<LPARAM>(&item[0]));
    item.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return item;
}

int ListControl::ListIndex() const {
    if (!Created()) return -1;
    const LRESULT at = SendMessageA(hWnd(), messages_.getSelection, 0, 0);
    return at < 0 ? -1 : static_cast<int>(at);
}

void ListControl::SetListIndex(int at) {
    if (!Created()) return;
    if (at < -1 || at >= ListCount()) InvalidValue();
    SendMessageA(hWnd(), messages_.setSelection, static_cast<WPARAM>(at), 0);
    if (at == lastIndex_) return;
    lastIndex_ = at;
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

// ---- ComboBox ----------------------------------------------------------------

namespace {
const ListControl::Messages kComboMessages = {CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                              CB_RESETCONTENT, CB_GETCOUNT,     CB_GETLBTEXTLEN,
                                              CB_GETLBTEXT,    CB_GETCURSEL,    CB_SETCURSEL};
const ListControl::Messages kListMessages = {LB_ADDSTRING,    LB_INSERTSTRING, LB_DELETESTRING,
                                             LB_RESETCONTENT, LB_GETCOUNT,     LB_GETTEXTLEN,
                                             LB_GETTEXT,      LB_GETCURSEL,    LB_SETCURSEL};
}  // namespace

ComboBox::ComboBox() : ListControl(kComboMessages) {}


bool ComboBox::Create(Container& parent) {
    DWORD kind = style == 2 ? CBS_DROPDOWNLIST : style == 1 ? CBS_SIMPLE : CBS_DROPDOWN;
    if (style != 2) kind |= CBS_AUTOHSCROLL;
    if (sorted) kind |= CBS_SORT;
    // The window's height is the dropped list's; the closed box takes the font's.
    const int closed = Screen.ToPixelsY(height);
    const int dropped = style == 1 ? closed : closed + std::max(dropItems, 1) * 16;
    settingText_ = true;
    focusByNotification_ = true;
    const bool made =
        CreateWindowIn(parent, "COMBOBOX", WS_TABSTOP | WS_VSCROLL | kind, 0, "", dropped);
    if (made) {
        FillList();
        if (style != 2 && !text.empty()) SetWindowTextA(hWnd(), text.c_str());
    }
    settingText_ = false;
    lastIndex_ = -1;
    return made;
}

HWND ComboBox::EditWindow() const {
    return Created() ? FindWindowExA(hWnd(), nullptr, "Edit", nullptr) : nullptr;
}

std::string ComboBox::Text() const {
    if (!Created()) return style == 2 ? std::string() : text;
    // While the selection changes, the edit still holds the old text.
    if (style == 2 || inSelChange_) {
        const int at = ListIndex();
        if (at >= 0 || style == 2) return List(at);
    }
    return detail::WindowText(hWnd());
}

void ComboBox::SetText(const std::string& value) {
    if (!Created()) {
        text = value;
        return;
    }
    if (style == 2) {
        const LRESULT at = SendMessageA(hWnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(value.c_str()));
        if (at == CB_ERR) throw Error("'Text' property is read-only", 383);
        SetListIndex(static_cast<int>(at));
        return;
    }
    if (Text() == value) return;
    settingText_ = true;
    SetWindowTextA(hWnd(), value.c_str());
    settingText_ = false;
    Fire("Change", [&] {
        if (Change) Change(index);
    });
}

int ComboBox::SelStart() const {
    if (!Created() || style == 2) return 0;
    int start = 0, end = 0;
    EditSelection(hWnd(), true, start, end);
    return start;
}

int ComboBox::SelLength() const {
    if (!Created() || style == 2) return 0;
    int start = 0, end = 0;
    EditSelection(hWnd(), true, start, end);
    return end - start;
}

std::string ComboBox::SelText() const {
    const std::string all = Text();
    const int start = Clamp(SelStart(), 0, static_cast<int>(all.size()));
    return all.substr(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
}

void ComboBox::SetSelStart(int start) {
    if (!Created() || style == 2) return;
    if (start < 0) InvalidValue();
    start = std::min(start, GetWindowTextLengthA(hWnd()));
    SetEditSelection(hWnd(), true, start, start);
}

void ComboBox::SetSelLength(int length) {
    if (!Created() || style == 2) return;
    if (length < 0) InvalidValue();
    const int start = SelStart();
    SetEditSelection(hWnd(), true, start, std::min(start + length, GetWindowTextLengthA(hWnd())));
}

void ComboBox::SetSelText(const std::string& value) {
    HWND edit = EditWindow();
    if (edit != nullptr)
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void ComboBox::OnCommand(int code) {
    if (code == CBN_SELCHANGE) {
        inSelChange_ = true;
        SelectionChanged();
        inSelChange_ = false;
    } else if (code == CBN_EDITCHANGE && !settingText_) {
        NoteIndex();
        Fire("Change", [&] {
            if (Change) Change(index);
        });
    } else if (code == CBN_SETFOCUS) {
        if (GotFocus) Fire("GotFocus", [&] { GotFocus(index); });
    } else if (code == CBN_KILLFOCUS) {
        if (LostFocus) Fire("LostFocus", [&] { LostFocus(index); });
    }
}

void ComboBox::OnKeyPress(int& keyAscii) {
    if (KeyPress) Fire("KeyPress", [&] { KeyPress(index, keyAscii); });
}

// ---- CheckBox ----------------------------------------------------------------

bool CheckBox::Create(Container& parent) {
    // Not an auto box: the run-time keeps the value so that every change,
    // the user's and the program's, raises Click once.
    if (!CreateWindowIn(parent, "BUTTON", WS_TABSTOP | BS_3STATE, 0, caption)) return false;
    SendMessageA(hWnd(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    return true;
}

int CheckBox::Value() const {
    return Created() ? static_cast<int>(SendMessageA(hWnd(), BM_GETCHECK, 0, 0)) : value;
}

void CheckBox::SetValue(int v) {
    if (v < 0 || v > 2) InvalidValue();
    if (!Created()) {
        value = v;
        return;
    }
    if (Value() == v) return;
    SendMessageA(hWnd(), BM_SETCHECK, static_cast<WPARAM>(v), 0);
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

void CheckBox::OnCommand(int code) {
    if (code != BN_CLICKED) return;
    SendMessageA(hWnd(), BM_SETCHECK, Value() == 1 ? 0 : 1, 0);
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

// ---- OptionButton ------------------------------------------------------------

bool OptionButton::Create(Container& parent) {
    if (!CreateWindowIn(parent, "BUTTON", WS_TABSTOP | BS_RADIOBUTTON, 0, caption)) return false;
    SendMessageA(hWnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

bool OptionButton::Value() const {
    return Created() ? SendMessageA(hWnd(), BM_GETCHECK, 0, 0) == BST_CHECKED : value;
}

void OptionButton::SetValue(bool v) {
    if (!Created()) {
        value = v;
        return;
    }
    if (!v) {
        SendMessageA(hWnd(), BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    if (Value()) return;
    // The group is the option buttons of one container.
    for (Control* sibling : Parent()->Children()) {
        auto* option = dynamic_cast<OptionButton*>(sibling);
        if (option != nullptr && option != this && option->Created())
            SendMessageA(option->hWnd(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(hWnd(), BM_SETCHECK, BST_CHECKED, 0);
    Fire("Click", [&] {
        if (Click) Click(index);
    });
}

void OptionButton::OnCommand(int code) {
    if (code == BN_CLICKED) SetValue(true);
}

// ---- CommandButton -----------------------------------------------------------

bool CommandButton::Create(Container& parent) {
    return CreateWindowIn(parent, "BUTTON",
                          WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, caption);
}

void CommandButton::DoClick() {
    if (Created() && IsWindowEnabled(hWnd())) OnCommand(BN_CLICKED);
}

void CommandButton::OnCommand(int code) {
    if (code == BN_CLICKED)
        Fire("Click", [&] {
            if (Click) Click(index);
        });
}

// ---- Label -------------------------------------------------------------------

bool Label::Create(Container& parent) {
    DWORD style = SS_NOTIFY | (alignment == kRightJustify ? SS_RIGHT
                               : alignment == kCenter     ? SS_CENTER
                                                          : SS_LEFT);
    if (!useMnemonic) style |= SS_NOPREFIX;
    return CreateWindowIn(parent, "STATIC", style, 0, caption);
}

void Label::OnCommand(int code) {
    if (code == STN_CLICKED)
        Fire("Click", [&] {
            if (Click) Click(index);
        });
}

// ---- MouseControl ------------------------------------------------------------

COLORREF MouseControl::BackColor() const {
    const COLORREF colour = Created() ? backNow_ : backColor;
    return colour == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : colour;
}

void MouseControl::SetBackColor(COLORREF colour) {
    if (!Created()) {
        backColor = colour;
        return;
    }
    backNow_ = colour;
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = nullptr;
    if (Created()) InvalidateRect(hWnd(), nullptr, TRUE);
}

void MouseControl::OnDetach() {
    if (brush_ != nullptr) DeleteObject(brush_);
    brush_ = nullptr;
    pressed_ = false;
}

bool MouseControl::HandleMouse(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    const detail::MouseArgs mouse = detail::ReadMouse(msg, wp, lp);
    switch (mouse.kind) {
    case detail::MouseArgs::kDown:
        // Moves and the release reach the control while the button is held.
        SetCapture(hWnd());
        if (mouse.button == kLeftButton) pressed_ = true;
        Fire("MouseDown", [&] {
            if (MouseDown) MouseDown(index, mouse.button, mouse.shift, mouse.x, mouse.y);
        });
        result = 0;
        return true;
    case detail::MouseArgs::kMove:
        Fire("MouseMove", [&] {
            if (MouseMove) MouseMove(index, mouse.button, mouse.shift, mouse.x, mouse.y);
        });
        result = 0;
        return true;
    case detail::MouseArgs::kUp: {
        const int held = ((wp & MK_LBUTTON) != 0 ? kLeftButton : 0) |
                         ((wp & MK_RBUTTON) != 0 ? kRightButton : 0) |
                         ((wp & MK_MBUTTON) != 0 ? kMiddleButton : 0);
        if (held == 0 && GetCapture() == hWnd()) ReleaseCapture();
        RECT rc{};
        GetClientRect(hWnd(), &rc);
        const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        const bool click = mouse.button == kLeftButton && pressed_ && PtInRect(&rc, at);
        if (mouse.button == kLeftButton) pressed_ = false;
        Fire("MouseUp", [&] {
            if (MouseUp) MouseUp(index, mouse.button, mouse.shift, mouse.x, mouse.y);
        });
        if (click && Created())
            Fire("Click", [&] {
                if (Click) Click(index);
            });
        result = 0;
        return true;
    }
    default:
        break;
    }
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        Fire("DblClick", [&] {
            if (DblClick) DblClick(index);
        });
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return false;
    case WM_SETCURSOR:
        if (mousePointer != 0 && LOWORD(lp) == HTCLIENT) {
            if (HCURSOR cursor = CursorFor(mousePointer)) {
                SetCursor(cursor);
                result = TRUE;
                return true;
            }
        }
        return false;
    case WM_ERASEBKGND: {
        if (brush_ == nullptr) brush_ = CreateSolidBrush(BackColor());
        RECT rc{};
        GetClientRect(hWnd(), &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, brush_);
        result = 1;
        return true;
    }
    default:
        return false;
    }
}

// ---- PictureBox --------------------------------------------------------------

bool PictureBox::Create(Container& parent) {
    if (!RegisterControlClass(kPictureClass, CS_DBLCLKS, nullptr)) return false;
    const DWORD exStyle = WS_EX_CONTROLPARENT | (borderStyle != kBorderNone ? WS_EX_CLIENTEDGE : 0);
    backNow_ = backColor;
    if (!CreateWindowIn(parent, kPictureClass, WS_CLIPCHILDREN, exStyle, "")) return false;
    RECT rc{};
    GetClientRect(hWnd(), &rc);
    lastCx_ = rc.right;
    lastCy_ = rc.bottom;
    return true;
}

void PictureBox::OnDetach() {
    DetachChildren();
    MouseControl::OnDetach();
}

LRESULT PictureBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = Control::hWnd();
    LRESULT result = 0;
    if (HandleMouse(msg, wp, lp, result)) return result;
    if (RouteMessage(hwnd, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_SIZE:
        if (LOWORD(lp) != lastCx_ || HIWORD(lp) != lastCy_) {
            lastCx_ = LOWORD(lp);
            lastCy_ = HIWORD(lp);
            Fire("Resize", [&] {
                if (Resize) Resize(index);
            });
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (Paint) Fire("Paint", [&] { Paint(index, dc); });
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Labels and boxes on the picture take its colour.
        if (brush_ == nullptr) brush_ = CreateSolidBrush(BackColor());
        SetBkColor(reinterpret_cast<HDC>(wp), BackColor());
        return reinterpret_cast<LRESULT>(brush_);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        FireCommonEvent(msg, wp, lp);
        return DefWindowProcA(hwnd, msg, wp, lp);
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

// ---- Frame -------------------------------------------------------------------

bool Frame::Create(Container& parent) {
    if (!RegisterControlClass(kFrameClass)) return false;
    return CreateWindowIn(parent, kFrameClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, caption);
}

void Frame::OnDetach() { DetachChildren(); }

LRESULT Frame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = Control::hWnd();
    LRESULT result = 0;
    if (FireCommonEvent(msg, wp, lp) && msg != WM_SETFOCUS && msg != WM_KILLFOCUS)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (RouteMessage(hwnd, msg, wp, lp, result)) return result;
    switch (msg) {
    case WM_SETTEXT: {
        // The caption is painted by the frame itself.
        const LRESULT set = DefWindowProcA(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return set;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp) != 0) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HGDIOBJ old = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        RECT rc{};
        GetClientRect(hwnd, &rc);
        RECT edge = rc;
        edge.top = metrics.tmHeight / 2;
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        const std::string text = detail::WindowText(hwnd);
        if (!text.empty()) {
            RECT measure{0, 0, rc.right, metrics.tmHeight};
            DrawTextA(dc, text.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
            RECT band{6, 0, 6 + (measure.right - measure.left) + 4, metrics.tmHeight};
            FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            RECT textRect{8, 0, band.right, metrics.tmHeight};
            DrawTextA(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_LEFT);
        }
        if (old != nullptr) SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

// ---- Image -------------------------------------------------------------------

bool Image::Create(Container& parent) {
    if (!RegisterControlClass(kImageClass, CS_DBLCLKS, nullptr)) return false;
    backNow_ = backColor;
    return CreateWindowIn(parent, kImageClass, 0, 0, "");
}

void Image::SetPicture(IPictureDisp* shown) {
    picture = com::ComPtr<IPictureDisp>(shown);
    if (Created()) InvalidateRect(hWnd(), nullptr, TRUE);
}

LRESULT Image::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (HandleMouse(msg, wp, lp, result)) return result;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd(), &ps);
        com::RenderPicture(dc, picture.Get());
        EndPaint(hWnd(), &ps);
        return 0;
    }
    return DefaultMessage(msg, wp, lp);
}

// ---- ListBox -----------------------------------------------------------------

ListBox::ListBox() : ListControl(kListMessages) {}

bool ListBox::Create(Container& parent) {
    DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (sorted) style |= LBS_SORT;
    if (!CreateWindowIn(parent, "LISTBOX", style, WS_EX_CLIENTEDGE, "")) return false;
    FillList();
    return true;
}

std::string ListBox::Text() const { return List(ListIndex()); }

long ComboBox::ItemData(int at) const {
    if (at < 0 || at >= ListCount()) throw Error("Invalid property array index", 381);
    if (!Created()) return 0;
    return static_cast<long>(SendMessageA(hWnd(), CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void ComboBox::SetItemData(int at, long value) {
    if (at < 0 || at >= ListCount()) throw Error("Invalid property array index", 381);
    if (Created())
        SendMessageA(hWnd(), CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(value));
}

long ListBox::ItemData(int at) const {
    if (at < 0 || at >= ListCount()) throw Error("Invalid property array index", 381);
    if (!Created()) return 0;
    return static_cast<long>(SendMessageA(hWnd(), LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void ListBox::SetItemData(int at, long value) {
    if (at < 0 || at >= ListCount()) throw Error("Invalid property array index", 381);
    if (Created())
        SendMessageA(hWnd(), LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(value));
}

int ListBox::TopIndex() const {
    return Created() ? static_cast<int>(SendMessageA(hWnd(), LB_GETTOPINDEX, 0, 0)) : 0;
}

void ListBox::SetTopIndex(int at) {
    if (Created()) SendMessageA(hWnd(), LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

void ListBox::OnCommand(int code) {
    if (code == LBN_SELCHANGE) SelectionChanged();
}

// ---- Timer -------------------------------------------------------------------

namespace {
UINT_PTR gNextTimerId = kTimerIdFirst;
}  // namespace

Timer::~Timer() { Destroy(); }

bool Timer::Create(Form& form) {
    if (form_ != nullptr) return true;
    if (form.hwnd_ == nullptr) return false;
    form_ = &form;
    // Ids come round again inside their range, skipping those of the form's
    // timers.
    for (;;) {
        if (gNextTimerId < kTimerIdFirst || gNextTimerId > kTimerIdLast) gNextTimerId = kTimerIdFirst;
        id_ = gNextTimerId++;
        bool taken = false;
        for (Timer* other : form.timers_) taken = taken || other->id_ == id_;
        if (!taken) break;
    }
    intervalNow_ = interval;
    enabledNow_ = enabled;
    form.timers_.push_back(this);
    Apply();
    return true;
}

void Timer::Destroy() { Detach(); }

void Timer::Detach() {
    if (form_ == nullptr) return;
    if (form_->hwnd_ != nullptr) KillTimer(form_->hwnd_, id_);
    auto& list = form_->timers_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    form_ = nullptr;
    enabledNow_ = false;
}

int Timer::Interval() const { return form_ != nullptr ? intervalNow_ : interval; }

void Timer::SetInterval(int ms) {
    if (ms < 0) InvalidValue();
    if (form_ == nullptr) {
        interval = ms;
        return;
    }
    intervalNow_ = ms;
    Apply();
}

bool Timer::Enabled() const { return form_ != nullptr ? enabledNow_ : enabled; }

void Timer::SetEnabled(bool on) {
    if (form_ == nullptr) {
        enabled = on;
        return;
    }
    if (on == enabledNow_) return;
    enabledNow_ = on;
    Apply();
}

void Timer::Apply() {
    if (form_ == nullptr || form_->hwnd_ == nullptr) return;
    if (enabledNow_ && intervalNow_ > 0)
        SetTimer(form_->hwnd_, id_, static_cast<UINT>(intervalNow_), nullptr);
    else
        KillTimer(form_->hwnd_, id_);
}

void Timer::Fired() {
    // A tick queued before the timer was stopped.
    if (!enabledNow_ || intervalNow_ <= 0 || !Tick) return;
    // Copies: the handler may destroy the timer it runs for.
    const ClickHandler tick = Tick;
    const std::string owner = form_->name;
    const std::string object = name;
    const int at = index;
    // The form counts as in an event: unloading it from the tick is safe.
    Form::BusyScope busy(*form_);
    RunHandler(owner, object, "Timer", [&] { tick(at); });
}

}  // namespace corvella::forms
