// Typed wrappers of the wizard controls for the program's forms: each
// member calls the control late-bound by its dispatch id, each event comes
// as a handler with the control's index first, like every control's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "libs/wizard/com/pagerelle.h"
#include "platform/forms/activex/ole_site.h"

namespace corvella::forms {

// The page bar (Pagerelle.WizardButtons).
class WizardButtons : public OleControlSite {
public:
    enum Button : int { ButtonNext = 0, ButtonBack = 1, ButtonCancel = 2, ButtonHelp = 3 };
    enum Direction : int { Still = 0, BackWard = 1, Forward = 2 };
    enum HelpPositionValue : int { HelpLeft = 0, HelpRight = 1, HelpMiddle = 2, HelpBetween = 3 };

    ClickHandler CancelClicked;
    ClickHandler FinishClicked;
    std::function<void(int index, int currentPage)> HelpClicked;
    std::function<void(int index, int direction, int moveFrom, int& moveTo, bool& cancel)> BeforeMove;
    std::function<void(int index, int direction, int moveFrom, int& moveTo)> AfterMove;

    WizardButtons() {
        clsid = CLSID_WizardButtons;
        height = 690;
        On(1, "CancelClicked", [this](com::EventArgs&) {
            if (CancelClicked) CancelClicked(index);
        });
        On(2, "FinishClicked", [this](com::EventArgs&) {
            if (FinishClicked) FinishClicked(index);
        });
        On(3, "HelpClicked", [this](com::EventArgs& a) {
            if (HelpClicked) HelpClicked(index, static_cast<int>(a.Long(0)));
        });
        On(4, "BeforeMove", [this](com::EventArgs& a) {
            if (!BeforeMove) return;
            int to = static_cast<int>(a.Long(2));
            bool cancel = a.Bool(3);
            BeforeMove(index, static_cast<int>(a.Long(0)), static_cast<int>(a.Long(1)), to, cancel);
            a.SetLong(2, to);
            a.SetBool(3, cancel);
        });
        On(5, "AfterMove", [this](com::EventArgs& a) {
            if (!AfterMove) return;
            int to = static_cast<int>(a.Long(2));
            AfterMove(index, static_cast<int>(a.Long(0)), static_cast<int>(a.Long(1)), to);
            a.SetLong(2, to);
        });
    }

    // A page of the form, in page order; it goes in as the form sees it.
    void Add(OleControlSite& page, const std::string& key = "") {
        com::Variant item(page.Extender());
        if (key.empty()) Call(0x60030009, {item});
        else Call(0x60030009, {item, com::Variant(key)});
    }
    void Remove(int position) { Call(0x6003000A, {com::Variant(static_cast<long>(position))}); }
    bool Exists(int position) { return Call(0x6003000C, {com::Variant(static_cast<long>(position))}).Ansi() == "True"; }
    int Count() { return Number(Get(0x68030008)); }
    void Clear() { Call(0x6003000D); }
    void ShowPage(int page) { Call(0x6003000F, {Short(page)}); }
    bool ButtonVisible(int button) { return Get(0x68030007, {Short(button)}).Ansi() == "True"; }
    void SetButtonVisible(int button, bool on) { Put(0x68030007, {Short(button)}, com::Variant(on)); }
    std::string ButtonCaption(int button) { return Get(0x68030006, {Short(button)}).Ansi(); }
    void SetButtonCaption(int button, const std::string& text) {
        Put(0x68030006, {Short(button)}, com::Variant(text));
    }
    bool ButtonEnabled(int button) { return Get(0x68030005, {Short(button)}).Ansi() == "True"; }
    void SetButtonEnabled(int button, bool on) { Put(0x68030005, {Short(button)}, com::Variant(on)); }
    int PageNumber() { return Number(Get(0x68030004)); }
    int PageCount() { return Number(Get(0x68030003)); }
    std::string DescriptionText() { return Get(0x68030002).Ansi(); }
    void SetDescriptionText(const std::string& text) { Put(0x68030002, {}, com::Variant(text)); }
    int HelpPosition() { return Number(Get(0x68030001)); }
    void SetHelpPosition(int position) { Put(0x68030001, {}, com::Variant(static_cast<long>(position))); }
    bool DisplayPageInfo() { return Get(0x68030000).Ansi() == "True"; }
    void SetDisplayPageInfo(bool on) { Put(0x68030000, {}, com::Variant(on)); }
    void ResetButtons() { Call(0x6003001A); }

    static com::Variant Short(int n) {
        com::Variant v;
        V_VT(v.Put()) = VT_I2;
        V_I2(v.Get()) = static_cast<SHORT>(n);
        return v;
    }
    static int Number(const com::Variant& v) { return std::atoi(v.Ansi().c_str()); }
};

// One step of a wizard (Pagerelle.WizardPage); the step's controls go into
// Inside().
class WizardPage : public OleControlSite {
public:
    enum Style : int { Banner = 0, Splash = 1, Blank = 2 };

    ClickHandler PageActivated;
    ClickHandler PageDeactivated;

    WizardPage() {
        clsid = CLSID_WizardPage;
        On(1, "PageActivated", [this](com::EventArgs&) {
            if (PageActivated) PageActivated(index);
        });
        On(2, "PageDeactivated", [this](com::EventArgs&) {
            if (PageDeactivated) PageDeactivated(index);
        });
    }

    int PageStyle() { return WizardButtons::Number(Get(0x68030009)); }
    void SetPageStyle(int style) { Put(0x68030009, {}, com::Variant(static_cast<long>(style))); }
    std::string BannerTitle() { return Get(0x68030006).Ansi(); }
    void SetBannerTitle(const std::string& text) { Put(0x68030006, {}, com::Variant(text)); }
    std::string BannerDescription() { return Get(0x68030001).Ansi(); }
    void SetBannerDescription(const std::string& text) { Put(0x68030001, {}, com::Variant(text)); }
    long BannerBackColor() { return std::atol(Get(0x68030005).Ansi().c_str()); }
    void SetBannerBackColor(long colour) { Put(0x68030005, {}, com::Variant(colour)); }
    long SplashBackColor() { return std::atol(Get(0x68030003).Ansi().c_str()); }
    void SetSplashBackColor(long colour) { Put(0x68030003, {}, com::Variant(colour)); }
    long BackColor() { return std::atol(Get(0x68030000).Ansi().c_str()); }
    void SetBackColor(long colour) { Put(0x68030000, {}, com::Variant(colour)); }

    // The persisted looks of a page in a design: a splash page (band and
    // picture at the left) or a banner page with its title and description.
    static std::vector<DesignProperty> SplashLook(IPictureDisp* picture = nullptr) {
        std::vector<DesignProperty> look = {{"Style", com::Variant(static_cast<long>(Splash))},
                                            {"State", com::Variant(1L)}};
        if (picture != nullptr) look.push_back({"SplashPicture", com::Variant(static_cast<IDispatch*>(picture))});
        return look;
    }
    static std::vector<DesignProperty> BannerLook(const char* title, const char* description) {
        return {{"Style", com::Variant(static_cast<long>(Banner))},
                {"State", com::Variant(1L)},
                {"BannerTitle", com::Variant(std::string(title))},
                {"BannerDescription", com::Variant(std::string(description))}};
    }
};

}  // namespace corvella::forms
