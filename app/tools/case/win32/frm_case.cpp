#include "app/tools/case/win32/frm_case.h"

#include <utility>

#include "app/foundation/win32/progress/progress_update.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/mainwindow/apply/tag_apply.h"

namespace corvella {

FrmCase::FrmCase(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmCase::Wire() {
    Form_Load = On(&FrmCase::Form_Load_);
    Form_Unload = On(&FrmCase::Form_Unload_);
    for (auto& c : Check1) c.Click = On(&FrmCase::Check1_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmCase::cmdMain_Click);
}

void FrmCase::Prepare(const FileSet& files, const tags::TagPair& tags, std::function<void()> listAgain) {
    files_ = files;
    tags_ = tags;
    listAgain_ = std::move(listAgain);
    result_ = ToolResult();
}

// Each value goes into its control on its own: one that cannot be set
// leaves its control as designed and the others still load.
void FrmCase::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    tagcase::CaseChoice choice;
    skip([&] { choice = tagcase::ReadCaseSettings(*store_); });
    skip([&] { Combo1.SetListIndex(choice.newCase); });
    skip([&] { Combo2.SetListIndex(choice.applyVersion); });
    skip([&] { Combo3.SetListIndex(choice.applyTo); });
    for (int i : tagcase::kKeptFields) skip([&] { Check1[i].SetValue(choice.fields[static_cast<size_t>(i)] ? 1 : 0); });
    Check1_Click(0);
}

void FrmCase::Form_Unload_(int&) {
    forms::ResumeNext skip;
    skip([&] { tagcase::SaveCaseSettings(*store_, Choice()); });
    flat_.Destroy();
    if (skip.Failures() != 0)
        forms::MsgBox("The case settings could not be saved: " + skip.LastError(), MB_OK | MB_ICONEXCLAMATION);
}

void FrmCase::Check1_Click(int) {
    std::array<bool, tags::kFieldCount> ticked{};
    for (int i = 0; i < tags::kFieldCount; ++i) ticked[static_cast<size_t>(i)] = Check1[i].Value() == 1;
    cmdMain[0].SetEnabled(tagcase::AnyFieldTicked(ticked));
}

void FrmCase::cmdMain_Click(int index) {
    if (index == 0) ApplyCaseToFiles();
    else Unload();
}

tagcase::CaseChoice FrmCase::Choice() const {
    tagcase::CaseChoice c;
    c.newCase = Combo1.ListIndex();
    c.applyVersion = Combo2.ListIndex();
    c.applyTo = Combo3.ListIndex();
    for (int i : tagcase::kKeptFields) c.fields[static_cast<size_t>(i)] = Check1[i].Value() == 1;
    return c;
}

// The run under the progress window; the main list reads its files again
// after any run, also a cancelled one. Files not written are named once.
// Without a file to work on no window shows.
void FrmCase::ApplyCaseToFiles() {
    const tagcase::CaseChoice choice = Choice();
    const std::vector<std::string> paths = tagcase::FilesToConvert(choice, files_);
    if (paths.empty()) return;
    RunBatchWithProgress(
        *this,
        [&] {
            ProgressWindowView view;
            return tagcase::ConvertFiles(choice, paths, tags_, view);
        },
        apply::UnwrittenFilesMessage);
    if (listAgain_)
        listAgain_();
    else
        result_.tagsRewritten = true;
}

FrmCase& frmCase() { return forms::DefaultInstance<FrmCase>(); }

ToolResult OpenCaseTool(forms::Form& owner, const FileSet& files, const tags::TagPair& tags,
                        std::function<void()> listAgain) {
    FrmCase& form = frmCase();
    form.Prepare(files, tags, std::move(listAgain));
    form.Show(forms::kModal, &owner);
    return form.Result();
}

}  // namespace corvella
