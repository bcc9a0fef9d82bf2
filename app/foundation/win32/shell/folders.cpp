#include "app/foundation/win32/shell/folders.h"

#include <shlobj.h>

#include "app/foundation/win32/shell/window_helpers.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace shell {
namespace {

// The picker's state, valid from one BrowseForFolder to the next.
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

}  // namespace

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

}  // namespace shell
}  // namespace corvella
