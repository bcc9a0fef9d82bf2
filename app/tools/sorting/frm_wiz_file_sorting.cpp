#include "app/tools/sorting/frm_wiz_file_sorting.h"

#include <windows.h>

#include <map>

#include "app/foundation/batch.h"
#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/foundation/folder_search.h"
#include "app/foundation/paths.h"
#include "app/foundation/settings.h"
#include "app/foundation/text_helpers.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "app/foundation/win32/shell/folders.h"
#include "app/foundation/win32/shell/shell_icons.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "app/tools/sorting/win32/folder_ops_win32.h"
#include "libs/common/scope/scope_exit.h"
#include "libs/common/text/text_primitives.h"
#include "libs/flatcontrols/win32/os_version_win32.h"

namespace corvella {
namespace {

using Bar = forms::WizardButtons;

const std::string kSection = std::string(kSettingsRoot) + "\\Options\\Sorting";
constexpr char kFinish[] = "&Finish";
constexpr char kNext[] = "&Next >";
constexpr char kTitle[] = "File Sorting Wizard";
// Labels and the message loop are served at most this often in a long loop.
constexpr DWORD kShowIntervalMs = 50;

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The full path of a folder the user typed; "" when it names no folder.
std::string FullFolder(const std::string& typed) {
    const std::string text = Trim(typed);
    if (text.empty()) return std::string();
    char full[MAX_PATH + 1] = {};
    char* name = nullptr;
    const DWORD n = GetFullPathNameA(text.c_str(), sizeof full, full, &name);
    if (n == 0 || n > MAX_PATH) return std::string();
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::string();
    return AddBackslash(full);
}

// The tag object of a version that cannot read: every file goes to "Unknown".
class NoTag : public tags::TagObject {
public:
    std::optional<std::string> FieldText(int) override { return std::nullopt; }
    bool ReadTag(const std::string&) override { return false; }
    bool SetField(int, const std::string&) override { return false; }
    bool WriteTag(const std::string&) override { return false; }
    bool RemoveTag(const std::string&) override { return false; }
};

}  // namespace

FrmWizFileSorting::FrmWizFileSorting(const FileSet& files, const tags::TagPair& tags, SettingsStore* store)
    : files_(files), tags_(tags), store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

FrmWizFileSorting::~FrmWizFileSorting() { Unload(); }

void FrmWizFileSorting::Wire() {
    Form_Load = On(&FrmWizFileSorting::Form_Load_);
    Form_QueryUnload = On(&FrmWizFileSorting::Form_QueryUnload_);
    Form_Unload = On(&FrmWizFileSorting::Form_Unload_);
    Command1.Click = On(&FrmWizFileSorting::Command1_Click);
    Command2.Click = On(&FrmWizFileSorting::Command2_Click);
    Check2.Click = On(&FrmWizFileSorting::Check2_Click);
    WizardButtons1.BeforeMove = On(&FrmWizFileSorting::WizardButtons1_BeforeMove);
    WizardButtons1.CancelClicked = On(&FrmWizFileSorting::WizardButtons1_CancelClicked);
    WizardButtons1.FinishClicked = On(&FrmWizFileSorting::WizardButtons1_FinishClicked);
    wizStart.PageActivated = On(&FrmWizFileSorting::wizStart_PageActivated);
    wizOutput.PageActivated = On(&FrmWizFileSorting::wizOutput_PageActivated);
    wizOptions.PageActivated = On(&FrmWizFileSorting::wizOptions_PageActivated);
    WizPreview.PageActivated = On(&FrmWizFileSorting::WizPreview_PageActivated);
    wizResults.PageActivated = On(&FrmWizFileSorting::wizResults_PageActivated);
    wizFinish.PageActivated = On(&FrmWizFileSorting::wizFinish_PageActivated);
}

void FrmWizFileSorting::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { header_.Attach(lvwResults.hWnd()); });
    if (!ReadOSVersion().IsWinXP()) {
        skip([&] { flat_.Create(*this); });
        skip([&] { flat_.SoftBorder(lvwPreview); });
        skip([&] { flat_.SoftBorder(lvwResults); });
    }
    // Each choice carries its tag field, and each version its number.
    for (const auto& [combo, choices] : {std::pair{&cboFolder, &sorting::FolderChoices()},
                                         std::pair{&cboSubFolder, &sorting::SubFolderChoices()}})
        for (size_t i = 0; i < choices->size(); ++i) combo->SetItemData(static_cast<int>(i), (*choices)[i].field);
    for (int i = 0; i < cboTagVersion.ListCount(); ++i) cboTagVersion.SetItemData(i, i);
    // Each value goes into its control on its own: one that cannot be read
    // leaves its control as designed.
    // A value that is no choice of its control gives the default: a combo
    // never opens without a choice.
    auto choose = [&](forms::ComboBox& combo, const char* key, int16_t byDefault) {
        if (!skip([&] { combo.SetListIndex(GetSettingInteger(*store_, kSection, key, byDefault)); }) ||
            combo.ListIndex() < 0)
            combo.SetListIndex(byDefault);
    };
    auto tick = [&](forms::CheckBox& box, const char* key, int32_t byDefault) {
        int32_t value = byDefault;
        skip([&] { value = GetSettingLong(*store_, kSection, key, byDefault); });
        box.SetValue(value == 0 || value == 1 ? value : byDefault);
    };
    choose(cboFolder, "Folder 1", 0);
    choose(cboSubFolder, "Folder 2", sorting::kNoSubFolderIndex);
    choose(cboTagVersion, "Version", 1);
    tick(chkRecursive, "Recursive", 1);
    tick(Check1, "Remove", 1);

    std::string start = files_.folder.empty() ? std::string() : AddBackslash(files_.folder);
    if (LowerAscii(start) == "desktop\\") start = shell::GetSpecialFolder(hWnd(), 16);
    Text1.SetText(start);
    Text2.SetText(start);

    skip([&] {
        shell::ShellFileInfo info = shell::QueryExtensionInfo("MP3", shell::kSmallIcon);
        if (info.icon != nullptr) {
            icons_.AddIcon(info.icon);
            DestroyIcon(info.icon);
        }
        lvwPreview.SetSmallIcons(&icons_);
        lvwResults.SetSmallIcons(&icons_);
    });
    // Widths that fit the lists beside their vertical scroll bars.
    lvwPreview.ColumnHeaders.Add("", "", 6480);
    lvwResults.ColumnHeaders.Add("", "Filename", 2760);
    lvwResults.ColumnHeaders.Add("", "Result", 1200);
    lvwResults.ColumnHeaders.Add("", "Reason", 2520);

    for (forms::WizardPage* page : {&wizStart, &wizOutput, &wizOptions, &WizPreview, &wizResults, &wizFinish})
        WizardButtons1.Add(*page);
    WizardButtons1.ShowPage(1);
    WizardButtons1.SetButtonCaption(Bar::ButtonCancel, "&Close");
    WizardButtons1.SetButtonVisible(Bar::ButtonHelp, false);
}

// A preview or a run in progress keeps the window: its loop still holds the
// form and its lists.
void FrmWizFileSorting::Form_QueryUnload_(int& cancel, int) {
    if (busy_ != 0) cancel = 1;
}

void FrmWizFileSorting::Form_Unload_(int&) {
    forms::ResumeNext skip;
    auto save = [&](const char* key, int value) {
        skip([&] { SaveSettingInteger(*store_, kSection, key, static_cast<int16_t>(value)); });
    };
    save("Folder 1", cboFolder.ListIndex());
    save("Folder 2", cboSubFolder.ListIndex());
    save("Version", cboTagVersion.ListIndex());
    save("Recursive", chkRecursive.Value());
    save("Remove", Check1.Value());
    header_.Detach();
    flat_.Destroy();
}

void FrmWizFileSorting::Command1_Click(int) {
    const std::string chosen = shell::BrowseForFolder(
        hWnd(), "Please select a folder that you would like the files to be sorted into...", Text1.Text());
    if (!chosen.empty()) Text1.SetText(AddBackslash(chosen));
}

void FrmWizFileSorting::Command2_Click(int) {
    const std::string chosen = shell::BrowseForFolder(
        hWnd(), "Please select a folder that contains the files that you wish to sort...", Text2.Text());
    if (!chosen.empty()) Text2.SetText(AddBackslash(chosen));
}

void FrmWizFileSorting::Check2_Click(int) { UpdateFinishCaption(); }

void FrmWizFileSorting::UpdateFinishCaption() {
    WizardButtons1.SetButtonCaption(Bar::ButtonNext, Check2.Value() == 1 ? kNext : kFinish);
}

void FrmWizFileSorting::SetButtons(bool back, bool next, bool cancel) {
    WizardButtons1.SetButtonEnabled(Bar::ButtonBack, back);
    WizardButtons1.SetButtonEnabled(Bar::ButtonNext, next);
    WizardButtons1.SetButtonEnabled(Bar::ButtonCancel, cancel);
}

void FrmWizFileSorting::WizardButtons1_BeforeMove(int, int direction, int moveFrom, int& moveTo, bool& cancel) {
    if (moveFrom == 2 && moveTo == 3 && !CheckFolders()) {
        cancel = true;
        return;
    }
    if ((moveTo == 4 || moveFrom == 3) && direction == Bar::Forward) SetButtons(false, false, false);
}

bool FrmWizFileSorting::CheckFolders() {
    const std::string destination = FullFolder(Text1.Text());
    const std::string source = FullFolder(Text2.Text());
    if (destination.empty() || source.empty()) {
        forms::MsgBox(hWnd(), "You must supply valid, existing path names only.", MB_ICONINFORMATION, "Path Error");
        return false;
    }
    Text1.SetText(destination);
    Text2.SetText(source);
    return true;
}

void FrmWizFileSorting::WizardButtons1_CancelClicked(int) { Unload(); }

void FrmWizFileSorting::WizardButtons1_FinishClicked(int) {
    if (WizardButtons1.ButtonCaption(Bar::ButtonNext) == kFinish) Unload();
    else WizardButtons1.ShowPage(2);
}

void FrmWizFileSorting::wizStart_PageActivated(int) { SetButtons(false, true, true); }
void FrmWizFileSorting::wizOutput_PageActivated(int) { SetButtons(true, true, true); }
void FrmWizFileSorting::wizOptions_PageActivated(int) { SetButtons(true, true, true); }

void FrmWizFileSorting::WizPreview_PageActivated(int) {
    SetButtons(false, false, false);
    BuildSortPreview();
    SetButtons(true, lvwPreview.ListItems.Count() > 0, true);
}

void FrmWizFileSorting::wizResults_PageActivated(int) {
    SetButtons(false, false, false);
    PerformSort();
    SetButtons(false, true, true);
}

void FrmWizFileSorting::wizFinish_PageActivated(int) {
    UpdateFinishCaption();
    SetButtons(false, true, true);
}

sorting::SortOptions FrmWizFileSorting::Options() {
    sorting::SortOptions options;
    options.destination = AddBackslash(Trim(Text1.Text()));
    options.folderField = sorting::FieldOf(sorting::FolderChoices(), cboFolder.ListIndex());
    if (options.folderField == 0) options.folderField = sorting::FolderChoices()[0].field;
    options.subFolderField = sorting::FieldOf(sorting::SubFolderChoices(), cboSubFolder.ListIndex());
    options.version = cboTagVersion.ListIndex() == 0 ? 0 : 1;
    return options;
}

// The file being read, shortened in its middle to the label; the window
// gets its messages meanwhile, but not for every file of a large folder.
void FrmWizFileSorting::ShowReading(const std::string& path) {
    if (!reading_.Due()) return;
    Label14.SetCaption("Extracting From:");
    forms::ResumeNext skip;
    skip([&] { Label15.SetCaption(shell::FitTextWithEllipsis(hDC(), Label15.Width(), path, DT_PATH_ELLIPSIS)); });
    forms::DoEvents();
    reading_.Shown();
}

void FrmWizFileSorting::BuildSortPreview() {
    ++busy_;
    const auto done = OnScopeExit([this] { --busy_; });
    forms::ResumeNext skip;
    std::vector<std::string> found, unreachable;
    source_ = Trim(Text2.Text());
    skip([&] {
        shell::Win32DirectoryLister lister;
        shell::PumpingSearchEvents events([] { forms::DoEvents(); });
        foundation::CFileSystem search(lister);
        search.SetEvents(&events);
        search.SetFileExtenstions("*.mp3");
        search.SetRecursiveSubDirs(chkRecursive.Value() == 1);
        search.SetSearchPaths(source_);
        search.Search(found);
        unreachable = search.Unreachable();
    });
    shell::LockWindow(lvwPreview.hWnd(), true);
    lvwPreview.ListItems.Clear();
    plan_.clear();
    const sorting::SortOptions options = Options();
    NoTag none;
    tags::TagObject* tag = options.version == 0 ? tags_.id3v1 : tags_.id3v2;
    reading_ = shell::PaintThrottle(kShowIntervalMs);
    skip([&] {
        plan_ = sorting::BuildPlan(found, tag != nullptr ? *tag : none, options,
                                   [this](const std::string& path) { ShowReading(path); });
    });
    for (const sorting::PlanItem& item : plan_) lvwPreview.ListItems.Add(item.from, item.to, 1);
    Label14.SetCaption("Preview Files:");
    Label15.SetCaption("");
    shell::LockWindow(lvwPreview.hWnd(), false);
    if (!unreachable.empty())
        forms::MsgBox(hWnd(), foundation::UnreachableNamesMessage(unreachable), MB_ICONINFORMATION, kTitle);
}

// The batch loop's view of the results page: the rows are the progress,
// and the window's messages run between files, not for every one.
class FrmWizFileSorting::ResultsView : public batch::BatchView {
public:
    void DoEvents() override {
        if (!events_.Due()) return;
        forms::DoEvents();
        events_.Shown();
    }
    void Show(const std::string&, const std::string&, int, const std::string&) override {}

private:
    shell::PaintThrottle events_{kShowIntervalMs};
};

void FrmWizFileSorting::PerformSort() {
    ++busy_;
    const auto done = OnScopeExit([this] { --busy_; });
    shell::LockWindow(lvwResults.hWnd(), true);
    lvwResults.ListItems.Clear();
    sorting::Mover mover(files::SystemFiles());
    std::vector<std::string> from, emptied;
    for (const sorting::PlanItem& item : plan_) from.push_back(item.from);
    std::map<std::string, std::string> reasons;
    ResultsView view;
    const batch::BatchOutcome outcome = batch::RunItems(view, kTitle, from, [&](size_t i) {
        const sorting::MoveReport report = mover.Move(plan_[i]);
        lvwResults.ListItems.Add("", GetFileTitle(plan_[i].to, true), 1, {report.word, report.reason});
        if (report.result == files::MoveResult::Done) {
            movedAny_ = true;
            emptied.push_back(GetFolderPath(plan_[i].from));
        }
        if (!report.ok) reasons[plan_[i].from] = report.reason;
        return report.ok;
    });
    if (Check1.Value() == 1) {
        sorting::Win32FolderOps folders;
        sorting::RemoveEmptiedFolders(folders, emptied, source_);
    }
    shell::LockWindow(lvwResults.hWnd(), false);
    if (outcome.failed.empty()) return;
    // The results page lists every file; the message as many as a box holds.
    std::vector<std::string> names;
    for (const std::string& path : outcome.failed) names.push_back(path + " (" + reasons[path] + ")");
    forms::MsgBox(hWnd(), FitMessage({{"These files could not be moved and stay where they were:\r\n", names}}),
                  MB_ICONEXCLAMATION, kTitle);
}

ToolResult ShowFileSortingWizard(forms::Form& owner, const FileSet& files, const tags::TagPair& tags) {
    FrmWizFileSorting form(files, tags);
    form.Show(forms::kModal, &owner);
    ToolResult result;
    result.listAgain = form.MovedAny();
    return result;
}

}  // namespace corvella
