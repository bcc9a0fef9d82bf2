// The program's ways into the Windows shell and a few window services:
// context help, the web browser, the program associated with a file,
// special folders, the folder picker, shell icons and type names, progress
// bar colours, top-most and centred windows, redraw locking, sounds and
// flat toolbars. ANSI entry points throughout.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace shell {

// ---- Help ----------------------------------------------------------------
// The program folder is App.Path() of the forms run-time, and the help file
// setting App.HelpFile(): one of each for the whole program.

// "Corvella.chm" in the program folder.
std::string HelpFilePath();

// The help windows the help file defines, by number.
constexpr int32_t kHelpWindowDefault = 0;
constexpr int32_t kHelpWindowPopupSmall = 1;
constexpr int32_t kHelpWindowPopupMedium = 2;
constexpr int32_t kHelpWindowPopupLarge = 3;

// The context id of the main window's help topic.
constexpr int32_t kMainHelpContext = 1000;

// ">DEFAULT", ">POPUP_SMALL", ">POPUP_MEDIUM", ">POPUP_LARGE"; "" for any
// other window number.
const char* HelpWindowSuffix(int32_t window);

// Opens the topic `context_id` in the help window `window` (0 to 3) with
// `caller` as the calling window; any other window number does nothing.
// The result of the help call is not checked.
void ShowHelpTopic(HWND caller, int32_t context_id, int32_t window);

// Sets the application's help file setting (App.HelpFile), which context
// help of the program's windows uses: the help file path with the window's
// suffix. A window outside 0 to 3 changes nothing.
void SetHelpWindow(int32_t window);
// The application's help file setting, App.HelpFile() ("" until set).
std::string AppHelpFile();

// Replaces the help call (HtmlHelpA of hhctrl.ocx) for tests; an empty
// function restores it. Arguments: caller, file with window suffix,
// command, data.
using HtmlHelpCall = std::function<void(HWND, const std::string&, UINT, DWORD_PTR)>;
void SetHtmlHelpHook(HtmlHelpCall hook);

// ---- Browser, associated program, folders --------------------------------

// TrimAtNull, the text before the first NUL character, is one of the shared
// text primitives.

// The user's temporary folder as GetTempPathA gives it (ending in "\").
std::string GetTempFolder();

// Full path of the program that opens ".html" files, found through an
// empty scratch file "dummy.html" in the temporary folder (removed again).
// `result_code` receives the FindExecutableA result (> 32 on success).
std::string GetBrowserPath(intptr_t& result_code);

// Starts the browser on `url`; true when a browser process was started.
// False, starting nothing, when no program opens ".html" files.
bool OpenInBrowser(const std::string& url);

// ShellExecuteA "Open" of `file_name`, working folder "C:\"; the shell's
// result (> 32 on success).
intptr_t OpenWithAssociatedApp(const std::string& file_name);

// The path of a special folder (CSIDL_...) with a trailing "\"; "" when the
// folder cannot be found, "\" for one without a file-system path.
std::string GetSpecialFolder(HWND owner, int32_t csidl);

// The folder picker, opening on `start_path` and showing the path of the
// selected folder, shortened in the middle, as its status text. The chosen
// folder, "" when cancelled.
std::string BrowseForFolder(HWND owner, const std::string& title, const std::string& start_path);

// The picker's callback (BFFM_INITIALIZED selects the start folder,
// BFFM_SELCHANGED sets the status text); always 0.
int CALLBACK BrowseCallbackProc(HWND picker, UINT message, LPARAM lparam, LPARAM data);

// `text` shortened so that it fits `width_twips` in the font selected into
// `dc`, in the ellipsis style of `flags` (DT_END_ELLIPSIS, DT_PATH_ELLIPSIS);
// text that fits comes back unchanged.
std::string FitTextWithEllipsis(HDC dc, int32_t width_twips, const std::string& text, UINT flags);

// ---- Shell icons -------------------------------------------------------

// A picture that owns its icon (the icon is destroyed with the picture).
class Picture {
public:
    Picture() = default;
    explicit Picture(IPicture* adopted) : pic_(adopted) {}
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture(Picture&& o) noexcept : pic_(o.pic_) { o.pic_ = nullptr; }
    Picture& operator=(Picture&& o) noexcept;
    ~Picture();

    explicit operator bool() const { return pic_ != nullptr; }
    IPicture* get() const { return pic_; }
    // Hands the reference to the caller, who releases it.
    IPicture* detach();
    // The icon the picture holds; nullptr for none.
    HICON icon() const;

private:
    IPicture* pic_ = nullptr;
};

// Large icon (0) or small (1, SHGFI_SMALLICON).
constexpr int32_t kLargeIcon = 0;
constexpr int32_t kSmallIcon = 1;

// What the shell tells of a file type or a file.
struct ShellFileInfo {
    HICON icon = nullptr;  // owned by the caller
    int icon_index = -1;   // in the system image list
    std::string type_name;
};

// The shell's icon and type name for files of `extension` ("mp3" or
// ".mp3"); the file need not exist.
ShellFileInfo QueryExtensionInfo(const std::string& extension, int32_t flags);
// The same for an existing file or folder.
ShellFileInfo QueryFileInfo(const std::string& path, int32_t flags);

// As above, the icon as a picture; `type_name` receives the type's name.
Picture GetExtensionIcon(const std::string& extension, int32_t flags, std::string& type_name);
Picture GetFileIcon(const std::string& path, int32_t flags, std::string& type_name);

// A picture that takes over `icon`; empty for nullptr (and when the
// picture cannot be made, in which case the icon is destroyed).
Picture IconToPicture(HICON icon);

// ---- Window helpers ----------------------------------------------------

// PBM_SETBKCOLOR / PBM_SETBARCOLOR to a progress bar window.
void SetProgressBackColour(HWND bar, COLORREF colour);
void SetProgressBarColour(HWND bar, COLORREF colour);

// Keeps the window above all non-top-most windows (or not), leaving its
// position and size alone.
void SetTopMost(HWND window, bool top_most);

// A form's size in twips and its scale mode, as the centring needs them.
constexpr int32_t kScaleTwips = 1;
constexpr int32_t kScalePixels = 3;
struct FormMetrics {
    int32_t width_twips = 0;
    int32_t height_twips = 0;
    int32_t scale_mode = kScaleTwips;
};
// The window's outer size in twips, scale mode twips.
FormMetrics MetricsOf(HWND form);

// The left / top edge in twips that centres the form on the screen's
// full-screen client area (SM_CXFULLSCREEN / SM_CYFULLSCREEN); 0 when its
// scale mode is not twips.
int32_t CenterLeft(const FormMetrics& form);
int32_t CenterTop(const FormMetrics& form);

// Drawing off (true) or on (false) by WM_SETREDRAW.
void LockRedraw(HWND window, bool lock);
// The same; unlocking also repaints the window and its children at once.
void LockWindow(HWND window, bool lock);

// MessageBeep.
void SystemBeep(UINT sound_type);

// Gives the toolbar that is the first child of `host` the flat style
// without divider and parent alignment.
void MakeToolbarFlat(HWND host);

}  // namespace shell
}  // namespace corvella
