// The apply in the program: its progress shown in the batch progress
// window, over the shared tag objects.
#pragma once

#include <windows.h>

#include "app/foundation/tags/win32/com_tag.h"
#include "app/foundation/win32/progress/progress_update.h"
#include "app/mainwindow/apply/tag_apply.h"
#include "platform/forms/forms.h"

namespace corvella {
namespace apply {

// The tag objects the apply writes through (app/foundation/tags/win32).
using tags::ComID3v1;
using tags::ComID3v2;
using tags::ComTag;

// The apply under the batch progress window, with the parser's message box.
class ProgressWindowApply : public ApplyProgress {
public:
    void DoEvents() override { window_.DoEvents(); }
    void Show(const std::string& countText, const std::string& fileName, int percent,
              const std::string& caption) override {
        window_.Show(countText, fileName, percent, caption);
    }
    bool Cancelled() override { return window_.Cancelled(); }
    void ParserError() override;

private:
    ProgressWindowView window_;
};

// The apply as the apply button starts it: under the modal progress window
// of `caller`, from its one-shot timer, never twice at once and never with
// a run left marked as going (also when a tag object fails). Afterwards the
// files that could not be written are named in one message box. Without a
// selected row nothing is shown and nothing is written.
ApplyOutcome RunApplyWithProgress(forms::Form& caller, const ApplyRequest& request, TagObject& id3v1,
                                  TagObject& id3v2);

}  // namespace apply
}  // namespace corvella
