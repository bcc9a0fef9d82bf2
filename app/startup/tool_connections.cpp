// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include "app/mainwindow/frm_main.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "app/tools/wizards/frm_wiz_duplicate_files.h"
#include "app/tools/wizards/frm_wiz_file_export.h"

namespace corvella {

void ConnectTools() {
    FrmMain::ConnectTool("frmWizComments", OpenWizComments);
    FrmMain::ConnectTool("frmWizDuplicateFiles", OpenWizDuplicateFiles);
    FrmMain::ConnectTool("frmWizFileExport", OpenWizFileExport);
}

}  // namespace corvella
