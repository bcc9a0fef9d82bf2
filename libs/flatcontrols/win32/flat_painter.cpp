#include "libs/flatcontrols/win32/flat_painter.h"

#include "libs/common/com/com_server.h"
#include "libs/flatcontrols/win32/frame_draw.h"
#include "libs/flatcontrols/win32/late_bound.h"

namespace corvella::flat {
namespace {

constexpr HRESULT kNotAControl = static_cast<HRESULT>(0x80040419);

enum Kind { kNone, kCombo, kCheck, kOption };

struct KindRule {
    const wchar_t* typeName;
    Kind kind;
};
const KindRule kKinds[] = {{L"ComboBox", kCombo}, {L"CheckBox", kCheck}, {L"OptionButton", kOption}};

// The hooks, in the order they are made and taken away: on the control
// (true) or on its parent (false), and for which kinds.
struct HookRule {
    UINT msg;
    bool onControl;
    bool forCombo;
    bool forButton;
};
const HookRule kHooks[] = {
    {WM_PAINT, true, true, true},
    {BM_SETSTATE, true, false, true},
    {BM_SETCHECK, true, false, true},
    {WM_COMMAND, false, true, true},
};

struct Pixel {
    int x, y;
    COLORREF colour;
};
constexpr COLORREF kDark = RGB(150, 150, 150);
constexpr COLORREF kLight = RGB(200, 200, 200);
const Pixel kOptionGlyph[] = {
    {3, 4, kDark},    {3, 5, kDark},    {4, 4, kDark},    {5, 3, kDark},    {6, 3, kDark},
    {7, 3, kDark},    {8, 3, kDark},    {9, 4, kDark},    {10, 4, kDark},   {10, 5, kLight},
    {11, 6, kLight},  {11, 7, kLight},  {11, 8, kLight},  {11, 9, kLight},  {10, 10, kLight},
    {10, 11, kLight}, {9, 11, kLight},  {8, 12, kLight},  {7, 12, kLight},  {6, 12, kLight},
    {5, 12, kLight},  {4, 11, kLight},  {3, 11, kLight},  {3, 10, kDark},   {2, 9, kDark},
    {2, 8, kDark},    {2, 7, kDark},    {2, 6, kDark},    {2, 5, kDark},
};

// The client rectangle and a device context of the window, given back at the end.
struct WindowDC {
    explicit WindowDC(HWND h) : hwnd(h), dc(GetDC(h)) { GetClientRect(h, &rect); }
    ~WindowDC() { ReleaseDC(hwnd, dc); }
    HWND hwnd;
    HDC dc;
    RECT rect{};
};

void Grow(RECT& r, int by) { InflateRect(&r, by, by); }

LONG g_lockHeld = 0;

}  // namespace

// Kept in a TLS slot, not a thread_local: the compiler's emulated thread
// storage would call into this module at thread exit after it was unloaded.
ThreadState& CurrentThreadState() {
    static const DWORD slot = TlsAlloc();
    auto* state = static_cast<ThreadState*>(TlsGetValue(slot));
    if (!state) {
        state = new ThreadState;
        TlsSetValue(slot, state);
    }
    return *state;
}

platform::SubclassManager& ThreadSubclassManager() { return CurrentThreadState().manager; }

void SyncModuleLock() {
    const bool layers = platform::detail::LiveWindowRecords() > 0;
    if (layers && InterlockedCompareExchange(&g_lockHeld, 1, 0) == 0) com::ModuleAddRef();
    if (!layers && InterlockedCompareExchange(&g_lockHeld, 0, 1) == 1) com::ModuleRelease();
}

CFlatControls::~CFlatControls() { UnhookMessages(); }

void CFlatControls::Attach(IDispatch* control) {
    UnhookMessages();
    long hwnd = 0;
    if (FAILED(GetLongProperty(control, L"hwnd", hwnd))) {
        com::RaiseError(kNotAControl, "Planomir.cFlatControl",
                        "Incorrect control type passed to 'Attach' parameter - must be a control with a "
                        "hWnd property.",
                        IID_IDispatch);
        return;
    }
    HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(hwnd));
    const std::wstring type = TypeNameOf(control);
    combo_ = checkBox_ = optionButton_ = false;
    for (const KindRule& rule : kKinds) {
        if (type != rule.typeName) continue;
        parent_ = GetParent(window);
        combo_ = rule.kind == kCombo;
        checkBox_ = rule.kind == kCheck;
        optionButton_ = rule.kind == kOption;
        break;
    }
    HookMessages(window);
}

void CFlatControls::HookMessages(HWND hwnd) {
    control_ = hwnd;
    if (!hwnd) return;
    auto& manager = ThreadSubclassManager();
    const bool button = checkBox_ || optionButton_;
    for (const HookRule& h : kHooks) {
        if (!(combo_ ? h.forCombo : button ? h.forButton : false)) continue;
        manager.HookMessage(this, h.onControl ? control_ : parent_, h.msg);
    }
    hooked_ = true;
    SyncModuleLock();
}

void CFlatControls::UnhookMessages() {
    if (hooked_) {
        auto& manager = ThreadSubclassManager();
        for (const HookRule& h : kHooks) manager.UnhookMessage(this, h.onControl ? control_ : parent_, h.msg);
        hooked_ = false;
        SyncModuleLock();
    }
    control_ = parent_ = nullptr;
}

bool CFlatControls::DroppedDown() const {
    return combo_ && control_ && SendMessageA(control_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

long CFlatControls::get_MsgResponse() {
    switch (ThreadSubclassManager().ActiveMessage()) {
    case WM_PAINT:
    case BM_SETSTATE:
    case WM_COMMAND: return platform::kMsgResponseAfterOriginal;
    default: return platform::kMsgResponseAlongside;
    }
}

LRESULT CFlatControls::WindowProc(HWND, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_PAINT || msg == BM_SETSTATE) DrawControl(DroppedDown());
    else if (msg == WM_COMMAND) DrawControl(false);
    return 0;
}

void CFlatControls::DrawControl(bool dropped) {
    if (!control_) return;
    if (combo_) DrawComboFrame(dropped ? 4 : 2);
    else if (checkBox_) DrawCheckFrame();
    else if (optionButton_) DrawOptionGlyph();
}

void CFlatControls::DrawComboFrame(int kind) {
    WindowDC w(control_);
    RECT r = w.rect;
    Grow(r, -1);
    Draw3DRect(w.dc, r, kButtonHighlight, kButtonHighlight);
    Grow(r, -1);
    r.left = r.right - GetSystemMetrics(SM_CXHTHUMB);
    Grow(r, 1);
    Draw3DRect(w.dc, r, kButtonHighlight, kButtonShadow);
    Grow(r, -1);
    Draw3DRect(w.dc, r, kButtonFace, kButtonFace);
    Grow(r, -1);
    Draw3DRect(w.dc, r, kButtonFace, kButtonFace);
    if (IsWindowEnabled(control_) && kind == 4) {
        Grow(r, 2);
        Draw3DRect(w.dc, r, kButtonShadow, kButtonFace);
    }
}

void CFlatControls::DrawCheckFrame() {
    WindowDC w(control_);
    RECT box = {1, 3, 13, w.rect.bottom - 3};
    if (!IsWindowEnabled(control_)) {
        Draw3DRect(w.dc, box, kButtonFace, kButtonFace);
        Grow(box, 1);
        Draw3DRect(w.dc, box, kButtonShadow, kButtonHighlight);
        return;
    }
    const bool pushed = (SendMessageA(control_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    Draw3DRect(w.dc, box, kButtonHighlight, kButtonHighlight);
    Draw3DRect(w.dc, box, kButtonShadow, kButtonHighlight);
    const uint32_t inner = pushed ? kButtonFace : kButtonHighlight;
    Draw3DRect(w.dc, box, inner, inner);
}

void CFlatControls::DrawOptionGlyph() {
    WindowDC w(control_);
    for (const Pixel& p : kOptionGlyph) SetPixelV(w.dc, p.x, p.y, p.colour);
}

}  // namespace corvella::flat
