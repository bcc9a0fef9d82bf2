#include "app/tools/rename/win32/frm_rename_files.h"

#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "libs/common/scope/scope_exit.h"
#include "libs/flatcontrols/win32/os_version_win32.h"

namespace corvella {
namespace {

const char kTitle[] = "Rename";

}  // namespace

FrmRenameFiles::FrmRenameFiles(SettingsStore* store, files::FileService* service)
    : store_(store != nullptr ? store : &RegistryStore()), service_(service) {
    Design();
    Wire();
}

void FrmRenameFiles::Wire() {
    Form_Load = On(&FrmRenameFiles::Form_Load_);
    Form_Unload = On(&FrmRenameFiles::Form_Unload_);
    for (auto& c : cboName) c.Click = On(&FrmRenameFiles::cboName_Click);
    cboSeperator.Click = On(&FrmRenameFiles::cboSeperator_Click);
    Combo1.Click = On(&FrmRenameFiles::Combo1_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmRenameFiles::cmdMain_Click);
}

void FrmRenameFiles::Prepare(const FileSet& files, forms::ImageList* smallIcons) {
    files_ = files;
    smallIcons_ = smallIcons;
    result_ = ToolResult();
}

void FrmRenameFiles::Form_Load_() {
    forms::ResumeNext skip;
    // Windows XP draws its own themed borders: the list keeps its 3-D look.
    if (!ReadOSVersion().IsWinXP()) {
        skip([&] { flat_.Create(*this); });
        skip([&] { flat_.SoftBorder(lvFiles); });
    }
    lvFiles.SetSmallIcons(smallIcons_);
    lvFiles.ColumnHeaders.Add("", "Rename To", lvFiles.Width() - 600);
    skip([&] { foundation::EnhListView_Add_FullRowSelect(lvFiles.hWnd(), false); });

    // A value that cannot be read leaves its list at its default.
    rename::RenameChoices choices;
    skip([&] { choices = rename::ReadRenameChoices(*store_); });
    restoring_ = true;
    cboSeperator.SetListIndex(choices.separator);
    Combo1.SetListIndex(choices.textCase);
    for (int i = 0; i < 4; ++i) cboName[i].SetListIndex(choices.names[i]);
    restoring_ = false;
    ChoiceChanged();

    header_.ownerName = name;
    header_.name = "cFlatHeader";
    skip([&] { header_.Attach(lvFiles.hWnd()); });
}

void FrmRenameFiles::Form_Unload_(int&) {
    forms::ResumeNext skip;
    skip([&] { rename::SaveRenameChoices(*store_, Choices()); });
    header_.Detach();
    flat_.Destroy();
}

rename::RenameChoices FrmRenameFiles::Choices() const {
    rename::RenameChoices c;
    c.separator = cboSeperator.ListIndex();
    c.textCase = Combo1.ListIndex();
    for (int i = 0; i < 4; ++i) c.names[i] = cboName[i].ListIndex();
    return c;
}

void FrmRenameFiles::cboName_Click(int) { ChoiceChanged(); }
void FrmRenameFiles::cboSeperator_Click(int) { ChoiceChanged(); }
void FrmRenameFiles::Combo1_Click(int) { ChoiceChanged(); }

void FrmRenameFiles::ChoiceChanged() {
    if (restoring_) return;
    UpdateDisplay();
    cmdMain[0].SetEnabled(true);
}

void FrmRenameFiles::cmdMain_Click(int index) {
    if (index == 0)
        RenameFiles();
    else
        Unload();
}

// Each preview row is built with its own list row, so row i of the preview
// always names file i, whatever a name comes to.
void FrmRenameFiles::UpdateDisplay() {
    const files::NameRecipe recipe = rename::RecipeOf(Choices());
    lvFiles.ListItems.Clear();
    names_.clear();
    names_.reserve(files_.rows.size());
    for (const FileRow& row : files_.rows) {
        names_.push_back(files::BuildTagName(row.path, row.cells, recipe));
        lvFiles.ListItems.Add("", names_.back().name, 1);
    }
}

void FrmRenameFiles::RenameFiles() {
    std::vector<files::RenameItem> items;
    for (size_t i = 0; i < files_.rows.size() && i < names_.size(); ++i)
        items.push_back({files_.rows[i].path, names_[i]});
    files::RenameOutcome outcome;
    {
        // The hourglass while the files move.
        const HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        const auto restore = OnScopeExit([old] { SetCursor(old); });
        outcome = files::RenameToTagNames(service_ != nullptr ? *service_ : files::SystemFiles(), items);
    }
    // The outcome lists the renamed files in the rows' order.
    const size_t earlierRuns = result_.renamed.size();
    size_t next = 0;
    for (FileRow& row : files_.rows) {
        if (next == outcome.renamed.size()) break;
        const auto& [from, to] = outcome.renamed[next];
        if (row.path != from) continue;
        ++next;
        row.path = to;
        // A file renamed again in a later run keeps one entry, from its
        // first name to its last.
        bool again = false;
        for (size_t k = 0; k < earlierRuns; ++k)
            if (result_.renamed[k].second == from) {
                result_.renamed[k].second = to;
                again = true;
            }
        if (!again) result_.renamed.emplace_back(from, to);
    }
    cmdMain[0].SetEnabled(false);
    const std::string message = files::NotRenamedMessage(outcome.notRenamed);
    if (!message.empty()) forms::MsgBox(hWnd(), message, MB_OK | MB_ICONEXCLAMATION, kTitle);
}

ToolResult ShowRenameFiles(forms::Form& owner, const FileSet& files, forms::ImageList* smallIcons) {
    FrmRenameFiles form;
    form.Prepare(files, smallIcons);
    form.Show(forms::kModal, &owner);
    return form.Result();
}

}  // namespace corvella
