// frmCDDB, the ripper's disc lookup: names the tracks of the disc in the
// ripper's open drive from a CDDB server and, on "&OK", hands the album to
// the ripper. The query comes from the drive's table of contents; the
// server from the values under Options\CDDB that the album lookup's control
// reads too, so one setting points both at a server.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "app/cdrip/lookup/core/ripper_lookup.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "platform/forms/forms.h"
#include "libs/common/tcpclient/tcp_client.h"

namespace corvella {

class FrmCDDB : public forms::Form {
public:
    forms::Label Label1;  // the search's state
    forms::Label lblTitle;  // the album found
    forms::CheckBox chkMixed;  // "Disc is a compilation CD-Rom"
    std::array<forms::CommandButton, 2> cmdMain;  // "&OK", "&Close"

    // The confirmed disc (the ripper's GetCDDBInfo).
    std::function<void(const cdrip::DiscData&)> GetCDDBInfo;

    // The settings it reads: the registry unless a test gives another store.
    explicit FrmCDDB(SettingsStore* store = nullptr);

    // The lookup's state, for the ripper and tests.
    const cdrip::RipperLookup* Lookup() const { return lookup_ ? &*lookup_ : nullptr; }

private:
    void Design();  // frm_cddb_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void cmdMain_Click(int index);
    void WS_Connect();
    void WS_DataArrival(long bytesTotal);
    void WS_Close();
    void WS_Error(int number, const std::string& description);
    // Shows what the lookup has come to.
    void ShowState();

    SettingsStore* store_;
    FlatLook flat_;
    // The TCP client: made at load, gone at unload.
    std::unique_ptr<tcp::TcpClient> WS;
    std::optional<cdrip::RipperLookup> lookup_;
    std::string server_;  // the server asked, for a failure's text
    uint16_t port_ = 0;
    bool shownEnd_ = false;
};

// The default instance.
FrmCDDB& frmCDDB();

}  // namespace corvella
