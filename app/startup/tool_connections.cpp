// The tools the main window opens: one line a tool, by the form's name that
// the window's command table gives for its keys.
#include "app/startup/tool_connections.h"

#include <functional>

#include "app/cdrip/albumlookup/frm_cddb_cd_choice.h"
#include "app/cdrip/ripper/frm_mp3.h"
#include "app/mainwindow/frm_main.h"
#include "app/tools/comments/frm_wiz_comments.h"
#include "app/tools/wizards/frm_wiz_duplicate_files.h"
#include "app/tools/wizards/frm_wiz_file_export.h"
#include "app/tools/quickextract/win32/frm_quick_extract.h"
#include "app/tools/rename/win32/frm_rename_files.h"
#include "app/tools/userfields/win32/frm_user_fields.h"
#include "app/tools/case/win32/frm_case.h"
#include "app/tools/csv/win32/frm_csv.h"
#include "app/tools/sorting/frm_wiz_file_sorting.h"

namespace corvella {

namespace {

// What a tool that stays open after writing calls to have the main list
// read every row again.
std::function<void()> ListAgain(forms::Form& owner) {
    auto& main = static_cast<FrmMain&>(owner);
    return [&main] { main.ToggleTagVersion(main.cboVersion.ListIndex()); };
}

}  // namespace

void ConnectTools() {
    FrmMain::ConnectTool("frmWizComments", OpenWizComments);
    FrmMain::ConnectTool("frmWizDuplicateFiles", OpenWizDuplicateFiles);
    FrmMain::ConnectTool("frmWizFileExport", OpenWizFileExport);
    FrmMain::ConnectTool("frmRenameFiles", [](forms::Form& owner, const FileSet& files, const tags::TagPair&) {
        return ShowRenameFiles(owner, files, &static_cast<FrmMain&>(owner).iml16Temp);
    });
    FrmMain::ConnectTool("frmUserFields", [](forms::Form& owner, const FileSet&, const tags::TagPair&) {
        ShowUserFields(owner);
        return ToolResult();
    });
    FrmMain::ConnectQuickExtract(ShowQuickExtract);
    FrmMain::ConnectTool("frmCSV", OpenCsvTool);
    FrmMain::ConnectTool("frmCase", [](forms::Form& owner, const FileSet& files, const tags::TagPair& tags) {
        return OpenCaseTool(owner, files, tags, ListAgain(owner));
    });
    FrmMain::ConnectTool("frmWizFileSorting", ShowFileSortingWizard);
    FrmMain::ConnectTool("frmCDDBCDChoice", [](forms::Form& owner, const FileSet& files, const tags::TagPair& tags) {
        return frmCDDBCDChoice().Open(owner, files, tags, ListAgain(owner));
    });
    FrmMain::ConnectTool("frmMP3", [](forms::Form& owner, const FileSet&, const tags::TagPair& tags) {
        frmMP3().Open(owner, tags);
        return ToolResult();
    });
}

}  // namespace corvella
