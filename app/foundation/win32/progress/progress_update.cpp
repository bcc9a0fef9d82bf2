#include "app/foundation/win32/progress/progress_update.h"

#include <exception>

#include "libs/common/numeric/rounding.h"
#include "app/foundation/win32/shell/shell_helpers.h"

namespace corvella {

FrmProgressUpdate::FrmProgressUpdate() {
    Design();
    Wire();
}

void FrmProgressUpdate::Wire() {
    Form_Load = On(&FrmProgressUpdate::Form_Load_);
    Form_QueryUnload = On(&FrmProgressUpdate::Form_QueryUnload_);
    cmdMain.Click = On(&FrmProgressUpdate::cmdMain_Click);
}

void FrmProgressUpdate::Form_Load_() {
    shell::SetProgressBackColour(ProgressBar1.hWnd(), RGB(255, 255, 255));
    shell::SetProgressBarColour(ProgressBar1.hWnd(), RGB(23, 103, 180));
}

// Cancel only hides: the batch sees it and stops after its current item.
void FrmProgressUpdate::cmdMain_Click(int) { Hide(); }

// Closing it by hand is a Cancel too; the caller unloads it.
void FrmProgressUpdate::Form_QueryUnload_(int& cancel, int unloadMode) {
    if (unloadMode != forms::kUnloadControlMenu) return;
    cancel = 1;
    Hide();
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
