// frmCSV, "Export CSV File...": the user moves the columns to export, in
// their order, from the available list to the exported list, then picks the
// file in the save dialog; the main list is written as CSV text.
#pragma once

#include <array>

#include "app/controls/hosted/common_dialog.h"
#include "app/foundation/file_set.h"
#include "app/foundation/tags/tag_port.h"
#include "platform/forms/forms.h"

namespace corvella {

class FrmCSV : public forms::Form {
public:
    forms::Label Label1;  // "Available Columns:"
    forms::Label Label2;  // "Export Columns:"
    // 0 the available columns, 1 the exported ones in export order.
    std::array<forms::ListBox, 2> List1;
    // 0 "<", 1 ">", 2 ">>", 3 "<<".
    std::array<forms::CommandButton, 4> Command2;
    std::array<forms::CommandButton, 2> Command1;  // "&Export...", "&Cancel"

    FrmCSV();

    // What the next show exports: the main list as shown.
    void Prepare(const FileSet& files) { files_ = files; }
    // The file the last export wrote; "" when none.
    const std::string& Written() const { return written_; }

private:
    void Design();  // frm_csv_design.cpp
    void Wire();

    void Form_Load_();
    void Form_Unload_(int& cancel);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Export();
    // The chosen file's path; "" when the user cancelled.
    std::string ChooseFile();

    forms::HookedCommonDialog m_CommonDialog{*this};  // its own, made on first use
    FileSet files_;
    std::string written_;
};

// The default instance.
FrmCSV& frmCSV();

// The opener the main window calls for "mnuComma": shows the form modal over
// `owner`. The export changes nothing in the list.
ToolResult OpenCsvTool(forms::Form& owner, const FileSet& files, const tags::TagPair& tags);

}  // namespace corvella
