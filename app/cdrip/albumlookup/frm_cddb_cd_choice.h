// frmCDDBCDChoice, the album lookup: finds discs on freedb by artist and
// album words through the FreeDB control, reads the chosen one and writes
// its album, artist, year, titles and track numbers into the tags of the
// listed files, row i taking track i. One query runs at a time; "&Cancel"
// stays live and ends a waiting query. A query that cannot reach its server
// says so, naming the server and the reason; "Not Found" is kept for a
// reply that lists no disc.
#pragma once

#include <array>
#include <functional>

#include "app/controls/flatheader/flat_header.h"
#include "app/foundation/file_set.h"
#include "app/foundation/settings_store.h"
#include "app/foundation/tags/tag_port.h"
#include "app/foundation/win32/flatlook/flat_look.h"
#include "app/controls/hosted/disc_lookup_controls.h"
#include "platform/forms/forms.h"
#include "platform/listview/list_view.h"

namespace corvella {

class FrmCDDBCDChoice : public forms::Form {
public:
    forms::Label Label1;  // "Search String:"
    forms::TextBox Text1;
    forms::CommandButton Command2;  // "Search"
    platform::ListView ListView1;   // the discs found
    forms::Label Label2;  // "Apply Updates To:"
    std::array<forms::CheckBox, 2> Check1;  // 1 "Version 1 Tags", 0 "Version 2 Tags"
    forms::CommandButton Command1;  // "Update Tags"
    forms::CommandButton Command3;  // "&Cancel"
    forms::Image Image1;            // the lookup service's logo
    forms::FreeDB FreeDB1;
    forms::Label Label3;  // the query's ticks, hidden

    explicit FrmCDDBCDChoice(SettingsStore* store = nullptr);

    // Shows the window modally over `owner` for `files`, writing through
    // `tags`. `listAgain`, when given, makes the main list read its files
    // again after each fill, while the form stays open; without it the
    // answer asks for that once the form has closed.
    ToolResult Open(forms::Form& owner, const FileSet& files, const tags::TagPair& tags,
                    std::function<void()> listAgain = {});
    // What Open hands over before the window loads.
    void Prepare(const FileSet& files, const tags::TagPair& tags, std::function<void()> listAgain = {});
    const ToolResult& Result() const { return result_; }

    bool Querying() const { return querying_; }

private:
    void Design();  // frm_cddb_cd_choice_design.cpp
    void Wire();

    void Form_Load_();
    void Form_QueryUnload_(int& cancel, int unloadMode);
    void Form_Unload_(int& cancel);
    void Command1_Click(int index);
    void Command2_Click(int index);
    void Command3_Click(int index);
    void Check1_Click(int index);
    void ListView1_ItemClick(platform::ListItem& item);
    void FreeDB1_Timer(int index, int time, bool& cancel);
    void Image1_Click(int index);
    // Search, Update Tags and the list while a query waits.
    void SetQuerying(bool on);
    // A query has ended, however: an error of the control too leaves the
    // form ready for the next one.
    void QueryOver() noexcept;
    // "Update Tags": a result chosen, a version ticked, no query waiting.
    void EnableUpdate();

    SettingsStore* store_;
    FlatLook flat_;
    controls::CFlatHeader header_;
    FileSet files_;
    tags::TagPair tags_;
    ToolResult result_;
    std::function<void()> listAgain_;
    bool querying_ = false;
};

// The default instance.
FrmCDDBCDChoice& frmCDDBCDChoice();

}  // namespace corvella
