// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include "app/mainwindow/frm_main.h"
#include "app/tools/case/win32/frm_case.h"
#include "app/tools/csv/win32/frm_csv.h"

namespace corvella {

void ConnectTools() {
    FrmMain::ConnectTool("frmCSV", OpenCsvTool);
    FrmMain::ConnectTool("frmCase", OpenCaseTool);
}

}  // namespace corvella
