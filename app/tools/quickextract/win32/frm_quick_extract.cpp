#include "app/tools/quickextract/win32/frm_quick_extract.h"

#include "app/foundation/win32/shell/window_helpers.h"
#include "app/tools/quickextract/core/quick_extract.h"

namespace corvella {

FrmQuickExtract::FrmQuickExtract() {
    Design();
    Wire();
}

void FrmQuickExtract::Wire() {
    Form_Load = On(&FrmQuickExtract::Form_Load_);
    Form_Unload = On(&FrmQuickExtract::Form_Unload_);
    cboTokkenChoice.Click = On(&FrmQuickExtract::cboTokkenChoice_Click);
    cboTokken.Click = On(&FrmQuickExtract::cboTokken_Click);
    txtTokken.Change = On(&FrmQuickExtract::txtTokken_Change);
    lstFoundFields.Click = On(&FrmQuickExtract::lstFoundFields_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmQuickExtract::cmdMain_Click);
}

void FrmQuickExtract::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
}

void FrmQuickExtract::Form_Unload_(int&) { flat_.Destroy(); }

void FrmQuickExtract::Intitialize(const std::string& caption, const std::string& text, bool allowMapping) {
    Load();
    SetCaption(caption);
    lstFoundFields.Clear();
    Option1[0].SetValue(true);
    text_ = text;
    lblFilename.SetCaption(shell::FitTextWithEllipsis(hDC(), lblFilename.Width(), text, DT_END_ELLIPSIS));
    allowMapping_ = allowMapping;
    cboTokken.SetListIndex(0);
    cboTokkenChoice.SetListIndex(0);
    result_.clear();
    accepted_ = false;
    FillFoundFields();
}

std::string FrmQuickExtract::GetSeparator() const {
    return quickextract::Separator(cboTokkenChoice.ListIndex(), cboTokken.ListIndex(), txtTokken.Text());
}

void FrmQuickExtract::FillFoundFields() {
    lstFoundFields.Clear();
    for (const std::string& piece : quickextract::Pieces(text_, GetSeparator())) lstFoundFields.AddItem(piece);
    if (lstFoundFields.ListCount() > 0) lstFoundFields.SetListIndex(0);
    UpdateMapping();
}

// The token is offered only when it can name the selected piece.
void FrmQuickExtract::UpdateMapping() {
    const bool can = allowMapping_ && quickextract::CanMap(lstFoundFields.ListIndex(), GetSeparator());
    if (!can && Option1[1].Value()) Option1[0].SetValue(true);
    Option1[1].SetEnabled(can);
}

// The chosen one of the two boxes in one place comes to the front, right
// after the choice, where the Tab order of the screen takes it; the other
// is hidden, so that Tab never gives the focus to a box the user cannot see.
void FrmQuickExtract::cboTokkenChoice_Click(int) {
    const bool custom = cboTokkenChoice.ListIndex() == 1;
    forms::Control& front = custom ? static_cast<forms::Control&>(txtTokken) : cboTokken;
    forms::Control& back = custom ? static_cast<forms::Control&>(cboTokken) : txtTokken;
    SetWindowPos(front.hWnd(), cboTokkenChoice.hWnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    front.SetVisible(true);
    back.SetVisible(false);
    FillFoundFields();
}

void FrmQuickExtract::cboTokken_Click(int) { FillFoundFields(); }
void FrmQuickExtract::txtTokken_Change(int) { FillFoundFields(); }
void FrmQuickExtract::lstFoundFields_Click(int) { UpdateMapping(); }

void FrmQuickExtract::cmdMain_Click(int index) {
    if (index == 0) {
        const int selected = lstFoundFields.ListIndex();
        if (Option1[0].Value())
            result_ = selected >= 0 ? lstFoundFields.List(selected) : "";
        else
            result_ = quickextract::MapToken(selected, GetSeparator());
        accepted_ = true;
    }
    Hide();
}

FrmQuickExtract& frmQuickExtract() { return forms::DefaultInstance<FrmQuickExtract>(); }

std::optional<std::string> ShowQuickExtract(forms::Form& owner, const std::string& text, int flag) {
    FrmQuickExtract& f = frmQuickExtract();
    f.Intitialize("Parse", text, flag != 0);
    f.Show(forms::kModal, &owner);
    if (!f.Accepted()) return std::nullopt;
    return f.result();
}

}  // namespace corvella
