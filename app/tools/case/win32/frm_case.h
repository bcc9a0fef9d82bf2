// frmCase, "Tag Case": changes the letter case of the ticked tag fields in
// the ID3v1 tag, the ID3v2 tag or both, of the selected file or of every
// listed file, under the batch progress window. Its choices live under
// HKEY_CURRENT_USER\Software\Corvella\Options\Case, read when it loads and
// written when it closes.
#pragma once

#include <array>
#include <functional>

#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/tools/case/core/case_run.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmCase : public forms::Form {
public:
    forms::Label Label1;  // "Convert Case to:"
    forms::ComboBox Combo1;  // the case mode
    forms::ComboBox Combo2;  // the tag versions
    forms::Label Label2;  // "Apply To:"
    forms::ComboBox Combo3;
    forms::Label Label3;  // "Tag Fields:"
    // By field index; 3 (Year) and 6 (Track) lie outside the client area.
    std::array<forms::CheckBox, tags::kFieldCount> Check1;
    std::array<forms::CommandButton, 2> cmdMain;  // "&Update", "&Cancel"

    // The settings it reads and writes: the registry unless a test gives
    // another store.
    explicit FrmCase(SettingsStore* store = nullptr);

    // What the next show works on: the main list and the shared tag objects.
    // `listAgain`, when given, makes the main list read its files again
    // after each run, while the form stays open.
    void Prepare(const FileSet& files, const tags::TagPair& tags, std::function<void()> listAgain = {});
    // What the runs since Prepare did to the main list's files.
    const ToolResult& Result() const { return result_; }

private:
    void Design();  // frm_case_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void Check1_Click(int index);
    void cmdMain_Click(int index);
    void ApplyCaseToFiles();
    tagcase::CaseChoice Choice() const;

    SettingsStore* store_;
    FlatLook flat_;
    FileSet files_;
    tags::TagPair tags_;
    ToolResult result_;
    std::function<void()> listAgain_;
};

// The default instance.
FrmCase& frmCase();

// The opener the main window calls for "btnCase": shows the form modal over
// `owner`; the main list reads its files again after each run through
// `listAgain`. Without it the answer asks for that once the form has closed.
ToolResult OpenCaseTool(forms::Form& owner, const FileSet& files, const tags::TagPair& tags,
                        std::function<void()> listAgain = {});

}  // namespace corvella
