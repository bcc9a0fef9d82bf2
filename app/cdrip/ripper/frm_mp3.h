// frmMP3, the CD ripper dialog: the drives and the tracks of the chosen
// one, the encoder settings, the output folder and naming options, the disc
// lookup, and "&Convert", which rips the selected tracks under the encoding
// window. Its settings live under HKEY_CURRENT_USER\Software\Corvella\
// Options\MP3, read at every opening and written at every close.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/cdrip/naming/core/output_naming.h"
#include "app/cdrip/ripper/core/ripper_rules.h"
#include "app/cdrip/ripper/ripper_controls.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmMP3 : public forms::Form {
public:
    TabStrip TabStrip1;  // "General", "Encoding", "Output"
    forms::ImageList imlIcon;  // the tabs' pictures, in their order

    forms::Frame Frame2;  // "Input and Output Options"
    forms::Label lblInfo;  // "CD-Rom's:"
    forms::ComboBox cboDriveList;
    forms::Label lblEncode;  // "Encode:"
    MultiListBox lstTracks;
    forms::Label lblOutputCaption;  // "Output Path:"
    forms::Label lblOutput;

    forms::Frame Frame1;  // "Encoding Details"
    forms::Label lblBRType, lblBRQuality, lblQuality, lblSpacial, lblFlags;
    std::array<forms::OptionButton, 2> Option1;  // "Variable", "Fixed"
    std::array<forms::ComboBox, 2> cboBR;        // VBR levels, fixed kbit/s
    forms::ComboBox cboQuality;
    forms::ComboBox Combo1;  // channel mode
    forms::CheckBox chkCopyright, chkCRC, chkOriginal, chkPrivate;

    forms::Frame Frame3;  // "Output Settings"
    forms::CheckBox Check4;  // folders
    std::array<forms::ComboBox, 2> cboFolders;
    forms::CheckBox Check3;  // file name
    std::array<forms::ComboBox, 4> cboFilename;
    forms::CheckBox Check1;  // tag case
    forms::ComboBox cboTagCase;
    forms::CheckBox Check2;  // file case
    forms::ComboBox cboFileCase;

    std::array<forms::CommandButton, 4> cmdMain;  // Convert, Close, Internet CDDB..., Browse...

    explicit FrmMP3(SettingsStore* store = nullptr);

    // Shows the dialog modally over `owner`; the run tags through `tags`.
    void Open(forms::Form& owner, const tags::TagPair& tags);
    void SetTags(const tags::TagPair& tags) { tags_ = tags; }

    // The confirmed lookup (frmCDDB's "&OK").
    void GetCDDBInfo(const cdrip::DiscData& disc);
    const cdrip::DiscData& Disc() const { return disc_; }
    const std::string& OutputPath() const { return outputPath_; }

private:
    void Design();  // frm_mp3_design.cpp
    void Wire();

    void Form_Load_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    void cboDriveList_Click(int index);
    void lstTracks_Click(int index);
    void cmdMain_Click(int index);
    void Option1_Click(int index);
    void Check1_Click(int index);
    void Check2_Click(int index);
    void Check3_Click(int index);
    void Check4_Click(int index);
    void cboFilename_Click(int index);
    void TabStrip1_Click(int index);

    void EnableFolderOptions();
    void EnableFileNameOptions();
    void ListTracks();
    void ShowOutputPath();
    void Convert();
    cdrip::NamingOptions Naming() const;

    SettingsStore* store_;
    FlatLook flat_;
    tags::TagPair tags_;
    cdrip::DiscData disc_;
    std::string outputPath_;
    std::vector<cdrip::DriveItem> drives_;
    std::vector<cdrip::TrackRow> rows_;
};

// The default instance.
FrmMP3& frmMP3();

}  // namespace corvella
