// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"
#include "app/cdrip/ripper/frm_mp3.h"
#include "app/mainwindow/frm_main.h"

namespace corvella {

void ConnectTools() {
    FrmMain::ConnectTool("frmCDDBCDChoice", [](forms::Form& owner, const FileSet& files, const tags::TagPair& tags) {
        return frmCDDBCDChoice().Open(owner, files, tags);
    });
    FrmMain::ConnectTool("frmMP3", [](forms::Form& owner, const FileSet&, const tags::TagPair& tags) {
        frmMP3().Open(owner, tags);
        return ToolResult();
    });
}

}  // namespace corvella
