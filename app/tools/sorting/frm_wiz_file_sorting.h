// frmWizFileSorting, the file-sorting wizard: six pages on the wizard
// controls that move the MP3 files of a source folder into folders of a
// destination named after one or two of their tag fields, show the plan
// first, report each move and remove the source folders left empty.
// Settings live under HKEY_CURRENT_USER\Software\Corvella\Options\Sorting.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controls/flatheader/flat_header.h"
#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/tools/sorting/core/sorting.h"
#include "app/controls/hosted/wizard_controls.h"
#include "platform/forms/forms.h"
#include "platform/listview/list_view.h"

namespace corvella {

class FrmWizFileSorting : public forms::Form {
public:
    // Pages 1 to 6, added to the bar in this order; the bar below them.
    forms::WizardPage wizStart, wizOutput, wizOptions, WizPreview, wizResults, wizFinish;
    forms::WizardButtons WizardButtons1;

    // Page 1 and page 6: the splash pages' texts.
    forms::Label lblStartTitle, lblStartText, lblStartNext;
    forms::Label lblFinishTitle, lblFinishText, lblFinishUnknown;
    forms::CheckBox Check2;  // run the wizard again

    // Page 2: the folders.
    forms::Label lblOutput, lblInput;
    forms::TextBox Text1;  // destination
    forms::TextBox Text2;  // source
    forms::CommandButton Command1, Command2;  // "&Browse"
    forms::CheckBox chkRecursive;

    // Page 3: the folder levels and the tag version.
    forms::Label lblFolder, lblSubFolder, lblTagVersion;
    forms::ComboBox cboFolder, cboSubFolder, cboTagVersion;
    forms::CheckBox Check1;  // remove emptied folders
    forms::Frame fraTip;     // "Information Tip"
    forms::Label lblTip;

    // Page 4: the preview; page 5: the results.
    forms::Label Label14, Label15;
    platform::ListView lvwPreview;
    forms::Label lblResults;
    platform::ListView lvwResults;

    // The settings it reads and writes: the registry unless a test gives
    // another store. `files` gives the folder the wizard starts from, `tags`
    // the shared tag objects it reads with.
    FrmWizFileSorting(const FileSet& files, const tags::TagPair& tags, SettingsStore* store = nullptr);
    ~FrmWizFileSorting() override;

    // True once a run has moved a file: the main window lists its folder
    // again.
    bool MovedAny() const { return movedAny_; }
    // True while the preview is built or the files are moved.
    bool Busy() const { return busy_ != 0; }

private:
    class ResultsView;
    void Design();  // frm_wiz_file_sorting_design.cpp
    void Wire();

    void Form_Load_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Check2_Click(int index);
    void WizardButtons1_BeforeMove(int index, int direction, int moveFrom, int& moveTo, bool& cancel);
    void WizardButtons1_CancelClicked(int index);
    void WizardButtons1_FinishClicked(int index);
    void wizStart_PageActivated(int index);
    void wizOutput_PageActivated(int index);
    void wizOptions_PageActivated(int index);
    void WizPreview_PageActivated(int index);
    void wizResults_PageActivated(int index);
    void wizFinish_PageActivated(int index);

    void SetButtons(bool back, bool next, bool cancel);
    void UpdateFinishCaption();
    // Page 2's folders trimmed and made full; false (with the message) when
    // either is no folder.
    bool CheckFolders();
    sorting::SortOptions Options();
    void BuildSortPreview();
    void PerformSort();
    void ShowReading(const std::string& path);

    FileSet files_;
    tags::TagPair tags_;
    SettingsStore* store_;
    FlatLook flat_;
    controls::CFlatHeader header_;
    forms::ImageList icons_;
    std::vector<sorting::PlanItem> plan_;
    std::string source_;  // the source folder of the last preview, full
    int busy_ = 0;
    bool movedAny_ = false;
    shell::PaintThrottle reading_;  // the label of the file being read
};

// Shows the wizard modally over `owner`; the list is listed again when it
// moved a file.
ToolResult ShowFileSortingWizard(forms::Form& owner, const FileSet& files, const tags::TagPair& tags);

}  // namespace corvella
