// The program's help: the help file beside the program, its named windows,
// topics opened by context id, and the application's help file setting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace corvella {
namespace shell {

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

}  // namespace shell
}  // namespace corvella
