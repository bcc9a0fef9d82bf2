#include "app/tools/comments/frm_wiz_comments.h"

#include <windows.h>

#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/tools/comments/core/address_check.h"
#include "app/tools/comments/core/mail_message.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {

namespace {

using forms::WizardButtons;
using Step = comments::SmtpDialogue::Step;
using comments::Failure;

const std::string kSection = std::string(kSettingsRoot) + "\\Options\\Support";

const char kRetry[] = "&Retry";

std::string LoginName() {
    char buffer[50] = {};
    DWORD size = sizeof buffer;
    if (!GetUserNameA(buffer, &size)) return std::string();
    return TrimAtNull(buffer, sizeof buffer);
}

std::string ComputerName() {
    char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buffer;
    if (!GetComputerNameA(buffer, &size)) return std::string();
    return TrimAtNull(buffer, sizeof buffer);
}

// Today in the long date format of the user's regional settings.
std::string LongDate() {
    char buffer[128] = {};
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, buffer, sizeof buffer) == 0)
        return std::string();
    return TrimAtNull(buffer, sizeof buffer);
}

std::string MailDateNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    TIME_ZONE_INFORMATION zone;
    const DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    if (which == TIME_ZONE_ID_INVALID) bias = 0;
    return comments::MailDate({t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond,
                               static_cast<int>(-bias)});
}

}  // namespace

FrmWizComments::FrmWizComments(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmWizComments::Wire() {
    Form_Load = On(&FrmWizComments::Form_Load_);
    Form_Unload = On(&FrmWizComments::Form_Unload_);
    wizOutput.PageActivated = On(&FrmWizComments::wizOutput_PageActivated);
    txtEmail.Change = On(&FrmWizComments::txtEmail_Change);
    txtSupport.Change = On(&FrmWizComments::txtSupport_Change);
    WizardButtons1.AfterMove = On(&FrmWizComments::WizardButtons1_AfterMove);
    WizardButtons1.BeforeMove = On(&FrmWizComments::WizardButtons1_BeforeMove);
    WizardButtons1.CancelClicked = On(&FrmWizComments::WizardButtons1_CancelClicked);
    WizardButtons1.FinishClicked = On(&FrmWizComments::WizardButtons1_FinishClicked);
    WizPreview.PageActivated = On(&FrmWizComments::WizPreview_PageActivated);
    wizResults.PageActivated = On(&FrmWizComments::wizResults_PageActivated);
    Winsock1.ConnectEvent = On(&FrmWizComments::Winsock1_Connect);
    Winsock1.DataArrival = On(&FrmWizComments::Winsock1_DataArrival);
    Winsock1.CloseEvent = On(&FrmWizComments::Winsock1_Close);
    Timer1.Tick = On(&FrmWizComments::Timer1_Timer);
}

// The server's values; a missing one is stored with its default, so the
// registry holds all three once the wizard has been open.
void FrmWizComments::ReadServer(std::string& host, int32_t& port, int32_t& tick) {
    host = CommentsDefaults::kMailHost;
    port = CommentsDefaults::kMailPort;
    tick = CommentsDefaults::kTickInterval;
    forms::ResumeNext skip;
    skip([&] { host = GetSettingText(*store_, kSection, "Mail Host", host); });
    skip([&] { port = GetSettingLong(*store_, kSection, "Mail Port", port); });
    skip([&] { tick = GetSettingLong(*store_, kSection, "Tick Interval", tick); });
    if (tick <= 0) tick = CommentsDefaults::kTickInterval;
}

void FrmWizComments::Form_Load_() {
    WizardButtons1.Add(wizOutput);
    WizardButtons1.Add(WizPreview);
    WizardButtons1.Add(wizResults);
    WizardButtons1.ShowPage(1);
    WizardButtons1.SetButtonVisible(WizardButtons::ButtonHelp, false);
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    std::string host;
    int32_t port = 0, tick = 0;
    ReadServer(host, port, tick);
}

// Closing mid-sending ends the connection and the clock before the window
// goes, so no late event reaches a form that is gone.
void FrmWizComments::Form_Unload_(int&) {
    EndSending();
    flat_.Destroy();
}

void FrmWizComments::wizOutput_PageActivated(int) {
    // A name typed before Back is kept.
    if (Text1.Text().empty()) Text1.SetText(LoginName());
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, false);
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonNext, "&Next >");
    CheckInput();
}

void FrmWizComments::txtEmail_Change(int) { CheckInput(); }
void FrmWizComments::txtSupport_Change(int) { CheckInput(); }

void FrmWizComments::CheckInput() {
    std::string address = txtEmail.Text(), reason;
    const bool ok = comments::IsEMailAddress(address, reason) && !txtSupport.Text().empty();
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, ok);
}

void FrmWizComments::WizardButtons1_AfterMove(int, int, int, int& moveTo) {
    // Back stays off while a sending runs: a move back and forth would
    // start a second one.
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonBack, moveTo != 1 && !Sending());
}

void FrmWizComments::WizardButtons1_BeforeMove(int, int direction, int moveFrom, int& moveTo, bool&) {
    if (direction != WizardButtons::Forward || moveFrom != 2 || moveTo != 3) return;
    if (WizardButtons1.ButtonCaption(WizardButtons::ButtonNext) != kRetry) return;
    // Retry: page 2 again, whose activation starts the new sending.
    moveTo = 2;
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonNext, "&Next");
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, false);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonBack, false);
}

void FrmWizComments::WizardButtons1_CancelClicked(int) {
    if (WizardButtons1.PageNumber() != 2) Unload();
}

void FrmWizComments::WizardButtons1_FinishClicked(int) { Unload(); }

void FrmWizComments::WizPreview_PageActivated(int) { StartSending(); }

void FrmWizComments::wizResults_PageActivated(int) {
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, true);
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonNext, "&Finish");
}

// Connects and returns: the connection's events and the clock carry the
// sending on.
void FrmWizComments::StartSending() {
    EndSending();
    subject_ = comments::SupportSubject(forms::App.Title(), LongDate());
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonBack, false);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, false);

    int32_t tick = 0;
    ReadServer(host_, port_, tick);
    forms::ResumeNext skip;

    std::string sender = txtEmail.Text(), reason;
    comments::IsEMailAddress(sender, reason);  // trims; the page let only a good one through
    comments::MailMessage message;
    message.fromName = Text1.Text();
    message.fromAddress = sender;
    message.toName = CommentsDefaults::kSupportName;
    message.toAddress = CommentsDefaults::kSupportAddress;
    message.subject = subject_;
    message.date = MailDateNow();
    message.body = comments::CommentBody(
        txtSupport.Text(), FormatVersion(forms::App.Major(), forms::App.Minor(), forms::App.Revision()));
    dialogue_ = std::make_unique<comments::SmtpDialogue>(comments::SmtpRequest{
        comments::HelloName(ComputerName()), sender, CommentsDefaults::kSupportAddress,
        comments::BuildMessage(message)});

    Label1.SetCaption("Connecting to Server...");
    Label2.SetCaption("");
    ticks_ = 0;
    Timer1.SetInterval(tick);
    Timer1.SetEnabled(true);
    Winsock1.Close();
    // A port or host the connection cannot even start with fails the
    // sending as an unreachable server does.
    if (port_ < 1 || port_ > 65535 || !skip([&] { Winsock1.Connect(host_, com::Variant(std::to_string(port_))); }))
        Failed(Failure::kUnreachable);
}

void FrmWizComments::Winsock1_Connect(int) {
    if (Sending()) Label1.SetCaption("Connected to Server...");
}

void FrmWizComments::Winsock1_DataArrival(int, long) {
    const std::string data = Winsock1.GetData();
    if (!Sending()) return;
    ticks_ = 0;
    const std::string send = dialogue_->Receive(data);
    if (!send.empty() && Winsock1.State() == forms::TcpClientControl::StateConnected) Winsock1.SendData(send);
    const std::string status = comments::StepStatus(dialogue_->CurrentStep());
    if (!status.empty()) Label1.SetCaption(status);
    FollowDialogue();
}

void FrmWizComments::Winsock1_Close(int) {
    if (!Sending()) return;
    dialogue_->Closed();
    FollowDialogue();
}

void FrmWizComments::Timer1_Timer(int) {
    if (!Sending()) {
        Timer1.SetEnabled(false);
        return;
    }
    if (Winsock1.State() == forms::TcpClientControl::StateError) {
        Failed(Failure::kUnreachable);
        return;
    }
    if (++ticks_ <= CommentsDefaults::kTimeOutTicks) return;
    // Silence after the mail went out ends the sending as well as a goodbye.
    if (dialogue_->Sent()) Completed();
    else Failed(Failure::kTimedOut);
}

void FrmWizComments::FollowDialogue() {
    if (!Sending()) return;
    if (dialogue_->CurrentStep() == Step::kDone) {
        Completed();
    } else if (dialogue_->Failed()) {
        Failed(dialogue_->HowFailed());
    }
}

void FrmWizComments::EndSending() {
    Timer1.SetEnabled(false);
    dialogue_.reset();
    forms::ResumeNext skip;
    skip([&] { Winsock1.Close(); });
}

void FrmWizComments::Failed(Failure failure) {
    const comments::Reply reply = dialogue_ ? dialogue_->Refusal() : comments::Reply();
    EndSending();
    const comments::FailureText text = comments::DescribeFailure(failure, reply, host_, port_);
    Label1.SetCaption(text.status);
    Label2.SetCaption(text.explanation);
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonNext, kRetry);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonNext, true);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonBack, true);
}

void FrmWizComments::Completed() {
    EndSending();
    txtEmail.SetEnabled(false);
    txtSupport.SetEnabled(false);
    WizardButtons1.ShowPage(3);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonBack, false);
    WizardButtons1.SetButtonEnabled(WizardButtons::ButtonCancel, false);
    WizardButtons1.SetButtonCaption(WizardButtons::ButtonNext, "&Finish");
}

FrmWizComments& frmWizComments() { return forms::DefaultInstance<FrmWizComments>(); }

ToolResult OpenWizComments(forms::Form& owner, const FileSet&, const tags::TagPair&) {
    frmWizComments().Show(forms::kModal, &owner);
    return ToolResult();
}

}  // namespace corvella
