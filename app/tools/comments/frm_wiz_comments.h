// frmWizComments, "Contact the Developer": the user's name, address and
// comment on page 1; page 2 mails them over SMTP to the developer's support
// mailbox, driven by the connection's events and a timer (nothing waits in
// a loop); page 3 confirms. The server, its port and the tick come from
// Options\Support when a sending starts.
#pragma once

#include <memory>
#include <string>

#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/tools/comments/core/smtp_dialogue.h"
#include "app/controls/hosted/disc_lookup_controls.h"
#include "app/controls/hosted/wizard_controls.h"
#include "platform/forms/forms.h"

namespace corvella {

// The product's values: the support mailbox and the server's defaults.
struct CommentsDefaults {
    static constexpr const char* kMailHost = "mail.velmora.com";
    static constexpr int32_t kMailPort = 25;
    static constexpr int32_t kTickInterval = 1000;  // ms
    static constexpr int kTimeOutTicks = 60;        // silence beyond this many ticks ends a sending
    static constexpr const char* kSupportAddress = "support@velmora.com";
    static constexpr const char* kSupportName = "Velmora Support";
};

class FrmWizComments : public forms::Form {
public:
    // Pages in page order, then the bar.
    forms::WizardPage wizOutput;
    forms::Label Label3;  // "Your Full Name:"
    forms::TextBox Text1;
    forms::Label Label4;  // "Your E-Mail Address:"
    forms::TextBox txtEmail;
    forms::Label Label5;  // "Reason for contacting the Developer..."
    forms::TextBox txtSupport;

    forms::WizardPage WizPreview;
    forms::Label Label6;  // what the page does
    forms::Label Label1;  // the sending's state
    forms::Label Label2;  // what went wrong, and the offer

    forms::WizardPage wizResults;
    forms::Label Label7, Label8, Label9;

    forms::WizardButtons WizardButtons1;
    forms::Timer Timer1;
    forms::TcpClientControl Winsock1;

    // The settings it reads: the registry unless a test gives another store.
    explicit FrmWizComments(SettingsStore* store = nullptr);

    // A sending is under way (from page 2's activation to its end).
    bool Sending() const { return dialogue_ != nullptr; }

private:
    void Design();  // frm_wiz_comments_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void wizOutput_PageActivated(int index);
    void txtEmail_Change(int index);
    void txtSupport_Change(int index);
    void WizardButtons1_AfterMove(int index, int direction, int moveFrom, int& moveTo);
    void WizardButtons1_BeforeMove(int index, int direction, int moveFrom, int& moveTo, bool& cancel);
    void WizardButtons1_CancelClicked(int index);
    void WizardButtons1_FinishClicked(int index);
    void WizPreview_PageActivated(int index);
    void wizResults_PageActivated(int index);
    void Winsock1_Connect(int index);
    void Winsock1_DataArrival(int index, long bytesTotal);
    void Winsock1_Close(int index);
    void Timer1_Timer(int index);

    void CheckInput();
    void ReadServer(std::string& host, int32_t& port, int32_t& tick);
    void StartSending();
    // After each event of a sending: a refusal or close fails it, the
    // server's goodbye ends it on page 3.
    void FollowDialogue();
    void EndSending();
    // Ends the sending and says why, naming the server.
    void Failed(comments::Failure failure);
    void Completed();

    SettingsStore* store_;
    FlatLook flat_;
    std::unique_ptr<comments::SmtpDialogue> dialogue_;
    int ticks_ = 0;  // since the connection was started or the last reply
    std::string host_;  // the server of the sending under way or last ended
    int32_t port_ = 0;
    std::string subject_;
};

// The default instance.
FrmWizComments& frmWizComments();

// The main window's opener: the wizard, modal over the owner. It works on
// no file.
ToolResult OpenWizComments(forms::Form& owner, const FileSet& files, const tags::TagPair& tags);

}  // namespace corvella
