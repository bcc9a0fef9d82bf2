#include "app/mainwindow/apply/win32/com_tag_objects.h"

#include "app/foundation/files/win32/win32_file_ops.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace apply {

void ProgressWindowApply::ParserError() {
    forms::MsgBox(foundation::kParserErrorText, MB_OK | MB_ICONEXCLAMATION, foundation::kParserErrorTitle);
}

ApplyOutcome RunApplyWithProgress(forms::Form& caller, const ApplyRequest& request, TagObject& id3v1,
                                  TagObject& id3v2, const AutoRenameSettings& autoRename) {
    ApplyOutcome out;
    if (request.selectedRow < 0 || static_cast<size_t>(request.selectedRow) >= request.rowKeys.size()) return out;
    ProgressWindowApply progress;
    std::vector<std::string> notRenamed;
    RunBatchWithProgress(
        caller,
        [&] {
            out = ApplyID3Update(request, id3v1, id3v2, progress);
            if (autoRename.on && !out.written.empty()) {
                files::RenameOutcome moved = AutoRenameFiles(out.written, request.tagVersion == 0 ? id3v1 : id3v2,
                                                             AutoRenameRecipe(autoRename), files::SystemFiles());
                out.renamed = std::move(moved.renamed);
                notRenamed = std::move(moved.notRenamed);
            }
            batch::BatchOutcome b;
            b.done = out.filesDone;
            b.cancelled = out.cancelled;
            b.failed = out.unwritten;
            b.failed.insert(b.failed.end(), notRenamed.begin(), notRenamed.end());
            return b;
        },
        // One closing message: the files not written, then those not renamed.
        [&](const std::vector<std::string>&) {
            std::vector<MessagePart> parts = UnwrittenFilesParts(out.unwritten);
            std::vector<MessagePart> unrenamed = files::NotRenamedParts(notRenamed);
            if (!parts.empty() && !unrenamed.empty()) unrenamed.front().text.insert(0, "\r\n\r\n");
            parts.insert(parts.end(), unrenamed.begin(), unrenamed.end());
            return FitMessage(parts);
        });
    return out;
}

}  // namespace apply
}  // namespace corvella
