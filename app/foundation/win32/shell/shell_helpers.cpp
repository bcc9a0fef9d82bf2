#include "app/foundation/win32/shell/shell_helpers.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "libs/common/numeric/rounding.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

// ---- help ----

HtmlHelpCall& HelpHook() {
    static HtmlHelpCall hook;
    return hook;
}

using HtmlHelpAFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// hhctrl.ocx is loaded on first use and stays loaded: its help windows live
// on after the call returns.
HtmlHelpAFn HtmlHelpEntry() {
    static HtmlHelpAFn fn = [] {
        HMODULE lib = LoadLibraryA("hhctrl.ocx");
        return lib ? reinterpret_cast<HtmlHelpAFn>(reinterpret_cast<void*>(GetProcAddress(lib, "HtmlHelpA")))
                   : nullptr;
    }();
    return fn;
}

constexpr UINT kHhHelpContext = 0x0F;

// ---- folder picker state, valid from one BrowseForFolder to the next ----

std::string g_start_path;  // the start folder followed by one NUL
HWND g_picker_owner = nullptr;
// Whether a selection change came since the picker opened, and how often
// the start folder was asked for again.
bool g_picker_selected = false;
int g_selection_retries = 0;

// Wine's picker now and then refuses the start folder while it opens (no
// selection change follows the request); it takes it a moment later. Any
// selection change, the user's included, ends the retries.
constexpr UINT_PTR kSelectionRetryTimer = 0x4D50;
constexpr UINT kSelectionRetryMs = 50;
constexpr int kMaxSelectionRetries = 40;

void SelectStartFolder(HWND picker) {
    SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(g_start_path.c_str()));
}

void CALLBACK RetrySelection(HWND picker, UINT, UINT_PTR id, DWORD) {
    if (!g_picker_selected && g_selection_retries++ < kMaxSelectionRetries) SelectStartFolder(picker);
    if (g_picker_selected || g_selection_retries >= kMaxSelectionRetries) KillTimer(picker, id);
}

constexpr int32_t kPickerStatusWidthTwips = 4000;

std::string PathOfIdList(LPCITEMIDLIST pidl, bool& ok) {
    char buf[MAX_PATH + 1] = {};
    ok = pidl != nullptr && SHGetPathFromIDListA(pidl, buf) != FALSE;
    return ok ? TrimAtNull(buf, sizeof(buf)) : std::string();
}

// The status text measured in the owner's device context and font, as the
// owner would show it.
std::string FitForOwner(const std::string& path) {
    HDC dc = GetDC(g_picker_owner);
    if (!dc) return path;
    HGDIOBJ old = nullptr;
    if (g_picker_owner) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(g_picker_owner, WM_GETFONT, 0, 0));
        if (font) old = SelectObject(dc, font);
    }
    std::string fitted = FitTextWithEllipsis(dc, kPickerStatusWidthTwips, path, DT_PATH_ELLIPSIS);
    if (old) SelectObject(dc, old);
    ReleaseDC(g_picker_owner, dc);
    return fitted;
}

// Shell flags callers may pass; the procedures set the rest themselves.
// SHGFI_PIDL (8) is never taken over: the name is always a text.
constexpr UINT kExtensionFlagMask = 0x7AED & ~static_cast<UINT>(SHGFI_PIDL);
constexpr UINT kFileFlagMask = 0x7AFD & ~static_cast<UINT>(SHGFI_PIDL);

ShellFileInfo QueryShell(const std::string& name, DWORD attributes, UINT flags) {
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    ShellFileInfo out;
    if (SHGetFileInfoA(name.c_str(), attributes, &info, sizeof(info), flags) == 0) return out;
    out.icon = info.hIcon;
    out.icon_index = info.iIcon;
    out.type_name = TrimAtNull(info.szTypeName, sizeof(info.szTypeName));
    return out;
}

void SendToBar(HWND bar, UINT message, COLORREF colour) {
    if (bar) SendMessageA(bar, message, 0, static_cast<LPARAM>(colour));
}

}  // namespace

// ---- Help ----

std::string HelpFilePath() {
    std::string folder = forms::App.Path();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder + "Corvella.chm";
}

const char* HelpWindowSuffix(int32_t window) {
    switch (window) {
        case kHelpWindowDefault: return ">DEFAULT";
        case kHelpWindowPopupSmall: return ">POPUP_SMALL";
        case kHelpWindowPopupMedium: return ">POPUP_MEDIUM";
        case kHelpWindowPopupLarge: return ">POPUP_LARGE";
        default: return "";
    }
}

void ShowHelpTopic(HWND caller, int32_t context_id, int32_t window) {
    if (window < kHelpWindowDefault || window > kHelpWindowPopupLarge) return;
    const std::string file = HelpFilePath() + HelpWindowSuffix(window);
    const DWORD_PTR data = static_cast<DWORD_PTR>(static_cast<uint32_t>(context_id));
    if (HelpHook()) {
        HelpHook()(caller, file, kHhHelpContext, data);
        return;
    }
    if (HtmlHelpAFn help = HtmlHelpEntry()) help(caller, file.c_str(), kHhHelpContext, data);
}

void SetHelpWindow(int32_t window) {
    if (window < kHelpWindowDefault || window > kHelpWindowPopupLarge) return;
    forms::App.SetHelpFile(HelpFilePath() + HelpWindowSuffix(window));
}

std::string AppHelpFile() { return forms::App.HelpFile(); }

void SetHtmlHelpHook(HtmlHelpCall hook) { HelpHook() = std::move(hook); }

// ---- Browser, associated program, folders ----

std::string GetTempFolder() {
    std::vector<char> buf(MAX_PATH + 1);
    DWORD n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    if (n >= buf.size()) {  // longer than the buffer: n is the size it needs
        buf.assign(n + 1, '\0');
        n = GetTempPathA(static_cast<DWORD>(buf.size()), buf.data());
    }
    if (n == 0 || n >= buf.size()) return std::string();
    return TrimAtNull(buf.data(), buf.size());
}

std::string GetBrowserPath(intptr_t& result_code) {
    const std::string folder = GetTempFolder();
    const std::string scratch = folder + "dummy.html";
    HANDLE h = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    char buf[MAX_PATH + 1] = {};
    result_code = reinterpret_cast<intptr_t>(FindExecutableA("dummy.html", folder.c_str(), buf));
    DeleteFileA(scratch.c_str());
    // A failed look-up leaves nothing worth returning in the buffer.
    return result_code > 32 ? TrimAtNull(buf, sizeof(buf)) : std::string();
}

bool OpenInBrowser(const std::string& url) {
    intptr_t code = 0;
    const std::string browser = GetBrowserPath(code);
    if (code <= 32 || browser.empty()) return false;

    std::string command = " " + url;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA start;
    ZeroMemory(&start, sizeof(start));
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    const BOOL ok = CreateProcessA(browser.c_str(), line.data(), nullptr, nullptr, FALSE,
                                   NORMAL_PRIORITY_CLASS, nullptr, nullptr, &start, &process);
    const bool started = ok != FALSE && process.hProcess != nullptr;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return started;
}

intptr_t OpenWithAssociatedApp(const std::string& file_name) {
    return reinterpret_cast<intptr_t>(
        ShellExecuteA(GetDesktopWindow(), "Open", file_name.c_str(), "", "C:\\", SW_SHOWNORMAL));
}

std::string GetSpecialFolder(HWND owner, int32_t csidl) {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &pidl)) || pidl == nullptr) return std::string();
    bool ok = false;
    std::string path = PathOfIdList(pidl, ok);
    CoTaskMemFree(pidl);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& start_path) {
    g_start_path = start_path;
    g_start_path.push_back('\0');
    g_picker_owner = owner;

    char display[MAX_PATH + 1] = {};
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
    info.lpfn = BrowseCallbackProc;
    info.lParam = 0;

    LPITEMIDLIST pidl = SHBrowseForFolderA(&info);
    if (!pidl) return std::string();
    bool ok = false;
    const std::string path = PathOfIdList(pidl, ok);
    CoTaskMemFree(pidl);
    return path;
}

int CALLBACK BrowseCallbackProc(HWND picker, UINT message, LPARAM lparam, LPARAM data) {
    (void)data;
    switch (message) {
        case BFFM_INITIALIZED:
            g_picker_selected = false;
            g_selection_retries = 0;
            if (g_start_path.size() <= 1) break;  // no start folder: the picker's own
            SelectStartFolder(picker);
            if (!g_picker_selected) SetTimer(picker, kSelectionRetryTimer, kSelectionRetryMs, RetrySelection);
            break;
        case BFFM_SELCHANGED: {
            g_picker_selected = true;
            bool ok = false;
            const std::string path = PathOfIdList(reinterpret_cast<LPCITEMIDLIST>(lparam), ok);
            if (!ok) break;  // no file-system path: the status text stays
            const std::string shown = FitForOwner(path);
            SendMessageA(picker, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
            break;
        }
        default:
            break;
    }
    return 0;
}

std::string FitTextWithEllipsis(HDC dc, int32_t width_twips, const std::string& text, UINT flags) {
    const std::string whole = TrimAtNull(text);
    if (!dc) return whole;
    RECT rect = {0, 0, forms::Screen.ToPixelsX(width_twips), 0};
    // DT_MODIFYSTRING may write up to four characters beyond the text.
    std::vector<char> buf(whole.begin(), whole.end());
    buf.resize(whole.size() + 5, '\0');
    DrawTextA(dc, buf.data(), -1, &rect, flags | DT_MODIFYSTRING | DT_CALCRECT);
    return TrimAtNull(buf.data(), buf.size());
}

// ---- Shell icons ----

Picture& Picture::operator=(Picture&& o) noexcept {
    if (this != &o) {
        if (pic_) pic_->Release();
        pic_ = o.pic_;
        o.pic_ = nullptr;
    }
    return *this;
}

Picture::~Picture() {
    if (pic_) pic_->Release();
}

IPicture* Picture::detach() {
    IPicture* p = pic_;
    pic_ = nullptr;
    return p;
}

HICON Picture::icon() const {
    OLE_HANDLE handle = 0;
    if (!pic_ || FAILED(pic_->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle));
}

ShellFileInfo QueryExtensionInfo(const std::string& extension, int32_t flags) {
    const std::string name = (!extension.empty() && extension[0] == '.') ? extension : "." + extension;
    const UINT f = (static_cast<UINT>(flags) & kExtensionFlagMask) | SHGFI_ICON | SHGFI_TYPENAME |
                   SHGFI_USEFILEATTRIBUTES;
    return QueryShell(name, 0, f);
}

ShellFileInfo QueryFileInfo(const std::string& path, int32_t flags) {
    const UINT f = (static_cast<UINT>(flags) & kFileFlagMask) | SHGFI_ICON | SHGFI_TYPENAME;
    return QueryShell(path, 0, f);
}

Picture GetExtensionIcon(const std::string& extension, int32_t flags, std::string& type_name) {
    ShellFileInfo info = QueryExtensionInfo(extension, flags);
    type_name = info.type_name;
    return IconToPicture(info.icon);
}

Picture GetFileIcon(const std::string& path, int32_t flags, std::string& type_name) {
    ShellFileInfo info = QueryFileInfo(path, flags);
    type_name = info.type_name;
    return IconToPicture(info.icon);
}

Picture IconToPicture(HICON icon) {
    if (!icon) return Picture();
    PICTDESC desc;
    ZeroMemory(&desc, sizeof(desc));
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon;
    IPicture* pic = nullptr;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(&pic))) || !pic) {
        DestroyIcon(icon);  // nobody else would
        return Picture();
    }
    return Picture(pic);
}

// ---- Window helpers ----

void SetProgressBackColour(HWND bar, COLORREF colour) { SendToBar(bar, PBM_SETBKCOLOR, colour); }

void SetProgressBarColour(HWND bar, COLORREF colour) { SendToBar(bar, PBM_SETBARCOLOR, colour); }

void SetTopMost(HWND window, bool top_most) {
    SetWindowPos(window, top_most ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

FormMetrics MetricsOf(HWND form) {
    FormMetrics m;
    RECT r;
    if (form && GetWindowRect(form, &r)) {
        m.width_twips = forms::Screen.ToTwipsX(r.right - r.left);
        m.height_twips = forms::Screen.ToTwipsY(r.bottom - r.top);
    }
    return m;
}

int32_t CenterLeft(const FormMetrics& form) {
    if (form.scale_mode != kScaleTwips) return 0;
    const int32_t half = RoundHalfEven(GetSystemMetrics(SM_CXFULLSCREEN) * forms::Screen.TwipsPerPixelX() / 2.0);
    return RoundHalfEven(half - form.width_twips / 2.0);
}

int32_t CenterTop(const FormMetrics& form) {
    if (form.scale_mode != kScaleTwips) return 0;
    const int32_t half = RoundHalfEven(GetSystemMetrics(SM_CYFULLSCREEN) * forms::Screen.TwipsPerPixelY() / 2.0);
    return RoundHalfEven(half - form.height_twips / 2.0);
}

void LockRedraw(HWND window, bool lock) {
    SendMessageA(window, WM_SETREDRAW, lock ? 0 : static_cast<WPARAM>(-1), 0);
}

void LockWindow(HWND window, bool lock) {
    if (lock) {
        SendMessageA(window, WM_SETREDRAW, 0, 0);
        return;
    }
    SendMessageA(window, WM_SETREDRAW, 1, 0);
    RECT client;
    if (GetClientRect(window, &client))
        RedrawWindow(window, &client, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void SystemBeep(UINT sound_type) { MessageBeep(sound_type); }

void MakeToolbarFlat(HWND host) {
    HWND bar = GetWindow(host, GW_CHILD);
    if (!bar) return;
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    SetWindowLongA(bar, GWL_STYLE, style | TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NOPARENTALIGN);
}

}  // namespace shell
}  // namespace corvella
