// frmMP3EncodingInfo: the window over the ripper while a run encodes. The
// run shows each block's progress through UpdateProgress and takes the
// window's visibility as its go-ahead: "&Cancel" only hides it.
#pragma once

#include <windows.h>

#include <string>

#include "app/cdrip/core/rip_track.h"
#include "app/controls/progressbar/progress_bar.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "platform/forms/forms.h"

namespace corvella::cdrip {

class FrmMP3EncodingInfo : public forms::Form {
public:
    forms::Label Label3;     // "Track:"
    forms::Label Label2;     // "k of n"
    forms::Label Label1;     // "Filename:"
    forms::Label lblstatus;  // the file's name, fitted; the whole name as its tooltip
    controls::ProgressBar ProgressBar2;
    forms::CommandButton cmdMain;  // "&Cancel"

    FrmMP3EncodingInfo();
    ~FrmMP3EncodingInfo() override;

    // Caption "Encoding Progress 05.5 %", the bar at the rounded share, the
    // file's name ended with "..." where it is too wide, the status. No
    // repaint and no yield here: the run lets the messages run after it.
    void UpdateProgress(const std::string& fileName, float done, float total, const std::string& status);

    // The tooltip text of lblstatus (the full file name).
    std::string StatusTip() const { return tip_; }

private:
    void Design();  // frm_mp3_encoding_info_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void cmdMain_Click(int index);
    void SetTip(const std::string& text);

    FlatLook flatLook_;
    HWND tooltip_ = nullptr;
    std::string tip_;
    std::string fitted_;  // the label's text as last set
};

// The default instance, made on first use.
FrmMP3EncodingInfo& frmMP3EncodingInfo();

// The window as the run sees it.
// The run's progress on the encoding window. A new file and a track's last
// block always show; the blocks between show at the throttle's pace.
class EncodingWindowProgress : public RipProgress {
public:
    bool Visible() override;
    void Update(const std::string& fileName, double done, double total, const std::string& status) override;
    void DoEvents() override;

private:
    shell::PaintThrottle throttle_;
    std::string shownFile_;
};

}  // namespace corvella::cdrip
