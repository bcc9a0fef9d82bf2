#include "app/cdrip/lookup/frm_cddb.h"

#include "app/cdrip/drive/cd_drive.h"
#include "app/foundation/settings.h"
#include "app/foundation/win32/settings/win32_settings_store.h"
#include "app/foundation/win32/shell/window_helpers.h"
#include "libs/disclookup/core/lookup_settings.h"

namespace corvella {
namespace {

// The hello's names: the user's and the computer's, made single words by
// the dialogue.
std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? name : "";
}

}  // namespace

FrmCDDB::FrmCDDB(SettingsStore* store) : store_(store != nullptr ? store : &RegistryStore()) {
    Design();
    Wire();
}

void FrmCDDB::Wire() {
    Form_Load = On(&FrmCDDB::Form_Load_);
    Form_Unload = On(&FrmCDDB::Form_Unload_);
    for (auto& c : cmdMain) c.Click = On(&FrmCDDB::cmdMain_Click);
}

void FrmCDDB::Form_Load_() {
    forms::ResumeNext skip;
    skip([&] { flat_.Create(*this); });
    lookup_.reset();
    shownEnd_ = false;
    std::string why;
    const std::optional<cdrip::LookupQuery> query = cdrip::QueryOfDrive(cdrip::CDHandle, cdrip::TOC, &why);
    if (!query) {
        Label1.SetCaption(why);
        return;
    }
    // The server the album lookup's control uses: a missing value is
    // written with its default, as the control does.
    disclookup::LookupSettings defaults;
    cRegistry reg(*store_);
    std::string host = defaults.cddbHost;
    int32_t port = defaults.cddbPort;
    skip([&] {
        host = reg.GetSetting(kHkeyCurrentUser, disclookup::kLookupSettingsKey, disclookup::kCddbHostValue,
                              Variant::String(defaults.cddbHost))
                   .Text();
    });
    skip([&] {
        VariantToLong(reg.GetSetting(kHkeyCurrentUser, disclookup::kLookupSettingsKey, disclookup::kCddbPortValue,
                                     Variant::Long(defaults.cddbPort)),
                      port);
    });
    lookup_.emplace(*query, UserName(), ComputerName());
    server_ = host;
    port_ = port > 0 && port <= 65535 ? uint16_t(port) : 0;
    WS = std::make_unique<tcp::TcpClient>();
    WS->onConnect = [this] { WS_Connect(); };
    WS->onDataArrival = [this](long n) { WS_DataArrival(n); };
    WS->onClose = [this] { WS_Close(); };
    WS->onError = [this](int number, const std::string& text) { WS_Error(number, text); };
    if (port <= 0 || port > 65535) {
        lookup_->Closed(disclookup::MakeFailure(disclookup::FailureKind::kBadRequest,
                                                "the port " + std::to_string(port) + " is no port"));
        ShowState();
        return;
    }
    WS->Connect(host, uint16_t(port));
}

void FrmCDDB::Form_Unload_(int&) {
    if (WS) WS->Close();
    WS.reset();
    flat_.Destroy();
}

// The server greets first: nothing to send until its banner is in.
void FrmCDDB::WS_Connect() {}

void FrmCDDB::WS_DataArrival(long) {
    if (!WS || !lookup_) return;
    const std::string send = lookup_->Receive(WS->GetData());
    if (!send.empty()) WS->SendData(send);
    ShowState();
}

void FrmCDDB::WS_Close() {
    if (lookup_) lookup_->Closed();
    ShowState();
}

void FrmCDDB::WS_Error(int number, const std::string& description) {
    if (lookup_) lookup_->Closed(disclookup::SocketFailure(number, description));
    ShowState();
}

void FrmCDDB::ShowState() {
    if (!lookup_ || !lookup_->Ended() || shownEnd_) return;
    shownEnd_ = true;
    const std::string title = forms::App.Title();
    switch (lookup_->CurrentStep()) {
    case cdrip::RipperLookup::Step::kComplete: {
        const cdrip::DiscData disc = cdrip::ParseEntry(lookup_->EntryLines(), chkMixed.Value() == 1);
        lblTitle.SetCaption(!disc.Artist.empty() && !disc.Album.empty() ? disc.Artist + ", " + disc.Album
                                                                         : disc.Artist);
        lblTitle.SetVisible(true);
        chkMixed.SetVisible(true);
        cmdMain[0].SetEnabled(true);
        SetCaption("Found Match");
        Label1.SetCaption(title + " has found the following albums that matched the inserted CD-Rom, if this "
                                  "information is correct please press the OK button.");
        break;
    }
    case cdrip::RipperLookup::Step::kNoMatch:
        SetCaption("No Matches Found");
        Label1.SetCaption(title + " was unable to find any records of an album that matches the inserted "
                                  "CD-Rom's criteria.");
        lblTitle.SetVisible(false);
        chkMixed.SetVisible(false);
        shell::SystemBeep(MB_ICONEXCLAMATION);
        break;
    default: {
        if (WS) WS->Close();
        disclookup::QueryFailure failure = lookup_->Failure();
        failure.host = server_;
        failure.port = port_;
        // The text takes the room of the album and the compilation box, which stay hidden.
        Label1.Move(Label1.Left(), Label1.Top(), Label1.Width(), cmdMain[0].Top() - 2 * Label1.Top());
        Label1.SetCaption(cdrip::SearchFailedMessage(failure));
        break;
    }
    }
}

void FrmCDDB::cmdMain_Click(int index) {
    if (index == 0) {
        if (!lookup_ || !lookup_->Complete()) return;
        // Read again: the compilation box may have been ticked since.
        const cdrip::DiscData disc = cdrip::ParseEntry(lookup_->EntryLines(), chkMixed.Value() == 1);
        if (GetCDDBInfo) GetCDDBInfo(disc);
    }
    Unload();
}

FrmCDDB& frmCDDB() { return forms::DefaultInstance<FrmCDDB>(); }

}  // namespace corvella
