#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"

#include <utility>

#include "app/cdrip/albumlookup/core/album_fill.h"
#include "app/foundation/settings.h"
#include "app/foundation/text_helpers.h"
#include "app/foundation/win32/listview/mod_list_view.h"
#include "app/foundation/win32/progress/progress_update.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/win32/shell/launch.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "libs/common/scope/scope_exit.h"
#include "libs/disclookup/core/lookup_settings.h"
#include "libs/flatcontrols/win32/os_version_win32.h"

namespace corvella {
namespace {

const char* const kVersionValues[2] = {"Version 2 Tags", "Version 1 Tags"};  // by Check1 index
const char kLogoValue[] = "Logo Address";
const char kLogoDefault[] = "http://www.freedb.org/";

std::string FailedMessage(const std::vector<std::string>& failed) {
    return FitMessage({{"The tags of these files could not be updated:\r\n", failed}});
}

}  // namespace

FrmCDDBCDChoice::FrmCDDBCDChoice(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmCDDBCDChoice::Wire() {
    Form_Load = On(&FrmCDDBCDChoice::Form_Load_);
    Form_QueryUnload = On(&FrmCDDBCDChoice::Form_QueryUnload_);
    Form_Unload = On(&FrmCDDBCDChoice::Form_Unload_);
    Command1.Click = On(&FrmCDDBCDChoice::Command1_Click);
    Command2.Click = On(&FrmCDDBCDChoice::Command2_Click);
    Command3.Click = On(&FrmCDDBCDChoice::Command3_Click);
    for (auto& c : Check1) c.Click = On(&FrmCDDBCDChoice::Check1_Click);
    ListView1.ItemClick = On(&FrmCDDBCDChoice::ListView1_ItemClick);
    FreeDB1.Timer = On(&FrmCDDBCDChoice::FreeDB1_Timer);
    Image1.Click = On(&FrmCDDBCDChoice::Image1_Click);
}

void FrmCDDBCDChoice::Prepare(const FileSet& files, const tags::TagPair& tags, std::function<void()> listAgain) {
    files_ = files;
    tags_ = tags;
    listAgain_ = std::move(listAgain);
    result_ = ToolResult();
}

ToolResult FrmCDDBCDChoice::Open(forms::Form& owner, const FileSet& files, const tags::TagPair& tags,
                                 std::function<void()> listAgain) {
    Prepare(files, tags, std::move(listAgain));
    Show(forms::kModal, &owner);
    return result_;
}

void FrmCDDBCDChoice::Form_Load_() {
    forms::ResumeNext skip;
    querying_ = false;
    skip([&] { flat_.Create(*this); });
    skip([&] {
        if (!ReadOSVersion().IsWinXP()) flat_.SoftBorder(ListView1);
    });
    skip([&] { header_.Attach(ListView1.hWnd()); });
    skip([&] { foundation::EnhListView_Add_FullRowSelect(ListView1.hWnd(), false); });
    cRegistry reg(*store_);
    for (int i : {1, 0}) {
        skip([&] {
            int32_t value = 1;
            VariantToLong(reg.GetSetting(kHkeyCurrentUser, disclookup::kLookupSettingsKey, kVersionValues[i],
                                         Variant::Long(1)),
                          value);
            Check1[size_t(i)].SetValue(value != 0 ? 1 : 0);
        });
    }
    Text1.SetText(cdrip::SearchText(files_));
    EnableUpdate();
}

// A waiting query ends with the window.
void FrmCDDBCDChoice::Form_QueryUnload_(int&, int) {
    forms::ResumeNext skip;
    skip([&] { FreeDB1.StopQuery(); });
}

void FrmCDDBCDChoice::Form_Unload_(int&) {
    forms::ResumeNext skip;
    skip([&] { flat_.Destroy(); });
    cRegistry reg(*store_);
    for (int i : {1, 0})
        skip([&] {
            reg.SaveSetting(kHkeyCurrentUser, disclookup::kLookupSettingsKey, kVersionValues[i],
                            Variant::Integer(int16_t(Check1[size_t(i)].Value() == 1)));
        });
    skip([&] { header_.Detach(); });
}

void FrmCDDBCDChoice::SetQuerying(bool on) {
    querying_ = on;
    Command2.SetEnabled(!on);
    ListView1.SetEnabled(!on);
    EnableUpdate();
}

void FrmCDDBCDChoice::QueryOver() noexcept {
    forms::ResumeNext skip;
    skip([&] {
        if (querying_ && Loaded()) SetQuerying(false);
    });
}

void FrmCDDBCDChoice::EnableUpdate() {
    Command1.SetEnabled(!querying_ && ListView1.SelectedItem() != nullptr &&
                        (Check1[0].Value() == 1 || Check1[1].Value() == 1));
}

void FrmCDDBCDChoice::Command2_Click(int) {
    if (querying_) return;
    const std::string words = Text1.Text();
    ListView1.ListItems.Clear();
    SetQuerying(true);
    const auto ready = OnScopeExit([this] { QueryOver(); });
    const std::vector<disclookup::DiscID> found = FreeDB1.QueryTextString(words);
    if (!Loaded()) return;  // closed while the query waited
    const disclookup::QueryFailure error = FreeDB1.LastError();
    // What came before a failure is whole and stays listed.
    {
        // Drawn once when filled, not row by row: under Wine each row drawn
        // took a tenth of a second, half a minute for 200 discs.
        shell::LockWindow(ListView1.hWnd(), true);
        const auto drawn = OnScopeExit([this] { shell::LockWindow(ListView1.hWnd(), false); });
        for (const disclookup::DiscID& d : cdrip::ListedResults(found))
            ListView1.ListItems.Add("", d.DiscID, 0, {d.Artist, d.Album, d.Catagory});
    }
    if (ListView1.ListItems.Count() > 0) ListView1.SetSelectedItem(ListView1.ListItems(1));
    SetQuerying(false);
    if (error.Failed()) {
        if (error.kind != disclookup::FailureKind::kStopped)
            forms::MsgBox(cdrip::SearchFailedMessage(words, error), MB_ICONEXCLAMATION, "Search Failed");
    } else if (ListView1.ListItems.Count() == 0) {
        forms::MsgBox("No Discs were found matching '" + words + "'", MB_ICONINFORMATION, "Not Found");
    }
}

void FrmCDDBCDChoice::Command1_Click(int) {
    platform::ListItem* item = ListView1.SelectedItem();
    if (querying_ || item == nullptr) return;
    const std::string discId = item->Text();
    const std::string category = item->SubItem(3);
    SetQuerying(true);
    const auto ready = OnScopeExit([this] { QueryOver(); });
    const disclookup::DiscInfo disc = FreeDB1.QueryDiscID(discId, category);
    if (!Loaded()) return;
    const disclookup::QueryFailure error = FreeDB1.LastError();
    SetQuerying(false);
    if (error.Failed()) {
        if (error.kind != disclookup::FailureKind::kStopped)
            forms::MsgBox(cdrip::ReadFailedMessage(discId, error), MB_ICONEXCLAMATION, "Disc Not Read");
        return;
    }
    if (disc.Tracks.empty()) {
        // The entry came whole but names no track: nothing to write.
        forms::MsgBox("The entry of the disc " + discId + " lists no tracks; no tags were changed.",
                      MB_ICONEXCLAMATION, "Disc Not Read");
        return;
    }
    if (disc.Tracks.size() != files_.rows.size() &&
        forms::MsgBox(cdrip::MismatchQuestion(disc.Tracks.size(), files_.rows.size()), MB_YESNO | MB_ICONINFORMATION,
                      "Track Mis-Match") != IDYES)
        return;
    const bool v1 = Check1[1].Value() == 1, v2 = Check1[0].Value() == 1;
    const batch::BatchOutcome outcome = RunBatchWithProgress(
        *this,
        [&] {
            ProgressWindowView view;
            return cdrip::FillRows(view, files_, disc, tags_, v1, v2);
        },
        FailedMessage);
    // The list shows what the files now hold while the form stays open.
    if (listAgain_) listAgain_();
    else if (outcome.done > 0) result_.tagsRewritten = true;
}

void FrmCDDBCDChoice::Command3_Click(int) {
    forms::ResumeNext skip;
    skip([&] { FreeDB1.StopQuery(); });
    Unload();
}

void FrmCDDBCDChoice::Check1_Click(int) { EnableUpdate(); }

void FrmCDDBCDChoice::ListView1_ItemClick(platform::ListItem&) { EnableUpdate(); }

void FrmCDDBCDChoice::FreeDB1_Timer(int, int time, bool&) { Label3.SetCaption(std::to_string(time)); }

void FrmCDDBCDChoice::Image1_Click(int) {
    cRegistry reg(*store_);
    std::string url = kLogoDefault;
    forms::ResumeNext skip;
    skip([&] {
        url = reg.GetSetting(kHkeyCurrentUser, disclookup::kLookupSettingsKey, kLogoValue, Variant::String(kLogoDefault))
                  .Text();
    });
    shell::OpenInBrowser(url);
}

FrmCDDBCDChoice& frmCDDBCDChoice() { return forms::DefaultInstance<FrmCDDBCDChoice>(); }

}  // namespace corvella
