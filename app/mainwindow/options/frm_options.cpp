#include "app/mainwindow/options/frm_options.h"

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"

namespace corvella {
namespace {

const std::string kSection = std::string(kSettingsRoot) + "\\Options";
const char* const kRenameValues[4] = {"Rename 1", "Rename 2", "Rename 3", "Rename 4"};

// A stored value as a whole number: a list index or a check value.
int32_t Number(const Variant& value) {
    int32_t out = 0;
    if (!VariantToLong(value, out)) throw forms::Error("Type mismatch", 13);
    return out;
}

}  // namespace

FrmOptions::FrmOptions(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmOptions::Wire() {
    Form_Load = On(&FrmOptions::Form_Load_);
    Form_Unload = On(&FrmOptions::Form_Unload_);
    Check2.Click = On(&FrmOptions::Check2_Click);
    for (auto& c : cboFilename) c.Click = On(&FrmOptions::cboFilename_Click);
    for (auto& c : cmdMain) c.Click = On(&FrmOptions::cmdMain_Click);
}

// Each value goes into its control on its own: one that cannot be read
// leaves its control as designed and the others still load.
void FrmOptions::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    skip([&] { SetCaption(forms::App.Title() + " Options"); });
    cRegistry reg(*store_);
    auto get = [&](const char* key, const Variant& defaultValue) {
        return Number(reg.GetSetting(kHkeyCurrentUser, kSection, key, defaultValue));
    };
    skip([&] { cboChoice.SetListIndex(get("Play Method", Variant::Integer(OptionsDefaults::kPlayMethod))); });
    skip([&] { Check1.SetValue(get("Ellipsis", Variant::Long(OptionsDefaults::kEllipsis))); });
    skip([&] { Check2.SetValue(get("Auto-Rename", Variant::Long(OptionsDefaults::kAutoRename))); });
    skip([&] { Check3.SetValue(get("Auto-Check", Variant::Long(OptionsDefaults::kAutoCheck))); });
    for (int i = 0; i < 4; ++i) {
        // The first list has no "Do Not Use": its stored value is one more
        // than its index, so all four share one code.
        const int shift = i == 0 ? 1 : 0;
        skip([&] {
            cboFilename[i].SetListIndex(get(kRenameValues[i], Variant::Integer(OptionsDefaults::kRename[i])) - shift);
        });
    }
    UpdateFilenameCombos();
}

void FrmOptions::Form_Unload_(int&) { flat_.Destroy(); }

void FrmOptions::Check2_Click(int) { UpdateFilenameCombos(); }

void FrmOptions::cboFilename_Click(int) { UpdateFilenameCombos(); }

void FrmOptions::cmdMain_Click(int index) {
    if (index == 0) {
        cRegistry reg(*store_);
        auto save = [&](const char* key, int value) {
            reg.SaveSetting(kHkeyCurrentUser, kSection, key, Variant::Integer(static_cast<int16_t>(value)));
        };
        save("Play Method", cboChoice.ListIndex());
        save("Ellipsis", Check1.Value());
        save("Auto-Rename", Check2.Value());
        save("Auto-Check", Check3.Value());
        save(kRenameValues[0], cboFilename[0].ListIndex() + 1);
        for (int i = 1; i < 4; ++i) save(kRenameValues[i], cboFilename[i].ListIndex());
    }
    Unload();
}

// A name part is offered only while the rename is on and the part before it
// is in use.
void FrmOptions::UpdateFilenameCombos() {
    const bool on = Check2.Value() == 1;
    cboFilename[0].SetEnabled(on);
    cboFilename[1].SetEnabled(on);
    cboFilename[2].SetEnabled(on && cboFilename[1].ListIndex() != 0);
    cboFilename[3].SetEnabled(on && cboFilename[2].ListIndex() != 0);
}

FrmOptions& frmOptions() { return forms::DefaultInstance<FrmOptions>(); }

}  // namespace corvella
