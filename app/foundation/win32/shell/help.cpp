#include "app/foundation/win32/shell/help.h"

#include <utility>

#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

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

}  // namespace

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

}  // namespace shell
}  // namespace corvella
