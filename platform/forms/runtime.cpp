#include "platform/forms/runtime.h"

#include "libs/common/subclass/subclass.h"
#include "libs/common/subclass/window_ties.h"

#include <windowsx.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/internal.h"
#include "platform/forms/twips.h"

namespace corvella::forms {

AppObject App;
ScreenObject Screen;

namespace detail {

const char kFormProp[] = "CorvellaForm";
const char kControlProp[] = "CorvellaControl";

std::vector<Form*> gLoadedForms;
Form* gActiveForm = nullptr;
Form* gCreatingForm = nullptr;

namespace {

// Every message of every form and control looks up its wrapper; the window
// properties keep the tie too, for anyone who reads them. Never destroyed:
// wrappers that outlive main (statics) still untie theirs.
platform::WindowTies& FormTies() {
    static platform::WindowTies* const ties = new platform::WindowTies;
    return *ties;
}

platform::WindowTies& ControlTies() {
    static platform::WindowTies* const ties = new platform::WindowTies;
    return *ties;
}

}  // namespace

Form* FormFromWindow(HWND hwnd) {
    return hwnd != nullptr ? static_cast<Form*>(FormTies().Find(hwnd)) : nullptr;
}

Control* ControlFromWindow(HWND hwnd) {
    return hwnd != nullptr ? static_cast<Control*>(ControlTies().Find(hwnd)) : nullptr;
}

namespace {

// The property stays for outside readers; lookups go through the table.
void Tie(platform::WindowTies& ties, const char* prop, HWND hwnd, void* object) {
    SetPropA(hwnd, prop, object);
    ties.Bind(hwnd, object);
}

void Untie(platform::WindowTies& ties, const char* prop, HWND hwnd, const void* object) {
    if (IsWindow(hwnd) && GetPropA(hwnd, prop) == object) RemovePropA(hwnd, prop);
    ties.Unbind(hwnd, object);
}

}  // namespace

void BindForm(HWND hwnd, Form* form) { Tie(FormTies(), kFormProp, hwnd, form); }
void UnbindForm(HWND hwnd, const Form* form) { Untie(FormTies(), kFormProp, hwnd, form); }
void BindControl(HWND hwnd, Control* control) { Tie(ControlTies(), kControlProp, hwnd, control); }
void UnbindControl(HWND hwnd, const Control* control) {
    Untie(ControlTies(), kControlProp, hwnd, control);
}

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) |
           (GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) |
           (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

MouseArgs ReadMouse(UINT msg, WPARAM wp, LPARAM lp) {
    struct Entry {
        UINT msg;
        MouseArgs::Kind kind;
        int button;
    };
    static const Entry kMessages[] = {
        {WM_LBUTTONDOWN, MouseArgs::kDown, kLeftButton},  {WM_RBUTTONDOWN, MouseArgs::kDown, kRightButton},
        {WM_MBUTTONDOWN, MouseArgs::kDown, kMiddleButton}, {WM_LBUTTONUP, MouseArgs::kUp, kLeftButton},
        {WM_RBUTTONUP, MouseArgs::kUp, kRightButton},      {WM_MBUTTONUP, MouseArgs::kUp, kMiddleButton},
        {WM_MOUSEMOVE, MouseArgs::kMove, 0},
    };
    MouseArgs args;
    for (const Entry& entry : kMessages) {
        if (entry.msg != msg) continue;
        args.kind = entry.kind;
        // A move reports the buttons held.
        args.button = entry.kind != MouseArgs::kMove
                          ? entry.button
                          : ((wp & MK_LBUTTON) != 0 ? kLeftButton : 0) |
                                ((wp & MK_RBUTTON) != 0 ? kRightButton : 0) |
                                ((wp & MK_MBUTTON) != 0 ? kMiddleButton : 0);
        args.shift = ((wp & MK_SHIFT) != 0 ? kShiftMask : 0) |
                     ((wp & MK_CONTROL) != 0 ? kCtrlMask : 0) |
                     (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
        args.x = Screen.ToTwipsX(GET_X_LPARAM(lp));
        args.y = Screen.ToTwipsY(GET_Y_LPARAM(lp));
        break;
    }
    return args;
}

HWND RootWindow(HWND hwnd) {
    // A walk up the parents: older systems have no call for it.
    while (hwnd != nullptr && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(hwnd);
        if (parent == nullptr) break;
        hwnd = parent;
    }
    return hwnd;
}

bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style, HBRUSH background) {
    static std::set<std::string> registered;
    if (registered.count(name) != 0) return true;
    WNDCLASSA wc{};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = App.hInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(name);
    return true;
}

HFONT MakeFont(const std::string& face, int points, bool bold) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(points > 0 ? points : 8, dpi > 0 ? dpi : 96, 72);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

void ReportHandlerError(const std::string& owner, const std::string& object, const char* event,
                        const char* description, int line) noexcept {
    try {
        std::string where = owner + ".";
        if (!object.empty()) where += object + "_";
        where += event;
        ReportError(description, where, line);
    } catch (...) {
        // Out of memory while reporting: nothing sensible is left to do.
    }
}

}  // namespace detail

// ---- errors ------------------------------------------------------------------

std::string ErrorText(const std::string& description, const std::string& where, int line) {
    return description + "\r\nin Quillmark." + where + " at line " + std::to_string(line);
}

void ReportSubclassFailures() {
    platform::SetClientBoundary([](HWND hwnd, void (*call)(void*), void* context) {
        const Form* form = detail::FormFromWindow(detail::RootWindow(hwnd));
        RunHandler(form != nullptr ? form->ObjectName() : std::string("Subclass"), "ISubclass", "WindowProc",
                   [&] { call(context); });
    });
}

void ReportError(const std::string& description, const std::string& where, int line) {
    MsgBox(ErrorText(description, where, line), MB_OK, App.Title());
}

// ---- message box -------------------------------------------------------------

namespace {
MsgBoxHook& CurrentHook() {
    static MsgBoxHook hook;
    return hook;
}
}  // namespace

MsgBoxHook SetMsgBoxHook(MsgBoxHook hook) {
    MsgBoxHook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}

int MsgBox(const std::string& prompt, unsigned buttons, const std::string& title) {
    return MsgBox(GetActiveWindow(), prompt, buttons, title);
}

int MsgBox(HWND owner, const std::string& prompt, unsigned buttons, const std::string& title) {
    const std::string caption = title.empty() ? App.Title() : title;
    if (CurrentHook()) {
        // A copy: the hook may replace itself while it runs.
        MsgBoxHook hook = CurrentHook();
        return hook(owner, prompt, buttons, caption);
    }
    return MessageBoxA(owner, prompt.c_str(), caption.c_str(), buttons);
}

// ---- message loop ------------------------------------------------------------

namespace {

bool IsChildWindow(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
}

}  // namespace

namespace {

// The control a message of `hwnd` belongs to: its own window or an inner
// one (the edit of a combo).
Control* ControlOf(HWND hwnd) {
    for (HWND h = hwnd; h != nullptr; h = GetParent(h)) {
        if (Control* control = detail::ControlFromWindow(h)) return control;
        if (!IsChildWindow(h)) break;
    }
    return nullptr;
}

}  // namespace

namespace {
IOleInPlaceActiveObject* gActiveObject = nullptr;

// Enter and Esc as a dialog takes them, whichever control has the focus. A
// control that wants the key keeps it: a writable multi-line box keeps Enter
// for a new line, a dropped list Esc. Enter on a push button presses that
// button; otherwise the form's default or cancel button is pressed, also
// from a box that is read-only. True when the key went no further.
bool DialogKey(const MSG& msg) {
    const int key = static_cast<int>(msg.wParam);
    if (msg.message != WM_KEYDOWN || (key != VK_RETURN && key != VK_ESCAPE) || msg.hwnd == nullptr) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    Form* form = detail::FormFromWindow(detail::RootWindow(msg.hwnd));
    if (form == nullptr) return false;
    HWND focus = msg.hwnd;
    char windowClass[8] = {};
    GetClassNameA(focus, windowClass, sizeof windowClass);
    const LONG style = GetWindowLongA(focus, GWL_STYLE);
    if (lstrcmpiA(windowClass, "Edit") == 0 && (style & ES_MULTILINE) != 0) {
        // Such a box asks for every key, Esc and a read-only box's Enter too.
        if (key == VK_RETURN && (style & (ES_WANTRETURN | ES_READONLY)) == ES_WANTRETURN) return false;
    } else {
        MSG asked = msg;
        const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&asked));
        if ((code & DLGC_WANTMESSAGE) != 0) return false;
        if (key == VK_RETURN && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
            if (IsWindowEnabled(focus))
                SendMessageA(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                             reinterpret_cast<LPARAM>(focus));
            return true;
        }
    }
    form->PressDialogButton(key);
    return true;
}

// Tab in a multi-line box as a dialog takes it: Tab and Shift+Tab move the
// focus on to the form's next or previous control, Ctrl+Tab types a tab in
// a box that can be written in. The box itself would send its parent the
// move, and reach no form from inside a container or a hosted control.
// True when the key went no further.
bool MultiLineTab(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || msg.hwnd == nullptr || GetKeyState(VK_MENU) < 0)
        return false;
    char windowClass[8] = {};
    GetClassNameA(msg.hwnd, windowClass, sizeof windowClass);
    const LONG style = GetWindowLongA(msg.hwnd, GWL_STYLE);
    if (lstrcmpiA(windowClass, "Edit") != 0 || (style & ES_MULTILINE) == 0) return false;
    HWND root = detail::RootWindow(msg.hwnd);
    if (detail::FormFromWindow(root) == nullptr) return false;
    if (GetKeyState(VK_CONTROL) >= 0)
        SendMessageA(root, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? TRUE : FALSE, 0);
    else if ((style & ES_READONLY) == 0)
        SendMessageA(msg.hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\t"));
    return true;
}

// The form's menu bar takes Alt with a character before the controls' own
// mnemonics do, and Alt or F10 pressed and let go with no other key between
// them, whichever control has the focus: the system's default handling of
// the keys reaches no menu bar from every control.
UINT gMenuKeyDown = 0;  // Alt or F10 while it is the last key pressed

bool MenuKey(const MSG& msg) {
    const auto key = static_cast<UINT>(msg.wParam);
    int character = -1;
    switch (msg.message) {
    case WM_SYSCHAR:
        if ((msg.lParam & (1 << 29)) != 0 && key != ' ') character = static_cast<int>(key);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // A held key repeats; Shift+F10 is the context menu's.
        if ((msg.lParam & (1 << 30)) == 0)
            gMenuKeyDown = (key == VK_MENU || key == VK_F10) && GetKeyState(VK_SHIFT) >= 0 ? key : 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (key == gMenuKeyDown) character = 0;
        gMenuKeyDown = 0;
        break;
    default:
        break;
    }
    if (character < 0) return false;
    Form* form = detail::FormFromWindow(detail::RootWindow(msg.hwnd));
    return form != nullptr && form->MenuKey(character);
}

}  // namespace

void SetActiveObject(IOleInPlaceActiveObject* object) {
    if (object == gActiveObject) return;
    if (object != nullptr) object->AddRef();
    IOleInPlaceActiveObject* old = gActiveObject;
    gActiveObject = object;
    if (old != nullptr) old->Release();
}

IOleInPlaceActiveObject* ActiveObject() { return gActiveObject; }

void ProcessMessage(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && gActiveObject != nullptr) {
        // Held while it runs: it may deactivate itself.
        IOleInPlaceActiveObject* active = gActiveObject;
        active->AddRef();
        const HRESULT taken = active->TranslateAccelerator(&msg);
        active->Release();
        if (taken == S_OK) return;
    }
    // Key down and up: the form's preview, then the control's own event.
    // False when a handler swallowed the key.
    auto keyEvents = [](MSG& m) {
        HWND root = detail::RootWindow(m.hwnd);
        Form* form = detail::FormFromWindow(root);
        const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
        const int shift = detail::ShiftState();
        int key = static_cast<int>(m.wParam);
        if (form != nullptr && (form->keyPreview || m.hwnd == root)) {
            form->KeyEvent(down, key, shift);
            if (key == 0) return false;
        }
        if (m.hwnd != nullptr && IsWindow(m.hwnd)) {
            if (Control* control = ControlOf(m.hwnd)) {
                control->KeyEvent(down, key, shift);
                if (key == 0) return false;
            }
        }
        m.wParam = static_cast<WPARAM>(key);
        return true;
    };
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!keyEvents(msg)) return;
        if (msg.hwnd != nullptr && IsWindow(msg.hwnd) && (MenuKey(msg) || DialogKey(msg) || MultiLineTab(msg)))
            return;
        break;
    case WM_SYSCHAR:
        if (MenuKey(msg)) return;
        break;
    case WM_CHAR:
        if (Control* control = ControlOf(msg.hwnd)) {
            int key = static_cast<int>(msg.wParam);
            control->OnKeyPress(key);
            if (key == 0) return;
            msg.wParam = static_cast<WPARAM>(key);
        }
        break;
    default:
        break;
    }
    // A handler above may have unloaded the window the message was for.
    if (msg.hwnd != nullptr && !IsWindow(msg.hwnd)) return;
    HWND root = detail::RootWindow(msg.hwnd);
    if (root != nullptr && detail::FormFromWindow(root) != nullptr && IsDialogMessageA(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int Run() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        ProcessMessage(msg);
    }
}

int DoEvents() {
    const DWORD start = GetTickCount();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // A message stamped after the call began is the last one handled now.
        const bool late = static_cast<LONG>(msg.time - start) > 0;
        ProcessMessage(msg);
        if (late) break;
    }
    return LoadedForms();
}

int LoadedForms() { return static_cast<int>(detail::gLoadedForms.size()); }

// ---- App ---------------------------------------------------------------------

void AppObject::Read() const {
    if (read_) return;
    read_ = true;
    char module[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string full(module, length);
    const size_t slash = full.find_last_of("\\/");
    path_ = slash == std::string::npos ? std::string() : full.substr(0, slash);
    if (path_.size() == 2 && path_[1] == ':') path_ += '\\';
    std::string file = slash == std::string::npos ? full : full.substr(slash + 1);
    const size_t dot = file.find_last_of('.');
    exeName_ = dot == std::string::npos ? file : file.substr(0, dot);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(module, &ignored);
    if (size != 0) {
        std::vector<char> data(size);
        if (GetFileVersionInfoA(module, 0, size, data.data())) {
            void* value = nullptr;
            UINT valueLength = 0;
            if (VerQueryValueA(data.data(), "\\", &value, &valueLength) &&
                valueLength >= sizeof(VS_FIXEDFILEINFO)) {
                const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
                major_ = HIWORD(fixed->dwFileVersionMS);
                minor_ = LOWORD(fixed->dwFileVersionMS);
                revision_ = HIWORD(fixed->dwFileVersionLS);
            }
            // The string table named by the first translation, else the usual ones.
            std::vector<std::string> tables;
            if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &valueLength) &&
                valueLength >= 4) {
                const WORD* pair = static_cast<const WORD*>(value);
                char table[16];
                std::snprintf(table, sizeof table, "%04x%04x", pair[0], pair[1]);
                tables.push_back(table);
            }
            tables.push_back("040904b0");
            tables.push_back("040904e4");
            for (const char* field : {"ProductName", "FileDescription"}) {
                for (const auto& table : tables) {
                    const std::string key = "\\StringFileInfo\\" + table + "\\" + field;
                    if (VerQueryValueA(data.data(), key.c_str(), &value, &valueLength) &&
                        valueLength > 0) {
                        const char* text = static_cast<const char*>(value);
                        title_.assign(text, strnlen(text, valueLength));
                        if (!title_.empty()) break;
                    }
                }
                if (!title_.empty()) break;
            }
        }
    }
    if (title_.empty()) title_ = exeName_;
}

std::string AppObject::Title() const {
    Read();
    return title_;
}

void AppObject::SetTitle(const std::string& title) {
    Read();
    title_ = title;
}

std::string AppObject::Path() const {
    Read();
    return path_;
}

std::string AppObject::ExeName() const {
    Read();
    return exeName_;
}

int AppObject::Major() const {
    Read();
    return major_;
}

int AppObject::Minor() const {
    Read();
    return minor_;
}

int AppObject::Revision() const {
    Read();
    return revision_;
}

std::string AppObject::HelpFile() const { return helpFile_; }
void AppObject::SetHelpFile(const std::string& file) { helpFile_ = file; }
HINSTANCE AppObject::hInstance() const { return GetModuleHandleA(nullptr); }

namespace {

BOOL CALLBACK FirstIconGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    auto* out = reinterpret_cast<std::string*>(found);
    // A numbered resource goes by "#n", which LoadImage takes as well.
    *out = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name);
    return FALSE;
}

}  // namespace

HICON AppObject::Icon(bool small) const {
    if (!iconsRead_) {
        iconsRead_ = true;
        std::string group;
        EnumResourceNamesA(hInstance(), RT_GROUP_ICON, FirstIconGroup, reinterpret_cast<LONG_PTR>(&group));
        for (int i = 0; i < 2 && !group.empty(); ++i)
            icons_[i] = static_cast<HICON>(LoadImageA(hInstance(), group.c_str(), IMAGE_ICON,
                                                      GetSystemMetrics(i == 0 ? SM_CXICON : SM_CXSMICON),
                                                      GetSystemMetrics(i == 0 ? SM_CYICON : SM_CYSMICON),
                                                      LR_SHARED));
    }
    return icons_[small ? 1 : 0];
}

// ---- Screen ------------------------------------------------------------------

void ScreenObject::Read() const {
    if (dpiX_ != 0) return;
    HDC dc = GetDC(nullptr);
    dpiX_ = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    dpiY_ = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr) ReleaseDC(nullptr, dc);
    // TwipsPerPixel takes a senseless density as 96; so does the cache.
    if (dpiX_ <= 0) dpiX_ = 96;
    if (dpiY_ <= 0) dpiY_ = 96;
}

double ScreenObject::TwipsPerPixelX() const {
    Read();
    return TwipsPerPixel(dpiX_);
}

double ScreenObject::TwipsPerPixelY() const {
    Read();
    return TwipsPerPixel(dpiY_);
}

int ScreenObject::Width() const { return ToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int ScreenObject::Height() const { return ToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }
int ScreenObject::ToPixelsX(double twips) const { return TwipsToPixels(twips, TwipsPerPixelX()); }
int ScreenObject::ToPixelsY(double twips) const { return TwipsToPixels(twips, TwipsPerPixelY()); }
int ScreenObject::ToTwipsX(double pixels) const { return PixelsToTwips(pixels, TwipsPerPixelX()); }
int ScreenObject::ToTwipsY(double pixels) const { return PixelsToTwips(pixels, TwipsPerPixelY()); }
Form* ScreenObject::ActiveForm() const { return detail::gActiveForm; }

}  // namespace corvella::forms
