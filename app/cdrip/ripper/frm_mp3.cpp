#include "app/cdrip/ripper/frm_mp3.h"

#include <cstdlib>

#include "app/cdrip/core/cd_toc.h"
#include "app/cdrip/drive/cd_drive.h"
#include "app/cdrip/encoder/rip_runner.h"
#include "app/cdrip/lookup/frm_cddb.h"
#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/foundation/paths.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/win32/shell/folders.h"
#include "app/foundation/win32/shell/window_helpers.h"

namespace corvella {
namespace {

// Combo1's items as the encoder's channel-mode codes.
constexpr int32_t kModeCodes[4] = {3, 0, 1, 2};
constexpr int kDesktop = 16;  // CSIDL_DESKTOPDIRECTORY: the desktop's own folder
constexpr UINT kPathEllipsis = 0x4000;

}  // namespace

FrmMP3::FrmMP3(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmMP3::Wire() {
    Form_Load = On(&FrmMP3::Form_Load_);
    Form_QueryUnload = On(&FrmMP3::Form_QueryUnload_);
    Form_Unload = On(&FrmMP3::Form_Unload_);
    cboDriveList.Click = On(&FrmMP3::cboDriveList_Click);
    lstTracks.Click = On(&FrmMP3::lstTracks_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmMP3::cmdMain_Click);
    for (auto& c : Option1) c.Click = On(&FrmMP3::Option1_Click);
    Check1.Click = On(&FrmMP3::Check1_Click);
    Check2.Click = On(&FrmMP3::Check2_Click);
    Check3.Click = On(&FrmMP3::Check3_Click);
    Check4.Click = On(&FrmMP3::Check4_Click);
    for (auto& c : cboFilename) c.Click = On(&FrmMP3::cboFilename_Click);
    TabStrip1.Click = On(&FrmMP3::TabStrip1_Click);
}

void FrmMP3::Open(forms::Form& owner, const tags::TagPair& tags) {
    tags_ = tags;
    Show(forms::kModal, &owner);
}

void FrmMP3::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    disc_ = cdrip::DiscData();
    const cdrip::MP3Settings s = cdrip::ReadMP3Settings(*store_);
    skip([&] { cboBR[0].SetListIndex(s.variableBR); });
    skip([&] { cboBR[1].SetListIndex(s.fixedBR); });
    skip([&] { cboQuality.SetListIndex(s.quality); });
    skip([&] { Combo1.SetListIndex(s.spacial); });
    skip([&] { chkCopyright.SetValue(s.copyright); });
    skip([&] { chkCRC.SetValue(s.crc); });
    skip([&] { chkOriginal.SetValue(s.original); });
    skip([&] { chkPrivate.SetValue(s.isPrivate); });
    skip([&] { Option1[s.variableMode ? 0 : 1].SetValue(true); });
    Option1_Click(s.variableMode ? 0 : 1);
    for (int i = 0; i < 2; ++i) skip([&] { cboFolders[size_t(i)].SetListIndex(s.folders[i]); });
    for (int i = 0; i < 4; ++i) skip([&] { cboFilename[size_t(i)].SetListIndex(s.filenames[i]); });
    skip([&] { cboTagCase.SetListIndex(s.tagCase); });
    skip([&] { cboFileCase.SetListIndex(s.fileCase); });

    // The drives the component counts, by their records.
    cdaudio::CDLIST list = {};
    list.max = 8;
    skip([&] { ::GetCDList(&list); });
    drives_ = cdrip::DriveItems(list.num, [&](int i) {
        return cdrip::ByteArrayToString(list.cd[i].id, sizeof list.cd[i].id);
    });
    cboDriveList.Clear();
    for (const auto& d : drives_) cboDriveList.AddItem(d.name);
    if (!drives_.empty()) {
        cboDriveList.SetListIndex(0);
    } else {
        cboDriveList.SetEnabled(false);
        cmdMain[0].SetEnabled(false);
        cmdMain[2].SetEnabled(false);
    }

    cRegistry reg(*store_);
    std::string stored;
    skip([&] {
        reg.SetClassKey(kHkeyCurrentUser);
        reg.SetSectionKey(cdrip::kMP3SettingsKey);
        reg.SetValueKey(cdrip::kOutputPathValue);
        reg.SetValueType(kRegSz);
        stored = reg.Value().Text();
    });
    if (!stored.empty()) {
        outputPath_ = AddBackslash(stored);
    } else {
        outputPath_ = AddBackslash(shell::GetSpecialFolder(hWnd(), kDesktop));
        skip([&] { reg.SetValue(Variant::String(outputPath_)); });
    }
    ShowOutputPath();
}

void FrmMP3::ShowOutputPath() {
    forms::ResumeNext skip;
    skip([&] { lblOutput.SetCaption(shell::FitTextWithEllipsis(hDC(), lblOutput.Width(), outputPath_, kPathEllipsis)); });
    lblOutput.SetToolTipText(outputPath_);
}

void FrmMP3::Form_QueryUnload_(int&, int) {
    forms::ResumeNext skip;
    cRegistry reg(*store_);
    if (PathExists(AddBackslash(outputPath_)))
        skip([&] {
            reg.SetClassKey(kHkeyCurrentUser);
            reg.SetSectionKey(cdrip::kMP3SettingsKey);
            reg.SetValueKey(cdrip::kOutputPathValue);
            reg.SetValueType(kRegSz);
            reg.SetValue(Variant::String(outputPath_));
        });
    cdrip::MP3Settings s;
    s.variableBR = cboBR[0].ListIndex();
    s.fixedBR = cboBR[1].ListIndex();
    s.quality = cboQuality.ListIndex();
    s.spacial = Combo1.ListIndex();
    s.copyright = chkCopyright.Value();
    s.crc = chkCRC.Value();
    s.original = chkOriginal.Value();
    s.isPrivate = chkPrivate.Value();
    s.variableMode = Option1[0].Value();
    for (int i = 0; i < 2; ++i) s.folders[i] = cboFolders[size_t(i)].ListIndex();
    for (int i = 0; i < 4; ++i) s.filenames[i] = cboFilename[size_t(i)].ListIndex();
    s.tagCase = cboTagCase.ListIndex();
    s.fileCase = cboFileCase.ListIndex();
    skip([&] { cdrip::WriteMP3Settings(*store_, s); });
    disc_ = cdrip::DiscData();
}

void FrmMP3::Form_Unload_(int&) {
    // The drive goes with the dialog: nothing else reads it.
    cdrip::CloseCDDrive();
    rows_.clear();
    flat_.Destroy();
}

void FrmMP3::cboDriveList_Click(int) {
    cdrip::CloseCDDrive();
    const int at = cboDriveList.ListIndex();
    if (at < 0 || size_t(at) >= drives_.size() || !cdrip::OpenCDDrive(drives_[size_t(at)].index)) {
        // No disc to show: the last drive's tracks must not pass for this one's.
        rows_.clear();
        lstTracks.Clear();
        cmdMain[0].SetEnabled(false);
        return;
    }
    ListTracks();
}

void FrmMP3::ListTracks() {
    rows_ = cdrip::TrackRows(cdrip::TOC, disc_.Titles);
    lstTracks.Clear();
    for (const auto& r : rows_) lstTracks.AddItem(r.text);
    lstTracks_Click(0);
}

void FrmMP3::lstTracks_Click(int) { cmdMain[0].SetEnabled(lstTracks.SelCount() > 0); }

void FrmMP3::Option1_Click(int index) {
    cboBR[0].SetVisible(index == 0);
    cboBR[1].SetVisible(index == 1);
}

void FrmMP3::TabStrip1_Click(int) {
    const int tab = TabStrip1.SelectedTab();
    Frame2.SetVisible(tab == 1);
    Frame1.SetVisible(tab == 2);
    Frame3.SetVisible(tab == 3);
    cmdMain[2].SetVisible(tab == 3);
    cmdMain[3].SetVisible(tab == 1);
}

void FrmMP3::EnableFolderOptions() {
    const bool on = Check4.Value() == 1 && !disc_.Album.empty();
    for (auto& c : cboFolders) c.SetEnabled(on);
}

void FrmMP3::EnableFileNameOptions() {
    const bool on = Check3.Value() == 1 && !disc_.Album.empty();
    cboFilename[0].SetEnabled(on);
    cboFilename[1].SetEnabled(on);
    cboFilename[2].SetEnabled(on && cboFilename[1].ListIndex() != 0);
    cboFilename[3].SetEnabled(on && cboFilename[2].ListIndex() != 0);
}

void FrmMP3::Check1_Click(int) {
    if (!disc_.Album.empty()) cboTagCase.SetEnabled(Check1.Value() == 1);
}

void FrmMP3::Check2_Click(int) {
    if (!disc_.Album.empty()) cboFileCase.SetEnabled(Check2.Value() == 1);
}

void FrmMP3::Check3_Click(int) { EnableFileNameOptions(); }
void FrmMP3::Check4_Click(int) { EnableFolderOptions(); }

void FrmMP3::cboFilename_Click(int index) {
    if (index > 0 && !disc_.Album.empty()) EnableFileNameOptions();
}

void FrmMP3::GetCDDBInfo(const cdrip::DiscData& disc) {
    disc_ = disc;
    // Row n stays track n; the titles name the disc's own tracks only.
    if (cdrip::CDHandle != 0) ListTracks();
}

cdrip::NamingOptions FrmMP3::Naming() const {
    cdrip::NamingOptions o;
    o.folderScheme = Check4.Value() == 1;
    for (int i = 0; i < 2; ++i) o.folders[i] = cboFolders[size_t(i)].ListIndex();
    o.fileScheme = Check3.Value() == 1;
    for (int i = 0; i < 4; ++i) o.filename[i] = cboFilename[size_t(i)].ListIndex();
    o.changeCase = Check2.Value() == 1;
    o.fileCase = cboFileCase.ListIndex();
    return o;
}

void FrmMP3::Convert() {
    cdrip::RunInput in;
    in.choices.variable = Option1[0].Value();
    in.choices.vbrLevel = cboBR[0].ListIndex();
    in.choices.fixedKbps = uint32_t(std::atoi(cboBR[1].Text().c_str()));
    in.choices.quality = cboQuality.ListIndex();
    const int mode = Combo1.ListIndex();
    in.choices.mode = mode >= 0 && mode < 4 ? kModeCodes[mode] : 0;
    in.choices.copyright = chkCopyright.Value() == 1;
    in.choices.crc = chkCRC.Value() == 1;
    in.choices.original = chkOriginal.Value() == 1;
    in.choices.isPrivate = chkPrivate.Value() == 1;
    in.disc = disc_;
    // A selected data track goes to the run too: its closing message says
    // why it gave no file.
    for (size_t i = 0; i < rows_.size(); ++i) in.selected.push_back(lstTracks.Selected(int(i)));
    in.toc = cdrip::TOC;
    in.tagCase = Check1.Value() == 1;
    in.tagCaseMode = cboTagCase.ListIndex();

    const cdrip::NamingOptions naming = Naming();
    std::string folder;
    cdrip::RipRules rules;
    rules.prepareFolders = [&](std::string* why) {
        files::Win32FileOps ops;
        std::string failed;
        folder = cdrip::MakeOutputFolder(outputPath_, naming, disc_, ops, &failed);
        if (folder.empty() && why) *why = "The folder " + failed + " could not be created.";
        return !folder.empty();
    };
    rules.fileName = [&](int n, const std::string&) { return cdrip::OutputFile(folder, naming, disc_, n); };
    // A run that went to its end closes the dialog, files made or not; the
    // run has returned from its timer's tick by now, so the unload does not
    // pull the form from under it.
    const cdrip::RunEnd end = cdrip::RunRip(*this, in, rules, tags_);
    if (end == cdrip::RunEnd::Completed || end == cdrip::RunEnd::NothingMade) Unload();
}

void FrmMP3::cmdMain_Click(int index) {
    switch (index) {
    case 0:
        Convert();
        break;
    case 1:
        Unload();
        break;
    case 2: {
        disc_ = cdrip::DiscData();
        FrmCDDB& lookup = frmCDDB();
        lookup.GetCDDBInfo = [this](const cdrip::DiscData& d) { GetCDDBInfo(d); };
        lookup.Show(forms::kModal, this);
        const bool on = !disc_.Album.empty();
        for (forms::CheckBox* c : {&Check1, &Check2, &Check3, &Check4}) c->SetEnabled(on);
        cmdMain[2].Refresh();
        break;
    }
    case 3: {
        const std::string chosen = shell::BrowseForFolder(hWnd(), "Please select a folder...", outputPath_);
        if (!chosen.empty()) {
            outputPath_ = chosen;
            ShowOutputPath();
        }
        break;
    }
    default: break;
    }
}

FrmMP3& frmMP3() { return forms::DefaultInstance<FrmMP3>(); }

}  // namespace corvella
