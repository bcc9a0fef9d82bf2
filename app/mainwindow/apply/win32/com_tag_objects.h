// The apply's tag objects in the program: the shared CID3v1 and CID3v2 COM
// objects behind the apply's TagObject interface, and the apply's progress
// shown in the batch progress window.
#pragma once

#include <windows.h>

#include "app/mainwindow/apply/auto_rename.h"
#include "app/mainwindow/apply/tag_apply.h"
#include "platform/forms/forms.h"

struct _CID3v1;
struct _CID3v2;

namespace corvella {
namespace apply {

// One of the tag libraries' objects as a TagObject; holds a reference to
// the object for its own life.
template <class Tag>
class ComTag : public TagObject {
public:
    explicit ComTag(Tag* tag);
    ~ComTag() override;
    ComTag(const ComTag&) = delete;
    ComTag& operator=(const ComTag&) = delete;

    std::optional<std::string> FieldText(int index) override;
    bool ReadTag(const std::string& path) override;
    bool SetField(int index, const std::string& value) override;
    bool WriteTag(const std::string& path) override;
    bool RemoveTag(const std::string& path) override;

private:
    Tag* tag_;
};

using ComID3v1 = ComTag<_CID3v1>;
using ComID3v2 = ComTag<_CID3v2>;

// The apply under the batch progress window: yields through the message
// loop, reads Cancel from the window's visibility and shows the parser
// message box.
class ProgressWindowApply : public ApplyProgress {
public:
    void DoEvents() override;
    void Show(const std::string& countText, const std::string& fileName, int percent,
              const std::string& caption) override;
    bool Cancelled() override;
    void ParserError() override;
};

// The apply as the apply button starts it: under the modal progress window
// of `caller`, from its one-shot timer, never twice at once and never with
// a run left marked as going (also when a tag object fails). Afterwards the
// files that could not be written are named in one message box. Without a
// selected row nothing is shown and nothing is written. With Auto-Rename
// on, the files written are renamed from their tags of the shown version
// before that message, which then names the files not renamed too.
ApplyOutcome RunApplyWithProgress(forms::Form& caller, const ApplyRequest& request, TagObject& id3v1,
                                  TagObject& id3v2, const AutoRenameSettings& autoRename = {});

}  // namespace apply
}  // namespace corvella
