// frmOptions, the options dialog: what a double click on a file does,
// whether new rows come ticked, the ID3v1 ellipsis, and the automatic
// rename with its four name parts. Values live under
// HKEY_CURRENT_USER\Software\Corvella\Options and are stored on "&Apply".
#pragma once

#include <array>

#include "app/foundation/settings_store.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

// The values and their defaults, in the order they are read and stored.
// The list boxes store Integers (text), the check boxes are first written
// as Longs (DWORD) and stored as Integers by "&Apply".
struct OptionsDefaults {
    static constexpr int16_t kPlayMethod = 1;  // the system's default player
    static constexpr int32_t kEllipsis = 0;
    static constexpr int32_t kAutoRename = 0;
    static constexpr int32_t kAutoCheck = 1;
    static constexpr int16_t kRename[4] = {3, 4, 0, 0};  // "Track No." then "Track"
};

class FrmOptions : public forms::Form {
public:
    forms::Label Label1;  // "Double clicking a file will"
    forms::ComboBox cboChoice;

    forms::Frame Frame1;  // "Tagging Options"
    forms::CheckBox Check1;  // ellipsis
    forms::CheckBox Check2;  // automatic rename
    std::array<forms::ComboBox, 4> cboFilename;
    forms::CheckBox Check3;  // auto-check
    forms::Label lblNote;

    forms::Label Label2;  // "When changing folders"
    std::array<forms::OptionButton, 2> Option1;
    forms::Label Label3;
    forms::Label Label4;

    std::array<forms::CommandButton, 2> cmdMain;  // "&Apply", "&Close"

    // The settings it reads and writes: the registry unless a test gives
    // another store before Load().
    explicit FrmOptions(SettingsStore* store = nullptr);

private:
    void Design();  // frm_options_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void Check2_Click(int index);
    void cboFilename_Click(int index);
    void cmdMain_Click(int index);
    void UpdateFilenameCombos();

    SettingsStore* store_;
    FlatLook flat_;
};

// The default instance.
FrmOptions& frmOptions();

}  // namespace corvella
