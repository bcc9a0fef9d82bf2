// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include "app/mainwindow/frm_main.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "app/tools/wizards/frm_wiz_duplicate_files.h"
#include "app/tools/wizards/frm_wiz_file_export.h"

namespace corvella {

namespace {

// The files to act on as the main window shows them.
FileSet ListedFiles(forms::Form& owner) {
    FileSet files;
    files.folder = static_cast<FrmMain&>(owner).FTVWFiles.Path();
    return files;
}

}  // namespace

void ConnectTools() {
    FrmMain::ConnectTool("frmWizComments", [](forms::Form& owner) { OpenWizComments(owner, ListedFiles(owner), {}); });
    FrmMain::ConnectTool("frmWizDuplicateFiles",
                         [](forms::Form& owner) { OpenWizDuplicateFiles(owner, ListedFiles(owner), {}); });
    FrmMain::ConnectTool("frmWizFileExport",
                         [](forms::Form& owner) { OpenWizFileExport(owner, ListedFiles(owner), {}); });
}

}  // namespace corvella
