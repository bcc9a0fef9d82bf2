#include "app/tools/csv/core/csv_text.h"
#include "app/tools/csv/win32/frm_csv.h"
#include "platform/forms/form_style.h"

namespace corvella {

void FrmCSV::Design() {
    forms::DesignDialog(*this, "frmCSV", "Export CSV File...", 6090, 4500);
    {
        auto& c = DESIGN(Label1);
        c.caption = "Available Columns:";
        c.Move(120, 120, 2415, 255);
    }
    {
        auto& c = DESIGN(Label2);
        c.caption = "Export Columns:";
        c.Move(3390, 120, 2415, 255);
    }
    // The Tab order follows the screen: the left list, the buttons between
    // the lists, the right list.
    auto list = [&](int i) {
        auto& c = Designed(List1[i], "List1");
        c.index = i;
        if (i == 0) c.items.assign(csv::kColumns, csv::kColumns + csv::kColumnCount);
        c.Move(120 + i * 3270, 420, 2415, 2985);
    };
    list(0);
    // Top to bottom: ">", ">>", "<", "<<"; "<", "<<" start disabled.
    struct Button {
        int index;
        const char* caption;
        int top;
    };
    const Button moves[4] = {{1, ">", 720}, {2, ">>", 1200}, {0, "<", 1800}, {3, "<<", 2280}};
    for (const Button& b : moves) {
        auto& c = Designed(Command2[b.index], "Command2");
        c.index = b.index;
        c.caption = b.caption;
        c.enabled = b.index == 1 || b.index == 2;
        c.Move(2655, b.top, 615, 375);
    }
    list(1);
    const char* buttons[2] = {"&Export...", "&Cancel"};
    for (int i = 0; i < 2; ++i) {
        auto& c = Designed(Command1[i], "Command1");
        c.index = i;
        c.caption = buttons[i];
        c.enabled = i != 0;
        c.isDefault = i == 0;
        c.cancel = i == 1;
        c.Move(3390 + i * 1260, 3600, 1155, 375);
    }
}

}  // namespace corvella
