#include "app/foundation/win32/progress/progress_update.h"

#include <exception>

#include "app/foundation/win32/shell/window_helpers.h"

namespace corvella {

FrmProgressUpdate::FrmProgressUpdate() {
    Design();
    Wire();
}

void FrmProgressUpdate::Wire() {
    Form_Load = On(&FrmProgressUpdate::Form_Load_);
    Form_QueryUnload = On(&FrmProgressUpdate::Form_QueryUnload_);
    Form_Unload = On(&FrmProgressUpdate::Form_Unload_);
    cmdMain.Click = On(&FrmProgressUpdate::cmdMain_Click);
}

void FrmProgressUpdate::Form_Load_() {
    flat_.Create(*this);
    shell::SetProgressBackColour(ProgressBar1.hWnd(), RGB(255, 255, 255));
    shell::SetProgressBarColour(ProgressBar1.hWnd(), RGB(23, 103, 180));
}

void FrmProgressUpdate::Form_Unload_(int&) { flat_.Destroy(); }

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

void ProgressWindowView::DoEvents() { forms::DoEvents(); }

void ProgressWindowView::Show(const std::string& countText, const std::string& fileName, int percent,
                              const std::string& caption) {
    frmProgressUpdate().UpdateProgress(countText, fileName, static_cast<int16_t>(percent), caption);
}

bool ProgressWindowView::Cancelled() { return !frmProgressUpdate().Visible(); }

batch::BatchOutcome RunBatchWithProgress(forms::Form& caller, const std::function<batch::BatchOutcome()>& batch,
                                         const std::function<std::string(const std::vector<std::string>&)>& failedMessage) {
    batch::BatchOutcome out;
    RunWithProgress(caller, [&] { out = batch(); });
    if (!out.failed.empty()) forms::MsgBox(failedMessage(out.failed), MB_OK | MB_ICONEXCLAMATION);
    return out;
}

namespace {

// The older protocol of RunBatch: the messages run after each item, just
// before the window is looked at.
class YieldAfterView : public ProgressWindowView {
public:
    void DoEvents() override {}
    bool Cancelled() override { return !ProgressContinues(); }
};

}  // namespace

int RunBatch(forms::Form& caller, const std::string& caption, int count,
             const std::function<std::string(int)>& fileName, const std::function<void(int)>& work) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(fileName(i));
    YieldAfterView view;
    return RunBatchWithProgress(
               caller,
               [&] {
                   return batch::RunItems(view, caption, names, [&](size_t i) {
                       work(static_cast<int>(i) + 1);
                       return true;
                   });
               },
               [](const std::vector<std::string>&) { return std::string(); })
        .done;
}

}  // namespace corvella
