#include "app/foundation/win32/progress/progress_update.h"

#include <exception>

#include "app/foundation/units.h"
#include "app/foundation/win32/shell/shell_helpers.h"

namespace corvella {

FrmProgressUpdate::FrmProgressUpdate() {
    name = "frmProgressUpdate";
    caption = "Updating Tag Information...";
    borderStyle = forms::kFixedDialog;
    controlBox = false;
    startUpPosition = forms::kStartCenterOwner;
    width = 5550;
    height = 2130;
    fontName = "Tahoma";

    Label1.name = "Label1";
    Label1.caption = "File:";
    Label1.Move(120, 120, 900, 255);
    Label2.name = "Label2";
    Label2.useMnemonic = false;
    Label2.Move(1080, 120, 4080, 255);
    Label4.name = "Label4";
    Label4.caption = "Filename:";
    Label4.Move(120, 420, 900, 255);
    Label3.name = "Label3";
    Label3.useMnemonic = false;  // file names may hold "&"
    Label3.Move(1080, 420, 4080, 255);

    ProgressBar1.name = "ProgressBar1";
    ProgressBar1.smooth = true;
    ProgressBar1.borderStyle = 0;
    ProgressBar1.min = 0;
    ProgressBar1.max = 100;
    ProgressBar1.Move(120, 780, 5040, 255);

    cmdMain.name = "cmdMain";
    cmdMain.caption = "&Cancel";
    cmdMain.cancel = true;
    cmdMain.Move(3960, 1140, 1200, 375);

    CreateControls = [this] {
        Label1.Create(*this);
        Label2.Create(*this);
        Label4.Create(*this);
        Label3.Create(*this);
        ProgressBar1.Create(*this);
        cmdMain.Create(*this);
    };
    Form_Load = [this] {
        shell::SetProgressBackColour(ProgressBar1.hWnd(), RGB(255, 255, 255));
        shell::SetProgressBarColour(ProgressBar1.hWnd(), RGB(23, 103, 180));
    };
    // Cancel only hides: the batch sees it and stops after its current item.
    cmdMain.Click = [this](int) { Hide(); };
    // Closing it by hand is a Cancel too; the caller unloads it.
    Form_QueryUnload = [this](int& cancel, int unloadMode) {
        if (unloadMode != forms::kUnloadControlMenu) return;
        cancel = 1;
        Hide();
    };
}

FrmProgressUpdate::~FrmProgressUpdate() = default;

void FrmProgressUpdate::UpdateProgress(const std::string& countText, const std::string& fileName,
                                       int16_t percent, const std::string& caption) {
    if (!Loaded()) return;
    Label2.SetCaption(countText);
    Label3.SetCaption(shell::FitTextWithEllipsis(hDC(), Label3.Width(), fileName, DT_END_ELLIPSIS));
    ProgressBar1.SetValue(percent);
    SetCaption(caption);
    Refresh();
}

FrmProgressUpdate& frmProgressUpdate() { return forms::DefaultInstance<FrmProgressUpdate>(); }

bool RunWithProgress(forms::Form& caller, const std::function<void()>& batch) {
    FrmProgressUpdate& progress = frmProgressUpdate();
    forms::Timer timer;
    timer.name = "tmrProgress";
    timer.interval = 10;
    timer.enabled = true;
    bool running = false;
    bool ran = false;
    timer.Tick = [&](int) {
        // The batch yields between items; a later tick must not start it again.
        if (running) return;
        running = true;
        ran = true;
        try {
            batch();
        } catch (...) {
            timer.SetEnabled(false);
            running = false;
            progress.Unload();
            throw;
        }
        timer.SetEnabled(false);
        running = false;
        progress.Unload();
    };
    if (!caller.Loaded() || !timer.Create(caller)) return false;
    progress.Show(forms::kModal, &caller);
    // Hidden before the first tick: nothing ran, and the window goes all the same.
    if (!ran) progress.Unload();
    return ran;
}

bool ProgressContinues() {
    forms::DoEvents();
    return frmProgressUpdate().Visible();
}

int16_t BatchPercent(int position, int total) {
    if (total <= 0) return 0;
    return static_cast<int16_t>(RoundHalfEven(static_cast<double>(position) * 100.0 / total));
}

int RunBatch(forms::Form& caller, const std::string& caption, int count,
             const std::function<std::string(int)>& fileName, const std::function<void(int)>& work) {
    int done = 0;
    RunWithProgress(caller, [&] {
        FrmProgressUpdate& progress = frmProgressUpdate();
        for (int i = 1; i <= count; ++i) {
            progress.UpdateProgress(std::to_string(i) + " of " + std::to_string(count), fileName(i),
                                    BatchPercent(i, count), caption);
            work(i);
            ++done;
            if (!ProgressContinues()) break;
        }
    });
    return done;
}

}  // namespace corvella
