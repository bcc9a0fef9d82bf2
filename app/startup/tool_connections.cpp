// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include "app/mainwindow/frm_main.h"
#include "app/tools/sorting/frm_wiz_file_sorting.h"

namespace corvella {

void ConnectTools() {
    FrmMain::ConnectTool("frmWizFileSorting", ShowFileSortingWizard);
}

}  // namespace corvella
