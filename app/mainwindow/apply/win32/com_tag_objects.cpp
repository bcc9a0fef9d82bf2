#include "app/mainwindow/apply/win32/com_tag_objects.h"

#include "platform/forms/runtime.h"

namespace corvella {
namespace apply {

void ProgressWindowApply::ParserError() {
    forms::MsgBox(foundation::kParserErrorText, MB_OK | MB_ICONEXCLAMATION, foundation::kParserErrorTitle);
}

ApplyOutcome RunApplyWithProgress(forms::Form& caller, const ApplyRequest& request, TagObject& id3v1,
                                  TagObject& id3v2) {
    ApplyOutcome out;
    if (request.selectedRow < 0 || static_cast<size_t>(request.selectedRow) >= request.rowKeys.size()) return out;
    ProgressWindowApply progress;
    RunBatchWithProgress(
        caller,
        [&] {
            out = ApplyID3Update(request, id3v1, id3v2, progress);
            batch::BatchOutcome b;
            b.done = out.filesDone;
            b.cancelled = out.cancelled;
            b.failed = out.unwritten;
            return b;
        },
        UnwrittenFilesMessage);
    return out;
}

}  // namespace apply
}  // namespace corvella
