#include "app/tools/comments/frm_wiz_comments.h"
#include "platform/forms/form_style.h"

namespace corvella {

namespace {

constexpr auto Banner = &forms::WizardPage::BannerLook;

}  // namespace

void FrmWizComments::Design() {
    forms::DesignDialog(*this, "frmWizComments", "Contact the Developer", 7440, 5595);

    DESIGN(wizOutput).properties =
        Banner("Developer Support", "Please fill out the section bellow then click the Next button");
    {
        auto& c = DESIGN_IN(Label3, wizOutput.Inside());
        c.caption = "Your Full Name:";
        c.Move(360, 1140, 2280, 255);
    }
    DESIGN_IN(Text1, wizOutput.Inside()).Move(2700, 1095, 4200, 315);
    {
        auto& c = DESIGN_IN(Label4, wizOutput.Inside());
        c.caption = "Your E-Mail Address:";
        c.Move(360, 1560, 2280, 255);
    }
    DESIGN_IN(txtEmail, wizOutput.Inside()).Move(2700, 1515, 4200, 315);
    {
        auto& c = DESIGN_IN(Label5, wizOutput.Inside());
        c.caption = "Reason for contacting the Developer...";
        c.Move(360, 2010, 6540, 255);
    }
    {
        auto& c = DESIGN_IN(txtSupport, wizOutput.Inside());
        c.multiLine = true;
        c.scrollBars = forms::kScrollVertical;
        c.Move(360, 2310, 6540, 1860);
    }

    DESIGN(WizPreview).properties =
        Banner("Developer Support", "Your comments are being processed, please be patient.");
    {
        auto& c = DESIGN_IN(Label6, WizPreview.Inside());
        c.caption = "Quillmark Editor is currently sending your comments, this may tak a few minutes based on your "
                    "internet connection speed...";
        c.useMnemonic = false;
        c.Move(360, 1140, 6540, 615);
    }
    {
        auto& c = DESIGN_IN(Label1, WizPreview.Inside());
        c.useMnemonic = false;
        c.fontBold = true;
        c.Move(360, 2040, 6540, 255);
    }
    {
        auto& c = DESIGN_IN(Label2, WizPreview.Inside());
        c.useMnemonic = false;
        c.Move(360, 2400, 6540, 1215);
    }

    DESIGN(wizResults).properties = Banner("Developer Support", "Your comments have been sent, Thankyou.");
    const struct {
        forms::Label* label;
        const char* name;
        const char* text;
        int top, height;
    } results[] = {
        {&Label7, "Label7", "Your comments have been sent...", 1140, 255},
        {&Label8, "Label8",
         "Thank you for taking the time to contact us, we are gratefull for all emails that we recieve.  "
         "Un-fortunally due to the amount of emails that we recieve we may not be able to respond to every "
         "comment that we recieve.",
         1560, 855},
        {&Label9, "Label9", "Please click the Finish button to exit the wizard.", 2580, 255},
    };
    for (const auto& r : results) {
        auto& c = Designed(*r.label, r.name, &wizResults.Inside());
        c.caption = r.text;
        c.useMnemonic = false;
        c.Move(360, r.top, 6540, r.height);
    }

    DESIGN(WizardButtons1);
    {
        auto& t = DESIGN(Timer1);
        t.interval = CommentsDefaults::kTickInterval;
        t.enabled = false;
    }
    DESIGN(Winsock1);
}

}  // namespace corvella
