// frmQuickExtract: a file or folder name cut into pieces at a separator;
// OK gives the chosen piece, or a "#Map#" token that takes the piece at
// that place from every file's own name when the tags are written. The
// window is hidden by its buttons, not unloaded: the next Intitialize
// prepares it again.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmQuickExtract : public forms::Form {
public:
    forms::Label Label3;  // banner
    forms::Label lblFilename;
    forms::ComboBox cboTokkenChoice;
    forms::ComboBox cboTokken;
    forms::TextBox txtTokken;
    forms::ListBox lstFoundFields;
    forms::Label Label1;  // "Return As:"
    std::array<forms::OptionButton, 2> Option1;  // "Text", "Section Text (Filename Mapping)"
    forms::Label Label2;
    std::array<forms::CommandButton, 2> cmdMain;  // "&OK", "&Cancel"

    FrmQuickExtract();

    // Prepares the window for one use: `caption` as its caption, `text` to
    // cut, the token offered only with `allowMapping`.
    void Intitialize(const std::string& caption, const std::string& text, bool allowMapping);
    // What the last OK chose; "" after Intitialize until OK is pressed.
    std::string result() const { return result_; }
    // True when the last showing ended with OK.
    bool Accepted() const { return accepted_; }

private:
    void Design();  // frm_quick_extract_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void cboTokkenChoice_Click(int index);
    void cboTokken_Click(int index);
    void txtTokken_Change(int index);
    void lstFoundFields_Click(int index);
    void cmdMain_Click(int index);

    std::string GetSeparator() const;
    void FillFoundFields();
    void UpdateMapping();

    std::string text_;
    std::string result_;
    bool allowMapping_ = false;
    bool accepted_ = false;
    FlatLook flat_;
};

// The default instance, loaded on first use.
FrmQuickExtract& frmQuickExtract();

// The field menu's use: "Parse", the text, mapping allowed for a file name
// (flag 1); the chosen text, or nullopt when the user cancelled.
std::optional<std::string> ShowQuickExtract(forms::Form& owner, const std::string& text, int flag);

}  // namespace corvella
