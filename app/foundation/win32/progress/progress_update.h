// The batch progress window and the protocol every batch that writes files
// follows: the caller arms a one-shot 10 ms timer on its own form and shows
// the window modal with itself as owner; the tick runs the batch, which
// reports each item through UpdateProgress and stops after the current item
// once the window is no longer visible (Cancel hides it); at the end the
// window is unloaded, which ends the modal show.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/controls/progressbar/progress_bar.h"
#include "app/foundation/batch.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmProgressUpdate : public forms::Form {
public:
    forms::Label Label1;  // "File:"
    forms::Label Label2;  // the count text
    forms::Label Label4;  // "Filename:"
    forms::Label Label3;  // the current file name
    controls::ProgressBar ProgressBar1;  // percent, 0 to 100
    forms::CommandButton cmdMain;        // "&Cancel"

    FrmProgressUpdate();
    ~FrmProgressUpdate() override;

    // Shows the item: CountText ("3 of 10"), the file name shortened with an
    // end ellipsis to the width of its label, the bar at Percent, the batch's
    // caption; then repaints at once, since the batch does not yield for
    // painting. Nothing happens while the window is not loaded.
    void UpdateProgress(const std::string& countText, const std::string& fileName, int16_t percent,
                        const std::string& caption);

private:
    void Design();  // progress_update_design.cpp
    void Wire();

    void Form_Load_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    void cmdMain_Click(int index);

    FlatLook flat_;
};

// The default instance.
FrmProgressUpdate& frmProgressUpdate();

// Runs `batch` in the tick of a one-shot 10 ms timer of `caller` while the
// progress window is shown modal with `caller` as owner, and unloads the
// window when the batch returns (or throws: the error is reported as the
// timer's and the window still goes). Returns when the batch has ended;
// false when it did not run (the caller is not loaded, or the window was
// closed before the timer ticked).
bool RunWithProgress(forms::Form& caller, const std::function<void()>& batch);

// For the batch, after each item: lets the message loop handle what waits
// (a click on Cancel), then tells whether the next item may start.
bool ProgressContinues();

// The progress window as a batch sees it: messages run through the forms'
// loop, items show in the window, and a hidden window is a Cancel.
class ProgressWindowView : public batch::BatchView {
public:
    void DoEvents() override;
    void Show(const std::string& countText, const std::string& fileName, int percent,
              const std::string& caption) override;
    bool Cancelled() override;
};

// The batch runner: `batch` runs under the modal progress window of
// `caller` (RunWithProgress); afterwards the items it names as failed are
// reported once, in one message box with failedMessage(failed). The
// outcome is the batch's; nothing ran when the caller was not loaded.
batch::BatchOutcome RunBatchWithProgress(forms::Form& caller, const std::function<batch::BatchOutcome()>& batch,
                                         const std::function<std::string(const std::vector<std::string>&)>& failedMessage);

// The plain batch: for items 1 to `count`, UpdateProgress with "i of count",
// fileName(i), the percentage and `caption`, then work(i); stops after the
// current item when the window was hidden. Returns the number of items
// worked on.
int RunBatch(forms::Form& caller, const std::string& caption, int count,
             const std::function<std::string(int)>& fileName, const std::function<void(int)>& work);

}  // namespace corvella
