#include "app/cdrip/progress/frm_mp3_encoding_info.h"

#include <commctrl.h>

#include "app/cdrip/core/encoding_progress.h"
#include "app/foundation/win32/shell/window_helpers.h"

namespace corvella::cdrip {

FrmMP3EncodingInfo::FrmMP3EncodingInfo() {
    Design();
    Wire();
}

FrmMP3EncodingInfo::~FrmMP3EncodingInfo() = default;

void FrmMP3EncodingInfo::Wire() {
    Form_Load = On(&FrmMP3EncodingInfo::Form_Load_);
    Form_Unload = On(&FrmMP3EncodingInfo::Form_Unload_);
    Form_QueryUnload = On(&FrmMP3EncodingInfo::Form_QueryUnload_);
    cmdMain.Click = On(&FrmMP3EncodingInfo::cmdMain_Click);
}

void FrmMP3EncodingInfo::Form_Load_() {
    flatLook_.Create(*this);
    shell::SetProgressBackColour(ProgressBar2.hWnd(), RGB(255, 255, 255));
    shell::SetProgressBarColour(ProgressBar2.hWnd(), RGB(23, 103, 180));
    // The label's tooltip: a tooltip window that watches the label itself.
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWnd(), nullptr, nullptr, nullptr);
    tip_.clear();
    fitted_.clear();
    SetTip("");
}

void FrmMP3EncodingInfo::Form_Unload_(int&) {
    flatLook_.Destroy();
    if (tooltip_) DestroyWindow(tooltip_);
    tooltip_ = nullptr;
}

// Cancel only hides: the run sees it after its current block.
void FrmMP3EncodingInfo::cmdMain_Click(int) { Hide(); }

// Closing it by hand is a Cancel too; the run's end unloads it.
void FrmMP3EncodingInfo::Form_QueryUnload_(int& cancel, int unloadMode) {
    if (unloadMode != forms::kUnloadControlMenu) return;
    cancel = 1;
    Hide();
}

void FrmMP3EncodingInfo::SetTip(const std::string& text) {
    tip_ = text;
    if (!tooltip_) return;
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hWnd();
    info.uId = reinterpret_cast<UINT_PTR>(lblstatus.hWnd());
    info.lpszText = const_cast<char*>(tip_.c_str());
    // Adding again replaces the text: the tool is the label's window.
    SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void FrmMP3EncodingInfo::UpdateProgress(const std::string& fileName, float done, float total,
                                        const std::string& status) {
    if (!Loaded()) return;
    SetCaption(EncodingCaption(done, total));
    ProgressBar2.SetMax(100);
    ProgressBar2.SetValue(EncodingPercent(done, total));
    // A track takes hundreds of blocks under one name: fit it once. Asking
    // the label for its text each block costs as much as a redraw under Wine.
    if (fileName != tip_ || fitted_.empty()) {
        fitted_ = shell::FitTextWithEllipsis(hDC(), lblstatus.Width(), fileName, DT_END_ELLIPSIS);
        lblstatus.SetCaption(fitted_);
        SetTip(fileName);
    }
    if (Label2.Caption() != status) Label2.SetCaption(status);
}

FrmMP3EncodingInfo& frmMP3EncodingInfo() { return forms::DefaultInstance<FrmMP3EncodingInfo>(); }

bool EncodingWindowProgress::Visible() { return frmMP3EncodingInfo().Visible(); }

void EncodingWindowProgress::Update(const std::string& fileName, double done, double total,
                                    const std::string& status) {
    if (fileName == shownFile_ && done < total && !throttle_.Due()) return;
    frmMP3EncodingInfo().UpdateProgress(fileName, float(done), float(total), status);
    shownFile_ = fileName;
    throttle_.Shown();
}

void EncodingWindowProgress::DoEvents() { forms::DoEvents(); }

}  // namespace corvella::cdrip
